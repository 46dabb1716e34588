#pragma once
// Which database this seat works on: this computer's file (the default) or a
// database on a PostgreSQL server, named by a libpq connection string
// ("host=office-server dbname=fennick user=anna"). The choice belongs to the
// seat: its settings file, or --database for one run. Passwords are never kept
// here; libpq finds them in ~/.pgpass, PGPASSFILE, PGPASSWORD or a service file.
#include <QString>

// $XDG_CONFIG_HOME/Brassgate Software/Fennick4.conf (default ~/.config/...).
QString GetSeatSettingsPath();
// [Database] Connection in the settings file; empty: this computer's file.
QString ReadSeatConnectionString();
// Writes the setting (empty: back to the file); it takes effect at the next start.
void WriteSeatConnectionString(const QString& connectionString);

// The database of this run: every DbConnection made without a path goes there.
// Empty: this computer's file.
void SetServerConnectionString(const QString& connectionString);
const QString& ServerConnectionString();
bool UsesServer();
