#pragma once
// The country drop-down of the e-invoice fields (company and customer screens):
// an empty first entry, then every country as "DE Germany".
#include <QString>

class QComboBox;
class QWidget;

QComboBox* NewCountryChoice(QWidget* parent, const QString& name);
// Selects the entry of a stored code; an empty code selects the empty entry. A
// code the list does not know is added as it stands, so saving keeps it.
void ShowCountryCode(QComboBox* choice, const QString& code);
// The code of the selected entry; empty for the empty entry.
QString ChosenCountryCode(const QComboBox* choice);
