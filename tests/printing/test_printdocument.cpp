// A printed document as the customer sees it: PDFs written by the print module
// and read back with poppler (positions in inches from the page's top-left).
#include "common/TestServer.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitInvoiceFiller.h"
#include "printing/unitModPrintData.h"
#include "printing/unitReportLayouts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QBuffer>
#include <cmath>

namespace {

double nan() { return std::nan(""); }

void writeLogo(int width, int height)
{
    QImage logo(width, height, QImage::Format_RGB32);
    logo.fill(QColor(30, 80, 150));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(logo.save(&buffer, "JPEG"));
    StoreLogoBytes(jpeg);
}

void setCompany(const QString& profile)
{
    recCompanyData = {};
    if (profile == QLatin1String("namePhone")) {
        recCompanyData.strCompName = QStringLiteral("Acme Works");
        recCompanyData.strCompPhone = QStringLiteral("555-0100");
    } else if (profile == QLatin1String("full")) {
        recCompanyData.strCompName = QStringLiteral("Acme Works");
        recCompanyData.strCompAddress = QStringLiteral("1 Main St");
        recCompanyData.strCompCity = QStringLiteral("Springfield");
        recCompanyData.strCompState = QStringLiteral("IL");
        recCompanyData.strCompZip = QStringLiteral("62701");
        recCompanyData.strCompPhone = QStringLiteral("555-0100");
        recCompanyData.strCompFax = QStringLiteral("555-0101");
        recCompanyData.strCompEmail = QStringLiteral("info@acme.test");
        recCompanyData.strCompWebSite = QStringLiteral("www.acme.test");
        recCompanyData.strCompLicName1 = QStringLiteral("Plumbing");
        recCompanyData.strCompLicNum1 = QStringLiteral("P-1");
        recCompanyData.strCompLicName2 = QStringLiteral("Gas");
        recCompanyData.strCompLicNum2 = QStringLiteral("G-2");
        recCompanyData.strCompLicName3 = QStringLiteral("Electric");
        recCompanyData.strCompLicNum3 = QStringLiteral("E-3");
    }
}

void addLines(int count)
{
    for (int line = 1; line <= count; ++line)
        ListViewPriceItems.append({QStringLiteral("Gutter%1 cleaning").arg(line), QStringLiteral("3"), QStringLiteral("-1"),
                                   QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("2.5")});
}

// Top of a phrase on a page, in inches; NaN (and a failure) when it is missing.
double topOf(const PdfPageWords& page, const QString& phrase)
{
    const std::optional<PdfWord> word = FindPhrase(page, phrase);
    if (!word) {
        QTest::qFail(qPrintable(QStringLiteral("not printed: ") + phrase), __FILE__, __LINE__);
        return nan();
    }
    return word->topInches();
}

double leftOf(const PdfPageWords& page, const QString& phrase)
{
    const std::optional<PdfWord> word = FindPhrase(page, phrase);
    if (!word) {
        QTest::qFail(qPrintable(QStringLiteral("not printed: ") + phrase), __FILE__, __LINE__);
        return nan();
    }
    return word->leftInches();
}

bool pageHasMoney(const PdfPageWords& page) { return PageHasText(page, QStringLiteral("$")); }

} // namespace

class TestPrintDocument : public QObject {
    Q_OBJECT

    QString m_pdfPath;

    QList<PdfPageWords> printDocument()
    {
        modPrintData.pCreatePDFFile(m_pdfPath);
        return ReadPdfWords(m_pdfPath);
    }

private slots:
    void init()
    {
        CreateTestDatabase();
        StoreLogoBytes(QByteArray());
        QDir(GetTempFolder()).removeRecursively();
        QDir().mkpath(GetTempFolder());
        m_pdfPath = QDir(GetTempFolder()).filePath(QStringLiteral("document.pdf"));
        setCompany(QStringLiteral("namePhone"));
        recCmpnyInvData.blLargeLogo = true;
        recCmpnyInvData.blShowQuantity = recCmpnyInvData.blShowPrcEach = recCmpnyInvData.blShowTotal = true;
        recCmpnyInvData.blShowTotalonWO = false;
        intCurrentInvNumber = 1043;
        blManualInvoice = false;
        intPrintJob = pjDocument;
        recPrintData = {};
        recPrintData.strInvType = QStringLiteral("Invoice");
        recPrintData.strInvDate = QStringLiteral("3/29/2010");
        recPrintData.strCustCompany = QStringLiteral("Jones Hardware");
        recPrintData.strCustName = QStringLiteral("Jones, Mary");
        recPrintData.strCustAddress = QStringLiteral("9 Elm Road");
        recPrintData.strCustCityStZip = QStringLiteral("Dayton OH 45402");
        recPrintData.strCustPhoneFax = QStringLiteral("Phone 5550199");
        recPrintData.strCustPmtTerms = QStringLiteral("Net 30");
        recPrintData.strCustPONumber = QStringLiteral("PO-77");
        recPrintData.strCustTaxExemptNum = QStringLiteral("TX-9");
        recPrintData.strDepositPaidHdng = QStringLiteral("Amount Paid");
        recPrintData.strTotalHdng = QStringLiteral("Invoice Total");
        recPrintData.strDepositPaid = QStringLiteral("$5.00");
        recPrintData.strSubTotal = QStringLiteral("$37.50");
        recPrintData.strTax = QStringLiteral("$1.50");
        recPrintData.strTotal = QStringLiteral("$39.00");
        ListViewPriceItems.clear();
        txtInvoiceNotes.clear();
    }

