#include "printing/unitReportLayout.h"

#include "app/AppError.h"

ReportElement& ReportLayout::element(const QString& elementName)
{
    if (const ReportElement* found = findElement(elementName)) return const_cast<ReportElement&>(*found);
    throw AppError(QStringLiteral("Report element %1 not found in %2").arg(elementName, name));
}

const ReportElement* ReportLayout::findElement(const QString& elementName) const
{
    for (const ReportElement& item : elements)
        if (item.name == elementName) return &item;
    if (region) {
        for (const ReportBand& band : region->bands)
            for (const ReportElement& item : band.elements)
                if (item.name == elementName) return &item;
    }
    return nullptr;
}

ReportBand& ReportLayout::band(const QString& bandName)
{
    if (region) {
        for (ReportBand& candidate : region->bands)
            if (candidate.name == bandName) return candidate;
    }
    throw AppError(QStringLiteral("Report band %1 not found in %2").arg(bandName, name));
}

ReportRegion& ReportLayout::regionNamed(const QString& regionName)
{
    if (region && region->name == regionName) return *region;
    throw AppError(QStringLiteral("Report region %1 not found in %2").arg(regionName, name));
}

QString PageCounterText(int pageNumber, int pageCount)
{
    return QStringLiteral("Page %1 of\u2019 %2").arg(pageNumber).arg(pageCount);
}

ReportElement MakeText(const QString& name, double left, double top, double width, ReportSource source,
                       const QString& text, Qt::Alignment alignment, ReportFontSpec font)
{
    ReportElement item;
    item.name = name;
    item.kind = ReportItemKind::Text;
    item.rect = QRectF(left, top, width, 0.2);
    item.font = font;
    item.alignment = alignment;
    item.source = source;
    item.text = text;
    return item;
}

ReportElement MakeMemo(const QString& name, double left, double top, double width, double height,
                       ReportSource source, const QString& text, bool truncated, bool flows)
{
    ReportElement item;
    item.name = name;
    item.kind = ReportItemKind::Memo;
    item.rect = QRectF(left, top, width, height);
    item.source = source;
    item.text = text;
    item.truncated = truncated;
    item.flows = flows;
    return item;
}

ReportElement MakeRectangle(const QString& name, double left, double top, double width, double height, QColor fill)
{
    ReportElement item;
    item.name = name;
    item.kind = ReportItemKind::Rectangle;
    item.rect = QRectF(left, top, width, height);
    item.fill = fill;
    return item;
}

ReportElement MakeLine(const QString& name, double left, double top, double width, bool dotted)
{
    ReportElement item;
    item.name = name;
    item.kind = ReportItemKind::HorizontalLine;
    item.rect = QRectF(left, top, width, 0);
    item.dotted = dotted;
    return item;
}
