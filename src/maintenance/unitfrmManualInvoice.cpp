#include "maintenance/unitfrmManualInvoice.h"

#include "app/unitErrorHandler.h"
#include "app/unitModeValues.h"
#include "app/unitScreenParts.h"
#include "company/unitCompanyData.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitModPrintData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

TfrmManualInvoice::TfrmManualInvoice(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmManualInvoice"));
    setWindowTitle(QStringLiteral("Print Manual Forms"));
    blManualInvoice = true;
    blInvoiceEditExisting = false;

    cmbInvoiceType = new QComboBox(this);
    cmbInvoiceType->setObjectName(QStringLiteral("cmbInvoiceType"));
    SpinEditNumOfManualInvToPrint = new QSpinBox(this);
    SpinEditNumOfManualInvToPrint->setObjectName(QStringLiteral("SpinEditNumOfManualInvToPrint"));
    SpinEditNumOfManualInvToPrint->setRange(1, 25);
    SpinEditNumOfManualInvToPrint->setValue(1);
    // The number of copies changes by the arrows only.
    if (auto* text = SpinEditNumOfManualInvToPrint->findChild<QLineEdit*>()) text->setReadOnly(true);
    lblNumOfInvToPrint = MakeCaption(QString(), SpinEditNumOfManualInvToPrint, this);
    lblNumOfInvToPrint->setObjectName(QStringLiteral("lblNumOfInvToPrint"));
    cmbPaymentTerms = new QComboBox(this);
    cmbPaymentTerms->setObjectName(QStringLiteral("cmbPaymentTerms"));
    cmbFootNotes = new QComboBox(this);
    cmbFootNotes->setObjectName(QStringLiteral("cmbFootNotes"));
    ckbxAddSignatureLine = new QCheckBox(QStringLiteral("Add Signature Line"), this);
    ckbxAddSignatureLine->setObjectName(QStringLiteral("ckbxAddSignatureLine"));
    btnPrint = new QPushButton(QStringLiteral("Print"), this);
    btnPrint->setObjectName(QStringLiteral("btnPrint"));
    btnPrint->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Close"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(MakeCaption(QStringLiteral("&Type:"), cmbInvoiceType, this), cmbInvoiceType);
    form->addRow(lblNumOfInvToPrint, SpinEditNumOfManualInvToPrint);
    form->addRow(MakeCaption(QStringLiteral("Payment &Terms:"), cmbPaymentTerms, this), cmbPaymentTerms);
    form->addRow(MakeCaption(QStringLiteral("&Foot Notes:"), cmbFootNotes, this), cmbFootNotes);
    form->addRow(QString(), ckbxAddSignatureLine);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(cmbInvoiceType, &QComboBox::currentIndexChanged, this, [this] { RunGuarded([this] { cmbInvoiceTypeChange(); }); });
    connect(btnPrint, &QPushButton::clicked, this, [this] { btnPrintClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnCancelClick(); }); });

    // The lists hold their entries from the start, so the screen can be used
    // the moment it shows.
    {
        const QSignalBlocker blockType(cmbInvoiceType);
        for (const QString& name : arrInvTypeNames) cmbInvoiceType->addItem(name);
        cmbInvoiceType->setCurrentIndex(0);
    }
    cmbPaymentTerms->addItems(ManualFormPaymentTerms(recCmpnyInvData));
    cmbPaymentTerms->setCurrentIndex(0);
    cmbFootNotes->addItems(ManualFormFootNoteChoices());
    cmbFootNotes->setCurrentIndex(0);
    cmbInvoiceTypeChange();
    setMinimumWidth(420);
}

TfrmManualInvoice::~TfrmManualInvoice() { blManualInvoice = false; }

void TfrmManualInvoice::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown || event->spontaneous()) return;
    m_shown = true;
    RunGuarded([this] { pShowFormInformation(); });
}

void TfrmManualInvoice::pShowFormInformation()
{
    setWindowTitle(QStringLiteral("Print Manual Forms"));
    cmbInvoiceType->setToolTip(QStringLiteral("Select Invoice Type"));
    cmbPaymentTerms->setToolTip(QStringLiteral("Select a Payment Term"));
    cmbFootNotes->setToolTip(QStringLiteral("Select Invoice Foot Notes"));
    ckbxAddSignatureLine->setToolTip(QStringLiteral("Add a signature line"));
    SpinEditNumOfManualInvToPrint->setToolTip(QStringLiteral("Select number of Invoices to print"));
    btnPrint->setToolTip(QStringLiteral("Print Manual Forms"));
    btnCancel->setToolTip(QStringLiteral("Close"));
}

void TfrmManualInvoice::cmbInvoiceTypeChange()
{
    lblNumOfInvToPrint->setText(ManualFormCopiesLabel(cmbInvoiceType->currentIndex()));
}

void TfrmManualInvoice::pPrintCopy(const TManualFormTexts& texts)
{
    TrecPrintData data;
    data.strInvType = texts.strInvType;
    data.strInvDate = texts.strInvDate;
    data.strInvValidFor = texts.strInvValidFor;
    data.strCustPmtTerms = texts.strCustPmtTerms;
    data.strTotalHdng = texts.strTotalHdng;
    data.blSignatureLine = texts.blSignatureLine;
    data.intFootNote = texts.intFootNote;
    recPrintData = data;
    // A blank form prints no lines and no notes.
    ListViewPriceItems.clear();
    txtInvoiceNotes.clear();
    blManualInvoice = true;
    intPrintJob = pjDocument;
    modPrintData.pPrint();
}

void TfrmManualInvoice::btnPrintClick()
{
    btnPrint->setEnabled(false);
    TManualFormChoice choice;
    choice.typeName = cmbInvoiceType->currentText();
    // The first entry stands for no payment terms.
    choice.paymentTerm = cmbPaymentTerms->currentIndex() > 0 ? cmbPaymentTerms->currentText() : QString();
    choice.footNote = std::max(0, cmbFootNotes->currentIndex());
    choice.signatureLine = ckbxAddSignatureLine->isChecked();
    const TManualFormTexts texts = ManualFormTexts(choice, recCmpnyInvData.intNumEstDays);
    // A copy that cannot be printed ends the run with the print error; it is
    // not recorded and its number stays free.
    // The print notice takes no clicks while a form prints; they wait in the
    // queue and are handled here, between forms, so "Close" pressed during a
    // print stops the run before its next form.
    const auto stopRequested = [this] {
        QCoreApplication::processEvents();
        return m_stop;
    };
    RunGuarded([&] {
        RunManualForms(choice, SpinEditNumOfManualInvToPrint->value(), stopRequested,
                       [this, &texts](int) { pPrintCopy(texts); });
    });
    btnPrint->setEnabled(true);
}

void TfrmManualInvoice::btnCancelClick()
{
    m_stop = true;
    close();
}

void TfrmManualInvoice::reject()
{
    // Closing the window by any way stops a run before its next copy.
    m_stop = true;
    QDialog::reject();
}
