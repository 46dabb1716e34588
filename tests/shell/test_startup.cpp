// The start-up sequence against a real data folder: first start, second start,
// the temp folder emptied, a deleted database rebuilt, a damaged one refused.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "shell/unitStartUp.h"
#include "app/unitfrmSaving.h"
#include "app/unitModalRunner.h"
#include "backup/unitBackupRestoreData.h"
#include "backup/unitDailyBackups.h"
#include "backup/unitfrmBackupRestore.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString& path, const QByteArray& content = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

void setCompanyName(const QString& name)
{
    DbConnection db;
    db.execute(QStringLiteral("UPDATE tblCompanyInfo SET strCompName = ? WHERE intCompInfoID = 1;"), {name});
}

// A first start, then a database whose company settings page is damaged, the
// way a failing disk leaves it; returns the damaged bytes.
QByteArray startThenDamage(const QString& damage)
{
    StartUp();
    RunOutSavingNotice();
    if (damage == QStringLiteral("page"))
        DamageRootPage(GetDatabasePath(), QStringLiteral("tblCompanyInfo"));
    else
        writeFile(GetDatabasePath(), QByteArray(4096, 'z'));
    return fileBytes(GetDatabasePath());
}

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetSavingNoticeTickMs(600000); }
    void cleanup() { RunOutSavingNotice(); }

    void firstStartBuildsEverything()
    {
        TestDataFolder data;
        QVERIFY(!QDir(GetCompanyFolder()).exists());
        recCompanyData = {};
        arrFormMaximized = {false, false, false, false};

        StartUp();

        QVERIFY(QDir(GetCompanyFolder()).exists());
        QVERIFY(QDir(GetDataFolder()).exists());
        QVERIFY(QDir(GetTempFolder()).exists());
        QVERIFY(QFile::exists(GetDatabasePath()));
        QCOMPARE(QFileInfo(GetDatabasePath()).fileName(), QStringLiteral("Fennick.db"));
        QVERIFY(CurrentSavingNotice());
        QCOMPARE(CurrentSavingNotice()->windowTitle(), QStringLiteral("Building DataBase..."));
        // Settings and window preferences come from the new default rows.
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("My Company Name"));
        QCOMPARE(arrFormMaximized, (std::array<bool, 4>{true, true, true, true}));
    }

    void secondStartChangesNothing()
    {
        TestDataFolder data;
        StartUp();
        RunOutSavingNotice();
        // Default rows are never written again, even when the user removed them.
        {
            DbConnection db;
            db.execute(QStringLiteral("DELETE FROM tblCustomers;"));
            db.execute(QStringLiteral("UPDATE tblCompanyInfo SET strCompName = ? WHERE intCompInfoID = 1;"),
                       {QStringLiteral("Acme Windows")});
        }
        writeFile(GetLogoPath(), "logo");
        const QByteArray before = fileHash(GetDatabasePath());

        StartUp();

        QVERIFY(!CurrentSavingNotice());
        QCOMPARE(fileHash(GetDatabasePath()), before);
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Acme Windows"));
        QVERIFY(QFile::exists(GetLogoPath()));
    }

    // A file made by an earlier version has no index on the document number:
    // the start adds them, so a document is found without reading them all.
    void startIndexesTheDocumentNumbers()
    {
        TestDataFolder data;
        StartUp();
        RunOutSavingNotice();
        {
            DbConnection db;
            db.execute(QStringLiteral("DROP INDEX idxInvDataHeaderNumber;"));
            db.execute(QStringLiteral("DROP INDEX idxInvDataNumber;"));
        }
        StartUp();
        DbConnection db;
        for (const QString table : {QStringLiteral("tblInvDataHeader"), QStringLiteral("tblInvData")}) {
            DbStatement plan = db.prepare(
                QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM %1 WHERE intInvNumber = ?;").arg(table), {1001});
            QVERIFY(plan.step());
            QVERIFY2(plan.columnText(3).contains(QStringLiteral("USING INDEX")), qPrintable(plan.columnText(3)));
        }
    }

    void missingPerUserDataFolderIsMade()
    {
        TestDataFolder data;
        const QByteArray base = qgetenv("XDG_DATA_HOME") + "/fresh/.local/share";
        qputenv("XDG_DATA_HOME", base);
        StartUp();
        QVERIFY(QFile::exists(QString::fromUtf8(base) + QStringLiteral("/Brassgate Software/Fennick4/Fennick.db")));
    }

    void tempFolderIsEmptiedFoldersStay()
    {
        TestDataFolder data;
        writeFile(GetTempFolder() + QStringLiteral("/Invoice500.pdf"));
        writeFile(GetTempFolder() + QStringLiteral("/sub/Estimate501.pdf"));
        writeFile(GetDataFolder() + QStringLiteral("/keep.txt"));

        StartUp();

        QVERIFY(!QFile::exists(GetTempFolder() + QStringLiteral("/Invoice500.pdf")));
        QVERIFY(!QFile::exists(GetTempFolder() + QStringLiteral("/sub/Estimate501.pdf")));
        QVERIFY(QDir(GetTempFolder() + QStringLiteral("/sub")).exists());
        QVERIFY(QFile::exists(GetDataFolder() + QStringLiteral("/keep.txt")));
    }

    void deletedDatabaseIsRebuiltLogoUntouched()
    {
        TestDataFolder data;
        StartUp();
        RunOutSavingNotice();
        {
            DbConnection db;
            db.execute(QStringLiteral("DELETE FROM tblPrices;"));
        }
        writeFile(GetLogoPath(), "logo");
        QVERIFY(QFile::remove(GetDatabasePath()));

        StartUp();

        DbConnection db;
        QCOMPARE(db.countRows(QStringLiteral("SELECT * FROM tblPrices")), 12);
        QCOMPARE(fileHash(GetLogoPath()), QCryptographicHash::hash("logo", QCryptographicHash::Sha256));
    }

    void brokenDatabaseStopsStartUp_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing table") << QByteArray() << "DROP TABLE tblCompColorData;"
                                       << "SQLite Error 1 - no such table: tblCompColorData";
        QTest::newRow("missing settings row") << QByteArray() << "DELETE FROM tblCompanyInfo;"
                                              << "The company information row is missing from the database.";
        QTest::newRow("preference not a flag") << QByteArray() << "UPDATE tblAppPreferences SET strFrmMainMaximized = 'yes';"
                                               << "'yes' is not a valid boolean value";
    }
    void brokenDatabaseStopsStartUp()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, sql);
        QFETCH(QString, message);
        TestDataFolder data;
        if (sql.isEmpty()) {
            QDir().mkpath(GetDataFolder());
            writeFile(GetDatabasePath(), content);
        } else {
            StartUp();
            RunOutSavingNotice();
            DbConnection db;
            db.execute(sql);
        }
        const QByteArray before = fileHash(GetDatabasePath());
        try {
            StartUp();
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), message);
        }
        // An existing file is never repaired or rebuilt.
        QCOMPARE(fileHash(GetDatabasePath()), before);
    }

    // Folders and files made earlier (by an older version, by hand) lose
    // every right of other accounts at the next start.
    void everyStartKeepsTheDataFolderToItsOwner()
    {
        TestDataFolder data;
        StartUp();
        RunOutSavingNotice();
        RunDailyBackup(QDate(2026, 3, 1));
        const QString backup = QDir(GetBackupsFolder()).filePath(DailyBackupFileName(QDate(2026, 3, 1)));
        writeFile(GetBeforeRestorePath(), "kept");
        const QStringList folders{GetDataFolder(), GetTempFolder(), GetBackupsFolder()};
        const QStringList files{GetDatabasePath(), GetBeforeRestorePath(), backup};
        for (const QString& folder : folders) QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        for (const QString& file : files) QVERIFY(::chmod(QFile::encodeName(file).constData(), 0644) == 0);
        // A file of the user's own beside them is none of the program's business.
        const QString own = QDir(GetDataFolder()).filePath(QStringLiteral("Fennick notes.txt"));
        writeFile(own);
        QVERIFY(::chmod(QFile::encodeName(own).constData(), 0644) == 0);

        StartUp();

        for (const QString& folder : folders) QCOMPARE(modeOf(folder), 0700);
        for (const QString& file : files) QCOMPARE(modeOf(file), 0600);
        QCOMPARE(modeOf(own), 0644);
    }

    // A backup or restore cut short by a crash leaves its hidden temporary
    // copies; the next start removes them, and nothing else.
    void staleTempCopiesAreRemovedAtStart()
    {
        TestDataFolder data;
        StartUp();
        RunOutSavingNotice();
        const QString folder = GetDataFolder() + QLatin1Char('/');
        const QString backups = GetBackupsFolder() + QLatin1Char('/');
        const QStringList stale{folder + QStringLiteral(".Fennick.db.Ab12Cd"),
                                folder + QStringLiteral(".Fennick.db.Ab12Cd-journal"),
                                folder + QStringLiteral(".Fennick.db.before-restore.Zz99Yy"),
                                backups + QStringLiteral(".Fennick-2026-03-01.db.Qq11Ww")};
        const QStringList others{folder + QStringLiteral("Fennick.db.Ab12Cd"), folder + QStringLiteral(".Fennick.db.notes"),
                                 folder + QStringLiteral(".hidden.txt"), backups + QStringLiteral("Fennick-2026-03-01.db")};
        for (const QString& path : stale + others) writeFile(path, QByteArray(4096, 'c'));

        StartUp();

        for (const QString& path : stale) QVERIFY2(!QFile::exists(path), qPrintable(path));
        for (const QString& path : others) QVERIFY2(QFile::exists(path), qPrintable(path));
    }

    // A file damaged where every start reads it: the message names the file
    // and offers the newest automatic backup; the damaged file is kept.
    void aDamagedDatabaseOffersTheNewestBackup_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("engineMessage");
        QTest::newRow("a damaged page") << "page" << "SQLite Error 11 - database disk image is malformed";
        QTest::newRow("not a database any more") << "text" << "SQLite Error 26 - file is not a database";
    }
    void aDamagedDatabaseOffersTheNewestBackup()
    {
        QFETCH(QString, damage);
        QFETCH(QString, engineMessage);
        TestDataFolder data;
        StartUp();
        RunOutSavingNotice();
        const QDate today = QDate::currentDate();
        setCompanyName(QStringLiteral("Older Co"));
        RunDailyBackup(today.addDays(-3));
        setCompanyName(QStringLiteral("Newest Co"));
        RunDailyBackup(today.addDays(-1));
        const QString newest = QDir(GetBackupsFolder()).filePath(DailyBackupFileName(today.addDays(-1)));
        const QByteArray damaged = startThenDamage(damage);
        recCompanyData = {};

        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        QVERIFY(StartUp());

        QCOMPARE(messages.shown().size(), 2);
        const MessageRequest question = messages.shown()[0];
        QCOMPARE(question.kind, MessageKind::Question);
        QCOMPARE(question.buttons, (QStringList{"Restore the Newest Backup", "Choose a Backup File...", "Quit"}));
        QVERIFY2(question.text.startsWith(QStringLiteral("The database file %1 is damaged and cannot be read:\n%2\n\n"
                                                         "The newest automatic backup is %3, saved ")
                                              .arg(GetDatabasePath(), engineMessage, newest)),
                 qPrintable(question.text));
        QVERIFY(question.text.endsWith(QStringLiteral("The damaged file is kept beside it as %1.").arg(GetBeforeRestorePath())));
        QVERIFY2(messages.shown()[1].text.startsWith(
                     QStringLiteral("The database was restored from %1.\nThe database it replaced was damaged (").arg(newest)),
                 qPrintable(messages.shown()[1].text));
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Newest Co"));
        QCOMPARE(fileBytes(GetBeforeRestorePath()), damaged);
        QVERIFY(QFile::exists(newest));
    }

    // Quit leaves everything as it was and ends without a further message.
    void quittingAtTheDamagedDatabaseQuestionChangesNothing()
    {
        TestDataFolder data;
        StartUp();
        RunOutSavingNotice();
        RunDailyBackup(QDate::currentDate());
        const QByteArray damaged = startThenDamage(QStringLiteral("page"));
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Cancel);
        QVERIFY(!StartUp());
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(fileBytes(GetDatabasePath()), damaged);
        QVERIFY(!QFile::exists(GetBeforeRestorePath()));
    }

    // Without an automatic backup the user chooses a file; one that cannot
    // serve is refused with its reason and the question comes again.
    void aDamagedDatabaseWithoutBackupsRestoresAChosenFile()
    {
        TestDataFolder data;
        StartUp();
        RunOutSavingNotice();
        setCompanyName(QStringLiteral("Chosen Co"));
        QTemporaryDir elsewhere;
        const QString good = elsewhere.path() + QStringLiteral("/company copy.db");
        CopyDatabaseFile(GetDatabasePath(), good);
        const QString bad = elsewhere.path() + QStringLiteral("/letter.txt");
        writeFile(bad, "Dear customer");
        startThenDamage(QStringLiteral("page"));

        QStringList chosen{bad, good};
        ScopedModalRunner runner([&chosen](QDialog& dialog) {
            auto* picker = qobject_cast<QFileDialog*>(&dialog);
            if (!picker || picker->objectName() != QLatin1String(kRescuePickerName)) return int(QDialog::Rejected);
            picker->selectFile(chosen.takeFirst());
            return int(QDialog::Accepted);
        });
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        messages.queue(MessageAnswer::Yes);
        QVERIFY(StartUp());

        QCOMPARE(messages.shown().size(), 4);
        QCOMPARE(messages.shown()[0].buttons, (QStringList{"Choose a Backup File...", QString(), "Quit"}));
        QVERIFY(messages.shown()[0].text.contains(
            QStringLiteral("There is no automatic backup in %1. You can restore a backup file you choose.").arg(GetBackupsFolder())));
        QVERIFY2(messages.shown()[1].text.startsWith(QStringLiteral("%1 cannot be restored: The file is not a database").arg(bad)),
                 qPrintable(messages.shown()[1].text));
        QVERIFY(messages.shown()[3].text.startsWith(QStringLiteral("The database was restored from %1.").arg(good)));
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Chosen Co"));
        QVERIFY(chosen.isEmpty());
    }
};

FENNICK_TEST_MAIN(TestStartUp)
#include "test_startup.moc"
