#pragma once
// Backup and restore of the database file, without the pickers.
//
// Every copy is taken with SQLite's online backup into a temporary file in the
// target folder, checked (PRAGMA integrity_check), and only then renamed over a
// file of the target name; a copy that fails leaves nothing behind and an
// earlier file of that name untouched. Reading the live file through the engine
// also rolls back a journal left by a crash, so a copy holds committed data only.
//
// A restore first checks the chosen file: it must open as an SQLite database,
// pass the integrity check, hold every table of this program with its columns
// and the settings rows every start reads. A good file is copied beside the
// live one and renamed into place; the file it replaces is kept as
// Fennick.db.before-restore in the data folder, and the one kept by the restore
// before moves to a name with its time, so no restore loses another's copy.
#include "app/AppError.h"
#include "app/unitAppInfo.h"

#include <QString>
#include <QStringList>

#include <functional>

// A copy that failed: the system's (or the engine's) error number and text. The
// message reads "Error " + number + " : " + text.
class TBackupError : public AppError {
public:
    // `engineCode` is the engine's result when the engine (not the system)
    // failed; 0 for a system error.
    TBackupError(int number, const QString& text, int engineCode = 0);
    int number() const { return m_number; }
    const QString& text() const { return m_text; }
    // The source file is damaged or no database at all.
    bool isDamagedFile() const;
    // Another program held the file through every retry.
    bool isBusy() const;

private:
    int m_number;
    QString m_text;
    int m_engineCode;
};

// A restore refused after checking the chosen file; the message says why.
class TRestoreRefused : public AppError {
public:
    using AppError::AppError;
};

// A backup refused before anything was written; the message says why.
class TBackupRefused : public AppError {
public:
    using AppError::AppError;
};

// Copies the database at `source` to `target` the safe way described above.
// Throws TBackupError. The source is opened read-only when `sourceReadOnly`.
void CopyDatabaseFile(const QString& source, const QString& target, bool sourceReadOnly = false);

// Removes the temporary copies a backup or restore that was cut short (a
// crash, a power cut) left in the data folder, in Backups/ and Backups/Server/. Only files
// named the way this program names its temporary copies are touched; run at
// start, while this copy of the program holds the data folder alone.
void RemoveStaleTempCopies();

// Backup: the live database as Fennick.db in `folder`, replacing one there.
// Returns the path written. Throws TBackupRefused when `folder` is the data
// folder itself (the copy would replace the database it copies), TBackupError
// when the copy fails.
QString BackupDatabaseTo(const QString& folder);
// The refusal of BackupDatabaseTo: throws TBackupRefused when `folder` is the
// data folder (or its Fennick.db is the live database).
void CheckBackupFolder(const QString& folder);

// A database file written by `fill` (given the path of a new, empty file in
// the target's folder, readable by its owner only), then checked as a copy and
// as a restore would check it, and only then renamed over `target`; on any
// failure nothing is left behind and an earlier target is untouched. Throws
// TBackupError (or what `fill` throws).
void WriteCheckedDatabaseFile(const QString& target, const std::function<void(const QString&)>& fill);

// The first-run tables a file must hold to be restored, in the order the
// program builds them.
QStringList RestoredTableNames();

// True when the last component of the chosen path is exactly the database file
// name, letter case included.
bool IsDatabaseFileName(const QString& chosenPath);

// Why the file cannot be restored, or an empty text when it can.
QString CheckRestoreFile(const QString& path);

// The file that keeps the database a restore replaced.
QString GetBeforeRestorePath();

// What a restore did with the database it replaced.
struct TRestoreOutcome {
    // Where the replaced database is kept (empty when there was none).
    QString keptPath;
    // Why it could not be copied cleanly and was kept as it was, by renaming
    // it with its journal; empty when it was copied.
    QString liveProblem;
    bool liveDamaged = false;
    // Where the copy kept by the restore before this one went (empty when
    // there was none).
    QString earlierKeptPath;
};

// Restore: checks the file (TRestoreRefused when it is not fit) and puts a copy
// of it in place of the live database. The live database is copied to
// GetBeforeRestorePath(); when it cannot be copied cleanly (damaged, not a
// database), it is renamed there as it is. Throws TBackupError when a copy or
// rename fails; the live database is then as it was.
TRestoreOutcome RestoreDatabaseFrom(const QString& path);
