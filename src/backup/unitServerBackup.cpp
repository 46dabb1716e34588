#include "backup/unitServerBackup.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "company/unitCompanyLogoStore.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitFeatureTables.h"
#include "db/unitServerEngine.h"
#include "server/unitTableCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The tables a backup holds: the first-run tables and the feature tables a
// file keeps (the server's own bookkeeping and its logo table stay behind).
QStringList backedUpTables()
{
    QStringList tables = RestoredTableNames();
    for (const TFeatureTable& table : FeatureTables())
        if (!table.serverOnly) tables << table.name;
    return tables;
}

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

void writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(QStringLiteral("Cannot write the company logo %1: %2").arg(native(path), file.errorString()));
}

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot read the company logo %1: %2").arg(native(path), file.errorString()));
    return file.readAll();
}

// The server's rows of every backed-up table into the empty file at `path`,
// each table read back from the file and compared.
void fillFromServer(DbConnection& server, const QString& path)
{
    DbConnection file(path);
    file.execute(QStringLiteral("BEGIN;"));
    for (const QString& statement : DatabaseTableStatements()) file.execute(statement);
    CreateMissingFeatureTables(file);
    const QString where = ServerDisplayName(server.serverConnectionString());
    for (const QString& table : backedUpTables()) {
        const QList<TCopyColumn> columns =
            SharedColumns(server, file, table, QStringLiteral("the backup was not written"));
        CopyTableRows(server, file, table, columns);
        const QString id = IdentityColumn(server, table);
        if (TableRows(server, table, columns, id) != TableRows(file, table, columns, id))
            throw AppError(QStringLiteral("The rows of %1 read back from the backup differ from those of %2; the "
                                          "backup was not written")
                               .arg(table, where));
    }
    file.execute(QStringLiteral("COMMIT;"));
    file.close();
}

// One read of the whole server that changes nothing.
void readAsOneSnapshot(DbConnection& server)
{
    server.execute(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ READ ONLY;"));
}

} // namespace

QString BackupLogoFileName() { return QFileInfo(GetLogoPath()).fileName(); }

bool WriteServerSnapshot(DbConnection& server, const QString& target, const QString& logoTarget)
{
    const QByteArray logo = ReadServerLogo(server);
    WriteCheckedDatabaseFile(target, [&server](const QString& path) { fillFromServer(server, path); });
    if (!logoTarget.isEmpty()) {
        if (!logo.isEmpty())
            writeWholeFile(logoTarget, logo);
        else if (QFileInfo::exists(logoTarget) && !QFile::remove(logoTarget))
            throw AppError(QStringLiteral("The server has no company logo, and the logo of an earlier backup (%1) "
                                          "could not be removed")
                               .arg(native(logoTarget)));
    }
    return !logo.isEmpty();
}

QString BackupServerTo(const QString& folder)
{
    CheckBackupFolder(folder);
    const QString target = QDir(folder).filePath(GetDatabaseFileName());
    DbConnection server;
    DbTransaction transaction(server);
    readAsOneSnapshot(server);
    WriteServerSnapshot(server, target, QDir(folder).filePath(BackupLogoFileName()));
    transaction.commit();
    return target;
}

int OtherSeatsConnected()
{
    // This seat's own idle connections are not other seats.
    CloseIdleServerSessions();
    DbConnection server;
    return server.countRows(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE datname = current_database() "
                                           "AND pid <> pg_backend_pid() AND application_name = ?;"),
                            {GetProductName()});
}

QString ServerBeforeRestorePath(const QString& stamp)
{
    return GetDatabasePath() + QStringLiteral(".before-restore-") + stamp;
}

TServerRestoreOutcome RestoreServerFrom(const QString& path)
{
    const QString refusal = CheckRestoreFile(path);
    if (!refusal.isEmpty()) throw TRestoreRefused(refusal);
    const QString logoPath = QFileInfo(path).dir().filePath(BackupLogoFileName());
    const bool hasLogo = QFileInfo::exists(logoPath);
    const QByteArray logo = hasLogo ? readWholeFile(logoPath) : QByteArray();

    // The chosen file, copied and checked in the temp folder: the restore reads
    // that copy, never the chosen file (a journal beside it stays as it is).
    QDir().mkpath(GetTempFolder());
    const QString staged = QDir(GetTempFolder()).filePath(GetDatabaseFileName() + QStringLiteral(".restoring"));
    CopyDatabaseFile(path, staged, true);
    struct Remover {
        QString path;
        ~Remover() { QFile::remove(path); }
    } removeStaged{staged};
    const QString stagedRefusal = CheckRestoreFile(staged);
    if (!stagedRefusal.isEmpty()) throw TRestoreRefused(stagedRefusal);

    TServerRestoreOutcome outcome;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    outcome.keptPath = ServerBeforeRestorePath(stamp);
    for (int n = 2; QFileInfo::exists(outcome.keptPath); ++n)
        outcome.keptPath = ServerBeforeRestorePath(stamp + QLatin1Char('-') + QString::number(n));
    const QString keptLogo = QFileInfo(GetLogoPath()).fileName() + outcome.keptPath.mid(GetDatabasePath().size());
    {
        DbConnection server;
        DbTransaction transaction(server);
        readAsOneSnapshot(server);
        const QByteArray serverLogo = ReadServerLogo(server);
        WriteServerSnapshot(server, outcome.keptPath, QString());
        if (!serverLogo.isEmpty()) {
            outcome.keptLogoPath = QDir(GetDataFolder()).filePath(keptLogo);
            writeWholeFile(outcome.keptLogoPath, serverLogo);
        }
        transaction.commit();
    }

    DbConnection file(staged);
    const QStringList inFile = file.tableNames();
    DbConnection server;
    DbTransaction transaction(server);
    const QStringList tables = backedUpTables();
    // Other seats read on while the restore runs, and write after it.
    server.execute(QStringLiteral("LOCK TABLE %1, tblCompanyLogo IN EXCLUSIVE MODE;").arg(tables.join(QStringLiteral(", "))));
    const QString where = ServerDisplayName(server.serverConnectionString());
    for (const QString& table : tables) {
        server.execute(QStringLiteral("DELETE FROM %1;").arg(table));
        // A table of a later feature that an older file lacks is left empty,
        // as a restore on this computer's file leaves it.
        if (!inFile.contains(table, Qt::CaseInsensitive)) continue;
        const QList<TCopyColumn> columns =
            SharedColumns(server, file, table, QStringLiteral("the server was not changed"));
        CopyTableRows(file, server, table, columns);
        const QString id = IdentityColumn(server, table);
        if (!id.isEmpty()) MoveSequencePastIds(server, table, id);
        if (TableRows(file, table, columns, id) != TableRows(server, table, columns, id))
            throw AppError(QStringLiteral("The rows of %1 read back from %2 differ from the file's; the server was "
                                          "not changed")
                               .arg(table, where));
    }
    if (hasLogo) {
        WriteServerLogo(server, logo);
        outcome.logoRestored = true;
    }
    transaction.commit();
    return outcome;
}
