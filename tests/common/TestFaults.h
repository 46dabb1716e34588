#pragma once
// Faults a test puts into the program's database, on whichever engine the
// test program runs (common/TestServer.h): a write refused by a trigger, or
// every write refused for a while.
#include "db/DbConnection.h"

#include <QString>
#include <QStringList>
#include <optional>

// The statements of a trigger that refuses the event ("INSERT", "UPDATE",
// "DELETE") on the table with the message, when the condition (on NEW or OLD;
// empty: always) holds.
QStringList FailingTriggerStatements(const QString& name, const QString& event, const QString& table,
                                     const QString& condition, const QString& message);
void AddFailingTrigger(const QString& name, const QString& event, const QString& table, const QString& condition,
                       const QString& message);

// While it lives, every write to the program's database fails with "database
// is locked": on the file another connection holds the write lock, so the
// program's busy retry gives up; on the server a trigger on every table
// refuses the write in the same words.
class TWritesRefused {
public:
    TWritesRefused();
    ~TWritesRefused();
    TWritesRefused(const TWritesRefused&) = delete;
    TWritesRefused& operator=(const TWritesRefused&) = delete;

private:
    std::optional<DbConnection> m_locker;
    QStringList m_tables;
};
