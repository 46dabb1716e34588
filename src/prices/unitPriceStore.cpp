#include "prices/unitPriceStore.h"

#include "db/DbConnection.h"
#include "prices/unitPriceRules.h"

namespace {

QList<TRecordRead> PriceItemReads(qint64 itemId)
{
    return {{QStringLiteral("SELECT strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc FROM tblPrices "
                            "WHERE intPrcItemNumID = ?"),
             {itemId}}};
}

} // namespace

std::optional<TPriceItem> LoadPriceItem(qint64 itemId, TRecordVersion* version)
{
    DbConnection connection;
    const TRecordVersion read = TRecordVersion::Read(connection, PriceItemReads(itemId));
    if (version) *version = read;
    if (read.rowCount() == 0) return std::nullopt;
    return TPriceItem{itemId, read.text(0, 0, 0), read.text(0, 0, 1), read.text(0, 0, 2), read.text(0, 0, 3),
                      read.text(0, 0, 4)};
}

qint64 SavePriceItem(const TPriceItem& item, TRecordVersion* opened)
{
    const double labour = PriceTextToNumber(PriceBoxOrZero(item.strLbrPrc));
    const double material = PriceTextToNumber(PriceBoxOrZero(item.strMatPrc));
    DbConnection connection;
    DbTransaction transaction(connection);
    qint64 itemId = 0;
    if (item.intPrcItemNumID) {
        itemId = *item.intPrcItemNumID;
        if (opened && !opened->isEmpty()) opened->checkUnchanged(connection, QStringLiteral("This price item"));
        connection.executeOnRow(QStringLiteral("UPDATE tblPrices SET strPrcItemName=?,strLabTax=?,strMatTax=?,"
                                               "dbLbrPrc=?,dbMatPrc=? WHERE intPrcItemNumID = ?;"),
                                {item.strPrcItemName, item.strLabTax, item.strMatTax, labour, material, itemId},
                                QStringLiteral("This price item is no longer in the database; it may have been deleted."));
    } else {
        connection.execute(QStringLiteral("INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
                                          "VALUES(?,?,?,?,?);"),
                           {item.strPrcItemName, item.strLabTax, item.strMatTax, labour, material});
        itemId = connection.lastInsertRowId();
    }
    TRecordVersion written;
    if (opened) written = TRecordVersion::Read(connection, PriceItemReads(itemId));
    transaction.commit();
    if (opened) *opened = written;
    return itemId;
}

void DeletePriceItem(qint64 itemId)
{
    DbConnection connection;
    connection.execute(QStringLiteral("DELETE FROM tblPrices WHERE intPrcItemNumID = ?;"), {itemId});
    connection.tryVacuum();
}
