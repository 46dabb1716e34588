#pragma once
// An error the database engine reported, with its result code, so a caller can
// tell a damaged file from any other failure. The message is the program's
// "SQLite Error %d - %s".
#include "app/AppError.h"

class DbEngineError : public AppError {
public:
    DbEngineError(int code, const QString& engineMessage)
        : AppError(QStringLiteral("SQLite Error %1 - %2").arg(code).arg(engineMessage)), m_code(code)
    {
    }
    int code() const { return m_code; }
    // The file itself is damaged or is no database: SQLite's CORRUPT (11) and
    // NOTADB (26) results, extended codes included.
    bool isDamagedFile() const { return (m_code & 0xff) == 11 || (m_code & 0xff) == 26; }

private:
    int m_code;
};
