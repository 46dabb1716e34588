// The long lists read their rows in keyset pages: every page goes on after the
// last key read, so the rows come in key order, none twice and none left out,
// whatever the page size, the gaps between keys and how few rows a search
// finds; a search that finds little stops after a slice of keys instead of
// running through the whole table in one page.
#include "common/TestDatabase.h"
#include "common/TestServer.h"
#include "common/TestSupport.h"

#include "customers/unitCustomerSearch.h"
#include "app/AppError.h"
#include "db/DbConnection.h"
#include "db/unitListQuery.h"

#include <memory>

namespace {

// Customers with the given ids; the company begins with B for every fifth id,
// with A otherwise, and every seventh is tax exempt.
void FillCustomers(const QList<qint64>& ids)
{
    DbConnection connection;
    DbTransaction transaction(connection);
    connection.execute(QStringLiteral("DELETE FROM tblCustomers;"));
    DbStatement insert = connection.prepare(QStringLiteral(
        "INSERT INTO tblCustomers(intCustomerID,strCustFirstName,strCustLastName,strCustCompany,strCustTaxExmpt) "
        "VALUES(?,'F','L',?,?);"));
    for (qint64 id : ids) {
        insert.reset();
        insert.bindAll({id, (id % 5 == 0 ? QStringLiteral("Bco ") : QStringLiteral("Aco ")) + QString::number(id),
                        id % 7 == 0 ? QStringLiteral("-1") : QStringLiteral("0")});
        insert.step();
    }
    transaction.commit();
}

// Every row of the query read page by page, each page at most pageRows long.
QList<qint64> ReadInPages(const TListQuery& query, int pageRows, int budgetMs = 1000)
{
    TListPager pager(query);
    QList<qint64> ids;
    int calls = 0;
    while (!pager.atEnd() && ++calls < 100000) {
        const int read = pager.readPage(pageRows, budgetMs, [&ids](const DbStatement& row) { ids << row.columnInt64(0); });
        if (read > pageRows) ids << -1; // a page longer than asked shows as a wrong id
    }
    return ids;
}

QList<qint64> ReadWhole(const TListQuery& query)
{
    QList<qint64> ids;
    for (const TCustomerListRow& row : QueryListRows<TCustomerListRow>(query, ReadCustomerListRow))
        ids << row.intCustomerID;
    return ids;
}

} // namespace

