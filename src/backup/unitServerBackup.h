#pragma once
// Backup and restore on a seat that works on a server database. A backup is a
// portable Fennick.db, the same file a seat on this computer's file writes and
// restores, taken from one consistent snapshot of the server (every table of
// the program, every row, the document counter); the company logo goes beside
// it as CmpLogo.jpg. A restore loads such a file into the server in one
// transaction, after the server's current content was kept in the data folder.
#include "backup/unitBackupRestoreData.h"

#include <QString>

class DbConnection;

// The company logo's name beside a backup.
QString BackupLogoFileName();

// Writes what `server` sees (the caller's transaction: REPEATABLE READ, so
// every table is read from the same moment) as a checked database file at
// `target`; the logo goes to `logoTarget` (none on the server: a file left
// there by an earlier backup is removed, unless `logoTarget` is empty).
// Nothing is written when a step fails. Returns true when there was a logo.
bool WriteServerSnapshot(DbConnection& server, const QString& target, const QString& logoTarget);

// "Backup Data" on a server seat: Fennick.db and CmpLogo.jpg in `folder`.
// Returns the database file written. Throws TBackupRefused (the data folder),
// TBackupError or AppError.
QString BackupServerTo(const QString& folder);

// How many other seats (Fennick's connections from other processes or
// computers) are connected to the server database now.
int OtherSeatsConnected();

struct TServerRestoreOutcome {
    QString keptPath;       // the server's content before the restore
    QString keptLogoPath;   // its logo (empty: it had none)
    bool logoRestored = false;   // false: no CmpLogo.jpg beside the file, the server's logo kept
};

// The file the server's content is kept in before a restore at `stamp`
// (yyyyMMdd-HHmmss): Fennick.db.before-restore-<stamp> in the data folder.
QString ServerBeforeRestorePath(const QString& stamp);

// "Restore Data" on a server seat: checks the file (TRestoreRefused), keeps the
// server's content (ServerBeforeRestorePath), then replaces every table's rows
// with the file's, moves each id sequence past the ids and (when a CmpLogo.jpg
// lies beside the file) the logo, in one transaction: on any failure the server
// is as it was (AppError, TBackupError).
TServerRestoreOutcome RestoreServerFrom(const QString& path);
