#include "app/unitCurrencyForm.h"

#include <initializer_list>

TCurrencyForm::TCurrencyForm(const QLocale& locale, const QString& symbol) : m_locale(locale)
{
    const QString zero = locale.zeroDigit();
    if (zero.size() != 1) return;   // digits outside the basic plane
    m_zero = zero.front().unicode();
    m_group = locale.groupSeparator();
    m_point = locale.decimalPoint();
    m_groupsFourDigits = locale.toString(1234LL).size() > 4;

    // The text around the number: Qt's text of nothing, split at the number.
    const QString zeroNumber = text(0);
    const QString zeroText = locale.toCurrencyString(0.0, symbol, 2);
    const qsizetype at = zeroText.indexOf(zeroNumber);
    if (at < 0) return;
    m_prefix = zeroText.left(at);
    m_suffix = zeroText.mid(at + zeroNumber.size());
    // m_prefix and m_suffix were empty while zeroNumber was written.
    for (qint64 cents : {0LL, 1LL, 9LL, 10LL, 99LL, 100LL, 101LL, 999LL, 1000LL, 99999LL, 100000LL, 123456LL,
                         999999LL, 1000000LL, 12345678LL, 123456789LL, 100000000000LL, 98765432101234LL,
                         kLargestCents}) {
        if (text(cents) != locale.toCurrencyString(double(cents) / 100, symbol, 2)) return;
    }
    m_understood = true;
}

QString TCurrencyForm::text(qint64 cents) const
{
    char16_t digits[24];
    int count = 0;
    qint64 whole = cents / 100;
    const int fraction = int(cents % 100);
    do {
        digits[count++] = char16_t(m_zero + whole % 10);
        whole /= 10;
    } while (whole > 0);
    const bool grouped = count > 3 && (m_groupsFourDigits || count > 4);

    QString result;
    result.reserve(m_prefix.size() + count + (count / 3) * m_group.size() + m_point.size() + 2 + m_suffix.size());
    result += m_prefix;
    for (int i = count - 1; i >= 0; --i) {
        result += QChar(digits[i]);
        if (grouped && i > 0 && i % 3 == 0) result += m_group;
    }
    result += m_point;
    result += QChar(char16_t(m_zero + fraction / 10));
    result += QChar(char16_t(m_zero + fraction % 10));
    result += m_suffix;
    return result;
}
