#include "app/unitNumberInput.h"

#include "app/unitTypedNumber.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

bool AllowNumDecimalOnly(QChar typed, const QString& textInBox)
{
    // Every separator typed stays in the box, however many the box holds
    // already: the reading of the whole text decides (app/unitTypedNumber.h).
    Q_UNUSED(textInBox);
    return typed == QLatin1Char('\b') || IsNumberBoxCharacter(typed);
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
    return std::all_of(text.begin(), text.end(), IsNumberBoxCharacter);
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
