// Window preferences against a real database: the default flags, a round trip
// through the table in its stored form, and a stored text that is not a flag.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppPreferences.h"
#include "db/DbConnection.h"

class TestAppPreferences : public QObject {
    Q_OBJECT

    static QStringList storedFlags()
    {
        DbConnection connection;
        DbStatement read = connection.prepare(QStringLiteral(
            "SELECT strFrmMainMaximized,strFrmInvoiceMaximized,strFrmPlannerMaximized,strFrmPrintPreviewMaximized "
            "FROM tblAppPreferences"));
        QStringList flags;
        while (read.step())
            for (int column = 0; column < 4; ++column) flags << read.columnText(column);
        return flags;
    }

private slots:
    void init() { CreateTestDatabase(); }

    void freshDatabaseOpensEveryWindowMaximized()
    {
        arrFormMaximized = {false, false, false, false};
        LoadAppPreferences();
        QCOMPARE(arrFormMaximized, (std::array<bool, 4>{true, true, true, true}));
    }

    void roundTripKeepsEachFlagInItsColumn()
    {
        arrFormMaximized = {false, true, false, true};
        SaveAppPreferences();
        QCOMPARE(storedFlags(), (QStringList{"0", "-1", "0", "-1"}));

        arrFormMaximized = {true, false, true, false};
        LoadAppPreferences();
        QCOMPARE(arrFormMaximized, (std::array<bool, 4>{false, true, false, true}));
    }

    void storedTextThatIsNoFlagFailsAndKeepsFlags()
    {
        DbConnection connection;
        connection.execute(QStringLiteral("UPDATE tblAppPreferences SET strFrmPlannerMaximized = ?"),
                           {QStringLiteral("maybe")});
        connection.close();
        arrFormMaximized = {false, false, false, false};
        try {
            LoadAppPreferences();
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("'maybe' is not a valid boolean value"));
        }
        QCOMPARE(arrFormMaximized, (std::array<bool, 4>{false, false, false, false}));
    }
};

FENNICK_TEST_MAIN(TestAppPreferences)
#include "test_apppreferences.moc"
