#pragma once
// Typing rule of every number box (prices, quantities, amounts): only digits,
// Backspace and separators get through, and no typed separator is dropped: the
// text is read as a whole when it is used (app/unitTypedNumber.h). Keys that type nothing
// (arrows, Home, Delete) and shortcuts such as Ctrl+V pass untouched; pasted
// text is held to the same rule by a validator.
#include <QChar>
#include <QString>

class QLineEdit;

// True when the typed character may enter a box that currently holds
// textInBox: Backspace, a digit 0-9, '.' or ',' or a regional separator.
bool AllowNumDecimalOnly(QChar typed, const QString& textInBox);

// Installs the typing rule and the paste rule on the box.
void InstallNumberInputRule(QLineEdit* box);
