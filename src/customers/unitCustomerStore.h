#pragma once
// One customer as stored in tblCustomers, with the country and VAT ID an
// e-invoice names kept beside it in tblCustEInvoice: load, save (insert or
// update) and delete, each table written in the same transaction. Every value
// except the id is kept as text exactly as typed.
#include "db/unitRecordVersion.h"

#include <QString>
#include <optional>

struct TCustomer {
    std::optional<qint64> intCustomerID;   // empty for a customer not yet saved
    QString strCustFirstName;
    QString strCustLastName;
    QString strCustCompany;
    QString strCustAddress;
    QString strCustCity;
    QString strCustState;
    QString strCustZipCode;
    QString strCustEmail;
    QString strCustPhone;          // digits only
    QString strCustFax;            // digits only
    QString strCustPhoneAreaCode;
    QString strCustFaxAreaCode;
    QString strCustPhoneExt;
    QString strCustTaxExmpt;       // flag text "-1" / "0"
    QString strCustTaxExmpNmbr;
    QString strCustPmtTerms;
    QString strCustNotes;
    QString strCustCountry;        // tblCustEInvoice: ISO 3166-1 alpha-2, empty when not chosen
    QString strCustVatId;          // tblCustEInvoice

    bool operator==(const TCustomer&) const = default;
};

// Reads one customer. A missing id reads as empty texts (the single-row read
// of the program), with the id kept as asked. With version, the stored rows
// as read, for the save's check.
TCustomer LoadCustomer(qint64 customerId, TRecordVersion* version = nullptr);

// Inserts a customer without an id, updates one with an id; returns the id.
// A VAT ID that does not begin with a country code is refused (AppError) and
// nothing is written. With an opened version (from LoadCustomer), a customer
// another seat changed or deleted since is refused (EditConflictError) and
// nothing is written; after the save the version is what was written.
qint64 SaveCustomer(const TCustomer& customer, TRecordVersion* opened = nullptr);

// Removes the customer's rows, then compacts the database file.
void DeleteCustomer(qint64 customerId);
