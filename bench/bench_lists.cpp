// How fast the customer list and the price sheet fill at 100,000 rows: the
// "All ..." list and one search-as-you-type refresh (a one-letter prefix),
// each next to the same SELECT stepped through the raw SQLite C API.
#include "BenchSupport.h"

#include "app/unitAppInfo.h"
#include "company/unitCompanyData.h"
#include "customers/unitfrmCustomer.h"
#include "db/DbConnection.h"
#include "db/unitListQuery.h"
#include "db/unitCreateDatabase.h"
#include "prices/unitfrmPrice.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using bench::MedianMs;
using bench::RawSelect;

constexpr int kRows = 100000;
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

void FillTables()
{
    DbConnection connection;
    DbTransaction transaction(connection);
    DbStatement customer = connection.prepare(QStringLiteral(
        "INSERT INTO tblCustomers(strCustFirstName,strCustLastName,strCustCompany,strCustAddress,strCustCity,"
        "strCustState,strCustZipCode,strCustEmail,strCustPhone,strCustFax,strCustPhoneAreaCode,strCustFaxAreaCode,"
        "strCustPhoneExt,strCustTaxExmpt,strCustTaxExmpNmbr,strCustPmtTerms,strCustNotes) "
        "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    DbStatement price = connection.prepare(QStringLiteral(
        "INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) VALUES(?,?,?,?,?)"));
    for (int i = 0; i < kRows; ++i) {
        // The first letter cycles through A-Z, so a one-letter prefix matches about 1 row in 26.
        const QString letter(QChar('A' + i % 26));
        const QString n = QString::number(i);
        customer.bindAll({QStringLiteral("First") + n, letter + QStringLiteral("ast") + n,
                          letter + QStringLiteral("company ") + n, n + QStringLiteral(" Main Street"),
                          QStringLiteral("Springfield"), QStringLiteral("State"), QStringLiteral("12345"),
                          QStringLiteral("c%1@example.com").arg(i), QStringLiteral("5551234"),
                          QStringLiteral("5554321"), QStringLiteral("225"), QStringLiteral("225"), QString(),
                          i % 10 == 0 ? QStringLiteral("-1") : QStringLiteral("0"), QString(), QString(),
                          QStringLiteral("notes")});
        customer.step();
        customer.reset();
        price.bindAll({letter + QStringLiteral(" price item ") + n, i % 3 == 0 ? QStringLiteral("-1") : QStringLiteral("0"),
                       QStringLiteral("0"), 10.0 + i % 100, 0.25 * (i % 40)});
        price.step();
        price.reset();
    }
    transaction.commit();
}

template <typename Screen>
void BenchScreen(const char* name, Screen& screen, const char* comboName, const char* searchName,
                 const char* listName, int nameSearchType, const QString& allSql, const QString& searchSql)
{
    screen.show();
    QApplication::processEvents();
    auto* combo = screen.template findChild<QComboBox*>(QLatin1String(comboName));
    auto* search = screen.template findChild<QLineEdit*>(QLatin1String(searchName));
    auto* list = screen.template findChild<QTableView*>(QLatin1String(listName));

    // "All": switch away first (untimed), then time choosing "All ..." with the repaint.
    const double allMs = MedianMs(
        [&] {
            combo->setCurrentIndex(0);
            list->viewport()->repaint();
        },
        [&] { combo->setCurrentIndex(nameSearchType); });
    const int allRows = list->model()->rowCount();
    const double rawAllMs = MedianMs([&] { RawSelect(allSql); });
    bench::PrintRatio(QStringLiteral("%1 all %2").arg(QLatin1String(name)).arg(allRows), allMs, rawAllMs);

    // One key typed into the search box refreshes the list.
    combo->setCurrentIndex(nameSearchType);
    const double searchMs = MedianMs(
        [&] {
            search->insert(QStringLiteral("b"));   // as one typed key
            list->viewport()->repaint();
        },
        [&] {
            QSignalBlocker blocker(search);
            search->clear();
        });
    const int searchRows = list->model()->rowCount();
    const double rawSearchMs = MedianMs([&] { RawSelect(searchSql, {QStringLiteral("b")}); });
    bench::PrintRatio(QStringLiteral("%1 search 'b' in %2: %3 rows").arg(QLatin1String(name)).arg(kRows).arg(searchRows),
           searchMs, rawSearchMs);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    QDir().mkpath(GetDataFolder());
    QDir().mkpath(GetTempFolder());
    CreateDatabase();
    LoadCompanyData();
    FillTables();

    const QString customerHead = QStringLiteral(
        "SELECT intCustomerID, strCustFirstName, strCustLastName, strCustCompany, strCustAddress, strCustCity, "
        "strCustState, strCustZipCode, strCustPhone, strCustPhoneAreaCode, strCustPhoneExt ");
    {
        // Memory: the resident size before the customer screen opens and with
        // all rows in its list, beside the size of those rows' text (UTF-16).
        std::size_t textBytes = 0;
        const QString allCustomers = customerHead + QStringLiteral("FROM tblCustomers;");
        RawSelect(allCustomers, {}, &textBytes);
        const std::size_t before = ResidentBytes();
        auto screen = std::make_unique<TfrmCustomer>();
        screen->show();
        QApplication::processEvents();
        auto* list = screen->findChild<QTableView*>(QStringLiteral("lstvCustomers"));
        list->viewport()->repaint();
        const std::size_t after = ResidentBytes();
        const double grownMb = double(after - before) / 1048576.0;
        const double textMb = double(textBytes) / 1048576.0;
        const double ratio = textMb > 0 ? grownMb / textMb : 0.0;
        std::printf("customers memory with %d rows shown: resident %.1f MB (%.1f MB before the screen, grew %.1f MB); "
                    "rows' text %.1f MB; ratio %.2f (target <= 3%s)\n",
                    list->model()->rowCount(), double(after) / 1048576.0, double(before) / 1048576.0, grownMb,
                    textMb, ratio, ratio <= 3 ? "" : ", MISSED");
        std::fflush(stdout);
    }
    {
        TfrmCustomer screen;
        BenchScreen("customers", screen, "cmboCustSearch", "txtCustSearch", "lstvCustomers", 1,
                    customerHead + QStringLiteral("FROM tblCustomers;"),
                    customerHead + QStringLiteral("FROM tblCustomers WHERE ") + TextPrefixCondition(QStringLiteral("strCustCompany")) + QLatin1Char(';'));
    }
    const QString priceHead =
        QStringLiteral("SELECT intPrcItemNumID, strPrcItemName, strLabTax, strMatTax, dbLbrPrc, dbMatPrc ");
    {
        TfrmPrice screen;
        BenchScreen("prices", screen, "cmbSearchPrcItm", "txtSearchPrcItm", "lstPrice", 1,
                    priceHead + QStringLiteral("FROM tblPrices;"),
                    priceHead + QStringLiteral("FROM tblPrices WHERE ") + TextPrefixCondition(QStringLiteral("strPrcItemName")) + QLatin1Char(';'));
    }
    return 0;
}
