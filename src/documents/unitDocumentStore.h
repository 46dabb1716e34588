#pragma once
// The document store: numbering, saving, loading, deleting and converting
// stored documents (tables tblInvDataHeader and tblInvData), marking invoices
// paid in full and recurring. Each operation opens its own connection; every
// operation that writes more than one statement runs in one transaction, so it
// happens completely or not at all. Values are bound, so any text a user typed
// (quotes included) is stored exactly.
//
// The editor's ledger rules on save live in unitDocumentLedgerRules.h, copies
// and the recurring run in unitDocumentCopy.h.
#include "documents/unitDocumentModel.h"
#include "documents/unitMonthlyLedger.h"

#include <QDate>
#include <QString>

class DbConnection;

// The editor's snapshot of a stored document as it was loaded, used by the
// ledger rules when the document is saved again.
struct TrecSavedData {
    QString strInvName;             // type name as loaded
    QString strFromInvNameNumber;   // source reference as loaded
    TLedgerAmounts amounts;         // the eight amounts recorded with the document
    QDate dtInvDate;                // document date as loaded
    bool blSavedToReport = false;   // the amounts are recorded in the monthly ledger
};

// The snapshot of the document open in the editor.
extern TrecSavedData recSavedData;
// The snapshot of a new document: empty texts, zero amounts, today, not recorded.
TrecSavedData NewSavedData();
// recSavedData := NewSavedData().
void ResetSavedData();

// The eight ledger amounts of a header (labour taxes 1-3, material taxes 1-3,
// labour subtotal, material subtotal).
TLedgerAmounts LedgerAmountsOf(const TInvHeader& header);

// ---------------------------------------------------------------- numbering

// The number the next new document receives; the counter is not changed.
int GetNextInvNumber();
int GetNextInvNumber(DbConnection& connection);
// Moves the counter one on.
void AdvanceInvNumber();
void AdvanceInvNumber(DbConnection& connection);

// -------------------------------------------------------------- save & load

// Writes a document with its notes, lines and buyer data in one transaction.
// editExisting true: the stored header (found by its number) is updated and its
// lines replaced. editExisting false: the header is inserted, the lines too
// (except for a manual form, which has none) and the counter advances once.
// Shows the saving notice "Saving <type> <number>..." unless manualInvoice.
// Returns true when the document was inserted; either way it is stored now,
// so the caller's next save must update it.
bool SaveDocument(const TInvDocument& document, bool editExisting, bool manualInvoice);
// The same writes on the caller's connection, inside the caller's transaction,
// without the notice.
bool SaveDocument(DbConnection& connection, const TInvDocument& document, bool editExisting, bool manualInvoice);

// A stored document with the snapshot the ledger rules need. The editor copies
// savedData into recSavedData after a load.
struct TLoadedDocument {
    TInvDocument document;      // prices of the lines in the stored double form
    TrecSavedData savedData;
};
// Reads a stored document. A missing document, a stored flag that is not a flag
// or a stored date that is not a date stops with an error.
TLoadedDocument LoadDocument(int number);

// The document's buyer data of tblInvEInvoice (empty when it has none), and
// writing it on the caller's connection: an empty one removes the row.
TInvBuyerTaxData ReadBuyerTaxData(DbConnection& connection, int number);
void WriteBuyerTaxData(DbConnection& connection, int number, const TInvBuyerTaxData& buyer);

// ------------------------------------------------------------------ changes

// Deletes the header, lines and buyer data of a document together, then compacts the
// file. Nothing happens for a number of 0 or less. The ledger is not changed.
void DeleteDocument(int number);
// Deletes only the lines of a document, then compacts the file.
void DeleteDocumentLines(int number);

// Gives a stored document a new type. To "Credit": the document records the
// source reference, counts as recorded, and its stored amounts are subtracted
// from the ledger at its date, in the same transaction. Any other type: only
// the type name changes. A missing document is an error and changes nothing.
void ConvertDocument(int number, const QString& newTypeName, const QString& sourceReference);

// Marks an invoice paid in full and recorded, and adds its stored amounts to
// the ledger at its date, in one transaction. A missing document is an error.
void MarkPaidInFull(int number);

// Puts a document on or off the recurring list.
void SetRecurring(int number, bool recurring);

// The error of an operation on a document number that is not stored.
QString DocumentNotFoundMessage(int number);
