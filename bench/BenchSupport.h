#pragma once
// What the list benchmarks share: the median of timed runs, the raw SELECT
// they are measured against, and the printed ratio line.
#include "app/unitAppInfo.h"
#include "db/DbConnection.h"

#include <QElapsedTimer>
#include <QString>
#include <QVariantList>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

// The median of five runs of work; prepare runs before each, untimed.
inline double MedianMs(const std::function<void()>& work, const std::function<void()>& prepare = {})
{
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        if (prepare) prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Steps the statement through the engine alone (with the program's SQL
// functions, which its conditions use) on an open connection, reading every
// column as UTF-16 text as the lists do; integers are bound as integers,
// anything else as text. Returns the row count; textBytes, when given,
// receives the size of the text read.
inline int RawSelectOn(sqlite3* db, const QString& sql, const QVariantList& values = {},
                       std::size_t* textBytes = nullptr)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &statement, nullptr);
    if (!statement) std::fprintf(stderr, "raw query not prepared: %s\n", sqlite3_errmsg(db));
    for (int i = 0; i < values.size(); ++i) {
        if (values[i].typeId() == QMetaType::Int) {
            sqlite3_bind_int(statement, i + 1, values[i].toInt());
        } else {
            const QByteArray text = values[i].toString().toUtf8();
            sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
    }
    int rows = 0;
    std::size_t bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const int columns = sqlite3_column_count(statement);
        for (int column = 0; column < columns; ++column) {
            sqlite3_column_text16(statement, column);
            bytes += std::size_t(sqlite3_column_bytes16(statement, column));
        }
        ++rows;
    }
    sqlite3_finalize(statement);
    if (textBytes) *textBytes = bytes;
    return rows;
}

// A raw connection to the program's database, open while it lives.
class RawConnection {
public:
    RawConnection()
    {
        sqlite3_open_v2(GetDatabasePath().toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        RegisterTextFunctions(m_db);
    }
    ~RawConnection() { sqlite3_close(m_db); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;
    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// The statement as above on a connection opened for it and closed after.
inline int RawSelect(const QString& sql, const QVariantList& values = {}, std::size_t* textBytes = nullptr)
{
    const RawConnection connection;
    return RawSelectOn(connection.handle(), sql, values, textBytes);
}

// "<what>: 120 ms (raw 116 ms, ratio 1.04, target <= 1.3)".
inline void PrintRatio(const QString& what, double listMs, double rawMs)
{
    const double ratio = rawMs > 0 ? listMs / rawMs : 0.0;
    std::printf("%s: %.1f ms (raw %.1f ms, ratio %.2f, target <= 1.3%s)\n", qPrintable(what), listMs, rawMs,
                ratio, ratio <= 1.3 ? "" : ", MISSED");
    std::fflush(stdout);
}

} // namespace bench
