// The planner settings row: first-run values, colours split into their three
// columns and rebuilt, and a missing row reported instead of read as zeros.
#include "app/AppError.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "planner/unitPlannerSettings.h"

class TestPlannerSettings : public QObject {
    Q_OBJECT
    TestDataFolder m_folder;

private slots:
    void init() { CreateTestDatabase(); }

    void firstRunValues()
    {
        const TrecPlannerSettings s = LoadPlannerSettings();
        QCOMPARE(s.intActColor, PackColor(255, 255, 0));
        QCOMPARE(s.intWkndColor, PackColor(215, 228, 242));
        QCOMPARE(s.intPriorityColor, PackColor(255, 98, 98));
        QCOMPARE(s.intRemoveActivity, 2);
        QCOMPARE(s.intDefaultPlanner, 0);
    }

    void roundTripSplitsColours()
    {
        TrecPlannerSettings s;
        s.intActColor = PackColor(18, 52, 86);
        s.intWkndColor = PackColor(0, 0, 255);
        s.intPriorityColor = PackColor(255, 255, 255);
        s.intRemoveActivity = 3;
        s.intDefaultPlanner = 2;
        SavePlannerSettings(s);

        DbConnection db;
        DbStatement row = db.prepare(QStringLiteral(
            "SELECT intActColorRed,intActColorGreen,intActColorBlue,intRemoveActivity,intDefaultPlanner "
            "FROM tblPlannerSettings WHERE intPlannerSettingsID = 1;"));
        QVERIFY(row.step());
        QCOMPARE(row.columnInt(0), 18);
        QCOMPARE(row.columnInt(1), 52);
        QCOMPARE(row.columnInt(2), 86);
        QCOMPARE(row.columnInt(3), 3);
        QCOMPARE(row.columnInt(4), 2);
        row.finalize();

        const TrecPlannerSettings back = LoadPlannerSettings();
        QCOMPARE(back.intActColor, s.intActColor);
        QCOMPARE(back.intWkndColor, s.intWkndColor);
        QCOMPARE(back.intPriorityColor, s.intPriorityColor);
    }

    void missingRowIsAnError()
    {
        DbConnection db;
        db.execute(QStringLiteral("DELETE FROM tblPlannerSettings;"));
        db.close();
        QVERIFY_THROWS_EXCEPTION(AppError, LoadPlannerSettings());
        QVERIFY_THROWS_EXCEPTION(AppError, SavePlannerSettings(TrecPlannerSettings{}));
    }
};

FENNICK_TEST_MAIN(TestPlannerSettings)
#include "test_plannersettings.moc"
