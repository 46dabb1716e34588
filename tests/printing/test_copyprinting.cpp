// The printer of the recurring run: each copy goes to the printer (here the
// printer path writes a PDF) as a new invoice dated today, with the stored
// customer, lines and amounts, and a total not reduced by the amount paid.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "documents/unitMainCounters.h"
#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "documents/unitDocumentCopy.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitCopyPrinting.h"
#include "printing/unitModPrintData.h"
#include "printing/unitPrintData.h"

#include <QDir>
#include <QPrinterInfo>

namespace {

// A recurring invoice with a paid amount, stored as the store keeps it.
void StoreRecurringInvoice(int number)
{
    TInvDocument document;
    TInvHeader& h = document.header;
    h.intInvNumber = number;
    h.strInvName = QStringLiteral("Invoice");
    h.strInvDate = QStringLiteral("1/15/2010");
    h.strCustCmpnyName = QStringLiteral("Harbor Supply");
    h.strCustFullName = QStringLiteral("Ng, Lee");
    h.strCustAddress = QStringLiteral("9 Dock Rd");
    h.strCustCtyStZp = QStringLiteral("Portland ME 04101");
    h.strInvTerms = QStringLiteral("Net 30");
    h.strCustPONumber = QStringLiteral("PO-5");
    h.strRecurring = true;
    h.intInvFootNotes = 3;
    h.dbLbrTotal = 100;
    h.dbMatTotal = 50;
    h.dbLbrTax1Total = 1.23;
    h.dbMatTax2Total = 2.5;
    h.dbAmountPaid = 40;
    h.dbInvTotal = 153.73;
    document.lines = {{QStringLiteral("Monthly service"), QStringLiteral("1"), QStringLiteral("-1"), QStringLiteral("0"),
                       QStringLiteral("100"), QStringLiteral("0")},
                      {QStringLiteral("Filters"), QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("-1"),
                       QStringLiteral("0"), QStringLiteral("25")}};
    SaveDocument(document, false, false);
    RunOutSavingNotice();
}

} // namespace

class TestCopyPrinting : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        InstallCopyPrinter();
    }
    void cleanup()
    {
        modPrintData.SetPrinterOutputFile(QString());
        SetCopyPrinter({});
        RunOutSavingNotice();
    }

    void recurringRunPrintsEachCopyDatedToday()
    {
        StoreRecurringInvoice(500);
        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("copy.pdf"));
        modPrintData.SetPrinterOutputFile(printed);

        QCOMPARE(PrintRecurringInvoices(), 1);

        QCOMPARE(intPrintJob, int(pjDocument));
        QCOMPARE(intCurrentInvNumber, 501);
        QCOMPARE(recPrintData.strInvType, QStringLiteral("Invoice"));
        QCOMPARE(recPrintData.strInvValidFor, QString());
        QCOMPARE(recPrintData.strCustPmtTerms, QStringLiteral("Net 30"));
        QCOMPARE(recPrintData.strDepositPaidHdng, QStringLiteral("Amount Paid"));
        QCOMPARE(recPrintData.intFootNote, 3);
        QVERIFY(!recPrintData.blSignatureLine && !recPrintData.blPrintContract && !recPrintData.blPrintWarranty);
        QCOMPARE(recPrintData.blPrintOnLoad, std::uint8_t(0));   // only while the copy prints

        const QList<PdfPageWords> pages = ReadPdfWords(printed);
        QCOMPARE(pages.size(), 1);
        const PdfPageWords& page = pages[0];
        QVERIFY(PageContains(page, QStringLiteral("Invoice 501")));
        QVERIFY(PageHasText(page, DateToStr(QDate::currentDate())));
        QVERIFY(!PageHasText(page, QStringLiteral("1/15/2010")));
        QVERIFY(PageContains(page, QStringLiteral("Harbor Supply")));
        QVERIFY(PageContains(page, QStringLiteral("Portland ME 04101")));
        QVERIFY(PageContains(page, QStringLiteral("Monthly service")));
        QVERIFY(PageContains(page, QStringLiteral("Filters")));
        QVERIFY(PageContains(page, QStringLiteral("Invoice Total")));
        QVERIFY(PageContains(page, QStringLiteral("Foot Note 3 Here!!")));
        for (const char* money : {"$40.00", "$150.00", "$3.73", "$153.73"})
            QVERIFY2(PageHasText(page, QString::fromLatin1(money)), money);

        // The copy is stored with the source's own date.
        QCOMPARE(LoadDocument(501).document.header.strInvDate, QStringLiteral("1/15/2010"));
    }

    // Without a printer the run stops at the first copy with a clear message,
    // and nothing is stored for a copy that was not printed.
    void noPrinterStoresNoCopy()
    {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("this machine has a default printer");
        StoreRecurringInvoice(500);
        try {
            PrintRecurringInvoices();
            QFAIL("no error");
        } catch (const AppError& error) {
            QVERIFY(error.message().contains(QStringLiteral("no default printer")));
        }
        QCOMPARE(GetNextInvNumber(), 501);
        QCOMPARE(ShowLastPrintedDate(), QStringLiteral("Last Printed on:  Never"));
        QCOMPARE(recPrintData.blPrintOnLoad, std::uint8_t(0));
    }
};

FENNICK_TEST_MAIN(TestCopyPrinting)
#include "test_copyprinting.moc"
