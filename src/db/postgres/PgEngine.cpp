// The database server engine: PostgreSQL through libpq. Built as a plug-in of
// its own (fennick-postgres.so) and loaded by db/unitServerEngine only when a
// seat uses a server, so the program on this computer's file never loads libpq.
//
// Statements are prepared on the server once per connection and kept there by
// their text; their parameter types, asked once, decide how each value is
// sent, so a text stored in a bytea column travels as its bytes and a REAL
// bound to a text column is stored in the file's text form. Results come as
// text and are read with the file's conversions (dbserver::Statement).
#include "db/DbServerEngine.h"
#include "db/unitServerOptions.h"
#include "db/unitServerSqlText.h"

#include <QHash>
#include <QLocale>
#include <QStringList>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <libpq-fe.h>
#include <vector>

namespace {

using namespace dbserver;

// The type oids the program meets (PostgreSQL's pg_type catalogue).
constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

bool isIntegerType(Oid type) { return type == kInt8 || type == kInt2 || type == kInt4 || type == kOid; }
bool isRealType(Oid type) { return type == kFloat4 || type == kFloat8 || type == kNumeric; }

// libpq's messages end in a line break and may run over several lines.
QString oneLine(const char* text)
{
    QStringList lines = QString::fromUtf8(text ? text : "").split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines) line = line.simplified();
    return lines.join(QLatin1Char(' '));
}

QByteArray decodeBytea(const char* text, int length)
{
    if (length >= 2 && text[0] == '\\' && text[1] == 'x')
        return QByteArray::fromHex(QByteArray::fromRawData(text + 2, length - 2));
    std::size_t size = 0;
    unsigned char* raw = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
    if (!raw) return QByteArray();
    QByteArray bytes(reinterpret_cast<const char*>(raw), qsizetype(size));
    PQfreemem(raw);
    return bytes;
}

struct Prepared {
    QByteArray name;
    std::vector<Oid> parameterTypes;
};

class PgSession;

class PgStatement final : public Statement {
public:
    PgStatement(PgSession& session, std::shared_ptr<const Prepared> prepared);
    ~PgStatement() override { clear(); }

    int parameterCount() const override { return int(m_values.size()); }
    void bind(int index, const QVariant& value) override;
    bool step() override;
    bool failed() const override { return m_failed; }
    void reset() override
    {
        clear();
        m_failed = false;
    }
    QString text(int column) const override;
    QByteArrayView utf8(int column) const override;
    QByteArray bytes(int column) const override;
    qint64 int64(int column) const override;
    double real(int column) const override;
    bool isNull(int column) const override { return value(column) == nullptr; }
    int columnCount() const override { return int(m_types.size()); }
    int resultRows() const override { return m_rows; }

private:
    void clear()
    {
        if (m_result) PQclear(m_result);
        m_result = nullptr;
        m_row = -1;
        m_rows = 0;
        m_ran = false;
        m_types.clear();
    }
    // The current row's value in the column, or null for NULL, no row or no column.
    const char* value(int column) const
    {
        if (m_row < 0 || m_row >= m_rows || column < 0 || column >= int(m_types.size())) return nullptr;
        if (PQgetisnull(m_result, m_row, column)) return nullptr;
        return PQgetvalue(m_result, m_row, column);
    }
    int length(int column) const { return PQgetlength(m_result, m_row, column); }
    Oid type(int column) const { return m_types[std::size_t(column)]; }

    PgSession& m_session;
    std::shared_ptr<const Prepared> m_prepared;
    std::vector<QByteArray> m_values;
    std::vector<char> m_isNull;
    std::vector<int> m_formats;
    PGresult* m_result = nullptr;
    std::vector<Oid> m_types;   // of the result's columns, read once per run
    mutable std::vector<QByteArray> m_converted;   // utf8() of columns read in another form
    int m_row = -1;
    int m_rows = 0;
    bool m_ran = false;
    bool m_failed = false;
};

class PgSession final : public Session {
public:
    explicit PgSession(PGconn* connection) : m_connection(connection)
    {
        // Server notices ("... does not exist, skipping") are not the user's business.
        PQsetNoticeProcessor(m_connection, [](void*, const char*) {}, nullptr);
    }
    ~PgSession() override { PQfinish(m_connection); }

