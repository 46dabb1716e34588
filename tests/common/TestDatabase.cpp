#include "common/TestDatabase.h"

#include "common/TestServer.h"

#include "app/unitAppInfo.h"
#include "app/unitModalRunner.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "company/unitEInvoiceSettings.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>

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
        PrepareEInvoiceData();
        return;
    }
    QFile::remove(GetDatabasePath());
    CreateDatabase(today);
    // The "Building DataBase..." notice must not still be open when a test
    // looks for its own notice.
    RunOutSavingNotice();
    LoadCompanyData();
    // Start-up's own step on every database it opens.
    PrepareEInvoiceData();
}

void DamageRootPage(const QString& path, const QString& table)
{
    int rootPage = 0;
    int pageSize = 0;
    {
        DbConnection connection(path);
        DbStatement read = connection.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"), {table});
        QVERIFY(read.step());
        rootPage = read.columnInt(0);
        read.finalize();
        DbStatement size = connection.prepare(QStringLiteral("PRAGMA page_size;"));
        QVERIFY(size.step());
        pageSize = size.columnInt(0);
    }
    QVERIFY(rootPage > 1);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(qint64(rootPage - 1) * pageSize));
    file.write(QByteArray(pageSize, char(0xEE)));
}

bool ClosesItselfWhileLocked(const std::function<void()>& open)
{
    bool closedItself = false;
    DbConnection locker = TestRunsOnServer() ? DbConnection::ToServer(TestProgramConnection()) : DbConnection();
    if (TestRunsOnServer()) {
        // Every table held by another session; the seat gives up waiting soon.
        TServerTimeLimits limits;
        limits.lockMs = 300;
        SetServerTimeLimits(limits);
        locker.execute(QStringLiteral("BEGIN;"));
        locker.execute(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE;")
                           .arg(ProgramTablesIn(locker).join(QLatin1Char(','))));
    } else {
        locker.execute(QStringLiteral("BEGIN EXCLUSIVE;"));
    }
    {
        ScopedModalRunner runner([&closedItself](QDialog& dialog) {
            dialog.show();
            QCoreApplication::processEvents();
            closedItself = !dialog.isVisible();
            if (!closedItself) dialog.close();
            return dialog.result();
        });
        open();
    }
    locker.execute(QStringLiteral("ROLLBACK;"));
    if (TestRunsOnServer()) SetServerTimeLimits(TServerTimeLimits());
    return closedItself;
}
