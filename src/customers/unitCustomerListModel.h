#pragma once
// The rows of the customer list for the list view: refilled in one go, so a
// list of 100,000 customers costs one reset and no per-row widgets.
#include "customers/unitCustomerSearch.h"

#include <QAbstractTableModel>
#include <vector>

class TCustomerListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { colCustId = 0, colCompany, colName, colAddress, colCityStateZip, colPhone, colCount };

    explicit TCustomerListModel(QObject* parent = nullptr);

    void setRows(std::vector<TCustomerListRow> rows);
    const TCustomerListRow& rowAt(int row) const { return m_rows.at(size_t(row)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text of one cell, as the list shows it.
    QString cellText(int row, int column) const;

private:
    std::vector<TCustomerListRow> m_rows;
};
