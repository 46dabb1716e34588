// Backup and restore against real files: the pickers answered through the modal
// runner, the messages read from the scripted answerer, the copies opened again
// with the engine. Also the refusals that leave the live database untouched,
// a backup over a crash journal, and the daily backups kept at close.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitModalRunner.h"
#include "backup/unitBackupRestoreData.h"
#include "backup/unitDailyBackups.h"
#include "backup/unitfrmBackupRestore.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "shell/unitfrmMain.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <unistd.h>

namespace {

// Answers the next picker: the path to choose, or an empty text to cancel.
// Records the pickers' titles and object names.
class PickerAnswer {
public:
    explicit PickerAnswer(QString path)
        : m_runner([this, path](QDialog& dialog) {
              auto* picker = qobject_cast<QFileDialog*>(&dialog);
              if (!picker) {
                  QTest::qFail("a file dialog was expected", __FILE__, __LINE__);
                  return int(QDialog::Rejected);
              }
              titles << picker->windowTitle();
              names << picker->objectName();
              fileModes << int(picker->fileMode());
              if (path.isEmpty()) return int(QDialog::Rejected);
              picker->selectFile(path);
              return int(QDialog::Accepted);
          })
    {
    }
    QStringList titles, names;
    QList<int> fileModes;

private:
    ScopedModalRunner m_runner;
};

QString ReadCompanyName(const QString& path)
{
    DbConnection connection(path);
    DbStatement read = connection.prepare(QStringLiteral("SELECT strCompName FROM tblCompanyInfo WHERE intCompInfoID = 1"));
    return read.step() ? read.columnText(0) : QString();
}

void SetCompany(const QString& path, const QString& name, const QString& taxName)
{
    DbConnection connection(path);
    connection.execute(QStringLiteral("UPDATE tblCompanyInfo SET strCompName = ? WHERE intCompInfoID = 1"), {name});
    connection.execute(QStringLiteral("UPDATE tblCompanyInvData SET strTaxName1 = ? WHERE intCompInvDataID = 1"), {taxName});
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QStringList AllEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Some documents, so the file spans many pages.
void AddDocumentsOverManyPages()
{
    DbConnection connection;
    DbTransaction transaction(connection);
    for (int number = 1; number <= 200; ++number)
        connection.execute(QStringLiteral("INSERT INTO tblInvDataHeader (intInvNumber, strInvNotes) VALUES (?, ?)"),
                           {number, QString(500, QLatin1Char('x'))});
    transaction.commit();
}

QString SystemMessage(int number) { return QStringLiteral("Error %1 : %2").arg(number).arg(QString::fromLocal8Bit(std::strerror(number))); }

} // namespace

class TestBackupRestore : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        QDir data(GetDataFolder());
        for (const QString& name : data.entryList({QStringLiteral("Fennick.db.*"), QStringLiteral("Fennick.db-*")}, QDir::Files))
            data.remove(name);
        QDir(GetBackupsFolder()).removeRecursively();
    }

    // The backup replaces an earlier one without asking and leaves no other file.
    void backupTwiceOverwritesTheFirst()
    {
        QTemporaryDir target;
        ScriptedMessages messages;
        SetCompany(GetDatabasePath(), QStringLiteral("First Co"), QStringLiteral("T1"));
        {
            PickerAnswer answer(target.path());
            BackupData();
            QCOMPARE(answer.titles, QStringList{"Backup Company Database"});
            QCOMPARE(answer.fileModes, QList<int>{int(QFileDialog::Directory)});
        }
        SetCompany(GetDatabasePath(), QStringLiteral("Second Co"), QStringLiteral("T2"));
        {
            PickerAnswer answer(target.path());
            BackupData();
        }
        QCOMPARE(messages.texts(), (QStringList{"Backup of company database successful",
                                                "Backup of company database successful"}));
        QCOMPARE(messages.shown()[0].kind, MessageKind::Information);
        QCOMPARE(AllEntries(target.path()), QStringList{"Fennick.db"});
        const QString backup = QDir(target.path()).filePath(QStringLiteral("Fennick.db"));
        QCOMPARE(ReadCompanyName(backup), QStringLiteral("Second Co"));
        QCOMPARE(CheckRestoreFile(backup), QString());
        // The copy holds the mail password: readable by its owner only.
        QCOMPARE(QFile::permissions(backup) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    }

    void cancelledPickersSaySo()
    {
        ScriptedMessages messages;
        {
            PickerAnswer answer{QString()};
            BackupData();
        }
        {
            PickerAnswer answer{QString()};
            QVERIFY(!RestoreData());
            QCOMPARE(answer.titles, QStringList{"Restore Company Database"});
            QCOMPARE(answer.fileModes, QList<int>{int(QFileDialog::ExistingFile)});
        }
        QCOMPARE(messages.texts(), (QStringList{"Backup of company database cancelled",
                                                "Restore of company database cancelled"}));
        QCOMPARE(messages.shown()[0].kind, MessageKind::Plain);
        QCOMPARE(messages.shown()[1].kind, MessageKind::Plain);
    }

    // A failure while writing (here: the target name is taken by a folder, so
    // the final rename fails) reports the system's error and leaves the earlier
    // file of that name and nothing else.
    void aFailedBackupLeavesNothingBehind()
    {
        QTemporaryDir target;
        const QString taken = QDir(target.path()).filePath(QStringLiteral("Fennick.db"));
        QVERIFY(QDir().mkpath(taken + QStringLiteral("/inside")));
        ScriptedMessages messages;
        {
            PickerAnswer answer(target.path());
            BackupData();
        }
        QCOMPARE(messages.texts(), QStringList{SystemMessage(EISDIR)});
        QCOMPARE(messages.shown()[0].kind, MessageKind::Information);
        QCOMPARE(AllEntries(target.path()), QStringList{"Fennick.db"});
        QCOMPARE(AllEntries(taken), QStringList{"inside"});
    }

    // A folder where no file can be made: the system's error, nothing written.
    void aBackupIntoAFolderThatIsNotWritable()
    {
        QTemporaryDir scratch;
        QString folder = scratch.path() + QStringLiteral("/locked");
        QVERIFY(QDir().mkpath(folder));
        if (::geteuid() == 0) {
            // The superuser writes anywhere a file system allows it; /sys allows nothing.
            folder = QStringLiteral("/sys");
        } else {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        }
        QByteArray probe = QFile::encodeName(folder + QStringLiteral("/probe.XXXXXX"));
        const int fd = ::mkstemp(probe.data());
        QVERIFY2(fd < 0, "the folder must refuse new files");
        const int expected = errno;
        const QStringList before = AllEntries(folder);

        ScriptedMessages messages;
        {
            PickerAnswer answer(folder);
            BackupData();
        }
        QCOMPARE(messages.texts(), QStringList{SystemMessage(expected)});
        QCOMPARE(AllEntries(folder), before);
        QFile::setPermissions(scratch.path() + QStringLiteral("/locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A backup taken while a crash left a hot rollback journal holds every
    // committed document and none of the half-written transaction.
    void aBackupOverACrashJournalHoldsCommittedData()
    {
        const QString live = GetDatabasePath();
        {
            DbConnection connection;
            DbTransaction transaction(connection);
            const QString notes(600, QLatin1Char('n'));
            for (int number = 1; number <= 300; ++number)
                connection.execute(QStringLiteral("INSERT INTO tblInvDataHeader (intInvNumber, strInvName, "
                                                  "strCustCmpnyName, strInvNotes) VALUES (?, 'Invoice', ?, ?)"),
                                   {number, QStringLiteral("Committed %1").arg(number), notes});
            transaction.commit();
        }
        // A writer that spills its uncommitted change into the file, caught
        // mid-way: the file and its journal copied as a crash would leave them.
        QTemporaryDir crash;
        const QString crashed = QDir(crash.path()).filePath(QStringLiteral("Fennick.db"));
        sqlite3* writer = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(live).constData(), &writer, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_exec(writer, "PRAGMA cache_size=2; BEGIN; UPDATE tblInvDataHeader SET "
                                      "strCustCmpnyName = 'UNCOMMITTED', strInvNotes = upper(strInvNotes);",
                              nullptr, nullptr, nullptr), SQLITE_OK);
        QVERIFY(QFile::copy(live, crashed));
        QVERIFY(QFile::copy(live + QStringLiteral("-journal"), crashed + QStringLiteral("-journal")));
        sqlite3_exec(writer, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(writer);
        QVERIFY2(FileBytes(crashed).contains("UNCOMMITTED"), "the fixture must hold spilled, uncommitted pages");
        QVERIFY(QFileInfo(crashed + QStringLiteral("-journal")).size() > 0);

        // The crashed pair becomes the live database.
        QVERIFY(QFile::remove(live));
        QVERIFY(QFile::copy(crashed, live));
        QVERIFY(QFile::copy(crashed + QStringLiteral("-journal"), live + QStringLiteral("-journal")));

        QTemporaryDir target;
        const QString backup = BackupDatabaseTo(target.path());
        QCOMPARE(CheckRestoreFile(backup), QString());
        DbConnection connection(backup);
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblInvDataHeader WHERE strCustCmpnyName LIKE 'Committed %'")), 300);
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblInvDataHeader WHERE strCustCmpnyName = 'UNCOMMITTED'")), 0);
        QCOMPARE(AllEntries(target.path()), QStringList{"Fennick.db"});
    }

    // Only a chosen file named exactly Fennick.db goes further.
    void restoreNeedsTheExactFileName_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::newRow("a folder") << "folder";
        QTest::newRow("other letter case") << "fennick.db";
        QTest::newRow("upper case") << "FENNICK.DB";
        QTest::newRow("another name") << "Fennick.db.bak";
    }
    void restoreNeedsTheExactFileName()
    {
        QFETCH(QString, chosen);
        QTemporaryDir source;
        const QString path = QDir(source.path()).filePath(chosen);
        if (chosen == QStringLiteral("folder"))
            QVERIFY(QDir().mkpath(path));
        else
            QVERIFY(QFile::copy(GetDatabasePath(), path));
        const QByteArray liveBefore = FileBytes(GetDatabasePath());
        ScriptedMessages messages;
        {
            PickerAnswer answer(path);
            QVERIFY(!RestoreData());
        }
        QCOMPARE(messages.texts(),
                 QStringList{"Database File \"Fennick.db\" not found\nRestore of company database cancelled"});
        QCOMPARE(messages.shown()[0].kind, MessageKind::Plain);
        QCOMPARE(FileBytes(GetDatabasePath()), liveBefore);
    }

    // After a restore from the main window, the company name and taxes shown
    // are the restored file's, and the replaced file sits beside it.
    void restoreFromTheMainWindow()
    {
        SetCompany(GetDatabasePath(), QStringLiteral("Restored Roofing"), QStringLiteral("GST"));
        QTemporaryDir source;
        const QString backup = BackupDatabaseTo(source.path());
        SetCompany(GetDatabasePath(), QStringLiteral("Current Cleaning"), QStringLiteral("PST"));
        LoadCompanyData();

        TfrmMain window;
        window.show();
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblCompanyName"))->text(), QStringLiteral("Current Cleaning"));
        ScriptedMessages messages;
        {
            PickerAnswer answer(backup);
            window.findChild<QAction*>(QStringLiteral("submnuRestoreData"))->trigger();
            QCOMPARE(answer.names, QStringList{kRestorePickerName});
        }
        QCOMPARE(messages.texts(),
                 QStringList{"Restore of company database successful\nThe database it replaced is kept as " +
                             QDir::toNativeSeparators(GetBeforeRestorePath())});
        QCOMPARE(messages.shown()[0].kind, MessageKind::Information);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblCompanyName"))->text(), QStringLiteral("Restored Roofing"));
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Restored Roofing"));
        QCOMPARE(recCmpnyInvData.strTaxName1, QStringLiteral("GST"));
        QCOMPARE(ReadCompanyName(GetDatabasePath()), QStringLiteral("Restored Roofing"));
        QCOMPARE(GetBeforeRestorePath(), GetDatabasePath() + QStringLiteral(".before-restore"));
        QCOMPARE(ReadCompanyName(GetBeforeRestorePath()), QStringLiteral("Current Cleaning"));
        // Nothing else is left in the data folder.
        QStringList left = AllEntries(GetDataFolder());
        left.removeAll(QStringLiteral("TempFolder"));
        QCOMPARE(left, (QStringList{"Fennick.db", "Fennick.db.before-restore"}));
        QVERIFY(window.findChild<QAction*>(QStringLiteral("submnuBackupData"))->isEnabled());
    }

    // A file that is no database of this program is refused with the reason;
    // the live database stays byte for byte what it was.
    void restoreRefusesAFileThatIsNotThisProgramsDatabase_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text file") << "text" << "The file is not a database";
        QTest::newRow("truncated copy") << "truncated" << "The database file is damaged";
        QTest::newRow("another program's database") << "foreign" << "the table tblAppPreferences is missing";
        QTest::newRow("a column missing") << "ALTER TABLE tblCustomers DROP COLUMN strCustNotes;"
                                          << "the table tblCustomers has no column strCustNotes";
        // Every start reads these rows: without one, no start would succeed.
        QTest::newRow("company row missing")
            << "DELETE FROM tblCompanyInfo;"
            << "the company information row (tblCompanyInfo with intCompInfoID = 1) is missing";
        QTest::newRow("settings row missing")
            << "UPDATE tblCompanyInvData SET intCompInvDataID = 2;"
            << "the company invoice settings row (tblCompanyInvData with intCompInvDataID = 1) is missing";
        QTest::newRow("colour row missing")
            << "DELETE FROM tblCompColorData;"
            << "the document colour row (tblCompColorData with intColorID = 1) is missing";
        QTest::newRow("preferences row missing")
            << "DELETE FROM tblAppPreferences;"
            << "the window preferences row (tblAppPreferences with intAppPreferencesIdNumber = 1) is missing";
        QTest::newRow("counter empty")
            << "UPDATE tblCompanyInvData SET intInvNumber = NULL;"
            << "the document counter (intInvNumber of tblCompanyInvData) holds no number";
    }
    void restoreRefusesAFileThatIsNotThisProgramsDatabase()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        AddDocumentsOverManyPages();
        QTemporaryDir source;
        const QString path = QDir(source.path()).filePath(QStringLiteral("Fennick.db"));
        if (kind == QStringLiteral("text")) {
            WriteBytes(path, "Dear customer,\nthis is a letter, not a database.\n");
        } else if (kind == QStringLiteral("truncated")) {
            const QByteArray whole = FileBytes(GetDatabasePath());
            WriteBytes(path, whole.left(whole.size() / 2));
        } else if (kind == QStringLiteral("foreign")) {
            DbConnection other = DbConnection::createDatabaseFile(path);
            other.execute(QStringLiteral("CREATE TABLE recipes(id INTEGER PRIMARY KEY, name TEXT);"));
            other.execute(QStringLiteral("INSERT INTO recipes(name) VALUES ('soup');"));
        } else {
            BackupDatabaseTo(source.path());
            DbConnection copy(path);
            copy.execute(kind);
        }
        const QString liveName = recCompanyData.strCompName;
        const QByteArray liveBefore = FileBytes(GetDatabasePath());
        ScriptedMessages messages;
        {
            PickerAnswer answer(path);
            QVERIFY(!RestoreData());
        }
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Information);
        const QString text = messages.shown()[0].text;
        QVERIFY2(text.contains(reason), qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("\nRestore of company database cancelled")));
        QCOMPARE(FileBytes(GetDatabasePath()), liveBefore);
        QVERIFY(!QFile::exists(GetBeforeRestorePath()));
        QStringList left = AllEntries(GetDataFolder());
        left.removeAll(QStringLiteral("TempFolder"));
        QCOMPARE(left, QStringList{"Fennick.db"});
        QCOMPARE(recCompanyData.strCompName, liveName);
    }

    // One file a day, refreshed by every run that day, the newest ten kept;
    // other files in the folder are left alone.
    void dailyBackupsOneADayTenKept()
    {
        const QString folder = GetBackupsFolder();
        QCOMPARE(folder, QDir(GetDataFolder()).filePath(QStringLiteral("Backups")));
        const QDate first(2026, 3, 1);
        SetCompany(GetDatabasePath(), QStringLiteral("Morning Co"), QStringLiteral("T1"));
        const QString morning = RunDailyBackup(first);
        QCOMPARE(morning, QDir(folder).filePath(QStringLiteral("Fennick-2026-03-01.db")));
        // Work later that day reaches the day's copy at the next close.
        SetCompany(GetDatabasePath(), QStringLiteral("Evening Co"), QStringLiteral("T1"));
        QCOMPARE(RunDailyBackup(first), morning);
        QCOMPARE(ReadCompanyName(morning), QStringLiteral("Evening Co"));
        QCOMPARE(AllEntries(folder), QStringList{"Fennick-2026-03-01.db"});
        QCOMPARE(QFile::permissions(folder) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

        WriteBytes(QDir(folder).filePath(QStringLiteral("my notes.txt")), "keep me");
        for (int day = 1; day <= 11; ++day) RunDailyBackup(first.addDays(day));
        QStringList expected;
        for (int day = 2; day <= 11; ++day) expected << DailyBackupFileName(first.addDays(day));
        expected << QStringLiteral("my notes.txt");
        QCOMPARE(AllEntries(folder), expected);
        QCOMPARE(DailyBackupFileName(QDate(2026, 12, 9)), QStringLiteral("Fennick-2026-12-09.db"));
        QCOMPARE(CheckRestoreFile(QDir(folder).filePath(expected.first())), QString());
        QCOMPARE(NewestDailyBackup(first.addDays(11)), QDir(folder).filePath(expected.at(9)));
    }

    // Backups dated after today (made while the clock was wrong) neither count
    // towards the ten nor push a real backup out.
    void futureDatedBackupsPushNoRealBackupOut()
    {
        const QDate today(2026, 3, 20);
        const QString folder = GetBackupsFolder();
        for (int day = 0; day < 3; ++day) RunDailyBackup(today.addDays(day - 3));
        const QString real = QDir(folder).filePath(DailyBackupFileName(today.addDays(-1)));
        for (int year = 2090; year < 2102; ++year)
            QVERIFY(QFile::copy(real, QDir(folder).filePath(DailyBackupFileName(QDate(year, 1, 1)))));
        RunDailyBackup(today);
        const QStringList left = AllEntries(folder);
        QCOMPARE(left.size(), 16);
        for (int day = 0; day <= 3; ++day) QVERIFY(left.contains(DailyBackupFileName(today.addDays(day - 3))));
        QCOMPARE(NewestDailyBackup(today), QDir(folder).filePath(DailyBackupFileName(today)));
    }

    // A Backups folder that takes no file: the message names the automatic
    // backup, gives the system's reason and says what was kept.
    void anUnwritableBackupsFolderSaysWhatFailed()
    {
        const QDate today(2026, 3, 20);
        RunDailyBackup(today.addDays(-1));
        const QString yesterday = QDir(GetBackupsFolder()).filePath(DailyBackupFileName(today.addDays(-1)));
        const QByteArray kept = FileBytes(yesterday);
        QString reason;
        if (::geteuid() == 0) {
            // The superuser writes anywhere a file system allows it; /sys allows nothing.
            QDir(GetBackupsFolder()).removeRecursively();
            QVERIFY(QFile::link(QStringLiteral("/sys/kernel"), GetBackupsFolder()));
            reason = QString::fromLocal8Bit(std::strerror(EACCES));
        } else {
            QVERIFY(QFile::setPermissions(GetBackupsFolder(), QFile::ReadOwner | QFile::ExeOwner));
            reason = QString::fromLocal8Bit(std::strerror(EACCES));
        }
        const QString target = QDir(GetBackupsFolder()).filePath(DailyBackupFileName(today));
        try {
            RunDailyBackup(today);
            QFAIL("the backup must fail");
        } catch (const AppError& error) {
            QCOMPARE(error.message(),
                     QStringLiteral("The automatic daily backup could not be saved as %1: %2 (error %3).\n"
                                    "The database %4 is unchanged, and the backups already in %5 were kept.")
                         .arg(target, reason)
                         .arg(EACCES)
                         .arg(GetDatabasePath(), GetBackupsFolder()));
        }
        if (::geteuid() == 0) {
            QVERIFY(QFile::remove(GetBackupsFolder()));
        } else {
            QVERIFY(QFile::setPermissions(GetBackupsFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QCOMPARE(FileBytes(yesterday), kept);
            QVERIFY(QDir(GetBackupsFolder()).removeRecursively());
        }
        // A Backups that is a file, not a folder: the folder cannot be made.
        WriteBytes(GetBackupsFolder(), "not a folder");
        try {
            RunDailyBackup(today);
            QFAIL("the backup must fail");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("The automatic daily backup could not be saved as %1: "
                                                               "the folder cannot be made (%2)")
                                                    .arg(target, QString::fromLocal8Bit(std::strerror(EEXIST)))),
                     qPrintable(error.message()));
        }
        QVERIFY(QFile::remove(GetBackupsFolder()));
    }

    // A backup into the data folder would replace the live database with a
    // copy of itself: refused, nothing written, by its own path or through a link.
    void backupIntoTheDataFolderIsRefused_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("the data folder") << false;
        QTest::newRow("a link to it") << true;
    }
    void backupIntoTheDataFolderIsRefused()
    {
        QFETCH(bool, throughLink);
        QTemporaryDir scratch;
        QString chosen = GetDataFolder();
        if (throughLink) {
            chosen = scratch.path() + QStringLiteral("/shortcut");
            QVERIFY(QFile::link(GetDataFolder(), chosen));
        }
        const QByteArray before = FileBytes(GetDatabasePath());
        const QStringList entries = AllEntries(GetDataFolder());
        ScriptedMessages messages;
        {
            PickerAnswer answer(chosen);
            BackupData();
        }
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("The folder %1 is the program's own data folder: a backup there would replace "
                                            "the database it copies. Please choose another folder, best on another "
                                            "disk.\nBackup of company database cancelled")
                                 .arg(chosen)});
        QCOMPARE(messages.shown()[0].kind, MessageKind::Information);
        QCOMPARE(FileBytes(GetDatabasePath()), before);
        QCOMPARE(AllEntries(GetDataFolder()), entries);
    }

    // A live database the checked copy refuses (damaged, or no database at
    // all) is kept as it is, with its journal, and the backup goes in place.
    void restoreRescuesADamagedLiveDatabase_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("a damaged page") << "page";
        QTest::newRow("not a database any more") << "text";
    }
    void restoreRescuesADamagedLiveDatabase()
    {
        QFETCH(QString, damage);
        SetCompany(GetDatabasePath(), QStringLiteral("Restored Roofing"), QStringLiteral("GST"));
        QTemporaryDir source;
        const QString backup = BackupDatabaseTo(source.path());
        AddDocumentsOverManyPages();
        if (damage == QStringLiteral("page"))
            DamageRootPage(GetDatabasePath(), QStringLiteral("tblInvDataHeader"));
        else
            WriteBytes(GetDatabasePath(), QByteArray(8192, 'z'));
        // A journal that is not hot: it belongs to the damaged file and goes with it.
        const QByteArray journal = QByteArray(1, '\0') + QByteArray(511, 'j');
        WriteBytes(GetDatabasePath() + QStringLiteral("-journal"), journal);
        const QByteArray damaged = FileBytes(GetDatabasePath());

        ScriptedMessages messages;
        {
            PickerAnswer answer(backup);
            QVERIFY(RestoreData());
        }
        QCOMPARE(messages.shown().size(), 1);
        const QString text = messages.shown()[0].text;
        QVERIFY2(text.startsWith(QStringLiteral("Restore of company database successful\nThe database it replaced was "
                                                "damaged (")),
                 qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("), so it was not copied: it is kept as it was, as ") + GetBeforeRestorePath()),
                 qPrintable(text));
        QCOMPARE(ReadCompanyName(GetDatabasePath()), QStringLiteral("Restored Roofing"));
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Restored Roofing"));
        QCOMPARE(FileBytes(GetBeforeRestorePath()), damaged);
        QCOMPARE(FileBytes(GetBeforeRestorePath() + QStringLiteral("-journal")), journal);
        QVERIFY(!QFile::exists(GetDatabasePath() + QStringLiteral("-journal")));
        QStringList left = AllEntries(GetDataFolder());
        left.removeAll(QStringLiteral("TempFolder"));
        QCOMPARE(left, (QStringList{"Fennick.db", "Fennick.db.before-restore", "Fennick.db.before-restore-journal"}));
    }

    // Two restores in a row: the newest replaced database is the
    // before-restore file, the one it displaced carries its time in its name.
    void eachRestoreKeepsWhatItReplaced()
    {
        QTemporaryDir source;
        SetCompany(GetDatabasePath(), QStringLiteral("Backup Co"), QStringLiteral("T"));
        const QString backup = BackupDatabaseTo(source.path());
        SetCompany(GetDatabasePath(), QStringLiteral("Before First"), QStringLiteral("T"));
        RestoreDatabaseFrom(backup);
        const QDateTime firstKeptTime = QFileInfo(GetBeforeRestorePath()).lastModified();
        SetCompany(GetDatabasePath(), QStringLiteral("Before Second"), QStringLiteral("T"));

        ScriptedMessages messages;
        {
            PickerAnswer answer(backup);
            QVERIFY(RestoreData());
        }
        const QString stamped =
            GetBeforeRestorePath() + QLatin1Char('-') + firstKeptTime.toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("Restore of company database successful\nThe database it replaced is kept as "
                                            "%1\nThe database kept by the restore before is now %2")
                                 .arg(GetBeforeRestorePath(), stamped)});
        QCOMPARE(ReadCompanyName(GetBeforeRestorePath()), QStringLiteral("Before Second"));
        QCOMPARE(ReadCompanyName(stamped), QStringLiteral("Before First"));
        QCOMPARE(ReadCompanyName(GetDatabasePath()), QStringLiteral("Backup Co"));

        // A third restore within the same second keeps all three.
        {
            QFile kept(GetBeforeRestorePath());
            QVERIFY(kept.open(QIODevice::ReadWrite));
            QVERIFY(kept.setFileTime(firstKeptTime, QFileDevice::FileModificationTime));
        }
        RestoreDatabaseFrom(backup);
        QCOMPARE(ReadCompanyName(stamped), QStringLiteral("Before First"));
        QCOMPARE(ReadCompanyName(stamped + QStringLiteral("-2")), QStringLiteral("Before Second"));
        QCOMPARE(ReadCompanyName(GetBeforeRestorePath()), QStringLiteral("Backup Co"));
    }

    // Closing the main window makes today's backup.
    void closingTheMainWindowMakesTodaysBackup()
    {
        QDir(GetBackupsFolder()).removeRecursively();
        {
            TfrmMain window;
            window.show();
            window.close();
        }
        QCOMPARE(AllEntries(GetBackupsFolder()), QStringList{DailyBackupFileName(QDate::currentDate())});
    }
};

FENNICK_TEST_MAIN(TestBackupRestore)
#include "test_backuprestore.moc"
