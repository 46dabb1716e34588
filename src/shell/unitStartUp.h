#pragma once
#include "shell/unitDataFolderLock.h"

#include <QString>

// The start-up sequence, run once by the program entry before any window exists:
// creates the company, data and temp folders when missing, empties the temp
// folder, builds the database when its file is missing, and loads the company
// settings and the window preferences. A database error is thrown as AppError.
//
// Before anything else it takes the data folder's lock file for the life of
// the program: two copies saving at once could give two documents the same
// number. When a running copy on this computer holds it, StartUp throws the
// second-copy message (naming the holder) and touches nothing. A lock left by
// a copy that crashed on this computer is taken over; one held on another
// computer, or an empty lock file, is taken over when the user agrees.
//
// Then every start keeps the data folder to its owner, removes the temporary
// copies a backup or restore cut short left behind, and, when the database
// file turns out to be damaged as the settings are read, offers to restore a
// backup.
//
// Returns false when the user chose to end the program at one of its
// questions (nothing more is shown); true when the program may run.
bool StartUp();

// The start-up as the program entry runs it: StartUp, and an error shown in the
// error box (false: the program ends). On a seat that uses a server, a server
// that cannot be reached (or used) offers "Use This Computer's File" for this
// run, or "Quit".
bool RunStartUp();
// The question asked then, naming the server.
QString ServerStartFailureQuestion(const QString& error);

// The message of a second start while the program already runs.
QString SecondCopyMessage();
