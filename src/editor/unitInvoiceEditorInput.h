#pragma once
// Shared input helpers of the editor's boxes; the number typing rule itself is
// in app/unitNumberInput.h.
#include "app/unitNumberInput.h"

#include <QString>

class QLineEdit;

// Shows a stored text whole in a box whose typing limit is typedLimit: the limit
// holds for typing, but a longer text stored earlier is neither cut by being
// shown nor by being saved again.
void ShowStoredText(QLineEdit* box, const QString& text, int typedLimit);
