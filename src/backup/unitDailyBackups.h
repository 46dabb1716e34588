#pragma once
// The automatic daily backups in Backups/ of the data folder, refreshed at
// every close of the program.
#include "backup/unitBackupRestoreData.h"

#include <QDate>
#include <QString>

// How many daily backups are kept.
constexpr int kDailyBackupsKept = 10;
// The daily backup's file name for a day: "Fennick-YYYY-MM-DD.db".
QString DailyBackupFileName(const QDate& day);
// The company logo kept beside a day's copy of a server: "CmpLogo-YYYY-MM-DD.jpg".
QString DailyLogoFileName(const QDate& day);
// All but the newest kDailyBackupsKept daily copies dated up to today (and
// their logos) removed from `folder`; those dated after today are left alone.
void RemoveOldDailyBackups(const QString& folder, const QDate& today);

// At every close: the live database as Backups/Fennick-YYYY-MM-DD.db, made the
// safe way (a copy that fails leaves today's earlier backup as it was), then
// all but the newest ten daily backups dated up to today removed. A file dated
// after today (the clock was wrong once) is neither counted nor removed, so it
// never pushes a real backup out. Returns the file written, or an empty text
// when there is no database. Throws AppError with a message that names the
// automatic backup, the system's reason and what was kept.
QString RunDailyBackup(const QDate& today = QDate::currentDate());

// The newest daily backup dated up to today (else the newest one), or an empty
// text when there is none.
QString NewestDailyBackup(const QDate& today = QDate::currentDate());
