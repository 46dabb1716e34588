#include "db/unitDatabaseTarget.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"

#include <QDir>
#include <QSettings>

namespace {

QString& serverConnection()
{
    static QString connection;
    return connection;
}

const QString kConnectionKey = QStringLiteral("Database/Connection");

} // namespace

QString GetSeatSettingsPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QLatin1Char('/') + GetMakerCompanyName() + QLatin1Char('/') + GetProductName() + GetMajorVersion()
           + QStringLiteral(".conf");
}

QString ReadSeatConnectionString()
{
    const QSettings settings(GetSeatSettingsPath(), QSettings::NativeFormat);
    return settings.value(kConnectionKey).toString().trimmed();
}

void WriteSeatConnectionString(const QString& connectionString)
{
    QSettings settings(GetSeatSettingsPath(), QSettings::NativeFormat);
    if (connectionString.trimmed().isEmpty())
        settings.remove(kConnectionKey);
    else
        settings.setValue(kConnectionKey, connectionString.trimmed());
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw AppError(QStringLiteral("Cannot write the settings file %1").arg(QDir::toNativeSeparators(settings.fileName())));
}

void SetServerConnectionString(const QString& connectionString) { serverConnection() = connectionString.trimmed(); }
const QString& ServerConnectionString() { return serverConnection(); }
bool UsesServer() { return !serverConnection().isEmpty(); }
