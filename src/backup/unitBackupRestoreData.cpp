#include "backup/unitBackupRestoreData.h"

#include "app/unitAppInfo.h"
#include "db/unitCreateDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sqlite3.h>
#include <unistd.h>

namespace {

constexpr int kBusyTries = 8;
constexpr unsigned long kBusyWaitMs = 10;

struct EngineCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using EngineHandle = std::unique_ptr<sqlite3, EngineCloser>;

QString SystemText(int number) { return QString::fromLocal8Bit(std::strerror(number)); }

[[noreturn]] void ThrowSystemError(int number) { throw TBackupError(number, SystemText(number)); }

// The engine's failure on `db`: the system's error when the engine met one
// (disk full, no permission), else the engine's own code and text.
[[noreturn]] void ThrowEngineError(sqlite3* db, int code)
{
    const int system = db ? sqlite3_system_errno(db) : 0;
    if (system != 0) ThrowSystemError(system);
    throw TBackupError(code, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code)));
}

bool IsBusy(int code) { return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED; }

EngineHandle OpenEngine(const QString& path, int flags, int* failure = nullptr, QString* failureText = nullptr)
{
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    EngineHandle db(raw);
    if (code != SQLITE_OK) {
        if (failure) *failure = code;
        if (failureText) *failureText = raw ? QString::fromUtf8(sqlite3_errmsg(raw)) : QString::fromUtf8(sqlite3_errstr(code));
        if (!failure) ThrowEngineError(raw, code);
        return nullptr;
    }
    return db;
}

// Runs one query and returns the first column of each row; on failure `error`
// gets the engine's text and the result is empty.
QStringList QueryColumn(sqlite3* db, const QString& sql, QString* error, int* errorCode = nullptr)
{
    QStringList rows;
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr);
    for (int tries = 0; code == SQLITE_OK; ) {
        code = sqlite3_step(statement);
        if (code == SQLITE_ROW) {
            rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
            code = SQLITE_OK;
        } else if (IsBusy(code) && ++tries < kBusyTries) {
            sqlite3_reset(statement);
            rows.clear();
            QThread::msleep(kBusyWaitMs);
            code = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    if (code != SQLITE_DONE) {
        if (error) *error = QString::fromUtf8(sqlite3_errmsg(db));
        if (errorCode) *errorCode = code & 0xff;
        return {};
    }
    if (error) error->clear();
    return rows;
}

// The problems PRAGMA integrity_check reports, or an empty text when the file is sound.
QString IntegrityProblem(sqlite3* db)
{
    QString error;
    const QStringList rows = QueryColumn(db, QStringLiteral("PRAGMA integrity_check;"), &error);
    if (!error.isEmpty()) return error;
    if (rows == QStringList{QStringLiteral("ok")}) return {};
    return rows.isEmpty() ? QStringLiteral("integrity check gave no answer") : rows.first();
}

void SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// A new, empty file in `folder`, readable by its owner only (the database holds
// the mail password); the path is returned.
QString NewTempFile(const QString& folder, const QString& stem)
{
    QByteArray pattern = QFile::encodeName(QDir(folder).filePath(QStringLiteral(".") + stem + QStringLiteral(".XXXXXX")));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) ThrowSystemError(errno);
    ::close(fd);
    return QFile::decodeName(pattern);
}

