#pragma once
// The automatic daily copy of a server database: taken once per day per server,
// by the first seat that closes that day, and only on seats where the Shared
// Database screen's "daily copy" box is ticked (off by default: a copy of the
// whole business, mail password included, should not land on every laptop).
// The copies are portable Fennick.db files in Backups/Server of the seat's data
// folder, named by day, the last ten kept, each with its logo beside it.
#include <QDate>
#include <QString>

// The seat's setting, kept in its settings file next to the connection.
bool ReadDailyServerCopySetting();
void WriteDailyServerCopySetting(bool on);

// Backups/Server in the data folder.
QString GetServerCopiesFolder();

// At the close of a seat on a server: when the setting is on and no seat has
// copied the server today, claims the day on the server and writes the copy,
// both in one transaction (two seats closing together never both copy; a copy
// that fails leaves the day unclaimed for the next seat). Returns the file
// written, or an empty text when none was due. Throws AppError with a message
// that names the automatic copy and why it failed.
QString RunDailyServerCopy(const QDate& today = QDate::currentDate());
