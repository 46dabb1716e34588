#include "planner/unitOldActivities.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "planner/unitActivityStore.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QStringList>

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

    TSavingNoticeScope notice(QStringLiteral("Cleaning Database..."));
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
        qint64 master;
        QString end;
        QString title;
    };
    QList<Row> rows;
    DbStatement all =
        db.prepare(QStringLiteral("SELECT intActID,strActEndDateTime,intActMasterID,strActivity FROM tblPlanner;"));
    while (all.step()) rows.append({all.columnInt64(0), all.columnInt64(2), all.columnText(1), all.columnText(3)});
    all.finalize();

    // An activity whose end cannot be read is kept and named afterwards; the
    // others are removed all the same, in one transaction.
    QStringList kept;
    QSet<qint64> keptActivities;
    DbTransaction transaction(db);
    for (const Row& row : rows) {
        QDateTime end;
        try {
            end = StrToDateTime(row.end);
        } catch (const AppError& error) {
            if (!keptActivities.contains(row.master)) {
                keptActivities.insert(row.master);
                kept << UnreadableActivityMessage(row.title, error.message());
            }
            continue;
        }
        if (endedBeforeCutOff(end)) db.execute(QStringLiteral("DELETE FROM tblPlanner WHERE intActID = ?;"), {row.id});
    }
    transaction.commit();
    db.tryVacuum();
    if (!kept.isEmpty())
        throw AppError(QStringLiteral("The clean-up of old planner activities kept %1:\n%2")
                           .arg(kept.size() == 1 ? QStringLiteral("this activity") : QStringLiteral("these activities"),
                                kept.join(QLatin1Char('\n'))));
}
