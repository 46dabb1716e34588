// The Shared Database screen, driven through its widgets against the private
// server: the fields from the seat's settings file, Test Connection naming what
// failed, Use Server writing the settings file (never the password) and the
// remembered password owner-only, Use This Computer's File, Copy to Server.
#include "common/TestServer.h"
#include "common/TestSupport.h"

#include "app/unitAppInfo.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"
#include "server/unitSharedDatabaseRules.h"
#include "server/unitfrmSharedDatabase.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

namespace {

template <typename T>
T* child(QWidget& screen, const char* name)
{
    T* found = screen.findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no control %s", name);
    return found;
}

void fill(TfrmSharedDatabase& screen, const QString& database, const QString& user = QStringLiteral("fennick_test"),
          const QString& password = QString(), const QString& port = QString::number(TestServerPort()))
{
    child<QLineEdit>(screen, "txtDbServer")->setText(QStringLiteral("127.0.0.1"));
    child<QLineEdit>(screen, "txtDbPort")->setText(port);
    child<QLineEdit>(screen, "txtDbName")->setText(database);
    child<QLineEdit>(screen, "txtDbUser")->setText(user);
    child<QLineEdit>(screen, "txtDbPassword")->setText(password);
}

QString settingsFileText()
{
    QFile file(GetSeatSettingsPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestFrmSharedDatabase : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;
    QTemporaryDir m_passwords;

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("PGPASSFILE", m_passwords.filePath(QStringLiteral("pgpass")).toUtf8());
        QDir().mkpath(GetDataFolder());
        CreateDatabase(QDate(2024, 3, 15));
    }

    void init()
    {
        QFile::remove(GetSeatSettingsPath());
        QFile::remove(GetPasswordFilePath());
        EmptyTestProgramDatabase();
    }

    void theFieldsShowTheSeatsSetting()
    {
        WriteSeatConnectionString(QStringLiteral("host=office-server port=5433 dbname=fennick user=anna"));
        TfrmSharedDatabase screen;
        QCOMPARE(screen.windowTitle(), QStringLiteral("Shared Database"));
        QCOMPARE(child<QLineEdit>(screen, "txtDbServer")->text(), QStringLiteral("office-server"));
        QCOMPARE(child<QLineEdit>(screen, "txtDbPort")->text(), QStringLiteral("5433"));
        QCOMPARE(child<QLineEdit>(screen, "txtDbName")->text(), QStringLiteral("fennick"));
        QCOMPARE(child<QLineEdit>(screen, "txtDbUser")->text(), QStringLiteral("anna"));
        QCOMPARE(child<QLabel>(screen, "lblDbInUse")->text(),
                 QStringLiteral("Fennick works on this computer's file (%1).\nFrom its next start: the shared database "
                                "fennick on office-server port 5433.")
                     .arg(QDir::toNativeSeparators(GetDatabasePath())));

        // The password is hidden until the show box is ticked.
        QLineEdit* password = child<QLineEdit>(screen, "txtDbPassword");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        child<QCheckBox>(screen, "ckbxShowPassword")->setChecked(true);
        QCOMPARE(password->echoMode(), QLineEdit::Normal);
        QVERIFY(!child<QPushButton>(screen, "btnUseServer")->toolTip().isEmpty());
    }

    void testConnectionSaysWhatWasFoundOrWhatFailed_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("error");
        QTest::addColumn<QString>("text");
        const QString port = QString::number(TestServerPort());
        QTest::newRow("empty database") << TestProgramDatabase() << "fennick_test" << "" << port << false
                                        << "is empty: Fennick builds its tables there at the first start on it";
        QTest::newRow("refused") << TestProgramDatabase() << "fennick_test" << "" << "1" << true
                                 << "the server refused the connection";
        QTest::newRow("wrong password") << TestProgramDatabase() << "anna" << "wrong" << port << true
                                        << "the user name or password was not accepted";
        QTest::newRow("right password") << TestProgramDatabase() << "anna" << "anna-secret" << port << false
                                        << "Connected to PostgreSQL 15";
        QTest::newRow("no such database") << "no_such_database" << "fennick_test" << "" << port << true
                                          << "the server has no database of that name";
    }
    void testConnectionSaysWhatWasFoundOrWhatFailed()
    {
        QFETCH(QString, database);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, port);
        QFETCH(bool, error);
        QFETCH(QString, text);
        ScriptedMessages messages;
        TfrmSharedDatabase screen;
        fill(screen, database, user, password, port);
        QTest::mouseClick(child<QPushButton>(screen, "btnTestConnection"), Qt::LeftButton);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().first().kind, error ? MessageKind::Error : MessageKind::Information);
        QVERIFY2(messages.shown().first().text.contains(text), qPrintable(messages.shown().first().text));
        QVERIFY(!QFile::exists(GetSeatSettingsPath()));
    }

    void testConnectionNamesADatabaseOfThisProgram()
    {
        DbConnection db = DbConnection::ToServer(TestProgramConnection());
        PrepareServerDatabase(db, QDate(2024, 3, 15));
        db.close();
        ScriptedMessages messages;
        TfrmSharedDatabase screen;
        fill(screen, TestProgramDatabase());
        QTest::mouseClick(child<QPushButton>(screen, "btnTestConnection"), Qt::LeftButton);
        QVERIFY2(messages.texts().value(0).endsWith(QStringLiteral("holds the tables of Fennick.")),
                 qPrintable(messages.texts().value(0)));
    }

    void useServerWritesTheSettingAndRemembersThePasswordOwnerOnly()
    {
        ScriptedMessages messages;
        TfrmSharedDatabase screen;
        fill(screen, TestProgramDatabase(), QStringLiteral("anna"), QStringLiteral("anna-secret"));
        child<QCheckBox>(screen, "ckbxRememberPassword")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(screen, "btnUseServer"), Qt::LeftButton);
        QCOMPARE(messages.shown().size(), 1);
        QVERIFY2(messages.texts().first().contains(QStringLiteral("From its next start, Fennick on this computer works "
                                                                  "on the shared database %1")
                                                       .arg(TestProgramDatabase())),
                 qPrintable(messages.texts().first()));

        const QString expected = QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=anna")
                                     .arg(TestServerPort())
                                     .arg(TestProgramDatabase());
        QCOMPARE(ReadSeatConnectionString(), expected);
        QVERIFY(settingsFileText().contains(QStringLiteral("[Database]")));
        QVERIFY(!settingsFileText().contains(QStringLiteral("anna-secret")));

        QFile passwords(GetPasswordFilePath());
        QVERIFY(passwords.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(passwords.readAll()), QStringLiteral("127.0.0.1:%1:%2:anna:anna-secret\n")
                                                             .arg(TestServerPort())
                                                             .arg(TestProgramDatabase()));
        QCOMPARE(passwords.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup
                                            | QFileDevice::WriteOther),
                 QFileDevice::Permissions());
        // libpq now finds the password by itself.
        QCOMPARE(DbConnection::ToServer(expected).countRows(QStringLiteral("SELECT 1;")), 1);
        QCOMPARE(child<QLabel>(screen, "lblDbInUse")->text().section(QLatin1Char('\n'), 1),
                 QStringLiteral("From its next start: the shared database %1 on 127.0.0.1 port %2.")
                     .arg(TestProgramDatabase())
                     .arg(TestServerPort()));

        // A second remembered password for the same server replaces the line.
        fill(screen, TestProgramDatabase(), QStringLiteral("anna"), QStringLiteral("anna-secret"));
        QTest::mouseClick(child<QPushButton>(screen, "btnUseServer"), Qt::LeftButton);
        passwords.seek(0);
        QCOMPARE(passwords.readAll().count('\n'), 1);
    }

    void useServerRefusesAServerItCannotReach()
    {
        ScriptedMessages messages;
        TfrmSharedDatabase screen;
        fill(screen, TestProgramDatabase(), QStringLiteral("anna"), QStringLiteral("wrong"));
        child<QCheckBox>(screen, "ckbxRememberPassword")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(screen, "btnUseServer"), Qt::LeftButton);
        QCOMPARE(messages.shown().first().kind, MessageKind::Error);
        QVERIFY(!QFile::exists(GetSeatSettingsPath()) || ReadSeatConnectionString().isEmpty());
        QVERIFY(!QFile::exists(GetPasswordFilePath()));

        // Missing fields are named before anything is tried.
        messages.clear();
        child<QLineEdit>(screen, "txtDbName")->clear();
        QTest::mouseClick(child<QPushButton>(screen, "btnUseServer"), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Please enter the name of the database on the server")});
    }

    void useFileGoesBackToThisComputersFile()
    {
        WriteSeatConnectionString(QStringLiteral("host=office-server dbname=fennick"));
        ScriptedMessages messages;
        TfrmSharedDatabase screen;
        QTest::mouseClick(child<QPushButton>(screen, "btnUseFile"), Qt::LeftButton);
        QCOMPARE(ReadSeatConnectionString(), QString());
        QCOMPARE(messages.texts(), QStringList{UseFileMessage()});
        QVERIFY(UseFileMessage().contains(QDir::toNativeSeparators(GetDatabasePath())));
    }

    void copyToServerFillsTheEmptyDatabase()
    {
        ScriptedMessages messages;
        TfrmSharedDatabase screen;
        fill(screen, TestProgramDatabase());
        messages.queue(MessageAnswer::No);
        QTest::mouseClick(child<QPushButton>(screen, "btnCopyToServer"), Qt::LeftButton);
        QVERIFY(DbConnection::ToServer(TestProgramConnection()).tableNames().isEmpty());

        messages.clear();
        messages.queue(MessageAnswer::Yes);
        QTest::mouseClick(child<QPushButton>(screen, "btnCopyToServer"), Qt::LeftButton);
        QCOMPARE(messages.shown().size(), 2);
        QVERIFY(messages.texts().first().contains(QStringLiteral("must be empty")));
        QVERIFY2(messages.texts().last().contains(QStringLiteral("Every table's rows were read back and match.")),
                 qPrintable(messages.texts().last()));
        QCOMPARE(DbConnection::ToServer(TestProgramConnection()).countRows(QStringLiteral("SELECT * FROM tblPrices;")), 12);
    }
};

FENNICK_TEST_MAIN(TestFrmSharedDatabase)
#include "test_frmshareddatabase.moc"
