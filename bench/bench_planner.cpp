// How fast the planner's month list fills with 100,000 activities in the month
// shown, next to the same rows read by one SELECT stepped through the raw
// SQLite C API.
#include "BenchSupport.h"

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
#include <QTableView>
#include <QTemporaryDir>

namespace {

using bench::MedianMs;
using bench::RawSelect;

constexpr int kRows = 100000;

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
    // The month's rows, every column read as text: the list's own query (in
    // table order, which a server keeps only when asked).
    const QString monthSql = QStringLiteral(
        "SELECT strActStartDateTime, strActEndDateTime, strActivity, strActNote, intActMasterID, intActDayOfYear, "
        "intActYear, strActPriority, intActID FROM tblPlanner WHERE intActYear = ? AND intActDayOfYear BETWEEN ? AND ? "
        "ORDER BY intActID;");
    const QVariantList month{first.year(), first.dayOfYear(), first.addDays(first.daysInMonth() - 1).dayOfYear()};
    const double rawMs = MedianMs([&] { RawSelect(monthSql, month); });
    bench::PrintRatio(QStringLiteral("planner month list %1 rows").arg(listed), listMs, rawMs);
    return 0;
}
