#include "prices/unitPriceListModel.h"

#include "documents/unitDocumentModel.h"

TPriceListModel::TPriceListModel(QObject* parent) : TRowListModel(colCount, parent) {}

QString TPriceListModel::cellText(int row, int column) const
{
    const TPriceListRow& r = rowAt(row);
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
