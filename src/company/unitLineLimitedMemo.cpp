#include "company/unitLineLimitedMemo.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

TLineLimitedMemo::TLineLimitedMemo(int maxLength, int maxLines, QWidget* parent)
    : TLimitedMemo(maxLength, parent), m_maxLines(maxLines)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Connected before anyone else, so every other listener sees the text as it stays.
    connect(this, &QPlainTextEdit::textChanged, this, [this] { pCheckLines(); });
}

void TLineLimitedMemo::setStoredText(const QString& text)
{
    m_restoring = true;
    setPlainText(text);
    m_restoring = false;
    m_accepted = text;
}

int TLineLimitedMemo::shownLineCount() const { return pShownLines(toPlainText()); }

int TLineLimitedMemo::pShownLines(const QString& text) const
{
    const qreal width = std::max<qreal>(1, viewport()->width() - 2 * document()->documentMargin());
    int lines = 0;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font());
        layout.setTextOption(document()->defaultTextOption());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            ++lines;
        }
        layout.endLayout();
    }
    return lines;
}

void TLineLimitedMemo::pCheckLines()
{
    if (m_restoring) return;
    // A stored text that is already longer may still be edited, as long as
    // the edit does not make it longer still.
    const int lines = shownLineCount();
    if (lines <= m_maxLines || lines <= pShownLines(m_accepted)) {
        m_accepted = toPlainText();
        return;
    }
    // Taken back: the text as it was before this edit, the cursor where the
    // edit began (where it is now, less what the edit added).
    const int before = textCursor().position() - int(toPlainText().size() - m_accepted.size());
    m_restoring = true;
    setPlainText(m_accepted);   // also empties the undo history
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(before, 0, int(m_accepted.size())));
    setTextCursor(cursor);
    m_restoring = false;
}
