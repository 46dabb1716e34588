#include "maintenance/unitInvMaintenanceListModel.h"

#include "invoicing/unitDocumentModel.h"

TInvMaintenanceListModel::TInvMaintenanceListModel(QObject* parent) : QAbstractTableModel(parent) {}

void TInvMaintenanceListModel::setRows(std::vector<TInvMaintenanceRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void TInvMaintenanceListModel::clear() { setRows({}); }

int TInvMaintenanceListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TInvMaintenanceListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TInvMaintenanceListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size())) return {};
    const TInvMaintenanceRow& r = m_rows[std::size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == ColTotal ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                          : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case ColNumber: return QString::number(r.intInvNumber);
    case ColInvoiceType: return r.strInvName;
    case ColCustomer: return r.strCustFullName;
    case ColCompany: return r.strCustCmpnyName;
    case ColTotal: return FormatMoney(r.dbInvTotal); // formatted only for the rows on screen
    case ColInfo: return r.strInfo;
    }
    return {};
}

QVariant TInvMaintenanceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole)
        return section == ColTotal ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (section) {
    case ColNumber: return QStringLiteral("Number");
    case ColInvoiceType: return QStringLiteral("Invoice Type");
    case ColCustomer: return QStringLiteral("Customer");
    case ColCompany: return QStringLiteral("Company");
    case ColTotal: return QStringLiteral("Total");
    case ColInfo: return QStringLiteral("Info");
    }
    return {};
}
