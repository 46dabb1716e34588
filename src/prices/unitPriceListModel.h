#pragma once
// The rows of the price list for the list view, refilled in one go. Columns 3
// to 7 are hidden in the view and carry the row's data for editing.
#include "prices/unitPriceSearch.h"

#include <QAbstractTableModel>
#include <vector>

class TPriceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        colDescription = 0, colLaborPrice, colMaterialPrice,
        colLabTax, colMatTax, colLabPrice, colMatPrice, colPriceItmID, colCount
    };
    static constexpr int kFirstHiddenColumn = colLabTax;

    explicit TPriceListModel(QObject* parent = nullptr);

    void setRows(std::vector<TPriceListRow> rows);
    const TPriceListRow& rowAt(int row) const { return m_rows.at(size_t(row)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text of one cell, as the list holds it.
    QString cellText(int row, int column) const;

private:
    std::vector<TPriceListRow> m_rows;
};
