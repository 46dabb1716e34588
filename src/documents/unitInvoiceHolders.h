#pragma once
// The main window's hidden holders: the lines and notes of the document being
// saved, printed or copied, and the numbers of a recurring run. They are plain
// process-wide data; whoever fills one is the one who hands it on, and the
// reader empties it where the program says so.
#include "documents/unitDocumentModel.h"

#include <QList>
#include <QString>

// Lines of the document being saved or printed (description, quantity,
// labour taxable, material taxable, labour price, material price).
extern QList<TInvLine> ListViewPriceItems;
// Notes of the document being saved, printed or copied.
extern QString txtInvoiceNotes;
// Document numbers of the recurring invoices during a recurring run.
extern QList<int> ListViewRecurringNumber;
