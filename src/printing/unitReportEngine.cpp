#include "printing/unitReportEngine.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {

// Line breaks are computed once at this resolution, whatever the output device.
constexpr double kReferenceDpi = 1200.0;
// Tolerance for comparing positions in inches (sums of tenths are not exact).
constexpr double kEpsilon = 1e-6;

const QPaintDevice* referenceDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(kReferenceDpi / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

QString textFor(const ReportElement& element, const ReportLayout& layout, const PlacedBand* band, int pageNumber,
                int pageCount)
{
    switch (element.source) {
    case ReportSource::FixedText:
    case ReportSource::None: return element.text;
    case ReportSource::Parameter: return layout.parameters.value(element.text);
    case ReportSource::Field: return band ? band->value(element.text) : QString();
    case ReportSource::PageCounter: return PageCounterText(pageNumber, pageCount);
    }
    return QString();
}

int linesThatFit(double heightInches, double lineHeight)
{
    return int(std::floor(heightInches / lineHeight + kEpsilon));
}

QString fieldText(const QVariant& value, FeedFieldType type)
{
    if (type == FeedFieldType::Boolean) return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return value.toString();
}

} // namespace

QFont ReportFont(const ReportFontSpec& fontStyle)
{
    // Layouts are measured in Arial; Liberation Sans has the same metrics.
    const QString family = fontStyle.family.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0
                               ? QStringLiteral("Liberation Sans")
                               : fontStyle.family;
    QFont font(family);
    font.setPointSizeF(fontStyle.pointSize);
    font.setBold(fontStyle.bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

double ReportLineHeight(const ReportFontSpec& fontStyle)
{
    return QFontMetricsF(ReportFont(fontStyle), referenceDevice()).lineSpacing() / kReferenceDpi;
}

QStringList WrapReportText(const QString& text, const ReportFontSpec& fontStyle, double widthInches)
{
    QStringList lines;
    if (text.isEmpty()) return lines;
    const QFont font = ReportFont(fontStyle);
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList paragraphs = normalized.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font, const_cast<QPaintDevice*>(referenceDevice()));
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(widthInches * kReferenceDpi);
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (piece.endsWith(QLatin1Char(' '))) piece.chop(1);
            lines << piece;
        }
        layout.endLayout();
    }
    return lines;
}

double ReportTextWidth(const QString& text, const ReportFontSpec& fontStyle)
{
    return QFontMetricsF(ReportFont(fontStyle), referenceDevice()).horizontalAdvance(text) / kReferenceDpi;
}

FittedReportText FitReportText(const QString& text, const ReportFontSpec& fontStyle, double widthInches)
{
    FittedReportText fitted{fontStyle, text};
    if (widthInches <= 0 || ReportTextWidth(text, fontStyle) <= widthInches + kEpsilon) return fitted;
    // Half a point at a time down to the floor (never above the element's own size).
    const double floor = std::min(fontStyle.pointSize, kReportFitFloorPoints);
    for (double size = fontStyle.pointSize - 0.5; size >= floor - kEpsilon; size -= 0.5) {
        fitted.font.pointSize = std::max(size, floor);
        if (ReportTextWidth(text, fitted.font) <= widthInches + kEpsilon) return fitted;
    }
    fitted.font.pointSize = floor;
    const QFontMetricsF metrics(ReportFont(fitted.font), referenceDevice());
    fitted.text = metrics.elidedText(text, Qt::ElideRight, widthInches * kReferenceDpi);
    return fitted;
}

QString ReportElementText(const ReportElement& element, const ReportPage& page, const PlacedBand* band)
{
    return textFor(element, *page.layout, band, page.pageNumber, page.pageCount);
}