    std::unique_ptr<Statement> prepare(const QString& sql) override
    {
        std::shared_ptr<const Prepared> prepared = m_prepared.value(sql);
        if (!prepared) {
            prepared = prepareOnServer(sql);
            if (!prepared) return nullptr;
            m_prepared.insert(sql, prepared);
        }
        return std::make_unique<PgStatement>(*this, std::move(prepared));
    }

    bool run(const QByteArray& sql, QByteArray* tag) override
    {
        PGresult* result = PQexec(m_connection, sql.constData());
        const ExecStatusType status = PQresultStatus(result);
        const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY;
        if (ok && tag) *tag = QByteArray(PQcmdStatus(result));
        if (!ok) failFrom(result);
        PQclear(result);
        return ok;
    }

    int changes() const override { return m_changes; }
    const Failure& failure() const override { return m_failure; }
    bool reusable() const override
    {
        // A connection that prepared an unusual number of texts is let go, and
        // its prepared statements with it.
        return PQstatus(m_connection) == CONNECTION_OK && PQtransactionStatus(m_connection) == PQTRANS_IDLE
               && m_prepared.size() < 2000;
    }
    QString serverVersion() const override
    {
        return QString::fromUtf8(PQparameterStatus(m_connection, "server_version"));
    }

    PGconn* connection() const { return m_connection; }
    void noteResult(const PGresult* result)
    {
        const char* status = PQcmdStatus(const_cast<PGresult*>(result));
        if (std::strncmp(status, "INSERT", 6) == 0 || std::strncmp(status, "UPDATE", 6) == 0
            || std::strncmp(status, "DELETE", 6) == 0)
            m_changes = std::atoi(PQcmdTuples(const_cast<PGresult*>(result)));
    }
    void failFrom(const PGresult* result)
    {
        m_failure = Failure();
        if (PQstatus(m_connection) != CONNECTION_OK) {
            m_failure.kind = FailureKind::ConnectionLost;
            m_failure.message = oneLine(PQerrorMessage(m_connection));
            return;
        }
        const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
        const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
        m_failure.sqlState = QString::fromLatin1(state ? state : "");
        m_failure.message = primary ? QString::fromUtf8(primary) : oneLine(PQerrorMessage(m_connection));
        // Class 08 (connection exception) and the server shutting the session down.
        const bool lost = m_failure.sqlState.startsWith(QStringLiteral("08")) || m_failure.sqlState == QStringLiteral("57P01")
                          || m_failure.sqlState == QStringLiteral("57P02") || m_failure.sqlState == QStringLiteral("57P03");
        m_failure.kind = lost ? FailureKind::ConnectionLost : FailureKind::Statement;
    }

private:
    std::shared_ptr<const Prepared> prepareOnServer(const QString& sql)
    {
        auto prepared = std::make_shared<Prepared>();
        prepared->name = "fennick_" + QByteArray::number(++m_lastName);
        const QByteArray text = NumberPlaceholders(sql);
        PGresult* result = PQprepare(m_connection, prepared->name.constData(), text.constData(), 0, nullptr);
        if (PQresultStatus(result) != PGRES_COMMAND_OK) {
            failFrom(result);
            PQclear(result);
            return nullptr;
        }
        PQclear(result);
        result = PQdescribePrepared(m_connection, prepared->name.constData());
        if (PQresultStatus(result) != PGRES_COMMAND_OK) {
            failFrom(result);
            PQclear(result);
            return nullptr;
        }
        for (int i = 0; i < PQnparams(result); ++i) prepared->parameterTypes.push_back(PQparamtype(result, i));
        PQclear(result);
        return prepared;
    }

    PGconn* m_connection;
    QHash<QString, std::shared_ptr<const Prepared>> m_prepared;
    qint64 m_lastName = 0;
    int m_changes = 0;
    Failure m_failure;
};

PgStatement::PgStatement(PgSession& session, std::shared_ptr<const Prepared> prepared)
    : m_session(session), m_prepared(std::move(prepared))
{
    const std::size_t count = m_prepared->parameterTypes.size();
    m_values.resize(count);
    m_isNull.assign(count, 1);   // an unbound value is NULL, as on the file
    m_formats.assign(count, 0);
}

