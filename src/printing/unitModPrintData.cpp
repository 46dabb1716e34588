#include "printing/unitModPrintData.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitModalRunner.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitInvoiceFiller.h"
#include "printing/unitReportLayouts.h"
#include "printing/unitReportOutput.h"
#include "printing/unitfrmPrntPreview.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>
#include <memory>

int intPrintJob = 0;
TrecPrintData recPrintData;
TrecPrintLists recPrintLists;
TmodPrintData modPrintData;

namespace {

// Title and body of the contract or the warranty, from the one row that holds both.
std::pair<QString, QString> readContractOrWarranty(bool contract)
{
    DbConnection connection;
    DbStatement read = connection.prepare(
        contract ? QStringLiteral("SELECT strContractName,strContract FROM tblContractWarranty WHERE intContractWarrantyID = 1;")
                 : QStringLiteral("SELECT strWarrantyName,strWarranty FROM tblContractWarranty WHERE intContractWarrantyID = 1;"));
    read.step();
    return {read.columnText(0), read.columnText(1)};
}

void addContractOrWarranty(ReportDocument& document, ReportProject& project, bool contract)
{
    ReportLayout* layout = project.report(contract ? QStringLiteral("ReportContract") : QStringLiteral("ReportWarranty"));
    if (!layout) return;
    const auto [title, body] = readContractOrWarranty(contract);
    layout->setParameter(contract ? QStringLiteral("rvstrContractTitle") : QStringLiteral("rvstrWarrantyTitle"), title);
    layout->setParameter(contract ? QStringLiteral("rvstrContractBody") : QStringLiteral("rvstrWarrantyBody"), body);
    document.addReport(*layout, nullptr);
}

void addDocument(ReportDocument& document, ReportProject& project)
{
    if (ReportLayout* invoice = project.report(QStringLiteral("ReportInvoice"))) {
        pSetInvoiceData(*invoice);
        InvoiceLinesFeed feed(ListViewPriceItems, txtInvoiceNotes, blManualInvoice, recPrintData.strInvType,
                              recCmpnyInvData);
        const ReportElement& note = invoice->element(QStringLiteral("rvtxtNote"));
        feed.setNotesWrap(note.rect.width(), note.font);
        document.addReport(*invoice, &feed);
    }
    if (recPrintData.blPrintContract) addContractOrWarranty(document, project, true);
    if (recPrintData.blPrintWarranty) addContractOrWarranty(document, project, false);
}

void addPlanner(ReportDocument& document, ReportProject& project)
{
    ReportLayout* layout = project.report(QStringLiteral("ReportPlanner"));
    if (!layout) return;
    const bool dayList = recPrintLists.plannerListKind == 0;
    const QString dayHeadings[] = {QStringLiteral("rvstrActStartDayHdng"), QStringLiteral("rvstrActEndDayHdng"),
                                   QStringLiteral("rvstrActivityDayHdng")};
    const QString dayCaptions[] = {QStringLiteral("Start Date"), QStringLiteral("End Date"), QStringLiteral("Activity")};
    const QString listHeadings[] = {QStringLiteral("rvstrActDateWkMnthHdng"), QStringLiteral("rvstrActStartWkMnthHdng"),
                                    QStringLiteral("rvstrActEndWkMnthHdng"), QStringLiteral("rvstrActivityWkMnthHdng")};
    const QString listCaptions[] = {QStringLiteral("Activity Date"), QStringLiteral("Start Date"),
                                    QStringLiteral("End Date"), QStringLiteral("Activity")};
    for (int index = 0; index < 3; ++index)
        layout->setParameter(dayHeadings[index], dayList ? dayCaptions[index] : QString());
    for (int index = 0; index < 4; ++index)
        layout->setParameter(listHeadings[index], dayList ? QString() : listCaptions[index]);
    layout->setParameter(QStringLiteral("rvstrPlannerDates"), recPrintLists.plannerDates);
    const QString kinds[] = {QStringLiteral("Day Planner List"), QStringLiteral("Week Planner List"),
                             QStringLiteral("Month Planner List")};
    const int kind = std::clamp(recPrintLists.plannerListKind, 0, 2);
    layout->setParameter(QStringLiteral("rvstrPlannerTitle"), kinds[kind] + QStringLiteral(" of Activities for:"));
    PlannerFeed feed(recPrintLists.plannerRows, dayList);
    document.addReport(*layout, &feed);
}

void addTaxSalesReport(ReportDocument& document, ReportProject& project)
{
    ReportLayout* layout = project.report(QStringLiteral("ReportTaxSalesReport"));
    if (!layout) return;
    const QString titles[] = {QStringLiteral("Sales Report"), QStringLiteral("Tax Report"),
                              QStringLiteral("Sales and Tax Report")};
    const int type = recPrintLists.reportType;
    layout->setParameter(QStringLiteral("rvstrTaxSalesTitle"), type >= 0 && type <= 2 ? titles[type] : QString());
    const QString headings[] = {QStringLiteral("rvstrDateHdng"),     QStringLiteral("rvstrTypeHdng"),
                                QStringLiteral("rvstrTax1Hdng"),     QStringLiteral("rvstrTax2Hdng"),
                                QStringLiteral("rvstrTax3Hdng"),     QStringLiteral("rvstrTaxTotalHdng"),
                                QStringLiteral("rvstrSalesTotalHdng")};
    for (std::size_t index = 0; index < 7; ++index)
        layout->setParameter(headings[index], recPrintLists.reportHeadings[index]);
    ReportsFeed feed(recPrintLists.reportRows);
    document.addReport(*layout, &feed);
}

// The small status window shown while pages go to the printer.
class ReportStatusWindow : public QDialog {
public:
    explicit ReportStatusWindow(QString line) : m_text(std::move(line))
    {
        setObjectName(QStringLiteral("frmReportStatus"));
        setWindowTitle(QStringLiteral("Report Status"));
        m_line = new QLabel(this);
        m_line->setTextFormat(Qt::PlainText);
        m_line->setObjectName(QStringLiteral("lblReportStatus"));
        m_line->setMinimumWidth(240);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_line);
    }
    void showPage(int pageNumber)
    {
        m_line->setText(m_text.arg(pageNumber));
        if (!isVisible()) show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    QString m_text;
    QLabel* m_line = nullptr;
};

} // namespace

