#include "common/TestDatabase.h"

#include "common/TestServer.h"

#include "app/unitAppInfo.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerSchema.h"

#include <QDir>
#include <QFile>

void RunOutSavingNotice()
{
    while (TfrmSaving* notice = CurrentSavingNotice()) notice->tick();
}

void CreateTestDatabase() { CreateTestDatabase(QDate::currentDate()); }

void CreateTestDatabase(const QDate& today)
{
    QDir().mkpath(GetDataFolder());
    QDir().mkpath(GetTempFolder());
    if (TestRunsOnServer()) {
        // The same first-run tables and rows, in this program's server database.
        EmptyTestProgramDatabase();
        SetServerConnectionString(TestProgramConnection());
        DbConnection db;
        PrepareServerDatabase(db, today);
        LoadCompanyData();
        return;
    }
    QFile::remove(GetDatabasePath());
    CreateDatabase(today);
    // The "Building DataBase..." notice must not still be open when a test
    // looks for its own notice.
    RunOutSavingNotice();
    LoadCompanyData();
}