void PgStatement::bind(int index, const QVariant& value)
{
    if (index < 1 || std::size_t(index) > m_values.size()) return;
    const std::size_t i = std::size_t(index - 1);
    const Oid target = m_prepared->parameterTypes[i];
    m_isNull[i] = value.isNull() ? 1 : 0;
    m_formats[i] = target == kBytea ? 1 : 0;   // bytea takes the bytes as they are
    if (m_isNull[i]) return;
    QByteArray& out = m_values[i];
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        // A double precision takes the shortest text that reads back as the
        // same double (quicker to write than 17 digits, the same value stored).
        if (target == kFloat8)
            out = QByteArray::number(number, 'g', QLocale::FloatingPointShortest);
        else if (isRealType(target))
            out = QByteArray::number(number, 'g', 17);
        else if (isIntegerType(target) && number == std::floor(number) && std::fabs(number) < 9.2e18)
            out = QByteArray::number(qint64(number));
        else
            out = RealAsStoredText(number).toUtf8();   // a text column keeps a REAL as the file writes it
        break;
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort: out = QByteArray::number(value.toLongLong()); break;
    case QMetaType::QByteArray: out = value.toByteArray(); break;
    default: out = value.toString().toUtf8();
    }
    if (target == kBool && !m_isNull[i]) out = (out == "0" || out.isEmpty()) ? "f" : "t";
}

bool PgStatement::step()
{
    if (!m_ran) {
        m_ran = true;
        const std::size_t count = m_values.size();
        std::vector<const char*> values(count);
        std::vector<int> lengths(count);
        for (std::size_t i = 0; i < count; ++i) {
            values[i] = m_isNull[i] ? nullptr : m_values[i].constData();
            lengths[i] = int(m_values[i].size());
        }
        m_result = PQexecPrepared(m_session.connection(), m_prepared->name.constData(), int(count), values.data(),
                                  lengths.data(), m_formats.data(), 0);
        const ExecStatusType status = PQresultStatus(m_result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_EMPTY_QUERY) {
            m_session.failFrom(m_result);
            PQclear(m_result);
            m_result = nullptr;
            m_failed = true;
            return false;
        }
        m_session.noteResult(m_result);
        m_rows = status == PGRES_TUPLES_OK ? PQntuples(m_result) : 0;
        m_types.resize(std::size_t(PQnfields(m_result)));
        for (std::size_t c = 0; c < m_types.size(); ++c) m_types[c] = PQftype(m_result, int(c));
        m_row = -1;
    }
    if (m_row + 1 < m_rows) {
        ++m_row;
        return true;
    }
    m_row = m_rows;
    return false;
}

QString PgStatement::text(int column) const
{
    const char* v = value(column);
    if (!v) return QString();
    const Oid t = type(column);
    if (t == kBytea) return QString::fromUtf8(decodeBytea(v, length(column)));
    if (isRealType(t)) return RealAsStoredText(v, length(column));
    return QString::fromUtf8(v, length(column));
}

QByteArrayView PgStatement::utf8(int column) const
{
    const char* v = value(column);
    if (!v) return QByteArrayView();
    const Oid t = type(column);
    if (t != kBytea && !isRealType(t)) return QByteArrayView(v, length(column));
    // A REAL in the file's form, a bytea decoded: kept until the column is read again.
    if (m_converted.size() <= std::size_t(column)) m_converted.resize(std::size_t(column) + 1);
    QByteArray& kept = m_converted[std::size_t(column)];
    if (t == kBytea)
        kept = text(column).toUtf8();
    else
        RealAsStoredUtf8(v, length(column), kept);
    return QByteArrayView(kept);
}

QByteArray PgStatement::bytes(int column) const
{
    const char* v = value(column);
    if (!v) return QByteArray();
    if (type(column) == kBytea) return decodeBytea(v, length(column));
    return QByteArray(v, length(column));
}

