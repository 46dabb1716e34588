#pragma once
// The report engine: a paginator that lays out the rows of a feed into pages,
// and one paintPage that draws a page on any painter at the painter's own
// resolution. Printer, preview and PDF all paint through paintPage.
#include "printing/unitReportFeed.h"
#include "printing/unitReportLayout.h"

#include <QFont>
#include <QHash>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

// One band as placed on a page: its top in page inches, its height (grown when
// a memo needs more lines than its box holds) and the row values it shows.
struct PlacedBand {
    const ReportBand* band = nullptr;
    double top = 0;
    double height = 0;
    std::shared_ptr<const QHash<QString, int>> fieldIndex;   // feed field -> position, shared by the rows
    QStringList values;                      // the row's texts in feed field order
    QHash<QString, QStringList> memoLines;   // memo element name -> its wrapped lines
    // A band taller than the page space left is split: the part on the next page
    // is "continued" and shows only the rest of its memos, from the band's top.
    bool continued = false;

    // The text of a feed field in this row; empty for a field the feed lacks.
    QString value(const QString& field) const
    {
        if (!fieldIndex) return QString();
        const auto found = fieldIndex->constFind(field);
        return found == fieldIndex->constEnd() ? QString() : values.value(*found);
    }
};

struct ReportPage {
    std::shared_ptr<const ReportLayout> layout;
    int pageNumber = 1;                      // within its report
    int pageCount = 1;                       // pages of its report
    std::vector<PlacedBand> bands;
    QStringList flowLines;                   // lines of the flowing memo that fall on this page
};

// The pages of one output run: one or more reports, each starting on a new page.
class ReportDocument {
public:
    // Paginates the report now, reading every row of the feed (which may be
    // null for a report without data), and appends its pages.
    void addReport(const ReportLayout& layout, ReportFeed* feed);
    // Told the number of every page as it is started (for a status line).
    void setPageStarted(std::function<void(int pageNumber)> pageStarted) { m_pageStarted = std::move(pageStarted); }
    const std::vector<ReportPage>& pages() const { return m_pages; }
    int pageCount() const { return int(m_pages.size()); }
    bool isEmpty() const { return m_pages.empty(); }

private:
    std::vector<ReportPage> m_pages;
    std::function<void(int)> m_pageStarted;
};

// Draws one page; inches are converted with the painter device's resolution.
// The painter's origin is the page's top-left corner.
void paintPage(const ReportPage& page, QPainter& painter);

// Text measuring shared by the paginator and the painter, at a fixed reference
// resolution so that line breaks do not depend on the output device.
QFont ReportFont(const ReportFontSpec& fontStyle);
double ReportLineHeight(const ReportFontSpec& fontStyle);                  // inches
QStringList WrapReportText(const QString& text, const ReportFontSpec& fontStyle, double widthInches);

// A one-line text fitted to a box width: the text in its own size when it fits,
// else in a smaller size down to kReportFitFloorPoints, and at that size cut
// with an ellipsis ("…"). Every text element is printed fitted, so no printed
// field runs into its neighbour or off the paper, whatever was typed.
struct FittedReportText {
    ReportFontSpec font;
    QString text;
};
constexpr double kReportFitFloorPoints = 7.0;
FittedReportText FitReportText(const QString& text, const ReportFontSpec& fontStyle, double widthInches);
double ReportTextWidth(const QString& text, const ReportFontSpec& fontStyle);   // inches
// The text an element shows on a page (parameter, fixed text, page counter or field).
QString ReportElementText(const ReportElement& element, const ReportPage& page, const PlacedBand* band);
