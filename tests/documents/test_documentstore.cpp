// The document store against a real program database: numbering, save and
// load, the ledger rules of a save, conversions, copies and the recurring run,
// and saves that fail half-way.
#include "common/TestFaults.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "documents/unitMainCounters.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentCopy.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitInvoiceHolders.h"

namespace {

TInvLine Line(const QString& name, const QString& quantity, const QString& labour, const QString& material,
              bool labourTaxable = true, bool materialTaxable = true)
{
    return {name, quantity, labourTaxable ? "-1" : "0", materialTaxable ? "-1" : "0", labour, material};
}

// A document with its totals computed the way the editor computes them.
TInvDocument MakeDocument(const QString& type, int number, const QDate& date, const QList<TInvLine>& lines,
                          bool paidInFull = false)
{
    TInvDocument d;
    TInvHeader& h = d.header;
    h.strInvName = type;
    h.intInvNumber = number;
    h.strInvDate = DateToStr(date);
    h.strCustCmpnyName = QStringLiteral("O\"Neil \"Fences\" & Sons");
    h.strCustFullName = QStringLiteral("Pat O'Neil");
    h.strCustAddress = QStringLiteral("12 Elm St");
    h.strCustCtyStZp = QStringLiteral("Springfield, IL 62701");
    h.strCustPhnFax = QStringLiteral("(217) 555-0101");
    h.strCustEmail = QStringLiteral("pat@example.com");
    h.strInvTerms = QStringLiteral("Due on the 10th");
    h.strUseTax1 = true;
    h.strUseTax2 = true;
    h.strPaidInFull = paidInFull;
    h.intInvFootNotes = 2;
    h.dbAmountPaid = 10;
    d.strInvNotes = QStringLiteral("First line\r\nSecond \"quoted\" line; DROP TABLE tblInvData; --");
    d.lines = lines;
    d.buyer = {QStringLiteral("IE"), QStringLiteral("IE6388047V")};
    const TInvTotals t = ComputeInvTotals(lines, EffectiveTaxRates(false, true, true, false)).totals;
    h.dbLbrTax1Total = t.dbLbrTax1Total;
    h.dbLbrTax2Total = t.dbLbrTax2Total;
    h.dbLbrTax3Total = t.dbLbrTax3Total;
    h.dbMatTax1Total = t.dbMatTax1Total;
    h.dbMatTax2Total = t.dbMatTax2Total;
    h.dbMatTax3Total = t.dbMatTax3Total;
    h.dbLbrTotal = t.dbLbrTotal;
    h.dbMatTotal = t.dbMatTotal;
    h.dbInvTotal = t.dbInvTotal;
    return d;
}

const QList<TInvLine> kLines = {Line("Window washing, \"large\" panes", "2", "100", "50", true, false),
                                Line("Gutter cleaning", "0.5", "40", "0", true, true)};

// Rows of a table, each as its column texts joined, in the order of the first
// column (the id, or the settings row's 1).
QStringList TableRows(DbConnection& connection, const QString& table)
{
    QStringList rows;
    DbStatement read = connection.prepare(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
    while (read.step()) {
        QStringList cells;
        for (int i = 0; i < read.columnCount(); ++i) cells << read.columnText(i);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// Everything stored in the database, table by table.
QStringList Snapshot()
{
    DbConnection connection;
    const QStringList tables = connection.tableNames();
    QStringList all;
    for (const QString& table : tables) {
        all << QStringLiteral("== ") + table;
        all << TableRows(connection, table);
    }
    return all;
}

// The ledger rows that hold anything, each as "month/year" and its eight sums
// rounded to 1e-9, so that a posting taken out again compares as gone.
QStringList Ledger()
{
    DbConnection connection;
    QStringList rows;
    DbStatement read = connection.prepare(QStringLiteral(
        "SELECT intReportYear,intReportMonth,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,"
        "dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal FROM tblReport ORDER BY intReportYear, intReportMonth"));
    while (read.step()) {
        QStringList cells{QStringLiteral("%1/%2").arg(read.columnInt(1)).arg(read.columnInt(0))};
        bool empty = true;
        for (int i = 2; i < 10; ++i) {
            const double sum = read.columnDouble(i);
            empty = empty && std::fabs(sum) < 1e-9;
            cells << QString::number(sum, 'f', 9);
        }
        if (!empty) rows << cells.join(QLatin1Char(' '));
    }
    return rows;
}

QString LedgerRow(const QDate& month, const TLedgerAmounts& a)
{
    QStringList cells{QStringLiteral("%1/%2").arg(month.month()).arg(month.year())};
    for (double v : a.values()) cells << QString::number(v, 'f', 9);
    return cells.join(QLatin1Char(' '));
}

QString StoredText(const QString& column, int number)
{
    DbConnection connection;
    DbStatement read = connection.prepare(
        QStringLiteral("SELECT %1 FROM tblInvDataHeader WHERE intInvNumber = ?").arg(column), {number});
    return read.step() ? read.columnText(0) : QStringLiteral("<none>");
}

// What the editor does: save with the ledger rules, then load the stored
// document back and take its snapshot.
TLoadedDocument EditorSave(const TInvDocument& document, bool editExisting)
{
    SaveDocumentWithLedger(document, recSavedData, editExisting);
    TLoadedDocument loaded = LoadDocument(document.header.intInvNumber);
    recSavedData = loaded.savedData;
    return loaded;
}

} // namespace

class TestDocumentStore : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        ResetSavedData();
        ListViewPriceItems.clear();
        txtInvoiceNotes.clear();
        SetCopyPrinter({});
    }
    void cleanup() { RunOutSavingNotice(); }

    void newDocumentAdvancesTheCounterOnceAndASecondSaveUpdatesIt()
    {
        const int number = GetNextInvNumber();
        QCOMPARE(number, 500);
        QCOMPARE(GetNextInvNumber(), 500); // reading does not advance

        TInvDocument doc = MakeDocument(QStringLiteral("Estimate"), number, QDate(2010, 3, 29), kLines);
        QVERIFY(SaveDocument(doc, false, false));
        QVERIFY(CurrentSavingNotice());
        QCOMPARE(CurrentSavingNotice()->windowTitle(), QStringLiteral("Saving Estimate 500..."));
        RunOutSavingNotice();
        QCOMPARE(GetNextInvNumber(), 501);

        TLoadedDocument loaded = LoadDocument(number);
        QCOMPARE(loaded.document.header, doc.header);
        QCOMPARE(loaded.document.strInvNotes, doc.strInvNotes); // quotes and CR LF stored unchanged
        QCOMPARE(loaded.document.lines, doc.lines);
        QCOMPARE(loaded.savedData.strInvName, QStringLiteral("Estimate"));
        QCOMPARE(loaded.savedData.dtInvDate, QDate(2010, 3, 29));
        QCOMPARE(loaded.savedData.amounts, LedgerAmountsOf(doc.header));

        // Second save of the same document: updated in place, lines replaced.
        doc.header.strInvName = QStringLiteral("Work Order");
        doc.header.strCustPONumber = QStringLiteral("PO \"77\"");
        doc.lines = {Line("Fence repair", "3", "25.5", "12.25")};
        QVERIFY(!SaveDocument(doc, true, false));
        QCOMPARE(GetNextInvNumber(), 501);
        loaded = LoadDocument(number);
        QCOMPARE(loaded.document.header, doc.header);
        QCOMPARE(loaded.document.lines, doc.lines);
        DbConnection connection;
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblInvDataHeader")), 1);
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblInvData")), 1);
    }

    void manualFormIsStoredWithoutLinesOrNotice()
    {
        TInvDocument doc = MakeDocument(QStringLiteral("Invoice"), GetNextInvNumber(), QDate(2010, 1, 2), kLines);
        QVERIFY(SaveDocument(doc, false, true));
        QVERIFY(!CurrentSavingNotice());
        QCOMPARE(GetNextInvNumber(), 501);
        const TLoadedDocument loaded = LoadDocument(500);
        QCOMPARE(loaded.document.header, doc.header);
        QVERIFY(loaded.document.lines.isEmpty());
    }

    void loadAndUpdateOfAMissingDocumentAreErrors()
    {
        QVERIFY_THROWS_EXCEPTION(AppError, LoadDocument(777));
        const QStringList before = Snapshot();
        TInvDocument doc = MakeDocument(QStringLiteral("Invoice"), 777, QDate(2010, 1, 2), kLines);
        try {
            SaveDocument(doc, true, false);
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), DocumentNotFoundMessage(777));
        }
        QCOMPARE(Snapshot(), before); // no lines without a header
    }

    void storedFlagThatIsNotAFlagStopsTheLoad()
    {
        SaveDocument(MakeDocument(QStringLiteral("Invoice"), 500, QDate(2010, 1, 2), kLines), false, true);
        DbConnection().execute(QStringLiteral("UPDATE tblInvDataHeader SET strUseTax2 = 'maybe'"));
        try {
            LoadDocument(500);
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("'maybe' is not a valid boolean value"));
        }
    }

    void paidInvoiceFollowsItsDateInTheLedger()
    {
        const QDate march(2010, 3, 29);
        const QDate may(2010, 5, 1);
        TInvDocument doc = MakeDocument(QStringLiteral("Invoice"), GetNextInvNumber(), march, kLines);
        const TLedgerAmounts amounts = LedgerAmountsOf(doc.header);

        // Saved unpaid: no ledger change, not recorded.
        EditorSave(doc, false);
        QCOMPARE(Ledger(), QStringList());
        QCOMPARE(StoredText(QStringLiteral("strSavedToReport"), 500), QStringLiteral("0"));

        // Paid in full: recorded in the month of its date.
        doc.header.strPaidInFull = true;
        EditorSave(doc, true);
        QCOMPARE(Ledger(), QStringList{LedgerRow(march, amounts)});
        QCOMPARE(StoredText(QStringLiteral("strSavedToReport"), 500), QStringLiteral("-1"));

        // Saved again unchanged: still recorded once.
        EditorSave(doc, true);
        QCOMPARE(Ledger(), QStringList{LedgerRow(march, amounts)});

        // Date moved: the amounts move with it.
        doc.header.strInvDate = DateToStr(may);
        EditorSave(doc, true);
        QCOMPARE(Ledger(), QStringList{LedgerRow(may, amounts)});

        // Unticked: the amounts leave the ledger.
        doc.header.strPaidInFull = false;
        EditorSave(doc, true);
        QCOMPARE(Ledger(), QStringList());
        QCOMPARE(StoredText(QStringLiteral("strSavedToReport"), 500), QStringLiteral("0"));
    }

    void creditResaveLeavesTheLedgerAsAfterItsFirstSave()
    {
        const QDate june(2010, 6, 15);
        TInvDocument doc =
            MakeDocument(QStringLiteral("Credit"), GetNextInvNumber(), june, {Line("Refund", "1", "100", "0", false, false)});
        EditorSave(doc, false);
        const QStringList afterFirst = Ledger();
        QCOMPARE(afterFirst, QStringList{LedgerRow(june, LedgerAmountsOf(doc.header).negated())});
        EditorSave(doc, true);
        EditorSave(doc, true);
        QCOMPARE(Ledger(), afterFirst);
        QCOMPARE(StoredText(QStringLiteral("strSavedToReport"), 500), QStringLiteral("-1"));
    }

    void otherTypesNeverReachTheLedger()
    {
        for (const QString type : {"Estimate", "Work Order", "Change Order", "Past Due"}) {
            TInvDocument doc = MakeDocument(type, GetNextInvNumber(), QDate(2010, 2, 2), kLines, true);
            ResetSavedData();
            EditorSave(doc, false);
        }
        QCOMPARE(Ledger(), QStringList());
    }

    void ledgerPlanForACreditLoadedAsAnInvoice()
    {
        // A recorded document loaded as an invoice and saved as a credit: the
        // invoice's recording is not undone, only the credit is subtracted.
        TrecSavedData saved = NewSavedData();
        saved.strInvName = QStringLiteral("Invoice");
        saved.blSavedToReport = true;
        saved.amounts.dbLbrTotal = 80;
        const TLedgerAmounts current{0, 0, 0, 0, 0, 0, 100, 0};
        const TLedgerPlan plan =
            PlanLedgerOnSave(QStringLiteral("credit"), current, QDate(2010, 1, 1), false, saved);
        QCOMPARE(plan.postings.size(), 1);
        QCOMPARE(plan.postings[0].amounts, current.negated());
        QVERIFY(plan.blSavedToReport);
    }

    void convertingAnInvoiceToACreditSubtractsItsAmounts()
    {
        const QDate april(2010, 4, 3);
        TInvDocument doc = MakeDocument(QStringLiteral("Invoice"), GetNextInvNumber(), april, kLines);
        SaveDocument(doc, false, false);
        ConvertDocument(500, QStringLiteral("Credit"), QStringLiteral("Invoice 500"));

        QCOMPARE(Ledger(), QStringList{LedgerRow(april, LedgerAmountsOf(doc.header).negated())});
        const TLoadedDocument loaded = LoadDocument(500);
        TInvHeader expected = doc.header;
        expected.strInvName = QStringLiteral("Credit");
        expected.strFromInvNameNumber = QStringLiteral("Invoice 500");
        expected.strSavedToReport = true;
        QCOMPARE(loaded.document.header, expected);
        QCOMPARE(loaded.document.lines, doc.lines);
    }

    void convertingAnEstimateChangesOnlyItsName()
    {
        SaveDocument(MakeDocument(QStringLiteral("Estimate"), 500, QDate(2010, 4, 3), kLines), false, false);
        QStringList before = Snapshot();
        ConvertDocument(500, QStringLiteral("Work Order"), QString());
        before.replaceInStrings(QStringLiteral("|Estimate|"), QStringLiteral("|Work Order|"));
        QCOMPARE(Snapshot(), before);
    }

    void markPaidInFullRecordsTheStoredAmounts()
    {
        const QDate july(2010, 7, 4);
        TInvDocument doc = MakeDocument(QStringLiteral("Invoice"), 500, july, kLines);
        SaveDocument(doc, false, false);
        MarkPaidInFull(500);
        QCOMPARE(Ledger(), QStringList{LedgerRow(july, LedgerAmountsOf(doc.header))});
        QCOMPARE(StoredText(QStringLiteral("strPaidInFull"), 500), QStringLiteral("-1"));
        QCOMPARE(StoredText(QStringLiteral("strSavedToReport"), 500), QStringLiteral("-1"));
    }

    void actionsOnAMissingDocumentPostNothing()
    {
        SaveDocument(MakeDocument(QStringLiteral("Invoice"), 500, QDate(2010, 7, 4), kLines), false, false);
        const QStringList before = Snapshot();
        QVERIFY_THROWS_EXCEPTION(AppError, MarkPaidInFull(501));
        QVERIFY_THROWS_EXCEPTION(AppError, ConvertDocument(501, QStringLiteral("Credit"), QStringLiteral("Invoice 501")));
        QVERIFY_THROWS_EXCEPTION(AppError, ConvertDocument(501, QStringLiteral("Invoice"), QString()));
        QCOMPARE(Snapshot(), before);
    }

    void deleteRemovesHeaderAndLinesButNotTheLedger()
    {
        TInvDocument doc = MakeDocument(QStringLiteral("Invoice"), 500, QDate(2010, 7, 4), kLines, true);
        EditorSave(doc, false);
        SaveDocument(MakeDocument(QStringLiteral("Estimate"), 501, QDate(2010, 7, 4), kLines), false, false);
        const QStringList ledger = Ledger();
        DeleteDocument(0);
        DeleteDocument(500);
        DbConnection connection;
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblInvDataHeader WHERE intInvNumber = 500")), 0);
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblInvData WHERE intInvNumber = 500")), 0);
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblInvData WHERE intInvNumber = 501")), 2);
        connection.close();
        QCOMPARE(Ledger(), ledger);
        QCOMPARE(GetNextInvNumber(), 502); // numbers are never reused
    }

    void recurringRunCopiesAndPrintsEveryRecurringInvoice()
    {
        // 500 and 502 recurring invoices, 501 an ordinary invoice, 503 a recurring estimate.
        for (int i = 0; i < 4; ++i) {
            const QString type = i == 3 ? QStringLiteral("Estimate") : QStringLiteral("Invoice");
            TInvDocument doc = MakeDocument(type, GetNextInvNumber(), QDate(2010, 1, 10 + i), kLines);
            doc.header.strRecurring = i != 1;
            doc.header.strCustFullName = QStringLiteral("Customer %1").arg(i);
            SaveDocument(doc, false, false);
        }
        QList<TInvDocument> printed;
        QList<QList<TInvLine>> heldLines;
        SetCopyPrinter([&](const TInvDocument& copy) {
            printed << copy;
            heldLines << ListViewPriceItems;
        });
        const QStringList ledger = Ledger();

        QCOMPARE(PrintRecurringInvoices(), 2);
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed[0].header.intInvNumber, 504);
        QCOMPARE(printed[1].header.intInvNumber, 505);
        QCOMPARE(printed[0].header.strCustFullName, QStringLiteral("Customer 0"));
        QCOMPARE(printed[1].header.strCustFullName, QStringLiteral("Customer 2"));
        QCOMPARE(heldLines[0], kLines);
        // 2 x (100 + 50) with labour taxed, plus 0.5 x 40 taxed: paid 10 is not taken off the total.
        const TCopyPrintTotals texts = GetCopyPrintTotals(printed[0].header);
        QCOMPARE((QStringList{texts.strDepositPaid, texts.strSubTotal, texts.strTax, texts.strTotal}),
                 (QStringList{"$10.00", "$320.00", "$13.71", "$333.71"}));
        QCOMPARE(GetNextInvNumber(), 506);
        for (int number : {504, 505}) {
            const TLoadedDocument copy = LoadDocument(number);
            QCOMPARE(copy.document.header.strInvName, QStringLiteral("Invoice"));
            QVERIFY(!copy.document.header.strRecurring);
            QCOMPARE(copy.document.lines, kLines);
        }
        QCOMPARE(StoredText(QStringLiteral("strRecurring"), 500), QStringLiteral("-1"));
        QCOMPARE(StoredText(QStringLiteral("strRecurring"), 502), QStringLiteral("-1"));
        QCOMPARE(StoredText(QStringLiteral("strInvDate"), 505), QStringLiteral("1/12/2010"));
        QCOMPARE(ShowLastPrintedDate(), QStringLiteral("Last Printed on: ") + DateToStr(QDate::currentDate()));
        QVERIFY(ListViewRecurringNumber.isEmpty());
        QVERIFY(ListViewPriceItems.isEmpty());
        QCOMPARE(Ledger(), ledger);
    }

    void recurringRunWithoutRecurringInvoicesDoesNothing()
    {
        SaveDocument(MakeDocument(QStringLiteral("Invoice"), 500, QDate(2010, 1, 10), kLines), false, false);
        int prints = 0;
        SetCopyPrinter([&](const TInvDocument&) { ++prints; });
        QCOMPARE(PrintRecurringInvoices(), 0);
        QCOMPARE(prints, 0);
        QCOMPARE(ShowLastPrintedDate(), QStringLiteral("Last Printed on:  Never"));
        QCOMPARE(GetNextInvNumber(), 501);
    }

    void recurringRunWithoutAPrinterStopsBeforeCopying()
    {
        TInvDocument doc = MakeDocument(QStringLiteral("Invoice"), 500, QDate(2010, 1, 10), kLines);
        doc.header.strRecurring = true;
        SaveDocument(doc, false, false);
        const QStringList before = Snapshot();
        QVERIFY_THROWS_EXCEPTION(AppError, PrintRecurringInvoices());
        QCOMPARE(Snapshot(), before);
    }

    void pastDueNoticeCopiesTheInvoice()
    {
        TInvDocument invoice = MakeDocument(QStringLiteral("Invoice"), 500, QDate(2010, 9, 30), kLines);
        invoice.header.strRecurring = true;
        invoice.header.strFutureInfo = QStringLiteral("kept");
        SaveDocument(invoice, false, false);
        int prints = 0;
        SetCopyPrinter([&](const TInvDocument&) { ++prints; });

        QCOMPARE(CopyDocument(500, QStringLiteral("Past Due"), QStringLiteral("Invoice 500"), true), 501);
        QCOMPARE(prints, 0);
        const TLoadedDocument notice = LoadDocument(501);
        TInvHeader expected = invoice.header;
        expected.intInvNumber = 501;
        expected.strInvName = QStringLiteral("Past Due");
        expected.strFromInvNameNumber = QStringLiteral("Invoice 500");
        QCOMPARE(notice.document.header, expected); // amounts, date, flags and customer as the invoice's
        QCOMPARE(notice.document.lines, kLines);
        QCOMPARE(notice.document.strInvNotes, invoice.strInvNotes);
        QCOMPARE(GetNextInvNumber(), 502);
        QCOMPARE(Ledger(), QStringList());
        QVERIFY_THROWS_EXCEPTION(AppError, CopyDocument(999, QStringLiteral("Past Due"), QString(), true));
        QCOMPARE(GetNextInvNumber(), 502);
    }

    // The buyer's e-invoice data is the document's own: saved, changed and
    // deleted with it, and carried by its copies.
    void buyerDataTravelsWithTheDocument()
    {
        TInvDocument invoice = MakeDocument(QStringLiteral("Invoice"), 500, QDate(2010, 9, 30), kLines);
        SaveDocument(invoice, false, false);
        QCOMPARE(LoadDocument(500).document.buyer, invoice.buyer);
        QCOMPARE(CopyDocument(500, QStringLiteral("Past Due"), QStringLiteral("Invoice 500"), false), 501);
        QCOMPARE(LoadDocument(501).document.buyer, invoice.buyer);

        invoice.buyer = {};
        SaveDocument(invoice, true, false);
        QCOMPARE(LoadDocument(500).document.buyer, TInvBuyerTaxData());
        invoice.buyer.strBuyerCountry = QStringLiteral("FR");
        SaveDocument(invoice, true, false);
        QCOMPARE(LoadDocument(500).document.buyer.strBuyerCountry, QStringLiteral("FR"));

        DeleteDocument(500);
        DbConnection db;
        QCOMPARE(TableRows(db, QStringLiteral("tblInvEInvoice")), QStringList{"501|IE|IE6388047V"});
    }

    void failureHalfWayLeavesTheDatabaseAsBefore_data()
    {
        QTest::addColumn<bool>("editExisting");
        QTest::addColumn<QStringList>("sabotage");
        // The second line insert fails, after the ledger posting and the header are written.
        const QStringList secondLineFails =
            FailingTriggerStatements(QStringLiteral("failSecondLine"), QStringLiteral("INSERT"), QStringLiteral("tblInvData"),
                                     QStringLiteral("NEW.strPrcItemName = 'Gutter cleaning'"), QStringLiteral("disk full"));
        QTest::newRow("new document, line fails") << false << secondLineFails;
        QTest::newRow("stored document, line fails") << true << secondLineFails;
        QTest::newRow("new document, no line table") << false << QStringList{QStringLiteral("DROP TABLE tblInvData;")};
        QTest::newRow("new document, counter fails")
            << false
            << FailingTriggerStatements(QStringLiteral("failCounter"), QStringLiteral("UPDATE"),
                                        QStringLiteral("tblCompanyInvData"), QString(), QStringLiteral("disk full"));
    }
    void failureHalfWayLeavesTheDatabaseAsBefore()
    {
        QFETCH(bool, editExisting);
        QFETCH(QStringList, sabotage);
        TInvDocument doc = MakeDocument(QStringLiteral("Invoice"), GetNextInvNumber(), QDate(2010, 3, 1), kLines);
        if (editExisting) {
            doc.header.strPaidInFull = true;
            EditorSave(doc, false);            // recorded in March
            doc.header.strInvDate = QStringLiteral("4/1/2010");
            doc.lines = {Line("Roof", "1", "300", "0"), Line("Gutter cleaning", "1", "40", "0")};
        } else {
            doc.header.strPaidInFull = true;
        }
        {
            DbConnection db;
            for (const QString& statement : sabotage) db.execute(statement);
        }
        const QStringList before = Snapshot();
        const TrecSavedData saved = recSavedData;

        QVERIFY_THROWS_EXCEPTION(AppError, SaveDocumentWithLedger(doc, saved, editExisting));
        QCOMPARE(Snapshot(), before);
    }
};

FENNICK_TEST_MAIN(TestDocumentStore)
#include "test_documentstore.moc"
