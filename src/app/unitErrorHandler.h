#pragma once
// The top-level handler: every event handler body runs inside RunGuarded, so no
// exception crosses a Qt frame. A caught error is shown in the error box and the
// event loop goes on.
#include "app/AppError.h"
#include "app/unitDialogs.h"

#include <exception>
#include <utility>

// Returns true when the body ran to its end, false when an error was shown.
template <typename Body>
bool RunGuarded(Body&& body)
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const AppError& error) {
        ShowErrorBox(error.message());
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
