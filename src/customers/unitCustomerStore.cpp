#include "customers/unitCustomerStore.h"

#include "app/AppError.h"
#include "company/unitEInvoiceRules.h"
#include "db/DbConnection.h"

namespace {
// The 17 stored columns after the id, in the order every statement uses.
const char* const kColumns[] = {
    "strCustFirstName", "strCustLastName", "strCustCompany", "strCustAddress", "strCustCity",
    "strCustState", "strCustZipCode", "strCustEmail", "strCustPhone", "strCustFax",
    "strCustPhoneAreaCode", "strCustFaxAreaCode", "strCustPhoneExt", "strCustTaxExmpt",
    "strCustTaxExmpNmbr", "strCustPmtTerms", "strCustNotes"};

QVariantList StoredValues(const TCustomer& c)
{
    return {c.strCustFirstName, c.strCustLastName, c.strCustCompany, c.strCustAddress, c.strCustCity,
            c.strCustState, c.strCustZipCode, c.strCustEmail, c.strCustPhone, c.strCustFax,
            c.strCustPhoneAreaCode, c.strCustFaxAreaCode, c.strCustPhoneExt, c.strCustTaxExmpt,
            c.strCustTaxExmpNmbr, c.strCustPmtTerms, c.strCustNotes};
}

QString UpdateStatement()
{
    QStringList assignments;
    for (const char* column : kColumns) assignments << QLatin1String(column) + QStringLiteral("=?");
    return QStringLiteral("UPDATE tblCustomers SET ") + assignments.join(QLatin1Char(','))
           + QStringLiteral(" WHERE intCustomerID = ?;");
}

QString InsertStatement()
{
    QStringList columns;
    QStringList marks;
    for (const char* column : kColumns) {
        columns << QLatin1String(column);
        marks << QStringLiteral("?");
    }
    return QStringLiteral("INSERT INTO tblCustomers(") + columns.join(QLatin1Char(','))
           + QStringLiteral(") VALUES(") + marks.join(QLatin1Char(',')) + QStringLiteral(");");
}

// The e-invoice row of a customer; none is kept while both values are empty.
void WriteCustomerEInvoice(DbConnection& connection, qint64 customerId, const TCustomer& c)
{
    connection.execute(QStringLiteral("DELETE FROM tblCustEInvoice WHERE intCustomerID = ?;"), {customerId});
    if (c.strCustCountry.isEmpty() && c.strCustVatId.isEmpty()) return;
    connection.execute(
        QStringLiteral("INSERT INTO tblCustEInvoice(intCustomerID,strCustCountry,strCustVatId) VALUES(?,?,?);"),
        {customerId, c.strCustCountry, c.strCustVatId});
}
} // namespace

TCustomer LoadCustomer(qint64 customerId)
{
    DbConnection connection;
    DbStatement statement = connection.prepare(
        QStringLiteral("SELECT intCustomerID, strCustFirstName, strCustLastName, strCustCompany, strCustAddress, "
                       "strCustCity, strCustState, strCustZipCode, strCustEmail, strCustPhone, strCustFax, "
                       "strCustPhoneAreaCode, strCustFaxAreaCode, strCustPhoneExt, strCustTaxExmpt, "
                       "strCustTaxExmpNmbr, strCustPmtTerms, strCustNotes FROM tblCustomers WHERE intCustomerID = ?;"),
        {customerId});
    statement.step();
    TCustomer c;
    c.intCustomerID = customerId;
    c.strCustFirstName = statement.columnText(1);
    c.strCustLastName = statement.columnText(2);
    c.strCustCompany = statement.columnText(3);
    c.strCustAddress = statement.columnText(4);
    c.strCustCity = statement.columnText(5);
    c.strCustState = statement.columnText(6);
    c.strCustZipCode = statement.columnText(7);
    c.strCustEmail = statement.columnText(8);
    c.strCustPhone = statement.columnText(9);
    c.strCustFax = statement.columnText(10);
    c.strCustPhoneAreaCode = statement.columnText(11);
    c.strCustFaxAreaCode = statement.columnText(12);
    c.strCustPhoneExt = statement.columnText(13);
    c.strCustTaxExmpt = statement.columnText(14);
    c.strCustTaxExmpNmbr = statement.columnText(15);
    c.strCustPmtTerms = statement.columnText(16);
    c.strCustNotes = statement.columnText(17);
    statement.finalize();

    DbStatement einvoice = connection.prepare(
        QStringLiteral("SELECT strCustCountry,strCustVatId FROM tblCustEInvoice WHERE intCustomerID = ?;"),
        {customerId});
    if (einvoice.step()) {
        c.strCustCountry = einvoice.columnText(0);
        c.strCustVatId = einvoice.columnText(1);
    }
    return c;
}

qint64 SaveCustomer(const TCustomer& customer)
{
    if (const QString problem = VatIdProblem(customer.strCustVatId); !problem.isEmpty()) throw AppError(problem);
    DbConnection connection;
    DbTransaction transaction(connection);
    QVariantList values = StoredValues(customer);
    qint64 customerId = 0;
    if (customer.intCustomerID) {
        customerId = *customer.intCustomerID;
        values << customerId;
        connection.executeOnRow(UpdateStatement(), values,
                                QStringLiteral("This customer is no longer in the database; it may have been deleted."));
    } else {
        connection.execute(InsertStatement(), values);
        customerId = connection.lastInsertRowId();
    }
    WriteCustomerEInvoice(connection, customerId, customer);
    transaction.commit();
    return customerId;
}

void DeleteCustomer(qint64 customerId)
{
    DbConnection connection;
    {
        DbTransaction transaction(connection);
        connection.execute(QStringLiteral("DELETE FROM tblCustomers WHERE intCustomerID = ?;"), {customerId});
        connection.execute(QStringLiteral("DELETE FROM tblCustEInvoice WHERE intCustomerID = ?;"), {customerId});
        transaction.commit();
    }
    connection.tryVacuum();
}
