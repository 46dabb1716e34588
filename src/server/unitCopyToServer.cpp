#include "server/unitCopyToServer.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "db/DbConnection.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <algorithm>

namespace {

struct Column {
    QString name;   // lower case, as the server names it
    QString type;   // the server's type: integer, double precision, text, bytea
};

QList<Column> serverColumns(DbConnection& server, const QString& table)
{
    DbStatement read = server.prepare(QStringLiteral("SELECT column_name, data_type FROM information_schema.columns "
                                                     "WHERE table_schema = current_schema() AND table_name = ? "
                                                     "ORDER BY ordinal_position;"),
                                      {table.toLower()});
    QList<Column> columns;
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

// A stored value read from the file in the form the server column takes.
QVariant readForServer(const DbStatement& row, int column, const QString& type)
{
    if (row.columnIsNull(column)) return QVariant();
    if (type == QLatin1String("integer") || type == QLatin1String("bigint")) return row.columnInt64(column);
    if (type == QLatin1String("double precision")) return row.columnDouble(column);
    if (type == QLatin1String("bytea")) return row.columnBlob(column);
    return row.columnText(column);
}

// The id column a sequence fills, if the table has one.
QString identityColumn(DbConnection& server, const QString& table)
{
    DbStatement read = server.prepare(QStringLiteral("SELECT column_name FROM information_schema.columns "
                                                     "WHERE table_schema = current_schema() AND table_name = ? "
                                                     "AND is_identity = 'YES';"),
                                      {table.toLower()});
    return read.step() ? read.columnText(0) : QString();
}

int copyTable(DbConnection& file, DbConnection& server, const QString& table, const QList<Column>& columns)
{
    QStringList names;
    for (const Column& column : columns) names << column.name;
    DbStatement read = file.prepare(QStringLiteral("SELECT %1 FROM %2;").arg(names.join(QLatin1Char(',')), table));
    DbStatement write = server.prepare(QStringLiteral("INSERT INTO %1(%2) VALUES(%3);")
                                           .arg(table, names.join(QLatin1Char(',')),
                                                QStringList(names.size(), QStringLiteral("?")).join(QLatin1Char(','))));
    int rows = 0;
    while (read.step()) {
        for (int i = 0; i < columns.size(); ++i) write.bind(i + 1, readForServer(read, i, columns[i].type));
        write.step();
        write.reset();
        ++rows;
    }
    return rows;
}

// Every row of the table, read the same way on either engine (amounts as
// their exact binary value), in id order when there is an id, sorted otherwise.
QList<QStringList> tableRows(DbConnection& db, const QString& table, const QList<Column>& columns, const QString& id)
{
    QStringList names;
    for (const Column& column : columns) names << column.name;
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(names.join(QLatin1Char(',')), table);
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

} // namespace

QString TCopySummary::text() const
{
    QStringList lines{QStringLiteral("Copied to %1:").arg(target)};
    int width = 0;
    for (const TCopiedTable& table : tables) width = std::max(width, int(table.name.size()));
    const QLocale locale;
    for (const TCopiedTable& table : tables)
        lines << QStringLiteral("  %1  %2 %3")
                     .arg(table.name, -width)
                     .arg(locale.toString(table.rows), 9)
                     .arg(table.rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
    lines << (logoBytes < 0 ? QStringLiteral("  No company logo on this computer.")
                            : QStringLiteral("  Company logo (%1 bytes).").arg(locale.toString(logoBytes)));
    lines << QStringLiteral("Every table's rows were read back and match.");
    return lines.join(QLatin1Char('\n'));
}

TCopySummary CopyDataToServer(const QString& filePath, const QString& logoPath, const QString& connectionString)
{
    TCopySummary summary;
    summary.target = ServerDisplayName(connectionString);
    if (!QFile::exists(filePath)) throw AppError(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(filePath)));
    DbConnection file(filePath);
    // One read of the file from first table to last, however long the copy takes.
    file.execute(QStringLiteral("BEGIN;"));
    const QStringList tables = file.tableNames();

    QByteArray logo;
    const bool hasLogo = !logoPath.isEmpty() && QFile::exists(logoPath);
    if (hasLogo) {
        QFile logoFile(logoPath);
        if (!logoFile.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("Cannot read the company logo %1: %2")
                               .arg(QDir::toNativeSeparators(logoPath), logoFile.errorString()));
        logo = logoFile.readAll();
    }

    DbConnection server = DbConnection::ToServer(connectionString);
    const QString refused = QStringLiteral("The database %1 already holds tables of %2 (%3). Data is copied only into "
                                           "an empty database, so nothing was changed");
    QStringList present = ProgramTablesIn(server);
    if (!present.isEmpty())
        throw AppError(refused.arg(summary.target, GetProductName(), present.join(QStringLiteral(", "))));

    DbTransaction transaction(server);
    // The schema as a first start would make it, under the same lock; a seat
    // that started on the database a moment ago is caught here.
    present = ProgramTablesIn(server);
    if (!present.isEmpty())
        throw AppError(refused.arg(summary.target, GetProductName(), present.join(QStringLiteral(", "))));
    PrepareServerSchema(server, QDate::currentDate());
    const QStringList serverTables = server.tableNames();

    for (const QString& table : tables) {
        if (!serverTables.contains(table.toLower()))
            throw AppError(QStringLiteral("The file has a table %1 that this version of %2 does not know; nothing "
                                          "was copied")
                               .arg(table, GetProductName()));
        QList<Column> columns = serverColumns(server, table);
        const QStringList inFile = fileColumns(file, table);
        // Only the columns both sides have; a column missing on the server is an error.
        for (const QString& name : inFile)
            if (std::none_of(columns.begin(), columns.end(), [&](const Column& c) { return c.name == name.toLower(); }))
                throw AppError(QStringLiteral("The table %1 of the file has a column %2 that the server's table lacks; "
                                              "nothing was copied")
                                   .arg(table, name));
        columns.erase(std::remove_if(columns.begin(), columns.end(),
                                     [&](const Column& c) { return !inFile.contains(c.name, Qt::CaseInsensitive); }),
                      columns.end());
        // The first start's sample rows make way for the file's rows.
        server.execute(QStringLiteral("DELETE FROM %1;").arg(table));
        summary.tables.append({table, copyTable(file, server, table, columns)});

        const QString id = identityColumn(server, table);
        if (!id.isEmpty())
            server.execute(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), "
                                          "COALESCE((SELECT MAX(%1) FROM %2), 0) + 1, false);")
                               .arg(id, table),
                           {table.toLower(), id});

        if (tableRows(file, table, columns, id) != tableRows(server, table, columns, id))
            throw AppError(QStringLiteral("The rows of %1 read back from %2 differ from the file's; nothing was copied")
                               .arg(table, summary.target));
    }

    if (hasLogo) {
        server.execute(QStringLiteral("DELETE FROM tblCompanyLogo;"));
        server.execute(QStringLiteral("INSERT INTO tblCompanyLogo(intCompanyLogoID,blobLogoJpeg) VALUES(1,?);"), {logo});
        DbStatement check = server.prepare(QStringLiteral("SELECT blobLogoJpeg FROM tblCompanyLogo;"));
        if (!check.step() || check.columnBlob(0) != logo)
            throw AppError(QStringLiteral("The company logo read back from %1 differs from the file's; nothing was copied")
                               .arg(summary.target));
        summary.logoBytes = logo.size();
    }
    transaction.commit();
    return summary;
}
