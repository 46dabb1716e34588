#pragma once
// The print module: every printed page of the program comes from here. A caller
// leaves its data, sets intPrintJob and calls pPrint, pPrintPreview or
// pCreatePDFFile of modPrintData (inside its RunGuarded handler: a missing
// printer or an unwritable file is an AppError with a clear message). Each run
// starts from the stored layouts, so nothing carries over from one job to the next.
//
// What each job reads:
//   pjDocument (1)      recPrintData, the holders ListViewPriceItems and
//                       txtInvoiceNotes, blManualInvoice, intCurrentInvNumber and
//                       the company settings; the contract and the warranty from
//                       the database when recPrintData asks for them.
//   pjPriceSheet (2)    recPrintLists.priceRows (the price list as shown).
//   pjCustomerList (3)  recPrintLists.customerIds (the listed "Cust ID"s, in order).
//   pjPlanner (4)       recPrintLists.plannerRows, plannerListKind, plannerDates.
//   pjContract (5), pjWarranty (6)   the texts stored in the database.
//   pjTaxSalesReport (7) recPrintLists.reportType, reportHeadings, reportRows.
// A document's e-mail attachment: modPrintData.pCreatePDFFile(DocumentPdfPath()).
#include "printing/unitPrintData.h"
#include "printing/unitReportEngine.h"

#include <QString>
#include <functional>

class TmodPrintData {
public:
    // The pages of the current job, dispatched by intPrintJob. A document job
    // (kind 1) appends the contract and the warranty on new pages when flagged.
    ReportDocument pBuildJob(int printJob, std::function<void(int pageNumber)> pageStarted = {}) const;

    // To the default printer, without a dialog. Throws AppError when there is no
    // default printer or the printer fails.
    void pPrint();
    // Generates the pages and shows them in the preview window, modally.
    void pPrintPreview();
    // Writes the document (kind 1, with its contract and warranty pages when
    // flagged) to a PDF file with its document information. With e-invoice XML
    // the file is a PDF/A-3 that carries it as factur-x.xml.
    void pCreatePDFFile(const QString& path, const QByteArray& facturXml = {});

    // The preview window's title for a job kind.
    static QString PreviewTitle(int printJob);
    // The title a print job carries in the print queue: "Invoice 504", "Customer List".
    static QString PrintJobTitle(int printJob);

    // Sends pPrint to a PDF file through the same printer path instead of the
    // default printer; an empty path restores the printer. For machines without
    // a printer (tests).
    void SetPrinterOutputFile(const QString& path) { m_printerOutputFile = path; }

private:
    QString m_printerOutputFile;
};

extern TmodPrintData modPrintData;

// The e-mail attachment path of the current document: the temp folder, the type
// name and the number, ".pdf" (for example "Work Order17.pdf").
QString DocumentPdfPath();
