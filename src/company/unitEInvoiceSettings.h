#pragma once
// The company's e-invoice settings: whether invoices and credits carry their
// EN 16931 data, and the seller's tax identifiers, country, currency and bank
// account. Read at start and after a restore into recEInvoiceSettings (like the
// other company settings); written by the company screen's save, in its
// transaction, to tblEInvoiceSettings.
#include <QString>

class DbConnection;

struct TrecEInvoiceSettings {
    bool blEInvoice = false;     // attach e-invoice data to invoices and credits
    QString strSellerVatId;      // "DE123456789": with its country prefix
    QString strSellerTaxNumber;  // the national tax number, when there is no VAT ID
    QString strSellerCountry;    // ISO 3166-1 alpha-2, empty when not chosen
    QString strCurrencyCode;     // ISO 4217; empty: the regional currency
    QString strIban;             // as typed, blanks allowed
    QString strBic;

    bool operator==(const TrecEInvoiceSettings&) const = default;
};

extern TrecEInvoiceSettings recEInvoiceSettings;

// The currency code of the regional settings: "USD", "EUR".
QString RegionalCurrencyCode();
// The settings' currency, or the regional one when none is stored.
QString EInvoiceCurrencyCode(const TrecEInvoiceSettings& settings);

// Reads the settings row into recEInvoiceSettings. A missing row (the tables
// not made yet) reads as the defaults: switched off, nothing filled in.
void LoadEInvoiceSettings();
// Writes the settings row on the caller's connection, inside its transaction.
void SaveEInvoiceSettings(DbConnection& connection, const TrecEInvoiceSettings& settings);

// What start-up and a restore run on the database they open: the e-invoice
// tables made when missing, then the settings read.
void PrepareEInvoiceData();
