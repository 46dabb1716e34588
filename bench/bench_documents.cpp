// How long saving and loading a large document takes: a new invoice of 100
// lines, paid in full so that its save posts to the monthly ledger, saved the
// way the editor saves it; next to one transaction through the raw SQLite C
// API that writes the same header, lines, posting and counter. Loading that
// document next to the raw reads of its header and lines. The runs alternate
// (store, raw, store, raw, ...) so that load on the machine hits both alike.
#include "app/unitAppInfo.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitFeatureTables.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kLines = 100;
constexpr int kRuns = 15;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double TimeMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

TInvDocument MakeDocument(int number)
{
    TInvDocument document;
    TInvHeader& h = document.header;
    h.intInvNumber = number;
    h.strInvName = arrInvTypeNames[itInvoice];
    h.strCustCmpnyName = QStringLiteral("Acme Building Services");
    h.strCustFullName = QStringLiteral("Jane Smith");
    h.strCustAddress = QStringLiteral("1200 Main Street");
    h.strCustCtyStZp = QStringLiteral("Springfield, State 12345");
    h.strCustPhnFax = QStringLiteral("(225) 555-1234");
    h.strCustEmail = QStringLiteral("jane@example.com");
    h.strInvTerms = QStringLiteral("Net 30");
    h.strInvDate = DateToStr(QDate::currentDate());
    h.strUseTax1 = true;
    h.strPaidInFull = true;
    h.dbLbrTax1Total = 12.5;
    h.dbMatTax1Total = 30.25;
    h.dbLbrTotal = 5000;
    h.dbMatTotal = 2500;
    h.dbInvTotal = 7542.75;
    document.strInvNotes = QStringLiteral("Work as agreed on site.");
    for (int i = 0; i < kLines; ++i)
        document.lines.append({QStringLiteral("Line item %1 with a longer description").arg(i), QStringLiteral("2"),
                               QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("25"),
                               QStringLiteral("12.5")});
    return document;
}

