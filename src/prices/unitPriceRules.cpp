#include "prices/unitPriceRules.h"

#include "app/unitRegional.h"


bool PriceItemCanBeSaved(const QString& description, const QString& labourPrice, const QString& materialPrice)
{
    return !description.isEmpty() && (!labourPrice.isEmpty() || !materialPrice.isEmpty());
}

bool AddToInvoiceEnabled(const QString& description, const QString& labourPrice, const QString& materialPrice,
                         const QString& quantity, bool enabledNow)
{
    if (!PriceItemCanBeSaved(description, labourPrice, materialPrice)) return enabledNow;
    return !quantity.isEmpty();
}

bool PricePrintAllowed(bool listEnabled, int listRowCount, bool pickMode)
{
    return listEnabled && listRowCount > 0 && !pickMode;
}

QString PriceBoxOrZero(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("0") + DisplayDecimalSeparator() + QStringLiteral("0") : text;
}

double PriceTextToNumber(const QString& text)
{
    // Pasted text is not filtered by the keys, so it is read here before
    // anything is written: a text that is not one amount is refused, and one
    // that reads as two amounts says so.
    return ParseTypedNumber(text);
}
