#pragma once
// The planner's activity list: the rows of the days of a list range, one list
// row per stored day row, sorted by the activity's start, and the model behind
// lvActivityEdit with its twelve columns.
#include "app/unitDateHelpers.h"
#include "app/unitRowListModel.h"
#include "planner/unitActivityStore.h"
#include "planner/unitPlannerCalendar.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <vector>

struct TPlannerListRow {
    TActivityRow stored;
    QDate listedDay;    // the day under which the row is listed
    // Read from the stored texts; invalid when unreadable. Kept as date and
    // time, read back as wall-clock values.
    QDate startDate;
    QTime startTime;
    QDate endDate;
    QTime endTime;
    bool readable = true;
    // The start as one number for the sort.
    qint64 startKey = 0;

    QDateTime start() const { return WallClock(startDate, startTime); }
    QDateTime end() const { return WallClock(endDate, endTime); }
};

struct TPlannerListResult {
    std::vector<TPlannerListRow> rows;
    // One message per activity whose stored date-time texts cannot be read.
    QStringList unreadable;
};

// The rows of every day of the range whose has-activity flag is set, sorted
// ascending by start: on date and time in the day list, on the date alone in
// the week and month lists (stable, so equal keys keep day and table order).
// Rows whose texts cannot be read are kept, sorted last, and named in unreadable.
TPlannerListResult QueryPlannerList(int listType, const QDate& selected, const TPlannerYearFlags& flags);

// The list text of a start or end: short date, a space, short time (3/29/2010 8:00 AM).
QString PlannerListDateTime(const QDate& date, const QTime& time);


class TPlannerListModel : public TRowListModel<TPlannerListRow> {
public:
    enum Column {
        colStartDateTime, colEndDateTime, colDate, colActivityStart, colActivityEnd, colActivity,
        colActNotes, colActMasterID, colActDayOfYear, colActYear, colPriority, colActID, colCount
    };
    explicit TPlannerListModel(QObject* parent = nullptr) : TRowListModel(colCount, parent) {}
    QString cellText(int row, int column) const override;

protected:
    QString columnCaption(int column) const override;
};
