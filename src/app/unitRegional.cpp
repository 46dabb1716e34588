#include "app/unitRegional.h"

#include "app/AppError.h"
#include "app/unitCurrencyForm.h"
#include "app/unitDateHelpers.h"
#include "app/unitTypedNumber.h"

#include <cmath>
#include <optional>

// ------------------------------------------------------------- stored forms

QString ShortDateFormat() { return QStringLiteral("M/d/yyyy"); }
QString LongTimeFormat() { return QStringLiteral("h:mm:ss AP"); }
QString ShortTimeFormat() { return QStringLiteral("h:mm AP"); }
QChar DecimalSeparator() { return QChar('.'); }
QLocale RegionalLocale()
{
    // Looked up once: every money cell of a list asks for it where no regional setting is made.
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

QString DateToStr(const QDate& date) { return RegionalLocale().toString(date, ShortDateFormat()); }
QString TimeToStr(const QTime& time) { return RegionalLocale().toString(time, LongTimeFormat()); }

QString DateTimeToStr(const QDateTime& dateTime)
{
    const QString date = DateToStr(dateTime.date());
    if (dateTime.time() == QTime(0, 0)) return date;
    return date + ' ' + TimeToStr(dateTime.time());
}

namespace {

// Reads 1 to maxDigits digits at pos, the first not a '0' unless it stands
// alone, as the stored forms write them; -1 when the text does not.
int readNumber(QStringView text, qsizetype& pos, int minDigits, int maxDigits, bool leadingZero)
{
    const qsizetype start = pos;
    int value = 0;
    while (pos < text.size() && pos - start < maxDigits && text[pos] >= u'0' && text[pos] <= u'9')
        value = value * 10 + (text[pos++].unicode() - u'0');
    const qsizetype digits = pos - start;
    if (digits < minDigits) return -1;
    if (!leadingZero && digits > 1 && text[start] == u'0') return -1;
    return value;
}

// The stored date form exactly as DateToStr writes it ("3/29/2010"). Stored
// lists read many thousands of these, where the locale's general parser is
// slow; any other text is left to that parser (false here), so what it accepts
// and refuses stays the rule.
bool readStoredDate(QStringView text, QDate& date)
{
    qsizetype pos = 0;
    const int month = readNumber(text, pos, 1, 2, false);
    if (month < 0 || pos >= text.size() || text[pos++] != u'/') return false;
    const int day = readNumber(text, pos, 1, 2, false);
    if (day < 0 || pos >= text.size() || text[pos++] != u'/') return false;
    const int year = readNumber(text, pos, 4, 4, true);
    if (year < 0 || pos != text.size()) return false;
    date = QDate(year, month, day);
    return date.isValid();
}

// The stored time form exactly as TimeToStr writes it ("8:30:00 AM").
bool readStoredTime(QStringView text, QTime& time)
{
    qsizetype pos = 0;
    const int hour = readNumber(text, pos, 1, 2, false);
    if (hour < 1 || hour > 12 || pos >= text.size() || text[pos++] != u':') return false;
    const int minute = readNumber(text, pos, 2, 2, true);
    if (minute < 0 || pos >= text.size() || text[pos++] != u':') return false;
    const int second = readNumber(text, pos, 2, 2, true);
    if (second < 0 || text.size() - pos != 3 || text[pos] != u' ' || text[pos + 2] != u'M') return false;
    const QChar half = text[pos + 1];
    if (half != u'A' && half != u'P') return false;
    time = QTime(hour % 12 + (half == u'P' ? 12 : 0), minute, second);
    return time.isValid();
}

} // namespace

bool TryStrToDate(const QString& text, QDate& date)
{
    const QString trimmed = text.trimmed();
    if (readStoredDate(trimmed, date)) return true;
    date = RegionalLocale().toDate(trimmed, ShortDateFormat());
    return date.isValid();
}

QDate StrToDate(const QString& text)
{
    QDate date;
    if (!TryStrToDate(text, date))
        throw AppError(QStringLiteral("''%1'' is not a valid date").arg(text));
    return date;
}

void StrToDateTimeParts(QStringView text, QDate& date, QTime& time)
{
    // The form DateTimeToStr writes, read without copying the text.
    const qsizetype blank = text.indexOf(u' ');
    if (blank < 0 ? readStoredDate(text, date)
                  : readStoredDate(text.left(blank), date) && readStoredTime(text.mid(blank + 1), time)) {
        if (blank < 0) time = QTime(0, 0);
        return;
    }
    const QString trimmed = text.trimmed().toString();
    const int space = trimmed.indexOf(' ');
    date = QDate();
    time = QTime(0, 0);
    bool ok;
    if (space < 0) {
        ok = TryStrToDate(trimmed, date);
    } else {
        ok = TryStrToDate(trimmed.left(space), date);
        if (ok) {
            const QString timeText = trimmed.mid(space + 1).trimmed();
            if (!readStoredTime(timeText, time)) time = RegionalLocale().toTime(timeText, LongTimeFormat());
            if (!time.isValid()) time = RegionalLocale().toTime(timeText, QStringLiteral("h:mm AP"));
            ok = time.isValid();
        }
    }
    if (!ok) throw AppError(QStringLiteral("''%1'' is not a valid date and time").arg(text));
}

QDateTime StrToDateTime(const QString& text)
{
    QDate date;
    QTime time;
    StrToDateTimeParts(text, date, time);
    return WallClock(date, time);
}

QString LongDayName(int dayOfWeek) { return RegionalLocale().dayName(dayOfWeek, QLocale::LongFormat); }
QString LongMonthName(int month) { return RegionalLocale().monthName(month, QLocale::LongFormat); }

// ------------------------------------------------------------ display forms

QLocale DisplayLocale()
{
    const QLocale locale;
    // The C/POSIX locale has no currency symbol and a day-month-name date:
    // with no regional setting made, the program shows its US forms.
    if (locale.language() == QLocale::C) return RegionalLocale();
    return locale;
}

namespace {

// Rewrites the date/time format outside its quoted literals: every run of the
// letter `from` goes through `replace` (which gets the run's length).
template <typename Replace>
QString RewriteFormatLetters(const QString& format, QChar from, Replace replace)
{
    QString result;
    bool quoted = false;
    for (int i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted || c != from) {
            result += c;
            ++i;
            continue;
        }
        int run = 0;
        while (i < format.size() && format.at(i) == from) ++run, ++i;
        result += replace(run);
    }
    return result;
}

} // namespace

