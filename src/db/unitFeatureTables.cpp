#include "db/unitFeatureTables.h"

#include "db/DbConnection.h"
#include "db/unitServerSchema.h"

#include <algorithm>

const std::vector<TFeatureTable>& FeatureTables()
{
    static const std::vector<TFeatureTable> tables = {
        // The company logo of a server database, so that every seat prints the
        // same one (a seat on the file keeps it as CmpLogo.jpg in the data
        // folder): one row, id 1, the JPEG's bytes.
        {"tblCompanyLogo", "CREATE TABLE tblCompanyLogo(intCompanyLogoID INTEGER,blobLogoJpeg BLOB);", true},
    };
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
        const QString name = QString::fromUtf8(table.name);
        if (existing.contains(db.isServer() ? name.toLower() : name, Qt::CaseInsensitive)) continue;
        const QString statement = QString::fromUtf8(table.createStatement);
        db.execute(db.isServer() ? ServerTableStatement(statement) : statement);
    }
}
