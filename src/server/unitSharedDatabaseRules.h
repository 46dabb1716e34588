#pragma once
// The rules of the Shared Database screen, without widgets: the fields and the
// connection string, testing a connection, remembering a password where libpq
// finds it, and switching the seat between the server and this computer's file.
#include <QString>

struct TSharedDatabaseFields {
    QString server;
    QString port;       // empty: PostgreSQL's 5432
    QString database;
    QString user;       // empty: libpq's default (this computer's user name)
    QString password;   // never written to the settings file
};

// The connection string of the fields, without the password (what the settings
// file keeps), or with it (for one connection made now).
QString ConnectionStringOf(const TSharedDatabaseFields& fields, bool withPassword = false);
// The fields a connection string names (the password left empty).
TSharedDatabaseFields FieldsOf(const QString& connectionString);
// What is missing or wrong in the fields, or an empty text.
QString FieldsProblem(const TSharedDatabaseFields& fields);

// Connects with the fields and says what was found: the server's version and
// whether the database holds this program's tables. Throws AppError with the
// reason (refused, no such server, password, no such database, time-out).
QString TestSharedDatabase(const TSharedDatabaseFields& fields);

// libpq's password file: PGPASSFILE, else ~/.pgpass.
QString GetPasswordFilePath();
// Adds the fields' password to the password file (replacing the line for the
// same server, port, database and user), readable by its owner alone.
void RememberPassword(const TSharedDatabaseFields& fields);
// One line of the password file, with ":" and "\" escaped.
QString PasswordFileLine(const TSharedDatabaseFields& fields);

// The messages of the two switches; each takes effect at the next start.
QString UseServerMessage(const TSharedDatabaseFields& fields);
QString UseFileMessage();
