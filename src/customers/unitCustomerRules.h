#pragma once
// The small rules of the customer screen, apart from its widgets.
#include <QString>
#include <QStringList>

// A customer can be saved (and used) once it has a first, last or company name.
bool CustomerHasName(const QString& firstName, const QString& lastName, const QString& companyName);

// "Print" (and with it "Print Preview") is offered only on the list page, for a
// list with rows, and never while picking a customer for a document.
bool CustomerPrintAllowed(bool listPageShown, int listRowCount, bool pickMode);

// The payment-terms picker: "Select Payment Terms", then each non-empty
// payment term of the company settings, in order.
QStringList CustomerPaymentTermChoices();

// Only the digits of a masked number box ("123-4567" -> "1234567").
QString DigitsOnly(const QString& text);