QString DisplayDateFormat()
{
    // Some short forms write a two-digit year (M/d/yy, dd.MM.yy): always four.
    return RewriteFormatLetters(DisplayLocale().dateFormat(QLocale::ShortFormat), QLatin1Char('y'),
                                [](int) { return QStringLiteral("yyyy"); });
}

QString DisplayTimeFormat()
{
    // The long form ends in the time zone, which a stored time does not have.
    return RewriteFormatLetters(DisplayLocale().timeFormat(QLocale::LongFormat), QLatin1Char('t'),
                                [](int) { return QString(); })
        .trimmed();
}

QString DisplayDate(const QDate& date) { return DisplayLocale().toString(date, DisplayDateFormat()); }
QString DisplayTime(const QTime& time) { return DisplayLocale().toString(time, DisplayTimeFormat()); }

QString DisplayDateTime(const QDateTime& dateTime)
{
    const QString date = DisplayDate(dateTime.date());
    if (dateTime.time() == QTime(0, 0)) return date;
    return date + QLatin1Char(' ') + DisplayTime(dateTime.time());
}

QString DisplayStoredDate(const QString& storedText)
{
    QDate date;
    return TryStrToDate(storedText, date) ? DisplayDate(date) : storedText;
}

QString DisplayStoredDateTime(const QString& storedText)
{
    try {
        return DisplayDateTime(StrToDateTime(storedText));
    } catch (const AppError&) {
        return storedText;
    }
}

QString FormatCurrency(double amount)
{
    const QLocale locale = DisplayLocale();
    const QString symbol = locale.currencySymbol();
    const double magnitude = std::fabs(amount);
    const QString positive = locale.toCurrencyString(magnitude, symbol, 2);
    // A value that rounds to zero cents is never shown as a negative amount.
    if (!(amount < 0) || QLocale::c().toString(magnitude, 'f', 2) == QStringLiteral("0.00")) return positive;
    const QString negative = locale.toCurrencyString(-magnitude, symbol, 2);
    // Some locales' data give the bookkeeping form (brackets) for negative
    // money; amounts here always carry the minus sign, as in -$1,234.50.
    if (negative.contains(QLatin1Char('('))) return locale.negativeSign() + positive;
    return negative;
}

QString FormatCurrencyCents(qint64 cents)
{
    if (cents >= 0 && cents <= TCurrencyForm::kLargestCents) {
        // The form of the locale in use, made again when the locale changes.
        thread_local std::optional<TCurrencyForm> form;
        const QLocale locale = DisplayLocale();
        if (!form || !form->isFor(locale)) form.emplace(locale, locale.currencySymbol());
        if (form->understood()) return form->text(cents);
    }
    return FormatCurrency(double(cents) / 100);
}

QChar DisplayDecimalSeparator()
{
    const QString point = DisplayLocale().decimalPoint();
    return point.size() == 1 ? point.front() : DecimalSeparator();
}

QString DisplayNumberText(const QString& storedText)
{
    QString text = storedText;
    return text.replace(DecimalSeparator(), DisplayDecimalSeparator());
}

QString StoredNumberText(const QString& typedText)
{
    const TTypedNumber number = ReadTypedNumber(typedText);
    if (number.reading == TTypedNumber::Reading::One) return number.stored;
    // Not one number: the text keeps its other characters, so reading it
    // later fails the same way.
    QString text = typedText;
    return text.replace(DisplayDecimalSeparator(), DecimalSeparator());
}

bool TryParseTypedNumber(const QString& typedText, double& value)
{
    const TTypedNumber number = ReadTypedNumber(typedText);
    if (number.reading != TTypedNumber::Reading::One) return false;
    bool ok = false;
    value = QLocale::c().toDouble(number.stored, &ok);
    return ok && std::isfinite(value);
}

double ParseTypedNumber(const QString& typedText)
{
    double value;
    if (TryParseTypedNumber(typedText, value)) return value;
    const TTypedNumber number = ReadTypedNumber(typedText);
    if (number.reading == TTypedNumber::Reading::Two) throw AppError(TwoReadingsMessage(typedText, number));
    throw AppError(QStringLiteral("'%1' is not a valid floating point value").arg(typedText));
}

QString DisplayDayName(int dayOfWeek, QLocale::FormatType format)
{
    return DisplayLocale().standaloneDayName(dayOfWeek, format);
}

QString DisplayMonthName(int month, QLocale::FormatType format)
{
    return DisplayLocale().standaloneMonthName(month, format);
}

QString DisplayMonthYear(int year, int month)
{
    return DisplayMonthName(month) + QLatin1Char(' ') + QString::number(year);
}
