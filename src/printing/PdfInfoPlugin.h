#pragma once
// The interface between the program and its PDF-information plug-in (libqpdf,
// printing/qpdf/), loaded the first time a PDF file is written (app/unitPlugin.h).
#include "printing/unitReportOutput.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace pdfinfoplugin {

// Raised whenever this header or PdfDocumentInfo changes.
constexpr int kInterfaceVersion = 1;

class PdfInfo {
public:
    virtual ~PdfInfo() = default;
    // Writes the PDF at inputPath to outputPath with the document information
    // (and, with facturXml, as a PDF/A-3b carrying it; see SetPdfDocumentInfo).
    // Empty when done, otherwise the reason it could not be written.
    virtual QString setDocumentInfo(const QString& inputPath, const QString& outputPath, const PdfDocumentInfo& info,
                                    const QByteArray& facturXml, const QDateTime& stamp) = 0;
};

} // namespace pdfinfoplugin

#define FENNICK_PDF_INFO_SYMBOL "FennickPdfInfo"
