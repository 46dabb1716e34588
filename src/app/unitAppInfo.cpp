#include "app/unitAppInfo.h"

#include "app/unitDialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

QString GetProductName() { return QStringLiteral("Fennick"); }
QString GetMakerCompanyName() { return QStringLiteral("Brassgate Software"); }
QString GetFullProductTitle() { return GetMakerCompanyName().section(' ', 0, 0) + ' ' + GetProductName(); }
QString GetMajorVersion() { return QStringLiteral("4"); }
QString GetMinorVersion() { return QStringLiteral(".1"); }
QString GetMakerWebSite() { return QStringLiteral("https://www.example.com/brassgate"); }

QString GetCommonDataBase()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty()) {
        const QString home = QDir::homePath();
        if (home.isEmpty()) return QString();
        base = home + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base);
}

QString GetCompanyFolder() { return GetCommonDataBase() + '/' + GetMakerCompanyName(); }
QString GetDataFolder() { return GetCompanyFolder() + '/' + GetProductName() + GetMajorVersion(); }
QString GetTempFolder() { return GetDataFolder() + QStringLiteral("/TempFolder"); }
QString GetDatabaseFileName() { return QString(GetProductName()).remove(' ') + QStringLiteral(".db"); }
QString GetDatabasePath() { return GetDataFolder() + '/' + GetDatabaseFileName(); }
QString GetLogoPath() { return GetDataFolder() + QStringLiteral("/CmpLogo.jpg"); }
QString GetBackupsFolder() { return GetDataFolder() + QStringLiteral("/Backups"); }

QString GetHelpFilePath()
{
    // Beside the executable in a build folder; below share/fennick/ of the
    // prefix the program is installed in.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString beside = programFolder + QStringLiteral("/fenhelp.html");
    if (QFile::exists(beside)) return beside;
    const QString installed =
        QDir::cleanPath(programFolder + QStringLiteral("/../share/fennick/fenhelp.html"));
    if (QFile::exists(installed)) return installed;
    return beside;
}

void OpenHelpFile()
{
    const QString path = GetHelpFilePath();
    if (!QFile::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ShowPlainMessage(QStringLiteral("Unable to open the Help files!"));
}

void OpenMakerWebSite()
{
    if (!QDesktopServices::openUrl(QUrl(GetMakerWebSite())))
        ShowPlainMessage(QStringLiteral("Unable to open the Web Browser!"));
}
