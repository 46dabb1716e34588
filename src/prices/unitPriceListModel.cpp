#include "prices/unitPriceListModel.h"

#include "documents/unitDocumentModel.h"

TPriceListModel::TPriceListModel(QObject* parent) : TPagedListModel(colCount, parent) {}

void TPriceListModel::writeRow(const DbStatement& statement, TRowBlocks::Writer& row) const
{
    // The amounts as numbers, then as the database writes them (read in this order).
    row.integer(statement.columnInt64(0)).text(statement.columnUtf8(1));
    row.integer(statement.columnInt(2)).integer(statement.columnInt(3));
    row.real(statement.columnDouble(4)).real(statement.columnDouble(5));
    row.text(statement.columnUtf8(4)).text(statement.columnUtf8(5));
}

TPriceListRow TPriceListModel::rowAt(int row) const
{
    TRowReader block = rowBlock(row);
    TPriceListRow r;
    r.intPrcItemNumID = block.integer();
    r.strPrcItemName = block.text();
    r.strLabTax = QString::number(block.integer());
    r.strMatTax = QString::number(block.integer());
    r.dbLbrPrc = block.real();
    r.dbMatPrc = block.real();
    r.strLbrPrcText = block.text();
    r.strMatPrcText = block.text();
    return r;
}

QString TPriceListModel::cellText(int row, int column) const
{
    // Only the value the cell shows is decoded (read in writeRow's order).
    TRowReader block = rowBlock(row);
    const qint64 id = block.integer();
    if (column == colPriceItmID) return QString::number(id);
    const QByteArrayView name = block.utf8();
    if (column == colDescription) return QString::fromUtf8(name);
    const qint64 labourTax = block.integer();
    const qint64 materialTax = block.integer();
    const double labour = block.real();
    const double material = block.real();
    switch (column) {
    case colLaborPrice: return MoneyDisplayText(labour);
    case colMaterialPrice: return MoneyDisplayText(material);
    case colLabTax: return QString::number(labourTax);
    case colMatTax: return QString::number(materialTax);
    case colLabPrice: return QString::fromUtf8(block.utf8());
    case colMatPrice: block.utf8(); return QString::fromUtf8(block.utf8());
    default: return QString();
    }
}

QString TPriceListModel::cellTextOf(const TPriceListRow& r, int column)
{
    switch (column) {
    case colDescription: return r.strPrcItemName;
    case colLaborPrice: return MoneyDisplayText(r.dbLbrPrc);
    case colMaterialPrice: return MoneyDisplayText(r.dbMatPrc);
    case colLabTax: return r.strLabTax;
    case colMatTax: return r.strMatTax;
    case colLabPrice: return r.strLbrPrcText;
    case colMatPrice: return r.strMatPrcText;
    case colPriceItmID: return QString::number(r.intPrcItemNumID);
    default: return QString();
    }
}

QString TPriceListModel::columnCaption(int column) const
{
    static const char* const captions[colCount] = {"Description", "Labor Price", "Material Price", "LabTax",
                                                    "MatTax",      "LabPrice",    "MatPrice",       "PriceItmID"};
    return QString::fromLatin1(captions[column]);
}

// The two prices line up on the right; the other columns take the view's default.
QVariant TPriceListModel::columnAlignment(int column) const
{
    if (column == colLaborPrice || column == colMaterialPrice) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}
