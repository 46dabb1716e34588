#include "common/TestDatabase.h"

#include "app/unitAppInfo.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "company/unitEInvoiceSettings.h"
#include "db/unitCreateDatabase.h"

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
    QFile::remove(GetDatabasePath());
    CreateDatabase(today);
    // The "Building DataBase..." notice must not still be open when a test
    // looks for its own notice.
    RunOutSavingNotice();
    LoadCompanyData();
    // Start-up's own step on every database it opens.
    PrepareEInvoiceData();
}
