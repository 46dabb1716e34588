#include "app/unitStartUp.h"

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
    createFolderIfMissing(GetCompanyFolder());
    createFolderIfMissing(GetDataFolder());
    createFolderIfMissing(GetTempFolder());
    CleanFolder(GetTempFolder());
    if (!QFile::exists(GetDatabasePath())) CreateDatabase();
    LoadCompanyData();
    LoadAppPreferences();
}
