#include "backup/unitBackupRestoreData.h"

#include "app/unitAppInfo.h"
#include "backup/unitServerDailyCopy.h"
#include "db/unitCreateDatabase.h"

#include <QDateTime>
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
#include <sys/stat.h>
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
    throw TBackupError(code, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code)), code);
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

// The engine's companion files of a database file.
const QStringList& CompanionSuffixes()
{
    static const QStringList suffixes{QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};
    return suffixes;
}

// A temporary copy is named "." + the target's name + "." + six random
// characters (mkstemp's), e.g. ".Fennick.db.a1B2c3"; the engine may put its
// journal beside it.
bool IsTempCopyName(const QString& name)
{
    static const QRegularExpression shape(QStringLiteral(R"(^\.%1[^/]*\.[A-Za-z0-9]{6}(-journal|-wal|-shm)?$)")
                                              .arg(QRegularExpression::escape(GetProductName().remove(QLatin1Char(' ')))));
    return shape.match(name).hasMatch();
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
        ::unlink(QFile::encodeName(m_path).constData());
        for (const QString& suffix : CompanionSuffixes()) ::unlink(QFile::encodeName(m_path + suffix).constData());
    }
    void release() { m_path.clear(); }
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

void FinishWrittenCopy(const QString& destination);

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
        throw TBackupError(code, QString::fromUtf8(sqlite3_errstr(code)), code);
    }
    from.reset();
    to.reset();
    FinishWrittenCopy(destination);
}

// The check of a copy just written (its journal in the ordinary mode, the
// integrity check), and the sync of its bytes before the rename.
void FinishWrittenCopy(const QString& destination)
{
    EngineHandle to = OpenEngine(destination, SQLITE_OPEN_READWRITE);
    QString error;
    QueryColumn(to.get(), QStringLiteral("PRAGMA journal_mode=DELETE;"), &error);
    const QString problem = IntegrityProblem(to.get());
    if (!problem.isEmpty()) throw TBackupError(SQLITE_CORRUPT, problem, SQLITE_CORRUPT);
    const int closed = sqlite3_close(to.release());
    if (closed != SQLITE_OK) throw TBackupError(closed, QString::fromUtf8(sqlite3_errstr(closed)), closed);

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

// The settings rows every start of the program reads, and the names its
// messages give them.
struct TRequiredRow {
    const char* table;
    const char* idColumn;
    const char* what;
};
constexpr TRequiredRow kRequiredRows[] = {
    {"tblCompanyInfo", "intCompInfoID", "company information"},
    {"tblCompanyInvData", "intCompInvDataID", "company invoice settings"},
    {"tblCompColorData", "intColorID", "document colour"},
    {"tblAppPreferences", "intAppPreferencesIdNumber", "window preferences"},
    {"tblRecurring", "intRecurringID", "recurring invoices"},
    {"tblPlannerSettings", "intPlannerSettingsID", "planner settings"},
};

// Why a file with every table still cannot serve the program (a settings row
// or the document counter missing), or an empty text.
QString MissingSettings(sqlite3* db)
{
    QString error;
    for (const TRequiredRow& row : kRequiredRows) {
        const QStringList found = QueryColumn(
            db, QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = 1;").arg(QLatin1String(row.table), QLatin1String(row.idColumn)),
            &error);
        if (!error.isEmpty()) return QStringLiteral("The database file cannot be read (%1).").arg(error);
        if (found.value(0) == QStringLiteral("0"))
            return QStringLiteral("The file is not a complete %1 database: the %2 row (%3 with %4 = 1) is missing.")
                .arg(GetProductName(), QLatin1String(row.what), QLatin1String(row.table), QLatin1String(row.idColumn));
    }
    const QStringList counter = QueryColumn(
        db, QStringLiteral("SELECT typeof(intInvNumber) FROM tblCompanyInvData WHERE intCompInvDataID = 1;"), &error);
    if (!error.isEmpty()) return QStringLiteral("The database file cannot be read (%1).").arg(error);
    if (counter.value(0) != QStringLiteral("integer"))
        return QStringLiteral("The file is not a complete %1 database: the document counter (intInvNumber of "
                              "tblCompanyInvData) holds no number.")
            .arg(GetProductName());
    return {};
}

void RenameFile(const QString& from, const QString& to)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        ThrowSystemError(errno);
}

// Moves the engine's companion files of `from` (journal, WAL) to those of `to`,
// so each file keeps its own.
void MoveCompanions(const QString& from, const QString& to)
{
    for (const QString& suffix : CompanionSuffixes())
        if (QFileInfo::exists(from + suffix)) RenameFile(from + suffix, to + suffix);
}