class TestListPager : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { CreateTestDatabase(); }

    void pagesReadEveryRowOnceInKeyOrder_data()
    {
        QTest::addColumn<QList<qint64>>("ids");
        QTest::addColumn<int>("searchType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pageRows");

        QList<qint64> dense;
        for (qint64 id = 1; id <= 600; ++id) dense << id;
        // Gaps of every size: deleted rows, and keys far apart (past a slice of keys).
        QList<qint64> gaps{-5, 0, 2, 3, 9};
        for (qint64 id = 40; id <= 4000; id += 37) gaps << id;
        gaps << 50000 << 50001 << 1000000 << 2000000000LL; // the server's ids are 32 bits
        // Every key past the first slice of a search, and keys on both sides of its end.
        QList<qint64> late;
        for (qint64 id = 900000; id <= 900300; ++id) late << id;
        QList<qint64> aroundSliceEnd;
        for (qint64 id = 8000; id <= 8400; ++id) aroundSliceEnd << id;

        QTest::newRow("all, one row a page") << dense << int(cstAllCustomers) << QString() << 1;
        QTest::newRow("all, pages of 7") << dense << int(cstAllCustomers) << QString() << 7;
        QTest::newRow("all, one page") << dense << int(cstAllCustomers) << QString() << 100000;
        QTest::newRow("all with gaps, pages of 3") << gaps << int(cstAllCustomers) << QString() << 3;
        QTest::newRow("prefix search, pages of 4") << dense << int(cstCompanyName) << QStringLiteral("b") << 4;
        QTest::newRow("prefix search with gaps") << gaps << int(cstCompanyName) << QStringLiteral("B") << 2;
        QTest::newRow("tax exempt with gaps") << gaps << int(cstTaxExempt) << QString() << 5;
        QTest::newRow("prefix search, keys far past the first slice") << late << int(cstCompanyName) << QStringLiteral("b") << 4;
        QTest::newRow("prefix search across the first slice's end") << aroundSliceEnd << int(cstCompanyName) << QStringLiteral("b") << 30;
        QTest::newRow("tax exempt across the first slice's end") << aroundSliceEnd << int(cstTaxExempt) << QString() << 1000;
        QTest::newRow("search finding nothing") << gaps << int(cstCompanyName) << QStringLiteral("zz") << 10;
        QTest::newRow("empty table") << QList<qint64>() << int(cstAllCustomers) << QString() << 10;
    }

    void pagesReadEveryRowOnceInKeyOrder()
    {
        QFETCH(QList<qint64>, ids);
        QFETCH(int, searchType);
        QFETCH(QString, text);
        QFETCH(int, pageRows);
        FillCustomers(ids);
        const TListQuery query = BuildCustomerQuery(searchType, text);
        const QList<qint64> whole = ReadWhole(query);
        QCOMPARE(ReadInPages(query, pageRows), whole);
        // The whole query lists in key order as well.
        QVERIFY(std::is_sorted(whole.begin(), whole.end()));
    }

    // A search that finds nothing among keys spread far apart reads one slice
    // of keys and stops when its time is spent, at its end or not; called
    // again it goes on where it stopped, until the end.
    void aSearchFindingLittleStopsAfterASlice()
    {
        QList<qint64> ids;
        for (qint64 id = 1; id <= 200000; id += 40) ids << id;
        FillCustomers(ids);
        TListPager pager(BuildCustomerQuery(cstCompanyName, QStringLiteral("nothing like this")));
        int rows = 0;
        QCOMPARE(pager.readPage(100, 0, [&rows](const DbStatement&) { ++rows; }), 0);
        QVERIFY(!pager.atEnd());
        int calls = 1;
        while (!pager.atEnd()) {
            pager.readPage(100, 0, [&rows](const DbStatement&) { ++rows; });
            ++calls;
        }
        QCOMPARE(rows, 0);
        QVERIFY(calls > 1);
    }

    // Rows added after reading began are not mixed into the pages; rows deleted
    // meanwhile are simply not met.
    void rowsChangedBetweenPages()
    {
        QList<qint64> ids;
        for (qint64 id = 1; id <= 50; ++id) ids << id;
        FillCustomers(ids);
        TListPager pager(BuildCustomerQuery(cstAllCustomers, QString()));
        QList<qint64> read;
        const auto take = [&read](const DbStatement& row) { read << row.columnInt64(0); };
        pager.readPage(10, 1000, take);
        DbConnection connection;
        connection.execute(QStringLiteral("DELETE FROM tblCustomers WHERE intCustomerID BETWEEN 11 AND 20;"));
        connection.execute(QStringLiteral("INSERT INTO tblCustomers(intCustomerID, strCustCompany) VALUES(60, 'late');"));
        while (!pager.atEnd()) pager.readPage(10, 1000, take);
        QList<qint64> expected;
        for (qint64 id = 1; id <= 50; ++id)
            if (id <= 10 || id > 20) expected << id;
        QCOMPARE(read, expected);
    }

    // On a server, the first page of a list without a search is planned once
    // per connection: the list opens with it again and again, and planning it
    // anew each time cost more than reading its rows.
    void theFirstPageIsPlannedOncePerConnection()
    {
        if (!TestRunsOnServer()) QSKIP("the file plans each statement once, when it is prepared");
        auto connection = std::make_shared<DbConnection>();
        QList<qint64> ids;
        for (qint64 id = 1; id <= 30; ++id) ids << id;
        FillCustomers(ids);
        for (int run = 0; run < 3; ++run) {
            TListPager pager(BuildCustomerQuery(cstAllCustomers, QString()), connection);
            QList<qint64> read;
            pager.readPage(10, 1000, [&read](const DbStatement& row) { read << row.columnInt64(0); });
            QCOMPARE(read, ids.mid(0, 10));
        }
        DbStatement plans = connection->prepare(QStringLiteral(
            "SELECT SUM(generic_plans), SUM(custom_plans) FROM pg_prepared_statements "
            "WHERE statement LIKE '%FROM tblCustomers ORDER BY intCustomerID LIMIT%' "
            "AND statement NOT LIKE '%pg_prepared%';"));
        QVERIFY(plans.step());
        // The connection may have listed customers before this test.
        QCOMPARE(plans.columnInt64(1), 0);
        QVERIFY(plans.columnInt64(0) >= 3);
    }

    // An engine error is thrown, and the pager asks no more.
    void anEngineErrorEndsReading()
    {
        TListQuery query = BuildCustomerQuery(cstAllCustomers, QString());
        query.condition = QStringLiteral("noSuchColumn = 1");
        TListPager pager(query);
        bool thrown = false;
        try {
            pager.readPage(10, 1000, [](const DbStatement&) {});
        } catch (const AppError& error) {
            // The server names the column in lower case.
            thrown = error.message().contains(QStringLiteral("noSuchColumn"), Qt::CaseInsensitive);
        }
        QVERIFY(thrown);
        QVERIFY(pager.atEnd());
    }
};

FENNICK_TEST_MAIN(TestListPager)
#include "test_listpager.moc"
