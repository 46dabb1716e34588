// Removal of old planner activities at close: keep periods from the planner
// settings, the cut-off at today's midnight minus the period, the notice and
// the compaction of the file.
#include "common/TestServer.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "planner/unitOldActivities.h"

namespace {

const QDate kToday(2026, 3, 29);

// One activity of one row per end text; the title names the row so the test can
// tell which stayed.
void fillPlanner(int removeSetting, const QStringList& ends)
{
    DbConnection db;
    db.execute(QStringLiteral("DELETE FROM tblPlanner;"));
    db.execute(QStringLiteral("UPDATE tblPlannerSettings SET intRemoveActivity = ? WHERE intPlannerSettingsID = 1;"),
               {removeSetting});
    int master = 0;
    for (const QString& end : ends) {
        db.execute(QStringLiteral("INSERT INTO tblPlanner (intActMasterID,intActYear,intActDayOfYear,"
                                  "strActStartDateTime,strActEndDateTime,strActivity,strActPriority,strActNote) "
                                  "VALUES (?,2026,1,?,?,?,'0','');"),
                   {++master, end, end, end});
    }
}

QStringList remaining()
{
    DbConnection db;
    DbStatement st = db.prepare(QStringLiteral("SELECT strActivity FROM tblPlanner ORDER BY intActID;"));
    QStringList titles;
    while (st.step()) titles << st.columnText(0);
    return titles;
}

} // namespace

class TestOldActivities : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetSavingNoticeTickMs(600000); }
    void init() { CreateTestDatabase(kToday); }
    void cleanup() { RunOutSavingNotice(); }

    void keepPeriods_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QStringList>("ends");
        QTest::addColumn<QStringList>("kept");
        const QStringList around1Day{"3/27/2026 5:00:00 PM", "3/28/2026", "3/28/2026 8:00:00 AM", "3/29/2026 8:00:00 AM"};
        QTest::newRow("never") << 0 << QStringList{"1/1/2000", "3/27/2026 5:00:00 PM"}
                               << QStringList{"1/1/2000", "3/27/2026 5:00:00 PM"};
        // Closing on March 29 with "1 Day": the cut-off is March 28 at 00:00.
        QTest::newRow("1 day") << 1 << around1Day
                               << QStringList{"3/28/2026 8:00:00 AM", "3/29/2026 8:00:00 AM"};
        // 30 days: the cut-off is February 27 at 00:00.
        QTest::newRow("30 days") << 2 << QStringList{"2/26/2026 11:59:00 PM", "2/27/2026", "2/27/2026 12:01:00 AM"}
                                 << QStringList{"2/27/2026 12:01:00 AM"};
        // "1 Year" keeps 360 days, not 365: the cut-off is April 3 of the year before.
        QTest::newRow("1 year") << 3 << QStringList{"4/2/2025 11:00:00 PM", "4/3/2025", "4/3/2025 8:00:00 AM"}
                                << QStringList{"4/3/2025 8:00:00 AM"};
        QTest::newRow("other value as 1 year") << 9 << QStringList{"4/3/2025", "4/4/2025"}
                                               << QStringList{"4/4/2025"};
    }
    void keepPeriods()
    {
        QFETCH(int, setting);
        QFETCH(QStringList, ends);
        QFETCH(QStringList, kept);
        fillPlanner(setting, ends);
        pRemoveOldActivities(kToday);
        QCOMPARE(remaining(), kept);
    }

    void noticeOnlyWhenRemovalIsOn()
    {
        fillPlanner(0, {"1/1/2000"});
        pRemoveOldActivities(kToday);
        QVERIFY(!CurrentSavingNotice());

        fillPlanner(1, {"1/1/2000"});
        pRemoveOldActivities(kToday);
        QVERIFY(CurrentSavingNotice());
        QCOMPARE(CurrentSavingNotice()->windowTitle(), QStringLiteral("Cleaning Database..."));
    }

    void sampleActivityGoesAsAWhole()
    {
        // The three-day sample activity ended 8 days ago: all its rows go with
        // "1 Day", the other two sample activities stay.
        DbConnection db;
        db.execute(QStringLiteral("UPDATE tblPlannerSettings SET intRemoveActivity = 1;"));
        db.close();
        pRemoveOldActivities(kToday);
        QCOMPARE(remaining(), (QStringList{"Estimate for the jones", "Start job at 123 Alley Street"}));
    }

    void fileIsCompacted()
    {
        SKIP_ON_SERVER("the compaction of the file (a server compacts by itself)");
        const QString note(2000, QChar('n'));
        {
            DbConnection db;
            db.execute(QStringLiteral("UPDATE tblPlannerSettings SET intRemoveActivity = 1;"));
            DbTransaction transaction(db);
            for (int i = 0; i < 200; ++i)
                db.execute(QStringLiteral("INSERT INTO tblPlanner (strActEndDateTime, strActNote) VALUES (?, ?);"),
                           {QStringLiteral("1/1/2020"), note});
            transaction.commit();
        }
        pRemoveOldActivities(kToday);
        DbConnection db;
        DbStatement free = db.prepare(QStringLiteral("PRAGMA freelist_count;"));
        QVERIFY(free.step());
        QCOMPARE(free.columnInt(0), 0);
        QCOMPARE(db.countRows(QStringLiteral("SELECT * FROM tblPlanner")), 2);
    }

    // An end that cannot be read keeps its activity and stops nothing: the
    // other old activities go, and the message names each kept activity and why.
    void unreadableEndIsKeptAndNamed()
    {
        fillPlanner(1, {"1/1/2020", "garbage", "1/2/2020", "soon", "5/1/2026"});
        try {
            pRemoveOldActivities(kToday);
            QFAIL("no message");
        } catch (const AppError& error) {
            QCOMPARE(error.message(),
                     QStringLiteral("The clean-up of old planner activities kept these activities:\n"
                                    "The start or end of the activity \"garbage\" cannot be read (''garbage'' is "
                                    "not a valid date and time); open it and save it again with new dates, or delete it\n"
                                    "The start or end of the activity \"soon\" cannot be read (''soon'' is not a "
                                    "valid date and time); open it and save it again with new dates, or delete it"));
        }
        QCOMPARE(remaining(), (QStringList{"garbage", "soon", "5/1/2026"}));
        DbConnection db;
        db.execute(QStringLiteral("DELETE FROM tblPlanner WHERE strActivity = 'garbage';"));  // no lock left behind
    }
};

FENNICK_TEST_MAIN(TestOldActivities)
#include "test_oldactivities.moc"
