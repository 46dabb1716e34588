#include "company/unitEInvoiceRules.h"

#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {

// Codes of the regional data that are not ISO 3166-1 countries (islands that
// ISO counts with their country, Kosovo's provisional code, unions and regions).
const QSet<QString>& NotIsoCountries()
{
    static const QSet<QString> codes{QStringLiteral("AC"), QStringLiteral("CP"), QStringLiteral("DG"),
                                     QStringLiteral("EA"), QStringLiteral("EU"), QStringLiteral("EZ"),
                                     QStringLiteral("IC"), QStringLiteral("QO"), QStringLiteral("TA"),
                                     QStringLiteral("UN"), QStringLiteral("XK")};
    return codes;
}

// "Bosnia And Herzegovina" -> "Bosnia and Herzegovina".
QString PlainEnglishName(QString name)
{
    for (const char* word : {" And ", " Of ", " Da "})
        name.replace(QLatin1String(word), QLatin1String(word).toString().toLower());
    return name;
}

// Code -> English name, from the regional data Qt carries.
const QMap<QString, QString>& Countries()
{
    static const QMap<QString, QString> countries = [] {
        static const QRegularExpression twoLetters(QStringLiteral("^[A-Z]{2}$"));
        QMap<QString, QString> map;
        for (int value = 1; value <= int(QLocale::LastTerritory); ++value) {
            const auto territory = QLocale::Territory(value);
            const QString code = QLocale::territoryToCode(territory);
            if (!twoLetters.match(code).hasMatch() || NotIsoCountries().contains(code)) continue;
            map.insert(code, PlainEnglishName(QLocale::territoryToString(territory)));
        }
        return map;
    }();
    return countries;
}

const QSet<QString>& CurrenciesInUse()
{
    static const QSet<QString> codes = [] {
        QSet<QString> set;
        for (const QLocale& locale :
             QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
            const QString code = locale.currencySymbol(QLocale::CurrencyIsoCode);
            if (!code.isEmpty()) set.insert(code);
        }
        return set;
    }();
    return codes;
}

} // namespace

QStringList EInvoiceCountryEntries()
{
    QStringList entries;
    for (auto it = Countries().cbegin(); it != Countries().cend(); ++it)
        entries.append(it.key() + QLatin1Char(' ') + it.value());
    return entries;
}

QString CountryCodeOfEntry(const QString& entry)
{
    return entry.section(QLatin1Char(' '), 0, 0);
}

QString CountryEntryOfCode(const QString& code)
{
    const auto found = Countries().constFind(code);
    return found == Countries().cend() ? QString() : found.key() + QLatin1Char(' ') + found.value();
}

bool IsCountryCode(const QString& code) { return Countries().contains(code); }

QString CompactIdentifier(const QString& typed)
{
    QString compact = typed;
    compact.remove(QRegularExpression(QStringLiteral("\\s")));
    return compact.toUpper();
}

QString VatIdProblem(const QString& vatId)
{
    const QString id = CompactIdentifier(vatId);
    if (id.isEmpty()) return QString();
    static const QRegularExpression shape(QStringLiteral("^[A-Z]{2}[A-Z0-9+*.]{2,13}$"));
    const QString prefix = id.left(2);
    if (shape.match(id).hasMatch() && (IsCountryCode(prefix) || prefix == QLatin1String("EL"))) return QString();
    return QStringLiteral("The VAT ID %1 must begin with the two-letter code of the country that issued it, "
                          "followed by its number, for example DE123456789")
        .arg(vatId.trimmed());
}

QString IbanProblem(const QString& iban)
{
    const QString id = CompactIdentifier(iban);
    if (id.isEmpty()) return QString();
    static const QRegularExpression shape(QStringLiteral("^[A-Z]{2}[0-9]{2}[A-Z0-9]{11,30}$"));
    if (shape.match(id).hasMatch() && IsCountryCode(id.left(2))) {
        // ISO 13616: the first four characters moved to the end, letters as
        // 10 to 35, the number modulo 97 is 1.
        const QString rearranged = id.mid(4) + id.left(4);
        int remainder = 0;
        for (const QChar c : rearranged) {
            const int value = c.isDigit() ? c.digitValue() : c.unicode() - 'A' + 10;
            remainder = (value >= 10 ? remainder * 100 : remainder * 10) + value;
            remainder %= 97;
        }
        if (remainder == 1) return QString();
    }
    return QStringLiteral("The IBAN %1 is not valid: its check digits do not match the account. "
                          "Please copy it again from a bank statement")
        .arg(iban.trimmed());
}

QString BicProblem(const QString& bic)
{
    const QString id = CompactIdentifier(bic);
    if (id.isEmpty()) return QString();
    static const QRegularExpression shape(QStringLiteral("^[A-Z]{4}([A-Z]{2})[A-Z0-9]{2}([A-Z0-9]{3})?$"));
    const QRegularExpressionMatch match = shape.match(id);
    if (match.hasMatch() && IsCountryCode(match.captured(1))) return QString();
    return QStringLiteral("The BIC %1 is not valid: a BIC has 8 or 11 letters and digits, for example DEUTDEFF")
        .arg(bic.trimmed());
}

QString CurrencyCodeProblem(const QString& code)
{
    const QString id = CompactIdentifier(code);
    if (id.isEmpty() || CurrenciesInUse().contains(id)) return QString();
    return QStringLiteral("The currency code %1 is not known: enter the three letters of an ISO 4217 currency, "
                          "for example EUR or USD")
        .arg(code.trimmed());
}
