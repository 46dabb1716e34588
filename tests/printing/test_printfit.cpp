// Printed pages as a reader sees them, read back from the PDFs: long notes wrap
// within their width and continue on the next page, fields typed to their
// limits never run into their neighbours or off the paper, a customer's notes
// taller than a page continue on the next one, a PDF replaces the old file in
// one step, and a print job carries the report's own title.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitAppInfo.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitModPrintData.h"
#include "printing/unitReportEngine.h"
#include "printing/unitReportOutput.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// The words matching a pattern, page after page, in reading order.
QStringList WordsLike(const QList<PdfPageWords>& pages, const QRegularExpression& pattern, QList<int>* pageOfWord = nullptr)
{
    QStringList found;
    for (int p = 0; p < pages.size(); ++p) {
        PdfPageWords words = pages[p];
        std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
            return std::abs(a.yMin - b.yMin) > 1 ? a.yMin < b.yMin : a.xMin < b.xMin;
        });
        for (const PdfWord& word : words)
            if (pattern.match(word.text).hasMatch()) {
                found << word.text;
                if (pageOfWord) *pageOfWord << p + 1;
            }
    }
    return found;
}

QStringList NumberedWords(const QString& prefix, int count)
{
    QStringList words;
    for (int n = 1; n <= count; ++n) words << QStringLiteral("%1%2").arg(prefix).arg(n, 3, 10, QLatin1Char('0'));
    return words;
}

void setDocument()
{
    recCompanyData = {};
    recCompanyData.strCompName = QStringLiteral("Acme Works");
    recCmpnyInvData.blShowQuantity = recCmpnyInvData.blShowPrcEach = recCmpnyInvData.blShowTotal = true;
    intCurrentInvNumber = 504;
    blManualInvoice = false;
    intPrintJob = pjDocument;
    recPrintData = {};
    recPrintData.strInvType = QStringLiteral("Invoice");
    recPrintData.strInvDate = QStringLiteral("3/29/2010");
    recPrintData.strCustCompany = QStringLiteral("Jones Hardware");
    recPrintData.strCustName = QStringLiteral("Jones, Mary");
    recPrintData.strCustAddress = QStringLiteral("9 Elm Road");
    recPrintData.strCustCityStZip = QStringLiteral("Dayton OH 45402");
    recPrintData.strCustPmtTerms = QStringLiteral("Net 30");
    recPrintData.strCustPONumber = QStringLiteral("PO-77");
    recPrintData.strDepositPaidHdng = QStringLiteral("Amount Paid");
    recPrintData.strTotalHdng = QStringLiteral("Invoice Total");
    recPrintData.strSubTotal = QStringLiteral("$37.50");
    recPrintData.strTotal = QStringLiteral("$37.50");
    ListViewPriceItems = {{QStringLiteral("Gutter cleaning"), QStringLiteral("3"), QStringLiteral("-1"),
                           QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("2.5")}};
    txtInvoiceNotes.clear();
}

qint64 addCustomer(const QString& company, const QString& city, const QString& state, const QString& zip,
                   const QString& taxNumber, const QString& notes)
{
    DbConnection connection;
    connection.execute(QStringLiteral("INSERT INTO tblCustomers (strCustFirstName, strCustLastName, strCustCompany, "
                                      "strCustAddress, strCustCity, strCustState, strCustZipCode, strCustEmail, "
                                      "strCustPhone, strCustFax, strCustPhoneAreaCode, strCustFaxAreaCode, "
                                      "strCustPhoneExt, strCustTaxExmpt, strCustTaxExmpNmbr, strCustPmtTerms, "
                                      "strCustNotes) VALUES ('Mary','Jones',?,'1234 Long Address Boulevard',?,?,?,"
                                      "'mary.jones.longaddress@example-company.com','555-0199','555-0198','937',"
                                      "'937','1234','-1',?,'Net 30',?)"),
                       {company, city, state, zip, taxNumber, notes});
    return connection.lastInsertRowId();
}

} // namespace

class TestPrintFit : public QObject {
    Q_OBJECT

    QString m_pdf;

