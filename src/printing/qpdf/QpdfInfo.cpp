// The PDF-information plug-in: the document information and the PDF/A-3 part of
// a PDF written by Qt, through libqpdf. Built as a plug-in of its own
// (fennick-pdfinfo.so) and loaded by printing/unitReportOutput the first time a
// PDF file is written, so the program starts without libqpdf.
#include "printing/PdfInfoPlugin.h"
#include "printing/qpdf/unitPdfA3.h"

#include <QFile>

// Use the current pointer types of the qpdf API (no transition warnings).
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>

namespace {

class QpdfInfo final : public pdfinfoplugin::PdfInfo {
public:
    QString setDocumentInfo(const QString& inputPath, const QString& outputPath, const PdfDocumentInfo& info,
                            const QByteArray& facturXml, const QDateTime& stamp) override
    {
        try {
            QPDF pdf;
            pdf.processFile(QFile::encodeName(inputPath).constData());
            QPDFObjectHandle dictionary = QPDFObjectHandle::newDictionary();
            auto put = [&dictionary](const char* key, const QString& value) {
                dictionary.replaceKey(key, QPDFObjectHandle::newUnicodeString(value.toStdString()));
            };
            put("/Title", info.title);
            put("/Author", info.author);
            put("/Subject", info.subject);
            put("/Keywords", info.keywords);
            put("/Creator", info.creator);
            put("/Producer", info.producer);
            pdf.getTrailer().replaceKey("/Info", pdf.makeIndirectObject(dictionary));
            QPDFObjectHandle root = pdf.getRoot();
            if (facturXml.isEmpty()) {
                // The XMP copy of the information would contradict the dictionary; readers
                // fall back to the dictionary without it.
                if (root.hasKey("/Metadata")) root.removeKey("/Metadata");
            } else {
                MakeFacturXPdf(pdf, info, facturXml, stamp);
            }
            QPDFWriter writer(pdf, QFile::encodeName(outputPath).constData());
            // The associated file (/AF) is a PDF/A-3 feature of PDF 1.7.
            if (!facturXml.isEmpty()) writer.setMinimumPDFVersion("1.7");
            writer.write();
            return {};
        } catch (const std::exception& error) {
            const QString reason = QString::fromLocal8Bit(error.what());
            return reason.isEmpty() ? QStringLiteral("unknown error") : reason;
        }
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) pdfinfoplugin::PdfInfo* FennickPdfInfo(int interfaceVersion)
{
    if (interfaceVersion != pdfinfoplugin::kInterfaceVersion) return nullptr;
    static QpdfInfo pdfInfo;
    return &pdfInfo;
}
