#include "company/unitLineLimitedMemo.h"

#include <QTextBlock>
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
    m_acceptedCursor = 0;
}

int TLineLimitedMemo::shownLineCount() const
{
    const qreal width = std::max<qreal>(1, viewport()->width() - 2 * document()->documentMargin());
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        QTextLayout layout(block.text(), font());
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
    if (shownLineCount() <= m_maxLines) {
        m_accepted = toPlainText();
        m_acceptedCursor = textCursor().position();
        return;
    }
    // Taken back: the text as it was before this edit, the cursor where it was.
    m_restoring = true;
    setPlainText(m_accepted);   // also empties the undo history
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min<int>(m_acceptedCursor, int(m_accepted.size())));
    setTextCursor(cursor);
    m_restoring = false;
}
