// Folder cleaning: files go at every depth, folders stay, links are not followed.
#include "common/TestSupport.h"

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
};

FENNICK_TEST_MAIN(TestCleanFolder)
#include "test_cleanfolder.moc"
