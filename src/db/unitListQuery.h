#pragma once
// What the search lists have in common: a query names its columns, its table,
// its condition with ? placeholders and the values bound to them, and the
// whole-number key that orders its rows (the order in which they were added).
// Its rows are read on a connection of their own, all at once or page by page
// in key order (keyset pages: each page goes on after the last key read, so a
// page costs the same at the end of a million rows as at the start), and every
// text search follows one rule (a literal prefix, any letter case).
#include "db/DbConnection.h"

#include <QElapsedTimer>
#include <QString>
#include <QVariantList>
#include <functional>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

struct TListQuery {
    QString columns;     // "intCustomerID, strCustFirstName, ..."
    QString table;       // "tblCustomers"
    QString condition;   // empty: every row
    QVariantList values; // what the condition's placeholders take
    QString key;         // "intCustomerID"

    // The whole list: SELECT columns FROM table [WHERE condition] ORDER BY key;
    QString sql() const;
    // Its first rows only: the statement above with LIMIT count.
    QString firstRowsSql(int count) const;
};

// The text with a-z upper-cased and every other character kept: the engine's
// UPPER changes only those letters, so both sides of a comparison agree.
QString EngineUpper(const QString& text);

// The one rule of the text searches: the column's text begins with the typed
// text, every letter compared without case ("ünï" finds "Ünïcödé") and every
// character literal ("%" and "_" are no wildcards). The condition holds one
// placeholder, which takes the typed text as it is.
QString TextPrefixCondition(const QString& column);

// Runs the whole query on its own connection and makes one row per result row
// with readRow(statement); rows in key order.
template <typename Row, typename ReadRow>
std::vector<Row> QueryListRows(const TListQuery& query, ReadRow readRow)
{
    DbConnection connection;
    DbStatement statement = connection.prepare(query.sql(), query.values);
    std::vector<Row> rows;
    if (!statement.step()) return rows;
    rows.reserve(std::size_t(statement.rowCountHint()));
    do {
        rows.push_back(readRow(statement));
    } while (statement.step());
    return rows;
}

// Reads a query's rows in pages, in key order. Each page runs on the
// connection given, or on one of its own; no statement stays open between
// pages, so a save elsewhere is never kept waiting. A page ends after a number
// of rows or a span of time, whichever comes first; a search that matches few
// rows among many reads the table in slices of keys, so no page runs long
// even when it finds nothing.
class TListPager {
public:
    TListPager() = default;
    explicit TListPager(TListQuery query, std::shared_ptr<DbConnection> connection = nullptr)
        : m_query(std::move(query)), m_connection(std::move(connection))
    {
    }

    const TListQuery& query() const { return m_query; }
    // True once every row of the query was read (also for a default pager).
    bool atEnd() const { return m_atEnd; }

    // Reads up to maxRows rows, giving each to readRow with the statement on
    // its row (the query's columns first, in their order), and stops early
    // once budgetMs have passed; returns the number of rows read. Errors of the
    // engine are thrown; the pager is then at its end.
    int readPage(int maxRows, int budgetMs, const std::function<void(const DbStatement&)>& readRow);

private:
    // The first page of a list without a condition: its own query, LIMITed.
    int readFirstPage(DbConnection& connection, int maxRows, int budgetMs, const QElapsedTimer& timer,
                      const std::function<void(const DbStatement&)>& readRow);
    // Gives each row of the statement to readRow, noting the last key read and,
    // on the first row read, the largest key the row carries; stops every 256
    // rows once budgetMs have passed (timeSpent). Returns the rows read.
    int readRows(DbStatement& statement, bool carriesLargestKey, int budgetMs, const QElapsedTimer& timer,
                 const std::function<void(const DbStatement&)>& readRow, bool& timeSpent);

    TListQuery m_query;
    std::shared_ptr<DbConnection> m_connection;
    bool m_atEnd = false;
    bool m_started = false;
    qint64 m_after = 0;      // the last key read or passed over
    qint64 m_lastKey = 0;    // the largest key of the table when reading began
    qint64 m_slice = 0;      // keys per slice while a condition is searched
    int m_statementRows = 1000; // rows one statement reads, so that it takes a few milliseconds
};
