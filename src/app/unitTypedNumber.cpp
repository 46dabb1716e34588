#include "app/unitTypedNumber.h"

#include "app/unitRegional.h"

namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Blank, no-break space and narrow no-break space: the grouping of many
// locales, typed as any of the three.
bool IsBlankLike(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x00A0) || c == QChar(0x202F); }

// The whole part as typed: digits, or digits grouped in threes behind a first
// group of one to three digits that does not start with 0 ("1.234.567").
bool ReadWholePart(QStringView whole, QChar group, QString& digits)
{
    if (!whole.contains(group)) {
        for (const QChar c : whole)
            if (!IsDigit(c)) return false;
        digits = whole.toString();
        return true;
    }
    const auto groups = whole.split(group);
    if (groups.front().isEmpty() || groups.front().size() > 3 || groups.front().front() == QLatin1Char('0'))
        return false;
    digits.clear();
    for (qsizetype index = 0; index < groups.size(); ++index) {
        const QStringView part = groups[index];
        if (index > 0 && part.size() != 3) return false;
        for (const QChar c : part)
            if (!IsDigit(c)) return false;
        digits += part;
    }
    return true;
}

// The stored form of `text` read with these separators, or a null string when
// it does not read as a number with them.
QString ReadWith(QStringView text, QChar decimal, QChar group)
{
    QString sign;
    if (text.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("-");
        text = text.mid(1);
    }
    const qsizetype point = text.indexOf(decimal);
    const QStringView whole = point < 0 ? text : text.left(point);
    const QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);
    for (const QChar c : fraction)
        if (!IsDigit(c)) return QString();
    QString digits;
    if (!ReadWholePart(whole, group, digits)) return QString();
    if (digits.isEmpty() && fraction.isEmpty()) return QString();
    QString stored = sign + digits;
    if (point >= 0) stored += QLatin1Char('.') + fraction.toString();
    return stored;
}

bool SameNumber(const QString& a, const QString& b) { return a.toDouble() == b.toDouble(); }

QChar RegionalGroup()
{
    const QString group = DisplayLocale().groupSeparator();
    return group.size() == 1 ? group.front() : QChar();
}

} // namespace

TTypedNumber ReadTypedNumber(const QString& typed, QChar decimal, QChar group)
{
    QString text = typed.trimmed();
    if (IsBlankLike(group))
        for (QChar& c : text)
            if (IsBlankLike(c)) c = group;

    // The other convention: a point before the decimals and a comma between
    // the thousands, or the other way round.
    const bool regionalPoint = decimal == QLatin1Char('.');
    const QChar otherDecimal = regionalPoint ? QLatin1Char(',') : QLatin1Char('.');
    const QChar otherGroup = regionalPoint ? QLatin1Char('.') : QLatin1Char(',');

    TTypedNumber number;
    const QString regional = ReadWith(text, decimal, group);
    // The regional decimal separator always marks the decimals: only a text
    // with the other convention's decimal separator may be read the other way.
    const QString other = text.contains(otherDecimal) ? ReadWith(text, otherDecimal, otherGroup) : QString();
    if (!regional.isNull() && !other.isNull() && !SameNumber(regional, other)) {
        number.reading = TTypedNumber::Reading::Two;
        number.stored = regional;
        number.otherStored = other;
    } else if (!regional.isNull() || !other.isNull()) {
        number.reading = TTypedNumber::Reading::One;
        number.stored = regional.isNull() ? other : regional;
    }
    return number;
}

TTypedNumber ReadTypedNumber(const QString& typed)
{
    return ReadTypedNumber(typed, DisplayDecimalSeparator(), RegionalGroup());
}

QString TwoReadingsMessage(const QString& typed, const TTypedNumber& number)
{
    return QStringLiteral("'%1' can mean %2 or %3: please type the amount as one of these.")
        .arg(typed, DisplayNumberText(number.stored), DisplayNumberText(number.otherStored));
}

bool IsNumberBoxCharacter(QChar typed)
{
    if (IsDigit(typed) || typed == QLatin1Char('.') || typed == QLatin1Char(',')) return true;
    if (typed == DisplayDecimalSeparator()) return true;
    const QChar group = RegionalGroup();
    if (group.isNull()) return false;
    return typed == group || (IsBlankLike(group) && IsBlankLike(typed));
}
