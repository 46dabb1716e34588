// A settings or counter row that is missing is a clear error, never document
// number 0 or a save that silently changed nothing; an update of a stored
// record that is gone is an error as well.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppPreferences.h"
#include "company/unitCompanyData.h"
#include "customers/unitCustomerStore.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentCopy.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitMainCounters.h"
#include "prices/unitPriceStore.h"

#include <functional>

Q_DECLARE_METATYPE(std::function<void()>)

class TestMissingRows : public QObject {
    Q_OBJECT

private slots:
    void init() { CreateTestDatabase(); }

    void missingRowIsAClearError_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<std::function<void()>>("operation");
        QTest::addColumn<QString>("message");
        const QString counter = QStringLiteral("The document counter row is missing from the database.");
        const QString noCounterRow = QStringLiteral("DELETE FROM tblCompanyInvData;");
        QTest::newRow("next number") << noCounterRow << std::function<void()>([] { GetNextInvNumber(); }) << counter;
        QTest::newRow("advance number") << noCounterRow << std::function<void()>([] { AdvanceInvNumber(); }) << counter;
        QTest::newRow("counter without a number")
            << QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = NULL;")
            << std::function<void()>([] { GetNextInvNumber(); })
            << QStringLiteral("The document counter in the database holds no valid number ().");
        QTest::newRow("counter at zero") << QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = 0;")
                                         << std::function<void()>([] { GetNextInvNumber(); })
                                         << QStringLiteral("The document counter in the database holds no valid number (0).");
        const QString preferences = QStringLiteral("The window preferences row is missing from the database.");
        QTest::newRow("load preferences") << QStringLiteral("DELETE FROM tblAppPreferences;")
                                          << std::function<void()>([] { LoadAppPreferences(); }) << preferences;
        QTest::newRow("save preferences") << QStringLiteral("DELETE FROM tblAppPreferences;")
                                          << std::function<void()>([] { SaveAppPreferences(); }) << preferences;
        const QString recurring = QStringLiteral("The recurring invoices row is missing from the database.");
        QTest::newRow("last printed") << QStringLiteral("DELETE FROM tblRecurring;")
                                      << std::function<void()>([] { ShowLastPrintedDate(); }) << recurring;
        QTest::newRow("set last printed") << QStringLiteral("DELETE FROM tblRecurring;")
                                          << std::function<void()>([] { SetLastPrintedToday(); }) << recurring;
        QTest::newRow("company information") << QStringLiteral("DELETE FROM tblCompanyInfo;")
                                             << std::function<void()>([] { LoadCompanyData(); })
                                             << QStringLiteral("The company information row is missing from the database.");
        QTest::newRow("recurring mark of a gone document")
            << QString() << std::function<void()>([] { SetRecurring(9999, true); })
            << QStringLiteral("Document number 9999 does not exist");
        QTest::newRow("update of a gone price item")
            << QString() << std::function<void()>([] {
                   TPriceItem item;
                   item.intPrcItemNumID = 9999;
                   item.strPrcItemName = QStringLiteral("Gone");
                   item.strLabTax = item.strMatTax = QStringLiteral("0");
                   SavePriceItem(item);
               })
            << QStringLiteral("This price item is no longer in the database; it may have been deleted.");
        QTest::newRow("update of a gone customer")
            << QString() << std::function<void()>([] {
                   TCustomer customer;
                   customer.intCustomerID = 9999;
                   customer.strCustLastName = QStringLiteral("Gone");
                   SaveCustomer(customer);
               })
            << QStringLiteral("This customer is no longer in the database; it may have been deleted.");
    }
    void missingRowIsAClearError()
    {
        QFETCH(QString, damage);
        QFETCH(std::function<void()>, operation);
        QFETCH(QString, message);
        if (!damage.isEmpty()) DbConnection().execute(damage);
        try {
            operation();
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), message);
        }
    }

    // With its rows in place the counter counts as before.
    void counterStillCounts()
    {
        const int first = GetNextInvNumber();
        QVERIFY(first > 0);
        AdvanceInvNumber();
        QCOMPARE(GetNextInvNumber(), first + 1);
    }
};

FENNICK_TEST_MAIN(TestMissingRows)
#include "test_missingrows.moc"
