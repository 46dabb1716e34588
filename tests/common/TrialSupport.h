#pragma once
// Shared pieces of the reliability trials: a readable dump of every table of
// the database, the engine's own integrity check, and documents whose header
// totals follow from their lines, so a stored document can be checked whole.
#include "documents/unitDocumentModel.h"

#include <QString>
#include <QStringList>

// Every table (sqlite_sequence too), in name order, each row in storage order
// with every value and its stored type: equal dumps mean equal databases.
QString DumpDatabase();
// "ok" for a sound file, otherwise the engine's list of problems.
QString IntegrityCheck();

// A document of lineCount lines with quantities 1..9 and prices in quarters,
// so every sum is exact; the header totals are the lines' sums, taxes 1-3 are
// 1/16, 1/32 and 1/64 of the labour and material subtotals. strCustPONumber
// holds the line count as "lines <n>" and the variant picks the prices.
TInvDocument MakeTrialDocument(int number, const QString& typeName, int lineCount, int variant, const QString& date,
                               bool paidInFull);

// The totals a document's stored lines give: labour and material subtotals.
struct TLineSums {
    double labour = 0;
    double material = 0;
};
TLineSums SumTrialLines(const QList<TInvLine>& lines);

class DbConnection;
// The stored documents and the ledger on the connection's database: every
// document whole (its header with all its lines, totals that match them), one
// number per document, the counter above every number, one ledger row per
// month, and the ledger equal to the sums the store's posting rules give from
// the stored documents. Returns the faults found; counts the documents.
QStringList CheckStoredDocuments(DbConnection& db, int& documentsChecked);
