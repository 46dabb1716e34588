// The monthly ledger against a real program database: one row per year and
// month, signed unrounded sums, postings that join a caller's transaction.
#include "common/TestFaults.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "db/DbConnection.h"
#include "documents/unitMonthlyLedger.h"

namespace {

struct LedgerRow {
    int year;
    int month;
    std::array<double, 8> sums;
};

QList<LedgerRow> ReadLedger()
{
    QList<LedgerRow> rows;
    DbConnection connection;
    DbStatement read = connection.prepare(QStringLiteral(
        "SELECT intReportYear,intReportMonth,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,"
        "dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal FROM tblReport ORDER BY intReportID"));
    while (read.step()) {
        LedgerRow row{read.columnInt(0), read.columnInt(1), {}};
        for (int i = 0; i < 8; ++i) row.sums[size_t(i)] = read.columnDouble(2 + i);
        rows.append(row);
    }
    return rows;
}

const TLedgerAmounts kSample = {1.25, 2.5, 0, 0.4, 0.5, 0.0625, 100, 50.75};

} // namespace

class TestLedger : public QObject {
    Q_OBJECT

private slots:
    void init() { CreateTestDatabase(); }

    void firstPostingOfAMonthInsertsExactlyItsAmounts()
    {
        PostToMonthlyLedger(TLedgerAmounts{}, QDate(2010, 3, 29));
        PostToMonthlyLedger(1, 2, 3, 4, 5, 6, 7, 8, QDate(2011, 4, 1));
        const QList<LedgerRow> rows = ReadLedger();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].year, 2010);
        QCOMPARE(rows[0].month, 3);
        QCOMPARE(rows[0].sums, (std::array<double, 8>{}));
        QCOMPARE(rows[1].year, 2011);
        QCOMPARE(rows[1].month, 4);
        QCOMPARE(rows[1].sums, (std::array<double, 8>{1, 2, 3, 4, 5, 6, 7, 8}));
    }

    void postingsOfOneMonthAddIntoOneRow()
    {
        PostToMonthlyLedger(kSample, QDate(2010, 1, 1));
        PostToMonthlyLedger(kSample, QDate(2010, 1, 31));
        PostToMonthlyLedger(kSample, QDate(2010, 12, 31));
        const QList<LedgerRow> rows = ReadLedger();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].month, 1);
        QCOMPARE(rows[0].sums, (std::array<double, 8>{2.5, 5, 0, 0.8, 1, 0.125, 200, 101.5}));
        QCOMPARE(rows[1].month, 12);
        QCOMPARE(rows[1].sums, kSample.values());
    }

    void postingAndTakingOutLeavesTheRow()
    {
        PostToMonthlyLedger(kSample, QDate(2010, 5, 10));
        PostToMonthlyLedger(kSample.negated(), QDate(2010, 5, 20));
        const QList<LedgerRow> rows = ReadLedger();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].sums, (std::array<double, 8>{}));
    }

    void sumsGoNegativeAndStayUnrounded()
    {
        PostToMonthlyLedger(TLedgerAmounts{0.001, 0, 0, 0, 0, 0, 0.004, 0}, QDate(2012, 2, 29));
        PostToMonthlyLedger(TLedgerAmounts{0, 0, 0, 0, 0, 0, -100.5, -3.25}, QDate(2012, 2, 1));
        const QList<LedgerRow> rows = ReadLedger();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].sums[0], 0.001);
        QCOMPARE(rows[0].sums[6], 0.004 - 100.5);
        QCOMPARE(rows[0].sums[7], -3.25);
    }

    void postingJoinsTheCallersTransaction()
    {
        PostToMonthlyLedger(kSample, QDate(2010, 6, 1));
        {
            DbConnection connection;
            DbTransaction transaction(connection);
            PostToMonthlyLedger(connection, kSample, QDate(2010, 6, 2));
            PostToMonthlyLedger(connection, kSample, QDate(2010, 7, 2));
            // Not committed: both postings are undone.
        }
        const QList<LedgerRow> rows = ReadLedger();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].sums, kSample.values());
    }

    void aFailingWriteLeavesTheRowAsItWas()
    {
        PostToMonthlyLedger(kSample, QDate(2010, 8, 1));
        AddFailingTrigger(QStringLiteral("failUpdate"), QStringLiteral("UPDATE"), QStringLiteral("tblReport"),
                          QString(), QStringLiteral("ledger is read-only"));
        try {
            PostToMonthlyLedger(kSample, QDate(2010, 8, 15));
            QFAIL("no error");
        } catch (const AppError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("ledger is read-only")), qPrintable(error.message()));
        }
        QCOMPARE(ReadLedger()[0].sums, kSample.values());
    }
};

FENNICK_TEST_MAIN(TestLedger)
#include "test_ledger.moc"
