// Invoice maintenance with 1,000,000 stored documents: the first screenful of
// mode 0, a refill, each key of a search as you type and the longest page,
// next to the query of those rows through the SQLite C API. Runs in a
// throw-away data folder.
#include "BenchSupport.h"
#include "MaintenanceFigures.h"
#include "app/unitAppInfo.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "maintenance/unitInvMaintenanceListModel.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>
#include <sqlite3.h>

#include <cstdio>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kDocuments = 1000000;

// kDocuments stored documents with one line each and a year of ledger rows,
// made by the engine itself in a few statements.
void fillDocuments()
{
    DbConnection connection;
    DbTransaction transaction(connection);
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < ?) ");
    connection.execute(
        QStringLiteral("INSERT INTO tblInvDataHeader(intInvNumber,strCustCmpnyName,strCustFullName,strInvName,"
                       "strPaidInFull,strRecurring,strSavedToReport,dbLbrTotal,dbMatTotal,dbInvTotal,strInvDate) ")
            + numbers
            + QStringLiteral(
                "SELECT 1001 + i, 'Company ' || (i % 5000) || ' Services', 'Lastname' || (i % 20000) || ', Firstname', "
                "CASE i % 6 WHEN 0 THEN 'Estimate' WHEN 1 THEN 'Work Order' WHEN 2 THEN 'Change Order' "
                "WHEN 3 THEN 'Invoice' WHEN 4 THEN 'Credit' ELSE 'Past Due' END, "
                "CASE WHEN i % 3 = 0 THEN '-1' ELSE '0' END, CASE WHEN i % 17 = 0 THEN '-1' ELSE '0' END, '0', "
                "50 + i % 997, 25.0, (50 + i % 997) * 1.05 + 25.0, '3/15/2024' FROM n;"),
        {kDocuments - 1});
    connection.execute(QStringLiteral("INSERT INTO tblInvData(intInvNumber,strPrcItemName,strPrcItmQuantity,strLabTax,"
                                      "strMatTax,dbLbrPrc,dbMatPrc) ")
                           + numbers
                           + QStringLiteral("SELECT 1001 + i, 'Window washing', '1', '-1', '0', 50 + i % 997, 25.0 FROM n;"),
                       {kDocuments - 1});
    connection.execute(QStringLiteral("INSERT INTO tblReport(intReportYear,intReportMonth,dbLbrTotal,dbMatTotal) ")
                           + numbers + QStringLiteral("SELECT 2024, 1 + i, 1000000.0, 500000.0 FROM n;"),
                       {11});
    transaction.commit();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    QDir().mkpath(GetTempFolder());
    CreateDatabase();
    LoadCompanyData();
    fillDocuments();
    // The list keeps its connection open while it is shown: so does the raw side.
    const auto connection = std::make_shared<bench::RawConnection>();
    const auto raw = [connection](const QString& sql, const QVariantList& values) {
        bench::RawSelectOn(connection->handle(), sql, values);
    };
    bench::RunMaintenanceFigures(QStringLiteral("invoice maintenance"), kDocuments, raw);
    return 0;
}
