#pragma once
// A memo box that holds at most a number of lines as shown in the box, wrapped
// lines counted, besides a character limit on what is typed. An edit that makes
// the text longer is taken back at once, and the undo history is emptied. A
// stored text already over the limit can still be shortened or changed.
#include "customers/unitLimitedMemo.h"

class TLineLimitedMemo : public TLimitedMemo {
    Q_OBJECT
public:
    TLineLimitedMemo(int maxLength, int maxLines, QWidget* parent = nullptr);

    // Shows a stored text as it is (not held to the limits) and takes it as the
    // text an over-long edit returns to.
    void setStoredText(const QString& text);

    // The lines as shown in the box at its current width.
    int shownLineCount() const;

private:
    void pCheckLines();
    int pShownLines(const QString& text) const;

    const int m_maxLines;
    QString m_accepted;
    bool m_restoring = false;
};
