#include "planner/unitPlannerCalendar.h"

#include "app/unitRegional.h"

#include <cmath>

TCalendarMonth BuildCalendarMonth(int year, int month, const TPlannerYearFlags& flags)
{
    TCalendarMonth grid;
    // The display locale's short day names. Qt counts Monday as 1 and Sunday as
    // 7; the grid starts on Sunday.
    for (int column = 0; column < 7; ++column)
        grid.headings[std::size_t(column)] = DisplayDayName(column == 0 ? 7 : column, QLocale::ShortFormat);

    const QDate first(year, month, 1);
    if (!first.isValid()) return grid;
    int column = first.dayOfWeek() % 7;
    grid.weeks.emplace_back();
    for (int day = 1; day <= first.daysInMonth(); ++day) {
        const QDate date(year, month, day);
        TCalendarCell& cell = grid.weeks.back()[std::size_t(column)];
        cell.day = day;
        cell.activity = flags.activityOn(date);
        cell.priority = flags.priorityOn(date);
        if (column == 6) {
            column = 0;
            if (day < first.daysInMonth()) grid.weeks.emplace_back();
        } else {
            ++column;
        }
    }
    return grid;
}

std::vector<TCalendarLayer> CalendarCellLayers(int row, int column, const TCalendarCell& cell)
{
    std::vector<TCalendarLayer> layers{TCalendarLayer::Grid};
    if (column == 0 || column == 6) layers.push_back(TCalendarLayer::Weekend);
    if (cell.activity) layers.push_back(TCalendarLayer::Activity);
    if (cell.priority) layers.push_back(TCalendarLayer::Priority);
    if (row == 0) layers.push_back(TCalendarLayer::Heading);
    return layers;
}

int CalendarColumnWidth(int gridWidth) { return std::max(0, (gridWidth - 10) / 7); }

int CalendarRowHeight(int gridHeight, int rowCount)
{
    return rowCount <= 0 ? 0 : std::max(0, (gridHeight - 10) / rowCount);
}

QString PlannerDayTitle(const QDate& day) { return DisplayLocale().toString(day, QLocale::LongFormat); }

QString PlannerTodayText(const QDate& today) { return QStringLiteral("Today: ") + DisplayDate(today); }

QDate PlannerStepMonth(const QDate& selected, int months) { return selected.addMonths(months); }

TDateRange PlannerListRange(int listType, const QDate& selected)
{
    const QDate monthFirst(selected.year(), selected.month(), 1);
    const QDate monthLast(selected.year(), selected.month(), selected.daysInMonth());
    switch (listType) {
    case pltWeek: {
        const QDate sunday = selected.addDays(-(selected.dayOfWeek() % 7));
        const QDate saturday = sunday.addDays(6);
        return {std::max(sunday, monthFirst), std::min(saturday, monthLast)};
    }
    case pltMonth: return {monthFirst, monthLast};
    default: return {selected, selected};
    }
}

std::array<int, 12> PlannerColumnWidths(int listType, int listWidth)
{
    const double w = listWidth;
    const auto round = [](double value) { return int(std::lround(value)); };
    std::array<int, 12> widths{};
    if (listType == pltDay) {
        widths[3] = widths[4] = round(0.24 * w);
        widths[5] = round(0.5 * w);
    } else {
        widths[2] = round(0.15 * w);
        widths[3] = widths[4] = round((listWidth >= 500 ? 0.21 : 0.19) * w);
        widths[5] = round((listWidth >= 500 ? 0.42 : 0.45) * w);
    }
    return widths;
}

TRgb UnpackColor(std::uint32_t color)
{
    return {int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)};
}
