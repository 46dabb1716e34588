#pragma once
// One price item as stored in tblPrices: read, save (insert or update) and delete.
#include "db/unitRecordVersion.h"

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

// Reads one stored item (prices as the stored number's text) and, with
// version, its row as read for the save's check. Empty when the item is gone.
std::optional<TPriceItem> LoadPriceItem(qint64 itemId, TRecordVersion* version = nullptr);

// Inserts an item without an id, updates one with an id; returns the id. A
// price that is no number throws before anything is written. With an opened
// version (from LoadPriceItem), an item another seat changed or deleted since
// is refused (EditConflictError) and nothing is written; after the save the
// version is what was written.
qint64 SavePriceItem(const TPriceItem& item, TRecordVersion* opened = nullptr);

// Removes the item's row, then compacts the database file.
void DeletePriceItem(qint64 itemId);
