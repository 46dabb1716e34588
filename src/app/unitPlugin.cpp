#include "app/unitPlugin.h"

#include "app/AppError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <mutex>

namespace {

std::mutex& folderMutex()
{
    static std::mutex mutex;
    return mutex;
}

QString& chosenFolder()
{
    static QString folder;
    return folder;
}

QString programFolder()
{
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

QString programName()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Fennick") : name;
}

} // namespace

QString PluginFolder()
{
    {
        std::lock_guard<std::mutex> lock(folderMutex());
        if (!chosenFolder().isEmpty()) return chosenFolder();
    }
    return QFileInfo(programFolder() + QStringLiteral("/../lib/fennick")).absoluteFilePath();
}

void SetPluginFolder(const QString& folder)
{
    std::lock_guard<std::mutex> lock(folderMutex());
    chosenFolder() = folder;
}

QString PluginPath(const QString& fileName) { return PluginFolder() + QLatin1Char('/') + fileName; }

void* ResolvePluginEntry(const TPluginInfo& info)
{
    const QString path = PluginPath(QString::fromLatin1(info.fileName));
    const QString feature = QString::fromLatin1(info.feature);
    if (!QFileInfo::exists(path))
        throw AppError(QStringLiteral("The %1 of %2 cannot be loaded: the file %3 is missing. Install the program "
                                      "again.")
                           .arg(feature, programName(), path));
    // The plug-in stays loaded for the rest of the run (QLibrary does not unload
    // it), and loading it again only finds the one already loaded.
    QLibrary plugin(path);
    if (!plugin.load())
        throw AppError(QStringLiteral("The %1 of %2 cannot be loaded from %3: %4")
                           .arg(feature, programName(), path, plugin.errorString()));
    QFunctionPointer entry = plugin.resolve(info.entrySymbol);
    if (!entry) ThrowPluginVersionMismatch(info);
    return reinterpret_cast<void*>(entry);
}

void ThrowPluginVersionMismatch(const TPluginInfo& info)
{
    throw AppError(QStringLiteral("The %1 in %2 does not belong to this version of the program; install the "
                                  "program again")
                       .arg(QString::fromLatin1(info.feature), PluginPath(QString::fromLatin1(info.fileName))));
}
