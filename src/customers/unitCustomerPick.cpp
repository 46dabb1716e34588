#include "customers/unitCustomerPick.h"

QString CustomerNameLine(const QString& firstName, const QString& lastName)
{
    QString line = lastName;
    if (!lastName.isEmpty() && !firstName.isEmpty()) line += QStringLiteral(", ");
    return line + firstName;
}

QString CustomerPhoneFaxLine(const QString& phone, const QString& fax)
{
    QString line;
    if (!phone.isEmpty()) line = QStringLiteral("Phone ") + phone;
    if (!fax.isEmpty()) line += QStringLiteral(" Fax ") + fax;
    return line;
}

TrecCustomerPick MakeCustomerPick(const TCustomer& customer, bool taxExempt)
{
    TrecCustomerPick pick;
    pick.strCompany = customer.strCustCompany;
    pick.strName = CustomerNameLine(customer.strCustFirstName, customer.strCustLastName);
    pick.strAddress = customer.strCustAddress;
    pick.strCityStZip = customer.strCustCity + QLatin1Char(' ') + customer.strCustState + QLatin1Char(' ')
                        + customer.strCustZipCode;
    pick.strPhoneFax = CustomerPhoneFaxLine(customer.strCustPhone, customer.strCustFax);
    pick.strTaxExemptNumber = customer.strCustTaxExmpNmbr;
    pick.strEmail = customer.strCustEmail;
    pick.strPmtTerms = customer.strCustPmtTerms;
    pick.blTaxExempt = taxExempt;
    pick.strCountry = customer.strCustCountry;
    pick.strVatId = customer.strCustVatId;
    return pick;
}
