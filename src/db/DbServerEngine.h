#pragma once
// The interface between the program and its database server engine. The
// engine (PostgreSQL through libpq, db/postgres/) is a plug-in that the program
// loads only when a seat uses a server, so a seat on this computer's file never
// loads the client library. Only Qt types cross this line: no exception, no
// libpq type. A call that can fail returns false (or null) and leaves the
// reason in its session's failure().
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <memory>

namespace dbserver {

// Raised whenever this header changes in a way a built plug-in would not follow.
constexpr int kInterfaceVersion = 2;

// Why a connection or a statement failed.
enum class FailureKind {
    Statement,        // the server refused the statement (SQLSTATE says why)
    ConnectionLost,   // the connection broke during work
    Refused,          // nothing listens at that address and port
    NoSuchServer,     // the host name is unknown
    Password,         // user name or password not accepted
    NoSuchDatabase,   // the server has no database of that name
    TimedOut,         // the server did not answer in time
    Other             // anything else libpq reports
};

struct Failure {
    FailureKind kind = FailureKind::Other;
    QString sqlState;   // the five-character SQLSTATE, when the server gave one
    QString message;    // the server's or the client library's text
};

// One prepared statement of a session. Values are bound by 1-based index and
// stay bound across reset(), as on the file. The first step() after a bind or a
// reset runs the statement; its rows are then read one by one.
class Statement {
public:
    virtual ~Statement() = default;
    virtual int parameterCount() const = 0;
    // index 1 to parameterCount().
    virtual void bind(int index, const QVariant& value) = 0;
    // true: a row is available; false with failed() unset: done; on failure
    // false with failed() set (the session's failure() says why).
    virtual bool step() = 0;
    virtual bool failed() const = 0;
    virtual void reset() = 0;
    // Column reads of the current row, in the file engine's conversions: NULL
    // reads as empty text and zero; a REAL reads as text the way the file
    // writes it; numbers stored as text read as the number they begin with.
    virtual QString text(int column) const = 0;
    // text(column) as UTF-8, kept until the next step or reset: a text column's
    // bytes as the server sent them, without a copy.
    virtual QByteArrayView utf8(int column) const = 0;
    virtual QByteArray bytes(int column) const = 0;
    virtual qint64 int64(int column) const = 0;
    virtual double real(int column) const = 0;
    virtual bool isNull(int column) const = 0;
    virtual int columnCount() const = 0;
    // The rows the last run returned (all are at hand once it ran).
    virtual int resultRows() const = 0;
};

// One connection to a server database.
class Session {
public:
    virtual ~Session() = default;
    // Compiles the first statement of the text (? placeholders); null on failure.
    virtual std::unique_ptr<Statement> prepare(const QString& sql) = 0;
    // Runs a statement without values or rows (BEGIN, COMMIT, ROLLBACK); the
    // command tag it answered (COMMIT answers ROLLBACK when the transaction had
    // failed) goes to tag. False on failure.
    virtual bool run(const QByteArray& sql, QByteArray* tag = nullptr) = 0;
    // Rows changed by the last INSERT, UPDATE or DELETE run on this session.
    virtual int changes() const = 0;
    virtual const Failure& failure() const = 0;
    // Connected, with no transaction left open: fit to be used again.
    virtual bool reusable() const = 0;
    virtual QString serverVersion() const = 0;
};

class Engine {
public:
    virtual ~Engine() = default;
    // Connects with libpq's connection string, adding the seat's own options
    // (time limits, keepalives, TLS for another computer: unitServerOptions.h).
    // Null on failure, with the reason in failure.
    virtual std::unique_ptr<Session> connect(const QString& connectionString, Failure& failure) = 0;
    // The keywords and values a connection string sets, as libpq reads them;
    // false with error set when it cannot be read.
    virtual bool parseConnectionString(const QString& connectionString, QList<QPair<QString, QString>>& options,
                                       QString& error) = 0;
};

} // namespace dbserver

// The plug-in's one exported function: its engine, or null when it was built
// for another version of this interface.
extern "C" {
using FennickServerEngineFunction = dbserver::Engine* (*)(int interfaceVersion);
}
#define FENNICK_SERVER_ENGINE_SYMBOL "FennickServerEngine"
