#pragma once

// The start-up sequence, run once by the program entry before any window exists:
// creates the company, data and temp folders when missing, empties the temp
// folder, builds the database when its file is missing, and loads the company
// settings and the window preferences. A database error is thrown as AppError.
void StartUp();
