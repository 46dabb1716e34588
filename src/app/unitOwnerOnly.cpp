#include "app/unitOwnerOnly.h"

#include "app/unitAppInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// Clears the group and other bits; a path that is missing or not ours is left.
void KeepToOwner(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) return;
    const mode_t mode = info.st_mode & 07777;
    if ((mode & 077) != 0) ::chmod(name.constData(), mode & ~mode_t(077));
}

// The folder itself and its database files: this program's database name
// with anything after it (journal, kept copies), and the daily "Fennick-…" copies.
void KeepFolderToOwner(const QString& path)
{
    if (!QFileInfo::exists(path)) return;
    KeepToOwner(path);
    const QString stem = GetProductName().remove(QLatin1Char(' '));
    const QDir folder(path);
    for (const QString& name : folder.entryList({stem + QStringLiteral(".db*"), stem + QStringLiteral("-*.db*")},
                                                QDir::Files | QDir::Hidden | QDir::System))
        KeepToOwner(folder.filePath(name));
}

} // namespace

void RestrictDataFolderToOwner()
{
    KeepFolderToOwner(GetDataFolder());
    KeepFolderToOwner(GetTempFolder());
    KeepFolderToOwner(GetBackupsFolder());
}
