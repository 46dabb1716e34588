#include "app/unitRegional.h"

#include "app/AppError.h"

#include <cmath>

QString ShortDateFormat() { return QStringLiteral("M/d/yyyy"); }
QString LongTimeFormat() { return QStringLiteral("h:mm:ss AP"); }
QString ShortTimeFormat() { return QStringLiteral("h:mm AP"); }
QChar DecimalSeparator() { return QChar('.'); }
QLocale RegionalLocale() { return QLocale(QLocale::English, QLocale::UnitedStates); }

QString DateToStr(const QDate& date) { return RegionalLocale().toString(date, ShortDateFormat()); }
QString TimeToStr(const QTime& time) { return RegionalLocale().toString(time, LongTimeFormat()); }

QString DateTimeToStr(const QDateTime& dateTime)
{
    const QString date = DateToStr(dateTime.date());
    if (dateTime.time() == QTime(0, 0)) return date;
    return date + ' ' + TimeToStr(dateTime.time());
}

bool TryStrToDate(const QString& text, QDate& date)
{
    date = RegionalLocale().toDate(text.trimmed(), ShortDateFormat());
    return date.isValid();
}

QDate StrToDate(const QString& text)
{
    QDate date;
    if (!TryStrToDate(text, date))
        throw AppError(QStringLiteral("''%1'' is not a valid date").arg(text));
    return date;
}

QDateTime StrToDateTime(const QString& text)
{
    const QString trimmed = text.trimmed();
    const int space = trimmed.indexOf(' ');
    QDate date;
    QTime time(0, 0);
    bool ok;
    if (space < 0) {
        ok = TryStrToDate(trimmed, date);
    } else {
        ok = TryStrToDate(trimmed.left(space), date);
        if (ok) {
            const QString timeText = trimmed.mid(space + 1).trimmed();
            time = RegionalLocale().toTime(timeText, LongTimeFormat());
            if (!time.isValid()) time = RegionalLocale().toTime(timeText, QStringLiteral("h:mm AP"));
            ok = time.isValid();
        }
    }
    if (!ok) throw AppError(QStringLiteral("''%1'' is not a valid date and time").arg(text));
    return QDateTime(date, time);
}

QString FormatCurrency(double amount)
{
    const QLocale locale = RegionalLocale();
    const QString digits = locale.toString(std::fabs(amount), 'f', 2);
    // A value that rounds to zero cents is never shown as a negative amount.
    const bool negative = amount < 0 && digits != QStringLiteral("0.00");
    return (negative ? QStringLiteral("-$") : QStringLiteral("$")) + digits;
}

QString LongDayName(int dayOfWeek) { return RegionalLocale().dayName(dayOfWeek, QLocale::LongFormat); }
QString LongMonthName(int month) { return RegionalLocale().monthName(month, QLocale::LongFormat); }
