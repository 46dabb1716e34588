// The program's tables on a server database: built once with the first-run
// rows (also when two seats start on an empty database at once), an older
// schema upgraded, a newer one refused, a foreign one left alone.
#include "common/TestServer.h"
#include "common/TestSupport.h"

#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"

#include <QDate>
#include <thread>

namespace {

DbConnection programDatabase() { return DbConnection::ToServer(TestProgramConnection()); }

int rowsOf(DbConnection& db, const QString& table)
{
    return db.countRows(QStringLiteral("SELECT * FROM %1;").arg(table));
}

QString refusal(DbConnection& db)
{
    try {
        PrepareServerDatabase(db, QDate(2024, 1, 3));
    } catch (const AppError& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class TestServerSchema : public QObject {
    Q_OBJECT

private slots:
    void init() { EmptyTestProgramDatabase(); }

    void anEmptyDatabaseGetsTheFirstRunTablesAndRows()
    {
        DbConnection db = programDatabase();
        QVERIFY(PrepareServerDatabase(db, QDate(2024, 1, 3)));
        QCOMPARE(ServerSchemaVersion(db), kServerSchemaVersion);
        const struct {
            const char* table;
            int rows;
        } expected[] = {{"tblAppPreferences", 1}, {"tblCustomers", 3},   {"tblCompanyInfo", 1}, {"tblCompanyInvData", 1},
                        {"tblContractWarranty", 1}, {"tblCompColorData", 1}, {"tblInvDataHeader", 0}, {"tblInvData", 0},
                        {"tblReport", 0},          {"tblRecurring", 1},   {"tblPrices", 12},     {"tblPlannerSettings", 1},
                        {"tblPlanner", 5},         {"tblCompanyLogo", 0}};
        for (const auto& table : expected) QCOMPARE(rowsOf(db, QString::fromLatin1(table.table)), table.rows);

        // The columns in the server's types; the ids filled from sequences, as on a new file.
        DbStatement type = db.prepare(QStringLiteral("SELECT data_type, is_identity FROM information_schema.columns "
                                                     "WHERE table_name = ? AND column_name = ?;"));
        const struct {
            const char* table;
            const char* column;
            const char* type;
            const char* identity;
        } columns[] = {{"tblcustomers", "intcustomerid", "integer", "YES"},
                       {"tblcustomers", "strcustcompany", "text", "NO"},
                       {"tblprices", "dblbrprc", "double precision", "NO"},
                       {"tblinvdataheader", "strinvnotes", "bytea", "NO"},
                       {"tblcompanyinvdata", "intinvnumber", "integer", "NO"}};
        for (const auto& column : columns) {
            type.reset();
            type.bindAll({QString::fromLatin1(column.table), QString::fromLatin1(column.column)});
            QVERIFY(type.step());
            QCOMPARE(type.columnText(0), QString::fromLatin1(column.type));
            QCOMPARE(type.columnText(1), QString::fromLatin1(column.identity));
        }
        type.finalize();
        QCOMPARE(db.countRows(QStringLiteral("SELECT * FROM tblPlanner WHERE intActID BETWEEN 1 AND 5;")), 5);
        // Activity 3 of January 3 lies in the year before.
        QCOMPARE(db.countRows(QStringLiteral("SELECT * FROM tblPlanner WHERE intActMasterID = 3 AND intActYear = 2023;")), 3);
        DbStatement next = db.prepare(QStringLiteral("SELECT intInvNumber FROM tblCompanyInvData WHERE intCompInvDataID = 1;"));
        next.step();
        QCOMPARE(next.columnInt(0), 500);
        next.finalize();
        // A new customer continues the sequence.
        db.execute(QStringLiteral("INSERT INTO tblCustomers(strCustFirstName) VALUES('Next');"));
        QCOMPARE(db.lastInsertRowId(), qint64(4));

        // The next start finds the tables and builds nothing.
        QVERIFY(!PrepareServerDatabase(db, QDate(2024, 1, 3)));
        QCOMPARE(rowsOf(db, QStringLiteral("tblPrices")), 12);
    }

    void twoSeatsStartingAtOnceBuildItOnce()
    {
        // Two seats, each with its own connection, on the same empty database.
        std::atomic<int> built{0};
        std::atomic<int> failed{0};
        auto seat = [&] {
            try {
                DbConnection db = programDatabase();
                if (PrepareServerDatabase(db, QDate(2024, 6, 1))) ++built;
            } catch (...) {
                ++failed;
            }
        };
        std::thread first(seat);
        std::thread second(seat);
        first.join();
        second.join();
        QCOMPARE(failed.load(), 0);
        QCOMPARE(built.load(), 1);
        DbConnection db = programDatabase();
        QCOMPARE(rowsOf(db, QStringLiteral("tblCustomers")), 3);
        QCOMPARE(rowsOf(db, QStringLiteral("tblFennickSchema")), 1);
    }

    void anOlderSchemaIsUpgradedInOneTransaction()
    {
        DbConnection db = programDatabase();
        PrepareServerDatabase(db, QDate(2024, 1, 3));
        // As version 1 left it: no logo table, no search functions of this version.
        db.execute(QStringLiteral("DROP TABLE tblCompanyLogo;"));
        db.execute(QStringLiteral("DROP FUNCTION starts_with_text(bigint, text);"));
        db.execute(QStringLiteral("UPDATE tblFennickSchema SET intSchemaVersion = 1;"));
        QVERIFY(!PrepareServerDatabase(db, QDate(2024, 1, 3)));
        QCOMPARE(ServerSchemaVersion(db), kServerSchemaVersion);
        QVERIFY(db.hasTable(QStringLiteral("tblCompanyLogo")));
        QCOMPARE(db.countRows(QStringLiteral("SELECT * FROM tblCustomers WHERE STARTS_WITH_TEXT(intCustomerID, ?) = 1;"),
                              {QStringLiteral("2")}),
                 1);
        QCOMPARE(rowsOf(db, QStringLiteral("tblCustomers")), 3);
    }

    // Version 3 gives the ledger one row per year and month: rows of one month
    // that seats of an older version made at once are added into one.
    void theLedgerKeepsOneRowPerMonthFromVersion3()
    {
        DbConnection db = programDatabase();
        PrepareServerDatabase(db, QDate(2024, 1, 3));
        db.execute(QStringLiteral("ALTER TABLE tblReport DROP CONSTRAINT tblreport_year_month;"));
        db.execute(QStringLiteral("INSERT INTO tblReport(intReportYear,intReportMonth,dbLbrTotal,dbMatTotal) VALUES "
                                  "(2024,1,10,1),(2024,1,5.5,NULL),(2024,2,7,2),(2024,1,0.25,3);"));
        db.execute(QStringLiteral("UPDATE tblFennickSchema SET intSchemaVersion = 2;"));
        QVERIFY(!PrepareServerDatabase(db, QDate(2024, 1, 3)));
        QCOMPARE(ServerSchemaVersion(db), kServerSchemaVersion);
        DbStatement read = db.prepare(QStringLiteral("SELECT intReportMonth,dbLbrTotal,dbMatTotal FROM tblReport "
                                                     "ORDER BY intReportMonth;"));
        QStringList rows;
        while (read.step()) rows << QStringLiteral("%1 %2 %3").arg(read.columnInt(0)).arg(read.columnDouble(1)).arg(read.columnDouble(2));
        read.finalize();
        QCOMPARE(rows, (QStringList{QStringLiteral("1 15.75 4"), QStringLiteral("2 7 2")}));
        QVERIFY(!ErrorMessageOf([&] {
                     db.execute(QStringLiteral("INSERT INTO tblReport(intReportYear,intReportMonth) VALUES (2024,2);"));
                 }).isEmpty());
    }

    void aNewerSchemaIsRefusedAndLeftAlone()
    {
        DbConnection db = programDatabase();
        PrepareServerDatabase(db, QDate(2024, 1, 3));
        db.execute(QStringLiteral("UPDATE tblFennickSchema SET intSchemaVersion = ?;"), {kServerSchemaVersion + 1});
        QCOMPARE(refusal(db), NewerSchemaMessage(kServerSchemaVersion + 1));
        QVERIFY(NewerSchemaMessage(3).contains(QStringLiteral("newer version")));
        QCOMPARE(ServerSchemaVersion(db), kServerSchemaVersion + 1);
    }

    void aDatabaseWithTheTablesButNoVersionIsLeftAlone()
    {
        DbConnection db = programDatabase();
        db.execute(QStringLiteral("CREATE TABLE tblCustomers(intCustomerID integer, strCustCompany text);"));
        QVERIFY(refusal(db).contains(QStringLiteral("holds a table tblcustomers but no record of the version")));
        QCOMPARE(db.tableNames(), QStringList{QStringLiteral("tblcustomers")});
    }

    void aDatabaseNotInUtf8IsRefused()
    {
        const QString name = TestProgramDatabase() + QStringLiteral("_ascii");
        CloseIdleServerSessions();
        DropServerDatabase(name);
        DbConnection admin = DbConnection::ToServer(TestServerConnection(QStringLiteral("postgres")));
        admin.execute(QStringLiteral("CREATE DATABASE \"%1\" ENCODING 'SQL_ASCII' TEMPLATE template0;").arg(name));
        DbConnection db = DbConnection::ToServer(TestServerConnection(name));
        QVERIFY(refusal(db).contains(QStringLiteral("stores its texts as SQL_ASCII")));
        QVERIFY(db.tableNames().isEmpty());
        db.close();
        CloseIdleServerSessions();
        DropServerDatabase(name);
    }
};

FENNICK_TEST_MAIN(TestServerSchema)
#include "test_serverschema.moc"
