#include "db/unitFeatureTables.h"

#include "db/DbConnection.h"
#include "db/unitEInvoiceTables.h"
#include "db/unitServerSchema.h"

#include <algorithm>

const std::vector<TFeatureTable>& FeatureTables()
{
    static const std::vector<TFeatureTable> tables = [] {
        std::vector<TFeatureTable> list = {
            // The company logo of a server database, so that every seat prints the
            // same one (a seat on the file keeps it as CmpLogo.jpg in the data
            // folder): one row, id 1, the JPEG's bytes.
            {QStringLiteral("tblCompanyLogo"),
             QStringLiteral("CREATE TABLE tblCompanyLogo(intCompanyLogoID INTEGER,blobLogoJpeg BLOB);"), true},
            // The days on which a seat took the server's automatic daily copy:
            // the first seat to close on a day claims it here, so one copy is
            // taken per day however many seats close.
            {QStringLiteral("tblServerDailyCopy"),
             QStringLiteral("CREATE TABLE tblServerDailyCopy(strCopyDay TEXT PRIMARY KEY);"), true},
            // The id that keeps exported calendar events apart from another
            // database's (one row, id 1).
            {QStringLiteral("tblCalendarExport"),
             QStringLiteral("CREATE TABLE IF NOT EXISTS tblCalendarExport "
                            "(intCalendarExportID INTEGER PRIMARY KEY, strCalendarUID TEXT);"),
             false},
        };
        // The e-invoice tables (their settings row is made with them at start).
        for (const QString& statement : EInvoiceTableStatements()) {
            const QString name = statement.section(QLatin1Char(' '), 5, 5).section(QLatin1Char('('), 0, 0);
            list.push_back({name, statement, false});
        }
        return list;
    }();
    return tables;
}

void CreateMissingFileFeatureTables()
{
    const auto& tables = FeatureTables();
    if (std::all_of(tables.begin(), tables.end(), [](const TFeatureTable& t) { return t.serverOnly; })) return;
    DbConnection db;
    DbTransaction transaction(db);
    CreateMissingFeatureTables(db);
    transaction.commit();
}

void CreateMissingFeatureTables(DbConnection& db)
{
    const QStringList existing = db.tableNames();
    for (const TFeatureTable& table : FeatureTables()) {
        if (table.serverOnly && !db.isServer()) continue;
        const QString& name = table.name;
        if (existing.contains(db.isServer() ? name.toLower() : name, Qt::CaseInsensitive)) continue;
        db.execute(db.isServer() ? ServerTableStatement(table.createStatement) : table.createStatement);
    }
}
