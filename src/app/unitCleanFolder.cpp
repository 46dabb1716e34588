#include "app/unitCleanFolder.h"

#include "app/unitAppInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void cleanBelow(const QString& path)
{
    const QDir folder(path);
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        const QString full = path + '/' + entry.fileName();
        // A link is removed as an entry of its own and never followed: cleaning
        // the temp folder must not reach files outside it.
        if (entry.isDir() && !entry.isSymLink())
            cleanBelow(full);
        else
            QFile::remove(full);  // a file that cannot be deleted stays, silently
    }
}

// True when the temp folder is a real folder (no link) whose real path lies
// inside the data folder's real path.
bool tempFolderIsOwn()
{
    const QFileInfo temp(GetTempFolder());
    if (temp.isSymLink() || !temp.isDir()) return false;
    const QString data = QFileInfo(GetDataFolder()).canonicalFilePath();
    const QString real = temp.canonicalFilePath();
    return !data.isEmpty() && real.startsWith(data + QLatin1Char('/'));
}

} // namespace

void CleanFolder(const QString& path)
{
    if (QFileInfo(path).isSymLink()) return;   // what a link points to is not ours to empty
    cleanBelow(path);
}

void PrepareTempFolder()
{
    const QString path = GetTempFolder();
    const QFileInfo temp(path);
    // A link (even a broken one) in the temp folder's place is replaced by a real folder.
    if (temp.isSymLink()) QFile::remove(path);
    // Owner-only, like the data folder: the e-mail PDFs in it are the customers' papers.
    if (!QFileInfo(path).exists())
        QDir().mkdir(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    CleanTempFolder();
}

void CleanTempFolder()
{
    if (tempFolderIsOwn()) cleanBelow(GetTempFolder());
}
