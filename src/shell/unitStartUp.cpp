#include "shell/unitStartUp.h"

#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitCleanFolder.h"
#include "company/unitCompanyData.h"
#include "company/unitEInvoiceSettings.h"
#include "db/unitCreateDatabase.h"

#include "app/AppError.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <memory>

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

std::unique_ptr<QLockFile>& dataFolderLock()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

// Takes the lock file, or throws the second-copy message. The lock is held for
// as long as the program runs, so it never goes stale by age; the process id
// written into it lets a later start see that the copy holding it is gone.
void LockDataFolder()
{
    std::unique_ptr<QLockFile>& lock = dataFolderLock();
    const QString path = GetLockFilePath();
    if (lock && lock->fileName() == path && lock->isLocked()) return;
    lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (lock->tryLock(100)) return;
    const QLockFile::LockError error = lock->error();
    lock.reset();
    if (error == QLockFile::LockFailedError) throw AppError(SecondCopyMessage());
    throw AppError(QStringLiteral("Cannot create file %1").arg(path));
}

} // namespace

QString GetLockFilePath() { return GetDataFolder() + QStringLiteral("/Fennick.lock"); }

QString SecondCopyMessage()
{
    return QStringLiteral("%1 is already running. Only one copy can run at a time, so that no two documents "
                          "get the same number: please switch to the %1 window that is open")
        .arg(GetProductName());
}

void ReleaseDataFolderLock() { dataFolderLock().reset(); }

void StartUp()
{
    // The per-user data folder this lives in may itself be missing on a fresh
    // account (unlike the common application data folder of other desktops), so
    // the company folder is made with every missing parent.
    if (!QDir(GetCompanyFolder()).exists()) QDir().mkpath(GetCompanyFolder());
    createFolderIfMissing(GetDataFolder());
    // The running copy may be using its temp folder: a second copy stops here.
    LockDataFolder();
    PrepareTempFolder();
    if (!QFile::exists(GetDatabasePath())) CreateDatabase();
    LoadCompanyData();
    PrepareEInvoiceData();
    LoadAppPreferences();
}
