#pragma once
// The options a seat adds to the connection string it is given, so that a lost
// network never freezes the window for long and another computer is never
// reached without TLS. Plain functions, shared by the program and the server
// engine plug-in.
#include "db/DbServerEngine.h"

#include <QList>
#include <QPair>
#include <QString>

using TConnectionOptions = QList<QPair<QString, QString>>;

// True for a host on this computer: empty (libpq's local socket), a socket
// folder, "localhost", or a loopback address.
bool IsThisComputer(const QString& host);

// given: what the connection string (and libpq's PGHOST, PGHOSTADDR and
// PGSSLMODE) set. The answer has two parts: defaults that the connection string
// may override (a connection time limit, TCP keepalives and a send time limit,
// UTF-8, the program's name), and what the seat insists on: "sslmode=require"
// when any host is another computer and the string asks for less.
struct TServerOptions {
    TConnectionOptions defaults;
    TConnectionOptions required;
};
TServerOptions ServerConnectionOptions(const TConnectionOptions& given);

// A connection string made of keywords and values, each value quoted the way
// libpq reads it ('...' with \' and \\), empty values left out.
QString BuildConnectionString(const TConnectionOptions& options);

// What a failed connection attempt was, from libpq's message (libpq gives no
// code for it): refused, no such server, password, no such database, time-out.
dbserver::Failure ConnectFailureFromMessage(const QString& message);
