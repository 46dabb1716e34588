#include "prices/unitPriceSearch.h"

#include "db/DbConnection.h"

namespace {
const QString kListHead =
    QStringLiteral("SELECT intPrcItemNumID, strPrcItemName, strLabTax, strMatTax, dbLbrPrc, dbMatPrc ");

// The search text with a-z upper-cased (as the engine's UPPER does) and "%" appended.
QString NamePattern(const QString& text)
{
    QString pattern = text;
    for (QChar& c : pattern)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return pattern + QLatin1Char('%');
}
} // namespace

QStringList PriceSearchTypeNames()
{
    return {QStringLiteral("All Price Items"), QStringLiteral("Price Item Name"), QStringLiteral("Labor Taxable"),
            QStringLiteral("Material Taxable")};
}

bool PriceSearchNeedsText(int searchType) { return searchType == pstPriceItemName; }

TPriceQuery BuildPriceQuery(int searchType, const QString& text)
{
    switch (searchType) {
    case pstPriceItemName:
        return {kListHead + QStringLiteral("FROM tblPrices WHERE UPPER(strPrcItemName) LIKE ?;"),
                {NamePattern(text)}};
    case pstLaborTaxable: return {kListHead + QStringLiteral("FROM tblPrices WHERE strLabTax <> 0;"), {}};
    case pstMaterialTaxable: return {kListHead + QStringLiteral("FROM tblPrices WHERE strMatTax <> 0;"), {}};
    default: return {kListHead + QStringLiteral("FROM tblPrices;"), {}};
    }
}

std::vector<TPriceListRow> QueryPriceList(int searchType, const QString& text)
{
    const TPriceQuery query = BuildPriceQuery(searchType, text);
    DbConnection connection;
    DbStatement statement = connection.prepare(query.sql, query.values);
    std::vector<TPriceListRow> rows;
    while (statement.step()) {
        TPriceListRow row;
        row.intPrcItemNumID = statement.columnInt64(0);
        row.strPrcItemName = statement.columnText(1);
        row.strLabTax = QString::number(statement.columnInt(2));
        row.strMatTax = QString::number(statement.columnInt(3));
        row.dbLbrPrc = statement.columnDouble(4);
        row.dbMatPrc = statement.columnDouble(5);
        row.strLbrPrcText = statement.columnText(4);
        row.strMatPrcText = statement.columnText(5);
        rows.push_back(std::move(row));
    }
    return rows;
}
