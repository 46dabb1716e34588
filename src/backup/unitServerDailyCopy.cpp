#include "backup/unitServerDailyCopy.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "backup/unitDailyBackups.h"
#include "backup/unitServerBackup.h"
#include "db/DbConnection.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

const QString kDailyCopyKey = QStringLiteral("Database/DailyServerCopy");

// SQLSTATEs of a day another seat is claiming at this moment: it commits
// (serialization failure) or holds the claim past the lock time limit.
bool AnotherSeatHasTheDay(const DbEngineError& error)
{
    return error.sqlState() == QLatin1String("40001") || error.sqlState() == QLatin1String("55P03");
}

// Makes the folder (and Backups/ above it) readable by the owner alone.
void MakeOwnerFolder(const QString& folder)
{
    for (const QString& path : {GetBackupsFolder(), folder}) {
        if (QFileInfo(path).isDir()) continue;
        if (::mkdir(QFile::encodeName(path).constData(), S_IRWXU) != 0)
            throw AppError(QStringLiteral("the folder %1 cannot be made (%2)")
                               .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno))));
    }
}

} // namespace

bool ReadDailyServerCopySetting()
{
    const QSettings settings(GetSeatSettingsPath(), QSettings::NativeFormat);
    return settings.value(kDailyCopyKey, false).toBool();
}

void WriteDailyServerCopySetting(bool on)
{
    QSettings settings(GetSeatSettingsPath(), QSettings::NativeFormat);
    settings.setValue(kDailyCopyKey, on);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw AppError(QStringLiteral("Cannot write the settings file %1").arg(QDir::toNativeSeparators(settings.fileName())));
}

QString GetServerCopiesFolder() { return QDir(GetBackupsFolder()).filePath(QStringLiteral("Server")); }

QString RunDailyServerCopy(const QDate& today)
{
    if (!UsesServer() || !ReadDailyServerCopySetting()) return {};
    const QString folder = GetServerCopiesFolder();
    const QString target = QDir(folder).filePath(DailyBackupFileName(today));
    try {
        DbConnection server;
        DbTransaction transaction(server);
        // The claim and the copy see the server at one moment.
        server.execute(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ;"));
        const QString day = today.toString(Qt::ISODate);
        try {
            server.execute(QStringLiteral("INSERT INTO tblServerDailyCopy(strCopyDay) VALUES(?) "
                                          "ON CONFLICT (strCopyDay) DO NOTHING;"),
                           {day});
        } catch (const DbEngineError& error) {
            if (AnotherSeatHasTheDay(error)) return {};
            throw;
        }
        if (server.changes() == 0) return {};
        server.execute(QStringLiteral("DELETE FROM tblServerDailyCopy WHERE strCopyDay < ?;"), {day});
        MakeOwnerFolder(folder);
        WriteServerSnapshot(server, target, QDir(folder).filePath(DailyLogoFileName(today)));
        transaction.commit();
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("The automatic daily copy of the %1 could not be saved as %2: %3\nThe copies "
                                      "already in %4 were kept; the next seat to close today takes the copy.")
                           .arg(ServerDisplayName(ServerConnectionString()), QDir::toNativeSeparators(target),
                                error.message(), QDir::toNativeSeparators(folder)));
    }
    RemoveOldDailyBackups(folder, today);
    return target;
}
