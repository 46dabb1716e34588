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
#include <csignal>

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
        QCOMPARE(messages.texts(), QStringList{SecondCopyMessage() + QLatin1Char('.')});
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
