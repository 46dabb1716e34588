// The calendar plug-in: iCalendar text through libical, built as a plug-in of
// its own (fennick-calendar.so) and loaded by planner/unitActivityCalendarFile
// the first time a calendar file is written, so the program starts without libical.
#include "planner/CalendarPlugin.h"

#include <libical/ical.h>

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

class IcalCalendar final : public calendarplugin::Calendar {
public:
    QByteArray compose(const QByteArray& productId, const QList<calendarplugin::Event>& events,
                       QString& error) override
    {
        ComponentPtr calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
        icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
        icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(productId.constData()));
        const icaltimetype stamp = icaltime_from_timet_with_zone(QDateTime::currentSecsSinceEpoch(), 0,
                                                                 icaltimezone_get_utc_timezone());
        for (const calendarplugin::Event& data : events) {
            icalcomponent* event = icalcomponent_new(ICAL_VEVENT_COMPONENT);
            icalcomponent_add_property(event, icalproperty_new_uid(data.uid.constData()));
            icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
            if (data.allDay) {
                icalcomponent_add_property(event, icalproperty_new_dtstart(allDay(data.firstDay)));
                icalcomponent_add_property(event, icalproperty_new_dtend(allDay(data.dayAfterLast)));
            } else {
                icalcomponent_add_property(event, icalproperty_new_dtstart(floatingTime(data.start)));
                if (data.end.isValid())
                    icalcomponent_add_property(event, icalproperty_new_dtend(floatingTime(data.end)));
            }
            const QByteArray summary = data.summary.toUtf8();
            icalcomponent_add_property(event, icalproperty_new_summary(summary.constData()));
            if (!data.description.isEmpty()) {
                const QByteArray note = data.description.toUtf8();
                icalcomponent_add_property(event, icalproperty_new_description(note.constData()));
            }
            icalcomponent_add_property(event, icalproperty_new_priority(data.priority));
            icalcomponent_add_component(calendar.get(), event);
        }
        char* text = icalcomponent_as_ical_string_r(calendar.get());
        if (!text) {
            error = QString::fromUtf8(icalerror_strerror(icalerrno));
            return {};
        }
        const QByteArray result(text);
        icalmemory_free_buffer(text);
        return result;
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) calendarplugin::Calendar* FennickCalendar(int interfaceVersion)
{
    if (interfaceVersion != calendarplugin::kInterfaceVersion) return nullptr;
    static IcalCalendar calendar;
    return &calendar;
}
