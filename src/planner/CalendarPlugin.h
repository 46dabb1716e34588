#pragma once
// The interface between the program and its calendar plug-in (libical,
// planner/ical/), loaded the first time a calendar file is written
// (app/unitPlugin.h).
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace calendarplugin {

// Raised whenever this header changes.
constexpr int kInterfaceVersion = 1;

// One event, as the program decided to write it.
struct Event {
    QByteArray uid;
    QString summary;
    QString description;   // empty: none
    int priority = 5;
    bool allDay = false;
    // All-day: the first day, and the day after the last day.
    QDate firstDay;
    QDate dayAfterLast;
    // Otherwise wall-clock times without a zone; an invalid end is left out.
    QDateTime start;
    QDateTime end;
};

class Calendar {
public:
    virtual ~Calendar() = default;
    // The iCalendar text of the events (VERSION 2.0, this PRODID, a DTSTAMP of
    // now in UTC on each); empty with error set when it cannot be composed.
    virtual QByteArray compose(const QByteArray& productId, const QList<Event>& events, QString& error) = 0;
};

} // namespace calendarplugin

#define FENNICK_CALENDAR_SYMBOL "FennickCalendar"
