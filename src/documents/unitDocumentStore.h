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
#include <optional>

class DbConnection;

// The editor's snapshot of a stored document as it was loaded, used by the
// ledger rules when the document is saved again.
struct TrecSavedData {
    QString strInvName;             // type name as loaded
    QString strFromInvNameNumber;   // source reference as loaded
    TLedgerAmounts amounts;         // the eight amounts recorded with the document
    QDate dtInvDate;                // document date as loaded
    bool blSavedToReport = false;   // the amounts are recorded in the monthly ledger
    // The stored document as it was read when it was opened (none for a new
    // one): a save checks, inside its transaction, that it is still so, so a
    // change another seat made in between is never silently written over.
    std::optional<TInvDocument> storedAsOpened;
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
// Takes the number a new document is stored under, inside the caller's
// transaction, with the counter row locked until it ends (so two seats never
// take one number, and a save that fails gives its number back): the shown
// number while it is not stored (the counter moves one on, as always);
// otherwise (another seat took it first, or no number was shown: 0) the first
// number from the counter on that is not stored is taken (the counter moves
// past it).
int TakeDocumentNumber(DbConnection& connection, int shownNumber);
// Moves the counter one on.
void AdvanceInvNumber();
void AdvanceInvNumber(DbConnection& connection);

// -------------------------------------------------------------- save & load

// Inserts a new document (lines too, except for a manual form's, which has
// none) under the number TakeDocumentNumber gives for its shown number, inside
// the caller's transaction; returns that number.
int InsertNewDocument(DbConnection& connection, const TInvDocument& document, bool manualInvoice);
// The inserts alone, under a number already taken.
void WriteNewDocument(DbConnection& connection, const TInvDocument& document, int number, bool manualInvoice);

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
TLoadedDocument LoadDocument(DbConnection& connection, int number);

// Inside a save's transaction: locks the stored document's row and checks it
// is still as savedData says it was read when opened. Refuses the save
// (AppError with the message of StoredDocumentChangedMessage or
// StoredDocumentDeletedMessage) when another seat changed or deleted it since.
// A snapshot without storedAsOpened (made by hand, not by a load) checks nothing.
void CheckUnchangedSinceOpened(DbConnection& connection, int number, const TrecSavedData& savedData);
QString StoredDocumentChangedMessage(const QString& displayName);
QString StoredDocumentDeletedMessage(const QString& displayName);

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
