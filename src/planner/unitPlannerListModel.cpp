#include "planner/unitPlannerListModel.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "db/DbConnection.h"

#include <algorithm>

QString PlannerListDateTime(const QDateTime& value)
{
    return DateToStr(value.date()) + QLatin1Char(' ') + RegionalLocale().toString(value.time(), ShortTimeFormat());
}

QString UnreadableActivityMessage(const QString& title, const QString& reason)
{
    return QStringLiteral("The start or end of the activity \"%1\" cannot be read (%2); "
                          "open it and save it again with new dates, or delete it")
        .arg(title, reason);
}

TPlannerListResult QueryPlannerList(int listType, const QDate& selected, const TPlannerYearFlags& flags)
{
    TPlannerListResult result;
    const TDateRange range = PlannerListRange(listType, selected);
    DbConnection db;
    QList<qint64> reported;
    for (QDate day = range.first; day.isValid() && day <= range.last; day = day.addDays(1)) {
        if (!flags.activityOn(day)) continue;
        for (TActivityRow& stored : ReadActivityDay(db, day.year(), day.dayOfYear())) {
            TPlannerListRow row{std::move(stored), day, {}, {}, true};
            try {
                row.start = StrToDateTime(row.stored.strActStartDateTime);
                row.end = StrToDateTime(row.stored.strActEndDateTime);
            } catch (const AppError& error) {
                row.readable = false;
                row.start = row.end = QDateTime();
                if (!reported.contains(row.stored.intActMasterID)) {
                    reported << row.stored.intActMasterID;
                    result.unreadable << UnreadableActivityMessage(row.stored.strActivity, error.message());
                }
            }
            result.rows.push_back(std::move(row));
        }
    }

    const bool withTime = listType == pltDay;
    std::stable_sort(result.rows.begin(), result.rows.end(),
                     [withTime](const TPlannerListRow& a, const TPlannerListRow& b) {
                         if (a.readable != b.readable) return a.readable;
                         if (!a.readable) return false;
                         return withTime ? a.start < b.start : a.start.date() < b.start.date();
                     });
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
    case colDate: return DateToStr(item.listedDay);
    case colActivityStart: return item.readable ? PlannerListDateTime(item.start) : stored.strActStartDateTime;
    case colActivityEnd: return item.readable ? PlannerListDateTime(item.end) : stored.strActEndDateTime;
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
