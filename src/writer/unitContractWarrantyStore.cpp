#include "writer/unitContractWarrantyStore.h"

#include "db/DbConnection.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

QString ContractWarrantyModeName(int mode)
{
    return mode == 1 ? QStringLiteral("Contract") : QStringLiteral("Warranty");
}

TContractWarrantyText LoadContractWarranty(int mode)
{
    DbConnection connection;
    DbStatement read = connection.prepare(
        QStringLiteral("SELECT intContractWarrantyID, strContractName, strWarrantyName, strContract, strWarranty "
                       "FROM tblContractWarranty WHERE intContractWarrantyID = 1;"));
    if (!read.step()) return {};
    if (mode == 1) return {read.columnText(1), read.columnText(3)};
    return {read.columnText(2), read.columnText(4)};
}

void SaveContractWarranty(int mode, const TContractWarrantyText& value)
{
    const bool contract = mode == 1;
    DbConnection connection;
    connection.execute(contract ? QStringLiteral("UPDATE tblContractWarranty SET strContractName = ?,strContract = ? "
                                                 "WHERE intContractWarrantyID = 1;")
                                : QStringLiteral("UPDATE tblContractWarranty SET strWarrantyName = ?,strWarranty = ? "
                                                 "WHERE intContractWarrantyID = 1;"),
                       {value.strTitle, value.strText});
    if (connection.changes() > 0) return;
    // A database without the row (one restored from elsewhere, for example)
    // gets it now, so the text typed is not silently dropped.
    connection.execute(contract ? QStringLiteral("INSERT INTO tblContractWarranty (intContractWarrantyID,strContractName,"
                                                 "strWarrantyName,strContract,strWarranty) VALUES (1,?,'',?,'');")
                                : QStringLiteral("INSERT INTO tblContractWarranty (intContractWarrantyID,strContractName,"
                                                 "strWarrantyName,strContract,strWarranty) VALUES (1,'',?,'',?);"),
                       {value.strTitle, value.strText});
}

QString StoredTextToEditor(const QString& stored)
{
    QString text = stored;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString EditorTextToStored(const QString& edited)
{
    QString text = edited;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), kCrLf);
    return text;
}
