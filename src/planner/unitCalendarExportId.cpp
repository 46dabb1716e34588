#include "planner/unitCalendarExportId.h"

#include "app/AppError.h"
#include "db/DbConnection.h"
#include "db/unitFeatureTables.h"

#include <QUuid>

namespace {

QString readId(DbConnection& db)
{
    DbStatement row = db.prepare(
        QStringLiteral("SELECT strCalendarUID FROM tblCalendarExport WHERE intCalendarExportID = 1;"));
    return row.step() ? row.columnText(0) : QString();
}

} // namespace

void EnsureCalendarExportTable(DbConnection& db)
{
    CreateMissingFeatureTables(db);
}

void EnsureCalendarExportTable()
{
    DbConnection db;
    EnsureCalendarExportTable(db);
}

QString CalendarExportId()
{
    DbConnection db;
    EnsureCalendarExportTable(db);
    QString id = readId(db);
    if (!id.isEmpty()) return id;
    const QString fresh = QUuid::createUuid().toString(QUuid::WithoutBraces);
    db.execute(QStringLiteral("UPDATE tblCalendarExport SET strCalendarUID = ? WHERE intCalendarExportID = 1 "
                              "AND (strCalendarUID IS NULL OR strCalendarUID = '');"),
               {fresh});
    if (db.changes() == 0) {
        try {
            db.execute(
                QStringLiteral("INSERT INTO tblCalendarExport (intCalendarExportID,strCalendarUID) VALUES (1,?);"),
                {fresh});
        } catch (const AppError&) {
            // Another seat stored its id first: that one is kept. Any other
            // failure shows when the id is read again.
        }
    }
    id = readId(db);
    if (id.isEmpty()) throw AppError(MissingRowMessage(QStringLiteral("calendar export")));
    return id;
}
