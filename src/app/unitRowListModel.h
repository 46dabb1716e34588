#pragma once
// The common part of the program's read-only lists: a table whose cells are
// texts given by the list, with its column captions and, where it chooses,
// an alignment per column. TRowListModel keeps whole rows of one record type,
// replaced in one reset (for short lists that are read whole, such as a
// planner range); the long lists read their rows in pages (unitPagedListModel).
#include "app/unitRegional.h"

#include <QAbstractTableModel>
#include <QString>
#include <cstddef>
#include <utility>
#include <vector>

class TTextListModel : public QAbstractTableModel {
public:
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_columnCount;
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= rowCount()) return {};
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
    TTextListModel(int columnCount, QObject* parent) : QAbstractTableModel(parent), m_columnCount(columnCount) {}

    virtual QString columnCaption(int column) const = 0;
    // The alignment of a column's cells and caption; none given by default.
    virtual QVariant columnAlignment(int /*column*/) const { return {}; }

private:
    int m_columnCount;
};

template <typename Row>
class TRowListModel : public TTextListModel {
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

protected:
    TRowListModel(int columnCount, QObject* parent) : TTextListModel(columnCount, parent) {}

private:
    std::vector<Row> m_rows;
};