void ReportDocument::addReport(const ReportLayout& source, ReportFeed* feed)
{
    auto layout = std::make_shared<ReportLayout>(source);
    const std::size_t firstPage = m_pages.size();
    auto startPage = [&] {
        ReportPage page;
        page.layout = layout;
        page.pageNumber = int(m_pages.size() - firstPage) + 1;
        m_pages.push_back(std::move(page));
        if (m_pageStarted) m_pageStarted(int(m_pages.size()));
    };
    startPage();

    // A flowing memo (a long body text) continues in the same box on following pages.
    for (const ReportElement& element : layout->elements) {
        if (!element.visible || !element.flows || element.kind != ReportItemKind::Memo) continue;
        const QStringList lines = WrapReportText(textFor(element, *layout, nullptr, 1, 1), element.font,
                                                 element.rect.width());
        const int perPage = std::max(1, linesThatFit(element.rect.height(), ReportLineHeight(element.font)));
        for (int start = 0; start < lines.size(); start += perPage) {
            if (start > 0) startPage();
            m_pages.back().flowLines = lines.mid(start, perPage);
        }
        break;
    }

    if (layout->region) {
        const ReportRegion& region = *layout->region;
        const double regionTop = region.rect.top();
        const double regionBottom = region.rect.bottom();
        double cursor = regionTop;

        // Read every row once, before placing anything.
        auto fieldIndex = std::make_shared<QHash<QString, int>>();
        std::vector<QStringList> rows;
        if (feed) {
            const std::vector<FeedField> fields = feed->fields();
            for (std::size_t column = 0; column < fields.size(); ++column)
                fieldIndex->insert(fields[column].name, int(column));
            const int count = feed->rowCount();
            rows.reserve(std::size_t(std::max(count, 0)));
            for (int index = 0; index < count; ++index) {
                const QVariantList values = feed->row(index);
                QStringList row;
                row.reserve(qsizetype(fields.size()));
                for (std::size_t column = 0; column < fields.size(); ++column)
                    row << (column < std::size_t(values.size()) ? fieldText(values[int(column)], fields[column].type)
                                                                : QString());
                rows.push_back(std::move(row));
            }
        }

        auto place = [&](const ReportBand& band, QStringList values) {
            PlacedBand placed;
            placed.band = &band;
            placed.height = band.height;
            placed.fieldIndex = fieldIndex;
            placed.values = std::move(values);
            for (const ReportElement& element : band.elements) {
                if (element.kind != ReportItemKind::Memo || !element.visible) continue;
                QStringList lines = WrapReportText(textFor(element, *layout, &placed, 1, 1), element.font,
                                                   element.rect.width());
                const double lineHeight = ReportLineHeight(element.font);
                if (element.truncated) {
                    lines = lines.mid(0, linesThatFit(element.rect.height(), lineHeight));
                } else {
                    // An untruncated memo grows its band rather than overprint the next one.
                    const double extra = lines.size() * lineHeight - element.rect.height();
                    if (extra > kEpsilon) placed.height = std::max(placed.height, band.height + extra);
                }
                placed.memoLines.insert(element.name, lines);
            }
            // A band that does not fit goes to a new page; an empty page takes any band.
            if (cursor + placed.height > regionBottom + kEpsilon && !m_pages.back().bands.empty()) {
                startPage();
                cursor = regionTop;
            }
            // A band taller than a whole page is split: what fits is printed here and
            // the rest of its memos continues at the top of the next page.
            while (cursor + placed.height > regionBottom + kEpsilon) {
                PlacedBand rest = placed;
                rest.continued = true;
                rest.height = 0;
                QHash<QString, QStringList> here;
                bool anyPlaced = false;
                bool anyLeft = false;
                for (const ReportElement& element : band.elements) {
                    if (element.kind != ReportItemKind::Memo || !element.visible || element.truncated) continue;
                    const double lineHeight = ReportLineHeight(element.font);
                    const double memoTop = placed.continued ? 0.0 : element.rect.top();
                    const QStringList lines = placed.memoLines.value(element.name);
                    const int fit = std::clamp(linesThatFit(regionBottom - cursor - memoTop, lineHeight), 0,
                                               int(lines.size()));
                    anyPlaced = anyPlaced || fit > 0;
                    anyLeft = anyLeft || fit < lines.size();
                    here.insert(element.name, lines.mid(0, fit));
                    rest.memoLines.insert(element.name, lines.mid(fit));
                    rest.height = std::max(rest.height, (lines.size() - fit) * lineHeight);
                }
                // Nothing to split off here (no memo line fits, or none is left over):
                // the band prints whole, as an empty page takes any band.
                if (!anyPlaced || !anyLeft) break;
                for (auto it = here.cbegin(); it != here.cend(); ++it) placed.memoLines.insert(it.key(), it.value());
                placed.top = cursor;
                placed.height = regionBottom - cursor;
                m_pages.back().bands.push_back(std::move(placed));
                startPage();
                cursor = regionTop;
                placed = std::move(rest);
            }
            placed.top = cursor;
            cursor += placed.height;
            m_pages.back().bands.push_back(std::move(placed));
        };

        for (const ReportBand& band : region.bands) {
            if (!band.visible) continue;
            if (band.dataBand) {
                for (const QStringList& row : rows) place(band, row);
            } else {
                place(band, {});
            }
        }
    }

    const int count = int(m_pages.size() - firstPage);
    for (std::size_t index = firstPage; index < m_pages.size(); ++index) m_pages[index].pageCount = count;
}

