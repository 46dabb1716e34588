#pragma once
#include <QString>

// The start-up sequence, run once by the program entry before any window exists:
// creates the company, data and temp folders when missing, empties the temp
// folder, builds the database when its file is missing, and loads the company
// settings and the window preferences. A database error is thrown as AppError.
//
// Before anything else it takes the data folder's lock file for the life of
// the program: two copies saving at once could give two documents the same
// number. When another running copy holds it, StartUp throws the second-copy
// message and touches nothing. A lock left by a copy that crashed is taken over.
void StartUp();

// The start-up as the program entry runs it: StartUp, and an error shown in the
// error box (false: the program ends). On a seat that uses a server, a server
// that cannot be reached (or used) offers "Use This Computer's File" for this
// run, or "Quit".
bool RunStartUp();
// The question asked then, naming the server.
QString ServerStartFailureQuestion(const QString& error);

// The message of a second start while the program already runs.
QString SecondCopyMessage();
// The lock file in the data folder.
QString GetLockFilePath();
// Lets go of the lock file (the program lets go when it ends).
void ReleaseDataFolderLock();
