// The reports screen: which months and columns each report shows, the rows it
// reads from the monthly ledger, its print commands, the printed report, the
// CSV export read back by a standard CSV reader, and the chart of the rows.
#include "common/TestDatabase.h"
#include "common/TestServer.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitAppInfo.h"
#include "app/unitModalRunner.h"
#include "app/unitRegional.h"
#include "company/unitCompanyData.h"
#include "documents/unitDocumentModel.h"
#include "db/DbConnection.h"
#include "maintenance/unitReportExport.h"
#include "maintenance/unitReportRules.h"
#include "maintenance/unitfrmReport.h"
#include "printing/unitModPrintData.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStackedBarSeries>
#include <QToolButton>
#include <QTreeView>

namespace {

void insertLedgerRow(int year, int month, const TLedgerAmounts& a)
{
    DbConnection connection;
    connection.execute(QStringLiteral("INSERT INTO tblReport(intReportYear,intReportMonth,dbLbrTax1Total,dbLbrTax2Total,"
                                      "dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,"
                                      "dbMatTotal)VALUES(?,?,?,?,?,?,?,?,?,?);"),
                       {year, month, a.dbLbrTax1Total, a.dbLbrTax2Total, a.dbLbrTax3Total, a.dbMatTax1Total,
                        a.dbMatTax2Total, a.dbMatTax3Total, a.dbLbrTotal, a.dbMatTotal});
}

// Removes a year's ledger rows when it goes, so the months a test adds leave
// the shared fixture as it was.
auto RemoveLedgerYearAtEnd(int year)
{
    return qScopeGuard([year] {
        DbConnection connection;
        connection.execute(QStringLiteral("DELETE FROM tblReport WHERE intReportYear = ?;"), {year});
    });
}

// Every month of 2008 to 2011 but June 2009, stored newest first so that the
// table's order is not the report's. Labour of month m of year y is
// 100 m + 1000 (y - 2009); its taxes are 1 %, 2 % and 3 % of it.
TLedgerAmounts amountsOf(int year, int month)
{
    const double labour = 100.0 * month + 1000.0 * (year - 2009);
    const double material = 10.0 * month;
    return {labour * 0.01, labour * 0.02, labour * 0.03, material * 0.01,
            material * 0.02, material * 0.03, labour, material};
}

void insertLedgerFixture()
{
    for (int year = 2011; year >= 2008; --year)
        for (int month = 12; month >= 1; --month)
            if (!(year == 2009 && month == 6)) insertLedgerRow(year, month, amountsOf(year, month));
}

QStringList captionsOf(const std::vector<TReportRow>& rows)
{
    QStringList captions;
    for (const TReportRow& row : rows) captions << row.cells[0];
    return captions;
}

template <typename T>
T* child(QWidget& parent, const char* name)
{
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    if (!widget) qFatal("no widget %s", name);
    return widget;
}

// The screen set to a range, with the view run.
void viewReport(TfrmReport& screen, int type, bool itemized, int startMonth, int startYear, const QString& endMonth,
                int endYear)
{
    child<QComboBox>(screen, "cmbReportType")->setCurrentIndex(type);
    child<QRadioButton>(screen, itemized ? "rbtnItemized" : "rbtnSummery")->setChecked(true);
    child<QComboBox>(screen, "cmbReportStart")->setCurrentIndex(startMonth - 1);
    child<QSpinBox>(screen, "SpinEditReportStart")->setValue(startYear);
    child<QSpinBox>(screen, "SpinEditReportEnd")->setValue(endYear);
    child<QComboBox>(screen, "cmbReportEnd")->setCurrentText(endMonth);
    child<QPushButton>(screen, "btnVeiwReport")->click();
}

// The printed lines of a page, top to bottom, each word joined by one blank.
QStringList printedLines(const PdfPageWords& page)
{
    QList<PdfWord> words = page;
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
        return std::abs(a.yMin - b.yMin) > 0.5 ? a.yMin < b.yMin : a.xMin < b.xMin;
    });
    QStringList lines;
    double lineTop = -100;
    for (const PdfWord& word : words) {
        if (std::abs(word.yMin - lineTop) > 0.5) {
            lines << word.text;
            lineTop = word.yMin;
        } else {
            lines.last() += QLatin1Char(' ') + word.text;
        }
    }
    return lines;
}

