#include "editor/unitInvoiceEditorLines.h"

#include "app/unitRegional.h"

int TInvoiceLinesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TInvoiceLinesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : lcColumnCount;
}

QVariant TInvoiceLinesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()) return {};
    if (role == Qt::DisplayRole) {
        const QString& text = m_rows.at(index.row())[index.column()];
        // Quantity and prices are kept in their stored form and shown in the regional one.
        const int c = index.column();
        return c == lcQuantity || c == lcLabPrice || c == lcMatPrice ? DisplayNumberText(text) : text;
    }
    if (role == Qt::TextAlignmentRole && index.column() != lcDescription)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TInvoiceLinesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < lcColumnCount)
        return LineColumnCaptions().at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

TInvoiceLinesModel::TRow TInvoiceLinesModel::toRow(const TInvLine& line)
{
    TRow row;
    row[lcDescription] = line.strPrcItemName;
    row[lcQuantity] = line.strPrcItmQuantity;
    row[lcLabPrice] = line.strLbrPrc;
    row[lcLabTax] = line.strLabTax;
    row[lcMatPrice] = line.strMatPrc;
    row[lcMatTax] = line.strMatTax;
    return row;
}

void TInvoiceLinesModel::setLines(const QList<TInvLine>& lines)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(lines.size());
    for (const TInvLine& line : lines) m_rows.append(toRow(line));
    endResetModel();
}

void TInvoiceLinesModel::appendLine(const TInvLine& line)
{
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.append(toRow(line));
    endInsertRows();
}

void TInvoiceLinesModel::replaceLine(int index, const TInvLine& line)
{
    TRow row = toRow(line);
    row[lcPriceEach] = m_rows[index][lcPriceEach];
    row[lcTotal] = m_rows[index][lcTotal];
    m_rows[index] = row;
    emit dataChanged(this->index(index, 0), this->index(index, lcColumnCount - 1));
}

void TInvoiceLinesModel::removeLine(int index)
{
    beginRemoveRows({}, index, index);
    m_rows.removeAt(index);
    endRemoveRows();
}

TInvLine TInvoiceLinesModel::line(int index) const
{
    const TRow& row = m_rows.at(index);
    TInvLine line;
    line.strPrcItemName = row[lcDescription];
    line.strPrcItmQuantity = row[lcQuantity];
    line.strLabTax = row[lcLabTax];
    line.strMatTax = row[lcMatTax];
    line.strLbrPrc = row[lcLabPrice];
    line.strMatPrc = row[lcMatPrice];
    return line;
}

QList<TInvLine> TInvoiceLinesModel::lines() const
{
    QList<TInvLine> result;
    result.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) result.append(line(i));
    return result;
}

void TInvoiceLinesModel::setComputedCells(const QList<TInvLineCells>& cells)
{
    const int count = int(std::min(cells.size(), m_rows.size()));
    for (int i = 0; i < count; ++i) {
        m_rows[i][lcPriceEach] = cells[i].strPrcEach;
        m_rows[i][lcTotal] = cells[i].strTotal;
    }
    if (count > 0) emit dataChanged(index(0, lcPriceEach), index(count - 1, lcTotal));
}
