#pragma once
// Which windows open maximized. The flags live in memory for the whole run and
// are written to the database only when the main window closes.
#include <array>

// Index 0 the main window, 1 the document editor, 2 the planner, 3 the print
// preview (kept and written back unchanged).
extern std::array<bool, 4> arrFormMaximized;

// Reads the one preferences row into arrFormMaximized. A stored text that is not
// a flag (or a missing row) throws the flag conversion error.
void LoadAppPreferences();
// Writes the four flags back as "-1" / "0".
void SaveAppPreferences();
