#pragma once
// The monthly sales and tax ledger: one row of tblReport per year and month
// holding the running sums of labour and material sales and of the three taxes
// charged on each. Posting is the only way amounts get there; callers pass
// negated amounts to take a document out again.
#include <QDate>
#include <array>

class DbConnection;

// The eight amounts of a posting, in the order of the ledger's columns.
struct TLedgerAmounts {
    double dbLbrTax1Total = 0;
    double dbLbrTax2Total = 0;
    double dbLbrTax3Total = 0;
    double dbMatTax1Total = 0;
    double dbMatTax2Total = 0;
    double dbMatTax3Total = 0;
    double dbLbrTotal = 0;
    double dbMatTotal = 0;

    TLedgerAmounts negated() const;
    std::array<double, 8> values() const;
    bool operator==(const TLedgerAmounts&) const = default;
};

// Adds the amounts (signed, unrounded) to the row of the date's year and month,
// creating the row on the first posting of that month (on the server in one
// statement against its unique key, so seats posting at once never make two
// rows of one month). Only the year and month
// of the date are used.
void PostToMonthlyLedger(double lbrTax1, double lbrTax2, double lbrTax3, double matTax1, double matTax2,
                         double matTax3, double lbrTotal, double matTotal, const QDate& date);
void PostToMonthlyLedger(const TLedgerAmounts& amounts, const QDate& date);
// The same on a connection the caller holds, so that the posting joins the
// caller's transaction (a document save posts and writes in one go).
void PostToMonthlyLedger(DbConnection& connection, const TLedgerAmounts& amounts, const QDate& date);
