#pragma once
// The tests' server: when FENNICK_TEST_SERVER_STATE names the state folder of a
// private PostgreSQL server (tests/server/private_postgres.py, started by the
// CTest fixture), the test program runs on a database of its own there, made
// on first use and dropped when the program ends. Only 127.0.0.1 is contacted.
#include <QString>

// True when this test program runs on the server.
bool TestRunsOnServer();
// The server's port from the state folder; 0 when there is no server.
int TestServerPort();
// A connection string to a database of the private server as its trusted
// superuser (or as the given user).
QString TestServerConnection(const QString& database, const QString& user = QStringLiteral("fennick_test"));
// This program's own database (made on first use), and a connection string to it.
QString TestProgramDatabase();
QString TestProgramConnection();
// Makes an empty database of that name (dropping one of the same name first).
void CreateEmptyServerDatabase(const QString& database);
void DropServerDatabase(const QString& database);
// Empties this program's database: every table, function and row gone.
void EmptyTestProgramDatabase();
// Drops this program's database (RunFennickTest calls it at the end).
void DropTestProgramDatabase();
// Ends every other connection to the database (the stand-in for a server that
// went away or a network that broke).
void CutServerConnections(const QString& database);

// The text every engine error begins with: "SQLite Error" on the file,
// "PostgreSQL Error" on the server.
QString EngineErrorPrefix();

// The column names of one of the first-run tables, in their order and spelling.
QStringList ProgramTableColumns(const QString& table);

// The company logo as the engine of the test program keeps it: the data
// folder's CmpLogo.jpg on the file, the database's logo on the server.
QByteArray StoredLogoBytes();   // empty when there is none
bool HasStoredLogo();
void StoreLogoBytes(const QByteArray& jpeg);   // empty: removes it

// In a test function that checks the file alone (its path, raw file access):
// skips the function when the program runs on the server.
#define SKIP_ON_SERVER(why)                                      \
    do {                                                         \
        if (TestRunsOnServer()) QSKIP("the file only: " why);    \
    } while (false)

// A private server of one test's own, for tests that stop it (the run's shared
// server serves other tests at the same time): started on 127.0.0.1 at a free
// port in a temporary folder, removed when the object goes.
class OwnTestServer {
public:
    OwnTestServer();
    ~OwnTestServer();
    OwnTestServer(const OwnTestServer&) = delete;
    OwnTestServer& operator=(const OwnTestServer&) = delete;
    // A connection string to a database of this server as its trusted superuser.
    QString connection(const QString& database) const;
    // Stops it at once, as a power cut would; resume() starts it again on its port.
    void halt();
    void resume();

private:
    void run(const QString& command);
    QString m_state;
    int m_port = 0;
};
