#pragma once
#include <QString>

// Deletes every file below the folder, at every depth; folders stay. Files that
// cannot be deleted stay, without a message. Links are removed, never followed;
// a folder that is itself a link is not cleaned at all.
void CleanFolder(const QString& path);

// Makes the temp folder a real folder of the data folder and empties it: a link
// in its place is removed (not what it points to) and a real folder made. A temp
// folder whose real path lies outside the data folder is never emptied.
void PrepareTempFolder();

// Empties the temp folder when it is a real folder inside the data folder, and
// leaves it alone otherwise.
void CleanTempFolder();
