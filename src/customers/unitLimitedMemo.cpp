#include "customers/unitLimitedMemo.h"

#include "app/unitLimitedEdit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>

TLimitedMemo::TLimitedMemo(int maxLength, QWidget* parent) : QPlainTextEdit(parent), m_maxLength(maxLength) {}

int TLimitedMemo::room() const
{
    const int selected = int(textCursor().selectedText().size());
    return m_maxLength - (int(toPlainText().size()) - selected);
}

void TLimitedMemo::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool typesCharacter =
        !text.isEmpty() && (text.front().category() != QChar::Other_Control || text.front() == QLatin1Char('\r'))
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typesCharacter && room() < int(text.size())) {
        event->accept();   // full: the key is swallowed
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TLimitedMemo::insertFromMimeData(const QMimeData* source)
{
    if (!source || !source->hasText()) return;
    const int free = std::max(0, room());
    textCursor().insertText(WholeCharactersThatFit(source->text(), free));
    ensureCursorVisible();
}

void TLimitedMemo::inputMethodEvent(QInputMethodEvent* event)
{
    const int free = std::max(0, room());
    if (event->commitString().size() <= free) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    // A composed text that does not fit goes in as far as whole characters fit.
    QInputMethodEvent fitting(event->preeditString(), event->attributes());
    fitting.setCommitString(WholeCharactersThatFit(event->commitString(), free), event->replacementStart(),
                            event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&fitting);
}
