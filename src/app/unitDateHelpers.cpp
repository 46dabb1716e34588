#include "app/unitDateHelpers.h"

#include <cstdlib>

namespace {

constexpr qint64 kMsecsPerDay = 86400000;

// Milliseconds on a plain calendar line: local wall-clock values, as written.
qint64 wallClockMsecs(const QDateTime& value)
{
    return value.date().toJulianDay() * kMsecsPerDay + value.time().msecsSinceStartOfDay();
}

} // namespace

QDateTime WallClock(const QDate& date, const QTime& time)
{
    // UTC has no daylight saving: its date and time are exactly the ones given.
    return QDateTime(date, time, Qt::UTC);
}

int DayOfTheMonth(const QDateTime& value) { return value.date().day(); }
int DayOfTheYear(const QDateTime& value) { return value.date().dayOfYear(); }
int DayOfTheYear(const QDate& value) { return value.dayOfYear(); }

int DaysBetween(const QDateTime& a, const QDateTime& b)
{
    return int(std::llabs(wallClockMsecs(a) - wallClockMsecs(b)) / kMsecsPerDay);
}

QDateTime IncDay(const QDateTime& value, int days)
{
    return WallClock(value.date().addDays(days), value.time());
}

QDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, millisecond);
    if (!date.isValid() || !time.isValid()) return QDateTime();
    return WallClock(date, time);
}
