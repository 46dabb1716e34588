#include "app/unitModalRunner.h"

namespace {
ModalRunner& currentRunner()
{
    static ModalRunner runner;
    return runner;
}
} // namespace

int RunModal(QDialog& dialog)
{
    if (currentRunner()) {
        // Copy first: the runner may install another runner while it works.
        ModalRunner runner = currentRunner();
        return runner(dialog);
    }
    return dialog.exec();
}

void SetModalRunner(ModalRunner runner) { currentRunner() = std::move(runner); }

ScopedModalRunner::ScopedModalRunner(ModalRunner runner) : m_previous(currentRunner())
{
    currentRunner() = std::move(runner);
}

ScopedModalRunner::~ScopedModalRunner() { currentRunner() = std::move(m_previous); }
