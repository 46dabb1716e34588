#pragma once
// Printing a copy made by the recurring run: the print record is filled from the
// copy (printed with today's date) and the copy goes to the default printer.
#include "documents/unitDocumentModel.h"

// Fills the document job for a copy: intPrintJob, intCurrentInvNumber (the
// copy's new number) and recPrintData. The copy's lines and notes are already
// in the holders ListViewPriceItems and txtInvoiceNotes.
void SetCopyPrintData(const TInvDocument& copy);

// SetCopyPrintData, then pPrint.
void PrintDocumentCopy(const TInvDocument& copy);

// Makes PrintDocumentCopy the printer of the recurring run. Called once when
// the program starts; a test may install its own printer instead.
void InstallCopyPrinter();
