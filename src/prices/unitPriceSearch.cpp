#include "prices/unitPriceSearch.h"


namespace {
const QString kListHead =
    QStringLiteral("SELECT intPrcItemNumID, strPrcItemName, strLabTax, strMatTax, dbLbrPrc, dbMatPrc ");
// In the order the items were added (a server keeps no row order of its own).
const QString kOrder = QStringLiteral(" ORDER BY intPrcItemNumID;");
} // namespace

QStringList PriceSearchTypeNames()
{
    return {QStringLiteral("All Price Items"), QStringLiteral("Price Item Name"), QStringLiteral("Labor Taxable"),
            QStringLiteral("Material Taxable")};
}

bool PriceSearchNeedsText(int searchType) { return searchType == pstPriceItemName; }

TListQuery BuildPriceQuery(int searchType, const QString& text)
{
    switch (searchType) {
    case pstPriceItemName:
        return {kListHead + QStringLiteral("FROM tblPrices WHERE ") + TextPrefixCondition(QStringLiteral("strPrcItemName"))
                    + kOrder,
                {text}};
    case pstLaborTaxable: return {kListHead + QStringLiteral("FROM tblPrices WHERE strLabTax <> '0'") + kOrder, {}};
    case pstMaterialTaxable: return {kListHead + QStringLiteral("FROM tblPrices WHERE strMatTax <> '0'") + kOrder, {}};
    default: return {kListHead + QStringLiteral("FROM tblPrices") + kOrder, {}};
    }
}

std::vector<TPriceListRow> QueryPriceList(int searchType, const QString& text)
{
    return QueryListRows<TPriceListRow>(BuildPriceQuery(searchType, text), [](const DbStatement& statement) {
        TPriceListRow row;
        row.intPrcItemNumID = statement.columnInt64(0);
        row.strPrcItemName = statement.columnText(1);
        row.strLabTax = QString::number(statement.columnInt(2));
        row.strMatTax = QString::number(statement.columnInt(3));
        row.dbLbrPrc = statement.columnDouble(4);
        row.dbMatPrc = statement.columnDouble(5);
        row.strLbrPrcText = statement.columnText(4);
        row.strMatPrcText = statement.columnText(5);
        return row;
    });
}
