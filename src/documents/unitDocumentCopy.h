#pragma once
// New stored documents made from stored ones: past-due notices and the
// recurring run, which copies every recurring invoice under a new number and
// prints each copy.
#include "documents/unitDocumentModel.h"

#include <QString>
#include <functional>

// Prints one copy of the recurring run before it is stored. The copy carries
// its new number and type and the source's values (its date text too; the
// printed date is today). Its lines and notes are also in the holders
// ListViewPriceItems and txtInvoiceNotes. The printed total is not reduced by
// the amount paid.
using TCopyPrinter = std::function<void(const TInvDocument& copy)>;
// Installed by the print module; an empty function removes it.
void SetCopyPrinter(TCopyPrinter printer);
bool HasCopyPrinter();

// The money texts printed on a copy of the recurring run, from its stored
// amounts: the amount paid, the subtotal (labour + material), the tax (the six
// taxes added labour 1-3, then material 1-3) and the total (subtotal + tax).
struct TCopyPrintTotals {
    QString strDepositPaid;
    QString strSubTotal;
    QString strTax;
    QString strTotal;
};
TCopyPrintTotals GetCopyPrintTotals(const TInvHeader& header);

// Stores a copy of document sourceNumber under the next number, with the new
// type name and source reference; the copy keeps the source's customer block,
// terms, date text, options, flags (recurring only when keepRecurring) and its
// eleven amounts as stored. With printOnLoad the copy is printed first. The
// ledger is not touched. Returns the new number.
int CopyDocument(int sourceNumber, const QString& newTypeName, const QString& sourceReference, bool keepRecurring,
                 bool printOnLoad = false);

// Stores today as the date of the last recurring run and returns the main
// window's caption for it ("Last Printed on: " + date), updating the window.
QString SetLastPrintedToday();

// The recurring run: every invoice on the recurring list is printed once as a
// new, non-recurring invoice under a new number, in stored order; the sources
// stay recurring. With no recurring invoice nothing happens and the
// last-printed date stays. Returns the number of invoices copied.
int PrintRecurringInvoices();
