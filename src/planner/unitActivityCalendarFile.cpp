#include "planner/unitActivityCalendarFile.h"

#include "app/AppError.h"
#include "app/unitWholeFile.h"
#include "app/unitAppInfo.h"
#include "app/unitRegional.h"
#include "planner/unitCalendarExportId.h"

#include <QDateTime>
#include <QFile>
#include <QSet>

#include <libical/ical.h>

#include <algorithm>
#include <memory>

namespace {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype allDay(const QDate& day)
{
    icaltimetype time = icaltime_null_date();
    time.year = day.year();
    time.month = day.month();
    time.day = day.day();
    return time;
}

icaltimetype floatingTime(const QDateTime& value)
{
    icaltimetype time = icaltime_null_time();
    time.year = value.date().year();
    time.month = value.date().month();
    time.day = value.date().day();
    time.hour = value.time().hour();
    time.minute = value.time().minute();
    time.second = value.time().second();
    time.is_date = 0;
    time.zone = nullptr;   // floating: the wall-clock time the activity was planned at
    return time;
}

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
    ComponentPtr calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    const QByteArray prodId = QStringLiteral("-//%1//Planner//EN").arg(GetProductName()).toUtf8();
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(prodId.constData()));

    const icaltimetype stamp = icaltime_from_timet_with_zone(QDateTime::currentSecsSinceEpoch(), 0,
                                                             icaltimezone_get_utc_timezone());
    QSet<qint64> written;
    for (const TActivityRow& row : rows) {
        if (written.contains(row.intActMasterID)) continue;
        written.insert(row.intActMasterID);
        const QDateTime start = readDateTime(row, row.strActStartDateTime);
        const QDateTime end = readDateTime(row, row.strActEndDateTime);

        icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        const QByteArray uid = QStringLiteral("activity-%1-%2-%3@fennick")
                                   .arg(row.intActMasterID)
                                   .arg(start.toString(QStringLiteral("yyyyMMddThhmmss")), databaseId)
                                   .toUtf8();
        icalcomponent_add_property(event, icalproperty_new_uid(uid.constData()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
        if (IsAllDayActivity(start, end)) {
            // Whole days: the end of an all-day event is the day after its last day.
            const QDate lastDay = std::max(start.date(), end.date());
            icalcomponent_add_property(event, icalproperty_new_dtstart(allDay(start.date())));
            icalcomponent_add_property(event, icalproperty_new_dtend(allDay(lastDay.addDays(1))));
        } else {
            icalcomponent_add_property(event, icalproperty_new_dtstart(floatingTime(start)));
            if (end > start) icalcomponent_add_property(event, icalproperty_new_dtend(floatingTime(end)));
        }
        const QByteArray summary = row.strActivity.toUtf8();
        icalcomponent_add_property(event, icalproperty_new_summary(summary.constData()));
        if (!row.strActNote.isEmpty()) {
            const QByteArray note = row.strActNote.toUtf8();
            icalcomponent_add_property(event, icalproperty_new_description(note.constData()));
        }
        const bool high = row.strActPriority.trimmed() != QStringLiteral("0");
        icalcomponent_add_property(event, icalproperty_new_priority(high ? 1 : 5));
        icalcomponent_add_component(calendar.get(), event);
    }

    char* text = icalcomponent_as_ical_string_r(calendar.get());
    if (!text) throw AppError(QStringLiteral("The calendar could not be composed"));
    const QByteArray result(text);
    icalmemory_free_buffer(text);
    return result;
}

int WriteActivitiesCalendarFile(const QString& path, const std::vector<TActivityRow>& rows)
{
    const QByteArray text = ActivitiesToICalendar(rows, CalendarExportId());
    SaveWholeFile(path, text);
    QSet<qint64> activities;
    for (const TActivityRow& row : rows) activities.insert(row.intActMasterID);
    return int(activities.size());
}
