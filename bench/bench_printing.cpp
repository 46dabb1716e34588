// Time to render a document to PDF: a 40-line invoice with notes, logo,
// signature block, contract and warranty (three documents' worth of pages).
// Usage: bench_printing [output.pdf] — keeps the last PDF at that path.
#include "app/unitAppInfo.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "db/unitCreateDatabase.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitModPrintData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);

    QDir().mkpath(GetTempFolder());
    CreateDatabase();
    LoadCompanyData();
    recCompanyData.strCompName = QStringLiteral("Brightwater Services");
    recCompanyData.strCompAddress = QStringLiteral("12 Harbor Road");
    recCompanyData.strCompCity = QStringLiteral("Springfield");
    recCompanyData.strCompState = QStringLiteral("IL");
    recCompanyData.strCompZip = QStringLiteral("62701");
    recCompanyData.strCompPhone = QStringLiteral("555-0100");
    recCmpnyInvData.blShowQuantity = recCmpnyInvData.blShowPrcEach = recCmpnyInvData.blShowTotal = true;
    recCmpnyInvData.blLargeLogo = true;
    recCmpnyInvData.strAcceptanceInfo = QStringLiteral("I accept the work and the terms described above.");

    QImage logo(600, 300, QImage::Format_RGB32);
    logo.fill(QColor(40, 90, 160));
    QPainter(&logo).fillRect(100, 80, 400, 140, Qt::white);
    logo.save(GetLogoPath(), "JPEG");

    intCurrentInvNumber = 1043;
    blManualInvoice = false;
    intPrintJob = pjDocument;
    recPrintData = {};
    recPrintData.strInvType = QStringLiteral("Invoice");
    recPrintData.strInvDate = QStringLiteral("3/29/2010");
    recPrintData.strCustCompany = QStringLiteral("Jones Hardware");
    recPrintData.strCustName = QStringLiteral("Jones, Mary");
    recPrintData.strDepositPaidHdng = QStringLiteral("Amount Paid");
    recPrintData.strTotalHdng = QStringLiteral("Invoice Total");
    recPrintData.strDepositPaid = QStringLiteral("$0.00");
    recPrintData.strSubTotal = QStringLiteral("$1,980.00");
    recPrintData.strTax = QStringLiteral("$99.00");
    recPrintData.strTotal = QStringLiteral("$2,079.00");
    recPrintData.blSignatureLine = true;
    recPrintData.blPrintContract = true;
    recPrintData.blPrintWarranty = true;
    recPrintData.intFootNote = 1;
    ListViewPriceItems.clear();
    for (int line = 1; line <= 40; ++line)
        ListViewPriceItems.append({QStringLiteral("Window washing, floor %1").arg(line), QStringLiteral("2"),
                                   QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("12.5"),
                                   QStringLiteral("12.25")});
    txtInvoiceNotes = QStringLiteral("Thank you for your business.\r\nCall us for the spring schedule.");

    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir(GetTempFolder()).filePath(QStringLiteral("bench.pdf"));
    constexpr int kRuns = 20;
    QElapsedTimer timer;
    timer.start();
    for (int run = 0; run < kRuns; ++run) modPrintData.pCreatePDFFile(path);
    const double each = double(timer.elapsed()) / kRuns;
    const int pages = modPrintData.pBuildJob(pjDocument).pageCount();
    std::printf("printing: document of %d pages to PDF: %.1f ms per file (%d runs)\n", pages, each, kRuns);

    // A long list: the price sheet laid out and painted at preview resolution.
    constexpr int kItems = 100000;
    recPrintLists.priceRows.clear();
    for (int item = 0; item < kItems; ++item)
        recPrintLists.priceRows.append({QStringLiteral("Price item %1").arg(item), QStringLiteral("$12.50"),
                                        QStringLiteral("$3.25"), QStringLiteral("-1"), QStringLiteral("0")});
    timer.restart();
    const ReportDocument sheet = modPrintData.pBuildJob(pjPriceSheet);
    const qint64 layoutMs = timer.elapsed();
    QImage page(850, 1100, QImage::Format_RGB32);
    page.setDotsPerMeterX(int(100 / 0.0254));
    page.setDotsPerMeterY(int(100 / 0.0254));
    timer.restart();
    for (int index = 0; index < 10; ++index) {
        page.fill(Qt::white);
        QPainter painter(&page);
        paintPage(sheet.pages()[std::size_t(index)], painter);
    }
    std::printf("printing: price sheet of %d items: %d pages laid out in %lld ms, %.1f ms to paint a page\n", kItems,
                sheet.pageCount(), layoutMs, double(timer.elapsed()) / 10);
    return 0;
}
