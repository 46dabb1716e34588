#include "db/DbConnection.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "db/DbServerEngine.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSqlText.h"
#include "db/DbEngineError.h"

#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <atomic>
#include <sqlite3.h>

namespace db_detail {

// Shared by a statement and its connection, so either may go first: whoever
// finalizes clears the handle.
struct StatementSlot {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    // On the server: the statement, and the connection it belongs to (for the
    // error message); both cleared when finalized.
    std::unique_ptr<dbserver::Statement> server;
    const DbConnection* connection = nullptr;
    void finalize()
    {
        if (stmt) {
            sqlite3_finalize(stmt);
            stmt = nullptr;
        }
        server.reset();
        connection = nullptr;
    }
    bool open() const { return stmt || server; }
};

void ConnectionCloser::operator()(sqlite3* handle) const { sqlite3_close_v2(handle); }

} // namespace db_detail

namespace {

constexpr int kBusyTries = 8;
constexpr unsigned long kBusyWaitMs = 10;

[[noreturn]] void throwEngineError(int code, sqlite3* db)
{
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    throw DbEngineError(code, message);
}

bool isBusy(int code) { return code == SQLITE_BUSY || code == SQLITE_LOCKED; }

QByteArray& fileLayerName()
{
    static QByteArray name;
    return name;
}

} // namespace

// ---------------------------------------------------------------- DbStatement

DbStatement::DbStatement(std::shared_ptr<db_detail::StatementSlot> slot) : m_slot(std::move(slot)) {}
DbStatement::DbStatement(DbStatement&&) noexcept = default;
DbStatement& DbStatement::operator=(DbStatement&& other) noexcept
{
    if (this != &other) {
        finalize();
        m_slot = std::move(other.m_slot);
    }
    return *this;
}
DbStatement::~DbStatement() { finalize(); }

void DbStatement::finalize()
{
    if (m_slot) m_slot->finalize();
}

sqlite3_stmt* DbStatement::handle() const
{
    if (!m_slot || !m_slot->stmt) throw AppError(QStringLiteral("SQLite Error 21 - statement is closed"));
    return m_slot->stmt;
}

dbserver::Statement& DbStatement::server() const
{
    if (!m_slot || !m_slot->server) throw AppError(QStringLiteral("The database statement is closed"));
    return *m_slot->server;
}

void DbStatement::throwServerError() const
{
    throw ServerEngineError(m_slot->connection->serverConnectionString(), *m_slot->connection->m_session);
}

// Each column read first asks whether the statement is on the file: a pointer
// test, so the file's long lists read as fast as before.
#define FENNICK_SERVER_BRANCH(call)                                      \
    if (!m_slot || !m_slot->stmt) return server().call;

DbStatement& DbStatement::bind(int index, const QVariant& value)
{
    if (!m_slot || !m_slot->stmt) {
        dbserver::Statement& statement = server();
        if (index < 1 || index > statement.parameterCount())
            throw AppError(QStringLiteral("The value %1 has no place in the statement (it takes %2)")
                               .arg(index)
                               .arg(statement.parameterCount()));
        statement.bind(index, value);
        return *this;
    }
    sqlite3_stmt* stmt = handle();
    int rc;
    if (value.isNull()) {
        rc = sqlite3_bind_null(stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(stmt, index, value.toDouble());
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(stmt, index, value.toLongLong());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK) throwEngineError(rc, m_slot->db);
    return *this;
}

DbStatement& DbStatement::bindAll(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i) bind(i + 1, values.at(i));
    return *this;
}

bool DbStatement::step()
{
    if (!m_slot || !m_slot->stmt) {
        dbserver::Statement& statement = server();
        const bool row = statement.step();
        if (statement.failed()) throwServerError();
        return row;
    }
    sqlite3_stmt* stmt = handle();
    for (int attempt = 1;; ++attempt) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE || rc == SQLITE_OK) return false;
        if (!isBusy(rc) || attempt >= kBusyTries) throwEngineError(rc, m_slot->db);
        sqlite3_reset(stmt);
        QThread::msleep(kBusyWaitMs);
    }
}

