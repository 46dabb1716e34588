#include "planner/unitPlannerSettings.h"

#include "app/AppError.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"

#include <QString>

namespace {
const QString kMissingRow = QStringLiteral("The planner settings row is missing from the database.");
}

TrecPlannerSettings LoadPlannerSettings()
{
    DbConnection db;
    DbStatement row = db.prepare(QStringLiteral(
        "SELECT intActColorRed,intActColorGreen,intActColorBlue,intWkndColorRed,intWkndColorGreen,"
        "intWkndColorBlue,intPriorityColorRed,intPriorityColorGreen,intPriorityColorBlue,"
        "intRemoveActivity,intDefaultPlanner FROM tblPlannerSettings WHERE intPlannerSettingsID = 1;"));
    if (!row.step()) throw AppError(kMissingRow);
    TrecPlannerSettings settings;
    settings.intActColor = PackColor(row.columnInt(0), row.columnInt(1), row.columnInt(2));
    settings.intWkndColor = PackColor(row.columnInt(3), row.columnInt(4), row.columnInt(5));
    settings.intPriorityColor = PackColor(row.columnInt(6), row.columnInt(7), row.columnInt(8));
    settings.intRemoveActivity = row.columnInt(9);
    settings.intDefaultPlanner = row.columnInt(10);
    return settings;
}

void SavePlannerSettings(const TrecPlannerSettings& settings)
{
    DbConnection db;
    SavePlannerSettings(db, settings);
}

void SavePlannerSettings(DbConnection& db, const TrecPlannerSettings& s)
{
    db.execute(QStringLiteral(
                   "UPDATE tblPlannerSettings SET intActColorRed = ?,intActColorGreen = ?,intActColorBlue = ?,"
                   "intWkndColorRed = ?,intWkndColorGreen = ?,intWkndColorBlue = ?,intPriorityColorRed = ?,"
                   "intPriorityColorGreen = ?,intPriorityColorBlue = ?,intRemoveActivity = ?,"
                   "intDefaultPlanner = ? WHERE intPlannerSettingsID = 1;"),
               {ColorRed(s.intActColor), ColorGreen(s.intActColor), ColorBlue(s.intActColor),
                ColorRed(s.intWkndColor), ColorGreen(s.intWkndColor), ColorBlue(s.intWkndColor),
                ColorRed(s.intPriorityColor), ColorGreen(s.intPriorityColor), ColorBlue(s.intPriorityColor),
                s.intRemoveActivity, s.intDefaultPlanner});
    if (db.changes() != 1) throw AppError(kMissingRow);
}
