#pragma once
// The tables of features beyond the first-run schema, in one list. Each is
// created when missing, at every start, so an older database opens and gains
// it, and a newer one stays readable by an older program (which never looks at
// it). A feature keeps its data in tables of its own, never in new columns of
// the described tables. Statements are written in the file's types; on a server
// they are translated like the first-run tables (ServerTableStatement).
#include <QString>
#include <vector>

class DbConnection;

struct TFeatureTable {
    QString name;
    QString createStatement;
    bool serverOnly;   // kept in a server database only (the file keeps it elsewhere)
};

const std::vector<TFeatureTable>& FeatureTables();

// Creates every feature table the database lacks (the caller decides whether in
// a transaction).
void CreateMissingFeatureTables(DbConnection& db);
// At the start on this computer's file: the file's feature tables that are
// missing, in one transaction (the file is not opened when there are none).
void CreateMissingFileFeatureTables();