void DbStatement::reset()
{
    if (!m_slot || !m_slot->stmt) return server().reset();
    sqlite3_reset(handle());
}

QString DbStatement::columnText(int column) const
{
    FENNICK_SERVER_BRANCH(text(column))
    sqlite3_stmt* stmt = handle();
    // The file stores its text as UTF-8: reading it as such and decoding it here
    // spares the engine a conversion into a buffer of its own for every value.
    const unsigned char* text = sqlite3_column_text(stmt, column);
    if (!text) return QString();
    const int bytes = sqlite3_column_bytes(stmt, column);
    return QString::fromUtf8(reinterpret_cast<const char*>(text), bytes);
}

QString DbStatement::columnTextShared(int column, QString& previous) const
{
    if (!m_slot || !m_slot->stmt) {
        const QString read = server().text(column);
        if (read != previous || read.isNull() != previous.isNull()) previous = read;
        return previous;
    }
    sqlite3_stmt* stmt = handle();
    const unsigned char* text = sqlite3_column_text(stmt, column);
    const QUtf8StringView read(reinterpret_cast<const char*>(text), text ? sqlite3_column_bytes(stmt, column) : 0);
    if (!QAnyStringView::equal(previous, read) || (previous.isNull() != (text == nullptr)))
        previous = text ? read.toString() : QString();
    return previous;
}

QByteArrayView DbStatement::columnUtf8(int column) const
{
    FENNICK_SERVER_BRANCH(utf8(column))
    sqlite3_stmt* stmt = handle();
    const unsigned char* text = sqlite3_column_text(stmt, column);
    if (!text) return QByteArrayView();
    return QByteArrayView(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt, column));
}

int DbStatement::columnInt(int column) const
{
    // The low 32 bits, as the file's engine answers a wider integer.
    FENNICK_SERVER_BRANCH(int64(column)) // narrowed by the return type
    return sqlite3_column_int(handle(), column);
}
qint64 DbStatement::columnInt64(int column) const
{
    FENNICK_SERVER_BRANCH(int64(column))
    return sqlite3_column_int64(handle(), column);
}
double DbStatement::columnDouble(int column) const
{
    FENNICK_SERVER_BRANCH(real(column))
    return sqlite3_column_double(handle(), column);
}
QByteArray DbStatement::columnBlob(int column) const
{
    FENNICK_SERVER_BRANCH(bytes(column))
    sqlite3_stmt* stmt = handle();
    const void* data = sqlite3_column_blob(stmt, column);
    return data ? QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt, column)) : QByteArray();
}
bool DbStatement::columnIsNull(int column) const
{
    FENNICK_SERVER_BRANCH(isNull(column))
    return sqlite3_column_type(handle(), column) == SQLITE_NULL;
}
int DbStatement::rowCountHint() const
{
    if (!m_slot || !m_slot->stmt) return server().resultRows();
    return 0;
}

int DbStatement::columnCount() const
{
    FENNICK_SERVER_BRANCH(columnCount())
    return sqlite3_column_count(handle());
}

// --------------------------------------------------------------- DbConnection

DbConnection::DbConnection(QString path)
{
    if (!path.isEmpty())
        m_path = std::move(path);
    else if (UsesServer())
        m_server = ServerConnectionString();
    else
        m_path = GetDatabasePath();
}

DbConnection::DbConnection(ServerTag) {}

DbConnection DbConnection::ToServer(const QString& connectionString)
{
    DbConnection connection{ServerTag()};
    connection.m_server = connectionString;
    return connection;
}

