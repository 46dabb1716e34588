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
QList<TRecordRead> CustomerReads(qint64 customerId)
{
    QStringList columns;
    for (const char* column : kColumns) columns << QLatin1String(column);
    return {{QStringLiteral("SELECT ") + columns.join(QLatin1Char(','))
                 + QStringLiteral(" FROM tblCustomers WHERE intCustomerID = ?"),
             {customerId}},
            {QStringLiteral("SELECT strCustCountry,strCustVatId FROM tblCustEInvoice WHERE intCustomerID = ?"),
             {customerId}}};
}

} // namespace

TCustomer LoadCustomer(qint64 customerId, TRecordVersion* version)
{
    // The customer on screen is made of the very values the save's check compares.
    DbConnection connection;
    const TRecordVersion read = TRecordVersion::Read(connection, CustomerReads(customerId));
    TCustomer c;
    c.intCustomerID = customerId;
    QString* const fields[] = {&c.strCustFirstName, &c.strCustLastName, &c.strCustCompany, &c.strCustAddress,
                               &c.strCustCity, &c.strCustState, &c.strCustZipCode, &c.strCustEmail,
                               &c.strCustPhone, &c.strCustFax, &c.strCustPhoneAreaCode, &c.strCustFaxAreaCode,
                               &c.strCustPhoneExt, &c.strCustTaxExmpt, &c.strCustTaxExmpNmbr, &c.strCustPmtTerms,
                               &c.strCustNotes};
    for (int column = 0; column < int(std::size(fields)); ++column) *fields[column] = read.text(0, 0, column);
    c.strCustCountry = read.text(1, 0, 0);
    c.strCustVatId = read.text(1, 0, 1);
    if (version) *version = read;
    return c;
}

qint64 SaveCustomer(const TCustomer& customer, TRecordVersion* opened)
{
    if (const QString problem = VatIdProblem(customer.strCustVatId); !problem.isEmpty()) throw AppError(problem);
    DbConnection connection;
    DbTransaction transaction(connection);
    QVariantList values = StoredValues(customer);
    qint64 customerId = 0;
    if (customer.intCustomerID) {
        customerId = *customer.intCustomerID;
        if (opened && !opened->isEmpty()) opened->checkUnchanged(connection, QStringLiteral("This customer"));
        values << customerId;
        connection.executeOnRow(UpdateStatement(), values,
                                QStringLiteral("This customer is no longer in the database; it may have been deleted."));
    } else {
        connection.execute(InsertStatement(), values);
        customerId = connection.lastInsertRowId();
    }
    WriteCustomerEInvoice(connection, customerId, customer);
    TRecordVersion written;
    if (opened) written = TRecordVersion::Read(connection, CustomerReads(customerId));
    transaction.commit();
    if (opened) *opened = written;
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
