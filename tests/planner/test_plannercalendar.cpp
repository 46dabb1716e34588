// The planner's calendar and list rules without a window: the month grid, the
// colour layers of a cell, titles, month steps, list ranges and column widths.
#include "common/TestSupport.h"

#include "planner/unitPlannerCalendar.h"

namespace {

// The day numbers of the grid, one string per week row ("." for a blank cell).
QStringList weekRows(const TCalendarMonth& month)
{
    QStringList rows;
    for (const auto& week : month.weeks) {
        QStringList cells;
        for (const TCalendarCell& cell : week) cells << (cell.day ? QString::number(cell.day) : QStringLiteral("."));
        rows << cells.join(' ');
    }
    return rows;
}

} // namespace

class TestPlannerCalendar : public QObject {
    Q_OBJECT

private slots:
    void monthGrid_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("weeks");
        QTest::addColumn<QString>("firstWeek");
        QTest::addColumn<QString>("lastWeek");
        // January 2022 begins on a Saturday and has 31 days.
        QTest::newRow("31 days from Saturday") << 2022 << 1 << 6 << ". . . . . . 1" << "30 31 . . . . .";
        // February 2026 begins on a Sunday and has 28 days.
        QTest::newRow("28 days from Sunday") << 2026 << 2 << 4 << "1 2 3 4 5 6 7" << "22 23 24 25 26 27 28";
        QTest::newRow("leap February") << 2028 << 2 << 5 << ". . 1 2 3 4 5" << "27 28 29 . . . .";
        QTest::newRow("ends on Saturday") << 2026 << 10 << 5 << ". . . . 1 2 3" << "25 26 27 28 29 30 31";
    }
    void monthGrid()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, weeks);
        QFETCH(QString, firstWeek);
        QFETCH(QString, lastWeek);
        const TCalendarMonth grid = BuildCalendarMonth(year, month, TPlannerYearFlags{});
        QCOMPARE(int(grid.weeks.size()), weeks);
        QCOMPARE(grid.rowCount(), weeks + 1);
        QCOMPARE(weekRows(grid).first(), firstWeek);
        QCOMPARE(weekRows(grid).last(), lastWeek);
        QCOMPARE(grid.headings[0], QStringLiteral("Sun"));
        QCOMPARE(grid.headings[6], QStringLiteral("Sat"));
    }

    // The marks come from the year flags of the cell's own day of year.
    void marksFollowTheYearFlags()
    {
        TPlannerYearFlags flags;
        flags.year = 2026;
        flags.hasActivity[QDate(2026, 2, 3).dayOfYear()] = true;
        flags.hasActivity[QDate(2026, 2, 10).dayOfYear()] = true;
        flags.hasPriority[QDate(2026, 2, 10).dayOfYear()] = true;
        const TCalendarMonth grid = BuildCalendarMonth(2026, 2, flags);
        QVERIFY(grid.weeks[0][2].activity && !grid.weeks[0][2].priority);   // Tuesday the 3rd
        QVERIFY(grid.weeks[1][2].activity && grid.weeks[1][2].priority);    // Tuesday the 10th
        QVERIFY(!grid.weeks[0][3].activity);
        // Flags of another year colour nothing.
        const TCalendarMonth otherYear = BuildCalendarMonth(2027, 2, flags);
        for (const auto& week : otherYear.weeks)
            for (const TCalendarCell& cell : week) QVERIFY(!cell.activity);
    }

    void cellLayersInPaintingOrder()
    {
        using L = TCalendarLayer;
        const TCalendarCell plain{12, false, false};
        const TCalendarCell both{12, true, true};
        QCOMPARE(CalendarCellLayers(2, 3, plain), (std::vector<L>{L::Grid}));
        QCOMPARE(CalendarCellLayers(2, 0, plain), (std::vector<L>{L::Grid, L::Weekend}));
        QCOMPARE(CalendarCellLayers(2, 6, both), (std::vector<L>{L::Grid, L::Weekend, L::Activity, L::Priority}));
        QCOMPARE(CalendarCellLayers(0, 6, plain), (std::vector<L>{L::Grid, L::Weekend, L::Heading}));
        QCOMPARE(CalendarCellLayers(3, 2, TCalendarCell{4, true, false}), (std::vector<L>{L::Grid, L::Activity}));
    }

    // Day headings and the day title follow the regional settings: the
    // locale's short day names from Sunday, its long date form.
    void headingsAndTitleFollowTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<QString>("title");
        QTest::newRow("en_US") << "en_US" << QStringList{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}
                               << "Sunday, March 29, 2026";
        QTest::newRow("C shows US") << "C" << QStringList{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}
                                    << "Sunday, March 29, 2026";
        QTest::newRow("de_DE") << "de_DE" << QStringList{"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}
                               << "Sonntag, 29. März 2026";
        QTest::newRow("en_GB") << "en_GB" << QStringList{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}
                               << "Sunday, 29 March 2026";
    }
    void headingsAndTitleFollowTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, headings);
        QFETCH(QString, title);
        ScopedLocale pinned(locale == QLatin1String("C") ? QLocale::c() : QLocale(locale));
        const TCalendarMonth grid = BuildCalendarMonth(2026, 3, TPlannerYearFlags{});
        QCOMPARE(QStringList(grid.headings.begin(), grid.headings.end()), headings);
        QCOMPARE(PlannerDayTitle(QDate(2026, 3, 29)), title);
    }

    void metricsTitlesAndSteps()
    {
        QCOMPARE(CalendarColumnWidth(360), 50);
        QCOMPARE(CalendarRowHeight(310, 7), 42);
        QCOMPARE(PlannerDayTitle(QDate(2010, 3, 29)), QStringLiteral("Monday, March 29, 2010"));
        QCOMPARE(PlannerTodayText(QDate(2010, 3, 29)), QStringLiteral("Today: 3/29/2010"));
        QCOMPARE(PlannerStepMonth(QDate(2026, 1, 31), 1), QDate(2026, 2, 28));
        QCOMPARE(PlannerStepMonth(QDate(2024, 3, 31), -1), QDate(2024, 2, 29));
        QCOMPARE(PlannerStepMonth(QDate(2026, 12, 15), 1), QDate(2027, 1, 15));
        QCOMPARE(PlannerStepMonth(QDate(2026, 1, 15), -1), QDate(2025, 12, 15));
    }

    void listRanges_data()
    {
        QTest::addColumn<int>("listType");
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        // April 2026 begins on a Wednesday; its first week starts in March.
        QTest::newRow("day") << int(pltDay) << QDate(2026, 4, 2) << QDate(2026, 4, 2) << QDate(2026, 4, 2);
        QTest::newRow("week cut at the 1st") << int(pltWeek) << QDate(2026, 4, 2) << QDate(2026, 4, 1)
                                             << QDate(2026, 4, 4);
        QTest::newRow("whole week") << int(pltWeek) << QDate(2026, 4, 8) << QDate(2026, 4, 5) << QDate(2026, 4, 11);
        QTest::newRow("Sunday starts the week") << int(pltWeek) << QDate(2026, 4, 12) << QDate(2026, 4, 12)
                                                << QDate(2026, 4, 18);
        QTest::newRow("week cut at the end") << int(pltWeek) << QDate(2026, 4, 30) << QDate(2026, 4, 26)
                                             << QDate(2026, 4, 30);
        QTest::newRow("month") << int(pltMonth) << QDate(2026, 2, 10) << QDate(2026, 2, 1) << QDate(2026, 2, 28);
    }
    void listRanges()
    {
        QFETCH(int, listType);
        QFETCH(QDate, selected);
        QFETCH(QDate, first);
        QFETCH(QDate, last);
        const TDateRange range = PlannerListRange(listType, selected);
        QCOMPARE(range.first, first);
        QCOMPARE(range.last, last);
    }

    void columnWidths()
    {
        using W = std::array<int, 12>;
        QCOMPARE(PlannerColumnWidths(pltDay, 600), (W{0, 0, 0, 144, 144, 300, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(PlannerColumnWidths(pltWeek, 600), (W{0, 0, 90, 126, 126, 252, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(PlannerColumnWidths(pltMonth, 500), (W{0, 0, 75, 105, 105, 210, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(PlannerColumnWidths(pltMonth, 499), (W{0, 0, 75, 95, 95, 225, 0, 0, 0, 0, 0, 0}));
    }
};

FENNICK_TEST_MAIN(TestPlannerCalendar)
#include "test_plannercalendar.moc"
