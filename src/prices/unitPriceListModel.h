#pragma once
// The rows of the price list for the list view, read in pages as the view
// scrolls. Columns 3 to 7 are hidden in the view and carry the row's data for
// editing.
#include "app/unitPagedListModel.h"
#include "prices/unitPriceSearch.h"

class TPriceListModel : public TPagedListModel {
    Q_OBJECT
public:
    enum Column {
        colDescription = 0, colLaborPrice, colMaterialPrice,
        colLabTax, colMatTax, colLabPrice, colMatPrice, colPriceItmID, colCount
    };
    static constexpr int kFirstHiddenColumn = colLabTax;

    explicit TPriceListModel(QObject* parent = nullptr);

    // Lists the items of a search type and text, from the first page on.
    void setSearch(int searchType, const QString& text) { setQuery(BuildPriceQuery(searchType, text)); }
    TPriceListRow rowAt(int row) const;
    // The text of one cell, as the list holds it.
    QString cellText(int row, int column) const override;
    static QString cellTextOf(const TPriceListRow& row, int column);

protected:
    void writeRow(const DbStatement& statement, TRowBlocks::Writer& row) const override;
    QString columnCaption(int column) const override;
    QVariant columnAlignment(int column) const override;
};
