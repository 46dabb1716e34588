#pragma once
// Calendar arithmetic on date-time values. Days are counted with the time of day
// as the fraction, on the wall-clock values as written (no time-zone or
// daylight-saving shifts), so the planner's day rows come out the same everywhere.
#include <QDate>
#include <QDateTime>

// A date and time as read on the wall clock, tied to no time zone: a time that a
// daylight-saving change skips (2:30 AM on the day clocks go forward) or repeats
// is still that time on that day, never an invalid value, and a day always has
// 24 hours. Planner starts and ends, and everything computed from them, are
// such values.
QDateTime WallClock(const QDate& date, const QTime& time = QTime(0, 0));

int DayOfTheMonth(const QDateTime& value);   // 1 to 31
int DayOfTheYear(const QDateTime& value);    // 1 for January 1
int DayOfTheYear(const QDate& value);
// Whole days in the absolute difference of the two values, fraction dropped.
int DaysBetween(const QDateTime& a, const QDateTime& b);
// Adds a whole number of days (negative allowed); the time of day is kept. The
// result is a wall-clock value.
QDateTime IncDay(const QDateTime& value, int days);
// Builds a wall-clock date-time; an impossible date or time gives an invalid value.
QDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);
