#include "app/unitAppPreferences.h"

#include "app/AppError.h"
#include "db/DbConnection.h"
#include "db/unitStoredValues.h"

std::array<bool, 4> arrFormMaximized = {false, false, false, false};

void LoadAppPreferences()
{
    DbConnection connection;
    DbStatement read = connection.prepare(QStringLiteral(
        "SELECT strFrmMainMaximized,strFrmInvoiceMaximized,strFrmPlannerMaximized,strFrmPrintPreviewMaximized "
        "FROM tblAppPreferences WHERE intAppPreferencesIdNumber = 1;"));
    if (!read.step()) throw AppError(MissingRowMessage(QStringLiteral("window preferences")));
    // Convert all four before assigning, so a bad text leaves the flags as they were.
    std::array<bool, 4> flags{};
    for (int column = 0; column < 4; ++column)
        flags[column] = StrToBool(read.columnText(column));
    arrFormMaximized = flags;
}

void SaveAppPreferences()
{
    DbConnection connection;
    connection.executeOnRow(QStringLiteral(
                           "UPDATE tblAppPreferences SET strFrmMainMaximized = ?,strFrmInvoiceMaximized = ?,"
                           "strFrmPlannerMaximized = ?,strFrmPrintPreviewMaximized = ? "
                           "WHERE intAppPreferencesIdNumber = 1;"),
                       {BoolToStr(arrFormMaximized[0]), BoolToStr(arrFormMaximized[1]),
                        BoolToStr(arrFormMaximized[2]), BoolToStr(arrFormMaximized[3])},
                       MissingRowMessage(QStringLiteral("window preferences")));
}
