#include "app/unitCleanFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void CleanFolder(const QString& path)
{
    const QDir folder(path);
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        const QString full = path + '/' + entry.fileName();
        // A link is removed as an entry of its own and never followed: cleaning
        // the temp folder must not reach files outside it.
        if (entry.isDir() && !entry.isSymLink())
            CleanFolder(full);
        else
            QFile::remove(full);  // a file that cannot be deleted stays, silently
    }
}
