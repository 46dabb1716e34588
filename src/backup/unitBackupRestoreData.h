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
// pass the integrity check and hold every table of this program with its
// columns. A good file is copied beside the live one and renamed into place; the
// file it replaces is kept as Fennick.db.before-restore in the data folder.
#include "app/AppError.h"

#include <QDate>
#include <QString>
#include <QStringList>

// A copy that failed: the system's (or the engine's) error number and text. The
// message reads "Error " + number + " : " + text.
class TBackupError : public AppError {
public:
    TBackupError(int number, const QString& text);
    int number() const { return m_number; }
    const QString& text() const { return m_text; }

private:
    int m_number;
    QString m_text;
};

// A restore refused after checking the chosen file; the message says why.
class TRestoreRefused : public AppError {
public:
    using AppError::AppError;
};

// Copies the database at `source` to `target` the safe way described above.
// Throws TBackupError. The source is opened read-only when `sourceReadOnly`.
void CopyDatabaseFile(const QString& source, const QString& target, bool sourceReadOnly = false);

// Backup: the live database as Fennick.db in `folder`, replacing one there.
// Returns the path written. Throws TBackupError.
QString BackupDatabaseTo(const QString& folder);

// True when the last component of the chosen path is exactly the database file
// name, letter case included.
bool IsDatabaseFileName(const QString& chosenPath);

// Why the file cannot be restored, or an empty text when it can.
QString CheckRestoreFile(const QString& path);

// The file that keeps the database a restore replaced.
QString GetBeforeRestorePath();

// Restore: checks the file (TRestoreRefused when it is not fit) and puts a copy
// of it in place of the live database, keeping the old one at
// GetBeforeRestorePath(). Throws TBackupError when a copy or rename fails; the
// live database is then as it was.
void RestoreDatabaseFrom(const QString& path);

// The folder of the automatic daily backups: "Backups" in the data folder.
QString GetBackupsFolder();
// How many daily backups are kept.
constexpr int kDailyBackupsKept = 10;
// The daily backup's file name for a day: "Fennick-YYYY-MM-DD.db".
QString DailyBackupFileName(const QDate& day);

// Once a day (at close): the live database as Backups/Fennick-YYYY-MM-DD.db,
// made the safe way, then all but the newest ten daily backups removed. Returns
// the file written, or an empty text when today's backup exists already or
// there is no database. Throws TBackupError.
QString RunDailyBackup(const QDate& today = QDate::currentDate());
