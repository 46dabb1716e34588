#include "planner/unitActivityCalendarFile.h"

#include "app/AppError.h"
#include "app/unitWholeFile.h"
#include "app/unitAppInfo.h"
#include "app/unitPlugin.h"
#include "app/unitRegional.h"
#include "planner/CalendarPlugin.h"
#include "planner/unitCalendarExportId.h"

#include <QDateTime>
#include <QFile>
#include <QSet>

#include <algorithm>

namespace {

const TPluginInfo kCalendarPlugin{"fennick-calendar.so", FENNICK_CALENDAR_SYMBOL, calendarplugin::kInterfaceVersion,
                                   "calendar support"};

QDateTime readDateTime(const TActivityRow& row, const QString& text)
{
    try {
        return StrToDateTime(text);
    } catch (const AppError& error) {
        throw AppError(QStringLiteral("The activity \"%1\" cannot be exported: %2").arg(row.strActivity, error.message()));
    }
}

} // namespace

bool IsAllDayActivity(const QDateTime& start, const QDateTime& end)
{
    return start.time() == QTime(0, 0) && end.time() == QTime(0, 0);
}

QByteArray ActivitiesToICalendar(const std::vector<TActivityRow>& rows, const QString& databaseId)
{
    QList<calendarplugin::Event> events;
    QSet<qint64> written;
    for (const TActivityRow& row : rows) {
        if (written.contains(row.intActMasterID)) continue;
        written.insert(row.intActMasterID);
        const QDateTime start = readDateTime(row, row.strActStartDateTime);
        const QDateTime end = readDateTime(row, row.strActEndDateTime);

        calendarplugin::Event event;
        event.uid = QStringLiteral("activity-%1-%2-%3@fennick")
                        .arg(row.intActMasterID)
                        .arg(start.toString(QStringLiteral("yyyyMMddThhmmss")), databaseId)
                        .toUtf8();
        event.allDay = IsAllDayActivity(start, end);
        if (event.allDay) {
            // Whole days: the end of an all-day event is the day after its last day.
            event.firstDay = start.date();
            event.dayAfterLast = std::max(start.date(), end.date()).addDays(1);
        } else {
            event.start = start;
            if (end > start) event.end = end;
        }
        event.summary = row.strActivity;
        event.description = row.strActNote;
        const bool high = row.strActPriority.trimmed() != QStringLiteral("0");
        event.priority = high ? 1 : 5;
        events.append(event);
    }

    // Loaded the first time a calendar is written.
    static calendarplugin::Calendar& calendar = LoadPlugin<calendarplugin::Calendar>(kCalendarPlugin);
    QString error;
    const QByteArray text =
        calendar.compose(QStringLiteral("-//%1//Planner//EN").arg(GetProductName()).toUtf8(), events, error);
    if (text.isEmpty()) throw AppError(QStringLiteral("The calendar could not be composed: %1").arg(error));
    return text;
}

int WriteActivitiesCalendarFile(const QString& path, const std::vector<TActivityRow>& rows)
{
    const QByteArray text = ActivitiesToICalendar(rows, CalendarExportId());
    SaveWholeFile(path, text);
    QSet<qint64> activities;
    for (const TActivityRow& row : rows) activities.insert(row.intActMasterID);
    return int(activities.size());
}
