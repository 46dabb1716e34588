#pragma once
// The regional settings of the program, in one place: United States forms for
// dates, times, numbers and money. Stored dates always use these forms, so a
// database file reads the same on any machine. Nothing else hard-codes a format.
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

QString ShortDateFormat();      // "M/d/yyyy"
QString LongTimeFormat();       // "h:mm:ss AP"
QChar DecimalSeparator();       // '.'
QLocale RegionalLocale();       // English (United States): day and month names

QString DateToStr(const QDate& date);                 // 3/29/2010
QString TimeToStr(const QTime& time);                 // 8:30:00 AM
// Short date, a space and the long time; the time is left out at midnight.
QString DateTimeToStr(const QDateTime& dateTime);

// Parse the stored forms; a text that does not parse throws AppError
// "''%s'' is not a valid date" / "''%s'' is not a valid date and time".
QDate StrToDate(const QString& text);
QDateTime StrToDateTime(const QString& text);
bool TryStrToDate(const QString& text, QDate& date);

// Currency text of an amount already rounded to cents: $1,234.50, -$1,234.50.
QString FormatCurrency(double amount);

// The marker a list, a label or a printed field shows for a value that cannot be
// shown (an amount beyond what money text holds), so the rest of the screen works.
inline const QString kUnshownAmountText = QStringLiteral("####");

QString LongDayName(int dayOfWeek);     // 1 = Monday … 7 = Sunday
QString LongMonthName(int month);       // 1 = January
