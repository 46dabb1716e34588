// A second copy of the program and a database locked by another process: the
// second start is refused with a clear message and touches nothing, a copy
// that crashed does not leave its lock stuck, and a locked database gives the
// engine's error after the busy retries while the screen keeps what was typed.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitErrorHandler.h"
#include "app/unitfrmSaving.h"
#include "customers/unitCustomerStore.h"
#include "customers/unitfrmCustomer.h"
#include "db/DbConnection.h"
#include "shell/unitStartUp.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStackedWidget>
#include <QToolButton>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

template <typename T>
T* Child(QWidget* parent, const char* name)
{
    T* child = parent->findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

void ClickTool(QWidget* screen, const char* name)
{
    QToolButton* button = Child<QToolButton>(screen, name);
    QCoreApplication::processEvents();
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString ProgramPath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/fennick"); }

void WriteFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("in use");
}

// Lets go of the lock file while the test's data folder is still there.
struct TLockRelease {
    ~TLockRelease() { ReleaseDataFolderLock(); }
};

bool DatabaseIsLocked()
{
    try {
        DbConnection().countRows(QStringLiteral("SELECT * FROM tblCustomers;"));
        return false;
    } catch (const AppError&) {
        return true;
    }
}

} // namespace

class TestSecondCopy : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetSavingNoticeTickMs(600000); }
    void cleanup() { RunOutSavingNotice(); }

    void secondStartWhileTheProgramRunsIsRefused()
    {
        TestDataFolder data;
        TLockRelease release;
        QVERIFY(QFile::exists(ProgramPath()));
        QProcess first;
        first.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        first.start(ProgramPath(), {});
        QVERIFY(first.waitForStarted(10000));
        QVERIFY(WaitUntil([] { return QFile::exists(GetLockFilePath()) && QFile::exists(GetDatabasePath()); },
                          20000));
        const QString busyFile = GetTempFolder() + QStringLiteral("/Invoice 1005.pdf");
        WriteFile(busyFile);

        // The program entry shows the start-up error and brings nothing else up.
        ScriptedMessages messages;
        QVERIFY(!RunGuarded([] { StartUp(); }));
        QCOMPARE(messages.texts(),
                 QStringList{SecondCopyMessage() + QStringLiteral(".\nThe lock file %1 is held by process %2 on this computer.")
                                                       .arg(GetLockFilePath())
                                                       .arg(first.processId())});
        QVERIFY(SecondCopyMessage().startsWith(QStringLiteral("Fennick is already running.")));
        QVERIFY(QFile::exists(busyFile));   // the running copy's temp folder is left alone

        // A copy that crashed does not keep the lock.
        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFile::exists(GetLockFilePath()));
        messages.clear();
        QVERIFY(RunGuarded([] { StartUp(); }));
        QVERIFY(messages.texts().isEmpty());
        QVERIFY(!QFile::exists(busyFile));   // this copy owns the temp folder now
        qint64 pid = 0;
        QString host, app;
        QVERIFY(QLockFile(GetLockFilePath()).getLockInfo(&pid, &host, &app));
        QCOMPARE(pid, QCoreApplication::applicationPid());
    }

    void lockIsHeldUntilReleasedAndStartUpIsRepeatable()
    {
        TestDataFolder data;
        TLockRelease release;
        StartUp();
        StartUp();   // the same program starting its sequence again keeps its own lock
        RunOutSavingNotice();
        QLockFile other(GetLockFilePath());
        QVERIFY(!other.tryLock(0));
        ReleaseDataFolderLock();
        QVERIFY(!QFile::exists(GetLockFilePath()));
        QVERIFY(other.tryLock(0));
        // Another holder (here: a lock this process did not take through StartUp).
        QVERIFY_THROWS_EXCEPTION(AppError, StartUp());
        other.unlock();
        StartUp();
        RunOutSavingNotice();
    }

    // A lock left on another computer sharing the folder, or an empty lock
    // file (a power cut while a copy started), names what it knows and is
    // taken over only when the user agrees; declining touches nothing.
    void aLockNobodyHereHoldsIsTakenOverWhenTheUserAgrees_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<QString>("says");
        QTest::addColumn<bool>("agree");
        const QByteArray remote = "4242\nfennick\nfar-away-host\n0123456789abcdef0123456789abcdef\nboot-id\n";
        const QString remoteSays = QStringLiteral("is in use by Fennick on the computer \"far-away-host\" (process 4242)");
        const QString emptySays = QStringLiteral("is empty or cannot be read");
        QTest::newRow("another computer, taken over") << remote << remoteSays << true;
        QTest::newRow("another computer, declined") << remote << remoteSays << false;
        QTest::newRow("empty lock file, taken over") << QByteArray() << emptySays << true;
        QTest::newRow("empty lock file, declined") << QByteArray() << emptySays << false;
    }
    void aLockNobodyHereHoldsIsTakenOverWhenTheUserAgrees()
    {
        QFETCH(QByteArray, lock);
        QFETCH(QString, says);
        QFETCH(bool, agree);
        TestDataFolder data;
        TLockRelease release;
        QVERIFY(QDir().mkpath(GetTempFolder()));
        {
            QFile file(GetLockFilePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(lock);
        }
        const QString leftInTemp = GetTempFolder() + QStringLiteral("/Invoice 1005.pdf");
        WriteFile(leftInTemp);

        ScriptedMessages messages;
        messages.queue(agree ? MessageAnswer::Yes : MessageAnswer::Cancel);
        bool started = false;
        QVERIFY(RunGuarded([&started] { started = StartUp(); }));
        QCOMPARE(started, agree);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].buttons, (QStringList{"Take Over the Lock", QString(), "Quit"}));
        QCOMPARE(messages.shown()[0].defaultAnswer, MessageAnswer::Cancel); // Enter quits
        QVERIFY2(messages.shown()[0].text.contains(says), qPrintable(messages.shown()[0].text));
        QVERIFY(messages.shown()[0].text.contains(GetLockFilePath()));
        if (agree) {
            qint64 pid = 0;
            QVERIFY(QLockFile(GetLockFilePath()).getLockInfo(&pid, nullptr, nullptr));
            QCOMPARE(pid, QCoreApplication::applicationPid());
            QVERIFY(QFile::exists(GetDatabasePath()));
            QVERIFY(!QFile::exists(leftInTemp));
        } else {
            QFile file(GetLockFilePath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), lock);
            QVERIFY(!QFile::exists(GetDatabasePath()));
            QVERIFY(QFile::exists(leftInTemp));
        }
    }

    // A data folder that takes no lock file: the message says what failed,
    // the system's reason, and that nothing was changed.
    void aDataFolderThatTakesNoLockSaysWhy()
    {
        TestDataFolder data;
        TLockRelease release;
        if (::geteuid() == 0) {
            // The superuser writes anywhere a file system allows it; /sys allows nothing.
            QVERIFY(QDir().mkpath(GetCompanyFolder()));
            QVERIFY(QFile::link(QStringLiteral("/sys/kernel"), GetDataFolder()));
        } else {
            QVERIFY(QDir().mkpath(GetDataFolder()));
            QVERIFY(QFile::setPermissions(GetDataFolder(), QFile::ReadOwner | QFile::ExeOwner));
        }
        ScriptedMessages messages;
        QVERIFY(!RunGuarded([] { StartUp(); }));
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("Fennick cannot start: its lock file %1 cannot be created (%2).\nThe data "
                                            "folder %3 must exist and be writable by you. Nothing was changed.")
                                 .arg(GetLockFilePath(), QString::fromLocal8Bit(std::strerror(EACCES)), GetDataFolder())});
        if (::geteuid() == 0)
            QVERIFY(QFile::remove(GetDataFolder()));
        else
            QFile::setPermissions(GetDataFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void lockedDatabaseGivesTheErrorAndKeepsWhatWasTyped()
    {
        TestDataFolder data;
        CreateTestDatabase();
        ScriptedMessages messages;
        TfrmCustomer screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewCustomer");
        const QString company = QStringLiteral("O'Hara \"50%\" Roofing_\\");
        const QString notes = QStringLiteral("Gate code 4711\nDog in the yard");
        Child<QLineEdit>(&screen, "txtCustCmpnyName")->setText(company);
        Child<QLineEdit>(&screen, "txtCustLstName")->setText(QStringLiteral("O'Hara"));
        Child<QPlainTextEdit>(&screen, "txtCustNotes")->setPlainText(notes);

        // Meanwhile another process holds the database: the engine's own shell in an open transaction.
        QProcess holder;
        holder.start(QStringLiteral("sqlite3"), {GetDatabasePath()});
        QVERIFY(holder.waitForStarted(10000));
        holder.write("BEGIN EXCLUSIVE;\nUPDATE tblCustomers SET strCustCity = strCustCity;\n");
        QVERIFY(WaitUntil([] { return DatabaseIsLocked(); }, 10000));

        QElapsedTimer clock;
        clock.start();
        ClickTool(&screen, "tlbtnSave");
        QVERIFY2(clock.elapsed() < 3000, "the save waited far longer than the busy retries");
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("SQLite Error 5 - database is locked.")});
        // The screen is still there with everything typed, and saving can be tried again.
        QVERIFY(screen.isVisible());
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustCmpnyName")->text(), company);
        QCOMPARE(Child<QPlainTextEdit>(&screen, "txtCustNotes")->toPlainText(), notes);
        QVERIFY(screen.findChild<QAction*>(QStringLiteral("tlbtnSave"))->isEnabled());

        holder.write("ROLLBACK;\n.quit\n");
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
        messages.clear();
        RunOutSavingNotice();
        ClickTool(&screen, "tlbtnSave");
        QVERIFY(messages.texts().isEmpty());
        const TCustomer stored = LoadCustomer(4);
        QCOMPARE(stored.strCustCompany, company);
        QCOMPARE(stored.strCustNotes, notes);
    }
};

FENNICK_TEST_MAIN(TestSecondCopy)
#include "test_secondcopy.moc"
