#pragma once
// Small pieces the editor's two source files share: the building of its controls
// (unitfrmInvoiceBuild.cpp) and its handlers (unitfrmInvoice.cpp).
#include <QAction>
#include <QString>

namespace invoice_editor {

inline const QString kNoPaymentTerms = QStringLiteral("No Payment Terms");
// Typing limit of the exemption number and PO boxes.
constexpr int kCustBoxLimit = 20;

// Runs a body while the editor fills its own controls, so their change signals
// do not start refreshes of a half-filled document.
class QuietScope {
public:
    explicit QuietScope(int& counter) : m_counter(counter) { ++m_counter; }
    ~QuietScope() { --m_counter; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    int& m_counter;
};

// A menu caption shows "&" as an access key unless it is doubled.
inline QString MenuText(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Tool buttons are shown exactly when they are enabled; the menu entry is the same
// action. (A hidden QAction ignores setEnabled(true), so both are always set together.)
inline void SetShownAndEnabled(QAction* action, bool on)
{
    action->setEnabled(on);
    action->setVisible(on);
}

} // namespace invoice_editor
