#include "shell/unitStartUp.h"

#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitCleanFolder.h"
#include "company/unitCompanyData.h"
#include "db/unitCreateDatabase.h"

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

} // namespace

void StartUp()
{
    // The per-user data folder this lives in may itself be missing on a fresh
    // account (unlike the common application data folder of other desktops), so
    // the company folder is made with every missing parent.
    if (!QDir(GetCompanyFolder()).exists()) QDir().mkpath(GetCompanyFolder());
    createFolderIfMissing(GetDataFolder());
    createFolderIfMissing(GetTempFolder());
    CleanFolder(GetTempFolder());
    if (!QFile::exists(GetDatabasePath())) CreateDatabase();
    LoadCompanyData();
    LoadAppPreferences();
}
