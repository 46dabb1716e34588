#include "editor/UnitfrmInvoicePriceItemEdit.h"

#include "app/unitDialogs.h"
#include "app/unitErrorHandler.h"
#include "app/unitLimitedEdit.h"
#include "app/unitRegional.h"
#include "app/unitTypedNumber.h"
#include "db/unitStoredValues.h"
#include "editor/unitInvoiceEditorInput.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmInvoicePriceItemEdit::TfrmInvoicePriceItemEdit(const TInvLine& line, const QString& displayName,
                                                   QWidget* parent)
    : QDialog(parent), m_line(line), m_displayName(displayName)
{
    setObjectName(QStringLiteral("frmInvoicePriceItemEdit"));
    setWindowTitle(QStringLiteral("Edit Price Item"));

    gbxEditArea = new QGroupBox(this);
    gbxEditArea->setObjectName(QStringLiteral("gbxEditArea"));

    auto makeBox = [this](const char* name, int maxLength, const char* hint) {
        auto* box = new QLineEdit(gbxEditArea);
        box->setObjectName(QLatin1String(name));
        box->setMaxLength(maxLength);
        box->setToolTip(QLatin1String(hint));
        return box;
    };
    txtPriceItmDiscription = makeBox("txtPriceItmDiscription", 45, "Edit description for this Price Item");
    txtLaborPrice = makeBox("txtLaborPrice", 10, "Edit Labor Price");
    txtMatPrice = makeBox("txtMatPrice", 10, "Edit Material Price");
    txtQuantity = makeBox("txtQuantity", 10, "Edit Quantity for this Price Item");
    SetTypedLimit(txtPriceItmDiscription, 45);
    InstallNumberInputRule(txtLaborPrice);
    InstallNumberInputRule(txtMatPrice);
    InstallNumberInputRule(txtQuantity);

    ckbxLaborTaxable = new QCheckBox(QStringLiteral("Labor Taxable"), gbxEditArea);
    ckbxLaborTaxable->setObjectName(QStringLiteral("ckbxLaborTaxable"));
    ckbxLaborTaxable->setToolTip(QStringLiteral("Check if Labor is taxable for this Price Item"));
    ckbxMatTaxable = new QCheckBox(QStringLiteral("Material Taxable"), gbxEditArea);
    ckbxMatTaxable->setObjectName(QStringLiteral("ckbxMatTaxable"));
    ckbxMatTaxable->setToolTip(QStringLiteral("Check if Material is taxable for this Price Item"));

    btnRemovePriceItem = new QPushButton(QStringLiteral("Remove"), gbxEditArea);
    btnRemovePriceItem->setObjectName(QStringLiteral("btnRemovePriceItem"));
    btnRemovePriceItem->setToolTip(QStringLiteral("Remove this price Item"));
    btnOK = new QPushButton(QStringLiteral("OK"), gbxEditArea);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setToolTip(QStringLiteral("Accept changes of this price Item"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"), gbxEditArea);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setToolTip(QStringLiteral("Cancel Edit of this price Item"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Price Item Description"), txtPriceItmDiscription);
    form->addRow(QStringLiteral("Labor Price"), txtLaborPrice);
    form->addRow(QStringLiteral("Material Price"), txtMatPrice);
    form->addRow(QStringLiteral("Quantity"), txtQuantity);
    auto* checks = new QHBoxLayout;
    checks->addWidget(ckbxLaborTaxable);
    checks->addWidget(ckbxMatTaxable);
    checks->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRemovePriceItem);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* area = new QVBoxLayout(gbxEditArea);
    area->addLayout(form);
    area->addLayout(checks);
    area->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbxEditArea);

    // On show: the line's values, and "OK" waits for a change.
    ShowStoredText(txtPriceItmDiscription, line.strPrcItemName, 45);
    ShowStoredText(txtLaborPrice, DisplayNumberText(line.strLbrPrc), 10);
    ShowStoredText(txtMatPrice, DisplayNumberText(line.strMatPrc), 10);
    ShowStoredText(txtQuantity, DisplayNumberText(line.strPrcItmQuantity), 10);
    ckbxLaborTaxable->setChecked(StrToBool(line.strLabTax));
    ckbxMatTaxable->setChecked(StrToBool(line.strMatTax));
    btnOK->setEnabled(false);
    btnOK->setDefault(true);
    btnRemovePriceItem->setAutoDefault(false);

    auto enableOK = [this] { btnOK->setEnabled(true); };
    for (QLineEdit* box : {txtPriceItmDiscription, txtLaborPrice, txtMatPrice, txtQuantity})
        connect(box, &QLineEdit::textChanged, this, enableOK);
    connect(ckbxLaborTaxable, &QCheckBox::clicked, this, enableOK);
    connect(ckbxMatTaxable, &QCheckBox::clicked, this, enableOK);
    connect(btnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnRemovePriceItem, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { btnRemovePriceItemClick(); }); });

    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

