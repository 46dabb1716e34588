#include "invoicing/unitInvoiceEditorInput.h"

#include "app/unitRegional.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QObject>
#include <QValidator>
#include <algorithm>

bool AllowNumDecimalOnly(const QString& text, QChar typed)
{
    if (typed == QChar('\b')) return true;
    if (typed >= QChar('0') && typed <= QChar('9')) return true;
    if (typed == DecimalSeparator()) return !text.contains(DecimalSeparator());
    return false;
}

namespace {

// Drops typed characters the rule refuses, before the box sees them.
class NumberKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        auto* box = qobject_cast<QLineEdit*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (!box || typed.isEmpty() || key->key() == Qt::Key_Delete) return false;
        if (key->key() == Qt::Key_Backspace) return false;
        if (typed.size() != 1) return true;
        const QString remaining = box->text().remove(box->selectionStart(), box->selectedText().size());
        return !AllowNumDecimalOnly(box->hasSelectedText() ? remaining : box->text(), typed.front());
    }
};

bool FollowsNumberRule(const QString& text)
{
    bool separatorSeen = false;
    for (const QChar c : text) {
        if (c >= QChar('0') && c <= QChar('9')) continue;
        if (c == DecimalSeparator() && !separatorSeen) {
            separatorSeen = true;
            continue;
        }
        return false;
    }
    return true;
}

// Keeps pasted or dropped text to the shape the typing rule allows. (A box
// filled with another form, such as a stored amount in exponent form, stays
// editable: the line edit only undoes a change that spoils a valid text.)
class NumberTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return FollowsNumberRule(input) ? Acceptable : Invalid;
    }
};

} // namespace

void InstallNumberInputRule(QLineEdit* box)
{
    box->installEventFilter(new NumberKeyFilter(box));
    box->setValidator(new NumberTextValidator(box));
}

void ShowStoredText(QLineEdit* box, const QString& text, int typedLimit)
{
    box->setMaxLength(std::max(typedLimit, int(text.size())));
    box->setText(text);
}
