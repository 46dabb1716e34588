#include "app/unitLimitedEdit.h"

#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace {

constexpr char kTypedLimit[] = "typedLimit";

} // namespace

QLineEdit* NewLimitedEdit(QWidget* parent, const QString& name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    edit->setProperty(kTypedLimit, maxLength);
    return edit;
}

void ShowStoredText(QLineEdit* edit, const QString& text)
{
    edit->setMaxLength(std::max(edit->property(kTypedLimit).toInt(), int(text.size())));
    edit->setText(text);
}

void ClearToTypedLimit(QLineEdit* edit)
{
    edit->clear();
    const QVariant limit = edit->property(kTypedLimit);
    if (limit.isValid()) edit->setMaxLength(limit.toInt());
}
