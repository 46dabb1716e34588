#include "server/unitTableCopy.h"

#include "app/AppError.h"
#include "db/DbConnection.h"

#include <algorithm>

namespace {

QList<TCopyColumn> serverColumns(DbConnection& server, const QString& table)
{
    DbStatement read = server.prepare(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                                     "WHERE table_schema = current_schema() AND table_name = ? "
                                                     "ORDER BY ordinal_position;"),
                                      {table.toLower()});
    QList<TCopyColumn> columns;
    while (read.step()) columns.append({read.columnText(0), read.columnText(1)});
    return columns;
}

QStringList fileColumns(DbConnection& file, const QString& table)
{
    DbStatement read = file.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?);"), {table});
    QStringList names;
    while (read.step()) names << read.columnText(0);
    return names;
}

// A stored value in the form the server column takes, read from either engine.
QVariant readAs(const DbStatement& row, int column, const QString& type)
{
    if (row.columnIsNull(column)) return QVariant();
    if (type == QLatin1String("integer") || type == QLatin1String("bigint")) return row.columnInt64(column);
    if (type == QLatin1String("double precision")) return row.columnDouble(column);
    if (type == QLatin1String("bytea")) return row.columnBlob(column);
    return row.columnText(column);
}

QString columnList(const QList<TCopyColumn>& columns)
{
    QStringList names;
    for (const TCopyColumn& column : columns) names << column.name;
    return names.join(QLatin1Char(','));
}

} // namespace

QList<TCopyColumn> SharedColumns(DbConnection& server, DbConnection& file, const QString& table,
                                 const QString& consequence)
{
    QList<TCopyColumn> columns = serverColumns(server, table);
    const QStringList inFile = fileColumns(file, table);
    for (const QString& name : inFile)
        if (std::none_of(columns.begin(), columns.end(), [&](const TCopyColumn& c) { return c.name == name.toLower(); }))
            throw AppError(QStringLiteral("The table %1 of the file has a column %2 that the server's table lacks; %3")
                               .arg(table, name, consequence));
    columns.erase(std::remove_if(columns.begin(), columns.end(),
                                 [&](const TCopyColumn& c) { return !inFile.contains(c.name, Qt::CaseInsensitive); }),
                  columns.end());
    return columns;
}

int CopyTableRows(DbConnection& from, DbConnection& to, const QString& table, const QList<TCopyColumn>& columns)
{
    const QString names = columnList(columns);
    DbStatement read = from.prepare(QStringLiteral("SELECT %1 FROM %2;").arg(names, table));
    DbStatement write = to.prepare(QStringLiteral("INSERT INTO %1(%2) VALUES(%3);")
                                       .arg(table, names,
                                            QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))));
    int rows = 0;
    while (read.step()) {
        for (int i = 0; i < columns.size(); ++i) write.bind(i + 1, readAs(read, i, columns[i].type));
        write.step();
        write.reset();
        ++rows;
    }
    return rows;
}

QString IdentityColumn(DbConnection& server, const QString& table)
{
    DbStatement read = server.prepare(QStringLiteral("SELECT column_name FROM information_schema.columns "
                                                     "WHERE table_schema = current_schema() AND table_name = ? "
                                                     "AND is_identity = 'YES';"),
                                      {table.toLower()});
    return read.step() ? read.columnText(0) : QString();
}

void MoveSequencePastIds(DbConnection& server, const QString& table, const QString& id)
{
    server.execute(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), "
                                  "COALESCE((SELECT MAX(%1) FROM %2), 0) + 1, false);")
                       .arg(id, table),
                   {table.toLower(), id});
}

QList<QStringList> TableRows(DbConnection& db, const QString& table, const QList<TCopyColumn>& columns,
                             const QString& id)
{
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columnList(columns), table);
    if (!id.isEmpty()) sql += QStringLiteral(" ORDER BY ") + id;
    DbStatement read = db.prepare(sql + QLatin1Char(';'));
    QList<QStringList> rows;
    while (read.step()) {
        QStringList row;
        for (int i = 0; i < columns.size(); ++i) {
            if (read.columnIsNull(i))
                row << QStringLiteral("<NULL>");
            else if (columns[i].type == QLatin1String("double precision"))
                row << QString::number(read.columnDouble(i), 'g', 17);
            else if (columns[i].type == QLatin1String("bytea"))
                row << QString::fromLatin1(read.columnBlob(i).toHex());
            else
                row << read.columnText(i);
        }
        rows.append(row);
    }
    if (id.isEmpty()) std::sort(rows.begin(), rows.end());
    return rows;
}
