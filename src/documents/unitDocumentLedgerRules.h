#pragma once
// The ledger rules of the editor's Save: which amounts a saved document posts
// to the monthly ledger, and the save that posts them and writes the document
// in one transaction.
#include "documents/unitDocumentStore.h"

#include <QList>

struct TLedgerPosting {
    TLedgerAmounts amounts;
    QDate date;
};

struct TLedgerPlan {
    QList<TLedgerPosting> postings;   // in the order they are posted
    bool blSavedToReport = false;     // the recorded flag the document is stored with
};

// The postings for saving a document of type typeName with the current eight
// amounts, dated invDate, against the snapshot of how it was loaded:
// - Invoice: what was recorded is taken out at the recorded date; when paid in
//   full, the current amounts go in at the document date (recorded), otherwise
//   the document is no longer recorded.
// - Credit: a credit recorded before (and not loaded as an invoice) is undone,
//   then the current amounts are subtracted at the document date (recorded).
// - Any other type: nothing is posted; the recorded flag stays as loaded.
TLedgerPlan PlanLedgerOnSave(const QString& typeName, const TLedgerAmounts& current, const QDate& invDate,
                             bool paidInFull, const TrecSavedData& saved);

struct TSaveOutcome {
    bool blInserted = false;       // the document was new and got stored (counter advanced)
    bool blSavedToReport = false;  // the recorded flag now stored
    // The number the document is stored under: a new document's shown number,
    // or the next free one when another seat took the shown number first.
    int intInvNumber = 0;
};

// The editor's Save: applies PlanLedgerOnSave to the document (its type, its
// eight amounts, its date and its paid-in-full flag) and then writes it, all
// in one transaction; the document's own strSavedToReport is replaced by the
// plan's flag. Shows the saving notice. A failure leaves the ledger and the
// document exactly as they were.
// A stored document is first checked against saved.storedAsOpened
// (CheckUnchangedSinceOpened): a change another seat made since it was opened
// refuses the save. A transaction that meets another seat's in a deadlock runs again.
TSaveOutcome SaveDocumentWithLedger(const TInvDocument& document, const TrecSavedData& saved, bool editExisting);
// The same on the caller's connection, without the notice.
TSaveOutcome SaveDocumentWithLedger(DbConnection& connection, const TInvDocument& document, const TrecSavedData& saved,
                                    bool editExisting);