DbConnection::DbConnection(DbConnection&& other) noexcept
    : m_path(std::move(other.m_path)),
      m_server(std::move(other.m_server)),
      m_handle(std::move(other.m_handle)),
      m_session(std::move(other.m_session)),
      m_statements(std::move(other.m_statements))
{
    // The statements name their connection in their error messages.
    for (auto& slot : m_statements)
        if (slot->server) slot->connection = this;
}

DbConnection& DbConnection::operator=(DbConnection&& other) noexcept
{
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_server = std::move(other.m_server);
        m_handle = std::move(other.m_handle);
        m_session = std::move(other.m_session);
        m_statements = std::move(other.m_statements);
        for (auto& slot : m_statements)
            if (slot->server) slot->connection = this;
    }
    return *this;
}
DbConnection::~DbConnection() { close(); }

namespace {

// STARTS_WITH_TEXT(value, prefix): 1 when the value's text begins with the
// prefix, every letter compared without case (Unicode case folding) and every
// character taken literally; NULL when either is NULL. The searches use it.
void startsWithText(sqlite3_context* context, int, sqlite3_value** args)
{
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    // Read in place: this runs once per row of a search, so nothing is copied.
    auto text = [](sqlite3_value* value) {
        const auto* data = static_cast<const char16_t*>(sqlite3_value_text16(value));
        return QStringView(data, sqlite3_value_bytes16(value) / 2);
    };
    const QStringView prefix = text(args[1]);
    const QStringView value = text(args[0]);
    // The next character (a surrogate pair read as one), case folded.
    auto foldedAt = [](QStringView view, qsizetype& i) {
        char32_t code = view[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < view.size() && view[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(view[i], view[i + 1]);
            ++i;
        }
        ++i;
        return QChar::toCaseFolded(code);
    };
    qsizetype v = 0;
    qsizetype p = 0;
    bool matches = true;
    while (matches && p < prefix.size())
        matches = v < value.size() && foldedAt(value, v) == foldedAt(prefix, p);
    sqlite3_result_int(context, matches ? 1 : 0);
}

} // namespace

void RegisterTextFunctions(sqlite3* handle)
{
    sqlite3_create_function_v2(handle, "STARTS_WITH_TEXT", 2, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                               startsWithText, nullptr, nullptr, nullptr);
}


void DbConnection::open(bool create)
{
    if (m_handle || m_session) return;
    if (isServer()) {
        m_session = TakeServerSession(m_server);
        return;
    }
    const QString cannotOpen = QStringLiteral("Cannot open file %1").arg(m_path);
    if (!create && !QFile::exists(m_path)) throw AppError(cannotOpen);
    sqlite3* raw = nullptr;
    // Each connection is made and used by one thread, so SQLite's own locking
    // around every call (a fifth of a long list's read time) is not needed.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    const QByteArray& layer = fileLayerName();
    const int rc =
        sqlite3_open_v2(m_path.toUtf8().constData(), &raw, flags, layer.isEmpty() ? nullptr : layer.constData());
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(raw);
        throw AppError(create ? QStringLiteral("Cannot create file %1").arg(m_path) : cannotOpen);
    }
    m_handle.reset(raw);
    RegisterTextFunctions(raw);
}

DbConnection DbConnection::createDatabaseFile(const QString& path)
{
    if (QFile::exists(path) && !QFile::remove(path))
        throw AppError(QStringLiteral("Cannot create file %1").arg(path));
    // The file is made empty and readable by its owner only before the engine
    // opens it (it holds the mail password); the engine's journal takes the
    // same permissions.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw AppError(QStringLiteral("Cannot create file %1").arg(path));
    file.close();
    DbConnection connection(path);
    connection.open(true);
    return connection;
}

void DbConnection::SetFileLayerName(const QByteArray& name) { fileLayerName() = name; }

