#pragma once
// What the search lists have in common: a query is SQL text with ? placeholders
// plus the values bound to them, its rows are read on a connection of their own,
// and every text search follows one rule (a literal prefix, any letter case).
#include "db/DbConnection.h"

#include <QString>
#include <QVariantList>
#include <utility>
#include <vector>

struct TListQuery {
    QString sql;
    QVariantList values;
};

// The text with a-z upper-cased and every other character kept: the engine's
// UPPER changes only those letters, so both sides of a comparison agree.
QString EngineUpper(const QString& text);

// The one rule of the text searches: the column's text begins with the typed
// text, every letter compared without case ("ünï" finds "Ünïcödé") and every
// character literal ("%" and "_" are no wildcards). The condition holds one
// placeholder, which takes the typed text as it is.
QString TextPrefixCondition(const QString& column);

// Runs the query on its own connection and makes one row per result row with
// readRow(statement); rows in the order the query returns them.
template <typename Row, typename ReadRow>
std::vector<Row> QueryListRows(const TListQuery& query, ReadRow readRow)
{
    DbConnection connection;
    DbStatement statement = connection.prepare(query.sql, query.values);
    std::vector<Row> rows;
    if (!statement.step()) return rows;
    rows.reserve(std::size_t(statement.rowCountHint()));
    do {
        rows.push_back(readRow(statement));
    } while (statement.step());
    return rows;
}
