// How fast the customer list and the price sheet fill at 100,000 rows: the
// "All ..." list and one search-as-you-type refresh (a one-letter prefix),
// each next to the same SELECT stepped through the raw SQLite C API.
#include "app/unitAppInfo.h"
#include "company/unitCompanyData.h"
#include "customers/unitfrmCustomer.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "prices/unitfrmPrice.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;

// The median of several runs of work; prepare runs before each, untimed.
double MedianMs(const std::function<void()>& work, const std::function<void()>& prepare = {})
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        if (prepare) prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Steps the statement through the engine alone, reading every column as text
// (the list reads them as UTF-16 text too); returns the row count.
int RawSelect(const QString& sql, const QString& pattern = QString())
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(GetDatabasePath().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &statement, nullptr);
    const QByteArray patternUtf8 = pattern.toUtf8();
    if (!pattern.isEmpty())
        sqlite3_bind_text(statement, 1, patternUtf8.constData(), int(patternUtf8.size()), SQLITE_TRANSIENT);
    int rows = 0;
    std::size_t bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(statement);
        for (int column = 0; column < columns; ++column) {
            sqlite3_column_text16(statement, column);
            bytes += std::size_t(sqlite3_column_bytes16(statement, column));
        }
        ++rows;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return bytes > 0 ? rows : 0;
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

void Report(const QString& what, double listMs, double rawMs)
{
    std::printf("%s: %.0f ms (raw SELECT %.0f ms, ratio %.1f)\n", qPrintable(what), listMs, rawMs,
                rawMs > 0 ? listMs / rawMs : 0.0);
    std::fflush(stdout);
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
    Report(QStringLiteral("%1 all %2").arg(QLatin1String(name)).arg(allRows), allMs, rawAllMs);

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
    const double rawSearchMs = MedianMs([&] { RawSelect(searchSql, QStringLiteral("B%")); });
    Report(QStringLiteral("%1 search 'b' in %2: %3 rows").arg(QLatin1String(name)).arg(kRows).arg(searchRows),
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
        TfrmCustomer screen;
        BenchScreen("customers", screen, "cmboCustSearch", "txtCustSearch", "lstvCustomers", 1,
                    customerHead + QStringLiteral("FROM tblCustomers;"),
                    customerHead + QStringLiteral("FROM tblCustomers WHERE UPPER(strCustCompany) LIKE ?;"));
    }
    const QString priceHead =
        QStringLiteral("SELECT intPrcItemNumID, strPrcItemName, strLabTax, strMatTax, dbLbrPrc, dbMatPrc ");
    {
        TfrmPrice screen;
        BenchScreen("prices", screen, "cmbSearchPrcItm", "txtSearchPrcItm", "lstPrice", 1,
                    priceHead + QStringLiteral("FROM tblPrices;"),
                    priceHead + QStringLiteral("FROM tblPrices WHERE UPPER(strPrcItemName) LIKE ?;"));
    }
    return 0;
}