DbStatement DbConnection::prepare(const QString& sql)
{
    open(false);
    if (m_session) {
        if (IsEmptyStatement(sql)) throw AppError(QStringLiteral("Empty SQL Statement"));
        std::unique_ptr<dbserver::Statement> statement = m_session->prepare(sql);
        if (!statement) throwServerError();
        auto slot = std::make_shared<db_detail::StatementSlot>();
        slot->server = std::move(statement);
        slot->connection = this;
        std::erase_if(m_statements, [](const auto& s) { return !s->open(); });
        m_statements.push_back(slot);
        return DbStatement(std::move(slot));
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    for (int attempt = 1;; ++attempt) {
        const int rc = sqlite3_prepare_v2(handle(), utf8.constData(), int(utf8.size()) + 1, &stmt, nullptr);
        if (rc == SQLITE_OK) break;
        if (!isBusy(rc) || attempt >= kBusyTries) throwEngineError(rc, handle());
        QThread::msleep(kBusyWaitMs);
    }
    if (!stmt) throw AppError(QStringLiteral("Empty SQL Statement"));
    auto slot = std::make_shared<db_detail::StatementSlot>();
    slot->db = handle();
    slot->stmt = stmt;
    // Forget slots whose statements are already finalized, so the list stays short.
    std::erase_if(m_statements, [](const auto& s) { return !s->open(); });
    m_statements.push_back(slot);
    return DbStatement(std::move(slot));
}

DbStatement DbConnection::prepare(const QString& sql, const QVariantList& values)
{
    DbStatement statement = prepare(sql);
    statement.bindAll(values);
    return statement;
}

void DbConnection::execute(const QString& sql, const QVariantList& values)
{
    DbStatement statement = prepare(sql, values);
    statement.step();
}

void DbConnection::executeOnRow(const QString& sql, const QVariantList& values, const QString& missingMessage)
{
    execute(sql, values);
    if (changes() == 0) throw AppError(missingMessage);
}

QString MissingRowMessage(const QString& what)
{
    return QStringLiteral("The %1 row is missing from the database.").arg(what);
}

int DbConnection::countRows(const QString& sql, const QVariantList& values)
{
    DbStatement statement = prepare(sql, values);
    int rows = 0;
    while (statement.step()) ++rows;
    return rows;
}

qint64 DbConnection::lastInsertRowId() const
{
    if (!m_session) return m_handle ? sqlite3_last_insert_rowid(handle()) : 0;
    // The sequence behind the id column handed out the id: lastval() is that
    // value, for this connection alone.
    std::unique_ptr<dbserver::Statement> read = m_session->prepare(QStringLiteral("SELECT lastval()"));
    if (!read) throwServerError();
    const bool row = read->step();
    if (read->failed()) throwServerError();
    return row ? read->int64(0) : 0;
}

int DbConnection::changes() const
{
    if (m_session) return m_session->changes();
    return m_handle ? sqlite3_changes(handle()) : 0;
}

void DbConnection::vacuum()
{
    if (isServer()) return;
    execute(QStringLiteral("VACUUM;"));
}

QStringList DbConnection::tableNames()
{
    DbStatement read = prepare(isServer() ? QStringLiteral("SELECT table_name FROM information_schema.tables "
                                                           "WHERE table_schema = current_schema() "
                                                           "AND table_type = 'BASE TABLE' ORDER BY table_name;")
                                          : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                           "AND name NOT LIKE 'sqlite%' ORDER BY name;"));
    QStringList names;
    while (read.step()) names << read.columnText(0);
    return names;
}

