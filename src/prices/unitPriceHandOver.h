#pragma once
// The price-item hand-over: the price sheet's "Add To Invoice" fills it for the
// document editor, and the editor and the line item dialog pass one line
// through it. The reader empties it after use; an empty item name means
// nothing was picked.
#include <QString>

struct TrecPrices {
    QString strPrcItemName;
    QString strLbrPrc;      // labour price in its stored form, "0.0" when left empty
    QString strMatPrc;      // material price in its stored form, "0.0" when left empty
    QString strLabTax;      // "-1" / "0"
    QString strMatTax;      // "-1" / "0"
    QString strQuantity;    // stored form ("." as separator)
    bool blEdited = false;

    void clear() { *this = TrecPrices(); }
    bool operator==(const TrecPrices&) const = default;
};

extern TrecPrices recPrices;
