// Planner dates on the days clocks change, in a zone with daylight saving
// (America/New_York, set for this program): starts and ends stay the wall-clock
// date and time that were entered or stored, in the edit area, the store, the
// list and the first-run sample rows, so no date ever jumps.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/unitDateHelpers.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "planner/unitActivityStore.h"
#include "planner/unitPlannerListModel.h"
#include "planner/unitfrmPlanner.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QTimeEdit>
#include <QToolButton>

#include <ctime>

namespace {

const QDate kSpringForward(2024, 3, 10);   // 2:00 to 2:59 AM does not exist
const QDate kFallBack(2024, 11, 3);        // 1:00 to 1:59 AM happens twice

template <typename T>
T* Child(QWidget* parent, const char* name)
{
    T* child = parent->findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

void ClickTool(QWidget* s, const char* name)
{
    QToolButton* button = Child<QToolButton>(s, name);
    QCoreApplication::processEvents();
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// The stored start, end and day of every row, in table order.
QStringList StoredRows()
{
    DbConnection db;
    DbStatement rows = db.prepare(QStringLiteral(
        "SELECT strActStartDateTime,strActEndDateTime,intActYear,intActDayOfYear FROM tblPlanner ORDER BY intActID;"));
    QStringList result;
    while (rows.step())
        result << QStringLiteral("%1 | %2 | %3/%4")
                      .arg(rows.columnText(0), rows.columnText(1))
                      .arg(rows.columnInt(2))
                      .arg(rows.columnInt(3));
    return result;
}

void EmptyPlanner()
{
    DbConnection db;
    db.execute(QStringLiteral("DELETE FROM tblPlanner;"));
}

} // namespace

class TestPlannerDst : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // CTest sets the zone for this program; a direct run gets it here.
        qputenv("TZ", "America/New_York");
        tzset();
        // The zone is in effect: local midnight plus eight hours is 9:00 on the
        // day clocks go forward.
        QCOMPARE(QDateTime(kSpringForward, QTime(0, 0)).addSecs(8 * 3600).time(), QTime(9, 0));
        SetSavingNoticeTickMs(600000);
    }
    void cleanup() { RunOutSavingNotice(); }

