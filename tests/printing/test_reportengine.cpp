// The report engine's pagination and the print module's feeds and list jobs,
// checked on the laid-out pages (which rows, which values, which parameters).
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitModPrintData.h"
#include "printing/unitReportLayouts.h"

namespace {

// A feed over fixed rows of text fields.
class TableFeed : public ReportFeed {
public:
    TableFeed(QStringList fieldNames, QList<QStringList> rows) : m_names(std::move(fieldNames)), m_rows(std::move(rows)) {}
    QString dataView() const override { return QStringLiteral("Table"); }
    std::vector<FeedField> fields() const override
    {
        std::vector<FeedField> result;
        for (const QString& name : m_names) result.push_back({name, FeedFieldType::Text, 10});
        return result;
    }
    int rowCount() override { return int(m_rows.size()); }
    QVariantList row(int index) override
    {
        QVariantList values;
        for (const QString& value : m_rows[index]) values << value;
        return values;
    }

private:
    QStringList m_names;
    QList<QStringList> m_rows;
};

QList<QStringList> feedRows(ReportFeed& feed)
{
    QList<QStringList> rows;
    const int count = feed.rowCount();
    for (int index = 0; index < count; ++index) {
        QStringList texts;
        for (const QVariant& value : feed.row(index)) texts << value.toString();
        rows << texts;
    }
    return rows;
}

TInvLine line(const QString& name, const QString& quantity, const QString& labour, const QString& material)
{
    return {name, quantity, QStringLiteral("-1"), QStringLiteral("0"), labour, material};
}

qint64 addCustomer(DbConnection& connection, const QStringList& values)
{
    connection.execute(QStringLiteral("INSERT INTO tblCustomers (strCustFirstName, strCustLastName, strCustCompany, "
                                      "strCustAddress, strCustCity, strCustState, strCustZipCode, strCustEmail, "
                                      "strCustPhone, strCustFax, strCustPhoneAreaCode, strCustFaxAreaCode, "
                                      "strCustPhoneExt, strCustTaxExmpt, strCustTaxExmpNmbr, strCustPmtTerms, "
                                      "strCustNotes) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                       QVariantList(values.begin(), values.end()));
    return connection.lastInsertRowId();
}

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        recPrintLists = {};
        ListViewPriceItems.clear();
        txtInvoiceNotes.clear();
        blManualInvoice = false;
    }

    void pageCounterText()
    {
        QCOMPARE(PageCounterText(2, 3), QStringLiteral("Page 2 of\u2019 3"));
    }

    // Rows fill the region band by band; a band that does not fit starts a new
    // page, and the counter counts the pages of the report.
    void paginatorSplitsRowsAcrossPages()
    {
        ReportLayout layout = ReportTaxSalesReportLayout();   // region 9.3 high, bands of 0.2: 46 rows a page
        QList<QStringList> rows;
        for (int index = 0; index < 100; ++index) rows << QStringList{QString::number(index)};
        TableFeed feed({QStringLiteral("rvstrDate")}, rows);
        ReportDocument document;
        document.addReport(layout, &feed);
        QCOMPARE(document.pageCount(), 3);
        QCOMPARE(document.pages()[0].bands.size(), std::size_t(46));
        QCOMPARE(document.pages()[1].bands.size(), std::size_t(46));
        QCOMPARE(document.pages()[2].bands.size(), std::size_t(8));
        QCOMPARE(document.pages()[1].bands.front().value(QStringLiteral("rvstrDate")), QStringLiteral("46"));
        QCOMPARE(document.pages()[1].bands.front().top, 1.1);
        for (const ReportPage& page : document.pages()) QCOMPARE(page.pageCount, 3);

        // A report without rows still prints its page; a second report starts on its own page.
        TableFeed empty({QStringLiteral("rvstrDate")}, {});
        document.addReport(layout, &empty);
        QCOMPARE(document.pageCount(), 4);
        QCOMPARE(document.pages()[3].pageNumber, 1);
        QCOMPARE(document.pages()[3].pageCount, 1);
        QVERIFY(document.pages()[3].bands.empty());
    }

    void longMemoGrowsItsBandAndTallBandsStillPrint()
    {
        DbConnection connection;
        QStringList values(17, QString());
        values[2] = QStringLiteral("Long Notes Ltd");
        values[16] = QString(250, QLatin1Char('w')).replace(QStringLiteral("wwwww"), QStringLiteral("word "));
        const qint64 id = addCustomer(connection, values);
        connection.close();
        intPrintJob = pjCustomerList;
        recPrintLists.customerIds = {QString::number(id), QString::number(id)};
        const ReportDocument document = modPrintData.pBuildJob(pjCustomerList);
        const ReportPage& page = document.pages().front();
        QCOMPARE(page.bands.size(), std::size_t(2));
        const PlacedBand& first = page.bands[0];
        QVERIFY(first.memoLines.value(QStringLiteral("rvstrCustNotes")).size() >= 2);
        QVERIFY(first.height > 1.6);
        QCOMPARE(page.bands[1].top, first.top + first.height);   // the next customer starts below the notes

        // A band taller than its region prints once per page instead of looping.
        ReportLayout layout = ReportTaxSalesReportLayout();
        layout.region->bands.front().height = 20;
        TableFeed feed({QStringLiteral("rvstrDate")}, {{"a"}, {"b"}});
        ReportDocument tall;
        tall.addReport(layout, &feed);
        QCOMPARE(tall.pageCount(), 2);
    }

    void invoiceFeedGivesLinesThenNotes()
    {
        TrecCmpnyInvData settings;
        settings.blShowQuantity = settings.blShowPrcEach = settings.blShowTotal = true;
        const QList<TInvLine> lines = {line("Gutter", "3", "10", "2.5"), line("Roof", "1.5", "100", "0"),
                                       line("Fence", "2", "0.125", "0")};
        InvoiceLinesFeed feed(lines, QStringLiteral("first note\r\nsecond note\r\n"), false, QStringLiteral("invoice"),
                              settings);
        QCOMPARE(feed.rowCount(), 5);
        const QList<QStringList> rows = feedRows(feed);
        QCOMPARE(rows[0], (QStringList{"Gutter", "$37.50", "$12.50", "3", ""}));
        QCOMPARE(rows[1], (QStringList{"Roof", "$150.00", "$100.00", "1.5", ""}));
        QCOMPARE(rows[2], (QStringList{"Fence", "$0.25", "$0.13", "2", ""}));
        QCOMPARE(rows[3], (QStringList{"", "", "", "", "first note"}));
        QCOMPARE(rows[4], (QStringList{"", "", "", "", "second note"}));

        InvoiceLinesFeed manual(lines, QStringLiteral("note"), true, QStringLiteral("Invoice"), settings);
        QCOMPARE(manual.rowCount(), 0);

        InvoiceLinesFeed broken({line("Bad", "three", "10", "0")}, QString(), false, QStringLiteral("Invoice"), settings);
        try {
            broken.row(0);
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("'three' is not a valid floating point value"));
        }
    }

