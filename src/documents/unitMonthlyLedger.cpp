#include "documents/unitMonthlyLedger.h"

#include "app/AppError.h"
#include "db/DbConnection.h"

TLedgerAmounts TLedgerAmounts::negated() const
{
    return {-dbLbrTax1Total, -dbLbrTax2Total, -dbLbrTax3Total, -dbMatTax1Total,
            -dbMatTax2Total, -dbMatTax3Total, -dbLbrTotal,     -dbMatTotal};
}

std::array<double, 8> TLedgerAmounts::values() const
{
    return {dbLbrTax1Total, dbLbrTax2Total, dbLbrTax3Total, dbMatTax1Total,
            dbMatTax2Total, dbMatTax3Total, dbLbrTotal,     dbMatTotal};
}

void PostToMonthlyLedger(double lbrTax1, double lbrTax2, double lbrTax3, double matTax1, double matTax2,
                         double matTax3, double lbrTotal, double matTotal, const QDate& date)
{
    PostToMonthlyLedger({lbrTax1, lbrTax2, lbrTax3, matTax1, matTax2, matTax3, lbrTotal, matTotal}, date);
}

void PostToMonthlyLedger(const TLedgerAmounts& amounts, const QDate& date)
{
    DbConnection connection;
    // The look-up and the write belong together.
    DbTransaction::Run(connection, [&] { PostToMonthlyLedger(connection, amounts, date); });
}

namespace {

// On the server, where seats post at the same moment: one statement that
// makes the month's row (its unique key on year and month keeps it the only
// one) or adds to it, with the row locked to the end of the transaction.
void PostOnServer(DbConnection& connection, int year, int month, const std::array<double, 8>& add)
{
    QVariantList values{year, month};
    for (double amount : add) values.append(amount);
    connection.execute(
        QStringLiteral("INSERT INTO tblReport(intReportYear,intReportMonth,dbLbrTax1Total,dbLbrTax2Total,"
                       "dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal)"
                       "VALUES(?,?,?,?,?,?,?,?,?,?) ON CONFLICT (intReportYear,intReportMonth) DO UPDATE SET "
                       "dbLbrTax1Total = COALESCE(tblReport.dbLbrTax1Total, 0) + excluded.dbLbrTax1Total,"
                       "dbLbrTax2Total = COALESCE(tblReport.dbLbrTax2Total, 0) + excluded.dbLbrTax2Total,"
                       "dbLbrTax3Total = COALESCE(tblReport.dbLbrTax3Total, 0) + excluded.dbLbrTax3Total,"
                       "dbMatTax1Total = COALESCE(tblReport.dbMatTax1Total, 0) + excluded.dbMatTax1Total,"
                       "dbMatTax2Total = COALESCE(tblReport.dbMatTax2Total, 0) + excluded.dbMatTax2Total,"
                       "dbMatTax3Total = COALESCE(tblReport.dbMatTax3Total, 0) + excluded.dbMatTax3Total,"
                       "dbLbrTotal = COALESCE(tblReport.dbLbrTotal, 0) + excluded.dbLbrTotal,"
                       "dbMatTotal = COALESCE(tblReport.dbMatTotal, 0) + excluded.dbMatTotal;"),
        values);
}

} // namespace

void PostToMonthlyLedger(DbConnection& connection, const TLedgerAmounts& amounts, const QDate& date)
{
    if (!date.isValid()) throw AppError(QStringLiteral("No valid date for the monthly ledger"));
    const int year = date.year();
    const int month = date.month();
    const std::array<double, 8> add = amounts.values();
    if (connection.isServer()) return PostOnServer(connection, year, month, add);

    DbStatement find = connection.prepare(
        QStringLiteral("SELECT intReportID,intReportYear,intReportMonth,dbLbrTax1Total,dbLbrTax2Total,"
                       "dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal "
                       "FROM tblReport WHERE intReportYear = ? AND intReportMonth = ?;"),
        {year, month});
    const bool found = find.step();
    const qint64 reportId = found ? find.columnInt64(0) : 0;

    if (reportId != 0) {
        QVariantList values;
        for (int i = 0; i < 8; ++i) values.append(find.columnDouble(3 + i) + add[size_t(i)]);
        find.finalize();
        values.append(reportId);
        connection.execute(QStringLiteral("UPDATE tblReport SET dbLbrTax1Total = ?,dbLbrTax2Total = ?,"
                                          "dbLbrTax3Total = ?,dbMatTax1Total = ?,dbMatTax2Total = ?,"
                                          "dbMatTax3Total = ?,dbLbrTotal = ?,dbMatTotal = ? "
                                          "WHERE intReportID = ?;"),
                           values);
        return;
    }
    find.finalize();
    QVariantList values{year, month};
    for (double amount : add) values.append(amount);
    connection.execute(QStringLiteral("INSERT INTO tblReport(intReportYear,intReportMonth,dbLbrTax1Total,"
                                      "dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,"
                                      "dbMatTax3Total,dbLbrTotal,dbMatTotal)VALUES(?,?,?,?,?,?,?,?,?,?);"),
                       values);
}
