#pragma once
// The planner's calendar and list rules, without widgets: the month grid, the
// colour layers of a grid cell, the title of a day, month steps, the date range
// of each list type and the list's column widths.
#include "planner/unitActivityStore.h"

#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The planner's list types, the indexes of cmboPlannerType.
enum TPlannerListType : int { pltDay = 0, pltWeek = 1, pltMonth = 2 };

// One cell of the month grid: its day number (0 for a blank cell) and its marks.
struct TCalendarCell {
    int day = 0;
    bool activity = false;
    bool priority = false;
};

// The grid of one month: row 0 is the heading (the display locale's short day
// names, Sunday first), then one row per week, seven columns, Sunday in column 0.
struct TCalendarMonth {
    std::array<QString, 7> headings;
    std::vector<std::array<TCalendarCell, 7>> weeks;
    int rowCount() const { return 1 + int(weeks.size()); }
};

TCalendarMonth BuildCalendarMonth(int year, int month, const TPlannerYearFlags& flags);

// The colours of a cell, in painting order: the grid colour first, then each
// layer that applies (weekend, activity, priority, heading); the last one shows.
enum class TCalendarLayer { Grid, Weekend, Activity, Priority, Heading };
std::vector<TCalendarLayer> CalendarCellLayers(int row, int column, const TCalendarCell& cell);

// Calendar metrics: each column (grid width - 10) / 7, each row
// (grid height - 10) / rows, rounded down.
int CalendarColumnWidth(int gridWidth);
int CalendarRowHeight(int gridHeight, int rowCount);

// The day in the display locale's long date form: "Monday, March 29, 2010",
// "Montag, 29. März 2010".
QString PlannerDayTitle(const QDate& day);
// "Today: 3/29/2010".
QString PlannerTodayText(const QDate& today);

// The same day one month earlier (-1) or later (+1), clamped to the last day
// of a shorter month.
QDate PlannerStepMonth(const QDate& selected, int months);

// The days a list shows: the selected day; its Sunday-to-Saturday week cut to
// the month; or the whole month.
struct TDateRange {
    QDate first;
    QDate last;
};
TDateRange PlannerListRange(int listType, const QDate& selected);

// Widths of the activity list's twelve columns for a list W pixels wide.
std::array<int, 12> PlannerColumnWidths(int listType, int listWidth);

// Packed colour (red + green*256 + blue*65536) to its three parts.
struct TRgb {
    int red;
    int green;
    int blue;
};
TRgb UnpackColor(std::uint32_t color);
