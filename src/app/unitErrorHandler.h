#pragma once
// The top-level handler: every event handler body runs inside RunGuarded, so no
// exception crosses a Qt frame. A caught error is shown in the error box and the
// event loop goes on.
#include "app/AppError.h"
#include "app/unitDialogs.h"

#include <exception>
#include <optional>
#include <utility>

// Runs the body and returns the message of the error it ended with, or
// nothing when it ran to its end. Nothing is shown: for a caller that puts the
// error into a message of its own.
template <typename Body>
std::optional<QString> ErrorOf(Body&& body)
{
    try {
        std::forward<Body>(body)();
        return std::nullopt;
    } catch (const AppError& error) {
        return error.message();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
}

// Returns true when the body ran to its end, false when an error was shown.
template <typename Body>
bool RunGuarded(Body&& body)
{
    const std::optional<QString> error = ErrorOf(std::forward<Body>(body));
    if (!error) return true;
    ShowErrorBox(*error);
    return false;
}
