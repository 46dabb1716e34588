#include "app/unitPagedListModel.h"

#include "app/unitErrorHandler.h"

#include <QTimer>

void TPagedListModel::setQuery(TListQuery query)
{
    // The first page is read inside the reset: the view then lays out its
    // rows once, rather than once for the empty list and again for the rows.
    beginResetModel();
    m_rows.clear();
    m_shown = 0;
    m_wanted = 0;
    ++m_queryNumber;
    m_pager = TListPager(std::move(query), listConnection());
    try {
        const int read = readPage(kFirstPageRows, kPageBudgetMs);
        m_wanted = m_pager.atEnd() ? 0 : kFirstPageRows - read;
    } catch (...) {
        m_rows.clear();
        m_pager = TListPager();
        m_connection.reset();   // the next query starts on a fresh connection
        endResetModel();
        throw;
    }
    m_shown = m_rows.size();
    endResetModel();
    if (m_wanted > 0) readOnLater();
}

std::shared_ptr<DbConnection> TPagedListModel::listConnection()
{
    if (!m_connection) {
        auto connection = std::make_shared<DbConnection>();
        if (connection->isServer()) return nullptr;
        m_connection = std::move(connection);
    }
    return m_connection;
}

void TPagedListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_shown = 0;
    m_wanted = 0;
    ++m_queryNumber;
    m_pager = TListPager();
    m_connection.reset();
    endResetModel();
}

int TPagedListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_shown; }

bool TPagedListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && !m_pager.atEnd();
}

void TPagedListModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent)) return;
    // Called by the view as it paints or scrolls: an error is shown here.
    RunGuarded([this] { readRows(kPageRows, kPageBudgetMs); });
}

void TPagedListModel::readUpTo(int count)
{
    m_wanted = 0;
    while (m_shown < count && !m_pager.atEnd()) readRows(count - m_shown, std::numeric_limits<int>::max());
}

int TPagedListModel::readPage(int maxRows, int budgetMs)
{
    return m_pager.readPage(maxRows, budgetMs, [this](const DbStatement& statement) {
        TRowBlocks::Writer row = m_rows.append();
        writeRow(statement, row);
        row.finish();
    });
}

void TPagedListModel::readRows(int maxRows, int budgetMs)
{
    int read = 0;
    try {
        read = readPage(maxRows, budgetMs);
    } catch (...) {
        m_wanted = 0;
        m_connection.reset();
        // Rows read before the error are kept and shown.
        showReadRows();
        throw;
    }
    m_wanted = m_pager.atEnd() ? 0 : maxRows - read;
    showReadRows();
    if (m_wanted > 0) readOnLater();
}

void TPagedListModel::showReadRows()
{
    if (m_rows.size() <= m_shown) return;
    beginInsertRows(QModelIndex(), m_shown, m_rows.size() - 1);
    m_shown = m_rows.size();
    endInsertRows();
}

void TPagedListModel::readOnLater()
{
    // Another query set meanwhile ends this one's reading.
    QTimer::singleShot(0, this, [this, queryNumber = m_queryNumber] {
        if (queryNumber != m_queryNumber || m_wanted <= 0) return;
        const int wanted = m_wanted;
        RunGuarded([this, wanted] { readRows(wanted, kPageBudgetMs); });
    });
}
