// Folder cleaning: files go at every depth, folders stay, links are not followed.
#include "common/TestSupport.h"

#include "app/unitAppInfo.h"
#include "app/unitCleanFolder.h"

#include <QDir>
#include <QFile>

namespace {

void writeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

class TestCleanFolder : public QObject {
    Q_OBJECT

private slots:
    void deletesFilesAtEveryDepthKeepsFolders()
    {
        QTemporaryDir dir;
        const QString root = dir.path() + QStringLiteral("/TempFolder");
        writeFile(root + QStringLiteral("/a.pdf"));
        writeFile(root + QStringLiteral("/.hidden"));
        writeFile(root + QStringLiteral("/sub/b.pdf"));
        writeFile(root + QStringLiteral("/sub/deeper/c.pdf"));
        QDir().mkpath(root + QStringLiteral("/empty"));

        CleanFolder(root);

        QVERIFY(QDir(root).exists());
        QVERIFY(QDir(root + QStringLiteral("/sub/deeper")).exists());
        QVERIFY(QDir(root + QStringLiteral("/empty")).exists());
        QCOMPARE(QDir(root).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
        QCOMPARE(QDir(root + QStringLiteral("/sub")).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(root + QStringLiteral("/sub/deeper")).entryList(QDir::Files), QStringList());
    }

    void missingFolderIsNoError()
    {
        QTemporaryDir dir;
        CleanFolder(dir.path() + QStringLiteral("/nothere"));
        QVERIFY(!QDir(dir.path() + QStringLiteral("/nothere")).exists());
    }

    void linkedFolderIsNotFollowed()
    {
        QTemporaryDir dir;
        const QString outside = dir.path() + QStringLiteral("/outside/keep.txt");
        writeFile(outside);
        const QString root = dir.path() + QStringLiteral("/TempFolder");
        QDir().mkpath(root);
        QVERIFY(QFile::link(dir.path() + QStringLiteral("/outside"), root + QStringLiteral("/link")));

        CleanFolder(root);

        QVERIFY(QFile::exists(outside));
        QVERIFY(!QFileInfo(root + QStringLiteral("/link")).isSymLink());
    }

    // A folder that is itself a link is not cleaned: the folder it points to
    // keeps its files, whoever asks for the cleaning.
    void linkAtTheRootIsNotFollowed()
    {
        QTemporaryDir dir;
        const QString outside = dir.path() + QStringLiteral("/outside");
        writeFile(outside + QStringLiteral("/keep.txt"));
        writeFile(outside + QStringLiteral("/sub/deeper.txt"));
        const QString root = dir.path() + QStringLiteral("/TempFolder");
        QVERIFY(QFile::link(outside, root));

        CleanFolder(root);
        QVERIFY(QFile::exists(outside + QStringLiteral("/keep.txt")));
        QVERIFY(QFile::exists(outside + QStringLiteral("/sub/deeper.txt")));
    }

    // Start-up and the e-mail screen empty the temp folder: a link in its place
    // is replaced by a real folder, and what it pointed to survives.
    void linkedTempFolderIsReplacedNotEmptied()
    {
        QDir().mkpath(GetDataFolder());
        QTemporaryDir dir;
        const QString outside = dir.path() + QStringLiteral("/elsewhere");
        writeFile(outside + QStringLiteral("/precious.txt"));
        QDir(GetTempFolder()).removeRecursively();
        QVERIFY(QFile::link(outside, GetTempFolder()));

        CleanTempFolder();   // as the e-mail screen does when it closes
        QVERIFY(QFile::exists(outside + QStringLiteral("/precious.txt")));

        PrepareTempFolder();   // as start-up does
        QVERIFY(QFile::exists(outside + QStringLiteral("/precious.txt")));
        const QFileInfo temp(GetTempFolder());
        QVERIFY(!temp.isSymLink());
        QVERIFY(temp.isDir());

        // The real folder is cleaned as before.
        writeFile(GetTempFolder() + QStringLiteral("/Invoice500.pdf"));
        PrepareTempFolder();
        QCOMPARE(QDir(GetTempFolder()).entryList(QDir::Files), QStringList());
    }
};

FENNICK_TEST_MAIN(TestCleanFolder)
#include "test_cleanfolder.moc"
