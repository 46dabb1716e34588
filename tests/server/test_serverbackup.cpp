// Backup and restore on a seat that works on the server: Backup Data writes a
// Fennick.db (and CmpLogo.jpg) that a seat on the file restores with the same
// rows; Restore Data loads a checked file into the server in one transaction,
// keeps what the server held, warns about other seats, and changes nothing when
// it fails; the daily copy is taken once per day per server, only where the seat
// is set to, and two seats closing together do not both take it.
#include "common/TestDatabase.h"
#include "common/TestServer.h"
#include "common/TestSupport.h"

#include "app/unitAppInfo.h"
#include "app/unitModalRunner.h"
#include "backup/unitBackupRestoreData.h"
#include "backup/unitServerBackup.h"
#include "backup/unitServerDailyCopy.h"
#include "backup/unitfrmBackupRestore.h"
#include "company/unitCompanyData.h"
#include "company/unitCompanyLogoStore.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitEInvoiceTables.h"
#include "db/unitFeatureTables.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"
#include "server/unitCopyToServer.h"
#include "server/unitTableCopy.h"
#include "server/unitfrmSharedDatabase.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

#include <atomic>
#include <optional>
#include <thread>

namespace {

const QByteArray kServerLogo = QByteArray("\xFF\xD8\xFF\xE0server-logo", 15);

// The tables a backup carries, as the file names them.
QStringList fileTables()
{
    QStringList tables = DatabaseTableStatements();
    for (QString& statement : tables) statement = statement.section(QLatin1Char(' '), 2, 2).section(QLatin1Char('('), 0, 0);
    for (const TFeatureTable& table : FeatureTables())
        if (!table.serverOnly) tables << table.name;
    return tables;
}

// Every backed-up table's rows, read the same way on either engine, in the
// columns the server and the file `columnsOf` share.
QMap<QString, QList<QStringList>> contentOf(DbConnection& db, const QString& columnsOf)
{
    DbConnection server = DbConnection::ToServer(TestProgramConnection());
    DbConnection reference(columnsOf);
    QMap<QString, QList<QStringList>> content;
    for (const QString& table : fileTables()) {
        const QList<TCopyColumn> columns = SharedColumns(server, reference, table, QString());
        content[table] = TableRows(db, table, columns, IdentityColumn(server, table));
    }
    return content;
}

// A file with the program's tables and no rows: the columns every file has.
QString schemaFile()
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("schema.db"));
    if (!QFile::exists(path)) {
        QFile(path).open(QIODevice::WriteOnly);
        DbConnection file(path);
        for (const QString& statement : DatabaseTableStatements()) file.execute(statement);
        CreateMissingFeatureTables(file);
    }
    return path;
}

QMap<QString, QList<QStringList>> serverContent()
{
    DbConnection server = DbConnection::ToServer(TestProgramConnection());
    return contentOf(server, schemaFile());
}

QMap<QString, QList<QStringList>> fileContent(const QString& path)
{
    DbConnection file(path);
    return contentOf(file, schemaFile());
}

// Compares table by table, so a failure names the table.
#define COMPARE_CONTENT(actual, expected)                                                         \
    do {                                                                                          \
        const auto a = (actual);                                                                  \
        const auto e = (expected);                                                                \
        QCOMPARE(a.keys(), e.keys());                                                             \
        for (const QString& table : a.keys()) QVERIFY2(a[table] == e[table], qPrintable(table)); \
    } while (false)

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

int serverRows(const QString& sql, const QVariantList& values = {})
{
    return DbConnection::ToServer(TestProgramConnection()).countRows(sql, values);
}

