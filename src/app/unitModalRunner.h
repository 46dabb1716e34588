#pragma once
// Every screen is run modally through RunModal, so a test can take over the
// modal run of any screen: drive its widgets, then close it.
#include <QDialog>
#include <functional>

using ModalRunner = std::function<int(QDialog& dialog)>;

// Runs the dialog modally (exec()) or through the installed runner.
int RunModal(QDialog& dialog);
// Installs a runner; an empty function restores exec().
void SetModalRunner(ModalRunner runner);

// Installs a runner for the life of the object and restores the previous one after.
class ScopedModalRunner {
public:
    explicit ScopedModalRunner(ModalRunner runner);
    ~ScopedModalRunner();
    ScopedModalRunner(const ScopedModalRunner&) = delete;
    ScopedModalRunner& operator=(const ScopedModalRunner&) = delete;

private:
    ModalRunner m_previous;
};
