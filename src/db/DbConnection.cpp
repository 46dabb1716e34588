#include "db/DbConnection.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "db/DbEngineError.h"

#include <QFile>
#include <QThread>
#include <sqlite3.h>

namespace db_detail {

// Shared by a statement and its connection, so either may go first: whoever
// finalizes clears the handle.
struct StatementSlot {
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    void finalize()
    {
        if (stmt) {
            sqlite3_finalize(stmt);
            stmt = nullptr;
        }
    }
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

DbStatement& DbStatement::bind(int index, const QVariant& value)
{
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

void DbStatement::reset() { sqlite3_reset(handle()); }

QString DbStatement::columnText(int column) const
{
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
    sqlite3_stmt* stmt = handle();
    const unsigned char* text = sqlite3_column_text(stmt, column);
    const QUtf8StringView read(reinterpret_cast<const char*>(text), text ? sqlite3_column_bytes(stmt, column) : 0);
    if (!QAnyStringView::equal(previous, read) || (previous.isNull() != (text == nullptr)))
        previous = text ? read.toString() : QString();
    return previous;
}

QByteArrayView DbStatement::columnUtf8(int column) const
{
    sqlite3_stmt* stmt = handle();
    const unsigned char* text = sqlite3_column_text(stmt, column);
    if (!text) return QByteArrayView();
    return QByteArrayView(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt, column));
}

int DbStatement::columnInt(int column) const { return sqlite3_column_int(handle(), column); }
qint64 DbStatement::columnInt64(int column) const { return sqlite3_column_int64(handle(), column); }
double DbStatement::columnDouble(int column) const { return sqlite3_column_double(handle(), column); }
bool DbStatement::columnIsNull(int column) const { return sqlite3_column_type(handle(), column) == SQLITE_NULL; }
int DbStatement::columnCount() const { return sqlite3_column_count(handle()); }

// --------------------------------------------------------------- DbConnection

DbConnection::DbConnection(QString path) : m_path(path.isEmpty() ? GetDatabasePath() : std::move(path)) {}
DbConnection::DbConnection(DbConnection&&) noexcept = default;
DbConnection& DbConnection::operator=(DbConnection&& other) noexcept
{
    if (this != &other) {
        close();
        m_path = std::move(other.m_path);
        m_handle = std::move(other.m_handle);
        m_statements = std::move(other.m_statements);
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
    if (m_handle) return;
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
    std::erase_if(m_statements, [](const auto& s) { return s->stmt == nullptr; });
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

qint64 DbConnection::lastInsertRowId() const { return m_handle ? sqlite3_last_insert_rowid(handle()) : 0; }
int DbConnection::changes() const { return m_handle ? sqlite3_changes(handle()) : 0; }

void DbConnection::vacuum() { execute(QStringLiteral("VACUUM;")); }

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
}

// -------------------------------------------------------------- DbTransaction

DbTransaction::DbTransaction(DbConnection& connection) : m_connection(connection)
{
    m_connection.execute(QStringLiteral("BEGIN IMMEDIATE;"));
}

DbTransaction::~DbTransaction()
{
    if (!m_open) return;
    try {
        m_connection.execute(QStringLiteral("ROLLBACK;"));
    } catch (...) {
        // The engine already rolled back (or the connection is gone); nothing to undo.
    }
}

void DbTransaction::commit()
{
    m_connection.execute(QStringLiteral("COMMIT;"));
    m_open = false;
}
