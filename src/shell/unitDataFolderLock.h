#pragma once
// The data folder's lock file, held for the life of the program: two copies
// saving at once could give two documents the same number. The file records
// its holder (process id, program, host name and machine id), so a later start
// can tell a copy running on this computer from a lock left on another
// computer sharing the folder, or from an empty lock file a power cut left.
#include <QString>

enum class TLockHolderPlace {
    ThisComputerRunning,   // a live copy on this computer: a second copy stays out
    ThisComputerGone,      // its process no longer exists
    OtherComputer,         // the folder is shared, the holder runs (or ran) elsewhere
    Unreadable,            // empty or unreadable lock file: nobody can be named
};

struct TLockHolder {
    TLockHolderPlace place = TLockHolderPlace::Unreadable;
    qint64 pid = 0;
    QString host;
    QString program;
};

enum class TLockAttempt { Taken, HeldByOther, CannotCreate };

// Takes the lock unless another holds it. HeldByOther fills `holder`;
// CannotCreate fills `reason` with the system's text (a read-only or missing
// data folder). A lock this program already holds counts as taken.
TLockAttempt TakeDataFolderLock(TLockHolder& holder, QString& reason);
// Removes the lock file of a holder the user agreed to replace and takes the
// lock. False with `reason` when that fails (the holder got it back, no right
// to delete the file).
bool TakeOverDataFolderLock(QString& reason);
// Lets go of the lock file (the program lets go when it ends).
void ReleaseDataFolderLock();
// The lock file in the data folder.
QString GetLockFilePath();