sqlite3* OpenRaw()
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(GetDatabasePath().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

void BindText(sqlite3_stmt* statement, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// The same writes as the editor's save of a new paid invoice, with each
// statement prepared once.
void RawSave(const TInvDocument& document, const QDate& date)
{
    const TInvHeader& h = document.header;
    sqlite3* db = OpenRaw();
    sqlite3_exec(db, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT intReportID,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,"
                       "dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal FROM tblReport "
                       "WHERE intReportYear = ? AND intReportMonth = ?;",
                       -1, &s, nullptr);
    sqlite3_bind_int(s, 1, date.year());
    sqlite3_bind_int(s, 2, date.month());
    const double add[8] = {h.dbLbrTax1Total, h.dbLbrTax2Total, h.dbLbrTax3Total, h.dbMatTax1Total,
                           h.dbMatTax2Total, h.dbMatTax3Total, h.dbLbrTotal,     h.dbMatTotal};
    if (sqlite3_step(s) == SQLITE_ROW) {
        double values[8];
        for (int i = 0; i < 8; ++i) values[i] = sqlite3_column_double(s, 1 + i) + add[i];
        const sqlite3_int64 id = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
        sqlite3_prepare_v2(db,
                           "UPDATE tblReport SET dbLbrTax1Total = ?,dbLbrTax2Total = ?,dbLbrTax3Total = ?,"
                           "dbMatTax1Total = ?,dbMatTax2Total = ?,dbMatTax3Total = ?,dbLbrTotal = ?,dbMatTotal = ? "
                           "WHERE intReportID = ?;",
                           -1, &s, nullptr);
        for (int i = 0; i < 8; ++i) sqlite3_bind_double(s, 1 + i, values[i]);
        sqlite3_bind_int64(s, 9, id);
    } else {
        sqlite3_finalize(s);
        sqlite3_prepare_v2(db,
                           "INSERT INTO tblReport(intReportYear,intReportMonth,dbLbrTax1Total,dbLbrTax2Total,"
                           "dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal)"
                           "VALUES(?,?,?,?,?,?,?,?,?,?);",
                           -1, &s, nullptr);
        sqlite3_bind_int(s, 1, date.year());
        sqlite3_bind_int(s, 2, date.month());
        for (int i = 0; i < 8; ++i) sqlite3_bind_double(s, 3 + i, add[i]);
    }
    sqlite3_step(s);
    sqlite3_finalize(s);

    sqlite3_prepare_v2(db,
                       "INSERT INTO tblInvDataHeader(intInvNumber,strCustCmpnyName,strCustFullName,strCustAddress,"
                       "strCustCtyStZp,strCustPhnFax,strCustEmail,strCustTaxExemptNum,strCustTaxExempt,"
                       "strCustPONumber,strInvName,strInvTerms,intInvFootNotes,strUseTax1,strUseTax2,strUseTax3,"
                       "strInvNotes,strFromInvNameNumber,strFutureInfo,strPaidInFull,strRecurring,"
                       "strSavedToReport,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,"
                       "dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal,dbAmountPaid,dbDepAmount,dbInvTotal,"
                       "strInvDate)VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);",
                       -1, &s, nullptr);
    const auto flag = [](bool value) { return value ? QStringLiteral("-1") : QStringLiteral("0"); };
    int i = 1;
    sqlite3_bind_int(s, i++, h.intInvNumber);
    for (const QString& text : {h.strCustCmpnyName, h.strCustFullName, h.strCustAddress, h.strCustCtyStZp,
                                h.strCustPhnFax, h.strCustEmail, h.strCustTaxExemptNum, flag(h.strCustTaxExempt),
                                h.strCustPONumber, h.strInvName, h.strInvTerms})
        BindText(s, i++, text);
    sqlite3_bind_int(s, i++, h.intInvFootNotes);
    for (const QString& text : {flag(h.strUseTax1), flag(h.strUseTax2), flag(h.strUseTax3), document.strInvNotes,
                                h.strFromInvNameNumber, h.strFutureInfo, flag(h.strPaidInFull), flag(h.strRecurring),
                                flag(true)})
        BindText(s, i++, text);
    for (double value : {h.dbLbrTax1Total, h.dbLbrTax2Total, h.dbLbrTax3Total, h.dbMatTax1Total, h.dbMatTax2Total,
                         h.dbMatTax3Total, h.dbLbrTotal, h.dbMatTotal, h.dbAmountPaid, h.dbDepAmount, h.dbInvTotal})
        sqlite3_bind_double(s, i++, value);
    BindText(s, i++, h.strInvDate);
    sqlite3_step(s);
    sqlite3_finalize(s);

    sqlite3_prepare_v2(db,
                       "INSERT INTO tblInvData(intInvNumber,strPrcItemName,strPrcItmQuantity,strLabTax,strMatTax,"
                       "dbLbrPrc,dbMatPrc)VALUES(?,?,?,?,?,?,?);",
                       -1, &s, nullptr);
    for (const TInvLine& line : document.lines) {
        sqlite3_bind_int(s, 1, h.intInvNumber);
        BindText(s, 2, line.strPrcItemName);
        BindText(s, 3, line.strPrcItmQuantity);
        BindText(s, 4, line.strLabTax);
        BindText(s, 5, line.strMatTax);
        sqlite3_bind_double(s, 6, line.strLbrPrc.toDouble());
        sqlite3_bind_double(s, 7, line.strMatPrc.toDouble());
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);

    sqlite3_prepare_v2(db, "SELECT intInvNumber FROM tblCompanyInvData WHERE intCompInvDataID = 1;", -1, &s, nullptr);
    sqlite3_step(s);
    const int next = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
    sqlite3_prepare_v2(db, "UPDATE tblCompanyInvData SET intInvNumber = ? WHERE intCompInvDataID = 1;", -1, &s,
                       nullptr);
    sqlite3_bind_int(s, 1, next + 1);
    sqlite3_step(s);
    sqlite3_finalize(s);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The header and the lines read back, every column as UTF-16 text as the
// store reads its texts.
int RawLoad(int number)
{
    sqlite3* db = OpenRaw();
    sqlite3_stmt* s = nullptr;
    std::size_t bytes = 0;
    sqlite3_prepare_v2(db,
                       "SELECT intInvNumber,strCustCmpnyName,strCustFullName,strCustAddress,strCustCtyStZp,"
                       "strCustPhnFax,strCustEmail,strCustTaxExemptNum,strCustTaxExempt,strCustPONumber,strInvName,"
                       "strInvTerms,intInvFootNotes,strUseTax1,strUseTax2,strUseTax3,strInvNotes,strPaidInFull,"
                       "dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,"
                       "dbLbrTotal,dbMatTotal,dbAmountPaid,dbDepAmount,dbInvTotal,strInvDate,strSavedToReport,"
                       "strRecurring,strFromInvNameNumber,strFutureInfo FROM tblInvDataHeader WHERE intInvNumber = ?;",
                       -1, &s, nullptr);
    sqlite3_bind_int(s, 1, number);
    if (sqlite3_step(s) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
            sqlite3_column_text16(s, c);
            bytes += std::size_t(sqlite3_column_bytes16(s, c));
        }
    sqlite3_finalize(s);
    sqlite3_prepare_v2(db,
                       "SELECT strPrcItemName,strPrcItmQuantity,strLabTax,strMatTax,dbLbrPrc,dbMatPrc "
                       "FROM tblInvData WHERE intInvNumber = ?;",
                       -1, &s, nullptr);
    sqlite3_bind_int(s, 1, number);
    int rows = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < 6; ++c) {
            sqlite3_column_text16(s, c);
            bytes += std::size_t(sqlite3_column_bytes16(s, c));
        }
        ++rows;
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return bytes > 0 ? rows : 0;
}

void EndNotice()
{
    while (TfrmSaving* notice = CurrentSavingNotice()) notice->tick();
    QCoreApplication::processEvents();
}

void Report(const char* what, double storeMs, double rawMs, double target)
{
    const double ratio = rawMs > 0 ? storeMs / rawMs : 0.0;
    std::printf("documents %s: %.2f ms (raw %.2f ms, ratio %.2f, target <= %.1f%s)\n", what, storeMs, rawMs, ratio,
                target, ratio <= target ? "" : ", MISSED");
    std::fflush(stdout);
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
    CreateMissingFileFeatureTables();
    LoadCompanyData();
    SetSavingNoticeTickMs(1);

    const QDate today = QDate::currentDate();
    std::vector<double> save, saveQuiet, rawSave, load, rawLoad;
    std::vector<int> numbers;
    // One untimed round first, so that the file, the caches and the ledger row exist for every timed run.
    for (int run = -1; run < kRuns; ++run) {
        int number = GetNextInvNumber();
        const double withNotice = TimeMs([&] { SaveDocumentWithLedger(MakeDocument(number), NewSavedData(), false); });
        EndNotice();
        numbers.push_back(number);

        number = GetNextInvNumber();
        const double raw = TimeMs([&] { RawSave(MakeDocument(number), today); });
        numbers.push_back(number);

        // The store's part of the same save, without the notice window.
        number = GetNextInvNumber();
        const double quiet = TimeMs([&] {
            TInvDocument document = MakeDocument(number);
            document.header.strSavedToReport = true;
            DbConnection connection;
            DbTransaction transaction(connection);
            PostToMonthlyLedger(connection, LedgerAmountsOf(document.header), today);
            SaveDocument(connection, document, false, false);
            transaction.commit();
        });
        numbers.push_back(number);

        const int loadNumber = numbers[std::size_t(run + 1) * 3];
        const double loaded = TimeMs([&] {
            if (LoadDocument(loadNumber).document.lines.size() != kLines) qFatal("the document lost lines");
        });
        const double rawLoaded = TimeMs([&] {
            if (RawLoad(loadNumber) != kLines) qFatal("the raw read lost lines");
        });
        if (run < 0) continue;
        save.push_back(withNotice);
        rawSave.push_back(raw);
        saveQuiet.push_back(quiet);
        load.push_back(loaded);
        rawLoad.push_back(rawLoaded);
    }
    Report("save 100 lines with ledger posting, saving notice shown", Median(save), Median(rawSave), 1.5);
    Report("save 100 lines with ledger posting, store only", Median(saveQuiet), Median(rawSave), 1.5);
    Report("load 100 lines", Median(load), Median(rawLoad), 1.5);
    return 0;
}