namespace {

class PagePainter {
public:
    PagePainter(const ReportPage& page, QPainter& painter)
        : m_page(page), m_painter(painter),
          m_dpiX(painter.device()->logicalDpiX()), m_dpiY(painter.device()->logicalDpiY())
    {
    }

    void paint()
    {
        const ReportLayout& layout = *m_page.layout;
        for (const ReportElement& element : layout.elements) draw(element, QPointF(0, 0), nullptr);
        if (!layout.region) return;
        for (const PlacedBand& placed : m_page.bands)
            for (const ReportElement& element : placed.band->elements) {
                if (!placed.continued) {
                    draw(element, QPointF(layout.region->rect.left(), placed.top), &placed);
                } else if (element.kind == ReportItemKind::Memo) {
                    // The rest of a split memo starts at the top of its band.
                    draw(element, QPointF(layout.region->rect.left(), placed.top - element.rect.top()), &placed);
                }
            }
    }

private:
    QRectF toDevice(const QRectF& inches) const
    {
        return QRectF(inches.left() * m_dpiX, inches.top() * m_dpiY, inches.width() * m_dpiX,
                      inches.height() * m_dpiY);
    }

    QPen borderPen(const QColor& color, bool dotted) const
    {
        QPen pen(color);
        pen.setWidthF(m_dpiX / 72.0);   // one point
        pen.setStyle(dotted ? Qt::DotLine : Qt::SolidLine);
        return pen;
    }

    void drawLines(const QStringList& lines, const ReportElement& element, const QRectF& box)
    {
        const QFont font = ReportFont(element.font);
        m_painter.setFont(font);
        m_painter.setPen(element.fontColor);
        const double lineHeight = ReportLineHeight(element.font) * m_dpiY;
        for (int index = 0; index < lines.size(); ++index) {
            const QRectF lineBox(box.left(), box.top() + index * lineHeight, box.width(), lineHeight * 2);
            m_painter.drawText(lineBox,
                               int(element.alignment | Qt::AlignTop) | Qt::TextSingleLine | Qt::TextDontClip,
                               lines[index]);
        }
    }

    void draw(const ReportElement& element, QPointF offset, const PlacedBand* band)
    {
        if (!element.visible) return;
        const QRectF box = toDevice(element.rect.translated(offset));
        switch (element.kind) {
        case ReportItemKind::Text: {
            const QString text = ReportElementText(element, m_page, band);
            if (text.isEmpty()) break;
            const FittedReportText fitted = FitReportText(text, element.font, element.rect.width());
            ReportElement shown = element;
            shown.font = fitted.font;
            drawLines({fitted.text}, shown, box);
            break;
        }
        case ReportItemKind::Memo: {
            QStringList lines;
            if (element.flows) {
                lines = m_page.flowLines;
            } else if (band && band->memoLines.contains(element.name)) {
                lines = band->memoLines.value(element.name);
            } else {
                lines = WrapReportText(ReportElementText(element, m_page, band), element.font, element.rect.width());
                if (element.truncated)
                    lines = lines.mid(0, linesThatFit(element.rect.height(), ReportLineHeight(element.font)));
            }
            drawLines(lines, element, box);
            break;
        }
        case ReportItemKind::Rectangle:
        case ReportItemKind::RoundRectangle:
            m_painter.setPen(borderPen(element.penColor, element.dotted));
            m_painter.setBrush(element.fill);
            if (element.kind == ReportItemKind::RoundRectangle)
                m_painter.drawRoundedRect(box, element.cornerRadius * m_dpiX, element.cornerRadius * m_dpiY);
            else
                m_painter.drawRect(box);
            m_painter.setBrush(Qt::NoBrush);
            break;
        case ReportItemKind::HorizontalLine:
            m_painter.setPen(borderPen(element.penColor, element.dotted));
            m_painter.drawLine(box.topLeft(), box.topRight());
            break;
        case ReportItemKind::Picture:
            if (!element.picture.isNull() && box.height() > 0 && box.width() > 0)
                m_painter.drawImage(box, element.picture);
            break;
        }
    }

    const ReportPage& m_page;
    QPainter& m_painter;
    double m_dpiX;
    double m_dpiY;
};

} // namespace

void paintPage(const ReportPage& page, QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    PagePainter(page, painter).paint();
    painter.restore();
}
