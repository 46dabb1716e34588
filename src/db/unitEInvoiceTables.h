#pragma once
// The tables of the e-invoice data, kept apart from the program's thirteen
// tables so an older file opens unchanged and a newer one stays readable:
//   tblEInvoiceSettings  the company's e-invoice settings (one row, id 1)
//   tblCustEInvoice      a customer's country and VAT ID, by intCustomerID
//   tblInvEInvoice       a document's buyer country and VAT ID, by intInvNumber
// They are created when missing: at start, after a restore and after a copy to
// a server. The SQL is the subset SQLite and PostgreSQL both accept.
#include <QStringList>

class DbConnection;

// The CREATE TABLE IF NOT EXISTS statements, in the order they run.
QStringList EInvoiceTableStatements();

// Creates the tables that are missing and the settings row when it is missing,
// in one transaction on the caller's connection (no transaction may be open).
void EnsureEInvoiceTables(DbConnection& connection);
// The same on a connection of its own to the program's database.
void EnsureEInvoiceTables();
