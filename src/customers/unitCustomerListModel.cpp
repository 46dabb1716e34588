#include "customers/unitCustomerListModel.h"

TCustomerListModel::TCustomerListModel(QObject* parent) : QAbstractTableModel(parent) {}

void TCustomerListModel::setRows(std::vector<TCustomerListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int TCustomerListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TCustomerListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : colCount;
}

QString TCustomerListModel::cellText(int row, int column) const
{
    const TCustomerListRow& r = m_rows.at(size_t(row));
    switch (column) {
    case colCustId: return QString::number(r.intCustomerID);
    case colCompany: return r.strCustCompany;
    case colName: return CustomerListName(r);
    case colAddress: return r.strCustAddress;
    case colCityStateZip: return CustomerListCityStateZip(r);
    case colPhone: return CustomerListPhone(r);
    default: return QString();
    }
}

QVariant TCustomerListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return cellText(index.row(), index.column());
}

QVariant TCustomerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case colCustId: return QStringLiteral("Cust ID");
    case colCompany: return QStringLiteral("Company");
    case colName: return QStringLiteral("Customer Name");
    case colAddress: return QStringLiteral("Address");
    case colCityStateZip: return QStringLiteral("City, State Zip");
    case colPhone: return QStringLiteral("Phone Number");
    default: return {};
    }
}
