#pragma once
// The planner's activity list: the rows of the days of a list range, one list
// row per stored day row, sorted by the activity's start, and the model behind
// lvActivityEdit with its twelve columns.
#include "app/unitDateHelpers.h"
#include "app/unitRowBlocks.h"
#include "app/unitRowListModel.h"
#include "planner/unitActivityStore.h"
#include "planner/unitPlannerCalendar.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <vector>

// One list row: what the sort and the list's dates need, and the stored row
// itself as one compact block (see app/unitRowBlocks.h), decoded when asked.
// The block lives in the blocks of the list the row came with.
struct TPlannerListRow {
    TRowReader block{nullptr};
    QDate listedDay;    // the day under which the row is listed
    // Read from the stored texts; invalid when unreadable. Kept as date and
    // time, read back as wall-clock values.
    QDate startDate;
    QDate endDate;
    QTime startTime;
    QTime endTime;
    // The start as one number for the sort, and the row's place in the table
    // for rows of equal keys.
    qint64 startKey = 0;
    int tablePosition = 0;
    bool readable = true;

    // The stored row, as read from the table.
    TActivityRow stored() const;
    QDateTime start() const { return WallClock(startDate, startTime); }
    QDateTime end() const { return WallClock(endDate, endTime); }
};

struct TPlannerListResult {
    std::vector<TPlannerListRow> rows;
    // The stored rows the list rows point into: kept as long as the rows.
    TRowBlocks blocks;
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
    // Shows a list's rows (QueryPlannerList), keeping the blocks they point into.
    void setList(std::vector<TPlannerListRow> rows, TRowBlocks blocks);
    void clear();
    QString cellText(int row, int column) const override;

protected:
    QString columnCaption(int column) const override;

private:
    // Rows come with their blocks, through setList.
    using TRowListModel::setRows;
    TRowBlocks m_blocks;
};
