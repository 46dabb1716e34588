#pragma once
// The server engine plug-in, loaded on first use, and the seat's connections
// to its server: a small pool, so that an operation's connection (made for one
// operation, as on the file) does not pay for a new login each time.
#include "db/DbServerEngine.h"

#include <QString>
#include <memory>

// The plug-in's place: fennick-postgres.so in the plug-in folder (app/unitPlugin.h).
QString ServerEnginePluginPath();
// Loads the plug-in on first use; throws AppError when it is missing or unfit.
dbserver::Engine& ServerEngine();

// A connection to the server database of the string: an idle one from the pool
// when there is one (checked first when it has been idle a while), otherwise a
// new one. Throws DbEngineError (cannot connect) with ConnectFailureMessage.
std::unique_ptr<dbserver::Session> TakeServerSession(const QString& connectionString);
// Back to the pool when it is fit for reuse; otherwise closed.
void GiveBackServerSession(const QString& connectionString, std::unique_ptr<dbserver::Session> session);
// Closes the idle connections (after the schema changed, and at the end).
void CloseIdleServerSessions();
// How long a pooled connection may idle before it is checked with a round
// trip before use (ms; the tests set 0 to check every time).
void SetServerIdleCheckMs(int milliseconds);

// The time limits every server connection of this seat works under (ms).
struct TServerTimeLimits {
    int lockMs = 10000;                  // waiting for a row or table another seat holds
    int statementMs = 300000;            // one statement (a year's report on a large business included)
    int idleInTransactionMs = 60000;     // a transaction left open by a seat that vanished
};
// Takes effect for connections made from now on (the idle ones are closed).
void SetServerTimeLimits(const TServerTimeLimits& limits);

// "database fennick on office-server" from a connection string; libpq's
// defaults stand where the string is silent.
QString ServerDisplayName(const QString& connectionString);
// "Cannot connect to the database server (database fennick on office-server):
// the server refused the connection ..." and the like, by the kind of failure.
QString ConnectFailureMessage(const QString& connectionString, const dbserver::Failure& failure);
// The reason alone, in plain words.
QString ConnectFailureReason(const dbserver::Failure& failure);
