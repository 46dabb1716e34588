#pragma once
// The editor's line list as a table model: one row of nine text cells per
// line ("Description", "Quantity", "Price Each", "Total", "LabPrice", "LabTax",
// "MatPrice", "MatTax", "TaxTotal"). The list is refilled in one go.
#include "documents/unitDocumentModel.h"
#include "editor/unitInvoiceEditorRules.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>
#include <array>

class TInvoiceLinesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using TRow = std::array<QString, lcColumnCount>;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int lineCount() const { return int(m_rows.size()); }
    const TRow& row(int index) const { return m_rows.at(index); }

    // Replaces every line; the computed cells start empty.
    void setLines(const QList<TInvLine>& lines);
    void appendLine(const TInvLine& line);
    // Replaces the stored values of a line and keeps its computed cells.
    void replaceLine(int index, const TInvLine& line);
    void removeLine(int index);
    // The line's stored values (description, quantity, flags, prices).
    TInvLine line(int index) const;
    QList<TInvLine> lines() const;
    // Writes "Price Each" and "Total" of every line, in line order.
    void setComputedCells(const QList<TInvLineCells>& cells);

private:
    static TRow toRow(const TInvLine& line);
    QList<TRow> m_rows;
};
