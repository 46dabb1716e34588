#pragma once
// The result list of invoice maintenance as a table model: six read-only
// columns over the rows of one query, replaced in one reset so a list of any
// length refills in one go.
#include "maintenance/unitInvoiceMaintenanceRules.h"

#include <QAbstractTableModel>
#include <vector>

class TInvMaintenanceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColNumber, ColInvoiceType, ColCustomer, ColCompany, ColTotal, ColInfo, ColumnCount };

    explicit TInvMaintenanceListModel(QObject* parent = nullptr);

    void setRows(std::vector<TInvMaintenanceRow> rows);
    void clear();
    const TInvMaintenanceRow& row(int index) const { return m_rows.at(std::size_t(index)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<TInvMaintenanceRow> m_rows;
};
