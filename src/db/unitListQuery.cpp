#include "db/unitListQuery.h"

#include <algorithm>
#include <optional>

namespace {
// A search starts with slices of this many keys; each slice then grows or
// shrinks so that one takes a few milliseconds.
// The first slice reads the keys up to the first slice's size: the keys
// begin at 1.
constexpr qint64 kFirstSlice = 8192;
constexpr qint64 kSliceTargetNs = 4'000'000;
// One statement of a page reads at most as many rows as take this long: the
// server hands a statement's rows over all at once, so a page can stop on time
// only between statements.
constexpr qint64 kStatementTargetNs = 8'000'000;
constexpr int kFewestStatementRows = 100;

QString selectFrom(const TListQuery& query, const QString& columns)
{
    return QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + query.table;
}

// The query's columns, then its key, then (when asked) the table's largest
// key, read from the key's index in both engines.
QString keyedColumns(const TListQuery& query, bool withLargestKey)
{
    QString text = query.columns + QStringLiteral(", ") + query.key;
    if (withLargestKey)
        text += QStringLiteral(", (SELECT MAX(") + query.key + QStringLiteral(") FROM ") + query.table + QLatin1Char(')');
    return text;
}
} // namespace

QString TListQuery::sql() const
{
    QString text = selectFrom(*this, columns);
    if (!condition.isEmpty()) text += QStringLiteral(" WHERE ") + condition;
    return text + QStringLiteral(" ORDER BY ") + key + QLatin1Char(';');
}

QString TListQuery::firstRowsSql(int count) const
{
    QString text = sql();
    text.chop(1);
    return text + QStringLiteral(" LIMIT ") + QString::number(count) + QLatin1Char(';');
}

