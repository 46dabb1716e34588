// The company logo file: a picture is stored at no more dots than the large
// printed logo needs, and a logo that cannot be written (a full disk) is named
// with the system's reason while the settings and the old logo stay as they
// were. The full disk is a real one: a small tmpfs mounted in a mount
// namespace of this test program's own.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitModalRunner.h"
#include "app/unitWholeFile.h"
#include "company/unitCompanyData.h"
#include "company/unitCompanyStore.h"
#include "company/unitLogoFile.h"
#include "company/unitfrmCompanyInfo.h"
#include "db/DbConnection.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

bool g_privateMounts = false;

bool WriteProcFile(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return written;
}

// Mounts made from here on are this program's own and vanish with it. Run
// before any thread starts (a user namespace needs a single thread).
bool EnterPrivateMounts()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(uid == 0 ? CLONE_NEWNS : CLONE_NEWNS | CLONE_NEWUSER) != 0) return false;
    if (uid != 0 && !(WriteProcFile("/proc/self/setgroups", "deny")
                      && WriteProcFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1")
                      && WriteProcFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1")))
        return false;
    return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

QImage Gradient(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    return picture;
}

QString CompanyNameStored()
{
    DbConnection db;
    DbStatement row = db.prepare(QStringLiteral("SELECT strCompName FROM tblCompanyInfo"));
    return row.step() ? row.columnText(0) : QString();
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Fills the file system that holds `folder` until the system refuses.
void FillDisk(const QString& folder)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
}

} // namespace

class TestLogoFile : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        QFile::remove(GetLogoPath());
    }
    void cleanup() { RunOutSavingNotice(); }

    // Stored at no more than the large logo's box needs at 300 dots per inch
    // (1.3 inches high, at most 3.85 wide), proportions kept; a small picture
    // is stored as it is.
    void storedLogoIsScaledToThePrintedBox_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("stored");
        QTest::newRow("camera photo") << QSize(6000, 4000) << QSize(585, 390);
        QTest::newRow("wide banner: the height decides") << QSize(8000, 400) << QSize(7800, 390);
        QTest::newRow("tall picture: the height decides") << QSize(1000, 5000) << QSize(78, 390);
        QTest::newRow("small picture") << QSize(60, 30) << QSize(60, 30);
    }
    void storedLogoIsScaledToThePrintedBox()
    {
        QFETCH(QSize, picture);
        QFETCH(QSize, stored);
        QImage logo(picture, QImage::Format_RGB32);
        logo.fill(QColor(30, 80, 150));
        SaveCompanySettings(CurrentCompanySettings(), {true, logo});
        QImageReader reader(GetLogoPath());
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), stored);
    }

    // A short write leaves the system's reason: written through to the end.
    void wholeFileWriteGivesTheSystemsReason_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("kept in the buffer until the flush") << 100;
        QTest::newRow("larger than the buffer") << 1000000;
    }
    void wholeFileWriteGivesTheSystemsReason()
    {
        QFETCH(int, size);
        QFile full(QStringLiteral("/dev/full"));
        QVERIFY(full.open(QIODevice::WriteOnly));
        QVERIFY(!WriteWholeFile(full, QByteArray(size, 'x')));
        QCOMPARE(full.errorString(), QStringLiteral("No space left on device"));
    }

    // A full disk: the message names the logo file and the system's reason
    // and says what was kept; the settings, the old logo and the folder are
    // exactly as before, and the company screen shows the same message.
    void fullDiskKeepsTheSettingsAndTheOldLogo()
    {
        if (!g_privateMounts) QSKIP("this system allows no private mount namespace for a small full disk");
        QTemporaryDir outside;
        const QString picturePath = QDir(outside.path()).filePath(QStringLiteral("new-logo.png"));
        QVERIFY(Gradient(800, 600).save(picturePath));
        QTemporaryDir mountPoint;
        QVERIFY(::mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0, "size=1m,mode=0700") == 0);
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", mountPoint.path().toUtf8());
        CreateTestDatabase();
        SaveCompanySettings(CurrentCompanySettings(), {true, Gradient(40, 20)});
        const QByteArray oldLogo = FileBytes(GetLogoPath());
        const QString oldName = CompanyNameStored();
        FillDisk(mountPoint.path());

        const QString expected = QStringLiteral("Cannot write the company logo %1: No space left on device. Nothing was "
                                                "saved: the settings and the logo are as they were")
                                     .arg(GetLogoPath());
        TCompanySettings changed = CurrentCompanySettings();
        changed.company.strCompName = QStringLiteral("Never Stored");
        try {
            SaveCompanySettings(changed, {true, Gradient(800, 600)});
            QFAIL("saved on a full disk");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), expected);
        }

        ScriptedMessages messages;
        {
            TfrmCompanyInfo screen;
            screen.show();
            QLineEdit* name = screen.findChild<QLineEdit*>(QStringLiteral("txtCompName"));
            name->setText(QStringLiteral("Never Stored"));
            ScopedModalRunner picker([&picturePath](QDialog& dialog) {
                auto* files = qobject_cast<QFileDialog*>(&dialog);
                if (!files) return int(QDialog::Rejected);
                files->selectFile(picturePath);
                return int(QDialog::Accepted);
            });
            screen.findChild<QPushButton*>(QStringLiteral("btnBrowseForLogo"))->click();
            QCoreApplication::processEvents();
            QTest::mouseClick(screen.findChild<QToolButton*>(QStringLiteral("tlbtnSave")), Qt::LeftButton);
            QCOMPARE(messages.texts(), QStringList{expected + QLatin1Char('.')});
            messages.queue(MessageAnswer::No);
            screen.close();
        }

        QCOMPARE(CompanyNameStored(), oldName);
        QCOMPARE(recCompanyData.strCompName, oldName);
        QCOMPARE(FileBytes(GetLogoPath()), oldLogo);
        QCOMPARE(QDir(GetDataFolder()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("CmpLogo.jpg"), GetDatabaseFileName()}));

        qputenv("XDG_DATA_HOME", dataHome);
        QVERIFY(::umount2(QFile::encodeName(mountPoint.path()).constData(), MNT_DETACH) == 0);
    }

    // The exports (CSV, calendar, e-invoice XML) write through SaveWholeFile: on
    // a full disk the message gives the reason and the file already there stays whole.
    void savedFileOnAFullDiskNamesTheReasonAndKeepsTheOldFile()
    {
        if (!g_privateMounts) QSKIP("this system allows no private mount namespace for a small full disk");
        QTemporaryDir mountPoint;
        QVERIFY(::mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0, "size=1m,mode=0700") == 0);
        const QString path = QDir(mountPoint.path()).filePath(QStringLiteral("report.csv"));
        SaveWholeFile(path, "old,contents\n");
        FillDisk(mountPoint.path());
        try {
            SaveWholeFile(path, QByteArray(256 * 1024, 'y'));
            QFAIL("written on a full disk");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("Cannot write the file %1: No space left on device").arg(path));
        }
        QCOMPARE(FileBytes(path), QByteArray("old,contents\n"));
        QCOMPARE(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("report.csv")}));
        QVERIFY(::umount2(QFile::encodeName(mountPoint.path()).constData(), MNT_DETACH) == 0);
    }
};

int main(int argc, char** argv)
{
    g_privateMounts = EnterPrivateMounts();
    TestLogoFile test;
    return RunFennickTest(argc, argv, &test);
}

#include "test_logofile.moc"
