#pragma once
// Calendar arithmetic on date-time values. Days are counted with the time of day
// as the fraction, on the wall-clock values as written (no time-zone or
// daylight-saving shifts), so the planner's day rows come out the same everywhere.
#include <QDate>
#include <QDateTime>

int DayOfTheMonth(const QDateTime& value);   // 1 to 31
int DayOfTheYear(const QDateTime& value);    // 1 for January 1
int DayOfTheYear(const QDate& value);
// Whole days in the absolute difference of the two values, fraction dropped.
int DaysBetween(const QDateTime& a, const QDateTime& b);
// Adds a whole number of days (negative allowed); the time of day is kept.
QDateTime IncDay(const QDateTime& value, int days);
// Builds a date-time; an impossible date or time gives an invalid value.
QDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);
