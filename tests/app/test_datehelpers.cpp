// Calendar arithmetic on wall-clock date-times.
#include "common/TestSupport.h"

#include "app/unitDateHelpers.h"

#include <ctime>

class TestDateHelpers : public QObject {
    Q_OBJECT

    static QDateTime at(int y, int m, int d, int h = 0, int min = 0) { return EncodeDateTime(y, m, d, h, min, 0, 0); }

private slots:
    void initTestCase()
    {
        // A zone with daylight saving, so a 23-hour day would show.
        qputenv("TZ", "America/New_York");
        tzset();
        QCOMPARE(QDateTime(QDate(2026, 3, 7), QTime(8, 0)).secsTo(QDateTime(QDate(2026, 3, 9), QTime(8, 0))),
                 47 * 3600);
    }

    void dayOfTheYear_data()
    {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<int>("day");
        QTest::newRow("Jan 1") << at(2026, 1, 1, 23, 59) << 1;
        QTest::newRow("Dec 31") << at(2026, 12, 31) << 365;
        QTest::newRow("Dec 31 leap") << at(2024, 12, 31) << 366;
        QTest::newRow("Mar 1 leap") << at(2024, 3, 1) << 61;
    }
    void dayOfTheYear()
    {
        QFETCH(QDateTime, value);
        QFETCH(int, day);
        QCOMPARE(DayOfTheYear(value), day);
    }

    void daysBetween_data()
    {
        QTest::addColumn<QDateTime>("a");
        QTest::addColumn<QDateTime>("b");
        QTest::addColumn<int>("days");
        QTest::newRow("same day") << at(2026, 3, 1, 8) << at(2026, 3, 1, 17) << 0;
        QTest::newRow("two full days") << at(2026, 3, 1, 8) << at(2026, 3, 3, 8) << 2;
        QTest::newRow("fraction dropped") << at(2026, 3, 1, 10) << at(2026, 3, 3, 8) << 1;
        QTest::newRow("absolute") << at(2026, 3, 3, 8) << at(2026, 3, 1, 8) << 2;
        QTest::newRow("across a year") << at(2025, 12, 30, 8) << at(2026, 1, 2, 8) << 3;
        // A daylight-saving change in the local zone never shortens a day.
        QTest::newRow("across DST") << at(2026, 3, 7, 8) << at(2026, 3, 9, 8) << 2;
    }
    void daysBetween()
    {
        QFETCH(QDateTime, a);
        QFETCH(QDateTime, b);
        QFETCH(int, days);
        QCOMPARE(DaysBetween(a, b), days);
    }

    void incDayKeepsTimeOfDay()
    {
        QCOMPARE(IncDay(at(2026, 12, 29, 8, 30), 5), at(2027, 1, 3, 8, 30));
        QCOMPARE(IncDay(at(2027, 1, 3), -10), at(2026, 12, 24));
        QCOMPARE(DayOfTheMonth(at(2026, 2, 28, 23, 59)), 28);
        QVERIFY(!EncodeDateTime(2026, 2, 30, 0, 0, 0, 0).isValid());
    }

    // The hour skipped locally when clocks go forward is a time like any other
    // on the wall clock, and the day still has 24 hours.
    void skippedHourIsAWallClockTime()
    {
        const QDateTime skipped = EncodeDateTime(2026, 3, 8, 2, 30, 0, 0);
        QVERIFY(skipped.isValid());
        QCOMPARE(skipped.time(), QTime(2, 30));
        QCOMPARE(IncDay(at(2026, 3, 7, 2, 30), 1), skipped);
        QVERIFY(IncDay(at(2026, 3, 7, 2, 30), 1).isValid());
        QCOMPARE(WallClock(QDate(2026, 3, 8)).addSecs(8 * 3600).time(), QTime(8, 0));
    }
};

FENNICK_TEST_MAIN(TestDateHelpers)
#include "test_datehelpers.moc"
