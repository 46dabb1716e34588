#pragma once
// The common part of the program's read-only lists: a table of rows of one
// record type, replaced in one reset, so a list of any length refills in one
// go. A list supplies its column captions and cell texts; alignment is its
// choice as well.
#include "app/unitRegional.h"

#include <QAbstractTableModel>
#include <QString>
#include <cstddef>
#include <utility>
#include <vector>

template <typename Row>
class TRowListModel : public QAbstractTableModel {
public:
    void setRows(std::vector<Row> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    void clear() { setRows({}); }
    const Row& rowAt(int row) const { return m_rows.at(std::size_t(row)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_columnCount;
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= int(m_rows.size())) return {};
        if (role == Qt::DisplayRole) {
            // No exception may leave a model: a cell that cannot be shown shows the marker.
            try {
                return cellText(index.row(), index.column());
            } catch (...) {
                return kUnshownAmountText;
            }
        }
        if (role == Qt::TextAlignmentRole) return columnAlignment(index.column());
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override
    {
        if (orientation != Qt::Horizontal) return {};
        if (role == Qt::TextAlignmentRole) return columnAlignment(section);
        if (role != Qt::DisplayRole || section < 0 || section >= m_columnCount) return {};
        return columnCaption(section);
    }

    // The text of one cell, as the list shows it.
    virtual QString cellText(int row, int column) const = 0;

protected:
    TRowListModel(int columnCount, QObject* parent) : QAbstractTableModel(parent), m_columnCount(columnCount) {}

    virtual QString columnCaption(int column) const = 0;
    // The alignment of a column's cells and caption; none given by default.
    virtual QVariant columnAlignment(int /*column*/) const { return {}; }

private:
    std::vector<Row> m_rows;
    int m_columnCount;
};