QString EngineUpper(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

QString TextPrefixCondition(const QString& column)
{
    return QStringLiteral("STARTS_WITH_TEXT(") + column + QStringLiteral(", ?) = 1");
}

int TListPager::readPage(int maxRows, int budgetMs, const std::function<void(const DbStatement&)>& readRow)
{
    if (m_atEnd || maxRows <= 0) return 0;
    QElapsedTimer timer;
    timer.start();
    // An error leaves the pager at its end, so the list does not ask again and again.
    m_atEnd = true;
    DbConnection own;
    DbConnection& connection = m_connection ? *m_connection : own;
    const bool searched = !m_query.condition.isEmpty();
    if (!m_started && !searched) return readFirstPage(connection, maxRows, budgetMs, timer, readRow);
    const QString conditionAnd =
        searched ? QLatin1Char('(') + m_query.condition + QStringLiteral(") AND ") : QString();
    const QString orderedPage = QStringLiteral(" ORDER BY ") + m_query.key + QStringLiteral(" LIMIT ?;");
    const int conditionValues = int(m_query.values.size());
    std::optional<DbStatement> page;

    int read = 0;
    bool more = true;
    while (more && read < maxRows) {
        const bool firstSlice = !m_started;
        const int wanted = std::min(maxRows - read, m_statementRows);
        qint64 sliceEnd = 0;
        std::optional<DbStatement> first;
        if (firstSlice) {
            // A search's first slice goes up to a fixed key, and its rows
            // carry the largest key: no round trip for the key range before
            // the first rows (read from the key's index in both engines).
            sliceEnd = kFirstSlice;
            m_slice = kFirstSlice;
            first = connection.prepare(selectFrom(m_query, keyedColumns(m_query, true)) + QStringLiteral(" WHERE ")
                                       + conditionAnd + m_query.key + QStringLiteral(" <= ?") + orderedPage);
            first->bindAll(m_query.values);
            first->bind(conditionValues + 1, sliceEnd).bind(conditionValues + 2, wanted);
        } else {
            // Every row is wanted: the rest of the keys is one slice, read in LIMITed pages.
            sliceEnd = !searched || m_lastKey - m_after <= m_slice ? m_lastKey : m_after + m_slice;
            if (!page)
                page = connection.prepare(selectFrom(m_query, keyedColumns(m_query, false))
                                          + QStringLiteral(" WHERE ") + conditionAnd + m_query.key
                                          + QStringLiteral(" > ? AND ") + m_query.key + QStringLiteral(" <= ?")
                                          + orderedPage);
            page->reset();
            page->bindAll(m_query.values);
            page->bind(conditionValues + 1, m_after).bind(conditionValues + 2, sliceEnd).bind(conditionValues + 3, wanted);
        }
        DbStatement& statement = firstSlice ? *first : *page;
        const qint64 sliceStart = timer.nsecsElapsed();
        // A long page stops on time within its slice and goes on after its last key.
        bool timeSpent = false;
        const int inSlice = readRows(statement, firstSlice, budgetMs, timer, readRow, timeSpent);
        read += inSlice;
        if (inSlice > 0) {
            const double nsPerRow = double(std::max<qint64>(timer.nsecsElapsed() - sliceStart, 1)) / inSlice;
            m_statementRows = int(std::clamp(double(kStatementTargetNs) / nsPerRow, double(kFewestStatementRows), 1e6));
        }
        if (timeSpent) break;
        if (!m_started) {
            // The first slice found nothing: the key range tells where the
            // keys end, and where they begin when that is past the slice.
            DbStatement range = connection.prepare(
                QStringLiteral("SELECT (SELECT MIN(%1) FROM %2), (SELECT MAX(%1) FROM %2);").arg(m_query.key, m_query.table));
            if (!range.step() || range.columnIsNull(0)) return 0;   // an empty table
            sliceEnd = std::max(sliceEnd, range.columnInt64(0) - 1);
            m_lastKey = range.columnInt64(1);
            m_started = true;
        }
        if (inSlice < wanted) {
            // The slice is read to its end.
            m_after = sliceEnd;
            more = sliceEnd < m_lastKey;
            if (searched) {
                const qint64 took = std::max<qint64>(timer.nsecsElapsed() - sliceStart, 1);
                const double scale = std::clamp(double(kSliceTargetNs) / double(took), 0.25, 4.0);
                m_slice = std::clamp<qint64>(qint64(double(m_slice) * scale), 256, qint64(1) << 40);
            }
        }
        if (timer.elapsed() >= budgetMs) break;
    }
    m_atEnd = !more;
    return read;
}

int TListPager::readFirstPage(DbConnection& connection, int maxRows, int budgetMs, const QElapsedTimer& timer,
                              const std::function<void(const DbStatement&)>& readRow)
{
    // The list's own query with a LIMIT, and the largest key (read once, from
    // the key's index): later pages go on from the last key up to that one, so
    // rows added meanwhile are not mixed in. The row count is the program's
    // own number, written into the text: a statement without values is
    // planned once per connection on the server, where one with values is
    // planned again on every run (the lists' first pages are the same each time).
    DbStatement page = connection.prepare(selectFrom(m_query, keyedColumns(m_query, true)) + QStringLiteral(" ORDER BY ")
                                          + m_query.key + QStringLiteral(" LIMIT ") + QString::number(maxRows)
                                          + QLatin1Char(';'));
    bool timeSpent = false;
    const int read = readRows(page, true, budgetMs, timer, readRow, timeSpent);
    m_slice = m_lastKey - m_after;
    m_atEnd = !timeSpent && (read < maxRows || m_after >= m_lastKey);
    return read;
}

int TListPager::readRows(DbStatement& statement, bool carriesLargestKey, int budgetMs, const QElapsedTimer& timer,
                         const std::function<void(const DbStatement&)>& readRow, bool& timeSpent)
{
    int read = 0;
    while (statement.step()) {
        // The key follows the query's columns, the largest key (where carried)
        // follows the key; counted on the row, since the server knows a
        // result's columns only once it has run.
        const int keyColumn = statement.columnCount() - (carriesLargestKey ? 2 : 1);
        if (!m_started) {
            m_lastKey = statement.columnInt64(keyColumn + 1);
            m_started = true;
        }
        readRow(statement);
        m_after = statement.columnInt64(keyColumn);
        if (++read % 256 == 0 && timer.elapsed() >= budgetMs) {
            timeSpent = true;
            break;
        }
    }
    return read;
}
