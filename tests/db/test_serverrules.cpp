// The server engine's rules that need no server: statement texts for the
// server, the file's text forms of values, the seat's connection options, the
// reasons of a failed connection, the schema's types, and the Shared Database
// screen's connection string and password file line.
#include "common/TestSupport.h"

#include "db/unitServerOptions.h"
#include "db/unitServerSchema.h"
#include "db/unitServerSqlText.h"
#include "server/unitSharedDatabaseRules.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

QString optionValue(const TConnectionOptions& options, const QString& keyword)
{
    for (const auto& option : options)
        if (option.first == keyword) return option.second;
    return QStringLiteral("<absent>");
}

} // namespace

class TestServerRules : public QObject {
    Q_OBJECT

private slots:
    void placeholdersAreNumberedOutsideQuotesAndComments_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("server");
        QTest::addColumn<int>("count");
        QTest::newRow("plain") << "UPDATE t SET a = ?, b = ? WHERE id = ?;" << "UPDATE t SET a = $1, b = $2 WHERE id = $3" << 3;
        QTest::newRow("quoted text keeps its ?") << "SELECT '?', 'it''s ?', ? FROM t" << "SELECT '?', 'it''s ?', $1 FROM t" << 1;
        QTest::newRow("quoted name") << "SELECT \"a?\" FROM t WHERE x = ?" << "SELECT \"a?\" FROM t WHERE x = $1" << 1;
        QTest::newRow("comments") << "SELECT ? -- why?\n, /* ? */ ?" << "SELECT $1 -- why?\n, /* ? */ $2" << 2;
        QTest::newRow("dollar quoted body") << "CREATE FUNCTION f() AS $$ SELECT '?'; $$ LANGUAGE sql"
                                            << "CREATE FUNCTION f() AS $$ SELECT '?'; $$ LANGUAGE sql" << 0;
        QTest::newRow("only the first statement") << "DELETE FROM a WHERE x = ?; DROP TABLE b" << "DELETE FROM a WHERE x = $1" << 1;
        QTest::newRow("nothing before the first statement's end") << " \t\n ; SELECT ?" << " \t\n " << 0;
        QTest::newRow("nothing at all") << "" << "" << 0;
    }
    void placeholdersAreNumberedOutsideQuotesAndComments()
    {
        QFETCH(QString, sql);
        QFETCH(QString, server);
        QFETCH(int, count);
        int found = -1;
        QCOMPARE(QString::fromUtf8(NumberPlaceholders(sql, &found)), server);
        QCOMPARE(found, count);
        QCOMPARE(IsEmptyStatement(sql), server.trimmed().isEmpty());
    }

    void valuesReadAsTheFileReadsThem()
    {
        // A REAL as text: 15 significant digits, always with a decimal point.
        QCOMPARE(RealAsStoredText(22.0), QStringLiteral("22.0"));
        QCOMPARE(RealAsStoredText(0.0725), QStringLiteral("0.0725"));
        QCOMPARE(RealAsStoredText(0.1 + 0.2), QStringLiteral("0.3"));
        QCOMPARE(RealAsStoredText(-5.0), QStringLiteral("-5.0"));
        QCOMPARE(RealAsStoredText(1e20), QStringLiteral("1.0e+20"));
        QCOMPARE(RealAsStoredText(1.5e-7), QStringLiteral("1.5e-07"));
        QCOMPARE(RealAsStoredText(123456789012345.0), QStringLiteral("123456789012345.0"));
        // The server's own text of a double reads the same, by the quick way or the long one,
        // also as UTF-8 written over the bytes of the value before.
        QByteArray reused("left over from a longer value");
        for (const char* server : {"6.15", "22", "-0.25", "0", "-0", "12.5", "0.0001", "0.00001", "0.000123",
                                   "4.9406564584124654e-324", "2.2250738585072014e-308", "1.7976931348623157e+308",
                                   "-Infinity", "NaN", "0.1", "2.675", "1e23", "8.98846567431158e+307",
                                   "100000000000000", "1000000000000000", "123456789012345", "1234567890123456",
                                   "1e+20", "1.5e-07", "0.30000000000000004", "9007199254740993", "Infinity", "12.50", "7."}) {
            const QString viaNumber = RealAsStoredText(std::strtod(server, nullptr));
            QCOMPARE(RealAsStoredText(server, int(strlen(server))), viaNumber);
            RealAsStoredUtf8(server, int(strlen(server)), reused);
            QCOMPARE(QString::fromUtf8(reused), viaNumber);
            // The number itself, bit for bit as strtod reads it.
            const double number = ServerNumber(server, int(strlen(server)));
            const double expected = std::strtod(server, nullptr);
            if (std::isnan(expected))
                QVERIFY(std::isnan(number));
            else
                QCOMPARE(std::memcmp(&number, &expected, sizeof number), 0);
        }
        // A text read as a number: the number it begins with.
        const struct {
            const char* text;
            qint64 integer;
            double real;
        } cases[] = {{"-1", -1, -1.0}, {"0", 0, 0.0}, {" 12.9abc", 12, 12.9}, {"1e3", 1, 1000.0},
                     {"abc", 0, 0.0},  {"", 0, 0.0},  {"+7", 7, 7.0},          {"99999999999999999999", INT64_MAX, 1e20}};
        for (const auto& c : cases) {
            QCOMPARE(LeadingInteger(c.text, int(strlen(c.text))), c.integer);
            QCOMPARE(LeadingReal(c.text, int(strlen(c.text))), c.real);
        }
    }

    void anotherComputerIsReachedOnlyWithTls_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("sslmode");
        QTest::addColumn<QString>("required");
        QTest::newRow("office server, nothing asked") << "office-server" << "" << "require";
        QTest::newRow("office server, prefer") << "office-server" << "prefer" << "require";
        QTest::newRow("office server, disable") << "office-server" << "disable" << "require";
        QTest::newRow("office server, verify-full kept") << "office-server" << "verify-full" << "<absent>";
        QTest::newRow("one of two hosts elsewhere") << "localhost,10.0.0.5" << "" << "require";
        QTest::newRow("this computer by name") << "localhost" << "" << "<absent>";
        QTest::newRow("loopback") << "127.0.0.1" << "" << "<absent>";
        QTest::newRow("IPv6 loopback") << "::1" << "" << "<absent>";
        QTest::newRow("local socket") << "/var/run/postgresql" << "" << "<absent>";
        QTest::newRow("no host") << "" << "" << "<absent>";
    }
    void anotherComputerIsReachedOnlyWithTls()
    {
        QFETCH(QString, host);
        QFETCH(QString, sslmode);
        QFETCH(QString, required);
        TConnectionOptions given{{QStringLiteral("host"), host}, {QStringLiteral("dbname"), QStringLiteral("fennick")}};
        if (!sslmode.isEmpty()) given.append({QStringLiteral("sslmode"), sslmode});
        const TServerOptions options = ServerConnectionOptions(given);
        QCOMPARE(optionValue(options.required, QStringLiteral("sslmode")), required);
        // A lost network never holds the window for long, whatever the host.
        QCOMPARE(optionValue(options.defaults, QStringLiteral("connect_timeout")), QStringLiteral("10"));
        QCOMPARE(optionValue(options.defaults, QStringLiteral("keepalives")), QStringLiteral("1"));
        QCOMPARE(optionValue(options.required, QStringLiteral("client_encoding")), QStringLiteral("UTF8"));
    }

    void connectFailuresAreToldApart_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("kind");
        QTest::newRow("refused") << "connection to server at \"127.0.0.1\", port 1 failed: Connection refused Is the "
                                    "server running on that host and accepting TCP/IP connections?"
                                 << int(dbserver::FailureKind::Refused);
        QTest::newRow("no such server") << "could not translate host name \"nosuch\" to address: Name or service not known"
                                        << int(dbserver::FailureKind::NoSuchServer);
        QTest::newRow("password") << "connection to server at \"127.0.0.1\", port 5 failed: FATAL: password "
                                     "authentication failed for user \"anna\""
                                  << int(dbserver::FailureKind::Password);
        QTest::newRow("no password") << "connection to server at \"127.0.0.1\", port 5 failed: fe_sendauth: no password supplied"
                                     << int(dbserver::FailureKind::Password);
        QTest::newRow("no such database") << "connection to server at \"127.0.0.1\", port 5 failed: FATAL: database "
                                             "\"nosuch\" does not exist"
                                          << int(dbserver::FailureKind::NoSuchDatabase);
        QTest::newRow("time-out") << "connection to server at \"127.0.0.1\", port 5 failed: timeout expired"
                                  << int(dbserver::FailureKind::TimedOut);
        QTest::newRow("other") << "something else" << int(dbserver::FailureKind::Other);
    }
    void connectFailuresAreToldApart()
    {
        QFETCH(QString, message);
        QFETCH(int, kind);
        const dbserver::Failure failure = ConnectFailureFromMessage(message);
        QCOMPARE(int(failure.kind), kind);
        QCOMPARE(failure.message, message);
    }

    void serverTablesTakeTheServersTypes()
    {
        QCOMPARE(ServerTableStatement(QStringLiteral(
                     "CREATE TABLE tblInvData(intInvDataID INTEGER PRIMARY KEY,strPrcItemName TEXT,intInvNumber "
                     "INTEGER,dbLbrPrc REAL,strInvNotes BLOB);")),
                 QStringLiteral("CREATE TABLE tblInvData(intInvDataID integer GENERATED BY DEFAULT AS IDENTITY PRIMARY "
                                "KEY,strPrcItemName text,intInvNumber integer,dbLbrPrc double precision,strInvNotes bytea);"));
    }

    void theScreensConnectionStringNeverHoldsThePassword()
    {
        TSharedDatabaseFields fields{QStringLiteral("office-server"), QStringLiteral("5433"), QStringLiteral("fennick"),
                                     QStringLiteral("anna"), QStringLiteral("se'cret \\ pass")};
        QCOMPARE(ConnectionStringOf(fields), QStringLiteral("host=office-server port=5433 dbname=fennick user=anna"));
        QCOMPARE(ConnectionStringOf(fields, true),
                 QStringLiteral("host=office-server port=5433 dbname=fennick user=anna password='se\\'cret \\\\ pass'"));
        // An empty port or user is left to libpq's defaults.
        fields.port.clear();
        fields.user.clear();
        QCOMPARE(ConnectionStringOf(fields), QStringLiteral("host=office-server dbname=fennick"));
    }

    void fieldsAreCheckedBeforeAnyConnection_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("problem");
        QTest::newRow("complete") << "office-server" << "5432" << "fennick" << "";
        QTest::newRow("no port is fine") << "office-server" << "" << "fennick" << "";
        QTest::newRow("no server") << " " << "" << "fennick" << "Please enter the name or address of the database server";
        QTest::newRow("no database") << "office-server" << "" << "" << "Please enter the name of the database on the server";
        QTest::newRow("port out of range") << "office-server" << "70000" << "fennick"
                                           << "The port must be a number from 1 to 65535";
    }
    void fieldsAreCheckedBeforeAnyConnection()
    {
        QFETCH(QString, server);
        QFETCH(QString, port);
        QFETCH(QString, database);
        QFETCH(QString, problem);
        QCOMPARE(FieldsProblem({server, port, database, QString(), QString()}), problem);
    }

    void passwordFileLinesEscapeTheirSeparators()
    {
        const TSharedDatabaseFields fields{QStringLiteral("office-server"), QString(), QStringLiteral("fen:nick"),
                                           QStringLiteral("anna"), QStringLiteral("pa:ss\\word")};
        QCOMPARE(PasswordFileLine(fields), QStringLiteral("office-server:5432:fen\\:nick:anna:pa\\:ss\\\\word"));
    }
};

FENNICK_TEST_MAIN(TestServerRules)
#include "test_serverrules.moc"
