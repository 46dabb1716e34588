// The customer list and the price sheet at 1,000,000 rows: the first screenful
// of the "All ..." list and of each key typed into the search box, each next to
// the query of those rows stepped through the raw SQLite C API, the longest
// page while the list is scrolled to its end, and the memory a list of
// 100,000 and of 1,000,000 rows takes once all are read.
#include "BenchSupport.h"
#include "ListFigures.h"

#include "app/unitAppInfo.h"
#include "company/unitCompanyData.h"
#include "customers/unitCustomerSearch.h"
#include "customers/unitfrmCustomer.h"
#include "db/DbConnection.h"
#include "db/unitListQuery.h"
#include "db/unitCreateDatabase.h"
#include "prices/unitPriceSearch.h"
#include "prices/unitfrmPrice.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::MedianMs;
using bench::RawSelect;

constexpr int kRows = 1000000;
constexpr int kFirstMemoryRows = 100000;

// The resident size of this process in bytes, as the kernel counts it.
std::size_t ResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith("VmRSS:")) continue;
        return std::size_t(line.mid(6).trimmed().split(' ').value(0).toULongLong()) * 1024;
    }
    return 0;
}

// Customers and price items from..to-1, made by the engine itself in one
// statement each. The first letter cycles through A-Z, so a one-letter prefix
// matches about 1 row in 26.
void FillTables(int from, int to)
{
    DbConnection connection;
    DbTransaction transaction(connection);
    const QString numbers = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT ? UNION ALL SELECT i + 1 FROM n WHERE i < ?) ");
    connection.execute(
        QStringLiteral(
            "INSERT INTO tblCustomers(strCustFirstName,strCustLastName,strCustCompany,strCustAddress,strCustCity,"
            "strCustState,strCustZipCode,strCustEmail,strCustPhone,strCustFax,strCustPhoneAreaCode,strCustFaxAreaCode,"
            "strCustPhoneExt,strCustTaxExmpt,strCustTaxExmpNmbr,strCustPmtTerms,strCustNotes) ")
            + numbers
            + QStringLiteral(
                "SELECT 'First' || i, char(65 + i % 26) || 'ast' || i, char(65 + i % 26) || 'company ' || i, "
                "i || ' Main Street', 'Springfield', 'State', '12345', 'c' || i || '@example.com', '5551234', "
                "'5554321', '225', '225', '', CASE WHEN i % 10 = 0 THEN '-1' ELSE '0' END, '', '', 'notes' FROM n;"),
        {from, to - 1});
    connection.execute(QStringLiteral("INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) ")
                           + numbers
                           + QStringLiteral("SELECT char(65 + i % 26) || ' price item ' || i, CASE WHEN i % 3 = 0 "
                                            "THEN '-1' ELSE '0' END, '0', 10.0 + i % 100, 0.25 * (i % 40) FROM n;"),
                       {from, to - 1});
    transaction.commit();
}

const QString kCustomerHead = QStringLiteral(
    "SELECT intCustomerID, strCustFirstName, strCustLastName, strCustCompany, strCustAddress, strCustCity, "
    "strCustState, strCustZipCode, strCustPhone, strCustPhoneAreaCode, strCustPhoneExt ");

// Memory, in a process of its own so that nothing freed before counts: the
// resident size before the customer screen opens and once its list has read
// every row, beside the size of those rows' text (UTF-16).
int MemoryChild()
{
    {
        // Fonts and style loaded first, as in a running program.
        QTableView warmUp;
        warmUp.show();
        warmUp.repaint();
        QApplication::processEvents();
    }
    const std::size_t before = ResidentBytes();
    auto screen = std::make_unique<TfrmCustomer>();
    screen->show();
    QApplication::processEvents();
    auto* list = screen->findChild<QTableView*>(QStringLiteral("lstvCustomers"));
    auto* model = qobject_cast<TPagedListModel*>(list->model());
    model->readAll();
    list->scrollToBottom();
    list->viewport()->repaint();
    const std::size_t after = ResidentBytes();
    std::size_t textBytes = 0;
    RawSelect(kCustomerHead + QStringLiteral("FROM tblCustomers;"), {}, &textBytes);
    const double grownMb = double(after - before) / 1048576.0;
    const double textMb = double(textBytes) / 1048576.0;
    bench::PrintLine(QStringLiteral("customers memory after reading all %1 rows (resident %2 MB, %3 MB before the screen)")
                         .arg(model->rowCount())
                         .arg(double(after) / 1048576.0, 0, 'f', 1)
                         .arg(double(before) / 1048576.0, 0, 'f', 1),
                     grownMb, "MB", "rows' text", textMb, 3);
    return 0;
}

void RunMemoryChild(const char* self)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QString::fromLocal8Bit(self), {QStringLiteral("--memory")});
    child.waitForFinished(-1);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool memoryChild = argc > 1 && qstrcmp(argv[1], "--memory") == 0;
    QTemporaryDir dataHome;
    if (!memoryChild) qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    if (memoryChild) {
        LoadCompanyData();
        return MemoryChild();
    }

    QDir().mkpath(GetDataFolder());
    QDir().mkpath(GetTempFolder());
    CreateDatabase();
    LoadCompanyData();
    FillTables(0, kFirstMemoryRows);
    RunMemoryChild(argv[0]);
    FillTables(kFirstMemoryRows, kRows);
    RunMemoryChild(argv[0]);

    // The lists keep their connection open while shown: so does the raw side.
    const bench::RawConnection connection;
    const auto raw = [&connection](const QString& sql, const QVariantList& values) {
        bench::RawSelectOn(connection.handle(), sql, values);
    };
    {
        TfrmCustomer screen;
        bench::RunListScreenFigures(QStringLiteral("customers"), kRows, screen, "cmboCustSearch", "txtCustSearch",
                                    "lstvCustomers", BuildCustomerQuery, QStringLiteral("bco"), raw);
    }
    {
        TfrmPrice screen;
        bench::RunListScreenFigures(QStringLiteral("prices"), kRows, screen, "cmbSearchPrcItm", "txtSearchPrcItm",
                                    "lstPrice", BuildPriceQuery, QStringLiteral("b p"), raw);
    }
    return 0;
}
