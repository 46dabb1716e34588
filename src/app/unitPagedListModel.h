#pragma once
// A long list read in pages: it shows the first rows of its query at once and
// reads on, in keyset pages, as the view scrolls towards its end
// (canFetchMore / fetchMore). Each row is kept as one compact block
// (unitRowBlocks) and turned into cell texts only when the view asks. A page
// stops after a short span of time, so the window keeps answering however
// many rows the table holds or how few of them a search finds; a page cut
// short goes on from the event loop until the rows asked for are read.
#include "app/unitRowBlocks.h"
#include "app/unitRowListModel.h"
#include "db/unitListQuery.h"

class TPagedListModel : public TTextListModel {
    Q_OBJECT
public:
    // Rows read at once when a query is set: more than a screenful.
    static constexpr int kFirstPageRows = 100;
    // Most rows one page reads, and the time after which it stops.
    static constexpr int kPageRows = 20000;
    static constexpr int kPageBudgetMs = 25;

    // Replaces the rows by those of the query and reads its first page (an
    // engine error empties the list and is thrown).
    void setQuery(TListQuery query);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // Reads on until at least count rows are read, or every row is.
    void readUpTo(int count);
    // Reads every row not yet read: for printing the whole list.
    void readAll() { readUpTo(std::numeric_limits<int>::max()); }
    // True while rows asked for are still being read from the event loop.
    bool reading() const { return m_wanted > 0; }

protected:
    TPagedListModel(int columnCount, QObject* parent) : TTextListModel(columnCount, parent) {}

    // Writes the statement's row (the query's columns) into its block.
    virtual void writeRow(const DbStatement& statement, TRowBlocks::Writer& row) const = 0;
    // The block of a row, to be read in the order writeRow wrote it.
    TRowReader rowBlock(int row) const { return m_rows.row(row); }

private:
    // Reads up to maxRows rows within budgetMs and adds them to the list;
    // what a short page left unread is read on from the event loop.
    void readRows(int maxRows, int budgetMs);
    // Reads up to maxRows rows within budgetMs into the blocks, not yet shown.
    int readPage(int maxRows, int budgetMs);
    // Tells the view of the rows read and not yet shown.
    void showReadRows();
    void readOnLater();

    // On the file, one connection kept for the list's queries and pages while
    // the list is shown: each key typed then runs on an open file whose pages
    // the engine has already read. Idle between pages, it holds no lock. A
    // server seat takes a connection of its pool for each page instead.
    std::shared_ptr<DbConnection> listConnection();
    std::shared_ptr<DbConnection> m_connection;
    TListPager m_pager;
    TRowBlocks m_rows;
    int m_shown = 0;     // rows the view knows of
    int m_wanted = 0;    // rows asked for and not yet read
    quint64 m_queryNumber = 0;
};
