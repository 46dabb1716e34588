// The compaction after a committed delete is best effort: when it fails, the
// delete still counts as done, the row is gone and the file is sound. The
// failure is injected through a test file system that refuses the journal the
// compaction needs (the delete's own journal is the first one opened).
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "maintenance/MaintenanceFixture.h"

#include "customers/unitCustomerStore.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentStore.h"
#include "prices/unitPriceStore.h"

#include <functional>
#include <sqlite3.h>

namespace {

sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_faulty;
bool g_armed = false;
int g_journalOpens = 0;

int faultyOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    if (g_armed && (flags & SQLITE_OPEN_MAIN_JOURNAL) && ++g_journalOpens >= 2) return SQLITE_CANTOPEN;
    return g_real->xOpen(g_real, name, file, flags, outFlags);
}

int CountOf(const QString& sql, const QVariantList& values) { return DbConnection().countRows(sql, values); }

} // namespace

class TestVacuumBestEffort : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        g_real = sqlite3_vfs_find(nullptr);
        QVERIFY(g_real);
        g_faulty = *g_real;
        g_faulty.zName = "fennick-test-faulty";
        g_faulty.xOpen = faultyOpen;
        QCOMPARE(sqlite3_vfs_register(&g_faulty, 1), SQLITE_OK);
    }
    void cleanupTestCase() { sqlite3_vfs_unregister(&g_faulty); }

    void failedCompactionIsNoFailedDelete_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("price item") << "price";
        QTest::newRow("customer") << "customer";
        QTest::newRow("document") << "document";
        QTest::newRow("document lines") << "lines";
    }
    void failedCompactionIsNoFailedDelete()
    {
        QFETCH(QString, what);
        CreateTestDatabase();
        InsertTestDoc({.number = 600, .type = "Invoice", .fullName = "Gone, Gus", .company = "Gone Co", .lines = 3});
        DbConnection().execute(QStringLiteral("INSERT INTO tblCustomers(intCustomerID,strCustLastName) VALUES(9001,'Gone');"));

        std::function<void()> remove;
        QString sql;
        QVariantList values;
        if (what == QLatin1String("price")) {
            remove = [] { DeletePriceItem(1); };
            sql = QStringLiteral("SELECT * FROM tblPrices WHERE intPrcItemNumID = ?");
            values = {1};
        } else if (what == QLatin1String("customer")) {
            remove = [] { DeleteCustomer(9001); };
            sql = QStringLiteral("SELECT * FROM tblCustomers WHERE intCustomerID = ?");
            values = {9001};
        } else if (what == QLatin1String("document")) {
            remove = [] { DeleteDocument(600); };
            sql = QStringLiteral("SELECT * FROM tblInvDataHeader WHERE intInvNumber = ?");
            values = {600};
        } else {
            remove = [] { DeleteDocumentLines(600); };
            sql = QStringLiteral("SELECT * FROM tblInvData WHERE intInvNumber = ?");
            values = {600};
        }
        QCOMPARE(CountOf(sql, values), 1 + (what == QLatin1String("lines") ? 2 : 0));

        g_journalOpens = 0;
        g_armed = true;
        bool reported = false;
        try {
            remove();
        } catch (...) {
            reported = true;
        }
        g_armed = false;
        QVERIFY2(g_journalOpens >= 2, "the compaction was never refused");
        QVERIFY(!reported);
        QCOMPARE(CountOf(sql, values), 0);
        DbConnection connection;
        DbStatement check = connection.prepare(QStringLiteral("PRAGMA integrity_check;"));
        QVERIFY(check.step());
        QCOMPARE(check.columnText(0), QStringLiteral("ok"));
    }
};

FENNICK_TEST_MAIN(TestVacuumBestEffort)
#include "test_vacuumbesteffort.moc"
