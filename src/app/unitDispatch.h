#pragma once
// The dispatch operations: each sets the mode values its screen reads, creates
// the screen, runs it modally through RunModal and destroys it when the run ends,
// also when the run ends by an error. Screens open other screens only through
// these functions, so a test can take over any modal run.
#include "app/unitModalRunner.h"

#include <utility>

// Creates the screen for one modal run and destroys it afterwards. The screen
// lives on the stack, so an exception leaving the run still destroys it.
template <typename Screen, typename... Args>
int RunScreen(Args&&... args)
{
    Screen screen(std::forward<Args>(args)...);
    return RunModal(screen);
}
