#include "prices/unitNumDecimalFilter.h"

#include "prices/unitPriceRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
class TNumDecimalFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) return false;
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!edit || text.isEmpty()) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
        const QChar typed = text.front();
        // Tab, Enter, Escape and the like are not typed characters.
        if (typed.category() == QChar::Other_Control && typed != QLatin1Char('\b')) return false;
        QString remaining = edit->text();
        // A selection is replaced by the typed key, so its separator no longer counts.
        if (edit->hasSelectedText()) remaining.remove(edit->selectionStart(), edit->selectedText().size());
        for (const QChar c : text)
            if (!AllowNumDecimalOnly(c, remaining)) return true;
        return false;
    }
};
} // namespace

void InstallNumDecimalFilter(QLineEdit* edit)
{
    edit->installEventFilter(new TNumDecimalFilter(edit));
}
