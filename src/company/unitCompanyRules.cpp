#include "company/unitCompanyRules.h"

#include "app/unitRegional.h"
#include "db/unitStoredValues.h"

QString SetToNumber(const QString& boxText, QChar decimalSeparator)
{
    QString text = boxText.left(6);
    while (text.size() < 6) text.append(QLatin1Char(' '));
    if (text[0] == QLatin1Char(' ')) text[0] = QLatin1Char('0');
    if (text[1] == QLatin1Char(' ')) text[1] = decimalSeparator;
    for (int i = 2; i < 6; ++i)
        if (text[i] == QLatin1Char(' ')) text[i] = QLatin1Char('0');
    return text;
}

QString TaxRateText(double rate) { return QString::number(rate, 'f', 4); }

QString PaymentTermsCountText(int count)
{
    if (count >= kMaxPaymentTerms) return QStringLiteral("Payment Terms are full");
    return QStringLiteral("You may add ") + QString::number(kMaxPaymentTerms - count)
           + QStringLiteral(" more Payment Terms");
}

QString RemovePaymentTermQuestion(const QString& term)
{
    return QStringLiteral("Remove ") + QLatin1Char('"') + term + QLatin1Char('"') + QStringLiteral(" from list?");
}

std::array<QString, 11> PaymentTermSlots(const QStringList& entries)
{
    std::array<QString, 11> termSlots;
    for (int i = 0; i < entries.size() && i < kMaxPaymentTerms; ++i) termSlots[i + 1] = entries[i];
    return termSlots;
}

QStringList PaymentTermEntries(const std::array<QString, 11>& termSlots)
{
    QStringList entries;
    for (int slot = 1; slot <= kMaxPaymentTerms; ++slot)
        if (!termSlots[slot].isEmpty()) entries.append(termSlots[slot]);
    return entries;
}

std::array<TPreviewColumn, 3> ColumnPreview(bool showQuantity, bool showPriceEach, bool showTotal)
{
    // The sample amounts in the regional money form, as documents print them.
    const QLocale locale = DisplayLocale();
    const TPreviewColumn total{QStringLiteral("Total"), FormatCurrency(24.75), FormatCurrency(177.24)};
    const TPreviewColumn priceEach{QStringLiteral("Price Each"), FormatCurrency(4.95), FormatCurrency(12.66)};
    const TPreviewColumn quantity{QStringLiteral("Quantity"), locale.toString(5), locale.toString(14)};
    std::array<TPreviewColumn, 3> columns;
    int next = 2;   // right-most first
    if (showTotal) columns[next--] = total;
    if (showPriceEach) columns[next--] = priceEach;
    if (showQuantity) columns[next--] = quantity;
    return columns;
}

int TaxOptionMissingName(const std::array<QString, 3>& rateTexts, const std::array<QString, 3>& names)
{
    for (int i = 0; i < 3; ++i)
        if (StrToFloat(rateTexts[i]) > 0 && names[i].isEmpty()) return i + 1;
    return 0;
}

QString TaxAmountHelpText()
{
    return QStringLiteral("Enter the tax amount. \nExample: 5 Percent = %1 \n\nYou may enter up to 4 digits, "
                          "\nExample: %2 ")
        .arg(DisplayNumberText(QStringLiteral("0.0500")), DisplayNumberText(QStringLiteral("0.1234")));
}

bool MailPortAllowed(const QString& portText)
{
    if (portText.isEmpty()) return true;
    bool ok = false;
    const int port = portText.toInt(&ok);
    return ok && port >= 1 && port <= 65535;
}

QString MailPortMessage()
{
    return QStringLiteral("Please enter a Server Port from 1 to 65535 for Outgoing Mail (SMTP), or leave it empty.");
}

QString UnreadableLogoText(const QString& reason)
{
    return QStringLiteral("Logo cannot be read (%1)").arg(reason);
}

QString TaxNameMissingMessage(int option)
{
    return QStringLiteral("Please enter a Tax Name for Tax Option %1.").arg(option);
}

bool IsRemovalCode(int code) { return code >= 0 && code <= 3; }
bool IsDefaultPlannerCode(int code) { return code >= 0 && code <= 2; }
