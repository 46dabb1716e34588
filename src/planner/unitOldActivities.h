#pragma once
#include <QDate>

// Removes the planner activities that ended long enough ago, as chosen in the
// planner settings (never, 1 day, 30 days or 360 days), then compacts the
// database file. Run once when the main window closes. An activity whose end
// cannot be read is kept; when there is one, the others are removed all the
// same and AppError then names each kept activity and why.
void pRemoveOldActivities();
// The same, with the day the program closes on.
void pRemoveOldActivities(const QDate& today);

// Keep period in days for a stored intRemoveActivity; 0 means never remove.
int KeepDaysForSetting(int intRemoveActivity);
