#include "shell/unitStartUp.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitCleanFolder.h"
#include "app/unitDialogs.h"
#include "app/unitOwnerOnly.h"
#include "backup/unitBackupRestoreData.h"
#include "backup/unitfrmBackupRestore.h"
#include "company/unitCompanyData.h"
#include "db/DbEngineError.h"
#include "company/unitEInvoiceSettings.h"
#include "db/unitCreateDatabase.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitFeatureTables.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"
#include "app/unitDialogs.h"

#include "app/AppError.h"

#include <QDir>
#include <QFile>

namespace {

// One level only; a folder that cannot be made shows up later, when the first
// operation that needs it fails. The data folder and the temp folder are made
// for their owner alone: the database holds the mail password, and the temp
// folder the customers' documents.
void createFolderIfMissing(const QString& path)
{
    if (!QDir(path).exists())
        QDir().mkdir(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

QString HolderQuestion(const TLockHolder& holder)
{
    const QString product = GetProductName();
    const QString lockFile = Native(GetLockFilePath());
    QString text;
    switch (holder.place) {
    case TLockHolderPlace::OtherComputer:
        text = QStringLiteral("The data folder %1 is in use by %2 on the computer \"%3\" (process %4), says its lock "
                              "file %5.\n\nIf %2 no longer runs there (that computer crashed or was switched off "
                              "while %2 was open), you can take the lock over and start.")
                   .arg(Native(GetDataFolder()), product, holder.host)
                   .arg(holder.pid)
                   .arg(lockFile);
        break;
    case TLockHolderPlace::ThisComputerGone:
        text = QStringLiteral("The lock file %1 was left by process %2 on this computer, which no longer runs.\n\n"
                              "You can take the lock over and start.")
                   .arg(lockFile)
                   .arg(holder.pid);
        break;
    default:
        text = QStringLiteral("The lock file %1 is empty or cannot be read, so it does not say which copy of %2 holds "
                              "it. A copy cut off while starting (a power cut, a crash) leaves it so.\n\nIf no other "
                              "copy of %2 runs on this or another computer, you can take the lock over and start.")
                   .arg(lockFile, product);
        break;
    }
    return text + QStringLiteral(" While another copy still runs, taking the lock over could give two documents "
                                 "the same number.");
}

// Takes the data folder's lock, asking before taking over a lock nobody on
// this computer holds. False when the user chose to end.
bool LockDataFolder()
{
    TLockHolder holder;
    QString reason;
    switch (TakeDataFolderLock(holder, reason)) {
    case TLockAttempt::Taken:
        return true;
    case TLockAttempt::CannotCreate:
        throw AppError(QStringLiteral("%1 cannot start: its lock file %2 cannot be created (%3).\nThe data folder %4 "
                                      "must exist and be writable by you. Nothing was changed")
                           .arg(GetProductName(), Native(GetLockFilePath()), reason, Native(GetDataFolder())));
    case TLockAttempt::HeldByOther:
        break;
    }
    if (holder.place == TLockHolderPlace::ThisComputerRunning)
        throw AppError(SecondCopyMessage() + QStringLiteral(".\nThe lock file %1 is held by process %2 on this computer")
                                                 .arg(Native(GetLockFilePath()))
                                                 .arg(holder.pid));
    // Enter quits: taking over a lock another computer may still use is a choice to read first.
    if (AskChoice(HolderQuestion(holder), QStringLiteral("Take Over the Lock"), QString(), QStringLiteral("Quit"),
                  MessageAnswer::Cancel) != MessageAnswer::Yes)
        return false;
    if (!TakeOverDataFolderLock(reason))
        throw AppError(QStringLiteral("The lock file %1 could not be taken over: %2. Nothing was changed")
                           .arg(Native(GetLockFilePath()), reason));
    return true;
}

// The reads of every start. A file damaged where they read it is met with the
// offer to restore a backup, then read again; false when the user quits.
bool LoadSettings()
{
    for (;;) {
        try {
            LoadCompanyData();
            LoadAppPreferences();
            return true;
        } catch (const DbEngineError& error) {
            if (!error.isDamagedFile()) throw;
            if (!RescueDamagedDatabase(error.message())) return false;
        }
    }
}

} // namespace

QString SecondCopyMessage()
{
    return QStringLiteral("%1 is already running. Only one copy can run at a time, so that no two documents "
                          "get the same number: please switch to the %1 window that is open")
        .arg(GetProductName());
}

bool StartUp()
{
    // The per-user data folder this lives in may itself be missing on a fresh
    // account (unlike the common application data folder of other desktops), so
    // the company folder is made with every missing parent.
    if (!QDir(GetCompanyFolder()).exists()) QDir().mkpath(GetCompanyFolder());
    createFolderIfMissing(GetDataFolder());
    // The running copy may be using its temp folder: a second copy stops here.
    if (!LockDataFolder()) return false;
    PrepareTempFolder();
    // Folders and files made by an earlier version, or by hand, may still be
    // open to other accounts.
    RestrictDataFolderToOwner();
    RemoveStaleTempCopies();
    if (UsesServer()) {
        StartOnServerDatabase();
        LoadCompanyData();
        LoadAppPreferences();
    } else {
        if (!QFile::exists(GetDatabasePath())) CreateDatabase();
        if (!LoadSettings()) return false;
        // Tables of features added since the file was made (an older file has none).
        CreateMissingFileFeatureTables();
    }
    PrepareEInvoiceData();
    return true;
}

QString ServerStartFailureQuestion(const QString& error)
{
    const QString server = ServerDisplayName(ServerConnectionString());
    const QString what = error.contains(server) ? error
                                                : QStringLiteral("The shared %1 cannot be used: %2").arg(server, error);
    return ApplyFullStopRule(what) + QStringLiteral("\n\nWork on this computer's file for this run, or quit?");
}

bool RunStartUp()
{
    for (;;) {
        QString error;
        try {
            return StartUp();
        } catch (const AppError& failure) {
            error = failure.message();
        } catch (const std::exception& failure) {
            error = QString::fromLocal8Bit(failure.what());
        }
        if (!UsesServer()) {
            ShowErrorBox(error);
            return false;
        }
        if (AskTwoWays(ServerStartFailureQuestion(error), QStringLiteral("Use This Computer's File"), QStringLiteral("Quit"))
            != MessageAnswer::Yes)
            return false;
        // For this run only: the seat's setting still names the server.
        SetServerConnectionString(QString());
    }
}
