#include "printing/unitReportOutput.h"

#include "app/AppError.h"
#include "printing/unitPdfA3.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryFile>

// Use the current pointer types of the qpdf API (no transition warnings).
#define POINTERHOLDER_TRANSITION 4
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

namespace {

QPageLayout letterPortrait()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Inch);
}

void paintAll(const ReportDocument& document, QPainter& painter, QPagedPaintDevice& device,
              const std::function<void(int)>& onPage)
{
    for (int index = 0; index < document.pageCount(); ++index) {
        if (index > 0) device.newPage();
        if (onPage) onPage(index + 1);
        paintPage(document.pages()[std::size_t(index)], painter);
    }
}

// A reserved, empty file beside the target; removed again unless renamed.
QString reserveTemporaryFile(const QString& folder, QTemporaryFile& file)
{
    file.setFileTemplate(QDir(folder).filePath(QStringLiteral(".fennick-XXXXXX.pdf")));
    if (!file.open()) throw AppError(QStringLiteral("Cannot create a file in %1: %2").arg(folder, file.errorString()));
    file.close();
    return file.fileName();
}

} // namespace

void SetupReportPrinter(QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(letterPortrait());
}

void PrintReportDocument(const ReportDocument& document, QPrinter& printer, const std::function<void(int)>& onPage)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw AppError(QStringLiteral("The printer %1 could not be started").arg(printer.printerName()));
    paintAll(document, painter, printer, onPage);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw AppError(QStringLiteral("The printer %1 reported an error while printing").arg(printer.printerName()));
}

void SetPdfDocumentInfo(const QString& inputPath, const QString& outputPath, const PdfDocumentInfo& info,
                        const QByteArray& facturXml)
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
            MakeFacturXPdf(pdf, info, facturXml, QDateTime::currentDateTime());
        }
        QPDFWriter writer(pdf, QFile::encodeName(outputPath).constData());
        // The associated file (/AF) is a PDF/A-3 feature of PDF 1.7.
        if (!facturXml.isEmpty()) writer.setMinimumPDFVersion("1.7");
        writer.write();
    } catch (const std::exception& error) {
        throw AppError(QStringLiteral("Cannot write the PDF file %1: %2").arg(outputPath, QString::fromLocal8Bit(error.what())));
    }
}

void WriteReportPdf(const ReportDocument& document, const QString& path, const PdfDocumentInfo& info,
                    const QByteArray& facturXml)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw AppError(QStringLiteral("Cannot write the PDF file %1: the folder does not exist").arg(path));

    QTemporaryFile rendered;
    QTemporaryFile finished;
    const QString renderedPath = reserveTemporaryFile(folder, rendered);
    const QString finishedPath = reserveTemporaryFile(folder, finished);
    {
        QPdfWriter writer(renderedPath);
        writer.setPageLayout(letterPortrait());
        writer.setResolution(1200);
        // Qt's PDF/A mode embeds every font and writes the sRGB output intent.
        if (!facturXml.isEmpty()) writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setTitle(info.title);
        writer.setCreator(info.creator);
        QPainter painter;
        if (!painter.begin(&writer)) throw AppError(QStringLiteral("Cannot write the PDF file %1").arg(path));
        paintAll(document, painter, writer, {});
        painter.end();
    }
    SetPdfDocumentInfo(renderedPath, finishedPath, info, facturXml);

    // One rename puts the new file in place of the old one: at every moment the
    // path holds either the old file or the new one, never nothing.
    if (std::rename(QFile::encodeName(finishedPath).constData(), QFile::encodeName(path).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        if (QFileInfo::exists(path))
            throw AppError(QStringLiteral("Cannot replace the file %1; it may be open in another program (%2)").arg(path, reason));
        throw AppError(QStringLiteral("Cannot write the PDF file %1 (%2)").arg(path, reason));
    }
    finished.setAutoRemove(false);
}