// The copy an earlier restore kept goes to "…before-restore-YYYYMMDD-HHMMSS"
// (its own time), so the next one does not overwrite it. Returns the new
// name, or an empty text when there was none.
QString MoveEarlierKeptCopyAside()
{
    const QString kept = GetBeforeRestorePath();
    const QFileInfo info(kept);
    if (!info.exists() && !info.isSymLink()) {
        // A journal whose database is gone holds nothing to recover, and the
        // engine would take it for the next kept file's.
        for (const QString& suffix : CompanionSuffixes()) QFile::remove(kept + suffix);
        return {};
    }
    const QString stamped = kept + QLatin1Char('-') + info.lastModified().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stamped;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = stamped + QLatin1Char('-') + QString::number(n);
    RenameFile(kept, target);
    MoveCompanions(kept, target);
    SyncFolder(info.absolutePath());
    return target;
}

// Keeps the live file as it is at `kept`, with its journal: a second name
// first (so the live name never stands empty), the companions moved after it;
// the caller then renames the restored file over the live name. Where the file
// system has no hard links the file is renamed.
void KeepLiveFileAsItIs(const QString& live, const QString& kept)
{
    if (::link(QFile::encodeName(live).constData(), QFile::encodeName(kept).constData()) != 0)
        RenameFile(live, kept);
    MoveCompanions(live, kept);
    SyncFolder(QFileInfo(kept).absolutePath());
}

// True when both paths name the same file (through links too).
bool SameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(QFile::encodeName(a).constData(), &first) != 0) return false;
    if (::stat(QFile::encodeName(b).constData(), &second) != 0) return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

TBackupError::TBackupError(int number, const QString& text, int engineCode)
    : AppError(QStringLiteral("Error %1 : %2").arg(number).arg(text)), m_number(number), m_text(text),
      m_engineCode(engineCode)
{
}

bool TBackupError::isDamagedFile() const
{
    const int code = m_engineCode & 0xff;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

bool TBackupError::isBusy() const { return m_engineCode != 0 && IsBusy(m_engineCode); }

void CopyDatabaseFile(const QString& source, const QString& target, bool sourceReadOnly)
{
    const QFileInfo targetInfo(target);
    TempFileGuard temp(NewTempFile(targetInfo.absolutePath(), targetInfo.fileName()));
    CopyPages(source, temp.path(), sourceReadOnly);
    MoveIntoPlace(temp, target);
}

void RemoveStaleTempCopies()
{
    for (const QString& path : {GetDataFolder(), GetBackupsFolder(), GetServerCopiesFolder()}) {
        QDir folder(path);
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
            if (IsTempCopyName(name)) folder.remove(name);
    }
}

void CheckBackupFolder(const QString& folder)
{
    const QString target = QDir(folder).filePath(GetDatabaseFileName());
    const QString dataFolder = QFileInfo(GetDataFolder()).canonicalFilePath();
    const QString chosen = QFileInfo(folder).canonicalFilePath();
    if ((!chosen.isEmpty() && chosen == dataFolder) || SameFile(target, GetDatabasePath()))
        throw TBackupRefused(QStringLiteral("The folder %1 is the program's own data folder: a backup there would "
                                            "replace the database it copies. Please choose another folder, best "
                                            "on another disk.")
                                 .arg(QDir::toNativeSeparators(folder)));
}

QString BackupDatabaseTo(const QString& folder)
{
    CheckBackupFolder(folder);
    const QString target = QDir(folder).filePath(GetDatabaseFileName());
    CopyDatabaseFile(GetDatabasePath(), target);
    return target;
}

void WriteCheckedDatabaseFile(const QString& target, const std::function<void(const QString&)>& fill)
{
    const QFileInfo targetInfo(target);
    TempFileGuard temp(NewTempFile(targetInfo.absolutePath(), targetInfo.fileName()));
    fill(temp.path());
    FinishWrittenCopy(temp.path());
    const QString refusal = CheckRestoreFile(temp.path());
    if (!refusal.isEmpty()) throw TBackupError(SQLITE_CORRUPT, refusal, SQLITE_CORRUPT);
    MoveIntoPlace(temp, target);
}

QStringList RestoredTableNames()
{
    QStringList names;
    for (const auto& [table, columns] : ProgramSchema()) names << table;
    return names;
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
    return MissingSettings(db.get());
}

QString GetBeforeRestorePath() { return GetDatabasePath() + QStringLiteral(".before-restore"); }

TRestoreOutcome RestoreDatabaseFrom(const QString& path)
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

    TRestoreOutcome outcome;
    if (QFileInfo::exists(live)) {
        outcome.earlierKeptPath = MoveEarlierKeptCopyAside();
        outcome.keptPath = GetBeforeRestorePath();
        // The database about to be replaced is kept; copying it through the
        // engine also rolls back a journal a crash may have left beside it, so
        // no stale journal is ever applied to the restored file. A file the
        // copy refuses (damaged: just when a restore is needed) is kept as it
        // is instead, its journal with it.
        try {
            CopyDatabaseFile(live, outcome.keptPath);
        } catch (const TBackupError& error) {
            if (error.isBusy()) throw;
            outcome.liveProblem = error.text();
            outcome.liveDamaged = error.isDamagedFile();
            KeepLiveFileAsItIs(live, outcome.keptPath);
        }
    }
    MoveIntoPlace(staged, live);
    return outcome;
}
