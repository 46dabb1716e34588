#pragma once
// A connection to the database file that lives for one operation, and the
// statements prepared through it. The file is opened lazily, read-write without
// create, on the first prepare; closing the connection finalizes every statement
// still open. Values are always bound as parameters, never spliced into SQL text.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db_detail {
struct StatementSlot;
struct ConnectionCloser { void operator()(sqlite3* handle) const; };
}

class DbConnection;

class DbStatement {
public:
    DbStatement(DbStatement&&) noexcept;
    DbStatement& operator=(DbStatement&&) noexcept;
    DbStatement(const DbStatement&) = delete;
    DbStatement& operator=(const DbStatement&) = delete;
    ~DbStatement();

    // Binds a value to the 1-based parameter: QString as text, double as real,
    // integers as integer, a null QVariant as NULL.
    DbStatement& bind(int index, const QVariant& value);
    DbStatement& bindAll(const QVariantList& values);

    // One step with the busy retry; true when a row is available.
    bool step();
    void reset();

    QString columnText(int column) const;     // NULL reads as empty text
    // The same text; when it equals previous, previous is returned (shared, no
    // copy made), otherwise the text read becomes previous. For columns of a
    // long list that repeat a few values (type names, flags).
    QString columnTextShared(int column, QString& previous) const;
    // The stored bytes of a text (UTF-8), without a copy: valid until the next
    // step. For lists that keep their rows as compact blocks.
    QByteArrayView columnUtf8(int column) const;
    int columnInt(int column) const;          // NULL reads as 0
    qint64 columnInt64(int column) const;
    double columnDouble(int column) const;    // NULL reads as 0
    bool columnIsNull(int column) const;
    int columnCount() const;

    void finalize();

private:
    friend class DbConnection;
    explicit DbStatement(std::shared_ptr<db_detail::StatementSlot> slot);
    sqlite3_stmt* handle() const;
    std::shared_ptr<db_detail::StatementSlot> m_slot;
};

class DbConnection {
public:
    explicit DbConnection(QString path = QString()); // empty path: the program's database
    DbConnection(DbConnection&&) noexcept;
    DbConnection& operator=(DbConnection&&) noexcept;
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;
    ~DbConnection();

    // Compiles the first statement of the text (the rest is ignored).
    DbStatement prepare(const QString& sql);
    DbStatement prepare(const QString& sql, const QVariantList& values);

    // Prepare, bind and step once: for a statement that changes data.
    void execute(const QString& sql, const QVariantList& values = {});
    // Prepare, bind and step once for a statement that must change a row (the
    // UPDATE of a settings or counter row, or of a stored record): when it changed
    // none, throws AppError(missingMessage) instead of passing as done.
    void executeOnRow(const QString& sql, const QVariantList& values, const QString& missingMessage);
    // Counts the rows a query returns.
    int countRows(const QString& sql, const QVariantList& values = {});

    qint64 lastInsertRowId() const;
    int changes() const;
    void vacuum();
    // The compaction after a committed delete: best effort. A failure (the file
    // busy in another program, no room for the copy) leaves the file as it is,
    // still correct, and is not an error of the delete; false when it did not run.
    bool tryVacuum() noexcept;
    void close();
    const QString& path() const { return m_path; }

    // First run only: deletes any file at the path, then opens it with create.
    static DbConnection createDatabaseFile(const QString& path);

    // For the reliability tests: connections opened from now on reach the file
    // through the engine's file layer registered under this name (empty: the
    // engine's default layer).
    static void SetFileLayerName(const QByteArray& name);

private:
    void open(bool create);
    sqlite3* handle() const { return m_handle.get(); }

    QString m_path;
    std::unique_ptr<sqlite3, db_detail::ConnectionCloser> m_handle;
    std::vector<std::shared_ptr<db_detail::StatementSlot>> m_statements;
};

// BEGIN IMMEDIATE on construction; rolled back on destruction unless committed.
// "The <what> row is missing from the database.": a settings or counter row that
// a read or an update expected and did not find.
QString MissingRowMessage(const QString& what);

// Adds the program's SQL functions (STARTS_WITH_TEXT, the searches' prefix
// rule) to a connection; every DbConnection has them.
void RegisterTextFunctions(sqlite3* handle);

class DbTransaction {
public:
    explicit DbTransaction(DbConnection& connection);
    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;
    ~DbTransaction();
    void commit();

private:
    DbConnection& m_connection;
    bool m_open = true;
};
