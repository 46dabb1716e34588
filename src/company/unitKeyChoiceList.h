#pragma once
// A list whose entries are chosen with the keys as well as with the mouse:
// moving to an entry with the arrow keys (or Home, End, Page Up/Down, or by
// typing its first letters), or pressing Enter or Space on it, reports it as
// chosen. Mouse clicks are reported by QListWidget::itemClicked as usual.
#include <QListWidget>

#include <functional>

class TKeyChoiceList : public QListWidget {
public:
    using QListWidget::QListWidget;

    // Called with the row chosen by a key.
    void setKeyChoiceHandler(std::function<void(int row)> handler) { m_handler = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void(int row)> m_handler;
};
