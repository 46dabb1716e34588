#pragma once
// One price item as stored in tblPrices: save (insert or update) and delete.
#include <QString>
#include <optional>

struct TPriceItem {
    std::optional<qint64> intPrcItemNumID;   // empty for an item not yet saved
    QString strPrcItemName;
    QString strLabTax;       // "-1" / "0"
    QString strMatTax;       // "-1" / "0"
    QString strLbrPrc;       // the price as typed; empty stores 0.0
    QString strMatPrc;
};

// Inserts an item without an id, updates one with an id; returns the id. A
// price that is no number throws before anything is written.
qint64 SavePriceItem(const TPriceItem& item);

// Removes the item's row, then compacts the database file.
void DeletePriceItem(qint64 itemId);
