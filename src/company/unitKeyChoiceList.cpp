#include "company/unitKeyChoiceList.h"

#include <QKeyEvent>

void TKeyChoiceList::keyPressEvent(QKeyEvent* event)
{
    const int before = currentRow();
    const bool confirm = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                         || event->key() == Qt::Key_Space;
    QListWidget::keyPressEvent(event);
    const int row = currentRow();
    if (m_handler && row >= 0 && (row != before || confirm)) m_handler(row);
}
