#include "planner/unitPlannerListModel.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "db/DbConnection.h"

#include <algorithm>

QString PlannerListDateTime(const QDate& date, const QTime& time)
{
    const QLocale locale = DisplayLocale();
    return DisplayDate(date) + QLatin1Char(' ') + locale.toString(time, locale.timeFormat(QLocale::ShortFormat));
}

TPlannerListResult QueryPlannerList(int listType, const QDate& selected, const TPlannerYearFlags& flags)
{
    TPlannerListResult result;
    const TDateRange range = PlannerListRange(listType, selected);
    DbConnection db;
    QList<qint64> reported;
    const bool withTime = listType == pltDay;
    // The range's rows read once per year it touches, in table order.
    std::vector<TPlannerListRow> rows;
    for (int year = range.first.year(); range.first.isValid() && year <= range.last.year(); ++year) {
        const QDate first = std::max(range.first, QDate(year, 1, 1));
        const QDate last = std::min(range.last, QDate(year, 12, 31));
        std::vector<TActivityRow> days = ReadActivityDays(db, year, first.dayOfYear(), last.dayOfYear());
        rows.reserve(rows.size() + days.size());   // a month may hold a great many rows, each large to move
        for (TActivityRow& stored : days) {
            TPlannerListRow row;
            row.listedDay = QDate(year, 1, 1).addDays(stored.intActDayOfYear - 1);
            if (!flags.activityOn(row.listedDay)) continue;
            row.stored = std::move(stored);
            try {
                StrToDateTimeParts(row.stored.strActStartDateTime, row.startDate, row.startTime);
                StrToDateTimeParts(row.stored.strActEndDateTime, row.endDate, row.endTime);
                const qint64 startDay = row.startDate.toJulianDay();
                row.startKey = withTime ? startDay * 86400000 + row.startTime.msecsSinceStartOfDay() : startDay;
            } catch (const AppError& error) {
                row.readable = false;
                row.startDate = row.endDate = QDate();
                row.startTime = row.endTime = QTime();
                if (!reported.contains(row.stored.intActMasterID)) {
                    reported << row.stored.intActMasterID;
                    result.unreadable << UnreadableActivityMessage(row.stored.strActivity, error.message());
                }
            }
            rows.push_back(std::move(row));
        }
    }

    // Sorted through an index (the rows are large to move): readable rows by
    // start, then by listed day; equal keys keep table order. Unreadable rows
    // last, by listed day.
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&rows](std::size_t left, std::size_t right) {
        const TPlannerListRow& a = rows[left];
        const TPlannerListRow& b = rows[right];
        if (a.readable != b.readable) return a.readable;
        if (a.readable && a.startKey != b.startKey) return a.startKey < b.startKey;
        return a.listedDay < b.listedDay;
    });
    result.rows.reserve(rows.size());
    for (std::size_t i : order) result.rows.push_back(std::move(rows[i]));
    return result;
}

QString TPlannerListModel::columnCaption(int column) const
{
    static const char* const captions[colCount] = {
        "StartDateTime", "EndDateTime", "Date",        "Activity Start", "Activity End", "Activity",
        "ActNotes",      "ActMasterID", "ActDayOfYear", "ActYear",        "Priority",     "ActID"};
    return QString::fromLatin1(captions[column]);
}

QString TPlannerListModel::cellText(int row, int column) const
{
    const TPlannerListRow& item = rowAt(row);
    const TActivityRow& stored = item.stored;
    switch (column) {
    case colStartDateTime: return stored.strActStartDateTime;
    case colEndDateTime: return stored.strActEndDateTime;
    case colDate: return DisplayDate(item.listedDay);
    case colActivityStart: return item.readable ? PlannerListDateTime(item.startDate, item.startTime) : stored.strActStartDateTime;
    case colActivityEnd: return item.readable ? PlannerListDateTime(item.endDate, item.endTime) : stored.strActEndDateTime;
    case colActivity: return stored.strActivity;
    case colActNotes: return stored.strActNote;
    case colActMasterID: return QString::number(stored.intActMasterID);
    case colActDayOfYear: return QString::number(stored.intActDayOfYear);
    case colActYear: return QString::number(stored.intActYear);
    case colPriority: return stored.strActPriority;
    case colActID: return QString::number(stored.intActID);
    default: return QString();
    }
}
