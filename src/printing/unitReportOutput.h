#pragma once
// The outputs of the report engine: pages to a PDF file (with its document
// information) and pages to a printer (also the preview's printer). Both paint
// every page through paintPage.
#include "printing/unitReportEngine.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QPrinter;

struct PdfDocumentInfo {
    QString title;
    QString author;
    QString subject;
    QString keywords;
    QString creator;
    QString producer;
};

// Sets US Letter, portrait, the whole sheet as the paint area.
void SetupReportPrinter(QPrinter& printer);

// Paints every page on the printer (already set up); onPage is told each page
// number before it is painted. Throws AppError when the printer cannot start.
void PrintReportDocument(const ReportDocument& document, QPrinter& printer,
                         const std::function<void(int pageNumber)>& onPage = {});

// Writes the pages to a PDF file with all six document information fields. The
// file appears complete or not at all: it is written beside the target under a
// temporary name and renamed into place. Throws AppError when it cannot be written.
// With e-invoice XML (facturXml not empty) the file is a PDF/A-3b carrying it as
// factur-x.xml (see unitPdfA3.h); the pages look the same.
void WriteReportPdf(const ReportDocument& document, const QString& path, const PdfDocumentInfo& info,
                    const QByteArray& facturXml = {});

// Rewrites the document information dictionary of an existing PDF file into a
// new file; with facturXml, also makes it the PDF/A-3b that carries the XML.
void SetPdfDocumentInfo(const QString& inputPath, const QString& outputPath, const PdfDocumentInfo& info,
                        const QByteArray& facturXml = {});