// A row as the printout shows it: its non-empty cells of columns 0 to 6.
QString rowLine(const TReportRow& row)
{
    QStringList cells;
    for (int column = 0; column < kReportSortKeyColumn; ++column)
        if (!row.cells[std::size_t(column)].isEmpty()) cells << row.cells[std::size_t(column)];
    return cells.join(QLatin1Char(' '));
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CreateTestDatabase();
        insertLedgerFixture();
    }
    void init()
    {
        recCmpnyInvData.strTaxName1 = QStringLiteral("State");
        recCmpnyInvData.strTaxName2.clear();
        recCmpnyInvData.strTaxName3 = QStringLiteral("City");
    }
    void cleanup() { modPrintData.SetPrinterOutputFile(QString()); }

    void endMonthsFollowTheYears()
    {
        QCOMPARE(ReportEndMonths(3, 2009, 2009), (QStringList{"March", "April", "May", "June", "July", "August",
                                                             "September", "October", "November", "December"}));
        QCOMPARE(ReportEndMonths(12, 2009, 2009), QStringList{"December"});
        QCOMPARE(ReportEndMonths(3, 2009, 2010).size(), 12);
        QCOMPARE(ReportEndMonths(3, 2009, 2010).first(), QStringLiteral("January"));
        QCOMPARE(ReportMonthNumber(QStringLiteral("February")), 2);
        QCOMPARE(ReportMonthNumber(QStringLiteral("Febuary")), 0);
    }

    void columnLayouts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("itemized");
        QTest::addColumn<QStringList>("captions");
        const QString none;
        QTest::newRow("sales itemized") << 0 << true << QStringList{"Date", "Type", none, none, none, none, "Sales Total"};
        QTest::newRow("sales summary") << 0 << false << QStringList{"Date", none, none, none, none, none, "Sales Total"};
        // An empty tax name shows as "Tax 2".
        QTest::newRow("tax itemized") << 1 << true << QStringList{"Date", "Type", "State", "Tax 2", "City", none, "Tax Total"};
        QTest::newRow("tax summary") << 1 << false << QStringList{"Date", none, none, none, none, none, "Tax Total"};
        QTest::newRow("both itemized") << 2 << true
                                       << QStringList{"Date", "Type", "State", "Tax 2", "City", "Tax Total", "Sales Total"};
        QTest::newRow("both summary") << 2 << false << QStringList{"Date", none, none, none, none, "Tax Total", "Sales Total"};
    }
    void columnLayouts()
    {
        QFETCH(int, type);
        QFETCH(bool, itemized);
        QFETCH(QStringList, captions);
        const auto actual = ReportColumnCaptions(TReportType(type), itemized,
                                                 {QStringLiteral("State"), QString(), QStringLiteral("City")});
        QCOMPARE(QStringList(actual.begin(), actual.begin() + 7), captions);
        QVERIFY(actual[7].isEmpty());

        // The screen shows exactly these columns under these captions.
        TfrmReport screen;
        screen.show();
        viewReport(screen, type, itemized, 1, 2009, QStringLiteral("January"), 2009);
        auto* list = child<QTreeView>(screen, "ListViewReport");
        for (int column = 0; column < 8; ++column) {
            const QString caption = column < 7 ? captions[column] : QString();
            QCOMPARE(list->isColumnHidden(column), caption.isEmpty());
            if (!caption.isEmpty()) QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(), caption);
        }
    }

    // March 2009 to February 2010: those months only, in month order, though
    // the ledger holds them newest first; June 2009 has no row and no line.
    void rangeAcrossYearsInMonthOrder()
    {
        const std::vector<TReportRow> rows = QueryReportRows(rtSales, false, 3, 2009, 2, 2010);
        QCOMPARE(captionsOf(rows), (QStringList{"March 2009", "April 2009", "May 2009", "July 2009", "August 2009",
                                                "September 2009", "October 2009", "November 2009", "December 2009",
                                                "January 2010", "February 2010"}));
        QCOMPARE(rows.front().cells[6], QStringLiteral("$330.00"));   // 300 labour + 30 material
        QCOMPARE(rows.back().cells[6], QStringLiteral("$1,220.00"));  // 1200 + 20
        QCOMPARE(rows.front().cells[7], QStringLiteral("3/1/2009"));
    }

    // Itemized: labour then material per month, the material row without a date.
    void itemizedRowsPerReport()
    {
        const std::vector<TReportRow> tax = QueryReportRows(rtTax, true, 3, 2009, 4, 2009);
        QCOMPARE(int(tax.size()), 4);
        const QList<QStringList> expected = {
            {"March 2009", "Labor", "$3.00", "$6.00", "$9.00", "", "$18.00", "3/1/2009"},
            {"", "Material", "$0.30", "$0.60", "$0.90", "", "$1.80", "3/1/2009"},
            {"April 2009", "Labor", "$4.00", "$8.00", "$12.00", "", "$24.00", "4/1/2009"},
            {"", "Material", "$0.40", "$0.80", "$1.20", "", "$2.40", "4/1/2009"},
        };
        for (int row = 0; row < 4; ++row)
            QCOMPARE(QStringList(tax[std::size_t(row)].cells.begin(), tax[std::size_t(row)].cells.end()), expected[row]);

        const std::vector<TReportRow> both = QueryReportRows(rtSalesAndTax, false, 3, 2009, 3, 2009);
        QCOMPARE(QStringList(both[0].cells.begin(), both[0].cells.end()),
                 (QStringList{"March 2009", "", "", "", "", "$19.80", "$330.00", "3/1/2009"}));
        const std::vector<TReportRow> sales = QueryReportRows(rtSales, true, 3, 2009, 3, 2009);
        QCOMPARE(sales[1].cells[1], QStringLiteral("Material"));
        QCOMPARE(sales[1].cells[6], QStringLiteral("$30.00"));
        QVERIFY(sales[1].cells[2].isEmpty());
    }

    // A month with a row of zeros shows zeros; negative sums the negative form.
    void zeroAndNegativeMonths()
    {
        std::vector<TReportLedgerRow> ledger = {
            {1995, 5, {-1.25, 0, 0, 0, 0, 0, -12.5, 0}},
            {1995, 3, {}},
        };
        const std::vector<TReportRow> rows =
            BuildReportRows(ledger, rtSalesAndTax, true, QDate(1995, 1, 1), QDate(1995, 12, 1));
        QCOMPARE(captionsOf(rows), (QStringList{"March 1995", "", "May 1995", ""}));
        QCOMPARE(rows[0].cells[6], QStringLiteral("$0.00"));
        QCOMPARE(rows[1].cells[5], QStringLiteral("$0.00"));
        QCOMPARE(rows[2].cells[2], QStringLiteral("-$1.25"));
        QCOMPARE(rows[2].cells[6], QStringLiteral("-$12.50"));
        QCOMPARE(ReportAmountNumber(rows[2], 6), QStringLiteral("-12.50"));
        QCOMPARE(ReportAmountNumber(rows[2], 1), QString());
    }

    // The years are bound: a ledger row of a year outside the range is never read.
    void ledgerReadBindsTheYears()
    {
        const std::vector<TReportLedgerRow> rows = ReadReportLedgerRows(2010, 2010);
        QCOMPARE(int(rows.size()), 12);
        for (const TReportLedgerRow& row : rows) QCOMPARE(row.year, 2010);
        QVERIFY(ReadReportLedgerRows(1980, 1990).empty());
    }

    void opensWithTodayAndNoResults()
    {
        TfrmReport screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        const QDate today = QDate::currentDate();
        QCOMPARE(screen.windowTitle(), QStringLiteral("Reports"));
        QCOMPARE(child<QComboBox>(screen, "cmbReportType")->currentText(), QStringLiteral("Sales Report"));
        QVERIFY(child<QRadioButton>(screen, "rbtnItemized")->isChecked());
        QCOMPARE(child<QComboBox>(screen, "cmbReportStart")->currentIndex(), today.month() - 1);
        QCOMPARE(child<QSpinBox>(screen, "SpinEditReportStart")->value(), today.year());
        QCOMPARE(child<QSpinBox>(screen, "SpinEditReportEnd")->value(), today.year());
        QCOMPARE(child<QSpinBox>(screen, "SpinEditReportEnd")->minimum(), today.year());
        auto* end = child<QComboBox>(screen, "cmbReportEnd");
        QCOMPARE(end->count(), 13 - today.month());
        QCOMPARE(end->currentIndex(), 0);
        QCOMPARE(child<QPushButton>(screen, "btnVeiwReport")->toolTip(), QStringLiteral("View selected report"));
        QCOMPARE(child<QToolButton>(screen, "tlbtnPrint")->toolTip(), QStringLiteral("Print Report"));
        for (const char* name : {"tlbtnPrint", "tlbtnPrintPreview", "tlbtnExportCsv"})
            QVERIFY2(!child<QToolButton>(screen, name)->isVisible(), name);
        QCOMPARE(child<QTreeView>(screen, "ListViewReport")->model()->rowCount(), 0);
    }

    // The end month list follows the start; changing the start year moves
    // the end year with it.
    void endListOnTheScreen()
    {
        TfrmReport screen;
        screen.show();
        auto* end = child<QComboBox>(screen, "cmbReportEnd");
        auto* endYear = child<QSpinBox>(screen, "SpinEditReportEnd");
        child<QSpinBox>(screen, "SpinEditReportStart")->setValue(2009);
        child<QComboBox>(screen, "cmbReportStart")->setCurrentIndex(9);   // October
        QCOMPARE(end->count(), 3);
        QCOMPARE(end->itemText(0), QStringLiteral("October"));
        endYear->setValue(2011);
        QCOMPARE(end->count(), 12);
        QCOMPARE(end->currentText(), QStringLiteral("January"));
        child<QSpinBox>(screen, "SpinEditReportStart")->setValue(2010);
        QCOMPARE(endYear->value(), 2010);
        QCOMPARE(endYear->minimum(), 2010);
        QCOMPARE(end->count(), 3);
    }

    // Month names on the list and in the month boxes follow the regional settings.
    void monthNamesFollowTheLocale()
    {
        ScopedLocale german("de_DE");
        QCOMPARE(captionsOf(QueryReportRows(rtSales, false, 3, 2009, 4, 2009)),
                 (QStringList{QStringLiteral("März 2009"), QStringLiteral("April 2009")}));
        TfrmReport screen;
        screen.show();
        child<QSpinBox>(screen, "SpinEditReportStart")->setValue(2009);
        child<QComboBox>(screen, "cmbReportStart")->setCurrentIndex(9);
        QCOMPARE(child<QComboBox>(screen, "cmbReportStart")->currentText(), QStringLiteral("Oktober"));
        QCOMPARE(child<QComboBox>(screen, "cmbReportEnd")->itemText(2), QStringLiteral("Dezember"));

        // The chart and the CSV take the amounts as numbers, not as German money texts.
        const std::vector<TReportRow> rows = QueryReportRows(rtSales, false, 3, 2009, 3, 2009);
        QVERIFY2(rows.front().cells[6].startsWith(QStringLiteral("330,00")), qPrintable(rows.front().cells[6]));
        QCOMPARE(ReportAmountNumber(rows.front(), 6), QStringLiteral("330.00"));
        const TReportChartData chart = BuildReportChartData(rows, rtSales, false, {});
        QCOMPARE(chart.sets.front().values, (QList<double>{330.0}));
    }

    // Print, Print Preview and the export show with a view that has rows and
    // hide again on any change of the parameters.
    void printCommandsFollowTheResults()
    {
        TfrmReport screen;
        screen.show();
        auto* print = child<QToolButton>(screen, "tlbtnPrint");
        auto* preview = child<QToolButton>(screen, "tlbtnPrintPreview");
        auto* list = child<QTreeView>(screen, "ListViewReport");
        const std::function<void()> changes[] = {
            [&] { child<QComboBox>(screen, "cmbReportType")->setCurrentIndex(1); },
            [&] { child<QRadioButton>(screen, "rbtnSummery")->setChecked(true); },
            [&] { child<QComboBox>(screen, "cmbReportStart")->setCurrentIndex(4); },
            [&] { child<QSpinBox>(screen, "SpinEditReportStart")->setValue(2008); },
            [&] { child<QComboBox>(screen, "cmbReportEnd")->setCurrentIndex(2); },
            [&] { child<QSpinBox>(screen, "SpinEditReportEnd")->setValue(2011); },
        };
        int index = 0;
        for (const auto& change : changes) {
            viewReport(screen, 0, true, 3, 2009, QStringLiteral("February"), 2010);
            QVERIFY(list->model()->rowCount() > 0);
            QVERIFY(print->isVisible() && preview->isVisible());
            change();
            QVERIFY2(!print->isVisible() && !preview->isVisible(), qPrintable(QString::number(index)));
            QCOMPARE(list->model()->rowCount(), 0);
            QVERIFY(screen.chartData().categories.isEmpty());
            ++index;
        }
        // A range without ledger rows: an empty list and nothing to print.
        viewReport(screen, 0, true, 1, 1985, QStringLiteral("December"), 1986);
        QCOMPARE(list->model()->rowCount(), 0);
        QVERIFY(!print->isVisible() && !preview->isVisible());
        QVERIFY(!child<QToolButton>(screen, "tlbtnExportCsv")->isVisible());
    }

    // The printed report, read back from its PDF, holds the list's rows in
    // the list's order under the list's headings.
    void printedReportMatchesTheList()
    {
        TfrmReport screen;
        screen.show();
        viewReport(screen, 2, true, 3, 2009, QStringLiteral("February"), 2010);
        const QString pdf = QDir(GetTempFolder()).filePath(QStringLiteral("report.pdf"));
        modPrintData.SetPrinterOutputFile(pdf);
        child<QToolButton>(screen, "tlbtnPrint")->click();
        const QList<PdfPageWords> pages = ReadPdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        const QStringList lines = printedLines(pages[0]);
        QVERIFY2(lines.contains(QStringLiteral("Sales and Tax Report")), qPrintable(lines.join('\n')));
        QVERIFY2(lines.contains(QStringLiteral("Date Type State Tax 2 City Tax Total Sales Total")),
                 qPrintable(lines.join('\n')));
        QStringList expected;
        for (const TReportRow& row : screen.shownRows()) expected << rowLine(row);
        QCOMPARE(int(expected.size()), 22);
        const int first = int(lines.indexOf(expected.first()));
        QVERIFY2(first >= 0, qPrintable(lines.join('\n')));
        QCOMPARE(lines.mid(first, expected.size()), expected);
        QVERIFY(lines.mid(first, expected.size()).contains(QStringLiteral("Material $1.20 $2.40 $3.60 $7.20 $120.00")));
    }

    // The largest amounts money text shows: the view and its chart show them
    // (the chart's axis rounds out beyond what money text holds), and they fit
    // their columns on the printed report as on the documents: no amount runs
    // into its neighbour, and every printed digit is one of the amount's.
    void largeAmountsFitTheirPrintedColumns()
    {
        const double tax = -307445734561825.0;   // three of them still show
        insertLedgerRow(2015, 6, {tax, tax, tax, tax, tax, tax, -922337203685477.0, 922337203685477.0});
        const auto removeRows = RemoveLedgerYearAtEnd(2015);
        ScriptedMessages messages;
        TfrmReport screen;
        screen.show();
        viewReport(screen, 2, true, 6, 2015, QStringLiteral("June"), 2015);
        QVERIFY2(messages.texts().isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(screen.shownRows()[0].cells[6], QStringLiteral("-$922,337,203,685,477.00"));
        const QString pdf = QDir(GetTempFolder()).filePath(QStringLiteral("large.pdf"));
        modPrintData.SetPrinterOutputFile(pdf);
        child<QToolButton>(screen, "tlbtnPrint")->click();
        QVERIFY2(messages.texts().isEmpty(), qPrintable(messages.texts().join('|')));
        const QList<PdfPageWords> pages = ReadPdfWords(pdf);
        QCOMPARE(pages.size(), 1);
        const QStringList faults = LayoutFaults(pages);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        // A cut amount ends in "…"; what is printed of it is the shown text's start.
        QStringList shown;
        for (const TReportRow& row : screen.shownRows())
            for (int column = 2; column < 7; ++column) shown << row.cells[std::size_t(column)];
        int amounts = 0;
        for (const PdfWord& word : pages[0]) {
            if (!word.text.contains(QLatin1Char('$'))) continue;
            ++amounts;
            QString text = word.text;
            text.remove(QChar(0x2026));
            QVERIFY2(std::any_of(shown.begin(), shown.end(), [&](const QString& cell) { return cell.startsWith(text); }),
                     qPrintable(word.text));
        }
        QCOMPARE(amounts, 10);
    }

    void csvQuotingRules()
    {
        QCOMPARE(CsvField(QStringLiteral("plain")), QStringLiteral("plain"));
        QCOMPARE(CsvField(QStringLiteral("a,b")), QStringLiteral("\"a,b\""));
        QCOMPARE(CsvField(QStringLiteral("say \"hi\"")), QStringLiteral("\"say \"\"hi\"\"\""));
        QCOMPARE(CsvField(QStringLiteral("two\r\nlines")), QStringLiteral("\"two\r\nlines\""));
        QCOMPARE(CsvField(QString()), QString());
        QCOMPARE(CsvRecord({QStringLiteral("a"), QString(), QStringLiteral("c,d")}), QStringLiteral("a,,\"c,d\"\r\n"));
    }

    // "Export CSV…" writes the rows shown under the visible headings; Python's
    // csv module reads back the same rows, amounts as plain numbers.
    void exportedCsvReadsBack()
    {
        recCmpnyInvData.strTaxName1 = QStringLiteral("State \"Sales\", Tax");
        recCmpnyInvData.strTaxName3 = QString::fromUtf8("Gemeinde Steuer Ä");
        TfrmReport screen;
        screen.show();
        viewReport(screen, 2, true, 3, 2009, QStringLiteral("February"), 2010);
        auto* export_ = child<QToolButton>(screen, "tlbtnExportCsv");
        QVERIFY(export_->isVisible());

        const QString path = QDir(GetTempFolder()).filePath(QStringLiteral("report.csv"));
        {
            ScopedModalRunner runner([&](QDialog& dialog) -> int {
                auto* files = qobject_cast<QFileDialog*>(&dialog);
                if (!files) return QDialog::Rejected;
                files->selectFile(path);
                return QDialog::Accepted;
            });
            export_->click();
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.contains("\r\n"));
        QVERIFY(bytes.contains(QString::fromUtf8("Ä").toUtf8()));

        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"), QStringLiteral("import csv, json, sys\n"
                                                           "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                                           "    print(json.dumps(list(csv.reader(f))))"),
                      path});
        QVERIFY(python.waitForFinished(30000));
        QCOMPARE(python.exitCode(), 0);
        const QJsonArray records = QJsonDocument::fromJson(python.readAllStandardOutput()).array();

        const auto& rows = screen.shownRows();
        QCOMPARE(records.size(), qsizetype(rows.size() + 1));
        QCOMPARE(records[0].toArray().toVariantList(),
                 (QVariantList{"Date", "Type", "State \"Sales\", Tax", "Tax 2", QString::fromUtf8("Gemeinde Steuer Ä"),
                               "Tax Total", "Sales Total"}));
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const QJsonArray record = records[qsizetype(row + 1)].toArray();
            QCOMPARE(record.size(), 7);
            QCOMPARE(record[0].toString(), rows[row].cells[0]);
            QCOMPARE(record[1].toString(), rows[row].cells[1]);
            for (int column = 2; column < 7; ++column) {
                // Two decimals, a dot, no currency sign: the list's amount.
                const QString number = record[column].toString();
                QVERIFY2(QRegularExpression(QStringLiteral("^-?\\d+\\.\\d\\d$")).match(number).hasMatch(),
                         qPrintable(number));
                QCOMPARE(FormatMoney(number.toDouble()), rows[row].cells[std::size_t(column)]);
            }
        }
        QCOMPARE(records[1].toArray()[6].toString(), QStringLiteral("300.00"));
    }

    // An export the user cancels writes nothing; an unwritable file is an error.
    void exportCancelledOrFailing()
    {
        ScriptedMessages messages;
        TfrmReport screen;
        screen.show();
        viewReport(screen, 0, false, 3, 2009, QStringLiteral("February"), 2010);
        const QString path = QDir(GetTempFolder()).filePath(QStringLiteral("no/such/folder/r.csv"));
        {
            ScopedModalRunner runner([](QDialog&) { return int(QDialog::Rejected); });
            child<QToolButton>(screen, "tlbtnExportCsv")->click();
        }
        QVERIFY(messages.texts().isEmpty());
        {
            ScopedModalRunner runner([&](QDialog& dialog) -> int {
                static_cast<QFileDialog&>(dialog).selectFile(path);
                return QDialog::Accepted;
            });
            child<QToolButton>(screen, "tlbtnExportCsv")->click();
        }
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts()[0].startsWith(QStringLiteral("Cannot write the file")), qPrintable(messages.texts()[0]));
        QVERIFY(!QFile::exists(path));
    }

    // The chart draws exactly the rows shown: one category per month, and for
    // each total column shown a bar set (labour and material apart when
    // itemized) holding the list's amounts.
    void chartHoldsTheListedAmounts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("itemized");
        QTest::addColumn<QStringList>("setNames");
        QTest::addColumn<bool>("stacked");
        QTest::newRow("sales summary") << 0 << false << QStringList{"Sales Total"} << false;
        QTest::newRow("sales itemized") << 0 << true << QStringList{"Labor Sales Total", "Material Sales Total"} << true;
        QTest::newRow("tax itemized") << 1 << true << QStringList{"Labor Tax Total", "Material Tax Total"} << true;
        QTest::newRow("both summary") << 2 << false << QStringList{"Tax Total", "Sales Total"} << false;
        QTest::newRow("both itemized") << 2 << true
                                       << QStringList{"Labor Tax Total", "Material Tax Total", "Labor Sales Total",
                                                      "Material Sales Total"}
                                       << false;
    }
    void chartHoldsTheListedAmounts()
    {
        QFETCH(int, type);
        QFETCH(bool, itemized);
        QFETCH(QStringList, setNames);
        QFETCH(bool, stacked);
        TfrmReport screen;
        screen.show();
        viewReport(screen, type, itemized, 11, 2009, QStringLiteral("March"), 2010);
        QChart* chart = child<QChartView>(screen, "ChartViewReport")->chart();
        QCOMPARE(chart->series().size(), 1);
        auto* series = qobject_cast<QAbstractBarSeries*>(chart->series().first());
        QVERIFY(series);
        QCOMPARE(bool(qobject_cast<QStackedBarSeries*>(series)), stacked);
        QStringList names;
        for (QBarSet* set : series->barSets()) names << set->label();
        QCOMPARE(names, setNames);

        const auto& rows = screen.shownRows();
        const int months = 5;   // November 2009 to March 2010
        QCOMPARE(int(rows.size()), itemized ? 2 * months : months);
        for (QBarSet* set : series->barSets()) {
            QCOMPARE(set->count(), months);
            const int column = set->label().endsWith(QStringLiteral("Tax Total")) && type == 2 ? 5 : 6;
            const int offset = set->label().startsWith(QStringLiteral("Material")) ? 1 : 0;
            for (int month = 0; month < months; ++month) {
                const TReportRow& row = rows[std::size_t(itemized ? 2 * month + offset : month)];
                QCOMPARE(FormatMoney(set->at(month)), row.cells[std::size_t(column)]);
            }
        }
        // The money axis reads in the currency form.
        bool moneyLabels = false;
        for (QAbstractAxis* axis : chart->axes(Qt::Vertical))
            if (auto* money = qobject_cast<QCategoryAxis*>(axis))
                moneyLabels = money->categoriesLabels().contains(QStringLiteral("$0.00"));
        QVERIFY(moneyLabels);
    }

    // Under every locale Qt knows, the CSV and the chart carry the amounts the
    // list shows as numbers: the ledger value rounded to cents by the money
    // rule, written with a dot, whatever the currency text looks like ("B/."
    // in es_PA, Arabic or Tamil digits).
    void exportedAmountsAreTheShownNumbersInEveryLocale()
    {
        const std::vector<TReportLedgerRow> ledger = {
            {2012, 5, {1002.675, 0.125, 0, -1234.5, -0.004, 0.5, 1234567.891, 99.999}},
        };
        // Labour: the three taxes, their total, the sales; then material.
        const QList<QStringList> expected = {
            {"1002.68", "0.13", "0.00", "1002.80", "1234567.89"},
            {"-1234.50", "0.00", "0.50", "-1234.00", "100.00"},
        };
        const QList<int> columns = ReportVisibleColumns(rtSalesAndTax, true);
        const auto captions = ReportColumnCaptions(rtSalesAndTax, true, {});
        const QList<QLocale> locales =
            QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        QVERIFY(locales.size() > 100);
        QStringList faults;
        for (const QLocale& locale : locales) {
            ScopedLocale pinned(locale);
            const std::vector<TReportRow> rows =
                BuildReportRows(ledger, rtSalesAndTax, true, QDate(2012, 1, 1), QDate(2012, 12, 1));
            const QStringList records =
                QString::fromUtf8(ReportCsv(rows, captions, columns)).split(QStringLiteral("\r\n"));
            const TReportChartData chart = BuildReportChartData(rows, rtSalesAndTax, true, captions);
            for (int row = 0; row < 2; ++row) {
                // The amounts are the last five fields; a month caption may be quoted.
                const QStringList fields = records.value(row + 1).split(QLatin1Char(','));
                const QStringList amounts = fields.mid(std::max<qsizetype>(0, fields.size() - 5));
                if (amounts != expected[row])
                    faults << QStringLiteral("%1 row %2: %3").arg(locale.name()).arg(row).arg(amounts.join('|'));
                for (int column = 2; column < 7; ++column)
                    if (rows[std::size_t(row)].cells[std::size_t(column)] !=
                        FormatMoney(expected[row][column - 2].toDouble()))
                        faults << QStringLiteral("%1 row %2 column %3 shows %4")
                                      .arg(locale.name()).arg(row).arg(column)
                                      .arg(rows[std::size_t(row)].cells[std::size_t(column)]);
            }
            // Tax total and sales total bars, labour and material apart.
            const QList<double> bars = {chart.sets[0].values.value(0), chart.sets[1].values.value(0),
                                        chart.sets[2].values.value(0), chart.sets[3].values.value(0)};
            if (bars != QList<double>{1002.80, -1234.00, 1234567.89, 100.00})
                faults << QStringLiteral("%1 chart: %2 %3 %4 %5").arg(locale.name())
                              .arg(bars[0]).arg(bars[1]).arg(bars[2]).arg(bars[3]);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 20).join('\n')));
    }

    // An amount money text cannot show reads "####" as in the other lists; the
    // rest of the range is shown, exported and charted as usual.
    void unshowableAmountShowsAsMarker()
    {
        insertLedgerRow(2013, 1, {0, 0, 0, 0, 0, 0, 1e300, 5});
        insertLedgerRow(2013, 2, {0, 0, 0, 0, 0, 0, 200, 5});
        const auto removeRows = RemoveLedgerYearAtEnd(2013);
        ScriptedMessages messages;
        TfrmReport screen;
        screen.show();
        viewReport(screen, 0, true, 1, 2013, QStringLiteral("February"), 2013);
        QVERIFY2(messages.texts().isEmpty(), qPrintable(messages.texts().join('|')));
        const auto& rows = screen.shownRows();
        QCOMPARE(int(rows.size()), 4);
        QCOMPARE(rows[0].cells[6], kUnshownAmountText);
        QCOMPARE(rows[1].cells[6], QStringLiteral("$5.00"));
        QCOMPARE(rows[2].cells[6], QStringLiteral("$200.00"));
        QVERIFY(child<QToolButton>(screen, "tlbtnExportCsv")->isVisible());
        const QStringList records = QString::fromUtf8(ReportCsv(rows, screen.columnCaptions(),
                                                                ReportVisibleColumns(rtSales, true)))
                                        .split(QStringLiteral("\r\n"));
        QCOMPARE(records[1], QStringLiteral("January 2013,Labor,"));
        QCOMPARE(records[3], QStringLiteral("February 2013,Labor,200.00"));
        QCOMPARE(screen.chartData().sets[0].values, (QList<double>{0, 200}));
    }

    // A view that fails clears the chart and hides Print, Print Preview and
    // Export CSV: nothing of the view before stays on show.
    void failedViewLeavesNothingShown()
    {
        ScriptedMessages messages;
        TfrmReport screen;
        screen.show();
        viewReport(screen, 0, false, 3, 2009, QStringLiteral("February"), 2010);
        QChart* chart = child<QChartView>(screen, "ChartViewReport")->chart();
        QCOMPARE(chart->series().size(), 1);
        {
            DbConnection connection;
            connection.execute(QStringLiteral("ALTER TABLE tblReport RENAME TO tblReportAway;"));
        }
        const auto restore = qScopeGuard([] {
            DbConnection connection;
            connection.execute(QStringLiteral("ALTER TABLE tblReportAway RENAME TO tblReport;"));
        });
        child<QPushButton>(screen, "btnVeiwReport")->click();
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts()[0].contains(QStringLiteral("tblReport"), Qt::CaseInsensitive), qPrintable(messages.texts()[0]));
        QCOMPARE(child<QTreeView>(screen, "ListViewReport")->model()->rowCount(), 0);
        QVERIFY(chart->series().isEmpty());
        QVERIFY(screen.chartData().categories.isEmpty());
        for (const char* name : {"tlbtnPrint", "tlbtnPrintPreview", "tlbtnExportCsv"})
            QVERIFY2(!child<QToolButton>(screen, name)->isVisible(), name);
    }

    // Two ledger rows for one month (a file from elsewhere): every row shown
    // keeps its own bar under its own label, none shifts or disappears.
    void repeatedMonthKeepsItsOwnBars()
    {
        // A server's ledger has one row per month by its unique key; only a file
        // (written by an older version) can hold a month twice.
        if (TestRunsOnServer()) QSKIP("a server's ledger cannot hold a month twice");
        insertLedgerRow(2014, 3, {0, 0, 0, 0, 0, 0, 100, 0});
        insertLedgerRow(2014, 3, {0, 0, 0, 0, 0, 0, 300, 0});
        insertLedgerRow(2014, 4, {0, 0, 0, 0, 0, 0, 400, 0});
        const auto removeRows = RemoveLedgerYearAtEnd(2014);
        TfrmReport screen;
        screen.show();
        viewReport(screen, 0, false, 3, 2014, QStringLiteral("April"), 2014);
        QCOMPARE(int(screen.shownRows().size()), 3);
        QChart* chart = child<QChartView>(screen, "ChartViewReport")->chart();
        auto* series = qobject_cast<QAbstractBarSeries*>(chart->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->barSets()[0]->count(), 3);
        QCOMPARE(series->barSets()[0]->at(2), 400.0);
        QStringList labels;
        for (QAbstractAxis* axis : chart->axes(Qt::Horizontal))
            if (auto* months = qobject_cast<QBarCategoryAxis*>(axis)) labels = months->categories();
        QCOMPARE(labels.size(), 3);
        // The labels read the same; only invisible marks tell the repeat apart.
        for (QString& label : labels) label.remove(QChar(0x200B));
        QCOMPARE(labels, (QStringList{"Mar 2014", "Mar 2014", "Apr 2014"}));
    }

    void axisTicksSpanTheValues()
    {
        const QList<double> ticks = ReportAxisTicks(0, 1220);
        QCOMPARE(ticks.first(), 0.0);
        QVERIFY(ticks.last() >= 1220);
        QVERIFY(ticks.size() >= 4 && ticks.size() <= 8);
        const QList<double> negative = ReportAxisTicks(-12.5, 3);
        QVERIFY(negative.first() <= -12.5);
        QVERIFY(negative.contains(0.0));
        QCOMPARE(ReportAxisTicks(0, 0).first(), 0.0);
    }
};

FENNICK_TEST_MAIN(TestReports)
#include "test_reports.moc"