bool DbConnection::hasTable(const QString& name)
{
    // Unquoted names are folded to lower case by the server.
    const QString stored = isServer() ? name.toLower() : name;
    return tableNames().contains(stored, isServer() ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

QString DbConnection::lockingRows(const QString& select) const
{
    return isServer() ? select + QStringLiteral(" FOR UPDATE;") : select + QLatin1Char(';');
}

void DbConnection::begin()
{
    if (!isServer()) return execute(QStringLiteral("BEGIN IMMEDIATE;"));
    open(false);
    // Named, so a server whose default isolation was changed still works as the
    // saves expect: each statement sees what is committed, the locks order the rest.
    runOnServer("BEGIN ISOLATION LEVEL READ COMMITTED");
}

void DbConnection::commit()
{
    if (!isServer()) return execute(QStringLiteral("COMMIT;"));
    QByteArray tag;
    runOnServer("COMMIT", &tag);
    // A transaction in which a statement failed ends in a rollback, also when
    // asked to commit: that must not pass as saved.
    if (tag != "COMMIT")
        throw DbEngineError(QStringLiteral("The changes were not saved: the database server (%1) rolled them back")
                                .arg(ServerDisplayName(m_server)));
}

void DbConnection::rollback()
{
    if (!isServer()) return execute(QStringLiteral("ROLLBACK;"));
    if (m_session) runOnServer("ROLLBACK");
}

void DbConnection::runOnServer(const QByteArray& sql, QByteArray* tag)
{
    open(false);
    if (!m_session->run(sql, tag)) throwServerError();
}

void DbConnection::throwServerError() const { throw ServerEngineError(m_server, *m_session); }

DbEngineError ServerEngineError(const QString& connectionString, const dbserver::Session& session)
{
    const dbserver::Failure& failure = session.failure();
    const QString where = ServerDisplayName(connectionString);
    if (failure.kind == dbserver::FailureKind::ConnectionLost)
        return DbEngineError(QStringLiteral("The connection to the database server (%1) was lost: %2. What you typed "
                                            "is still on the screen, and the next action connects again")
                                 .arg(where, failure.message),
                             DbFailure::ConnectionLost, failure.sqlState);
    return DbEngineError(QStringLiteral("PostgreSQL Error %1 - %2 (%3)").arg(failure.sqlState, failure.message, where),
                         DbFailure::Statement, failure.sqlState);
}

bool DbConnection::tryVacuum() noexcept
{
    try {
        vacuum();
        return true;
    } catch (...) {
        return false;
    }
}

void DbConnection::close()
{
    for (auto& slot : m_statements) slot->finalize();
    m_statements.clear();
    m_handle.reset();
    // A server connection goes back to the seat's pool (when it is fit for it).
    if (m_session) GiveBackServerSession(m_server, std::move(m_session));
}

// -------------------------------------------------------------- DbTransaction

DbTransaction::DbTransaction(DbConnection& connection) : m_connection(connection) { m_connection.begin(); }

DbTransaction::~DbTransaction()
{
    if (!m_open) return;
    try {
        m_connection.rollback();
    } catch (...) {
        // The engine already rolled back (or the connection is gone); nothing to undo.
    }
}

void DbTransaction::commit()
{
    m_connection.commit();
    m_open = false;
}

namespace {

constexpr int kTransactionTries = 5;
std::atomic<int> transactionRetries{0};

} // namespace

bool IsTransactionConflict(const DbEngineError& error)
{
    return error.sqlState() == QLatin1String("40001") || error.sqlState() == QLatin1String("40P01");
}

DbEngineError TransactionConflictError(const QString& what)
{
    return DbEngineError(QStringLiteral("%1 changed while it was being saved; try again").arg(what),
                         DbFailure::Statement, QStringLiteral("40001"));
}

void DbTransaction::Run(DbConnection& connection, const std::function<void()>& body)
{
    for (int attempt = 1;; ++attempt) {
        try {
            DbTransaction transaction(connection);
            body();
            transaction.commit();
            return;
        } catch (const DbEngineError& error) {
            if (!IsTransactionConflict(error) || attempt >= kTransactionTries) throw;
        }
        ++transactionRetries;
        // The seats that met are spread out a little, so they do not meet again at once.
        QThread::msleep(5UL * unsigned(attempt) + QRandomGenerator::global()->bounded(10U));
    }
}

int DbTransaction::RetriesSoFar() { return transactionRetries.load(); }
