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
// operation that needs it fails.
void createFolderIfMissing(const QString& path)
{
    if (!QDir(path).exists()) QDir().mkdir(path);
}

} // namespace

void StartUp()
{
    // The per-user data folder this lives in may itself be missing on a fresh
    // account (unlike the common application data folder of other desktops), so
    // the company folder is made with every missing parent.
    if (!QDir(GetCompanyFolder()).exists()) QDir().mkpath(GetCompanyFolder());
    createFolderIfMissing(GetDataFolder());
    PrepareTempFolder();
    if (!QFile::exists(GetDatabasePath())) CreateDatabase();
    LoadCompanyData();
    LoadAppPreferences();
}
