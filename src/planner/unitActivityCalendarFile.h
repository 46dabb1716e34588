#pragma once
// Writes planner activities to an iCalendar file (RFC 5545) that phone and
// desktop calendars import: one event per activity, whatever the number of its
// day rows.
#include "planner/unitActivityStore.h"

#include <QByteArray>
#include <QString>
#include <vector>

// True for an activity stored without a time of day (midnight to midnight): it
// is written as an all-day event on each of its days.
bool IsAllDayActivity(const QDateTime& start, const QDateTime& end);

// The iCalendar text of the activities among the rows, one event per master id
// in the order the activities first appear: title, start, end (left out when the
// end is not after the start), note, and priority 1 for a high-priority activity
// or 5 otherwise. Times are written as local wall-clock values, as stored; an
// all-day activity as dates, its end the day after its last day. Every event id
// carries databaseId, so ids are unique across installations. An activity whose
// date-time texts cannot be read throws AppError naming it.
QByteArray ActivitiesToICalendar(const std::vector<TActivityRow>& rows, const QString& databaseId);

// The same with this database's calendar id, written to a file; a file that
// cannot be written throws AppError. Returns the number of events written.
int WriteActivitiesCalendarFile(const QString& path, const std::vector<TActivityRow>& rows);
