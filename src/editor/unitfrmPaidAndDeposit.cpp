#include "editor/unitfrmPaidAndDeposit.h"

#include "app/unitErrorHandler.h"
#include "app/unitRegional.h"
#include "app/unitScreenParts.h"
#include "company/unitCompanyData.h"
#include "db/unitStoredValues.h"
#include "documents/unitDocumentModel.h"
#include "editor/unitInvoiceEditorInput.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPaidAndDeposit::TfrmPaidAndDeposit(const TPaidAndDepositValues& values, QWidget* parent)
    : QDialog(parent), m_values(values), m_depositKind(InvTypeKind(values.typeName) == TInvKind::Deposit)
{
    setObjectName(QStringLiteral("frmPaidAndDeposit"));
    setWindowTitle(m_depositKind ? QStringLiteral("Deposit Amount") : QStringLiteral("Amount Paid"));
    const QString totalCaption = values.typeName + QStringLiteral(" Total");

    txtPaidAndDeposit = new QLineEdit(this);
    txtPaidAndDeposit->setObjectName(QStringLiteral("txtPaidAndDeposit"));
    txtPaidAndDeposit->setToolTip(m_depositKind ? QStringLiteral("Enter Deposit Amount required")
                                                : QStringLiteral("Enter Amount Paid"));
    InstallNumberInputRule(txtPaidAndDeposit);
    txtPaidAndDeposit->setText(DisplayNumberText(FloatToStr(m_depositKind ? values.deposit : values.amountPaid)));
    lblPaidAndDeposit = MakeCaption(m_depositKind ? QStringLiteral("Deposit Amount required")
                                                  : QStringLiteral("Amount Paid"),
                                    txtPaidAndDeposit, this);
    lblPaidAndDeposit->setObjectName(QStringLiteral("lblPaidAndDeposit"));

    lblRecDepositAmount = new QLabel(QStringLiteral("Recommended deposit amount"), this);
    lblRecDepositAmount->setObjectName(QStringLiteral("lblRecDepositAmount"));
    txtRecDepositAmount = new QLineEdit(this);
    txtRecDepositAmount->setObjectName(QStringLiteral("txtRecDepositAmount"));
    txtRecDepositAmount->setReadOnly(true);
    txtRecDepositAmount->setToolTip(values.typeName + QStringLiteral(" Recommended deposit amount"));
    txtRecDepositAmount->setText(RecommendedDepositText(values.documentTotal, recCmpnyInvData.intDepPercent));
    lblRecDepositAmount->setVisible(m_depositKind);
    txtRecDepositAmount->setVisible(m_depositKind);

    lblInvTotal = new QLabel(totalCaption, this);
    lblInvTotal->setObjectName(QStringLiteral("lblInvTotal"));
    txtInvTotal = new QLineEdit(this);
    txtInvTotal->setObjectName(QStringLiteral("txtInvTotal"));
    txtInvTotal->setReadOnly(true);
    txtInvTotal->setToolTip(totalCaption);
    txtInvTotal->setStyleSheet(QStringLiteral("QLineEdit { background-color: yellow; color: black; }"));
    txtInvTotal->setText(FormatMoney(values.documentTotal));

    ckbxPaidInFull = new QCheckBox(QStringLiteral("Paid In Full"), this);
    ckbxPaidInFull->setObjectName(QStringLiteral("ckbxPaidInFull"));
    ckbxPaidInFull->setToolTip(QStringLiteral("Check for Paid in Full"));
    ckbxPaidInFull->setChecked(values.paidInFull);
    ckbxPaidInFull->setEnabled(values.paidInFullEnabled);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setToolTip(QStringLiteral("Accept Changes"));
    btnOK->setEnabled(false);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setToolTip(QStringLiteral("Cancel Changes"));

    auto* grid = new QGridLayout;
    grid->addWidget(lblPaidAndDeposit, 0, 0);
    grid->addWidget(txtPaidAndDeposit, 0, 1);
    grid->addWidget(lblRecDepositAmount, 1, 0);
    grid->addWidget(txtRecDepositAmount, 1, 1);
    grid->addWidget(lblInvTotal, 2, 0);
    grid->addWidget(txtInvTotal, 2, 1);
    grid->addWidget(ckbxPaidInFull, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(txtPaidAndDeposit, &QLineEdit::textChanged, this,
            [this](const QString& text) { btnOK->setEnabled(!text.isEmpty()); });
    connect(btnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(sizeHint());
}

void TfrmPaidAndDeposit::btnOKClick()
{
    // A lone decimal separator stops here with the conversion error; the dialog stays open.
    const QString text = txtPaidAndDeposit->text();
    const double amount = text.isEmpty() ? 0.0 : ParseTypedNumber(text);
    if (m_depositKind)
        m_values.deposit = amount;
    else
        m_values.amountPaid = amount;
    m_values.paidInFull = ckbxPaidInFull->isChecked();
    accept();
}
