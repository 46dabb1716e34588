#include "editor/unitInvoiceEditorInput.h"

#include "app/unitLimitedEdit.h"

#include <QLineEdit>

void ShowStoredText(QLineEdit* box, const QString& text, int typedLimit)
{
    SetTypedLimit(box, typedLimit);
    ShowStoredText(box, text);
}
