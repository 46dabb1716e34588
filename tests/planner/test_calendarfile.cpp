// The iCalendar export of planner activities, read back by a standard reader
// (Debian's python3-icalendar): one event per activity, with its title, start,
// end, note and priority.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "planner/unitActivityCalendarFile.h"
#include "planner/unitActivityStore.h"
#include "planner/unitCalendarExportId.h"
#include "planner/unitPlannerListModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSet>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

namespace {

// Every VEVENT of the file as the reader sees it.
QJsonArray ReadEvents(const QString& path)
{
    static const char* const script = R"py(
import json, sys, icalendar
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
events = []
for ev in cal.walk('VEVENT'):
    end = ev.get('DTEND')
    events.append({
        'uid': str(ev.get('UID')),
        'summary': str(ev.get('SUMMARY')),
        'start': ev.decoded('DTSTART').isoformat(),
        'end': end.dt.isoformat() if end is not None else '',
        'description': str(ev.get('DESCRIPTION', '')),
        'priority': int(ev.get('PRIORITY', 0)),
    })
print(json.dumps({'version': str(cal.get('VERSION')), 'prodid': str(cal.get('PRODID')), 'events': events}))
)py";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromLatin1(script), path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning() << python.readAllStandardError();
        return {};
    }
    const QJsonObject root = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    if (root.value(QStringLiteral("version")).toString() != QStringLiteral("2.0")) return {};
    return root.value(QStringLiteral("events")).toArray();
}

QDateTime at(int y, int m, int d, int h, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min)); }

} // namespace

class TestCalendarFile : public QObject {
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

    void listedActivitiesBecomeOneEventEach()
    {
        TActivityInput roof{std::nullopt, at(2026, 6, 9, 9), at(2026, 6, 11, 17, 30),
                            QStringLiteral("Roof, \"north\" side"), true,
                            QStringLiteral("Bring the long ladder;\nCall Ann first")};
        TActivityInput lawn{std::nullopt, at(2026, 6, 10, 14), at(2026, 6, 10, 15), QStringLiteral("Lawn"), false,
                            QString()};
        // Same day, end earlier than start: accepted by the planner, written without an end.
        TActivityInput odd{std::nullopt, at(2026, 6, 10, 16), at(2026, 6, 10, 7), QStringLiteral("Odd hours"), false,
                           QStringLiteral("Crème brûlée")};
        for (const TActivityInput& input : {roof, lawn, odd}) pSavePlannerActivity(input);

        // The month list holds five rows: three for the roof, one each for the others.
        const TPlannerListResult list = QueryPlannerList(pltMonth, QDate(2026, 6, 1), pSearchPlannerActivity(2026));
        std::vector<TActivityRow> rows;
        for (const TPlannerListRow& row : list.rows) rows.push_back(row.stored());
        QCOMPARE(int(rows.size()), 5);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("planner.ics"));
        QCOMPARE(WriteActivitiesCalendarFile(path, rows), 3);
        const QJsonArray events = ReadEvents(path);
        QCOMPARE(events.size(), 3);

