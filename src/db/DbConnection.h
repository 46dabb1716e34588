#pragma once
// A connection to the database that lives for one operation, and the
// statements prepared through it. The database is this computer's file or, on a
// seat that uses one, a PostgreSQL server (db/unitDatabaseTarget.h); stores
// see no difference. It is opened lazily on the first prepare (the file
// read-write without create; on the server a connection from the seat's pool);
// closing the connection finalizes every statement still open. Values are always
// bound as parameters, never spliced into SQL text. Where the two engines
// differ (placeholders, compaction, last insert id, BEGIN, the table list) the
// connection answers for its engine.
#include "app/AppError.h"
#include "db/DbEngineError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace dbserver {
class Session;
class Statement;
}

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
    // integers as integer, QByteArray as a blob, a null QVariant as NULL.
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
    QByteArray columnBlob(int column) const;  // the bytes as stored; NULL reads as empty
    bool columnIsNull(int column) const;
    int columnCount() const;
    // How many rows the statement's run returns, when the engine knows it once
    // the run began (the server sends them all at once); 0 when it does not
    // (the file steps them one by one). For reserving room for a long list.
    int rowCountHint() const;

    void finalize();

private:
    friend class DbConnection;
    explicit DbStatement(std::shared_ptr<db_detail::StatementSlot> slot);
    sqlite3_stmt* handle() const;
    dbserver::Statement& server() const;
    [[noreturn]] void throwServerError() const;
    std::shared_ptr<db_detail::StatementSlot> m_slot;
};

class DbConnection {
public:
    // Empty path: the program's database for this run (the server when the seat
    // uses one, else the file at GetDatabasePath()); a path: that file.
    explicit DbConnection(QString path = QString());
    // A connection to the server database of the connection string.
    static DbConnection ToServer(const QString& connectionString);
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

    // The id the last INSERT on this connection gave its row (on the server the
    // last value its sequence handed out).
    qint64 lastInsertRowId() const;
    int changes() const;
    // Compacts the file. On the server the server's own autovacuum does this
    // work, in the background and without locking out the other seats: nothing
    // to do here.
    void vacuum();
    // The compaction after a committed delete: best effort. A failure (the file
    // busy in another program, no room for the copy) leaves the file as it is,
    // still correct, and is not an error of the delete; false when it did not run.
    bool tryVacuum() noexcept;
    void close();
    // The SELECT (without its closing ";") with the rows it reads locked for the
    // rest of the transaction on the server ("... FOR UPDATE"), so another
    // seat's save waits for this one; on the file the transaction's write lock
    // (BEGIN IMMEDIATE) already keeps every other writer out.
    QString lockingRows(const QString& select) const;
    const QString& path() const { return m_path; }   // empty on the server
    bool isServer() const { return !m_server.isEmpty(); }
    const QString& serverConnectionString() const { return m_server; }
    // The database's own tables, in lower case on the server as it names them.
    QStringList tableNames();
    bool hasTable(const QString& name);

    // First run only: deletes any file at the path, then opens it with create.
    static DbConnection createDatabaseFile(const QString& path);

    // For the reliability tests: connections opened from now on reach the file
    // through the engine's file layer registered under this name (empty: the
    // engine's default layer).
    static void SetFileLayerName(const QByteArray& name);

private:
    friend class DbTransaction;
    friend class DbStatement;
    struct ServerTag {};
    explicit DbConnection(ServerTag);
    void open(bool create);
    sqlite3* handle() const { return m_handle.get(); }
    void begin();
    void commit();
    void rollback();
    // Runs a statement without values on the server; its command tag to tag.
    void runOnServer(const QByteArray& sql, QByteArray* tag = nullptr);
    [[noreturn]] void throwServerError() const;

    QString m_path;
    QString m_server;   // the connection string, when the database is on a server
    std::unique_ptr<sqlite3, db_detail::ConnectionCloser> m_handle;
    std::unique_ptr<dbserver::Session> m_session;
    std::vector<std::shared_ptr<db_detail::StatementSlot>> m_statements;
};

// The error of a failure the server reported, in the program's form:
// "PostgreSQL Error 42P01 - relation ... does not exist (database fennick on
// office-server)", or for a lost connection the message that says so.
DbEngineError ServerEngineError(const QString& connectionString, const dbserver::Session& session);

// True for the server's answers that mean "run the transaction again":
// serialization failure (40001) and deadlock (40P01).
bool IsTransactionConflict(const DbEngineError& error);
// The error to throw from inside DbTransaction::Run when a transaction finds
// that what it read first changed before it could lock it: retried like a
// serialization failure.
DbEngineError TransactionConflictError(const QString& what);

// "The <what> row is missing from the database.": a settings or counter row that
// a read or an update expected and did not find.
QString MissingRowMessage(const QString& what);

// Adds the program's SQL functions (STARTS_WITH_TEXT, the searches' prefix
// rule) to a connection; every DbConnection has them.
void RegisterTextFunctions(sqlite3* handle);

// Begins on construction (BEGIN IMMEDIATE on the file, so the write lock is
// taken at once; on the server a READ COMMITTED transaction, whose saves lock
// the rows they depend on: the counter, then the ledger months, then the
// record); rolled back on destruction unless committed.
class DbTransaction {
public:
    explicit DbTransaction(DbConnection& connection);

    // Runs the body in one transaction on the connection and commits it. When
    // the server ends the transaction as a deadlock or a serialization failure
    // (two seats in each other's way), the whole body runs again in a new
    // transaction, a few times, before the error is reported; the body must
    // therefore read what it depends on inside itself. Any other error rolls
    // back and is reported at once.
    static void Run(DbConnection& connection, const std::function<void()>& body);
    // How many times a body ran again since the program started (for the tests
    // and the seat trial).
    static int RetriesSoFar();

    DbTransaction(const DbTransaction&) = delete;
    DbTransaction& operator=(const DbTransaction&) = delete;
    ~DbTransaction();
    void commit();

private:
    DbConnection& m_connection;
    bool m_open = true;
};
