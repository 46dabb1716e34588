#pragma once
// The codes and identifiers an e-invoice carries, and their checks: countries
// (ISO 3166-1 alpha-2), currencies (ISO 4217), VAT IDs, IBAN and BIC. Each check
// answers an empty text when the value is fit (an empty value is fit: the
// fields are optional until an e-invoice needs them), otherwise the message
// that tells the user what is wrong.
#include <QString>
#include <QStringList>

// The entries of a country drop-down, by code: "AD Andorra" … "DE Germany" …
// "ZW Zimbabwe", English names, every ISO 3166-1 alpha-2 country.
QStringList EInvoiceCountryEntries();
// The code an entry stands for ("DE Germany" -> "DE"); empty for an empty entry.
QString CountryCodeOfEntry(const QString& entry);
// The entry of a code ("DE" -> "DE Germany"); empty for an unknown code.
QString CountryEntryOfCode(const QString& code);
bool IsCountryCode(const QString& code);

// An identifier as it is written into a file: blanks removed, letters upper-cased.
QString CompactIdentifier(const QString& typed);

// A VAT ID begins with the code of the country that issued it (Greece: EL).
QString VatIdProblem(const QString& vatId);
// Two letters, two check digits, the account; the check digits must match (ISO 13616).
QString IbanProblem(const QString& iban);
// Four letters of the bank, the country code, two of the location, optionally three of the branch.
QString BicProblem(const QString& bic);
// Three letters of a currency in use somewhere (ISO 4217).
QString CurrencyCodeProblem(const QString& code);
