#include "db/unitEInvoiceTables.h"

#include "db/DbConnection.h"

QStringList EInvoiceTableStatements()
{
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS tblEInvoiceSettings(intEInvoiceSettingsID INTEGER PRIMARY KEY,"
                       "strEInvoice TEXT,strSellerVatId TEXT,strSellerTaxNumber TEXT,strSellerCountry TEXT,"
                       "strCurrencyCode TEXT,strIban TEXT,strBic TEXT);"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS tblCustEInvoice(intCustomerID INTEGER PRIMARY KEY,"
                       "strCustCountry TEXT,strCustVatId TEXT);"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS tblInvEInvoice(intInvNumber INTEGER PRIMARY KEY,"
                       "strBuyerCountry TEXT,strBuyerVatId TEXT);"),
    };
}

void EnsureEInvoiceTables(DbConnection& connection)
{
    DbTransaction transaction(connection);
    for (const QString& statement : EInvoiceTableStatements()) connection.execute(statement);
    // E-invoices start switched off; an empty currency reads as the regional one.
    if (connection.countRows(QStringLiteral("SELECT intEInvoiceSettingsID FROM tblEInvoiceSettings "
                                            "WHERE intEInvoiceSettingsID = 1;")) == 0) {
        connection.execute(QStringLiteral("INSERT INTO tblEInvoiceSettings(intEInvoiceSettingsID,strEInvoice,"
                                          "strSellerVatId,strSellerTaxNumber,strSellerCountry,strCurrencyCode,"
                                          "strIban,strBic) VALUES(?,?,?,?,?,?,?,?);"),
                           {1, QStringLiteral("0"), QString(""), QString(""), QString(""), QString(""), QString(""),
                            QString("")});
    }
    transaction.commit();
}

void EnsureEInvoiceTables()
{
    DbConnection connection;
    EnsureEInvoiceTables(connection);
}
