#pragma once
// The regional settings of the program, in one place. There are two kinds of
// text here, and every caller picks the kind it needs:
//
// STORED text: what goes into the database (and is read back from it) never
// depends on the machine. Dates are M/d/yyyy, times h:mm:ss AP, numbers use '.'
// with no grouping, day and month names are English. These are ShortDateFormat,
// LongTimeFormat, DecimalSeparator, RegionalLocale, DateToStr, TimeToStr,
// DateTimeToStr, StrToDate, StrToDateTime, TryStrToDate, LongDayName and
// LongMonthName (and StrToFloat/FloatToStr in db/unitStoredValues.h). A
// database written under one regional setting opens unchanged under another.
//
// DISPLAY text: what a person sees on a screen, a printed or PDF page, a
// report, an e-mail or a CSV heading, and what a person types into a number box,
// follows the regional settings of the system (LANG, LC_NUMERIC, LC_MONETARY,
// LC_TIME through Qt's default locale). These are the Display... functions,
// FormatCurrency (and FormatMoney built on it), ParseTypedNumber,
// TryParseTypedNumber and StoredNumberText. A display text is never stored:
// convert typed numbers with StoredNumberText/ParseTypedNumber and show stored
// texts with DisplayStoredDate/DisplayNumberText.
//
// Where no regional setting is made (the C or POSIX locale) the display forms
// are the United States forms, the same texts as the stored forms.
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

// ------------------------------------------------------------- stored forms

QString ShortDateFormat();      // "M/d/yyyy"
QString LongTimeFormat();       // "h:mm:ss AP"
QString ShortTimeFormat();      // "h:mm AP"
QChar DecimalSeparator();       // '.'
QLocale RegionalLocale();       // English (United States): day and month names

QString DateToStr(const QDate& date);                 // 3/29/2010
QString TimeToStr(const QTime& time);                 // 8:30:00 AM
// Short date, a space and the long time; the time is left out at midnight.
QString DateTimeToStr(const QDateTime& dateTime);

// Parse the stored forms; a text that does not parse throws AppError
// "''%s'' is not a valid date" / "''%s'' is not a valid date and time".
QDate StrToDate(const QString& text);
// A wall-clock value (see WallClock): a stored time that does not exist in the
// local time zone still reads as written.
QDateTime StrToDateTime(const QString& text);
// StrToDateTime's reading into its date and time, without building a date-time
// (nor, for the stored form, a copy of the text): for reading many stored rows.
void StrToDateTimeParts(QStringView text, QDate& date, QTime& time);
bool TryStrToDate(const QString& text, QDate& date);

QString LongDayName(int dayOfWeek);     // English: 1 = Monday … 7 = Sunday
QString LongMonthName(int month);       // English: 1 = January

// ------------------------------------------------------------ display forms

// The locale every display text follows: Qt's default locale (the system's
// regional settings unless a test pins another), or English (United States)
// where that is the C/POSIX locale.
QLocale DisplayLocale();

// The locale's short date form, always with a four-digit year: 3/29/2010,
// 29/03/2010, 29.03.2010. For date boxes (QDateEdit::setDisplayFormat) too.
QString DisplayDateFormat();
// The locale's long time form without a time zone: 8:30:00 AM, 08:30:00.
QString DisplayTimeFormat();
QString DisplayDate(const QDate& date);
QString DisplayTime(const QTime& time);
// Display date, a space and the display time; the time is left out at midnight.
QString DisplayDateTime(const QDateTime& dateTime);
// A stored date or date-time text in display form; a text that does not read
// as a stored date (or is empty) is shown as it stands.
QString DisplayStoredDate(const QString& storedText);
QString DisplayStoredDateTime(const QString& storedText);

// Currency text of an amount already rounded to cents, in the locale's
// currency form: $1,234.50 and -$1,234.50 (US), £1,234.50, 1.234,50 €. A
// negative amount carries the locale's minus sign, never bookkeeping brackets;
// an amount that rounds to zero cents is never negative.
QString FormatCurrency(double amount);
// FormatCurrency(cents / 100.0), the same text written quicker: for lists and
// pages of many amounts.
QString FormatCurrencyCents(qint64 cents);

// The separator a person types between whole and fraction: '.' or ','.
QChar DisplayDecimalSeparator();
// A stored number text ("12.5") as a person reads and edits it ("12,5").
QString DisplayNumberText(const QString& storedText);
// A typed number text ("12,5", "1.234,50") in its stored form ("12.5",
// "1234.50"), read by the rule of app/unitTypedNumber.h. A text that is not
// one number keeps its other characters. An empty text stays empty.
QString StoredNumberText(const QString& typedText);
// Reads a typed number by the rule of app/unitTypedNumber.h; otherwise
// "'%s' is not a valid floating point value", or, for a text that reads as two
// amounts, a message that shows both.
double ParseTypedNumber(const QString& typedText);
bool TryParseTypedNumber(const QString& typedText, double& value);

// Day and month names of the locale: 1 = Monday … 7 = Sunday; 1 = January.
QString DisplayDayName(int dayOfWeek, QLocale::FormatType format = QLocale::LongFormat);
QString DisplayMonthName(int month, QLocale::FormatType format = QLocale::LongFormat);
// The month name, a blank and the year: January 2010, Januar 2010.
QString DisplayMonthYear(int year, int month);

// The marker a list, a label or a printed field shows for a value that cannot be
// shown (an amount beyond what money text holds), so the rest of the screen works.
inline const QString kUnshownAmountText = QStringLiteral("####");
