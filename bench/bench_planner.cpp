// How fast the planner's month list fills with 100,000 activities in the month
// shown, next to the same rows read by one SELECT stepped through the raw
// SQLite C API.
#include "app/unitAppInfo.h"
#include "app/unitRegional.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "planner/unitPlannerCalendar.h"
#include "planner/unitfrmPlanner.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;

double MedianMs(const std::function<void()>& work, const std::function<void()>& prepare)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The month's rows, every column read as text, as the list reads them.
int RawMonthSelect(int year, int firstDay, int lastDay)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(GetDatabasePath().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT strActStartDateTime, strActEndDateTime, strActivity, strActNote, intActMasterID, "
                       "intActDayOfYear, intActYear, strActPriority, intActID FROM tblPlanner "
                       "WHERE intActYear = ? AND intActDayOfYear BETWEEN ? AND ?;",
                       -1, &statement, nullptr);
    sqlite3_bind_int(statement, 1, year);
    sqlite3_bind_int(statement, 2, firstDay);
    sqlite3_bind_int(statement, 3, lastDay);
    int rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int column = 0; column < sqlite3_column_count(statement); ++column)
            sqlite3_column_text16(statement, column);
        ++rows;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// kRows one-hour activities spread over the days of this month.
void FillMonth(const QDate& first)
{
    DbConnection connection;
    DbTransaction transaction(connection);
    DbStatement insert = connection.prepare(QStringLiteral(
        "INSERT INTO tblPlanner(intActMasterID,intActYear,intActDayOfYear,strActStartDateTime,strActEndDateTime,"
        "strActivity,strActPriority,strActNote) VALUES(?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < kRows; ++i) {
        const QDate day = first.addDays(i % first.daysInMonth());
        const QDateTime start(day, QTime(7 + i % 10, 0));
        insert.bindAll({qint64(100000 + i), day.year(), day.dayOfYear(), DateTimeToStr(start),
                        DateTimeToStr(start.addSecs(3600)), QStringLiteral("Job %1").arg(i),
                        i % 7 == 0 ? QStringLiteral("-1") : QStringLiteral("0"), QStringLiteral("notes %1").arg(i)});
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    QDir().mkpath(GetDataFolder());
    QDir().mkpath(GetTempFolder());
    CreateDatabase();
    LoadCompanyData();
    const QDate today = QDate::currentDate();
    const QDate first(today.year(), today.month(), 1);
    FillMonth(first);

    // The planner opens on today; switching its list to the month list refills it.
    TfrmPlanner screen;
    screen.show();
    QApplication::processEvents();
    auto* listType = screen.findChild<QComboBox*>(QStringLiteral("cmboPlannerType"));
    auto* list = screen.findChild<QTableView*>(QStringLiteral("lvActivityEdit"));
    const double listMs = MedianMs(
        [&] {
            listType->setCurrentIndex(pltMonth);
            list->viewport()->repaint();
        },
        [&] { listType->setCurrentIndex(pltDay); });
    const int listed = list->model()->rowCount();
    const double rawMs = MedianMs([&] { RawMonthSelect(first.year(), first.dayOfYear(),
                                                       first.addDays(first.daysInMonth() - 1).dayOfYear()); },
                                  [] {});
    const double ratio = rawMs > 0 ? listMs / rawMs : 0.0;
    std::printf("planner month list %d rows: %.0f ms (raw SELECT %.0f ms, ratio %.2f, target <= 1.3%s)\n", listed,
                listMs, rawMs, ratio, ratio <= 1.3 ? "" : ", MISSED");
    return 0;
}
