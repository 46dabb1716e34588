#include "server/unitCopyToServer.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "db/DbConnection.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"
#include "server/unitTableCopy.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <algorithm>

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
        const QList<TCopyColumn> columns =
            SharedColumns(server, file, table, QStringLiteral("nothing was copied"));
        // The first start's sample rows make way for the file's rows.
        server.execute(QStringLiteral("DELETE FROM %1;").arg(table));
        summary.tables.append({table, CopyTableRows(file, server, table, columns)});

        const QString id = IdentityColumn(server, table);
        if (!id.isEmpty()) MoveSequencePastIds(server, table, id);

        if (TableRows(file, table, columns, id) != TableRows(server, table, columns, id))
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
