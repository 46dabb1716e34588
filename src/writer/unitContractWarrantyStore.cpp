#include "writer/unitContractWarrantyStore.h"

#include "db/DbConnection.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// The title and text of the one the writer edits; the other is not compared.
QList<TRecordRead> ContractWarrantyReads(int mode)
{
    return {{mode == 1 ? QStringLiteral("SELECT strContractName,strContract FROM tblContractWarranty "
                                        "WHERE intContractWarrantyID = 1")
                       : QStringLiteral("SELECT strWarrantyName,strWarranty FROM tblContractWarranty "
                                        "WHERE intContractWarrantyID = 1"),
             {}}};
}
} // namespace

QString ContractWarrantyModeName(int mode)
{
    return mode == 1 ? QStringLiteral("Contract") : QStringLiteral("Warranty");
}

TContractWarrantyText LoadContractWarranty(int mode, TRecordVersion* version)
{
    DbConnection connection;
    const TRecordVersion read = TRecordVersion::Read(connection, ContractWarrantyReads(mode));
    if (version) *version = read;
    return {read.text(0, 0, 0), read.text(0, 0, 1)};
}

void SaveContractWarranty(int mode, const TContractWarrantyText& value, TRecordVersion* opened)
{
    const bool contract = mode == 1;
    DbConnection connection;
    DbTransaction transaction(connection);
    if (opened && !opened->isEmpty())
        opened->checkUnchanged(connection, QStringLiteral("The ") + ContractWarrantyModeName(mode).toLower());
    connection.execute(contract ? QStringLiteral("UPDATE tblContractWarranty SET strContractName = ?,strContract = ? "
                                                 "WHERE intContractWarrantyID = 1;")
                                : QStringLiteral("UPDATE tblContractWarranty SET strWarrantyName = ?,strWarranty = ? "
                                                 "WHERE intContractWarrantyID = 1;"),
                       {value.strTitle, value.strText});
    // A database without the row (one restored from elsewhere, for example)
    // gets it now, so the text typed is not silently dropped.
    if (connection.changes() == 0)
        connection.execute(contract ? QStringLiteral("INSERT INTO tblContractWarranty (intContractWarrantyID,"
                                                     "strContractName,strWarrantyName,strContract,strWarranty) "
                                                     "VALUES (1,?,'',?,'');")
                                    : QStringLiteral("INSERT INTO tblContractWarranty (intContractWarrantyID,"
                                                     "strContractName,strWarrantyName,strContract,strWarranty) "
                                                     "VALUES (1,'',?,'',?);"),
                           {value.strTitle, value.strText});
    TRecordVersion written;
    if (opened) written = TRecordVersion::Read(connection, ContractWarrantyReads(mode));
    transaction.commit();
    if (opened) *opened = written;
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
