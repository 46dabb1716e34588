#pragma once
// The random id of this database that the calendar export puts into every event
// id, so the events of two installations never share an id in a calendar that
// imports both. Kept in table tblCalendarExport (one row, id 1), created when
// missing; the id is made at the first export and kept from then on.
#include <QString>

class DbConnection;

// Creates tblCalendarExport when the database does not have it yet.
void EnsureCalendarExportTable(DbConnection& db);
void EnsureCalendarExportTable();

// The database's calendar id, made and stored on first use.
QString CalendarExportId();
