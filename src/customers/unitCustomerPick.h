#pragma once
// The customer block that "Use This Customer" hands to the document editor.
// The editor applies it in this order: the six label texts, the tax exemption
// number and e-mail, the payment terms (then it re-checks its terms choice),
// the tax-exempt box, and finally its own refresh.
#include "customers/unitCustomerStore.h"

#include <QString>

struct TrecCustomerPick {
    QString strCompany;          // lblCustCompany
    QString strName;             // lblCustName: "Smith, John", "Smith" or "John"
    QString strAddress;          // lblCustAddress
    QString strCityStZip;        // lblCustCityStZip: "City State Zip"
    QString strPhoneFax;         // lblPhoneFax: "Phone 1234567 Fax 7654321"
    QString strTaxExemptNumber;  // txtcustTaxExemptNumber
    QString strEmail;            // lblCustEmail
    QString strPmtTerms;         // strCurrentCustPmtTerms
    bool blTaxExempt = false;    // ckbxCustTaxExempt
    QString strCountry;          // the document's buyer country (e-invoices)
    QString strVatId;            // the document's buyer VAT ID (e-invoices)

    bool operator==(const TrecCustomerPick&) const = default;
};

// Last name, ", " only when both names are given, first name.
QString CustomerNameLine(const QString& firstName, const QString& lastName);
// "Phone " + phone digits when given, then " Fax " + fax digits when given;
// area codes and extension are left out.
QString CustomerPhoneFaxLine(const QString& phone, const QString& fax);

// The block for a customer as it stands on screen.
TrecCustomerPick MakeCustomerPick(const TCustomer& customer, bool taxExempt);