// Removes the temporary file unless it was moved into place.
class TempFileGuard {
public:
    explicit TempFileGuard(QString path) : m_path(std::move(path)) {}
    ~TempFileGuard()
    {
        if (m_path.isEmpty()) return;
        for (const QString& suffix : {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
            ::unlink(QFile::encodeName(m_path + suffix).constData());
    }
    void release() { m_path.clear(); }
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// The online backup of `source` into the (empty) file `destination`, then the
// check of what was written. The copy keeps the ordinary rollback journal.
void CopyPages(const QString& source, const QString& destination, bool sourceReadOnly)
{
    if (!QFileInfo::exists(source)) ThrowSystemError(ENOENT);
    EngineHandle from = OpenEngine(source, sourceReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    EngineHandle to = OpenEngine(destination, SQLITE_OPEN_READWRITE);

    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!backup) ThrowEngineError(to.get(), sqlite3_errcode(to.get()));
    int code = SQLITE_OK;
    for (int tries = 0;;) {
        code = sqlite3_backup_step(backup, -1);
        if (code == SQLITE_DONE) break;
        if (IsBusy(code) && ++tries < kBusyTries) {
            QThread::msleep(kBusyWaitMs);
            continue;
        }
        break;
    }
    sqlite3_backup_finish(backup);
    if (code != SQLITE_DONE) {
        // A write failure (disk full, no permission) carries the system's error
        // on the destination, a read failure on the source.
        int system = sqlite3_system_errno(to.get());
        if (system == 0) system = sqlite3_system_errno(from.get());
        if (system != 0) ThrowSystemError(system);
        throw TBackupError(code, QString::fromUtf8(sqlite3_errstr(code)));
    }
    from.reset();

    QString error;
    QueryColumn(to.get(), QStringLiteral("PRAGMA journal_mode=DELETE;"), &error);
    const QString problem = IntegrityProblem(to.get());
    if (!problem.isEmpty()) throw TBackupError(SQLITE_CORRUPT, problem);
    const int closed = sqlite3_close(to.release());
    if (closed != SQLITE_OK) throw TBackupError(closed, QString::fromUtf8(sqlite3_errstr(closed)));

    // The engine has synced its writes; make sure of it before the rename.
    const int fd = ::open(QFile::encodeName(destination).constData(), O_RDONLY);
    if (fd >= 0) {
        const bool synced = ::fsync(fd) == 0;
        const int number = errno;
        ::close(fd);
        if (!synced) ThrowSystemError(number);
    }
}

void MoveIntoPlace(TempFileGuard& temp, const QString& target)
{
    if (::rename(QFile::encodeName(temp.path()).constData(), QFile::encodeName(target).constData()) != 0)
        ThrowSystemError(errno);
    temp.release();
    SyncFolder(QFileInfo(target).absolutePath());
}

// Columns of every table of `db` by table name (names compared without letter case).
QHash<QString, QSet<QString>> TableColumns(sqlite3* db, const QStringList& tables, QString* error)
{
    QHash<QString, QSet<QString>> columns;
    for (const QString& table : tables) {
        sqlite3_stmt* statement = nullptr;
        int code = sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?);", -1, &statement, nullptr);
        if (code == SQLITE_OK) {
            const QByteArray name = table.toUtf8();
            sqlite3_bind_text(statement, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            QSet<QString>& names = columns[table.toLower()];
            while ((code = sqlite3_step(statement)) == SQLITE_ROW)
                names.insert(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))).toLower());
        }
        sqlite3_finalize(statement);
        if (code != SQLITE_DONE) {
            *error = QString::fromUtf8(sqlite3_errmsg(db));
            return {};
        }
        if (columns[table.toLower()].isEmpty()) columns.remove(table.toLower());
    }
    return columns;
}

// This program's tables with their columns, in the order the program builds them.
QList<std::pair<QString, QStringList>> ProgramSchema()
{
    static const QList<std::pair<QString, QStringList>> schema = [] {
        QList<std::pair<QString, QStringList>> result;
        static const QRegularExpression createTable(QStringLiteral(R"(CREATE TABLE\s+(\w+)\s*\((.*)\)\s*;?\s*$)"));
        for (const QString& statement : DatabaseTableStatements()) {
            const QRegularExpressionMatch match = createTable.match(statement);
            if (!match.hasMatch()) continue;
            QStringList columns;
            for (const QString& part : match.captured(2).split(QLatin1Char(',')))
                columns << part.trimmed().section(QLatin1Char(' '), 0, 0);
            result.append({match.captured(1), columns});
        }
        return result;
    }();
    return schema;
}

} // namespace

TBackupError::TBackupError(int number, const QString& text)
    : AppError(QStringLiteral("Error %1 : %2").arg(number).arg(text)), m_number(number), m_text(text)
{
}

void CopyDatabaseFile(const QString& source, const QString& target, bool sourceReadOnly)
{
    const QFileInfo targetInfo(target);
    TempFileGuard temp(NewTempFile(targetInfo.absolutePath(), targetInfo.fileName()));
    CopyPages(source, temp.path(), sourceReadOnly);
    MoveIntoPlace(temp, target);
}

QString BackupDatabaseTo(const QString& folder)
{
    const QString target = QDir(folder).filePath(GetDatabaseFileName());
    CopyDatabaseFile(GetDatabasePath(), target);
    return target;
}

