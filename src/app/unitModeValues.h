#pragma once
// Process-wide mode values. A dispatch operation sets them immediately before it
// creates a screen; the screen reads them while it opens.

// Number of the document the editor works on.
extern int intCurrentInvNumber;
// The editor opens a stored document instead of a new one.
extern bool blInvoiceEditExisting;
// The document comes from the manual-form screen.
extern bool blManualInvoice;
// Invoice maintenance opens showing only the unpaid invoices.
extern bool blShowUnpaidOnly;
// The writer edits the contract (1) or the warranty (0).
extern int intContractWarrantyMode;
