#include "printing/unitReportOutput.h"

#include "app/AppError.h"
#include "app/unitPlugin.h"
#include "printing/PdfInfoPlugin.h"

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

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const TPluginInfo kPdfInfoPlugin{"fennick-pdfinfo.so", FENNICK_PDF_INFO_SYMBOL, pdfinfoplugin::kInterfaceVersion,
                                  "PDF support"};

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
    // Loaded the first time a PDF file is written.
    static pdfinfoplugin::PdfInfo& pdfInfo = LoadPlugin<pdfinfoplugin::PdfInfo>(kPdfInfoPlugin);
    const QString reason = pdfInfo.setDocumentInfo(inputPath, outputPath, info, facturXml, QDateTime::currentDateTime());
    if (!reason.isEmpty()) throw AppError(QStringLiteral("Cannot write the PDF file %1: %2").arg(outputPath, reason));
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
