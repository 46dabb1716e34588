#include "prices/unitPriceStore.h"

#include "db/DbConnection.h"
#include "prices/unitPriceRules.h"

qint64 SavePriceItem(const TPriceItem& item)
{
    const double labour = PriceTextToNumber(PriceBoxOrZero(item.strLbrPrc));
    const double material = PriceTextToNumber(PriceBoxOrZero(item.strMatPrc));
    DbConnection connection;
    if (item.intPrcItemNumID) {
        connection.executeOnRow(QStringLiteral("UPDATE tblPrices SET strPrcItemName=?,strLabTax=?,strMatTax=?,"
                                               "dbLbrPrc=?,dbMatPrc=? WHERE intPrcItemNumID = ?;"),
                                {item.strPrcItemName, item.strLabTax, item.strMatTax, labour, material,
                                 *item.intPrcItemNumID},
                                QStringLiteral("This price item is no longer in the database; it may have been deleted."));
        return *item.intPrcItemNumID;
    }
    connection.execute(QStringLiteral("INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
                                      "VALUES(?,?,?,?,?);"),
                       {item.strPrcItemName, item.strLabTax, item.strMatTax, labour, material});
    return connection.lastInsertRowId();
}

void DeletePriceItem(qint64 itemId)
{
    DbConnection connection;
    connection.execute(QStringLiteral("DELETE FROM tblPrices WHERE intPrcItemNumID = ?;"), {itemId});
    connection.tryVacuum();
}