// The server with rows of every kind (a copy of a file with extra rows, some
// written on the server afterwards) and a logo; the seat works on it.
void makeServerWithData()
{
    SetServerConnectionString(QString());
    QDir().mkpath(GetDataFolder());
    QFile::remove(GetDatabasePath());
    CreateDatabase(QDate(2024, 3, 15));
    {
        DbConnection file;
        CreateMissingFeatureTables(file);
        file.execute(QStringLiteral("INSERT INTO tblCustomers(strCustFirstName,strCustLastName,strCustNotes) "
                                    "VALUES(?,?,?);"),
                     {QStringLiteral("Zoë"), QStringLiteral("O'Hara"), QStringLiteral("line one\r\nline two")});
        file.execute(QStringLiteral("DELETE FROM tblCustomers WHERE intCustomerID = 2;"));
        file.execute(QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = 731;"));
        file.execute(QStringLiteral("INSERT INTO tblCalendarExport(intCalendarExportID,strCalendarUID) VALUES(1,'c1');"));
    }
    CopyDataToServer(GetDatabasePath(), QString(), TestProgramConnection());
    QFile::remove(GetDatabasePath());
    SetServerConnectionString(TestProgramConnection());
    DbConnection server;
    server.execute(QStringLiteral("INSERT INTO tblPrices(strPrcItemName,dbLbrPrc) VALUES('Gutter', 0.1);"));
    server.execute(QStringLiteral("UPDATE tblCompanyInfo SET strCompName = 'Server Co';"));
    WriteServerLogo(server, kServerLogo);
}

// A backup file made on this computer's file with other content (made once,
// copied for each test), and a logo beside it.
QString makeOtherBackup(const QString& folder, bool withLogo = true)
{
    static QTemporaryDir made;
    const QString original = made.filePath(GetDatabaseFileName());
    if (!QFile::exists(original)) {
        const QString previous = ServerConnectionString();
        SetServerConnectionString(QString());
        QFile::remove(GetDatabasePath());
        CreateDatabase(QDate(2025, 1, 2));
        {
            DbConnection file;
            CreateMissingFeatureTables(file);
            EnsureEInvoiceTables(file);   // as a start makes them
            file.execute(QStringLiteral("UPDATE tblCompanyInfo SET strCompName = 'Restored Co';"));
            file.execute(QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = 90;"));
            file.execute(QStringLiteral("INSERT INTO tblCustomers(intCustomerID,strCustFirstName) VALUES(40,'Forty');"));
        }
        CopyDatabaseFile(GetDatabasePath(), original);
        QFile::remove(GetDatabasePath());
        SetServerConnectionString(previous);
    }
    const QString path = QDir(folder).filePath(GetDatabaseFileName());
    QFile::copy(original, path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (withLogo) writeBytes(QDir(folder).filePath(QStringLiteral("CmpLogo.jpg")), "restored-logo");
    return path;
}

// Answers the next file picker with the path (empty: cancelled).
class PickerAnswer {
public:
    explicit PickerAnswer(const QString& path)
        : m_runner([path](QDialog& dialog) {
              auto* picker = qobject_cast<QFileDialog*>(&dialog);
              if (!picker || path.isEmpty()) return int(QDialog::Rejected);
              picker->selectFile(path);
              return int(QDialog::Accepted);
          })
    {
    }

private:
    ScopedModalRunner m_runner;
};

QStringList beforeRestoreFiles()
{
    return QDir(GetDataFolder()).entryList({QStringLiteral("*.before-restore-*")}, QDir::Files, QDir::Name);
}

QString baseline() { return TestProgramDatabase() + QStringLiteral("_baseline"); }

// The database `to` made anew as a copy of `from`.
void copyDatabase(const QString& from, const QString& to)
{
    CloseIdleServerSessions();
    DropServerDatabase(to);
    DbConnection admin = DbConnection::ToServer(TestServerConnection(QStringLiteral("postgres")));
    admin.execute(QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE \"%2\";").arg(to, from));
}

} // namespace

class TestServerBackup : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        // The server with data is made once and kept as a template each test starts from.
        makeServerWithData();
        SetServerConnectionString(QString());
        copyDatabase(TestProgramDatabase(), baseline());
    }

    void cleanupTestCase() { DropServerDatabase(baseline()); }

    void init()
    {
        SetServerConnectionString(QString());
        copyDatabase(baseline(), TestProgramDatabase());
        QFile::remove(GetSeatSettingsPath());
        QDir(GetDataFolder()).removeRecursively();
        QDir().mkpath(GetDataFolder());
        SetServerConnectionString(TestProgramConnection());
    }

    void cleanup()
    {
        RunOutSavingNotice();
        SetServerConnectionString(QString());
    }

    void theBackupOfTheServerRestoresOnTheFileWithTheSameRows()
    {
        QTemporaryDir target;
        {
            ScriptedMessages messages;
            PickerAnswer answer(target.path());
            BackupData();
            QCOMPARE(messages.texts(), QStringList{QStringLiteral("Backup of company database successful")});
        }
        const QString backup = QDir(target.path()).filePath(QStringLiteral("Fennick.db"));
        QCOMPARE(CheckRestoreFile(backup), QString());
        QCOMPARE(bytesOf(QDir(target.path()).filePath(QStringLiteral("CmpLogo.jpg"))), kServerLogo);
        QCOMPARE(QFile(backup).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
        const auto onServer = serverContent();
        QVERIFY(onServer[QStringLiteral("tblPrices")].size() == 13);
        COMPARE_CONTENT(fileContent(backup), onServer);

        // A seat on this computer's file restores it: the same rows, the counter with them.
        SetServerConnectionString(QString());
        RestoreDatabaseFrom(backup);
        QCOMPARE(fileContent(GetDatabasePath()), onServer);
        LoadCompanyData();
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Server Co"));
        DbConnection file;
        QCOMPARE(file.countRows(QStringLiteral("SELECT 1 FROM tblCompanyInvData WHERE intInvNumber = 731;")), 1);

        // A server without a logo: a logo an earlier backup left there goes.
        SetServerConnectionString(TestProgramConnection());
        {
            DbConnection server;
            WriteServerLogo(server, QByteArray());
        }
        BackupServerTo(target.path());
        QVERIFY(!QFile::exists(QDir(target.path()).filePath(QStringLiteral("CmpLogo.jpg"))));
    }

    void theBackupRefusesTheDataFolder()
    {
        QDir().mkpath(GetDataFolder());
        writeBytes(GetDatabasePath(), "this computer's own file");
        QVERIFY_THROWS_EXCEPTION(TBackupRefused, BackupServerTo(GetDataFolder()));
        QCOMPARE(bytesOf(GetDatabasePath()), QByteArray("this computer's own file"));
    }

    void aRestoreReplacesTheServersContentAndKeepsWhatItHeld()
    {
        QTemporaryDir source;
        const QString backup = makeOtherBackup(source.path());
        const auto before = serverContent();
        {
            ScriptedMessages messages;
            PickerAnswer answer(backup);
            QVERIFY(RestoreData());
            QVERIFY2(messages.texts().value(0).startsWith(QStringLiteral("Restore of company database successful")),
                     qPrintable(messages.texts().join(QLatin1Char('\n'))));
        }
        COMPARE_CONTENT(serverContent(), fileContent(backup));
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Restored Co"));
        {
            DbConnection server;
            QCOMPARE(ReadServerLogo(server), QByteArray("restored-logo"));
            // The sequences go on past the restored ids.
            server.execute(QStringLiteral("INSERT INTO tblCustomers(strCustFirstName) VALUES('Next');"));
            QCOMPARE(server.lastInsertRowId(), qint64(41));
        }
        // What the server held is kept in the data folder, logo beside it.
        const QStringList kept = beforeRestoreFiles();
        QCOMPARE(kept.size(), 2);
        QVERIFY2(QRegularExpression(QStringLiteral(R"(^CmpLogo\.jpg\.before-restore-\d{8}-\d{6}$)")).match(kept[0]).hasMatch(),
                 qPrintable(kept[0]));
        QVERIFY2(QRegularExpression(QStringLiteral(R"(^Fennick\.db\.before-restore-\d{8}-\d{6}$)")).match(kept[1]).hasMatch(),
                 qPrintable(kept[1]));
        QCOMPARE(CheckRestoreFile(QDir(GetDataFolder()).filePath(kept[1])), QString());
        QCOMPARE(fileContent(QDir(GetDataFolder()).filePath(kept[1])), before);
        QCOMPARE(bytesOf(QDir(GetDataFolder()).filePath(kept[0])), kServerLogo);

        // A file without a logo beside it leaves the server's logo as it is.
        QFile::remove(QDir(source.path()).filePath(QStringLiteral("CmpLogo.jpg")));
        const TServerRestoreOutcome outcome = RestoreServerFrom(backup);
        QVERIFY(!outcome.logoRestored);
        DbConnection server;
        QCOMPARE(ReadServerLogo(server), QByteArray("restored-logo"));
    }

    void aFailedRestoreChangesNothingOnTheServer()
    {
        QTemporaryDir source;
        const QString backup = makeOtherBackup(source.path());
        {
            // A column the server's table lacks: met only once the tables are being replaced.
            DbConnection file(backup);
            file.execute(QStringLiteral("ALTER TABLE tblPrices ADD COLUMN strSupplier TEXT;"));
        }
        const auto before = serverContent();
        ScriptedMessages messages;
        PickerAnswer answer(backup);
        QVERIFY(!RestoreData());
        QVERIFY2(messages.texts().value(0).contains(QStringLiteral("strSupplier")), qPrintable(messages.texts().value(0)));
        QVERIFY(messages.texts().value(0).endsWith(QStringLiteral("is unchanged.")));
        COMPARE_CONTENT(serverContent(), before);
        DbConnection server;
        QCOMPARE(ReadServerLogo(server), kServerLogo);

        // A file that is no database of this program is refused before anything happens.
        writeBytes(backup, "not a database");
        QVERIFY_THROWS_EXCEPTION(TRestoreRefused, RestoreServerFrom(backup));
        COMPARE_CONTENT(serverContent(), before);
    }

    void otherConnectedSeatsAreWarnedAboutFirst()
    {
        QTemporaryDir source;
        const QString backup = makeOtherBackup(source.path());
        QCOMPARE(OtherSeatsConnected(), 0);
        // Another seat: a connection of the program that this seat does not hold idle.
        std::unique_ptr<dbserver::Session> other = TakeServerSession(TestProgramConnection());
        QCOMPARE(OtherSeatsConnected(), 1);
        const auto before = serverContent();
        {
            ScriptedMessages messages;
            messages.queue(MessageAnswer::Cancel);
            PickerAnswer answer(backup);
            QVERIFY(!RestoreData());
            QCOMPARE(messages.shown().size(), 2);
            QVERIFY2(messages.shown()[0].text.startsWith(QStringLiteral("1 other seat is connected to the database %1")
                                                             .arg(TestProgramDatabase())),
                     qPrintable(messages.shown()[0].text));
            QCOMPARE(messages.shown()[0].defaultAnswer, MessageAnswer::Cancel);
            QCOMPARE(messages.shown()[1].text, QStringLiteral("Restore of company database cancelled"));
        }
        COMPARE_CONTENT(serverContent(), before);
        QVERIFY(beforeRestoreFiles().isEmpty());
        {
            ScriptedMessages messages;
            messages.queue(MessageAnswer::Yes);
            PickerAnswer answer(backup);
            QVERIFY(RestoreData());
        }
        COMPARE_CONTENT(serverContent(), fileContent(backup));
        GiveBackServerSession(TestProgramConnection(), std::move(other));
    }

    void theDailyCopyIsTakenOncePerDayWhereTheSeatIsSetTo()
    {
        const QDate today(2026, 12, 11);
        // Off by default.
        QCOMPARE(RunDailyServerCopy(today), QString());
        QVERIFY(!QFileInfo::exists(GetServerCopiesFolder()));

        WriteDailyServerCopySetting(true);
        const QString copy = RunDailyServerCopy(today);
        QCOMPARE(copy, QDir(GetServerCopiesFolder()).filePath(QStringLiteral("Fennick-2026-12-11.db")));
        QCOMPARE(CheckRestoreFile(copy), QString());
        COMPARE_CONTENT(fileContent(copy), serverContent());
        QCOMPARE(bytesOf(QDir(GetServerCopiesFolder()).filePath(QStringLiteral("CmpLogo-2026-12-11.jpg"))), kServerLogo);
        QCOMPARE(serverRows(QStringLiteral("SELECT 1 FROM tblServerDailyCopy WHERE strCopyDay = '2026-12-11';")), 1);

        // Another seat closing the same day takes none; the next day is copied again.
        QFile::remove(copy);
        QFile::remove(QDir(GetServerCopiesFolder()).filePath(QStringLiteral("CmpLogo-2026-12-11.jpg")));
        QCOMPARE(RunDailyServerCopy(today), QString());
        QVERIFY(!QFileInfo::exists(copy));
        QVERIFY(!RunDailyServerCopy(today.addDays(1)).isEmpty());

        // The last ten are kept.
        for (int day = 2; day <= 12; ++day) RunDailyServerCopy(today.addDays(day));
        const QStringList kept = QDir(GetServerCopiesFolder()).entryList({QStringLiteral("Fennick-*.db")}, QDir::Files);
        QCOMPARE(kept.size(), 10);
        QCOMPARE(kept.first(), QStringLiteral("Fennick-2026-12-14.db"));
        QCOMPARE(QDir(GetServerCopiesFolder()).entryList({QStringLiteral("CmpLogo-*.jpg")}, QDir::Files).size(), 10);
    }

    void twoSeatsClosingTogetherDoNotBothCopy()
    {
        WriteDailyServerCopySetting(true);
        const QDate today(2026, 12, 11);
        for (const bool otherCommits : {true, false}) {
            DbConnection claimed = DbConnection::ToServer(TestProgramConnection());
            claimed.execute(QStringLiteral("DELETE FROM tblServerDailyCopy;"));
            // The other seat has claimed the day and is still copying.
            std::atomic<bool> waiting{false};
            std::optional<DbTransaction> other;
            other.emplace(claimed);
            claimed.execute(QStringLiteral("INSERT INTO tblServerDailyCopy(strCopyDay) VALUES('2026-12-11');"));
            std::thread ends([&] {
                while (!waiting) std::this_thread::yield();
                // Until this seat waits on the claim (or is done), then the other ends.
                for (int i = 0; i < 200 && serverRows(QStringLiteral("SELECT 1 FROM pg_stat_activity WHERE datname = "
                                                                     "current_database() AND wait_event_type = 'Lock';"))
                                                == 0;
                     ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (otherCommits) other->commit();
                other.reset();
            });
            waiting = true;
            const QString copy = RunDailyServerCopy(today);
            ends.join();
            QCOMPARE(copy.isEmpty(), otherCommits);
            QCOMPARE(serverRows(QStringLiteral("SELECT 1 FROM tblServerDailyCopy;")), 1);
            QFile::remove(QDir(GetServerCopiesFolder()).filePath(QStringLiteral("Fennick-2026-12-11.db")));
        }
    }

    void aFailedDailyCopyLeavesTheDayForTheNextSeat()
    {
        WriteDailyServerCopySetting(true);
        QDir().mkpath(GetBackupsFolder());
        writeBytes(GetServerCopiesFolder(), "a file where the folder belongs");
        try {
            RunDailyServerCopy(QDate(2026, 12, 11));
            QFAIL("copied");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("The automatic daily copy of the database %1")
                                                    .arg(TestProgramDatabase())),
                     qPrintable(error.message()));
        }
        QCOMPARE(serverRows(QStringLiteral("SELECT 1 FROM tblServerDailyCopy;")), 0);
    }

    void theSharedDatabaseScreenKeepsTheDailyCopySetting()
    {
        {
            TfrmSharedDatabase screen;
            auto* box = screen.findChild<QCheckBox*>(QStringLiteral("ckbxDailyServerCopy"));
            QVERIFY(box);
            QVERIFY(!box->isChecked());
            box->click();
        }
        QVERIFY(ReadDailyServerCopySetting());
        const QSettings settings(GetSeatSettingsPath(), QSettings::NativeFormat);
        QCOMPARE(settings.value(QStringLiteral("Database/DailyServerCopy")).toBool(), true);
        TfrmSharedDatabase again;
        QVERIFY(again.findChild<QCheckBox*>(QStringLiteral("ckbxDailyServerCopy"))->isChecked());
    }
};

FENNICK_TEST_MAIN(TestServerBackup)
#include "test_serverbackup.moc"
