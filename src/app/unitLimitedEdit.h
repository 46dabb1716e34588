#pragma once
// Text boxes with a typing limit that still show a longer stored text whole:
// the limit holds for what is typed, and a text stored earlier (by another
// version, a restore or an import) is not cut just by being shown and saved again.
#include <QString>

class QLineEdit;
class QWidget;

// A box named `name` that takes up to maxLength typed characters.
QLineEdit* NewLimitedEdit(QWidget* parent, const QString& name, int maxLength);

// Shows `text` whole in a box made by NewLimitedEdit.
void ShowStoredText(QLineEdit* edit, const QString& text);

// Empties the box and puts its typing limit back.
void ClearToTypedLimit(QLineEdit* edit);