    // The sample activities are at 8:00 as described, whichever day is today or
    // five days on.
    void sampleRowsAtEightOnClockChangeDays_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::newRow("spring forward today") << kSpringForward;
        QTest::newRow("fall back today") << kFallBack;
        QTest::newRow("spring forward in five days") << kSpringForward.addDays(-5);
        QTest::newRow("fall back in five days") << kFallBack.addDays(-5);
    }
    void sampleRowsAtEightOnClockChangeDays()
    {
        QFETCH(QDate, today);
        CreateTestDatabase(today);
        const QStringList rows = StoredRows();
        QCOMPARE(rows.size(), 5);
        const QString t = DateToStr(today);
        const QString t5 = DateToStr(today.addDays(5));
        QCOMPARE(rows[0].section(QStringLiteral(" | "), 0, 1),
                 QStringLiteral("%1 8:00:00 AM | %1 8:30:00 AM").arg(t));
        QCOMPARE(rows[1].section(QStringLiteral(" | "), 0, 1),
                 QStringLiteral("%1 8:00:00 AM | %1 8:00:00 AM").arg(t5));
        QCOMPARE(rows[2].section(QStringLiteral(" | "), 0, 1),
                 QStringLiteral("%1 | %2").arg(DateToStr(today.addDays(-10)), DateToStr(today.addDays(-8))));
    }

    // The store and the list keep a skipped or repeated hour as written.
    void storeAndListKeepTheWallClock()
    {
        CreateTestDatabase(kSpringForward);
        EmptyPlanner();
        pSavePlannerActivity({std::nullopt, WallClock(kSpringForward, QTime(2, 30)),
                              WallClock(kSpringForward, QTime(2, 45)), QStringLiteral("Skipped hour"), false, {}});
        pSavePlannerActivity({std::nullopt, WallClock(kFallBack.addDays(-1), QTime(22, 0)),
                              WallClock(kFallBack, QTime(1, 30)), QStringLiteral("Repeated hour"), false, {}});
        QCOMPARE(StoredRows(), (QStringList{"3/10/2024 2:30:00 AM | 3/10/2024 2:45:00 AM | 2024/70",
                                            "11/2/2024 10:00:00 PM | 11/3/2024 1:30:00 AM | 2024/307",
                                            "11/2/2024 10:00:00 PM | 11/3/2024 1:30:00 AM | 2024/308"}));

        const QDateTime read = StrToDateTime(QStringLiteral("3/10/2024 2:30:00 AM"));
        QVERIFY(read.isValid());
        QCOMPARE(read.date(), kSpringForward);
        QCOMPARE(read.time(), QTime(2, 30));
        const TPlannerListResult list = QueryPlannerList(pltDay, kSpringForward, pSearchPlannerActivity(2024));
        QCOMPARE(int(list.rows.size()), 1);
        QVERIFY(list.rows[0].start().isValid());
        QCOMPARE(list.rows[0].start().time(), QTime(2, 30));
    }

    // A new activity in the skipped (or repeated) hour is saved on its day at
    // its time; no date jumps to the picker's minimum.
    void newActivityInTheChangedHour_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QTime>("end");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("skipped hour") << kSpringForward << QTime(2, 30) << QTime(2, 45)
                                      << QStringList{"3/10/2024 2:30:00 AM | 3/10/2024 2:45:00 AM | 2024/70"};
        QTest::newRow("repeated hour") << kFallBack << QTime(1, 30) << QTime(1, 45)
                                       << QStringList{"11/3/2024 1:30:00 AM | 11/3/2024 1:45:00 AM | 2024/308"};
    }
    void newActivityInTheChangedHour()
    {
        QFETCH(QDate, day);
        QFETCH(QTime, start);
        QFETCH(QTime, end);
        QFETCH(QStringList, stored);
        CreateTestDatabase(day);
        EmptyPlanner();
        ScriptedMessages messages;
        TfrmPlanner screen(day);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        ClickTool(&screen, "tlbtnNewActivity");
        QTest::keyClicks(Child<QLineEdit>(&screen, "txtPlannerActivity"), "Early call");
        Child<QTimeEdit>(&screen, "dtPickerPlannerStartTime")->setTime(start);
        Child<QTimeEdit>(&screen, "dtPickerPlannerEndTime")->setTime(end);
        QCOMPARE(Child<QDateTimeEdit>(&screen, "dtPickerPlannerStartDateTime")->date(), day);
        QCOMPARE(Child<QDateTimeEdit>(&screen, "dtPickerPlannerEndDateTime")->date(), day);
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(StoredRows(), stored);
        QVERIFY(messages.shown().isEmpty());
    }

    // A stored time that does not exist locally opens as written, and saving
    // the activity again keeps its day and time (it does not move to today).
    void storedSkippedTimeOpensAndSavesAsWritten()
    {
        CreateTestDatabase(kSpringForward);
        EmptyPlanner();
        pSavePlannerActivity({std::nullopt, WallClock(kSpringForward, QTime(2, 30)),
                              WallClock(kSpringForward.addDays(1), QTime(2, 30)), QStringLiteral("Night shift"), false,
                              {}});
        ScriptedMessages messages;
        TfrmPlanner screen(kSpringForward.addDays(2));
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QTableWidget* grid = Child<QTableWidget>(&screen, "sgCalenderDay");
        // March 2024 begins on a Friday: the 10th is the Sunday of the third row.
        QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("10"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(3, 0)).center());
        QTableView* list = Child<QTableView>(&screen, "lvActivityEdit");
        QCOMPARE(list->model()->rowCount(), 1);
        const QModelIndex row = list->model()->index(0, 5);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());

        QCOMPARE(Child<QDateTimeEdit>(&screen, "dtPickerPlannerStartDateTime")->date(), kSpringForward);
        QCOMPARE(Child<QTimeEdit>(&screen, "dtPickerPlannerStartTime")->time(), QTime(2, 30));
        QCOMPARE(Child<QDateTimeEdit>(&screen, "dtPickerPlannerEndDateTime")->date(), kSpringForward.addDays(1));
        QTest::keyClicks(Child<QLineEdit>(&screen, "txtPlannerActivity"), "!");
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(StoredRows(), (QStringList{"3/10/2024 2:30:00 AM | 3/11/2024 2:30:00 AM | 2024/70",
                                            "3/10/2024 2:30:00 AM | 3/11/2024 2:30:00 AM | 2024/71"}));
        QVERIFY(messages.shown().isEmpty());
    }
};

FENNICK_TEST_MAIN(TestPlannerDst)
#include "test_plannerdst.moc"
