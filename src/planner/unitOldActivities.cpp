#include "planner/unitOldActivities.h"

#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"

#include <QDateTime>
#include <QList>

int KeepDaysForSetting(int intRemoveActivity)
{
    switch (intRemoveActivity) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 30;
    default: return 360;   // the "1 Year" choice keeps 360 days
    }
}

void pRemoveOldActivities() { pRemoveOldActivities(QDate::currentDate()); }

void pRemoveOldActivities(const QDate& today)
{
    DbConnection db;
    DbStatement setting = db.prepare(
        QStringLiteral("SELECT intRemoveActivity FROM tblPlannerSettings WHERE intPlannerSettingsID = 1;"));
    setting.step();
    const int keepDays = KeepDaysForSetting(setting.columnInt(0));
    setting.finalize();
    if (keepDays == 0) return;

    ShowSavingNotice(QStringLiteral("Cleaning Database..."));
    // Cut-off: today at 00:00 minus the keep period. An activity goes when the
    // cut-off is at or after its end, compared on the wall clock.
    const QDate cutOff = today.addDays(-keepDays);
    const auto endedBeforeCutOff = [&cutOff](const QDateTime& end) {
        return end.date() < cutOff || (end.date() == cutOff && end.time() == QTime(0, 0));
    };

    // The rows are read in full before any is deleted: deleting from a table
    // while a read of it is still stepping is not well defined.
    struct Row {
        qint64 id;
        QString end;
    };
    QList<Row> rows;
    DbStatement all = db.prepare(QStringLiteral("SELECT intActID,strActEndDateTime FROM tblPlanner;"));
    while (all.step()) rows.append({all.columnInt64(0), all.columnText(1)});
    all.finalize();

    // One transaction for speed. An end text that cannot be read stops the run
    // with its conversion error; the rows removed before it stay removed.
    DbTransaction transaction(db);
    try {
        for (const Row& row : rows) {
            if (endedBeforeCutOff(StrToDateTime(row.end)))
                db.execute(QStringLiteral("DELETE FROM tblPlanner WHERE intActID = ?;"), {row.id});
        }
    } catch (...) {
        transaction.commit();
        throw;
    }
    transaction.commit();
    db.tryVacuum();
    CloseSavingNotice();
}
