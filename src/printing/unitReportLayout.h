#pragma once
// Report layouts as plain data: a page template with its elements, and at most
// one region whose bands repeat per feed row. Every length is in inches from the
// page's top-left corner; elements inside a band are measured from the region's
// left edge and the band's top. A layout is copied for each output run, so
// run-time changes (texts, colours, positions) never reach the stored form.
#include <QColor>
#include <QHash>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

enum class ReportItemKind { Text, Memo, Rectangle, RoundRectangle, HorizontalLine, Picture };
enum class ReportSource { None, FixedText, Parameter, Field, PageCounter };

struct ReportFontSpec {
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
};

struct ReportElement {
    QString name;                        // may be empty for captions and rules
    ReportItemKind kind = ReportItemKind::Text;
    QRectF rect;                         // inches
    ReportFontSpec font;
    Qt::Alignment alignment = Qt::AlignLeft;
    QColor fontColor = Qt::black;
    ReportSource source = ReportSource::None;
    QString text;                        // the fixed text, parameter name or field name
    QColor fill = Qt::white;             // rectangles
    QColor penColor = Qt::black;         // borders and rules
    bool dotted = false;                 // border or rule
    double cornerRadius = 0;             // rounded rectangles, inches
    bool truncated = false;              // memo cut at the bottom of its box
    bool flows = false;                  // memo that continues on following pages
    bool visible = true;
    QImage picture;
};

struct ReportBand {
    QString name;
    bool dataBand = false;               // once per feed row; otherwise once after the rows
    double height = 0;
    bool visible = true;
    std::vector<ReportElement> elements;
};

struct ReportRegion {
    QString name;
    QRectF rect;
    std::vector<ReportBand> bands;
};

struct ReportLayout {
    QString name;
    QString dataView;                    // empty: the report reads no feed
    QSizeF pageSize{8.5, 11.0};
    std::vector<ReportElement> elements;
    std::optional<ReportRegion> region;
    QHash<QString, QString> parameters;  // a parameter never set prints empty

    // Finds a page or band element by name; throws AppError when there is none.
    ReportElement& element(const QString& elementName);
    const ReportElement* findElement(const QString& elementName) const;
    ReportBand& band(const QString& bandName);
    ReportRegion& regionNamed(const QString& regionName);
    void setParameter(const QString& parameterName, const QString& value) { parameters.insert(parameterName, value); }
};

// The page counter text: "Page 2 of’ 3" (typographic apostrophe, as printed).
QString PageCounterText(int pageNumber, int pageCount);

// Builders used by the stored layouts.
ReportElement MakeText(const QString& name, double left, double top, double width, ReportSource source,
                       const QString& text, Qt::Alignment alignment = Qt::AlignLeft,
                       ReportFontSpec font = {});
ReportElement MakeMemo(const QString& name, double left, double top, double width, double height,
                       ReportSource source, const QString& text, bool truncated, bool flows = false);
ReportElement MakeRectangle(const QString& name, double left, double top, double width, double height,
                            QColor fill = Qt::white);
ReportElement MakeLine(const QString& name, double left, double top, double width, bool dotted = false);