qint64 PgStatement::int64(int column) const
{
    const char* v = value(column);
    if (!v) return 0;
    const Oid t = type(column);
    if (isIntegerType(t)) return std::strtoll(v, nullptr, 10);
    if (isRealType(t)) {
        const double number = ServerNumber(v, length(column));
        if (number >= 9.2233720368547758e18) return std::numeric_limits<qint64>::max();
        if (number <= -9.2233720368547758e18) return std::numeric_limits<qint64>::min();
        return qint64(number);
    }
    if (t == kBytea) {
        const QByteArray raw = decodeBytea(v, length(column));
        return LeadingInteger(raw.constData(), int(raw.size()));
    }
    return LeadingInteger(v, length(column));
}

double PgStatement::real(int column) const
{
    const char* v = value(column);
    if (!v) return 0.0;
    const Oid t = type(column);
    if (isIntegerType(t) || isRealType(t)) return ServerNumber(v, length(column));
    if (t == kBytea) {
        const QByteArray raw = decodeBytea(v, length(column));
        return LeadingReal(raw.constData(), int(raw.size()));
    }
    return LeadingReal(v, length(column));
}

class PgEngine final : public Engine {
public:
    std::unique_ptr<Session> connect(const QString& connectionString, Failure& failure) override
    {
        TConnectionOptions given;
        QString error;
        if (!parseConnectionString(connectionString, given, error)) {
            failure = Failure{FailureKind::Other, QString(), error};
            return nullptr;
        }
        // What libpq takes from the environment where the string is silent.
        auto fromEnvironment = [&given](const char* keyword, const char* variable) {
            for (const auto& option : given)
                if (option.first == QLatin1String(keyword)) return;
            if (qEnvironmentVariableIsSet(variable))
                given.append({QString::fromLatin1(keyword), qEnvironmentVariable(variable)});
        };
        fromEnvironment("host", "PGHOST");
        fromEnvironment("hostaddr", "PGHOSTADDR");
        fromEnvironment("sslmode", "PGSSLMODE");
        const TServerOptions options = ServerConnectionOptions(given);

        // Keywords are read in order and a later one wins: the seat's defaults,
        // then the string itself (expanded from dbname), then what the seat insists on.
        std::vector<QByteArray> storage;
        auto add = [&storage](const QString& keyword, const QString& value) {
            storage.push_back(keyword.toUtf8());
            storage.push_back(value.toUtf8());
        };
        for (const auto& [keyword, value] : options.defaults) add(keyword, value);
        add(QStringLiteral("dbname"), connectionString);
        for (const auto& [keyword, value] : options.required) add(keyword, value);
        std::vector<const char*> keywords;
        std::vector<const char*> values;
        for (std::size_t i = 0; i < storage.size(); i += 2) {
            keywords.push_back(storage[i].constData());
            values.push_back(storage[i + 1].constData());
        }
        keywords.push_back(nullptr);
        values.push_back(nullptr);

        PGconn* connection = PQconnectdbParams(keywords.data(), values.data(), 1);
        if (!connection) {
            failure = Failure{FailureKind::Other, QString(), QStringLiteral("out of memory")};
            return nullptr;
        }
        if (PQstatus(connection) != CONNECTION_OK) {
            failure = ConnectFailureFromMessage(oneLine(PQerrorMessage(connection)));
            PQfinish(connection);
            return nullptr;
        }
        return std::make_unique<PgSession>(connection);
    }

    bool parseConnectionString(const QString& connectionString, TConnectionOptions& options, QString& error) override
    {
        char* message = nullptr;
        PQconninfoOption* parsed = PQconninfoParse(connectionString.toUtf8().constData(), &message);
        if (!parsed) {
            error = message ? oneLine(message) : QStringLiteral("out of memory");
            if (message) PQfreemem(message);
            return false;
        }
        options.clear();
        for (PQconninfoOption* option = parsed; option->keyword; ++option)
            if (option->val) options.append({QString::fromUtf8(option->keyword), QString::fromUtf8(option->val)});
        PQconninfoFree(parsed);
        return true;
    }
};

} // namespace

extern "C" Q_DECL_EXPORT dbserver::Engine* FennickServerEngine(int interfaceVersion)
{
    if (interfaceVersion != dbserver::kInterfaceVersion) return nullptr;
    static PgEngine engine;
    return &engine;
}
