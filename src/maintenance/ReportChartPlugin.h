#pragma once
// The interface between the program and its chart plug-in (Qt Charts,
// maintenance/charts/), loaded the first time the reports screen opens
// (app/unitPlugin.h).
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QWidget;

namespace chartplugin {

// Raised whenever this header changes.
constexpr int kInterfaceVersion = 1;

struct BarSet {
    QString name;
    QList<double> values;   // one per category
};

// A bar chart as the screen decided to draw it.
struct BarChart {
    QString title;
    bool stacked = false;
    QList<BarSet> sets;          // none: an empty chart with its title
    QStringList categoryLabels;  // under the bars
    int categoryLabelsAngle = 0;
    // The value axis: its labels at their values, first and last its range.
    QList<QPair<QString, double>> valueTicks;
};

class Charts {
public:
    virtual ~Charts() = default;
    // A chart view (a QChartView, its chart named chartObjectName) in parent.
    virtual QWidget* createView(QWidget* parent, const QString& chartObjectName) = 0;
    // Replaces what the view (made by createView) draws.
    virtual void draw(QWidget* view, const BarChart& chart) = 0;
};

} // namespace chartplugin

#define FENNICK_CHARTS_SYMBOL "FennickCharts"
