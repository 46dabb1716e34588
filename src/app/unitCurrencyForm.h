#pragma once
// The currency text of whole cents written directly from the locale's parts
// (digits, group and decimal separators, the text before and after the
// number), for the lists and pages that show thousands of amounts: Qt's
// currency formatting goes through its general floating-point formatter,
// several times slower. A locale whose form this does not reproduce exactly
// (checked against Qt on probe amounts when the form is made) is left to Qt.
#include <QLocale>
#include <QString>

class TCurrencyForm {
public:
    TCurrencyForm(const QLocale& locale, const QString& symbol);

    bool isFor(const QLocale& locale) const { return locale == m_locale; }
    // True when text() gives Qt's text for this locale.
    bool understood() const { return m_understood; }
    // toCurrencyString(cents / 100.0, symbol, 2), for 0 <= cents <= kLargestCents.
    QString text(qint64 cents) const;

    // Above this a double no longer holds every cent, and Qt's text of the
    // double may differ from the cents' digits.
    static constexpr qint64 kLargestCents = qint64(1) << 50;

private:
    QLocale m_locale;
    QString m_prefix;
    QString m_suffix;
    QString m_group;
    QString m_point;
    char16_t m_zero = u'0';
    bool m_groupsFourDigits = true;   // 1,234 rather than 1234
    bool m_understood = false;
};
