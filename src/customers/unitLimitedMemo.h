#pragma once
// A memo box with a character limit on what the user types, pastes or
// composes, like the length limit of a line edit; what does not fit is left
// out in whole characters. Text set by the program is not cut, so
// nothing already stored is shortened just by being shown.
#include <QPlainTextEdit>

class TLimitedMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TLimitedMemo(int maxLength, QWidget* parent = nullptr);
    int maxLength() const { return m_maxLength; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Characters the user may still add in place of the current selection.
    int room() const;
    const int m_maxLength;
};
