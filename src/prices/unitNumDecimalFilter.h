#pragma once
// Puts the number-box key filter (AllowNumDecimalOnly) on a line edit: refused
// keys are swallowed. Navigation and editing keys that type no character, and
// shortcuts such as Ctrl+V, pass untouched.
class QLineEdit;

void InstallNumDecimalFilter(QLineEdit* edit);