bool TfrmInvoicePriceItemEdit::checkNumbers()
{
    // A line whose quantity or price is not a number would break the document's
    // totals later; it is refused here, where it can still be corrected.
    if (txtQuantity->text().isEmpty()) {
        ShowPlainMessage(QStringLiteral("Please enter a Quantity for this Price Item."));
        txtQuantity->setFocus();
        return false;
    }
    const QString lone(DisplayDecimalSeparator());
    const std::pair<QLineEdit*, const char*> boxes[] = {
        {txtLaborPrice, "Labor Price"}, {txtMatPrice, "Material Price"}, {txtQuantity, "Quantity"}};
    for (const auto& [box, caption] : boxes) {
        const QString text = box->text();
        double number = 0;
        QString message;
        if (text == lone)
            message = QStringLiteral("The %1 needs at least one digit, not a decimal separator alone.")
                          .arg(QLatin1String(caption));
        else if (!text.isEmpty() && !TryParseTypedNumber(text, number)) {
            const TTypedNumber reading = ReadTypedNumber(text);
            message = reading.reading == TTypedNumber::Reading::Two
                          ? QStringLiteral("The %1 %2").arg(QLatin1String(caption), TwoReadingsMessage(text, reading))
                          : QStringLiteral("The %1 '%2' is not a number.").arg(QLatin1String(caption), text);
        }
        if (!message.isEmpty()) {
            ShowPlainMessage(message);
            box->setFocus();
            return false;
        }
    }
    return true;
}

void TfrmInvoicePriceItemEdit::btnOKClick()
{
    if (!checkNumbers()) return;
    const QString zero = QStringLiteral("0") + DisplayDecimalSeparator() + QStringLiteral("0");
    if (txtLaborPrice->text().isEmpty()) txtLaborPrice->setText(zero);
    if (txtMatPrice->text().isEmpty()) txtMatPrice->setText(zero);
    m_line.strPrcItemName = txtPriceItmDiscription->text();
    m_line.strLbrPrc = StoredNumberText(txtLaborPrice->text());
    m_line.strMatPrc = StoredNumberText(txtMatPrice->text());
    m_line.strLabTax = BoolToStr(ckbxLaborTaxable->isChecked());
    m_line.strMatTax = BoolToStr(ckbxMatTaxable->isChecked());
    m_line.strPrcItmQuantity = StoredNumberText(txtQuantity->text());
    m_outcome = TLineEditOutcome::Edited;
    accept();
}

void TfrmInvoicePriceItemEdit::btnRemovePriceItemClick()
{
    const QString question = QStringLiteral("Remove ") + txtPriceItmDiscription->text() +
                             QStringLiteral(" from ") + m_displayName + QLatin1Char('?');
    if (AskYesNoCancel(question) != MessageAnswer::Yes) return;
    m_outcome = TLineEditOutcome::Removed;
    accept();
}