    QList<PdfPageWords> writeJob(int job)
    {
        const ReportDocument document = modPrintData.pBuildJob(job);
        WriteReportPdf(document, m_pdf, {});
        return ReadPdfWords(m_pdf);
    }

private slots:
    void init()
    {
        CreateTestDatabase();
        QFile::remove(GetLogoPath());
        QDir().mkpath(GetTempFolder());
        m_pdf = QDir(GetTempFolder()).filePath(QStringLiteral("fit.pdf"));
        setDocument();
    }

    // A 759-character notes paragraph wraps inside the line area; paragraphs
    // that outgrow the page continue on the next one, every word present.
    void longNotesWrapAndContinue()
    {
        const QStringList first = NumberedWords(QStringLiteral("n"), 108);   // "n001 " ... 108 x 5 chars + ...
        QString paragraph = first.join(QLatin1Char(' '));
        paragraph += QLatin1Char(' ') + QString(759 - paragraph.size() - 1, QLatin1Char('x')).left(219);
        paragraph = paragraph.left(759);
        QCOMPARE(paragraph.size(), 759);
        const QStringList more = NumberedWords(QStringLiteral("m"), 900);
        txtInvoiceNotes = paragraph + QStringLiteral("\r\n") + more.join(QLatin1Char(' '));

        const QList<PdfPageWords> pages = writeJob(pjDocument);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        QCOMPARE(WordsLike(pages, QRegularExpression(QStringLiteral("^n\\d{3}$"))), first);
        QList<int> pageOfWord;
        QCOMPARE(WordsLike(pages, QRegularExpression(QStringLiteral("^m\\d{3}$")), &pageOfWord), more);
        QVERIFY(pageOfWord.last() > 1);
        for (const PdfPageWords& page : pages)
            for (const PdfWord& word : page) QVERIFY2(word.xMax <= 8.2 * 72 + 0.5, qPrintable(word.text));
        const QStringList faults = LayoutFaults(pages);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // Fields typed to their limits are fitted to their boxes: nothing printed
    // over "P.O. Number" on a document nor over "Tax Number:" in the customer list.
    void fieldsAtTheirLimitsStayInTheirBoxes()
    {
        const QString cityStateZip = QStringLiteral("SOUTH SAN FRANCISCO WEST, CALIFORNIA NORTHERN 94080-1234567890");
        recPrintData.strCustCityStZip = cityStateZip;
        recPrintData.strCustCompany = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
        recPrintData.strCustPONumber = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWW");
        recPrintData.strCustTaxExemptNum = QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMMM");
        recPrintData.strCustPmtTerms = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
        recPrintData.strTotal = QStringLiteral("$922,337,203,685,477.00");
        ListViewPriceItems = {{QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"), QStringLiteral("1"),
                               QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("9999999999"),
                               QStringLiteral("9999999999")}};
        QList<PdfPageWords> pages = writeJob(pjDocument);
        QVERIFY(PageContains(pages.value(0), QStringLiteral("P.O. Number")));
        QStringList faults = LayoutFaults(pages);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

        const qint64 id = addCustomer(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"),
                                      QStringLiteral("SOUTH SAN FRANCISCO WEST"), QStringLiteral("CALIFORNIA NORTHERN"),
                                      QStringLiteral("94080-1234567890"), QStringLiteral("TX-1234567890-1234567890"),
                                      QStringLiteral("Short note"));
        recPrintLists.customerIds = {QString::number(id)};
        pages = writeJob(pjCustomerList);
        QVERIFY(PageContains(pages.value(0), QStringLiteral("Tax Number:")));
        QVERIFY(PageHasText(pages.value(0), QStringLiteral("SOUTH")));
        faults = LayoutFaults(pages);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The fitting rule itself: a smaller size down to the floor, then an ellipsis.
    void fittingShrinksThenCuts()
    {
        const ReportFontSpec font;   // Arial 10
        const FittedReportText fits = FitReportText(QStringLiteral("Short"), font, 2.0);
        QCOMPARE(fits.text, QStringLiteral("Short"));
        QCOMPARE(fits.font.pointSize, 10.0);
        const QString longer = QStringLiteral("SOUTH SAN FRANCISCO WEST, CA");
        const double natural = ReportTextWidth(longer, font);
        const FittedReportText shrunk = FitReportText(longer, font, natural * 0.85);
        QCOMPARE(shrunk.text, longer);
        QVERIFY(shrunk.font.pointSize < 10.0 && shrunk.font.pointSize >= kReportFitFloorPoints);
        QVERIFY(ReportTextWidth(shrunk.text, shrunk.font) <= natural * 0.85);
        const FittedReportText cut = FitReportText(longer, font, natural * 0.3);
        QCOMPARE(cut.font.pointSize, kReportFitFloorPoints);
        QVERIFY(cut.text.endsWith(QChar(0x2026)));
        QVERIFY(ReportTextWidth(cut.text, cut.font) <= natural * 0.3);
    }

    // A customer whose notes are taller than a page: the notes continue on the
    // next page, every line present, none beyond the paper.
    void tallCustomerNotesContinue()
    {
        const QStringList lines = NumberedWords(QStringLiteral("note"), 90);
        const qint64 tall = addCustomer(QStringLiteral("Tall Notes Ltd"), QStringLiteral("Dayton"), QStringLiteral("OH"),
                                        QStringLiteral("45402"), QStringLiteral("TX-9"), lines.join(QStringLiteral("\r\n")));
        const qint64 after = addCustomer(QStringLiteral("Next Customer Inc"), QStringLiteral("Dayton"),
                                         QStringLiteral("OH"), QStringLiteral("45402"), QString(), QStringLiteral("x"));
        recPrintLists.customerIds = {QString::number(after), QString::number(tall), QString::number(after)};
        const QList<PdfPageWords> pages = writeJob(pjCustomerList);
        QList<int> pageOfLine;
        QCOMPARE(WordsLike(pages, QRegularExpression(QStringLiteral("^note\\d{3}$")), &pageOfLine), lines);
        QVERIFY(pageOfLine.last() > pageOfLine.first());
        QVERIFY(PageContains(pages.last(), QStringLiteral("Next Customer Inc")));
        const QStringList faults = LayoutFaults(pages);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        for (const PdfPageWords& page : pages)
            for (const PdfWord& word : page) QVERIFY2(word.yMax <= 10.5 * 72, qPrintable(word.text));
    }

    // Writing a PDF over an existing one renames the new file into place: the
    // old file is never deleted first (the folder sees no deletion of its name).
    void pdfReplacesTheOldFileInOneStep()
    {
        QVERIFY(QFile(m_pdf).open(QIODevice::WriteOnly));
        const int watch = inotify_init1(IN_NONBLOCK);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(GetTempFolder()).constData(), IN_DELETE | IN_MOVED_TO) >= 0);
        modPrintData.pCreatePDFFile(m_pdf);
        QStringList events;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t length; (length = read(watch, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                const QString name = event->len ? QFile::decodeName(event->name) : QString();
                if (name == QStringLiteral("fit.pdf"))
                    events << ((event->mask & IN_DELETE) ? QStringLiteral("deleted") : QStringLiteral("moved in"));
                at += sizeof(inotify_event) + event->len;
            }
        }
        close(watch);
        QCOMPARE(events, QStringList{QStringLiteral("moved in")});
        QVERIFY(PageContains(ReadPdfWords(m_pdf).value(0), QStringLiteral("Invoice 504")));
    }

    // A print job carries the report's own title (the PDF printer writes it as
    // the document title), not the preview window's.
    void printJobsCarryTheReportTitle_data()
    {
        QTest::addColumn<int>("job");
        QTest::addColumn<QString>("title");
        QTest::newRow("document") << int(pjDocument) << "Invoice 504";
        QTest::newRow("customer list") << int(pjCustomerList) << "Customer List";
        QTest::newRow("price sheet") << int(pjPriceSheet) << "Price Sheet List";
    }
    void printJobsCarryTheReportTitle()
    {
        QFETCH(int, job);
        QFETCH(QString, title);
        intPrintJob = job;
        recPrintLists.customerIds = {QStringLiteral("1")};
        QCOMPARE(TmodPrintData::PrintJobTitle(job), title);
        modPrintData.SetPrinterOutputFile(m_pdf);
        modPrintData.pPrint();
        modPrintData.SetPrinterOutputFile(QString());
        QCOMPARE(ReadPdfInfo(m_pdf).value(QStringLiteral("Title")), title);
    }
};

FENNICK_TEST_MAIN(TestPrintFit)
#include "test_printfit.moc"
