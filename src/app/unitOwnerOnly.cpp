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
    // The database and its companions (Fennick.db*, Fennick-*.db*), matched by
    // hand: a name filter is a pattern compiled at every start.
    const QString stem = GetProductName().remove(QLatin1Char(' '));
    const QString dbFile = stem + QStringLiteral(".db");
    const QString dbCopy = stem + QLatin1Char('-');
    const QDir folder(path);
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const bool database = name.startsWith(dbFile, Qt::CaseInsensitive)
                              || (name.startsWith(dbCopy, Qt::CaseInsensitive)
                                  && name.indexOf(QLatin1String(".db"), dbCopy.size(), Qt::CaseInsensitive) >= 0);
        if (database) KeepToOwner(folder.filePath(name));
    }
}

} // namespace

void RestrictDataFolderToOwner()
{
    KeepFolderToOwner(GetDataFolder());
    KeepFolderToOwner(GetTempFolder());
    KeepFolderToOwner(GetBackupsFolder());
}
