#include "prices/unitPriceRules.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "db/unitStoredValues.h"

#include <QRegularExpression>

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
    // Digits with at most one separator and at least one digit: what the key
    // filter lets through, and what the stored number can be read from. Pasted
    // text is not filtered, so it is checked here before anything is written.
    static const QRegularExpression plainNumber(QStringLiteral("^[0-9]*\\.?[0-9]*$"));
    // Where the separator is not '.', a '.' is grouping (1.234) and is refused.
    const bool foreignPoint = DisplayDecimalSeparator() != DecimalSeparator() && text.contains(DecimalSeparator());
    const QString number = StoredNumberText(text);
    if (foreignPoint || !plainNumber.match(number).hasMatch() || !number.contains(QRegularExpression(QStringLiteral("[0-9]"))))
        throw AppError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return StrToFloat(number);
}
