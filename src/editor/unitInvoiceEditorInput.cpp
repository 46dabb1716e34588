#include "editor/unitInvoiceEditorInput.h"

#include <QLineEdit>
#include <algorithm>

void ShowStoredText(QLineEdit* box, const QString& text, int typedLimit)
{
    box->setMaxLength(std::max(typedLimit, int(text.size())));
    box->setText(text);
}
