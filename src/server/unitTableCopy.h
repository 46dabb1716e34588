#pragma once
// Rows of one table copied between this computer's file and a server database,
// in either direction, column by column in the server's types, and read back
// the same way on both engines so the two sides can be compared. Used by the
// copy to a server and by backup and restore on a server.
#include <QList>
#include <QString>
#include <QStringList>

class DbConnection;

struct TCopyColumn {
    QString name;   // lower case, as the server names it
    QString type;   // the server's type: integer, double precision, text, bytea
};

// The columns of the server's table that the file's table has too, in the
// server's order. A file column the server's table lacks throws AppError:
// "The table T of the file has a column C that the server's table lacks; " +
// `consequence`.
QList<TCopyColumn> SharedColumns(DbConnection& server, DbConnection& file, const QString& table,
                                 const QString& consequence);

// Copies every row of the table from one connection to the other (either
// engine); returns how many.
int CopyTableRows(DbConnection& from, DbConnection& to, const QString& table, const QList<TCopyColumn>& columns);

// The server's id column that a sequence fills, if the table has one.
QString IdentityColumn(DbConnection& server, const QString& table);
// Moves the table's id sequence past the highest id it holds.
void MoveSequencePastIds(DbConnection& server, const QString& table, const QString& id);

// Every row of the table, read the same way on either engine (amounts as their
// exact binary value), in id order when there is an id, sorted otherwise.
QList<QStringList> TableRows(DbConnection& db, const QString& table, const QList<TCopyColumn>& columns,
                             const QString& id);
