#include "planner/unitActivityStore.h"

#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "db/unitStoredValues.h"

namespace {

bool flagOn(const std::array<bool, 367>& flags, int year, const QDate& day)
{
    return day.isValid() && day.year() == year && flags[std::size_t(day.dayOfYear())];
}

void markDays(DbConnection& db, const QString& sql, int year, std::array<bool, 367>& flags)
{
    // The year is matched exactly: a stored four-digit year equals the one asked for.
    DbStatement rows = db.prepare(sql, {year});
    while (rows.step()) {
        const int day = rows.columnInt(1);
        if (day >= 1 && day <= 366) flags[std::size_t(day)] = true;
    }
}

QList<TRecordRead> ActivityReads(qint64 masterId)
{
    return {{QStringLiteral("SELECT strActStartDateTime,strActEndDateTime,strActivity,strActNote,strActPriority,"
                            "intActYear,intActDayOfYear,intActID FROM tblPlanner WHERE intActMasterID = ? "
                            "ORDER BY intActID"),
             {masterId}}};
}

} // namespace

TRecordVersion ReadActivityVersion(qint64 masterId)
{
    DbConnection db;
    return TRecordVersion::Read(db, ActivityReads(masterId));
}

bool ActivityVersionShows(const TRecordVersion& version, const TActivityRow& row)
{
    return version.rowCount() > 0 && version.text(0, 0, 0) == row.strActStartDateTime
           && version.text(0, 0, 1) == row.strActEndDateTime && version.text(0, 0, 2) == row.strActivity
           && version.text(0, 0, 3) == row.strActNote && version.text(0, 0, 4) == row.strActPriority;
}

bool TPlannerYearFlags::activityOn(const QDate& day) const { return flagOn(hasActivity, year, day); }
bool TPlannerYearFlags::priorityOn(const QDate& day) const { return flagOn(hasPriority, year, day); }

TPlannerYearFlags pSearchPlannerActivity(int year)
{
    TPlannerYearFlags flags;
    flags.year = year;
    DbConnection db;
    markDays(db, QStringLiteral("SELECT intActYear,intActDayOfYear FROM tblPlanner WHERE intActYear = ?;"), year,
             flags.hasActivity);
    markDays(db,
             QStringLiteral("SELECT intActYear,intActDayOfYear FROM tblPlanner WHERE intActYear = ? "
                            "AND strActPriority <> '0';"),
             year, flags.hasPriority);
    return flags;
}

std::vector<TActivityRow> ReadActivityDay(DbConnection& db, int year, int dayOfYear)
{
    return ReadActivityDays(db, year, dayOfYear, dayOfYear);
}

DbStatement SelectActivityDays(DbConnection& db, int year, int firstDayOfYear, int lastDayOfYear)
{
    return db.prepare(
        QStringLiteral("SELECT strActStartDateTime,strActEndDateTime,strActivity,strActNote,intActMasterID,"
                       "intActDayOfYear,intActYear,strActPriority, intActID FROM tblPlanner WHERE "
                       "intActYear = ? AND intActDayOfYear BETWEEN ? AND ? ORDER BY intActID;"),
        {year, firstDayOfYear, lastDayOfYear});
}

std::vector<TActivityRow> ReadActivityDays(DbConnection& db, int year, int firstDayOfYear, int lastDayOfYear)
{
    DbStatement rows = SelectActivityDays(db, year, firstDayOfYear, lastDayOfYear);
    std::vector<TActivityRow> result;
    while (rows.step()) {
        result.push_back({rows.columnText(0), rows.columnText(1), rows.columnText(2), rows.columnText(3),
                          rows.columnInt64(4), rows.columnInt(5), rows.columnInt(6), rows.columnText(7),
                          rows.columnInt64(8)});
    }
    return result;
}

std::vector<TActivityRow> ReadActivityDay(int year, int dayOfYear)
{
    DbConnection db;
    return ReadActivityDay(db, year, dayOfYear);
}

std::vector<QDate> ActivityDays(const QDateTime& start, const QDateTime& end)
{
    // Every calendar day the activity touches, counted on the dates: from 10:00 AM
    // on the 1st to 8:00 AM on the 3rd takes place on the 1st, 2nd and 3rd.
    std::vector<QDate> days;
    const QDate first = start.date();
    const qint64 span = std::max<qint64>(0, first.daysTo(end.date()));
    for (qint64 i = 0; i <= span; ++i) days.push_back(first.addDays(i));
    return days;
}

QString UnreadableActivityMessage(const QString& title, const QString& reason)
{
    return QStringLiteral("The start or end of the activity \"%1\" cannot be read (%2); "
                          "open it and save it again with new dates, or delete it")
        .arg(title, reason);
}

bool ActivityLongerThanAYear(const QDateTime& start, const QDateTime& end)
{
    return end.date() > start.date().addYears(1);
}

QString LongActivityQuestion(const QDateTime& start, const QDateTime& end)
{
    const qint64 days = start.date().daysTo(end.date()) + 1;
    return QStringLiteral("This activity runs from %1 to %2, %3 days: more than a year, and each day is stored on "
                          "its own, which can take a long time. Save it with these dates?")
        .arg(DisplayDate(start.date()), DisplayDate(end.date()), DisplayLocale().toString(days));
}

qint64 pSavePlannerActivity(const TActivityInput& input, const TRecordVersion* opened)
{
    TSavingNoticeScope notice(QStringLiteral("Saving Activity Information..."));
    const QString start = DateTimeToStr(input.start);
    const QString end = DateTimeToStr(input.end);
    const QString priority = BoolToStr(input.priority);

    // Replacing an activity is all or nothing: its old rows go only when every
    // new row is written.
    DbConnection db;
    DbTransaction transaction(db);
    // Another seat's save of the same activity replaces its rows under a new id.
    if (input.masterId && opened && !opened->isEmpty())
        opened->checkUnchanged(db, QStringLiteral("This activity"), true);
    if (input.masterId)
        db.execute(QStringLiteral("DELETE FROM tblPlanner WHERE intActMasterID = ?;"), {*input.masterId});

    const QString insert = QStringLiteral(
        "INSERT INTO tblPlanner(intActMasterID,intActYear,intActDayOfYear,strActStartDateTime,strActEndDateTime,"
        "strActivity,strActPriority,strActNote)VALUES(?,?,?,?,?,?,?,?);");
    qint64 master = 0;
    for (const QDate& day : ActivityDays(input.start, input.end)) {
        db.execute(insert, {master, day.year(), day.dayOfYear(), start, end, input.title, priority, input.note});
        if (master == 0) {
            master = db.lastInsertRowId();
            db.execute(QStringLiteral("UPDATE tblPlanner SET intActMasterID = ? WHERE intActID = ?;"),
                       {master, master});
        }
    }
    transaction.commit();
    return master;
}

void DeletePlannerActivity(qint64 masterId)
{
    DbConnection db;
    db.execute(QStringLiteral("DELETE FROM tblPlanner WHERE intActMasterID = ?;"), {masterId});
}