    // The company block takes the room it needs under the logo; everything
    // below follows it, with the customer bar never above 1.7.
    void companyBlockMovesTheDocument_data()
    {
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QString>("logo");
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("nameTop");
        QTest::addColumn<double>("phoneTop");
        QTest::addColumn<double>("bar");
        QTest::newRow("name and phone, large logo") << "namePhone" << "large" << "Invoice" << 1.4 << 1.6 << 1.8;
        QTest::newRow("name and phone, small logo") << "namePhone" << "small" << "Invoice" << 0.8 << 1.0 << 1.7;
        QTest::newRow("name and phone, no logo file") << "namePhone" << "none" << "Invoice" << 0.1 << 0.3 << 1.7;
        QTest::newRow("work order never prints the logo") << "namePhone" << "large" << "Work Order" << 0.1 << 0.3 << 1.7;
        QTest::newRow("no profile, no logo") << "none" << "none" << "Estimate" << nan() << nan() << 1.7;
        QTest::newRow("nine lines, large logo") << "full" << "large" << "Credit" << 1.4 << 2.0 << 3.2;
    }
    void companyBlockMovesTheDocument()
    {
        QFETCH(QString, profile);
        QFETCH(QString, logo);
        QFETCH(QString, type);
        QFETCH(double, nameTop);
        QFETCH(double, phoneTop);
        QFETCH(double, bar);
        setCompany(profile);
        recCmpnyInvData.blLargeLogo = logo == QLatin1String("large");
        if (logo != QLatin1String("none")) writeLogo(400, 200);
        recPrintData.strInvType = type;
        addLines(1);

        const QList<PdfPageWords> pages = printDocument();
        QCOMPARE(pages.size(), 1);
        const PdfPageWords& page = pages[0];
        if (!std::isnan(nameTop)) {
            COMPARE_INCHES(topOf(page, QStringLiteral("Acme Works")), nameTop);
            COMPARE_INCHES(topOf(page, QStringLiteral("555-0100")), phoneTop);
        }
        if (profile == QLatin1String("full")) {
            COMPARE_INCHES(topOf(page, QStringLiteral("Springfield, IL 62701")), 1.8);
            COMPARE_INCHES(topOf(page, QStringLiteral("Electric E-3")), 3.0);
        }
        const double b = bar + 0.1;
        // Customer block: the left column line by line, the boxes at their offsets.
        COMPARE_INCHES(topOf(page, QStringLiteral("Jones Hardware")), b);
        COMPARE_INCHES(topOf(page, QStringLiteral("Jones, Mary")), b + 0.2);
        COMPARE_INCHES(topOf(page, QStringLiteral("9 Elm Road")), b + 0.4);
        COMPARE_INCHES(topOf(page, QStringLiteral("Dayton OH 45402")), b + 0.6);
        COMPARE_INCHES(topOf(page, QStringLiteral("Phone 5550199")), b + 0.8);
        COMPARE_INCHES(topOf(page, QStringLiteral("Payment Terms")), b + 0.2);
        COMPARE_INCHES(topOf(page, QStringLiteral("Net 30")), b + 0.4);
        COMPARE_INCHES(topOf(page, QStringLiteral("P.O. Number")), b + 0.6);
        COMPARE_INCHES(topOf(page, QStringLiteral("PO-77")), b + 0.8);
        COMPARE_INCHES(topOf(page, QStringLiteral("Tax Exempt Number")), b + 0.6);
        COMPARE_INCHES(topOf(page, QStringLiteral("TX-9")), b + 0.8);
        COMPARE_INCHES(leftOf(page, QStringLiteral("TX-9")), 6.6);
        // Headings under the bottom bar, the first row under the rule.
        COMPARE_INCHES(topOf(page, QStringLiteral("Price Item Description")), b + 1.2);
        COMPARE_INCHES(topOf(page, QStringLiteral("Gutter1 cleaning")), b + 1.45);
        // The title and the page counter do not move.
        COMPARE_INCHES(topOf(page, type + QStringLiteral(" 1043")), 0.1);
        COMPARE_INCHES(topOf(page, QStringLiteral("Page 1 of\u2019 1")), 0.8);
    }

