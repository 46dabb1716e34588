#pragma once
// The two commands of the main window's "&Backup/Restore" menu: each asks for a
// place with a file dialog run through RunModal (so a test can answer it), then
// backs up or restores and tells the user how it went.
#include <QString>

class QFileDialog;

// "B&ackup Data": a folder picker titled "Backup Company Database", then the
// live database copied there as Fennick.db (on a server seat: the server's
// snapshot, its logo beside it).
void BackupData();
// "&Restore Data": a file picker titled "Restore Company Database", the chosen
// Fennick.db checked and put in place, the company settings reloaded. On a
// server seat, other connected seats are warned about first and the file is
// loaded into the server. True when the database was replaced.
bool RestoreData();

// At a start whose database file is damaged (`reason`: the engine's message):
// offers to restore the newest automatic backup or a file the user chooses,
// keeping the damaged file beside the restored one, until a restore succeeds
// (true) or the user quits (false).
bool RescueDamagedDatabase(const QString& reason);

// The pickers' object names, so a test can tell them apart.
inline constexpr const char* kBackupPickerName = "dlgBackupFolder";
inline constexpr const char* kRestorePickerName = "dlgRestoreFile";
inline constexpr const char* kRescuePickerName = "dlgRescueFile";
