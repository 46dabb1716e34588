#include "company/unitCompanyRules.h"

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
    const TPreviewColumn total{QStringLiteral("Total"), QStringLiteral("$24.75"), QStringLiteral("$177.24")};
    const TPreviewColumn priceEach{QStringLiteral("Price Each"), QStringLiteral("$4.95"), QStringLiteral("$12.66")};
    const TPreviewColumn quantity{QStringLiteral("Quantity"), QStringLiteral("5"), QStringLiteral("14")};
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

QString TaxNameMissingMessage(int option)
{
    return QStringLiteral("Please enter a Tax Name for Tax Option %1.").arg(option);
}

bool IsRemovalCode(int code) { return code >= 0 && code <= 3; }
bool IsDefaultPlannerCode(int code) { return code >= 0 && code <= 2; }