ReportDocument TmodPrintData::pBuildJob(int printJob, std::function<void(int)> pageStarted) const
{
    ReportDocument document;
    document.setPageStarted(std::move(pageStarted));
    ReportProject project = LoadReportProject();
    switch (printJob) {
    case pjDocument: addDocument(document, project); break;
    case pjPriceSheet:
        if (ReportLayout* layout = project.report(QStringLiteral("ReportPriceSheet"))) {
            layout->setParameter(QStringLiteral("PriceSheetHeader"), QStringLiteral("Price Sheet List"));
            PriceSheetFeed feed(recPrintLists.priceRows);
            document.addReport(*layout, &feed);
        }
        break;
    case pjCustomerList:
        if (ReportLayout* layout = project.report(QStringLiteral("ReportCustomerList"))) {
            layout->setParameter(QStringLiteral("rvstrCustomerListTitle"), QStringLiteral("Customer List"));
            CustomerListFeed feed(recPrintLists.customerIds);
            document.addReport(*layout, &feed);
        }
        break;
    case pjPlanner: addPlanner(document, project); break;
    case pjContract: addContractOrWarranty(document, project, true); break;
    case pjWarranty: addContractOrWarranty(document, project, false); break;
    case pjTaxSalesReport: addTaxSalesReport(document, project); break;
    default: break;   // an unknown job prints nothing
    }
    return document;
}

QString TmodPrintData::PrintJobTitle(int printJob)
{
    switch (printJob) {
    case pjDocument: return recPrintData.strInvType + QLatin1Char(' ') + QString::number(intCurrentInvNumber);
    case pjPriceSheet: return QStringLiteral("Price Sheet List");
    case pjCustomerList: return QStringLiteral("Customer List");
    case pjPlanner: return QStringLiteral("Planner Activities");
    case pjContract: return QStringLiteral("Contract");
    case pjWarranty: return QStringLiteral("Warranty");
    case pjTaxSalesReport: return QStringLiteral("Sales and Tax Report");
    default: return QString();
    }
}

QString TmodPrintData::PreviewTitle(int printJob)
{
    switch (printJob) {
    case pjDocument: return QStringLiteral("Preview ") + recPrintData.strInvType + QLatin1Char(' ') + QString::number(intCurrentInvNumber);
    case pjPriceSheet: return QStringLiteral("Preview Price Sheet List");
    case pjCustomerList: return QStringLiteral("Preview Customer List");
    case pjPlanner: return QStringLiteral("Preview Planner Activities");
    case pjContract: return QStringLiteral("Preview Contract");
    case pjWarranty: return QStringLiteral("Preview Warranty");
    case pjTaxSalesReport: return QStringLiteral("Sales and Tax Report");
    default: return QString();
    }
}

void TmodPrintData::pPrint()
{
    std::unique_ptr<QPrinter> printer;
    if (m_printerOutputFile.isEmpty()) {
        const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
        if (defaultPrinter.isNull())
            throw AppError(QStringLiteral("There is no default printer on this computer. "
                                          "Set up a printer as the default printer and print again"));
        printer = std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
    } else {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_printerOutputFile);
    }
    const ReportDocument document = pBuildJob(intPrintJob);
    if (document.isEmpty()) return;
    SetupReportPrinter(*printer);
    // The print queue shows the report's own title, not the preview window's.
    printer->setDocName(PrintJobTitle(intPrintJob));
    ReportStatusWindow status(QStringLiteral("Printing page %1"));
    PrintReportDocument(document, *printer, [&status](int pageNumber) { status.showPage(pageNumber); });
}

void TmodPrintData::pPrintPreview()
{
    const int job = intPrintJob;
    const QString title = PreviewTitle(job);
    ReportDocument document;
    {
        ReportStatusWindow status(QStringLiteral("Generating page %1"));
        document = pBuildJob(job, [&status](int pageNumber) { status.showPage(pageNumber); });
        document.setPageStarted({});
    }
    TfrmPrntPreview preview(title, std::move(document), [this] { pPrint(); });
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    RunModal(preview);
}

void TmodPrintData::pCreatePDFFile(const QString& path, const QByteArray& facturXml)
{
    const QString caption = recPrintData.strInvType + QLatin1Char(' ') + QString::number(intCurrentInvNumber);
    const ReportDocument document = pBuildJob(pjDocument);
    PdfDocumentInfo info;
    info.title = caption;
    info.author = recCompanyData.strCompName;
    info.subject = recPrintData.strInvType;
    info.keywords = caption;
    info.creator = recCompanyData.strCompName;
    info.producer = recCompanyData.strCompName;
    WriteReportPdf(document, path, info, facturXml);
}

QString DocumentPdfPath()
{
    return QDir(GetTempFolder()).filePath(recPrintData.strInvType + QString::number(intCurrentInvNumber) +
                                          QStringLiteral(".pdf"));
}
