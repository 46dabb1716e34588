#pragma once
// Identity strings of the program and every folder and file it uses. Paths are
// computed on every call; nothing is cached.
#include <QString>

QString GetProductName();        // "Fennick"
QString GetMakerCompanyName();   // "Brassgate Software"
QString GetFullProductTitle();   // "Brassgate Fennick"
QString GetMajorVersion();       // "4"
QString GetMinorVersion();       // ".1"
QString GetMakerWebSite();

QString GetCommonDataBase();     // per-machine data folder ($XDG_DATA_HOME or ~/.local/share)
QString GetCompanyFolder();
QString GetDataFolder();
QString GetTempFolder();
QString GetDatabaseFileName();   // "Fennick.db"
QString GetDatabasePath();
QString GetLogoPath();
QString GetBackupsFolder();      // "Backups" in the data folder: the automatic daily copies
QString GetHelpFilePath();     // beside the executable, else ../share/fennick/

// Ask the desktop to open the help page / the maker's web site; on failure show
// the plain message of the program.
void OpenHelpFile();
void OpenMakerWebSite();
