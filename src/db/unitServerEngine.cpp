#include "db/unitServerEngine.h"

#include "app/AppError.h"
#include "app/unitPlugin.h"
#include "db/DbConnection.h"
#include "db/unitServerOptions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <mutex>
#include <vector>

namespace {

TServerTimeLimits& serverTimeLimits()
{
    static TServerTimeLimits limits;
    return limits;
}

struct IdleSession {
    QString connectionString;
    std::unique_ptr<dbserver::Session> session;
    QElapsedTimer idle;
};

constexpr std::size_t kPoolSize = 4;

std::mutex& poolMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<IdleSession>& pool()
{
    static std::vector<IdleSession> sessions;
    return sessions;
}

int& idleCheckMs()
{
    static int ms = 2000;
    return ms;
}

const TPluginInfo kServerEnginePlugin{"fennick-postgres.so", FENNICK_SERVER_ENGINE_SYMBOL, dbserver::kInterfaceVersion,
                                      "database server support"};

} // namespace

QString ServerEnginePluginPath() { return PluginPath(QString::fromLatin1(kServerEnginePlugin.fileName)); }

dbserver::Engine& ServerEngine()
{
    // Loaded once, also when two threads ask at once; a failed load is tried again next time.
    static dbserver::Engine& engine = LoadPlugin<dbserver::Engine>(kServerEnginePlugin);
    return engine;
}

std::unique_ptr<dbserver::Session> TakeServerSession(const QString& connectionString)
{
    for (;;) {
        IdleSession taken;
        {
            std::lock_guard<std::mutex> lock(poolMutex());
            auto& sessions = pool();
            auto found = std::find_if(sessions.rbegin(), sessions.rend(),
                                      [&](const IdleSession& s) { return s.connectionString == connectionString; });
            if (found == sessions.rend()) break;
            taken = std::move(*found);
            sessions.erase(std::next(found).base());
        }
        // A connection that idled a while may have been dropped by the server or
        // the network: one round trip tells, and a dead one is replaced quietly.
        if (taken.idle.elapsed() < idleCheckMs() || taken.session->run(QByteArray())) return std::move(taken.session);
    }
    dbserver::Failure failure;
    std::unique_ptr<dbserver::Session> session = ServerEngine().connect(connectionString, failure);
    if (!session) throw DbEngineError(ConnectFailureMessage(connectionString, failure), DbFailure::CannotConnect);
    // No seat waits for ever: a row another seat holds is given up after the
    // lock limit, a statement after the statement limit, and the server ends
    // the open transaction of a seat that vanished (a laptop closed mid-save).
    // Every statement is planned for the values it runs with: under the one
    // plan for any values that the server otherwise falls back to after a few
    // runs, a search folded its typed text again on every row it looked at.
    const TServerTimeLimits& limits = serverTimeLimits();
    const QByteArray settings = QStringLiteral("SET lock_timeout = %1; SET statement_timeout = %2; "
                                               "SET idle_in_transaction_session_timeout = %3; "
                                               "SET plan_cache_mode = force_custom_plan;")
                                    .arg(limits.lockMs)
                                    .arg(limits.statementMs)
                                    .arg(limits.idleInTransactionMs)
                                    .toLatin1();
    if (!session->run(settings))
        throw DbEngineError(ConnectFailureMessage(connectionString, session->failure()), DbFailure::CannotConnect);
    return session;
}

void SetServerTimeLimits(const TServerTimeLimits& limits)
{
    serverTimeLimits() = limits;
    CloseIdleServerSessions();
}

void GiveBackServerSession(const QString& connectionString, std::unique_ptr<dbserver::Session> session)
{
    if (!session || !session->reusable()) return;
    std::lock_guard<std::mutex> lock(poolMutex());
    auto& sessions = pool();
    if (sessions.size() >= kPoolSize) sessions.erase(sessions.begin());
    IdleSession idle{connectionString, std::move(session), QElapsedTimer()};
    idle.idle.start();
    sessions.push_back(std::move(idle));
}

void CloseIdleServerSessions()
{
    std::vector<IdleSession> closing;
    {
        std::lock_guard<std::mutex> lock(poolMutex());
        closing.swap(pool());
    }
}

void SetServerIdleCheckMs(int milliseconds) { idleCheckMs() = milliseconds; }

QString ServerDisplayName(const QString& connectionString)
{
    QString host, hostaddr, port, database, user, service;
    TConnectionOptions options;
    QString error;
    try {
        if (ServerEngine().parseConnectionString(connectionString, options, error)) {
            for (const auto& [keyword, value] : options) {
                if (keyword == QLatin1String("host")) host = value;
                if (keyword == QLatin1String("hostaddr")) hostaddr = value;
                if (keyword == QLatin1String("port")) port = value;
                if (keyword == QLatin1String("dbname")) database = value;
                if (keyword == QLatin1String("user")) user = value;
                if (keyword == QLatin1String("service")) service = value;
            }
        }
    } catch (const AppError&) {
        // Without the plug-in the string itself is the best name there is.
        return connectionString;
    }
    if (host.isEmpty()) host = hostaddr.isEmpty() ? qEnvironmentVariable("PGHOST") : hostaddr;
    if (database.isEmpty()) database = qEnvironmentVariable("PGDATABASE");
    if (host.isEmpty() && database.isEmpty() && !service.isEmpty())
        return QStringLiteral("service %1").arg(service);
    if (database.isEmpty()) database = user.isEmpty() ? qEnvironmentVariable("USER") : user;
    const QString where = host.isEmpty() || host.startsWith(QLatin1Char('/')) ? QStringLiteral("this computer") : host;
    return QStringLiteral("database %1 on %2%3")
        .arg(database, where, port.isEmpty() ? QString() : QStringLiteral(" port ") + port);
}

QString ConnectFailureReason(const dbserver::Failure& failure)
{
    using dbserver::FailureKind;
    switch (failure.kind) {
    case FailureKind::Refused:
        return QStringLiteral("the server refused the connection (is the database server running there, and on "
                              "this port?)");
    case FailureKind::NoSuchServer: return QStringLiteral("no computer of that name was found");
    case FailureKind::Password: return QStringLiteral("the user name or password was not accepted");
    case FailureKind::NoSuchDatabase: return QStringLiteral("the server has no database of that name");
    case FailureKind::TimedOut: return QStringLiteral("the server did not answer in time");
    default: return failure.message;
    }
}

QString ConnectFailureMessage(const QString& connectionString, const dbserver::Failure& failure)
{
    return QStringLiteral("Cannot connect to the database server (%1): %2")
        .arg(ServerDisplayName(connectionString), ConnectFailureReason(failure));
}
