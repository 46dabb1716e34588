#pragma once
// The progress notice shown while data is saved, deleted or built, and the
// small shared helpers that go with it.
#include <QString>

// Shows the notice with the caption; does nothing while one is already shown.
void ShowSavingNotice(const QString& caption);
// Asks the notice to close; it accepts only once its counter is at 70 or more,
// otherwise it closes itself at 100.
void CloseSavingNotice();
