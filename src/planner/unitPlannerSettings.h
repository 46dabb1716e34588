#pragma once
// The planner settings: the one row of tblPlannerSettings. The company screen's
// "Planner" page edits it; the planner screen reads it each time it opens.
#include <cstdint>

struct TrecPlannerSettings {
    std::uint32_t intActColor = 0;        // red + green*256 + blue*65536
    std::uint32_t intWkndColor = 0;
    std::uint32_t intPriorityColor = 0;
    int intRemoveActivity = 0;            // 0 "Do not Remove", 1 "1 Day", 2 "30 Day", 3 "1 Year"
    int intDefaultPlanner = 0;            // 0 day, 1 week, 2 month list
};

// Reads the row; a missing row throws.
TrecPlannerSettings LoadPlannerSettings();
class DbConnection;

// Writes all eleven values of the row in one statement; a missing row throws.
void SavePlannerSettings(const TrecPlannerSettings& settings);
// The same on a connection the caller holds, inside the caller's transaction.
void SavePlannerSettings(DbConnection& db, const TrecPlannerSettings& settings);
