// The planner's activity store against a real database: one row per calendar
// day under one master id, replacement in one transaction, year flags, the rows
// of one day, deletion, and the activity list built from them.
#include "common/TestFaults.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "planner/unitActivityStore.h"
#include "planner/unitPlannerListModel.h"

namespace {

using YearDays = QList<QPair<int, int>>;

struct StoredRow {
    qint64 id;
    qint64 master;
    int year;
    int day;
    QString start;
    QString end;
    QString title;
    QString priority;
    QString note;
};

std::vector<StoredRow> storedRows()
{
    DbConnection db;
    DbStatement st = db.prepare(QStringLiteral(
        "SELECT intActID,intActMasterID,intActYear,intActDayOfYear,strActStartDateTime,strActEndDateTime,"
        "strActivity,strActPriority,strActNote FROM tblPlanner ORDER BY intActID;"));
    std::vector<StoredRow> rows;
    while (st.step())
        rows.push_back({st.columnInt64(0), st.columnInt64(1), st.columnInt(2), st.columnInt(3), st.columnText(4),
                        st.columnText(5), st.columnText(6), st.columnText(7), st.columnText(8)});
    return rows;
}

QList<QPair<int, int>> yearDays(const std::vector<StoredRow>& rows)
{
    QList<QPair<int, int>> days;
    for (const StoredRow& row : rows) days << qMakePair(row.year, row.day);
    return days;
}

TActivityInput activity(const QDateTime& start, const QDateTime& end, const QString& title = QStringLiteral("Job"))
{
    TActivityInput input;
    input.start = start;
    input.end = end;
    input.title = title;
    return input;
}

QDateTime at(int y, int m, int d, int h = 8, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min)); }

} // namespace

class TestActivityStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetSavingNoticeTickMs(600000); }
    void init()
    {
        CreateTestDatabase(QDate(2026, 3, 29));
        DbConnection db;
        db.execute(QStringLiteral("DELETE FROM tblPlanner;"));
    }
    void cleanup() { RunOutSavingNotice(); }

    void oneDayActivityIsOneRowThatIsItsOwnMaster()
    {
        TActivityInput input = activity(at(2026, 3, 29, 8), at(2026, 3, 29, 17, 30), QStringLiteral("Roof"));
        input.priority = true;
        input.note = QStringLiteral("Bring the ladder");
        const qint64 master = pSavePlannerActivity(input);
        QVERIFY(CurrentSavingNotice());
        QCOMPARE(CurrentSavingNotice()->windowTitle(), QStringLiteral("Saving Activity Information..."));
        const auto rows = storedRows();
        QCOMPARE(int(rows.size()), 1);
        QCOMPARE(rows[0].master, rows[0].id);
        QCOMPARE(master, rows[0].id);
        QCOMPARE(rows[0].year, 2026);
        QCOMPARE(rows[0].day, 88);
        QCOMPARE(rows[0].start, QStringLiteral("3/29/2026 8:00:00 AM"));
        QCOMPARE(rows[0].end, QStringLiteral("3/29/2026 5:30:00 PM"));
        QCOMPARE(rows[0].priority, QStringLiteral("-1"));
        QCOMPARE(rows[0].note, QStringLiteral("Bring the ladder"));
    }

    // One row for every calendar day from the start's date to the end's date.
    void daysAcrossTheRange_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<YearDays>("days");
        using Days = YearDays;
        QTest::newRow("across the year") << at(2026, 12, 30) << at(2027, 1, 2)
                                         << Days{{2026, 364}, {2026, 365}, {2027, 1}, {2027, 2}};
        QTest::newRow("across a leap year") << at(2024, 12, 30) << at(2025, 1, 2)
                                            << Days{{2024, 365}, {2024, 366}, {2025, 1}, {2025, 2}};
        QTest::newRow("end earlier in the day") << at(2026, 3, 1, 10) << at(2026, 3, 3, 8)
                                                << Days{{2026, 60}, {2026, 61}, {2026, 62}};
        QTest::newRow("end at midnight") << at(2026, 3, 1, 10) << at(2026, 3, 2, 0)
                                         << Days{{2026, 60}, {2026, 61}};
        QTest::newRow("leap day") << at(2028, 2, 28) << at(2028, 3, 1)
                                  << Days{{2028, 59}, {2028, 60}, {2028, 61}};
    }
    void daysAcrossTheRange()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QFETCH(YearDays, days);
        pSavePlannerActivity(activity(start, end));
        const auto rows = storedRows();
        QCOMPARE(yearDays(rows), days);
        for (const StoredRow& row : rows) {
            QCOMPARE(row.master, rows.front().id);
            QCOMPARE(row.start, DateTimeToStr(start));
            QCOMPARE(row.end, DateTimeToStr(end));
        }
    }

    void editedActivityWithShorterRangeLeavesNoDroppedDays()
    {
        const qint64 other = pSavePlannerActivity(activity(at(2026, 4, 2), at(2026, 4, 2), QStringLiteral("Other")));
        const qint64 first = pSavePlannerActivity(activity(at(2026, 4, 1), at(2026, 4, 5)));
        QCOMPARE(int(storedRows().size()), 6);

        TActivityInput edited = activity(at(2026, 4, 1), at(2026, 4, 2), QStringLiteral("Job shortened"));
        edited.masterId = first;
        const qint64 replaced = pSavePlannerActivity(edited);
        QVERIFY(replaced > 0);
        const auto rows = storedRows();
        QCOMPARE(int(rows.size()), 3);
        int shortened = 0;
        for (const StoredRow& row : rows) {
            if (row.title == QStringLiteral("Other")) {
                QCOMPARE(row.master, other);
            } else {
                QCOMPARE(row.master, replaced);
                QVERIFY(row.day == 91 || row.day == 92);
                ++shortened;
            }
        }
        QCOMPARE(shortened, 2);
    }

    // Replacing an activity is one transaction: when a new row cannot be
    // written, the old rows are all still there.
    void failedReplacementKeepsTheOldActivity()
    {
        const qint64 master = pSavePlannerActivity(activity(at(2026, 4, 1), at(2026, 4, 3), QStringLiteral("Fence")));
        AddFailingTrigger(QStringLiteral("refuse"), QStringLiteral("INSERT"), QStringLiteral("tblPlanner"),
                          QStringLiteral("NEW.intActDayOfYear = 93 AND NEW.strActivity = 'Fence v2'"),
                          QStringLiteral("disk full"));
        TActivityInput edited = activity(at(2026, 4, 1), at(2026, 4, 4), QStringLiteral("Fence v2"));
        edited.masterId = master;
        QVERIFY_THROWS_EXCEPTION(AppError, pSavePlannerActivity(edited));
        const auto rows = storedRows();
        QCOMPARE(int(rows.size()), 3);
        for (const StoredRow& row : rows) {
            QCOMPARE(row.master, master);
            QCOMPARE(row.title, QStringLiteral("Fence"));
        }
    }

    void quotesAndLineBreaksAreStoredExactly()
    {
        TActivityInput input = activity(at(2026, 5, 1), at(2026, 5, 1), QStringLiteral("Bob's \"big\" job; 100%"));
        input.note = QStringLiteral("Line one\n\"quoted\" 'too'");
        pSavePlannerActivity(input);
        const auto rows = storedRows();
        QCOMPARE(rows[0].title, input.title);
        QCOMPARE(rows[0].note, input.note);
    }

    void yearFlagsAndRowsOfOneDay()
    {
        pSavePlannerActivity(activity(at(2026, 1, 5), at(2026, 1, 5), QStringLiteral("Day five")));
        TActivityInput urgent = activity(at(2026, 2, 24), at(2026, 2, 24, 9), QStringLiteral("Day fifty-five"));
        urgent.priority = true;
        pSavePlannerActivity(urgent);
        pSavePlannerActivity(activity(at(2027, 1, 5), at(2027, 1, 5), QStringLiteral("Next year")));

        const TPlannerYearFlags flags = pSearchPlannerActivity(2026);
        QCOMPARE(flags.year, 2026);
        QVERIFY(flags.hasActivity[5] && !flags.hasPriority[5]);
        QVERIFY(flags.hasActivity[55] && flags.hasPriority[55]);
        QCOMPARE(int(std::count(flags.hasActivity.begin(), flags.hasActivity.end(), true)), 2);
        QVERIFY(flags.activityOn(QDate(2026, 1, 5)));
        QVERIFY(!flags.activityOn(QDate(2027, 1, 5)));   // another year's day 5

        const auto five = ReadActivityDay(2026, 5);
        QCOMPARE(int(five.size()), 1);
        QCOMPARE(five[0].strActivity, QStringLiteral("Day five"));
        const auto fiftyFive = ReadActivityDay(2026, 55);
        QCOMPARE(int(fiftyFive.size()), 1);
        QCOMPARE(fiftyFive[0].strActivity, QStringLiteral("Day fifty-five"));
        QCOMPARE(fiftyFive[0].strActPriority, QStringLiteral("-1"));
        QCOMPARE(fiftyFive[0].intActMasterID, fiftyFive[0].intActID);
    }

    void deleteRemovesEveryDayRow()
    {
        const qint64 master = pSavePlannerActivity(activity(at(2026, 6, 1), at(2026, 6, 3)));
        pSavePlannerActivity(activity(at(2026, 6, 2), at(2026, 6, 2), QStringLiteral("Stays")));
        DeletePlannerActivity(master);
        const auto rows = storedRows();
        QCOMPARE(int(rows.size()), 1);
        QCOMPARE(rows[0].title, QStringLiteral("Stays"));
    }

    // The month list holds one row per day row; a multi-day activity sorts
    // together at its start date; the day list sorts on the time as well.
    void listRowsAndTheirOrder()
    {
        pSavePlannerActivity(activity(at(2026, 6, 10, 15), at(2026, 6, 10, 16), QStringLiteral("Afternoon")));
        pSavePlannerActivity(activity(at(2026, 6, 9, 9), at(2026, 6, 11, 17), QStringLiteral("Three days")));
        pSavePlannerActivity(activity(at(2026, 6, 10, 7), at(2026, 6, 10, 8), QStringLiteral("Early")));
        const TPlannerYearFlags flags = pSearchPlannerActivity(2026);

        const TPlannerListResult month = QueryPlannerList(pltMonth, QDate(2026, 6, 10), flags);
        QStringList titles;
        QStringList dates;
        for (const TPlannerListRow& row : month.rows) {
            titles << row.stored().strActivity;
            dates << DateToStr(row.listedDay);
        }
        QCOMPARE(titles, (QStringList{"Three days", "Three days", "Three days", "Afternoon", "Early"}));
        QCOMPARE(dates, (QStringList{"6/9/2026", "6/10/2026", "6/11/2026", "6/10/2026", "6/10/2026"}));

        TPlannerListResult day = QueryPlannerList(pltDay, QDate(2026, 6, 10), flags);
        titles.clear();
        for (const TPlannerListRow& row : day.rows) titles << row.stored().strActivity;
        // The activity that began the day before sorts first, on its start.
        QCOMPARE(titles, (QStringList{"Three days", "Early", "Afternoon"}));

        TPlannerListModel model;
        model.setList(day.rows, std::move(day.blocks));
        QCOMPARE(model.cellText(1, TPlannerListModel::colActivityStart), QStringLiteral("6/10/2026 7:00 AM"));
        QCOMPARE(model.cellText(0, TPlannerListModel::colActivityEnd), QStringLiteral("6/11/2026 5:00 PM"));
        QCOMPARE(model.cellText(0, TPlannerListModel::colStartDateTime), QStringLiteral("6/9/2026 9:00:00 AM"));
        QCOMPARE(model.headerData(11, Qt::Horizontal).toString(), QStringLiteral("ActID"));
    }

    // Many rows of one start (more than a sort handles by simple insertion)
    // are listed in table order, in the day and the month list alike; an
    // unreadable row among them still comes last.
    void equalStartsKeepTableOrder()
    {
        QStringList inserted;
        {
            DbConnection db;
            DbTransaction transaction(db);
            for (int i = 0; i < 60; ++i) {
                // Titles that sort otherwise than the table does.
                const QString title = QStringLiteral("Job %1").arg((i * 37) % 60);
                const bool unreadable = i == 5;
                db.execute(QStringLiteral("INSERT INTO tblPlanner (intActMasterID,intActYear,intActDayOfYear,"
                                          "strActStartDateTime,strActEndDateTime,strActivity,strActPriority,"
                                          "strActNote) VALUES (?,2026,161,?,'6/10/2026 9:00:00 AM',?,'0','');"),
                           {qint64(1000 + i), unreadable ? QStringLiteral("soon") : QStringLiteral("6/10/2026 8:00:00 AM"),
                            title});
                if (!unreadable) inserted << title;
            }
            transaction.commit();
        }
        inserted << QStringLiteral("Job 5");
        for (const int listType : {int(pltDay), int(pltMonth)}) {
            const TPlannerListResult list = QueryPlannerList(listType, QDate(2026, 6, 10), pSearchPlannerActivity(2026));
            QStringList titles;
            for (const TPlannerListRow& row : list.rows) titles << row.stored().strActivity;
            QCOMPARE(titles, inserted);
        }
    }

    // A stored text that cannot be read names its activity; the rest of the list stands.
    void unreadableRowDoesNotStopTheList()
    {
        pSavePlannerActivity(activity(at(2026, 6, 10, 15), at(2026, 6, 10, 16), QStringLiteral("Good")));
        {
            DbConnection db;
            db.execute(QStringLiteral("INSERT INTO tblPlanner (intActMasterID,intActYear,intActDayOfYear,"
                                      "strActStartDateTime,strActEndDateTime,strActivity,strActPriority,strActNote) "
                                      "VALUES (99,2026,161,'10.06.2026 08:00','10.06.2026 09:00','Bad one','0','');"));
        }
        const TPlannerListResult list = QueryPlannerList(pltDay, QDate(2026, 6, 10), pSearchPlannerActivity(2026));
        QCOMPARE(int(list.rows.size()), 2);
        QCOMPARE(list.rows[0].stored().strActivity, QStringLiteral("Good"));
        QCOMPARE(list.rows[1].stored().strActivity, QStringLiteral("Bad one"));
        QCOMPARE(list.unreadable.size(), 1);
        QVERIFY(list.unreadable[0].contains(QStringLiteral("\"Bad one\"")));
        QVERIFY(list.unreadable[0].contains(QStringLiteral("10.06.2026 08:00")));
    }

    // The list keeps its rows in a compact form of its own: every value comes
    // back exactly as stored, non-ASCII and unusually spaced texts included,
    // whether the row reads (then sorted by its start) or not (then last).
    void listShowsTextsExactlyAsStored()
    {
        const QString spacedEnd = QStringLiteral("6/10/2026") + QString(40, QLatin1Char(' ')) + QStringLiteral("10:00:00 AM");
        const QList<QVariantList> inserted{
            {qint64(70), QStringLiteral("\u00a06/10/2026 9:00:00 AM"), spacedEnd, QStringLiteral("Grüße an Zoë"),
             QStringLiteral("-1"), QStringLiteral("Café ☕ – zweite Zeile\nmit Umbruch")},
            {qint64(71), QStringLiteral("10.06.2026 08:00 Ühr"), QStringLiteral("10.06.2026 09:00 Ühr"),
             QStringLiteral("Überstunden"), QStringLiteral("0"), QString()},
            {qint64(72), QStringLiteral("6/10/2026 8:00:00 AM"), QStringLiteral("6/10/2026 8:30:00 AM"),
             QStringLiteral("Early"), QStringLiteral("0"), QStringLiteral("plain")}};
        {
            DbConnection db;
            for (const QVariantList& values : inserted)
                db.execute(QStringLiteral("INSERT INTO tblPlanner (intActMasterID,intActYear,intActDayOfYear,"
                                          "strActStartDateTime,strActEndDateTime,strActivity,strActPriority,"
                                          "strActNote) VALUES (?,2026,161,?,?,?,?,?);"),
                           values);
        }
        TPlannerListResult list = QueryPlannerList(pltDay, QDate(2026, 6, 10), pSearchPlannerActivity(2026));
        QCOMPARE(int(list.rows.size()), 3);
        QCOMPARE(list.rows[0].stored().strActivity, QStringLiteral("Early"));
        QCOMPARE(list.rows[1].stored().strActivity, QStringLiteral("Grüße an Zoë"));
        QCOMPARE(list.rows[2].stored().strActivity, QStringLiteral("Überstunden"));
        QVERIFY(list.rows[1].readable);
        QCOMPARE(list.rows[1].start(), at(2026, 6, 10, 9));
        QCOMPARE(list.rows[1].end(), at(2026, 6, 10, 10));
        QVERIFY(!list.rows[2].readable);
        QCOMPARE(list.unreadable.size(), 1);
        QVERIFY(list.unreadable[0].contains(QStringLiteral("\"Überstunden\"")));
        QVERIFY(list.unreadable[0].contains(QStringLiteral("''10.06.2026 08:00 Ühr''")));

        const std::vector<StoredRow> stored = storedRows();
        TPlannerListModel model;
        model.setList(list.rows, std::move(list.blocks));
        for (int row = 0; row < 3; ++row) {
            const TActivityRow decoded = list.rows[std::size_t(row)].stored();
            const auto match = std::find_if(stored.begin(), stored.end(),
                                            [&](const StoredRow& s) { return s.id == decoded.intActID; });
            QVERIFY(match != stored.end());
            const StoredRow& expected = *match;
            QCOMPARE(decoded.strActStartDateTime, expected.start);
            QCOMPARE(decoded.strActEndDateTime, expected.end);
            QCOMPARE(decoded.strActivity, expected.title);
            QCOMPARE(decoded.strActNote, expected.note);
            QCOMPARE(decoded.strActPriority, expected.priority);
            QCOMPARE(decoded.intActMasterID, expected.master);
            QCOMPARE(decoded.intActYear, expected.year);
            QCOMPARE(decoded.intActDayOfYear, expected.day);
            const QStringList cells{model.cellText(row, TPlannerListModel::colStartDateTime),
                                    model.cellText(row, TPlannerListModel::colEndDateTime),
                                    model.cellText(row, TPlannerListModel::colActivity),
                                    model.cellText(row, TPlannerListModel::colActNotes),
                                    model.cellText(row, TPlannerListModel::colPriority),
                                    model.cellText(row, TPlannerListModel::colActMasterID),
                                    model.cellText(row, TPlannerListModel::colActYear),
                                    model.cellText(row, TPlannerListModel::colActDayOfYear),
                                    model.cellText(row, TPlannerListModel::colActID)};
            QCOMPARE(cells, (QStringList{expected.start, expected.end, expected.title, expected.note,
                                         expected.priority, QString::number(expected.master),
                                         QString::number(expected.year), QString::number(expected.day),
                                         QString::number(expected.id)}));
        }
        QCOMPARE(model.cellText(1, TPlannerListModel::colActivityStart), QStringLiteral("6/10/2026 9:00 AM"));
        QCOMPARE(model.cellText(1, TPlannerListModel::colActivityEnd), QStringLiteral("6/10/2026 10:00 AM"));
        // An unreadable row shows its stored texts where the dates would be.
        QCOMPARE(model.cellText(2, TPlannerListModel::colActivityStart), QStringLiteral("10.06.2026 08:00 Ühr"));
        QCOMPARE(model.cellText(2, TPlannerListModel::colActivityEnd), QStringLiteral("10.06.2026 09:00 Ühr"));
    }
};

FENNICK_TEST_MAIN(TestActivityStore)
#include "test_activitystore.moc"
