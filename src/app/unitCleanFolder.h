#pragma once
#include <QString>

// Deletes every file below the folder, at every depth; folders stay. Files that
// cannot be deleted stay, without a message.
void CleanFolder(const QString& path);
