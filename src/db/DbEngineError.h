#pragma once
// An error the database engine reported, with the program's message. On this
// computer's file it carries SQLite's result code, so a caller can tell a
// damaged file from any other failure ("SQLite Error %d - %s"); on a server it
// carries the SQLSTATE and the kind of failure, so a caller can tell a passing
// conflict or a lost connection from a fault.
#include "app/AppError.h"

// What kind of engine failure an error is.
enum class DbFailure { Statement, ConnectionLost, CannotConnect };

class DbEngineError : public AppError {
public:
    // The file's engine and its result code.
    DbEngineError(int code, const QString& engineMessage)
        : AppError(QStringLiteral("SQLite Error %1 - %2").arg(code).arg(engineMessage)), m_code(code)
    {
    }
    // The server's, with the message already written.
    explicit DbEngineError(const QString& message, DbFailure failure = DbFailure::Statement,
                           QString sqlState = QString())
        : AppError(message), m_failure(failure), m_sqlState(std::move(sqlState))
    {
    }
    int code() const { return m_code; }   // 0 on a server
    // The file itself is damaged or is no database: SQLite's CORRUPT (11) and
    // NOTADB (26) results, extended codes included.
    bool isDamagedFile() const { return (m_code & 0xff) == 11 || (m_code & 0xff) == 26; }
    DbFailure failure() const { return m_failure; }
    const QString& sqlState() const { return m_sqlState; }

private:
    int m_code = 0;
    DbFailure m_failure = DbFailure::Statement;
    QString m_sqlState;
};
