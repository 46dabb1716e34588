#include "common/TestServer.h"

#include "app/unitAppInfo.h"
#include "company/unitCompanyLogoStore.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitServerEngine.h"

#include <QFile>
#include <QRegularExpression>

#include <QCoreApplication>
#include <QFileInfo>
#include <QDir>
#include <QProcess>
#include <QSettings>

namespace {

QString& programDatabase()
{
    static QString name;
    return name;
}

QString quotedName(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

} // namespace

bool TestRunsOnServer() { return !qEnvironmentVariableIsEmpty("FENNICK_TEST_SERVER_STATE"); }

int TestServerPort()
{
    const QString state = qEnvironmentVariable("FENNICK_TEST_SERVER_STATE");
    if (state.isEmpty()) return 0;
    const QSettings settings(state + QStringLiteral("/server.ini"), QSettings::IniFormat);
    return settings.value(QStringLiteral("server/port")).toInt();
}

QString TestServerConnection(const QString& database, const QString& user)
{
    return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=%3").arg(TestServerPort()).arg(database, user);
}

void DropServerDatabase(const QString& database)
{
    DbConnection admin = DbConnection::ToServer(TestServerConnection(QStringLiteral("postgres")));
    admin.execute(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(quotedName(database)));
}

void CreateEmptyServerDatabase(const QString& database)
{
    CloseIdleServerSessions();
    DropServerDatabase(database);
    DbConnection admin = DbConnection::ToServer(TestServerConnection(QStringLiteral("postgres")));
    admin.execute(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0;").arg(quotedName(database)));
}

QString TestProgramDatabase()
{
    QString& name = programDatabase();
    if (name.isEmpty()) {
        const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLower();
        name = QStringLiteral("%1_%2").arg(program).arg(QCoreApplication::applicationPid());
        CreateEmptyServerDatabase(name);
    }
    return name;
}

QString TestProgramConnection() { return TestServerConnection(TestProgramDatabase()); }

void EmptyTestProgramDatabase()
{
    const QString connection = TestProgramConnection();
    CloseIdleServerSessions();
    DbConnection db = DbConnection::ToServer(connection);
    db.execute(QStringLiteral("DROP SCHEMA public CASCADE;"));
    db.execute(QStringLiteral("CREATE SCHEMA public;"));
    db.close();
    // Statements the pooled connections prepared name tables that are gone.
    CloseIdleServerSessions();
}

void DropTestProgramDatabase()
{
    if (programDatabase().isEmpty()) return;
    CloseIdleServerSessions();
    DropServerDatabase(programDatabase());
    programDatabase().clear();
}

void CutServerConnections(const QString& database)
{
    DbConnection admin = DbConnection::ToServer(TestServerConnection(QStringLiteral("postgres")));
    admin.countRows(QStringLiteral("SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity "
                                   "WHERE datname = ? AND pid <> pg_backend_pid();"),
                    {database});
}

QString EngineErrorPrefix()
{
    return TestRunsOnServer() ? QStringLiteral("PostgreSQL Error") : QStringLiteral("SQLite Error");
}

QStringList ProgramTableColumns(const QString& table)
{
    for (const QString& statement : DatabaseTableStatements()) {
        if (!statement.startsWith(QStringLiteral("CREATE TABLE ") + table + QLatin1Char('('))
            && !statement.startsWith(QStringLiteral("CREATE TABLE ") + table + QLatin1Char(' ')))
            continue;
        const QString columns = statement.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
        QStringList names;
        for (const QString& column : columns.split(QLatin1Char(','))) names << column.trimmed().section(QLatin1Char(' '), 0, 0);
        return names;
    }
    return {};
}

QByteArray StoredLogoBytes()
{
    if (TestRunsOnServer()) {
        DbConnection db;
        return ReadServerLogo(db);
    }
    QFile file(GetLogoPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool HasStoredLogo() { return !StoredLogoBytes().isEmpty(); }

void StoreLogoBytes(const QByteArray& jpeg)
{
    if (TestRunsOnServer()) {
        DbConnection db;
        WriteServerLogo(db, jpeg);
        return;
    }
    QFile::remove(GetLogoPath());
    if (jpeg.isEmpty()) return;
    QFile file(GetLogoPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size()) qFatal("the logo was not written");
}

OwnTestServer::OwnTestServer()
{
    m_state = QDir::tempPath() + QStringLiteral("/fennick-own-server-%1-%2")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(quintptr(this), 0, 16);
    run(QStringLiteral("start"));
    const QSettings settings(m_state + QStringLiteral("/server.ini"), QSettings::IniFormat);
    m_port = settings.value(QStringLiteral("server/port")).toInt();
}

OwnTestServer::~OwnTestServer()
{
    CloseIdleServerSessions();
    run(QStringLiteral("stop"));
    QDir(m_state).removeRecursively();
}

QString OwnTestServer::connection(const QString& database) const
{
    return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=fennick_test").arg(m_port).arg(database);
}

void OwnTestServer::halt() { run(QStringLiteral("halt")); }
void OwnTestServer::resume() { run(QStringLiteral("resume")); }

void OwnTestServer::run(const QString& command)
{
    QProcess script;
    script.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(FENNICK_TEST_SOURCE_DIR "/server/private_postgres.py"), command, m_state});
    if (!script.waitForFinished(120000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
        qFatal("private_postgres.py %s failed: %s", qPrintable(command), script.readAllStandardError().constData());
}
