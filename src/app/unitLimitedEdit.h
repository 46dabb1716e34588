#pragma once
// Text boxes with a typing limit that still show a longer stored text whole:
// the limit holds for what is typed, and a text stored earlier (by another
// version, a restore or an import) is not cut just by being shown and saved again.
//
// A limit never cuts a character in two: what does not fit is left out whole,
// so an emoji (two UTF-16 units), an accented letter typed as letter and mark,
// or a flag is kept or dropped as one. The limit counts UTF-16 units, as the
// stored columns' lengths do.
#include <QString>

class QLineEdit;
class QWidget;

// A box named `name` that takes up to maxLength typed characters.
QLineEdit* NewLimitedEdit(QWidget* parent, const QString& name, int maxLength);

// Gives an existing box the typing limit of NewLimitedEdit, or sets a new
// limit. A box that already has a validator of its own (digits only) keeps it
// and gets the line edit's length limit.
void SetTypedLimit(QLineEdit* edit, int maxLength);

// Shows `text` whole in a box made by NewLimitedEdit (or given SetTypedLimit).
void ShowStoredText(QLineEdit* edit, const QString& text);

// Empties the box and puts its typing limit back.
void ClearToTypedLimit(QLineEdit* edit);

// What the box takes now: its typing limit, or the length of a longer text
// shown by ShowStoredText.
int TypedLimit(const QLineEdit* edit);

// The longest start of `text` of at most `room` UTF-16 units that ends
// between two characters as a person sees them (grapheme clusters).
QString WholeCharactersThatFit(const QString& text, int room);