    void workOrderShowsMoneyOnlyWhenAllowed_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("showTotalOnWorkOrder");
        QTest::addColumn<QStringList>("amounts");
        QTest::newRow("work order") << "Work Order" << false << QStringList{"3", "", ""};
        QTest::newRow("work order, any case") << "WORK ORDER" << false << QStringList{"3", "", ""};
        QTest::newRow("work order with totals") << "Work Order" << true << QStringList{"$37.50", "$12.50", "3"};
        QTest::newRow("estimate") << "Estimate" << false << QStringList{"$37.50", "$12.50", "3"};
    }
    void workOrderShowsMoneyOnlyWhenAllowed()
    {
        QFETCH(QString, type);
        QFETCH(bool, showTotalOnWorkOrder);
        QFETCH(QStringList, amounts);
        TrecCmpnyInvData settings;
        settings.blShowQuantity = settings.blShowPrcEach = settings.blShowTotal = true;
        settings.blShowTotalonWO = showTotalOnWorkOrder;
        InvoiceLinesFeed feed({line("Gutter", "3", "10", "2.5")}, QString(), false, type, settings);
        QCOMPARE(feedRows(feed).value(0).mid(1, 3), amounts);
        const std::array<QString, 3> headings = AmountHeadings(type, settings);
        QCOMPARE(headings[0], showTotalOnWorkOrder || type == QLatin1String("Estimate") ? QStringLiteral("Total")
                                                                                         : QStringLiteral("Quantity"));
    }

    void notesLines_data()
    {
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("final break adds nothing") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("blank line kept") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
        QTest::newRow("bare line feeds") << "a\nb" << QStringList{"a", "b"};
    }
    void notesLines()
    {
        QFETCH(QString, notes);
        QFETCH(QStringList, lines);
        QCOMPARE(NotesLines(notes), lines);
    }

    // The customer list prints the listed customers, in list order; a customer
    // that is gone prints empty.
    void customerListPrintsTheListedCustomers()
    {
        DbConnection connection;
        const qint64 mary = addCustomer(connection, {"Mary", "Jones", "Jones Hardware", "9 Elm Road", "Dayton", "OH",
                                                     "45402", "mary@jones.test", "5550199", "5550198", "937", "938",
                                                     "12", "-1", "TX-9", "Net 30", "Prefers mornings"});
        const qint64 bob = addCustomer(connection, {"Bob", "Smith", "", "", "", "", "", "", "", "", "", "", "", "0",
                                                    "", "", ""});
        connection.close();
        recPrintLists.customerIds = {QString::number(bob), QString::number(mary), QStringLiteral("99999")};
        const ReportDocument document = modPrintData.pBuildJob(pjCustomerList);
        QCOMPARE(document.pageCount(), 1);
        const ReportPage& page = document.pages().front();
        QCOMPARE(page.layout->parameters.value(QStringLiteral("rvstrCustomerListTitle")), QStringLiteral("Customer List"));
        QCOMPARE(page.bands.size(), std::size_t(3));
        QCOMPARE(page.bands[0].value(QStringLiteral("rvstrCustFirstLastName")), QStringLiteral("Bob Smith"));
        const PlacedBand* values = &page.bands[1];
        QCOMPARE(values->value(QStringLiteral("rvstrCustomerID")), QString::number(mary));
        QCOMPARE(values->value(QStringLiteral("rvstrCustCompany")), QStringLiteral("Jones Hardware"));
        QCOMPARE(values->value(QStringLiteral("rvstrCustFirstLastName")), QStringLiteral("Mary Jones"));
        QCOMPARE(values->value(QStringLiteral("rvstrCustCityStateZip")), QStringLiteral("Dayton,OH 45402"));
        QCOMPARE(values->value(QStringLiteral("rvstrCustPhone")), QStringLiteral("937-5550199 12"));
        QCOMPARE(values->value(QStringLiteral("rvstrCustFax")), QStringLiteral("938-5550198"));
        QCOMPARE(values->value(QStringLiteral("rvstrCustEmail")), QStringLiteral("mary@jones.test"));
        QCOMPARE(values->value(QStringLiteral("rvstrCustTaxExmpNmbr")), QStringLiteral("TX-9"));
        QCOMPARE(values->value(QStringLiteral("rvstrCustPmtTerms")), QStringLiteral("Net 30"));
        QCOMPARE(values->value(QStringLiteral("rvstrCustNotes")), QStringLiteral("Prefers mornings"));
        QCOMPARE(page.bands[2].value(QStringLiteral("rvstrCustomerID")), QString());
        QCOMPARE(page.bands[2].value(QStringLiteral("rvstrCustCompany")), QString());

        // Six customers of 1.6 inches fill a page; the seventh starts the next.
        recPrintLists.customerIds = QStringList(7, QString::number(mary));
        QCOMPARE(modPrintData.pBuildJob(pjCustomerList).pageCount(), 2);
    }

    void priceSheetPrintsFlagsAsTrueOrFalse()
    {
        recPrintLists.priceRows = {{"Gutter cleaning", "$10.00", "$2.50", "-1", "0"},
                                   {"Roof repair", "$100.00", "$0.00", "False", "True"}};
        const ReportDocument document = modPrintData.pBuildJob(pjPriceSheet);
        const ReportPage& page = document.pages().front();
        QCOMPARE(page.layout->parameters.value(QStringLiteral("PriceSheetHeader")), QStringLiteral("Price Sheet List"));
        QCOMPARE(page.bands.size(), std::size_t(2));
        QCOMPARE(page.bands[0].value(QStringLiteral("rvstrLabTaxable")), QStringLiteral("True"));
        QCOMPARE(page.bands[0].value(QStringLiteral("rvstrMatTaxable")), QStringLiteral("False"));
        QCOMPARE(page.bands[0].value(QStringLiteral("rvstrLabPrice")), QStringLiteral("$10.00"));
        QCOMPARE(page.bands[1].value(QStringLiteral("rvstrLabTaxable")), QStringLiteral("False"));
        QCOMPARE(page.bands[1].value(QStringLiteral("rvstrMatTaxable")), QStringLiteral("True"));

        recPrintLists.priceRows = {{"Odd", "$1.00", "$1.00", "maybe", "0"}};
        QVERIFY_THROWS_EXCEPTION(AppError, modPrintData.pBuildJob(pjPriceSheet));
    }

    void plannerPrintsOneColumnBlockPerListKind()
    {
        DbConnection connection;
        connection.execute(QStringLiteral("INSERT INTO tblPlanner (intActMasterID, intActYear, intActDayOfYear, "
                                          "strActStartDateTime, strActEndDateTime, strActivity, strActPriority, "
                                          "strActNote) VALUES (1, 2010, 88, ?, ?, ?, '0', ?)"),
                           {QStringLiteral("3/29/2010 8:00:00 AM"), QStringLiteral("3/29/2010 9:00:00 AM"),
                            QStringLiteral("Estimate for the Jones"), QStringLiteral("Bring the ladder")});
        const QString id = QString::number(connection.lastInsertRowId());
        connection.close();
        recPrintLists.plannerRows = {{id, QStringLiteral("3/29/2010")}};
        recPrintLists.plannerDates = QStringLiteral("March 2010");

        recPrintLists.plannerListKind = 0;
        ReportDocument document = modPrintData.pBuildJob(pjPlanner);
        const ReportPage* page = &document.pages().front();
        QCOMPARE(page->layout->parameters.value(QStringLiteral("rvstrPlannerTitle")),
                 QStringLiteral("Day Planner List of Activities for:"));
        QCOMPARE(page->layout->parameters.value(QStringLiteral("rvstrPlannerDates")), QStringLiteral("March 2010"));
        QCOMPARE(page->layout->parameters.value(QStringLiteral("rvstrActStartDayHdng")), QStringLiteral("Start Date"));
        QCOMPARE(page->layout->parameters.value(QStringLiteral("rvstrActDateWkMnthHdng")), QString());
        const PlacedBand* values = &page->bands.front();
        QCOMPARE(values->value(QStringLiteral("rvstrActivityDay")), QStringLiteral("Estimate for the Jones"));
        QCOMPARE(values->value(QStringLiteral("rvstrActStartDay")), QStringLiteral("3/29/2010 8:00:00 AM"));
        QCOMPARE(values->value(QStringLiteral("rvstrActivityWkMnth")), QString());
        QCOMPARE(values->value(QStringLiteral("rvstrActDateWkMnth")), QString());
        QCOMPARE(values->value(QStringLiteral("rvstrActivityNotes")), QStringLiteral("Bring the ladder"));

        recPrintLists.plannerListKind = 2;
        document = modPrintData.pBuildJob(pjPlanner);
        page = &document.pages().front();
        QCOMPARE(page->layout->parameters.value(QStringLiteral("rvstrPlannerTitle")),
                 QStringLiteral("Month Planner List of Activities for:"));
        QCOMPARE(page->layout->parameters.value(QStringLiteral("rvstrActDateWkMnthHdng")), QStringLiteral("Activity Date"));
        QCOMPARE(page->layout->parameters.value(QStringLiteral("rvstrActStartDayHdng")), QString());
        values = &page->bands.front();
        QCOMPARE(values->value(QStringLiteral("rvstrActDateWkMnth")), QStringLiteral("3/29/2010"));
        QCOMPARE(values->value(QStringLiteral("rvstrActivityWkMnth")), QStringLiteral("Estimate for the Jones"));
        QCOMPARE(values->value(QStringLiteral("rvstrActEndWkMnth")), QStringLiteral("3/29/2010 9:00:00 AM"));
        QCOMPARE(values->value(QStringLiteral("rvstrActivityDay")), QString());
        QCOMPARE(values->value(QStringLiteral("rvstrActivityNotes")), QStringLiteral("Bring the ladder"));
    }

    void taxSalesReportTakesTitleHeadingsAndRows()
    {
        recPrintLists.reportType = 2;
        recPrintLists.reportHeadings = {"Month", "Type", "Local Tax", "State Tax", "", "Tax Total", "Sales Total"};
        recPrintLists.reportRows = {{"January 2010", "Labor", "$1.00", "$2.00", "", "$3.00", "$100.00"}};
        const ReportDocument document = modPrintData.pBuildJob(pjTaxSalesReport);
        const ReportPage& page = document.pages().front();
        QCOMPARE(page.layout->parameters.value(QStringLiteral("rvstrTaxSalesTitle")), QStringLiteral("Sales and Tax Report"));
        QCOMPARE(page.layout->parameters.value(QStringLiteral("rvstrTax2Hdng")), QStringLiteral("State Tax"));
        QCOMPARE(page.bands.front().value(QStringLiteral("rvstrSalesTotal")), QStringLiteral("$100.00"));
        // The headings stand exactly over their columns.
        const ReportLayout& layout = *page.layout;
        const QStringList columns = {"Date", "Type", "Tax1", "Tax2", "Tax3", "TaxTotal", "SalesTotal"};
        for (const QString& column : columns) {
            const ReportElement* heading = layout.findElement(QStringLiteral("rvstr%1Hdng").arg(column));
            const ReportElement* value = layout.findElement(QStringLiteral("rvstr%1").arg(column));
            QVERIFY(heading && value);
            QCOMPARE(value->rect.left() + layout.region->rect.left(), heading->rect.left());
            QCOMPARE(value->rect.width(), heading->rect.width());
        }
        recPrintLists.reportType = 0;
        QCOMPARE(modPrintData.pBuildJob(pjTaxSalesReport).pages().front().layout->parameters.value(
                     QStringLiteral("rvstrTaxSalesTitle")),
                 QStringLiteral("Sales Report"));
    }

    void eachRunStartsFromTheStoredLayouts()
    {
        recPrintData = {};
        recPrintData.strInvType = QStringLiteral("Invoice");
        recPrintData.blSignatureLine = true;
        ReportDocument first = modPrintData.pBuildJob(pjDocument);
        QVERIFY(first.pages().front().layout->region->bands[1].visible);
        // The stored layout itself is untouched by the run.
        QVERIFY(!ReportInvoiceLayout().region->bands[1].visible);
        recPrintData.blSignatureLine = false;
        ReportDocument second = modPrintData.pBuildJob(pjDocument);
        QVERIFY(!second.pages().front().layout->region->bands[1].visible);
        QVERIFY(modPrintData.pBuildJob(99).isEmpty());
    }
};

FENNICK_TEST_MAIN(TestReportEngine)
#include "test_reportengine.moc"
