#include "db/unitRecordVersion.h"

#include "db/DbConnection.h"

namespace {
// A NULL is kept apart from an empty text by a value no text column holds.
const QString kNull = QStringLiteral("\x01NULL");
} // namespace

QString EditConflictMessage(const QString& what, EditConflictKind kind)
{
    const QString change = kind == EditConflictKind::Changed   ? QStringLiteral("changed")
                           : kind == EditConflictKind::Deleted ? QStringLiteral("deleted")
                                                               : QStringLiteral("changed or deleted");
    return QStringLiteral("%1 was %2 on another computer after you opened it, so your changes were not saved "
                          "(they are still on the screen). Close it and open it again to see the other change, "
                          "then make your changes again.")
        .arg(what, change);
}

TRecordVersion::Rows TRecordVersion::readRows(DbConnection& connection, const TRecordRead& read, bool lock)
{
    // On the file the save's transaction already holds the write lock; on the
    // server FOR UPDATE keeps the rows from another seat until the commit.
    const QString sql = lock && connection.isServer() ? read.sql + QStringLiteral(" FOR UPDATE;") : read.sql + QLatin1Char(';');
    DbStatement statement = connection.prepare(sql, read.values);
    Rows rows;
    while (statement.step()) {
        QStringList row;
        for (int column = 0; column < statement.columnCount(); ++column)
            row << (statement.columnIsNull(column) ? kNull : statement.columnText(column));
        rows << row;
    }
    return rows;
}

TRecordVersion TRecordVersion::Read(DbConnection& connection, QList<TRecordRead> reads)
{
    TRecordVersion version;
    for (const TRecordRead& read : reads) version.m_rows << readRows(connection, read, false);
    version.m_reads = std::move(reads);
    return version;
}

void TRecordVersion::checkUnchanged(DbConnection& connection, const QString& what, bool editReplacesRows) const
{
    for (qsizetype i = 0; i < m_reads.size(); ++i) {
        const Rows now = readRows(connection, m_reads.at(i), true);
        if (now == m_rows.at(i)) continue;
        // Where an edit writes new rows, the ids it takes may be the old ones
        // again: what became of the record cannot be told apart.
        EditConflictKind kind = EditConflictKind::Changed;
        if (editReplacesRows)
            kind = EditConflictKind::ChangedOrDeleted;
        else if (i == 0 && now.isEmpty())
            kind = EditConflictKind::Deleted;
        throw EditConflictError(EditConflictMessage(what, kind));
    }
}

int TRecordVersion::rowCount(int read) const { return read < m_rows.size() ? int(m_rows.at(read).size()) : 0; }

QString TRecordVersion::text(int read, int row, int column) const
{
    if (read >= m_rows.size() || row >= m_rows.at(read).size() || column >= m_rows.at(read).at(row).size()) return {};
    const QString& value = m_rows.at(read).at(row).at(column);
    return value == kNull ? QString() : value;
}
