// The connection wrapper against real database files: lazy open, errors with
// the program's messages, busy retry against a second real connection, binding.
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "db/DbConnection.h"

#include <QElapsedTimer>
#include <sqlite3.h>

class TestDbConnection : public QObject {
    Q_OBJECT

    QString makeDatabase()
    {
        const QString path = m_dir.filePath(QStringLiteral("db%1.db").arg(++m_count));
        DbConnection created = DbConnection::createDatabaseFile(path);
        created.execute(QStringLiteral("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, amount REAL, n INTEGER);"));
        return path;
    }

    QTemporaryDir m_dir;
    int m_count = 0;

private slots:
    void missingFileGivesCannotOpen()
    {
        const QString path = m_dir.filePath(QStringLiteral("missing.db"));
        DbConnection connection(path);
        try {
            connection.prepare(QStringLiteral("SELECT 1"));
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("Cannot open file ") + path);
        }
        QVERIFY(!QFile::exists(path)); // never created by an ordinary connection
    }

    void errorsCarryEngineMessages_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");
        QTest::newRow("syntax") << "SELEC x" << R"(SQLite Error 1 - near "SELEC": syntax error)";
        QTest::newRow("no table") << "SELECT * FROM nothere" << "SQLite Error 1 - no such table: nothere";
        QTest::newRow("empty") << "  ;" << "Empty SQL Statement";
        QTest::newRow("blank") << "" << "Empty SQL Statement";
    }
    void errorsCarryEngineMessages()
    {
        QFETCH(QString, sql);
        QFETCH(QString, message);
        DbConnection connection(makeDatabase());
        try {
            connection.execute(sql);
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), message);
        }
    }

    void onlyFirstStatementRuns()
    {
        DbConnection connection(makeDatabase());
        connection.execute(QStringLiteral("INSERT INTO t(name) VALUES ('a'); INSERT INTO t(name) VALUES ('b');"));
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM t")), 1);
    }

    void boundTextsAreStoredExactly()
    {
        DbConnection connection(makeDatabase());
        const QString name = QStringLiteral("O\"Brien 100% \"Ltd\"\r\nsecond line ' ; DROP TABLE t; --");
        connection.execute(QStringLiteral("INSERT INTO t(name, amount, n) VALUES (?, ?, ?)"), {name, 12.5, 7});
        QCOMPARE(connection.lastInsertRowId(), qint64(1));
        DbStatement read = connection.prepare(QStringLiteral("SELECT name, amount, n, NULL FROM t"));
        QVERIFY(read.step());
        QCOMPARE(read.columnText(0), name);
        QCOMPARE(read.columnDouble(1), 12.5);
        QCOMPARE(read.columnInt(2), 7);
        QCOMPARE(read.columnText(3), QString());   // NULL reads as empty text
        QCOMPARE(read.columnInt(3), 0);
        QVERIFY(!read.step());
    }

    void singleRowReadOnMissingRowGivesEmptyValues()
    {
        DbConnection connection(makeDatabase());
        DbStatement read = connection.prepare(QStringLiteral("SELECT name, amount FROM t WHERE id = 99"));
        QVERIFY(!read.step());
        QCOMPARE(read.columnText(0), QString());
        QCOMPARE(read.columnDouble(1), 0.0);
    }

    void writeLockGivesDatabaseLockedAfterRetries()
    {
        const QString path = makeDatabase();
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open_v2(path.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO t(name) VALUES('x');", nullptr, nullptr, nullptr), SQLITE_OK);

        DbConnection connection(path);
        QElapsedTimer timer;
        timer.start();
        try {
            connection.execute(QStringLiteral("INSERT INTO t(name) VALUES (?)"), {QStringLiteral("y")});
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("SQLite Error 5 - database is locked"));
        }
        QVERIFY2(timer.elapsed() >= 60, "the statement is retried, 10 ms apart");
        sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        connection.close();
        // Once the lock is gone the same statement goes through.
        connection.execute(QStringLiteral("INSERT INTO t(name) VALUES (?)"), {QStringLiteral("y")});
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM t")), 1);
    }

    void transactionRollsBackUnlessCommitted()
    {
        DbConnection connection(makeDatabase());
        {
            DbTransaction transaction(connection);
            connection.execute(QStringLiteral("INSERT INTO t(name) VALUES ('gone')"));
        }
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM t")), 0);
        {
            DbTransaction transaction(connection);
            connection.execute(QStringLiteral("INSERT INTO t(name) VALUES ('kept')"));
            transaction.commit();
        }
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM t")), 1);
    }

    void closeFinalizesOpenStatements()
    {
        DbConnection connection(makeDatabase());
        connection.execute(QStringLiteral("INSERT INTO t(name) VALUES ('a')"));
        DbStatement read = connection.prepare(QStringLiteral("SELECT name FROM t"));
        QVERIFY(read.step());
        connection.close(); // the open read must not keep the file locked
        DbConnection writer(connection.path());
        writer.execute(QStringLiteral("DELETE FROM t"));
        writer.vacuum();
        QCOMPARE(writer.countRows(QStringLiteral("SELECT * FROM t")), 0);
        QVERIFY_THROWS_EXCEPTION(AppError, read.step());
    }

    void createReplacesExistingFile()
    {
        const QString path = makeDatabase();
        DbConnection fresh = DbConnection::createDatabaseFile(path);
        QVERIFY_THROWS_EXCEPTION(AppError, fresh.execute(QStringLiteral("SELECT * FROM t")));
    }
};

FENNICK_TEST_MAIN(TestDbConnection)
#include "test_dbconnection.moc"