    void logoSizeFollowsTheSettingAndTheAspect_data()
    {
        QTest::addColumn<int>("pixelWidth");
        QTest::addColumn<int>("pixelHeight");
        QTest::addColumn<bool>("large");
        QTest::addColumn<double>("height");
        QTest::addColumn<double>("width");
        QTest::newRow("wide, small") << 400 << 100 << false << 0.7 << 2.8;
        QTest::newRow("wide, large: capped") << 400 << 100 << true << 1.3 << 3.85;
        QTest::newRow("square, large") << 300 << 300 << true << 1.3 << 1.3;
    }
    void logoSizeFollowsTheSettingAndTheAspect()
    {
        QFETCH(int, pixelWidth);
        QFETCH(int, pixelHeight);
        QFETCH(bool, large);
        QFETCH(double, height);
        QFETCH(double, width);
        writeLogo(pixelWidth, pixelHeight);
        recCmpnyInvData.blLargeLogo = large;
        ReportLayout layout = ReportInvoiceLayout();
        pSetInvoiceData(layout);
        const ReportElement& logo = layout.element(QStringLiteral("rvBitmapLogo"));
        QVERIFY(logo.visible);
        QCOMPARE(logo.rect.top(), 0.1);
        QVERIFY(std::abs(logo.rect.height() - height) < 1e-9);
        QVERIFY(std::abs(logo.rect.width() - width) < 1e-9);
        // The picture is really on the page.
        modPrintData.pCreatePDFFile(m_pdfPath);
        const QStringList images = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdfPath})
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(images.size(), 3);   // two heading lines and one image
    }

    // A logo file that cannot be read: the document prints without it, as
    // without a logo file, and the user is told once, not at every print.
    void unreadableLogoPrintsWithoutIt()
    {
        ScriptedMessages messages;
        StoreLogoBytes("not a picture");
        const PdfPageWords page = printDocument().value(0);
        COMPARE_INCHES(topOf(page, QStringLiteral("Acme Works")), 0.1);
        QCOMPARE(RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdfPath})
                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);   // no logo
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Information);
        QVERIFY2(messages.shown()[0].text.startsWith(QStringLiteral("The company logo ")),
                 qPrintable(messages.shown()[0].text));
        QVERIFY(messages.shown()[0].text.contains(QStringLiteral(" cannot be read (")));
        QVERIFY(messages.shown()[0].text.contains(QStringLiteral("printed without it")));
        printDocument();
        QCOMPARE(messages.shown().size(), 1);
    }

    // A very large logo stored earlier prints in its box at no more dots than
    // the box needs, so the PDF stays small.
    void largeStoredLogoPrintsScaledDown()
    {
        writeLogo(4000, 2000);
        const PdfPageWords page = printDocument().value(0);
        COMPARE_INCHES(topOf(page, QStringLiteral("Acme Works")), 1.4);   // under the large logo
        const QStringList images = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdfPath})
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(images.size(), 3);
        const QStringList columns = images.last().simplified().split(QLatin1Char(' '));
        QCOMPARE(columns.value(3) + QLatin1Char('x') + columns.value(4), QStringLiteral("780x390"));
        QVERIFY(QFileInfo(m_pdfPath).size() < 200 * 1024);
    }

    void phoneFaxLineKeepsItsLeadingBlank()
    {
        recCompanyData.strCompPhone.clear();
        recCompanyData.strCompFax = QStringLiteral("555-0101");
        ReportLayout layout = ReportInvoiceLayout();
        pSetInvoiceData(layout);
        QCOMPARE(layout.element(QStringLiteral("rvtxtCompPhoneFax")).text, QStringLiteral(" Fax: 555-0101"));
        QCOMPARE(layout.element(QStringLiteral("rvtxtCompPhoneFax")).rect.top(), 0.3);
    }

    // Amount columns and their headings are packed from the right.
    void amountColumnsPackFromTheRight_data()
    {
        QTest::addColumn<bool>("quantity");
        QTest::addColumn<bool>("priceEach");
        QTest::addColumn<bool>("total");
        QTest::addColumn<QStringList>("headings");   // right, middle, left
        QTest::addColumn<QStringList>("values");
        QTest::newRow("all three") << true << true << true << QStringList{"Total", "Price Each", "Quantity"}
                                   << QStringList{"$37.50", "$12.50", "3"};
        QTest::newRow("quantity and total") << true << false << true << QStringList{"Total", "Quantity", ""}
                                            << QStringList{"$37.50", "3", ""};
        QTest::newRow("quantity only") << true << false << false << QStringList{"Quantity", "", ""}
                                       << QStringList{"3", "", ""};
    }
    void amountColumnsPackFromTheRight()
    {
        QFETCH(bool, quantity);
        QFETCH(bool, priceEach);
        QFETCH(bool, total);
        QFETCH(QStringList, headings);
        QFETCH(QStringList, values);
        recCmpnyInvData.blShowQuantity = quantity;
        recCmpnyInvData.blShowPrcEach = priceEach;
        recCmpnyInvData.blShowTotal = total;
        addLines(1);
        const PdfPageWords page = printDocument().value(0);
        const double lefts[] = {7.0, 5.9, 4.8};
        const double rowTop = topOf(page, QStringLiteral("Gutter1 cleaning"));
        const double headingTop = topOf(page, QStringLiteral("Price Item Description"));
        for (int column = 0; column < 3; ++column) {
            if (headings[column].isEmpty()) continue;
            COMPARE_INCHES(leftOf(page, headings[column]), lefts[column]);
            COMPARE_INCHES(topOf(page, headings[column]), headingTop);
            const std::optional<PdfWord> value = FindPhrase(page, values[column]);
            QVERIFY(value);
            // The quantity "3" may also appear elsewhere; find the one on the row.
            bool onRow = false;
            for (const PdfWord& word : page)
                if (word.text == values[column] && std::abs(word.topInches() - rowTop) < 0.01 &&
                    std::abs(word.leftInches() - lefts[column]) < 0.01)
                    onRow = true;
            QVERIFY2(onRow, qPrintable(values[column]));
        }
        QCOMPARE(PageContains(page, QStringLiteral("Price Each")), priceEach);
    }

    void workOrderPrintsQuantityOnlyAndEmptyTotals()
    {
        writeLogo(400, 200);
        recPrintData.strInvType = QStringLiteral("Work Order");
        recPrintData.strDepositPaidHdng = QStringLiteral("Deposit Required");
        recPrintData.strTotalHdng = QStringLiteral("Work Order Total");
        addLines(1);
        PdfPageWords page = printDocument().value(0);
        for (const QString& label : {QStringLiteral("Deposit Required"), QStringLiteral("Sub Total"),
                                     QStringLiteral("Tax Total"), QStringLiteral("Work Order Total")})
            QVERIFY2(PageContains(page, label), qPrintable(label));
        QVERIFY(!pageHasMoney(page));
        QVERIFY(!PageContains(page, QStringLiteral("Price Each")));
        COMPARE_INCHES(leftOf(page, QStringLiteral("Quantity")), 7.0);
        QCOMPARE(RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdfPath})
                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);   // no logo

        // With money allowed on work orders the amounts and totals come back.
        recCmpnyInvData.blShowTotalonWO = true;
        page = printDocument().value(0);
        QVERIFY(PageContains(page, QStringLiteral("$37.50")));
        QVERIFY(PageContains(page, QStringLiteral("$39.00")));
        COMPARE_INCHES(leftOf(page, QStringLiteral("Quantity")), 4.8);
    }

    void manualFormPrintsPromptsAndNoRows()
    {
        blManualInvoice = true;
        recPrintData.strInvType = QStringLiteral("Estimate");
        recPrintData.strInvDate = QStringLiteral("Date:____/____/________");
        recPrintData.strDepositPaidHdng.clear();
        recPrintData.strTotalHdng = QStringLiteral("Estimate Total");
        recPrintData.blSignatureLine = true;
        addLines(3);   // held lines never print on a blank form
        txtInvoiceNotes = QStringLiteral("a note");

        const QList<PdfPageWords> pages = printDocument();
        QCOMPARE(pages.size(), 1);
        const PdfPageWords& page = pages[0];
        const double b = 1.8;   // name and phone without a logo: bar at 1.7
        const QStringList prompts = {"Company Name", "Name", "Address", "City,State Zip", "Phone, Fax"};
        for (int index = 0; index < prompts.size(); ++index) {
            bool found = false;
            for (const PdfWord& word : page)
                if (word.text == prompts[index].section(QLatin1Char(' '), 0, 0) &&
                    std::abs(word.topInches() - (b + 0.2 * index)) < 0.01 && std::abs(word.leftInches() - 0.5) < 0.01)
                    found = true;
            QVERIFY2(found, qPrintable(prompts[index]));
        }
        QVERIFY(!PageHasText(page, QStringLiteral("Gutter")));
        QVERIFY(!PageContains(page, QStringLiteral("a note")));
        QVERIFY(!PageContains(page, QStringLiteral("PO-77")));
        QVERIFY(PageContains(page, QStringLiteral("Net 30")));
        QVERIFY(PageContains(page, QStringLiteral("Date:____/____/________")));
        QVERIFY(PageContains(page, QStringLiteral("Estimate Total")));
        QVERIFY(!pageHasMoney(page));
        // The signature block stands between 7.3 and 8.8.
        COMPARE_INCHES(topOf(page, QStringLiteral("Authorized Signature")), 7.3 + 0.2);
        COMPARE_INCHES(topOf(page, QStringLiteral("Date")), 7.3 + 1.1);

        // Prompts and write-in lines are silver.
        ReportLayout layout = ReportInvoiceLayout();
        pSetInvoiceData(layout);
        QCOMPARE(layout.element(QStringLiteral("rvtxtCustComp")).fontColor, QColor(192, 192, 192));
        for (int index = 1; index <= 4; ++index) {
            const ReportElement& line = layout.element(QStringLiteral("rvhlineWriteIn%1").arg(index));
            QVERIFY(std::abs(line.rect.top() - (b + 0.2 * (index - 1) + 0.17)) < 1e-9);
            QCOMPARE(line.rect.left(), 0.5);
            QCOMPARE(line.rect.width(), 3.0);
            QCOMPARE(line.penColor, QColor(192, 192, 192));
        }
        const ReportRegion& region = *layout.region;
        QVERIFY(std::abs(region.rect.top() - 7.3) < 1e-9);
        QVERIFY(std::abs(region.rect.bottom() - 8.8) < 1e-9);
    }

    // 28 rows fill the area from 3.25 to 8.85; the rest continue on a page that
    // repeats the header, customer block, footer and totals.
    void rowsOverflowOntoAPageThatRepeatsEverything()
    {
        setCompany(QStringLiteral("none"));
        addLines(29);
        txtInvoiceNotes = QStringLiteral("Thanks again\r\n");
        recPrintData.blSignatureLine = true;

        const QList<PdfPageWords> pages = printDocument();
        QCOMPARE(pages.size(), 2);
        COMPARE_INCHES(topOf(pages[0], QStringLiteral("Gutter1 cleaning")), 3.25);
        COMPARE_INCHES(topOf(pages[0], QStringLiteral("Gutter28 cleaning")), 8.65);
        QVERIFY(!PageContains(pages[0], QStringLiteral("Gutter29 cleaning")));
        COMPARE_INCHES(topOf(pages[1], QStringLiteral("Gutter29 cleaning")), 3.25);
        COMPARE_INCHES(topOf(pages[1], QStringLiteral("Thanks again")), 3.45);
        // The signature block follows the last row, once.
        COMPARE_INCHES(topOf(pages[1], QStringLiteral("Authorized Signature")), 3.65 + 0.2);
        QVERIFY(!PageContains(pages[0], QStringLiteral("Authorized Signature")));
        for (int index = 0; index < 2; ++index) {
            const PdfPageWords& page = pages[index];
            COMPARE_INCHES(topOf(page, QStringLiteral("Page %1 of\u2019 2").arg(index + 1)), 0.8);
            COMPARE_INCHES(topOf(page, QStringLiteral("Invoice 1043")), 0.1);
            COMPARE_INCHES(topOf(page, QStringLiteral("Jones Hardware")), 1.8);
            COMPARE_INCHES(topOf(page, QStringLiteral("Price Item Description")), 3.0);
            COMPARE_INCHES(topOf(page, QStringLiteral("Invoice Total")), 10.0);
            COMPARE_INCHES(topOf(page, QStringLiteral("$39.00")), 10.0);
            COMPARE_INCHES(topOf(page, QStringLiteral("Amount Paid")), 9.1);
        }
    }

    void contractAndWarrantyFollowOnNewPages()
    {
        QStringList contractLines;
        for (int line = 1; line <= 70; ++line) contractLines << QStringLiteral("Clause %1 of the agreement.").arg(line);
        DbConnection connection;
        connection.execute(QStringLiteral("UPDATE tblContractWarranty SET strContractName = ?, strContract = ?, "
                                          "strWarrantyName = ?, strWarranty = ? WHERE intContractWarrantyID = 1;"),
                           {QStringLiteral("Our Contract"), contractLines.join(QStringLiteral("\r\n")),
                            QStringLiteral("Our Warranty"), QStringLiteral("One year on all labour.")});
        connection.close();
        setCompany(QStringLiteral("none"));
        addLines(29);   // two document pages
        recPrintData.blPrintContract = true;
        recPrintData.blPrintWarranty = true;

        const QList<PdfPageWords> pages = printDocument();
        QCOMPARE(pages.size(), 5);
        QVERIFY(PageContains(pages[1], QStringLiteral("Page 2 of\u2019 2")));
        // The long contract continues in its body area on a second page.
        COMPARE_INCHES(topOf(pages[2], QStringLiteral("Our Contract")), 0.3);
        COMPARE_INCHES(topOf(pages[2], QStringLiteral("Clause 1 of")), 0.8);
        QVERIFY(PageContains(pages[2], QStringLiteral("Page 1 of\u2019 2")));
        QVERIFY(PageContains(pages[3], QStringLiteral("Page 2 of\u2019 2")));
        COMPARE_INCHES(topOf(pages[3], QStringLiteral("Our Contract")), 0.3);
        QVERIFY(PageContains(pages[3], QStringLiteral("Clause 70 of the agreement.")));
        QVERIFY(!PageContains(pages[3], QStringLiteral("Clause 1 of the agreement.")));
        QVERIFY(PageContains(pages[4], QStringLiteral("Our Warranty")));
        QVERIFY(PageContains(pages[4], QStringLiteral("One year on all labour.")));
        QVERIFY(PageContains(pages[4], QStringLiteral("Page 1 of\u2019 1")));
        QVERIFY(!PageHasText(pages[4], QStringLiteral("Clause")));

        // Only the warranty: it follows the document directly.
        recPrintData.blPrintContract = false;
        const QList<PdfPageWords> withWarranty = printDocument();
        QCOMPARE(withWarranty.size(), 3);
        QVERIFY(PageContains(withWarranty[2], QStringLiteral("Our Warranty")));
    }

    void pdfCarriesAllSixInformationFields()
    {
        recCompanyData.strCompName = QStringLiteral("Br\u00fcckner & S\u00f6hne");
        recPrintData.strInvType = QStringLiteral("Work Order");
        intCurrentInvNumber = 17;
        addLines(1);
        const QString path = DocumentPdfPath();
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Work Order17.pdf"));
        QCOMPARE(QFileInfo(path).absolutePath(), QDir(GetTempFolder()).absolutePath());
        modPrintData.pCreatePDFFile(path);
        const QMap<QString, QString> info = ReadPdfInfo(path);
        QCOMPARE(info.value(QStringLiteral("Title")), QStringLiteral("Work Order 17"));
        QCOMPARE(info.value(QStringLiteral("Author")), recCompanyData.strCompName);
        QCOMPARE(info.value(QStringLiteral("Subject")), QStringLiteral("Work Order"));
        QCOMPARE(info.value(QStringLiteral("Keywords")), QStringLiteral("Work Order 17"));
        QCOMPARE(info.value(QStringLiteral("Creator")), recCompanyData.strCompName);
        QCOMPARE(info.value(QStringLiteral("Producer")), recCompanyData.strCompName);
        QCOMPARE(info.value(QStringLiteral("Page size")), QStringLiteral("612 x 792 pts (letter)"));
        // Writing again replaces the file; no temporary files are left behind.
        modPrintData.pCreatePDFFile(path);
        QCOMPARE(QDir(GetTempFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"Work Order17.pdf"});
    }

    void unwritablePdfPathIsAnError()
    {
        addLines(1);
        const QString path = QDir(GetTempFolder()).filePath(QStringLiteral("missing/folder/x.pdf"));
        QVERIFY_THROWS_EXCEPTION(AppError, modPrintData.pCreatePDFFile(path));
        QVERIFY(!QFile::exists(path));
    }
};

FENNICK_TEST_MAIN(TestPrintDocument)
#include "test_printdocument.moc"
