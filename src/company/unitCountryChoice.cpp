#include "company/unitCountryChoice.h"

#include "company/unitEInvoiceRules.h"

#include <QComboBox>

QComboBox* NewCountryChoice(QWidget* parent, const QString& name)
{
    auto* choice = new QComboBox(parent);
    choice->setObjectName(name);
    choice->addItem(QString());
    choice->addItems(EInvoiceCountryEntries());
    choice->setMaxVisibleItems(20);
    return choice;
}

void ShowCountryCode(QComboBox* choice, const QString& code)
{
    if (code.isEmpty()) {
        choice->setCurrentIndex(0);
        return;
    }
    const QString entry = CountryEntryOfCode(code);
    int index = entry.isEmpty() ? choice->findText(code) : choice->findText(entry);
    if (index < 0) {
        choice->addItem(code);
        index = choice->count() - 1;
    }
    choice->setCurrentIndex(index);
}

QString ChosenCountryCode(const QComboBox* choice)
{
    return CountryCodeOfEntry(choice->currentText());
}
