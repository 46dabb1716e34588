#pragma once
// The rows of the price list for the list view, refilled in one go. Columns 3
// to 7 are hidden in the view and carry the row's data for editing.
#include "app/unitRowListModel.h"
#include "prices/unitPriceSearch.h"

class TPriceListModel : public TRowListModel<TPriceListRow> {
    Q_OBJECT
public:
    enum Column {
        colDescription = 0, colLaborPrice, colMaterialPrice,
        colLabTax, colMatTax, colLabPrice, colMatPrice, colPriceItmID, colCount
    };
    static constexpr int kFirstHiddenColumn = colLabTax;

    explicit TPriceListModel(QObject* parent = nullptr);

    // The text of one cell, as the list holds it.
    QString cellText(int row, int column) const override;

protected:
    QString columnCaption(int column) const override;
    QVariant columnAlignment(int column) const override;
};
