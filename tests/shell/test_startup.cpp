// The start-up sequence against a real data folder: first start, second start,
// the temp folder emptied, a deleted database rebuilt, a damaged one refused.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "shell/unitStartUp.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"

#include <QCryptographicHash>
#include <QDir>

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
        QTest::newRow("not a database") << QByteArray(4096, 'z') << QString()
                                        << "SQLite Error 26 - file is not a database";
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
};

FENNICK_TEST_MAIN(TestStartUp)
#include "test_startup.moc"
