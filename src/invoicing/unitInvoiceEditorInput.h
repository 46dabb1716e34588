#pragma once
// Typing rule of the price, quantity and amount boxes: only digits, Backspace and
// one decimal separator get through. Every other typed character, including the
// minus sign and the control characters that shortcuts send, is dropped; keys
// that type nothing (arrows, Home, Delete) move and delete as usual.
#include <QString>

class QLineEdit;

// True when the typed character may enter a box that currently holds `text`.
bool AllowNumDecimalOnly(const QString& text, QChar typed);

// Installs the rule on the box. Pasted text is held to the same rule: a paste
// is refused when the box would then hold anything but digits and at most one
// decimal separator.
void InstallNumberInputRule(QLineEdit* box);

// Shows a stored text whole in a box whose typing limit is typedLimit: the limit
// holds for typing, but a longer text stored earlier is neither cut by being
// shown nor by being saved again.
void ShowStoredText(QLineEdit* box, const QString& text, int typedLimit);
