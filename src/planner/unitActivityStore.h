#pragma once
// The planner's activities in tblPlanner. An activity that covers several
// calendar days is stored as one row per day, all rows under one master id (the
// id of its first row), so the calendar finds the activities of any day by year
// and day of year. Start and end are stored as date-time texts (short date, a
// space, long time; the time left out at midnight), the same in every row.
#include "db/unitRecordVersion.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class DbConnection;
class DbStatement;

// Which days of one year have activities, and which have a high-priority one;
// indexed by day of year 1 to 366 (index 0 unused).
struct TPlannerYearFlags {
    int year = 0;
    std::array<bool, 367> hasActivity{};
    std::array<bool, 367> hasPriority{};

    bool activityOn(const QDate& day) const;
    bool priorityOn(const QDate& day) const;
};

// One stored row: one day of one activity.
struct TActivityRow {
    QString strActStartDateTime;
    QString strActEndDateTime;
    QString strActivity;
    QString strActNote;
    qint64 intActMasterID = 0;
    int intActDayOfYear = 0;
    int intActYear = 0;
    QString strActPriority;   // "-1" high priority, "0" not
    qint64 intActID = 0;
};

// What the edit area hands to a save. Start and end are wall-clock values
// (see WallClock).
struct TActivityInput {
    std::optional<qint64> masterId;   // the activity being replaced, if any
    QDateTime start;
    QDateTime end;
    QString title;
    bool priority = false;
    QString note;
};

// The year flags of one year.
TPlannerYearFlags pSearchPlannerActivity(int year);

// The rows of one day, in table order.
std::vector<TActivityRow> ReadActivityDay(DbConnection& db, int year, int dayOfYear);
std::vector<TActivityRow> ReadActivityDay(int year, int dayOfYear);
// The rows of a run of days of one year in table order, in one pass over the
// table (it has no index on the day, so a read per day would read it per day).
std::vector<TActivityRow> ReadActivityDays(DbConnection& db, int year, int firstDayOfYear, int lastDayOfYear);
// The statement ReadActivityDays steps, for a reader that keeps its rows in a
// form of its own: the columns in TActivityRow's order.
DbStatement SelectActivityDays(DbConnection& db, int year, int firstDayOfYear, int lastDayOfYear);

// The calendar days an activity takes place on: every day from the start's date
// to the end's date, both included (one day when the end is not after the start).
std::vector<QDate> ActivityDays(const QDateTime& start, const QDateTime& end);

// The message for an activity whose date-time texts cannot be read, naming it
// and the reason.
QString UnreadableActivityMessage(const QString& title, const QString& reason);

// True when the end's date is more than a year after the start's: such an
// activity (most often a mistyped year) writes a row for every day, so the
// planner asks before it is saved.
bool ActivityLongerThanAYear(const QDateTime& start, const QDateTime& end);
// The question asked then, with the dates and the number of days.
QString LongActivityQuestion(const QDateTime& start, const QDateTime& end);

// The day rows of an activity as stored now, for the save's check; the
// values of each row in the order start, end, title, note, priority, year,
// day of year, row id.
TRecordVersion ReadActivityVersion(qint64 masterId);
// True when the version's first row still holds what the row shows.
bool ActivityVersionShows(const TRecordVersion& version, const TActivityRow& row);

// Saves the activity as one row per day under a new master id, replacing the
// rows of input.masterId, in one transaction; shows "Saving Activity
// Information..." while it works. Returns the new master id. With an opened
// version (from ReadActivityVersion), an activity another seat changed or
// deleted since is refused (EditConflictError) and nothing is written.
qint64 pSavePlannerActivity(const TActivityInput& input, const TRecordVersion* opened = nullptr);

// Deletes every day row of the activity.
void DeletePlannerActivity(qint64 masterId);