        QMap<QString, QJsonObject> bySummary;
        QSet<QString> uids;
        for (const QJsonValue& value : events) {
            bySummary.insert(value[QStringLiteral("summary")].toString(), value.toObject());
            uids.insert(value[QStringLiteral("uid")].toString());
        }
        QCOMPARE(uids.size(), 3);
        const QJsonObject r = bySummary.value(roof.title);
        QCOMPARE(r[QStringLiteral("start")].toString(), QStringLiteral("2026-06-09T09:00:00"));
        QCOMPARE(r[QStringLiteral("end")].toString(), QStringLiteral("2026-06-11T17:30:00"));
        QCOMPARE(r[QStringLiteral("description")].toString(), roof.note);
        QCOMPARE(r[QStringLiteral("priority")].toInt(), 1);
        const QJsonObject l = bySummary.value(QStringLiteral("Lawn"));
        QCOMPARE(l[QStringLiteral("start")].toString(), QStringLiteral("2026-06-10T14:00:00"));
        QCOMPARE(l[QStringLiteral("end")].toString(), QStringLiteral("2026-06-10T15:00:00"));
        QCOMPARE(l[QStringLiteral("description")].toString(), QString());
        QCOMPARE(l[QStringLiteral("priority")].toInt(), 5);
        const QJsonObject o = bySummary.value(QStringLiteral("Odd hours"));
        QCOMPARE(o[QStringLiteral("end")].toString(), QString());
        QCOMPARE(o[QStringLiteral("description")].toString(), QStringLiteral("Crème brûlée"));
    }

    void unwritableFileAndUnreadableDatesAreReported()
    {
        TActivityRow row;
        row.intActMasterID = 1;
        row.strActivity = QStringLiteral("Broken");
        row.strActStartDateTime = QStringLiteral("soon");
        row.strActEndDateTime = QStringLiteral("6/1/2026");
        row.strActPriority = QStringLiteral("0");
        try {
            ActivitiesToICalendar({row}, QStringLiteral("id"));
            QFAIL("no error");
        } catch (const AppError& error) {
            QVERIFY(error.message().contains(QStringLiteral("\"Broken\"")));
        }
        row.strActStartDateTime = QStringLiteral("6/1/2026 8:00:00 AM");
        QVERIFY_THROWS_EXCEPTION(AppError, WriteActivitiesCalendarFile(QStringLiteral("/nonexistent/dir/x.ics"), {row}));
    }

    // Activities stored without a time (midnight to midnight) are whole-day
    // events: dates only, the end the day after the last day, so a three-day
    // job shows on three days.
    void activitiesWithoutTimeAreAllDayEvents()
    {
        pSavePlannerActivity({std::nullopt, at(2026, 6, 1, 0), at(2026, 6, 3, 0), QStringLiteral("Three days"), false, {}});
        pSavePlannerActivity({std::nullopt, at(2026, 6, 2, 0), at(2026, 6, 2, 0), QStringLiteral("One day"), false, {}});
        pSavePlannerActivity({std::nullopt, at(2026, 6, 2, 0), at(2026, 6, 2, 9), QStringLiteral("Until nine"), false, {}});
        const TPlannerListResult list = QueryPlannerList(pltMonth, QDate(2026, 6, 1), pSearchPlannerActivity(2026));
        std::vector<TActivityRow> rows;
        for (const TPlannerListRow& row : list.rows) rows.push_back(row.stored());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("days.ics"));
        QCOMPARE(WriteActivitiesCalendarFile(path, rows), 3);
        QMap<QString, QJsonObject> bySummary;
        for (const QJsonValue& value : ReadEvents(path))
            bySummary.insert(value[QStringLiteral("summary")].toString(), value.toObject());
        QCOMPARE(bySummary.size(), 3);
        const auto span = [&](const char* title) {
            const QJsonObject event = bySummary.value(QLatin1String(title));
            return event[QStringLiteral("start")].toString() + QStringLiteral(" to ") + event[QStringLiteral("end")].toString();
        };
        QCOMPARE(span("Three days"), QStringLiteral("2026-06-01 to 2026-06-04"));
        QCOMPARE(span("One day"), QStringLiteral("2026-06-02 to 2026-06-03"));
        QCOMPARE(span("Until nine"), QStringLiteral("2026-06-02T00:00:00 to 2026-06-02T09:00:00"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("DTSTART;VALUE=DATE:20260601"));
        QVERIFY(text.contains("DTEND;VALUE=DATE:20260604"));
    }

    // Event ids carry a random id of the database, made once and kept: the
    // same activity exported twice keeps its id, the same activity of another
    // database gets another.
    void eventIdsAreUniqueAcrossDatabases()
    {
        pSavePlannerActivity({std::nullopt, at(2026, 6, 9, 9), at(2026, 6, 9, 10), QStringLiteral("Lawn"), false, {}});
        const auto exportedIds = [] {
            const TPlannerListResult list = QueryPlannerList(pltDay, QDate(2026, 6, 9), pSearchPlannerActivity(2026));
            std::vector<TActivityRow> rows;
            for (const TPlannerListRow& row : list.rows) rows.push_back(row.stored());
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("lawn.ics"));
            WriteActivitiesCalendarFile(path, rows);
            QStringList ids;
            for (const QJsonValue& value : ReadEvents(path)) ids << value[QStringLiteral("uid")].toString();
            return ids;
        };
        const QStringList first = exportedIds();
        QCOMPARE(first.size(), 1);
        QCOMPARE(exportedIds(), first);
        QVERIFY(first[0].contains(CalendarExportId()));

        // Another installation: a new file with the same activity under the same master id.
        CreateTestDatabase(QDate(2026, 3, 29));
        {
            DbConnection db;
            db.execute(QStringLiteral("DELETE FROM tblPlanner;"));
        }
        pSavePlannerActivity({std::nullopt, at(2026, 6, 9, 9), at(2026, 6, 9, 10), QStringLiteral("Lawn"), false, {}});
        const QStringList other = exportedIds();
        QCOMPARE(other.size(), 1);
        QVERIFY(other[0] != first[0]);

        // An older file without the table gets it at start, and its id then.
        {
            DbConnection db;
            db.execute(QStringLiteral("DROP TABLE tblCalendarExport;"));
        }
        EnsureCalendarExportTable();
        DbConnection db;
        QCOMPARE(db.countRows(QStringLiteral("SELECT * FROM tblCalendarExport;")), 0);
        db.close();
        const QString id = CalendarExportId();
        QCOMPARE(QUuid::fromString(id).isNull(), false);
        QCOMPARE(CalendarExportId(), id);
    }
};

FENNICK_TEST_MAIN(TestCalendarFile)
#include "test_calendarfile.moc"
