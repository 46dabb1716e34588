#include "app/unitNumberInput.h"

#include "app/unitRegional.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

bool AllowNumDecimalOnly(QChar typed, const QString& textInBox)
{
    if (typed == QLatin1Char('\b')) return true;
    if (typed >= QLatin1Char('0') && typed <= QLatin1Char('9')) return true;
    if (typed == DisplayDecimalSeparator()) return !textInBox.contains(DisplayDecimalSeparator());
    return false;
}

namespace {

// Swallows typed characters the rule refuses, before the box sees them.
class NumberKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        auto* box = qobject_cast<QLineEdit*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!box || text.isEmpty()) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        const QChar typed = text.front();
        // Tab, Enter, Escape and the like are not typed characters.
        if (typed.category() == QChar::Other_Control && typed != QLatin1Char('\b')) return false;
        QString remaining = box->text();
        // A selection is replaced by the typed key, so its separator no longer counts.
        if (box->hasSelectedText()) remaining.remove(box->selectionStart(), box->selectedText().size());
        for (const QChar c : text)
            if (!AllowNumDecimalOnly(c, remaining)) return true;
        return false;
    }
};

bool FollowsNumberRule(const QString& text)
{
    bool separatorSeen = false;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) continue;
        if (c == DisplayDecimalSeparator() && !separatorSeen) {
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
    State validate(QString& input, int&) const override { return FollowsNumberRule(input) ? Acceptable : Invalid; }
};

} // namespace

void InstallNumberInputRule(QLineEdit* box)
{
    box->installEventFilter(new NumberKeyFilter(box));
    box->setValidator(new NumberTextValidator(box));
}
