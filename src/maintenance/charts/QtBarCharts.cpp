// The chart plug-in: bar charts through Qt Charts, built as a plug-in of its
// own (fennick-charts.so) and loaded the first time the reports screen opens,
// so the program starts without Qt Charts.
#include "maintenance/ReportChartPlugin.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QStackedBarSeries>

namespace {

class QtBarCharts final : public chartplugin::Charts {
public:
    QWidget* createView(QWidget* parent, const QString& chartObjectName) override
    {
        auto* chart = new QChart;
        chart->setObjectName(chartObjectName);
        chart->legend()->setAlignment(Qt::AlignBottom);
        chart->setAnimationOptions(QChart::NoAnimation);
        auto* view = new QChartView(chart, parent);
        view->setRenderHint(QPainter::Antialiasing);
        return view;
    }

    void draw(QWidget* viewWidget, const chartplugin::BarChart& data) override
    {
        auto* view = qobject_cast<QChartView*>(viewWidget);
        if (!view) return;
        QChart* chart = view->chart();
        chart->removeAllSeries();
        for (QAbstractAxis* axis : chart->axes()) {
            chart->removeAxis(axis);
            delete axis;
        }
        chart->setTitle(data.title);
        if (data.sets.isEmpty() || data.categoryLabels.isEmpty() || data.valueTicks.isEmpty()) return;

        QAbstractBarSeries* series = data.stacked ? static_cast<QAbstractBarSeries*>(new QStackedBarSeries)
                                                  : static_cast<QAbstractBarSeries*>(new QBarSeries);
        for (const chartplugin::BarSet& setData : data.sets) {
            auto* set = new QBarSet(setData.name);
            for (double value : setData.values) set->append(value);
            series->append(set);
        }
        chart->addSeries(series);

        auto* categories = new QBarCategoryAxis;
        categories->append(data.categoryLabels);
        QFont small = categories->labelsFont();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        categories->setLabelsFont(small);
        if (data.categoryLabelsAngle != 0) categories->setLabelsAngle(data.categoryLabelsAngle);
        chart->addAxis(categories, Qt::AlignBottom);
        series->attachAxis(categories);

        auto* values = new QCategoryAxis;
        values->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        values->setRange(data.valueTicks.first().second, data.valueTicks.last().second);
        values->setStartValue(data.valueTicks.first().second);
        for (const auto& [label, value] : data.valueTicks) values->append(label, value);
        chart->addAxis(values, Qt::AlignLeft);
        series->attachAxis(values);
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) chartplugin::Charts* FennickCharts(int interfaceVersion)
{
    if (interfaceVersion != chartplugin::kInterfaceVersion) return nullptr;
    static QtBarCharts charts;
    return &charts;
}
