#include "app/unitLimitedEdit.h"

#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QValidator>
#include <QVariant>

#include <algorithm>

namespace {

constexpr char kTypedLimit[] = "typedLimit";
constexpr int kLineEditMaximum = 32767;   // QLineEdit's own default

// The last boundary between two characters (grapheme clusters) of `text` in
// [from, to], or `from` when there is none.
int LastCharacterBoundary(const QString& text, int from, int to)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(std::clamp(to, 0, int(text.size())));
    while (finder.position() > from && !finder.isAtBoundary()) finder.toPreviousBoundary();
    return std::max(from, int(finder.position()));
}

// The limit of a box, applied by the box's validator instead of the line
// edit's own maximum length: that one cuts what is pasted or composed after
// as many UTF-16 units as fit, which can be half of a character. Here the
// inserted text is known whole (the text before the change is kept), and only
// whole characters of it go in.
class TypedLimitValidator : public QValidator {
public:
    TypedLimitValidator(int limit, QObject* parent) : QValidator(parent), m_limit(limit) {}

    int limit() const { return m_limit; }
    void setLimit(int limit) { m_limit = limit; }

    State validate(QString& input, int& pos) const override
    {
        if (input.size() <= m_limit) {
            m_before = input;
            return Acceptable;
        }
        // The change put new text just before the cursor: the text after the
        // cursor and the start it shares with the text before are kept.
        const int cursor = std::clamp(pos, 0, int(input.size()));
        const int tail = int(input.size()) - cursor;
        const int headLimit = std::min(cursor, std::max(0, int(m_before.size()) - tail));
        int head = 0;
        while (head < headLimit && input[head] == m_before[head]) ++head;
        const int room = m_limit - head - tail;
        const int end = room > 0 ? LastCharacterBoundary(input, head, head + room) : head;
        QString kept = input.left(end) + input.mid(cursor);
        int keptCursor = end;
        if (kept.size() > m_limit && kept != m_before) {
            // Not an insertion at the cursor (text set as a whole): its start.
            keptCursor = LastCharacterBoundary(kept, 0, m_limit);
            kept.truncate(keptCursor);
        }
        // Nothing of the insertion fits: the change is undone, quietly.
        if (kept == m_before) return Invalid;
        input = kept;
        pos = keptCursor;
        m_before = input;
        return Acceptable;
    }

private:
    int m_limit;
    mutable QString m_before;   // the text as it stood before the change being checked
};

TypedLimitValidator* LimitValidator(const QLineEdit* edit)
{
    return dynamic_cast<TypedLimitValidator*>(const_cast<QValidator*>(edit->validator()));
}

// The box's limit now: on its own validator or, where the box has another
// validator (digits only, which are never cut in two), on the line edit.
void ApplyLimit(QLineEdit* edit, int limit)
{
    if (TypedLimitValidator* validator = LimitValidator(edit))
        validator->setLimit(limit);
    else
        edit->setMaxLength(limit);
}

} // namespace

QLineEdit* NewLimitedEdit(QWidget* parent, const QString& name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    SetTypedLimit(edit, maxLength);
    return edit;
}

void SetTypedLimit(QLineEdit* edit, int maxLength)
{
    edit->setProperty(kTypedLimit, maxLength);
    if (edit->validator() && !LimitValidator(edit)) {
        // A box with a rule of its own (digits only) keeps it.
        edit->setMaxLength(maxLength);
        return;
    }
    if (!edit->validator()) {
        edit->setValidator(new TypedLimitValidator(maxLength, edit));
        // The line edit's own cut would come first and may halve a character.
        edit->setMaxLength(kLineEditMaximum);
    }
    LimitValidator(edit)->setLimit(maxLength);
}

void ShowStoredText(QLineEdit* edit, const QString& text)
{
    ApplyLimit(edit, std::max(edit->property(kTypedLimit).toInt(), int(text.size())));
    edit->setText(text);
}

void ClearToTypedLimit(QLineEdit* edit)
{
    edit->clear();
    const QVariant limit = edit->property(kTypedLimit);
    if (limit.isValid()) ApplyLimit(edit, limit.toInt());
}

int TypedLimit(const QLineEdit* edit)
{
    if (const TypedLimitValidator* validator = LimitValidator(edit)) return validator->limit();
    return edit->maxLength();
}

QString WholeCharactersThatFit(const QString& text, int room)
{
    if (room >= text.size()) return text;
    if (room <= 0) return QString();
    return text.left(LastCharacterBoundary(text, 0, room));
}
