#pragma once
// The program's tables on a server database: the first-run tables in the
// database's default schema with unquoted names, in the server's types, the
// search functions the stores call, the feature tables, and a version table.
#include <QDate>
#include <QString>
#include <QStringList>

class DbConnection;

// The schema this program makes and reads. 1: the first-run tables and the
// search functions; 2: the company logo table; 3: the monthly ledger's unique
// key on year and month (seats posting at once never make two rows of a month).
constexpr int kServerSchemaVersion = 3;

// A CREATE TABLE of the file in the server's types: an INTEGER PRIMARY KEY
// becomes an integer filled from a sequence, INTEGER integer, TEXT text, REAL
// double precision, BLOB bytea.
QString ServerTableStatement(const QString& fileStatement);

// Makes a server database ready for this program, in one transaction under an
// advisory lock, so two seats starting at once on an empty database do not
// both build it: an empty database gets the tables, the search functions, the
// first-run rows and the version; an older schema is upgraded; a newer one is
// refused with NewerSchemaMessage. Returns true when it built the schema.
bool PrepareServerDatabase(DbConnection& db, const QDate& today);
// The same inside the caller's transaction (the lock is held to its end).
bool PrepareServerSchema(DbConnection& db, const QDate& today);

// The tables of this program a database holds (first-run, feature and version
// tables), as the database names them.
QStringList ProgramTablesIn(DbConnection& db);

// The schema version a server database records; 0 when it has none.
int ServerSchemaVersion(DbConnection& db);

QString NewerSchemaMessage(int databaseVersion);

// The start-up's part on a seat that uses a server: connects, and builds (with
// the "Building DataBase..." notice) or upgrades the schema as needed.
void StartOnServerDatabase();

// The search function STARTS_WITH_TEXT on the server: the file's rule (a
// literal prefix, every letter compared by Unicode case folding), built from
// the server's lower() and the few letters whose folding differs from their
// lower case. The statements that (re)create it.
QStringList ServerTextFunctionStatements(bool icuCollation);
