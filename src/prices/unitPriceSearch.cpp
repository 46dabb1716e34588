#include "prices/unitPriceSearch.h"


namespace {
const QString kListColumns = QStringLiteral("intPrcItemNumID, strPrcItemName, strLabTax, strMatTax, dbLbrPrc, dbMatPrc");
} // namespace

QStringList PriceSearchTypeNames()
{
    return {QStringLiteral("All Price Items"), QStringLiteral("Price Item Name"), QStringLiteral("Labor Taxable"),
            QStringLiteral("Material Taxable")};
}

bool PriceSearchNeedsText(int searchType) { return searchType == pstPriceItemName; }

TListQuery BuildPriceQuery(int searchType, const QString& text)
{
    // In the order the items were added.
    TListQuery query{kListColumns, QStringLiteral("tblPrices"), QString(), {}, QStringLiteral("intPrcItemNumID")};
    switch (searchType) {
    case pstPriceItemName:
        query.condition = TextPrefixCondition(QStringLiteral("strPrcItemName"));
        query.values = {text};
        break;
    case pstLaborTaxable: query.condition = QStringLiteral("strLabTax <> '0'"); break;
    case pstMaterialTaxable: query.condition = QStringLiteral("strMatTax <> '0'"); break;
    default: break;
    }
    return query;
}

TPriceListRow ReadPriceListRow(const DbStatement& statement)
{
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
}

std::vector<TPriceListRow> QueryPriceList(int searchType, const QString& text)
{
    return QueryListRows<TPriceListRow>(BuildPriceQuery(searchType, text), ReadPriceListRow);
}
