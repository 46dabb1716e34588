#pragma once
#include <QDate>
#include <QStringList>

// First-run creation: builds the database file with its thirteen tables and
// default rows. Called by the start-up sequence only when no file exists.
// The whole build is one transaction; when it fails the half-built file is
// removed again, so the next start builds it anew.
void CreateDatabase();
// The same, with the day the sample planner activities are placed around.
void CreateDatabase(const QDate& today);
// The CREATE TABLE statements of the thirteen tables, in the order they are built.
QStringList DatabaseTableStatements();

class DbConnection;
// The thirteen tables and their default rows, on a connection to an empty
// database (the new file, or a server database inside its schema transaction;
// the tables in the server's types there).
void BuildDatabase(DbConnection& db, const QDate& today);