bool IsDatabaseFileName(const QString& chosenPath)
{
    QString path = chosenPath;
    while (path.size() > 1 && (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))) path.chop(1);
    const int slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1) == GetDatabaseFileName();
}

QString CheckRestoreFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("The file %1 does not exist.").arg(QDir::toNativeSeparators(path));
    if (!info.isFile()) return QStringLiteral("%1 is not a file.").arg(QDir::toNativeSeparators(path));

    int failure = SQLITE_OK;
    QString failureText;
    EngineHandle db = OpenEngine(path, SQLITE_OPEN_READONLY, &failure, &failureText);
    if (!db) return QStringLiteral("The file cannot be opened as a database (%1).").arg(failureText);

    QString error;
    int errorCode = SQLITE_OK;
    QueryColumn(db.get(), QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table';"), &error, &errorCode);
    if (errorCode == SQLITE_CORRUPT) return QStringLiteral("The database file is damaged (%1).").arg(error);
    if (!error.isEmpty()) return QStringLiteral("The file is not a database (%1).").arg(error);
    const QString problem = IntegrityProblem(db.get());
    if (!problem.isEmpty()) return QStringLiteral("The database file is damaged (%1).").arg(problem);

    QStringList wanted;
    for (const auto& [table, columns] : ProgramSchema()) wanted << table;
    const QHash<QString, QSet<QString>> present = TableColumns(db.get(), wanted, &error);
    if (!error.isEmpty()) return QStringLiteral("The database file cannot be read (%1).").arg(error);
    for (const auto& [table, columns] : ProgramSchema()) {
        const auto found = present.constFind(table.toLower());
        if (found == present.constEnd())
            return QStringLiteral("The file is not a %1 database: the table %2 is missing.").arg(GetProductName(), table);
        for (const QString& column : columns) {
            if (!found->contains(column.toLower()))
                return QStringLiteral("The file is not a %1 database: the table %2 has no column %3.")
                    .arg(GetProductName(), table, column);
        }
    }
    return {};
}

QString GetBeforeRestorePath() { return GetDatabasePath() + QStringLiteral(".before-restore"); }

void RestoreDatabaseFrom(const QString& path)
{
    const QString refusal = CheckRestoreFile(path);
    if (!refusal.isEmpty()) throw TRestoreRefused(refusal);

    const QString live = GetDatabasePath();
    const QString dataFolder = QFileInfo(live).absolutePath();
    // The chosen file, copied and checked beside the live one first.
    TempFileGuard staged(NewTempFile(dataFolder, GetDatabaseFileName()));
    CopyPages(path, staged.path(), true);
    const QString stagedRefusal = CheckRestoreFile(staged.path());
    if (!stagedRefusal.isEmpty()) throw TRestoreRefused(stagedRefusal);
    // The database about to be replaced is kept; copying it through the engine
    // also rolls back a journal a crash may have left beside it, so no stale
    // journal is ever applied to the restored file.
    if (QFileInfo::exists(live)) CopyDatabaseFile(live, GetBeforeRestorePath());
    MoveIntoPlace(staged, live);
}

QString GetBackupsFolder() { return QDir(GetDataFolder()).filePath(QStringLiteral("Backups")); }

QString DailyBackupFileName(const QDate& day)
{
    return QStringLiteral("Fennick-%1.db").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QString RunDailyBackup(const QDate& today)
{
    if (!QFileInfo::exists(GetDatabasePath())) return {};
    QDir folder(GetBackupsFolder());
    if (!folder.exists() && !QDir().mkpath(folder.path())) ThrowSystemError(errno ? errno : EACCES);
    QString written;
    const QString target = folder.filePath(DailyBackupFileName(today));
    if (!QFileInfo::exists(target)) {
        CopyDatabaseFile(GetDatabasePath(), target);
        written = target;
    }
    // Only files named like a daily backup are counted and removed; the dated
    // names sort oldest first.
    static const QRegularExpression daily(QStringLiteral(R"(^Fennick-\d{4}-\d{2}-\d{2}\.db$)"));
    QStringList backups;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name))
        if (daily.match(name).hasMatch()) backups << name;
    while (backups.size() > kDailyBackupsKept) folder.remove(backups.takeFirst());
    return written;
}
