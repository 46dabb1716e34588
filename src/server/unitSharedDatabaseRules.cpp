#include "server/unitSharedDatabaseRules.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "db/DbConnection.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"
#include "db/unitServerOptions.h"
#include "db/unitServerSchema.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>

namespace {

QString escapedForPasswordFile(const QString& value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char(':'), QStringLiteral("\\:"));
    return escaped;
}

QString portOrDefault(const QString& port) { return port.trimmed().isEmpty() ? QStringLiteral("5432") : port.trimmed(); }

} // namespace

QString ConnectionStringOf(const TSharedDatabaseFields& fields, bool withPassword)
{
    TConnectionOptions options{{QStringLiteral("host"), fields.server.trimmed()},
                               {QStringLiteral("port"), fields.port.trimmed()},
                               {QStringLiteral("dbname"), fields.database.trimmed()},
                               {QStringLiteral("user"), fields.user.trimmed()}};
    if (withPassword) options.append({QStringLiteral("password"), fields.password});
    return BuildConnectionString(options);
}

TSharedDatabaseFields FieldsOf(const QString& connectionString)
{
    TSharedDatabaseFields fields;
    if (connectionString.trimmed().isEmpty()) return fields;
    TConnectionOptions options;
    QString error;
    if (!ServerEngine().parseConnectionString(connectionString, options, error)) return fields;
    for (const auto& [keyword, value] : options) {
        if (keyword == QLatin1String("host")) fields.server = value;
        if (keyword == QLatin1String("port")) fields.port = value;
        if (keyword == QLatin1String("dbname")) fields.database = value;
        if (keyword == QLatin1String("user")) fields.user = value;
    }
    return fields;
}

QString FieldsProblem(const TSharedDatabaseFields& fields)
{
    if (fields.server.trimmed().isEmpty()) return QStringLiteral("Please enter the name or address of the database server");
    if (fields.database.trimmed().isEmpty()) return QStringLiteral("Please enter the name of the database on the server");
    if (!fields.port.trimmed().isEmpty()) {
        bool ok = false;
        const int port = fields.port.trimmed().toInt(&ok);
        if (!ok || port < 1 || port > 65535) return QStringLiteral("The port must be a number from 1 to 65535");
    }
    return QString();
}

QString TestSharedDatabase(const TSharedDatabaseFields& fields)
{
    const QString problem = FieldsProblem(fields);
    if (!problem.isEmpty()) throw AppError(problem);
    const QString connection = ConnectionStringOf(fields, true);
    std::unique_ptr<dbserver::Session> session = TakeServerSession(connection);
    const QString version = session->serverVersion();
    GiveBackServerSession(connection, std::move(session));

    DbConnection db = DbConnection::ToServer(connection);
    const QString where = ServerDisplayName(ConnectionStringOf(fields));
    const QString connected = QStringLiteral("Connected to PostgreSQL %1: %2 ").arg(version.section(QLatin1Char(' '), 0, 0), where);
    const int schema = ServerSchemaVersion(db);
    if (schema > kServerSchemaVersion) return connected + QStringLiteral("was made by a newer version of %1. ").arg(GetProductName()) + NewerSchemaMessage(schema) + QLatin1Char('.');
    if (schema > 0) return connected + QStringLiteral("holds the tables of %1.").arg(GetProductName());
    const QStringList ours = ProgramTablesIn(db);
    if (!ours.isEmpty())
        return connected + QStringLiteral("holds tables of %1 (%2) but no record of their version; it cannot be used.")
                               .arg(GetProductName(), ours.join(QStringLiteral(", ")));
    return connected + QStringLiteral("is empty: %1 builds its tables there at the first start on it, or Copy to "
                                      "Server fills it with this computer's data.")
                           .arg(GetProductName());
}

QString GetPasswordFilePath()
{
    const QString configured = qEnvironmentVariable("PGPASSFILE");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.pgpass") : configured;
}

QString PasswordFileLine(const TSharedDatabaseFields& fields)
{
    const QString user = fields.user.trimmed().isEmpty() ? qEnvironmentVariable("USER") : fields.user.trimmed();
    return QStringList{escapedForPasswordFile(fields.server.trimmed()), escapedForPasswordFile(portOrDefault(fields.port)),
                       escapedForPasswordFile(fields.database.trimmed()), escapedForPasswordFile(user),
                       escapedForPasswordFile(fields.password)}
        .join(QLatin1Char(':'));
}

void RememberPassword(const TSharedDatabaseFields& fields)
{
    const QString path = GetPasswordFilePath();
    const QString line = PasswordFileLine(fields);
    // The four fields before the password, with their separators, name the line to replace.
    const QString key = line.left(line.size() - escapedForPasswordFile(fields.password).size());

    QStringList lines;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("Cannot read the password file %1: %2")
                               .arg(QDir::toNativeSeparators(path), existing.errorString()));
        lines = QString::fromUtf8(existing.readAll()).split(QLatin1Char('\n'));
        existing.close();
        while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        lines.erase(std::remove_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(key); }),
                    lines.end());
    }
    lines << line;

    // libpq ignores a password file that others may read: owner-only from the start.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 || !file.commit())
        throw AppError(QStringLiteral("Cannot write the password file %1: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString UseServerMessage(const TSharedDatabaseFields& fields)
{
    return QStringLiteral("From its next start, %1 on this computer works on the shared %2. Close %1 and start it "
                          "again to change over.")
        .arg(GetProductName(), ServerDisplayName(ConnectionStringOf(fields)));
}

QString UseFileMessage()
{
    return QStringLiteral("From its next start, %1 works on this computer's file again (%2). Close %1 and start it "
                          "again to change over.")
        .arg(GetProductName(), QDir::toNativeSeparators(GetDatabasePath()));
}
