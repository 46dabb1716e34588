#include "prices/unitPriceListModel.h"

#include "invoicing/unitDocumentModel.h"

TPriceListModel::TPriceListModel(QObject* parent) : QAbstractTableModel(parent) {}

void TPriceListModel::setRows(std::vector<TPriceListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int TPriceListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int TPriceListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : colCount; }

QString TPriceListModel::cellText(int row, int column) const
{
    const TPriceListRow& r = m_rows.at(size_t(row));
    switch (column) {
    case colDescription: return r.strPrcItemName;
    case colLaborPrice: return FormatMoney(r.dbLbrPrc);
    case colMaterialPrice: return FormatMoney(r.dbMatPrc);
    case colLabTax: return r.strLabTax;
    case colMatTax: return r.strMatTax;
    case colLabPrice: return r.strLbrPrcText;
    case colMatPrice: return r.strMatPrcText;
    case colPriceItmID: return QString::number(r.intPrcItemNumID);
    default: return QString();
    }
}

QVariant TPriceListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && (index.column() == colLaborPrice || index.column() == colMaterialPrice))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TPriceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::TextAlignmentRole && (section == colLaborPrice || section == colMaterialPrice))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    static const char* const captions[colCount] = {"Description", "Labor Price", "Material Price", "LabTax",
                                                    "MatTax",      "LabPrice",    "MatPrice",       "PriceItmID"};
    if (section < 0 || section >= colCount) return {};
    return QString::fromLatin1(captions[section]);
}
