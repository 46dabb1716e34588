#include "editor/unitfrmInvoice.h"

#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitDialogs.h"
#include "app/unitDispatch.h"
#include "app/unitErrorHandler.h"
#include "app/unitScreenParts.h"
#include "app/unitWholeFile.h"
#include "documents/unitMainCounters.h"
#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "db/unitDatabaseTarget.h"
#include "app/unitSaveFilePicker.h"
#include "company/unitCompanyData.h"
#include "customers/unitCustomerPick.h"
#include "email/unitEmailData.h"
#include "editor/UnitfrmInvoicePriceItemEdit.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitEInvoice.h"
#include "editor/unitInvoiceEditorInput.h"
#include "editor/unitInvoiceEditorLines.h"
#include "editor/unitInvoiceEditorRules.h"
#include "editor/unitInvoiceEditorSection.h"
#include "documents/unitInvoiceHolders.h"
#include "editor/unitfrmPaidAndDeposit.h"
#include "prices/unitPriceHandOver.h"
#include "printing/unitModPrintData.h"
#include "printing/unitPrintData.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QFileInfo>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "editor/unitfrmInvoiceShared.h"

using namespace invoice_editor;

// ---------------------------------------------------------- opening, closing

void TfrmInvoice::FormShow()
{
    setWindowState(arrFormMaximized[1] ? Qt::WindowMaximized : Qt::WindowNoState);
    RunGuarded([this] {
        pShowFormInformation();
        pResetFormData();
        pChangeData();
    });
    if (blInvoiceEditExisting) {
        // A stored document that cannot be read is never shown as an empty form
        // under its number: a save would write over it. The editor closes.
        try {
            pFillFromStoredDocument();
        } catch (const std::exception& error) {
            const auto* appError = dynamic_cast<const AppError*>(&error);
            const QString reason = appError ? appError->message() : QString::fromLocal8Bit(error.what());
            m_loadFailed = true;
            m_closeConfirmed = true;
            pEnableSavebtn(false);
            ShowErrorBox(QStringLiteral("Document number %1 could not be read: %2").arg(intCurrentInvNumber).arg(reason));
            QTimer::singleShot(0, this, [this] { reject(); });
        }
        if (!m_loadFailed) {
            // The document is shown; a refresh that fails (a line whose number cannot
            // be read) is reported and the editor stays open on it.
            RunGuarded([this] { pChangeData(); });
            pEnableSavebtn(false);
        }
    }
    m_lastPickerDate = dateTimePickerInvoice->date();
}

void TfrmInvoice::closeEvent(QCloseEvent* event)
{
    // Every way of closing goes through done(), where the save question is asked.
    event->ignore();
    reject();
}

void TfrmInvoice::done(int result)
{
    if (!m_closeConfirmed && !FormCloseQuery()) return;
    m_closeConfirmed = true;
    RunGuarded([this] { FormClose(); });
    QDialog::done(result);
}

bool TfrmInvoice::FormCloseQuery()
{
    if (!actSave->isEnabled()) return true;
    switch (AskYesNoCancel(QStringLiteral("Save changes to ") + displayName() + QLatin1Char('?'))) {
    case MessageAnswer::Yes:
        // A save that fails keeps the editor open, so nothing typed is lost.
        return RunGuarded([this] { pSaveData(); });
    case MessageAnswer::No: return true;
    default: return false;
    }
}

void TfrmInvoice::FormClose()
{
    arrFormMaximized[1] = isMaximized();
    strCurrentCustPmtTerms.clear();
    txtInvoiceNotes.clear();
    RefreshMainCounters();
}

// ---------------------------------------------------------------- the steps

QString TfrmInvoice::selectedTypeName() const { return cmbInvoiceType->currentText(); }

QString TfrmInvoice::displayName() const { return InvDisplayName(selectedTypeName(), intCurrentInvNumber); }

void TfrmInvoice::pShowFormInformation()
{
    actClose->setToolTip(QStringLiteral("Close"));
    actSave->setToolTip(QStringLiteral("Save Changes to Invoice"));
    actPrint->setToolTip(QStringLiteral("Print Invoice"));
    actPrintPreview->setToolTip(QStringLiteral("Print Preview Invoice"));
    actDelete->setToolTip(QStringLiteral("Delete invoice"));
    actEmail->setToolTip(QStringLiteral("Email invoice"));
    actHelp->setToolTip(QStringLiteral("Open Help"));
    cmbInvoiceType->setToolTip(QStringLiteral("Select Invoice Type"));
    btnAddCustomer->setToolTip(QStringLiteral("Add a Customer"));
    btnAddPriceItem->setToolTip(QStringLiteral("Add a Price Item"));
    dateTimePickerInvoice->setToolTip(QStringLiteral("Select a date to use"));
    btnAddNotes->setToolTip(QStringLiteral("Add Notes"));
    ckbxAddSignatureLine->setToolTip(QStringLiteral("Add a signature line"));
    ckbxPrintContract->setToolTip(QStringLiteral("Print contract with the Invoice"));
    ckbxPrintWarranty->setToolTip(QStringLiteral("Print warranty with the Invoice"));
    cmbFootNotes->setToolTip(QStringLiteral("Select a Foot Note"));
    ckbxRecurring->setToolTip(QStringLiteral("Set Invoice as recurring"));
    ckbxCustTaxExempt->setToolTip(QStringLiteral("Check if customer is Tax Exempt"));
    txtcustTaxExemptNumber->setToolTip(QStringLiteral("Enter Customer Tax Exemption Number"));
    txtCustPO->setToolTip(QStringLiteral("Enter a PO number for this Customer"));
    cmbPaymentTerms->setToolTip(QStringLiteral("Select a Payment Term"));
    ckbxPaidInFull->setToolTip(QStringLiteral("Check for Paid in Full"));
    for (QCheckBox* box : ckbxTax) box->setToolTip(QStringLiteral("Check to use this tax"));
    lstInvoice->setToolTip(QStringLiteral("Click on a Price Item to edit"));

    // A tax option is offered under its name only when the company charges it.
    const std::array<double, 3> rates{recCmpnyInvData.dbTaxRate1, recCmpnyInvData.dbTaxRate2,
                                      recCmpnyInvData.dbTaxRate3};
    const std::array<QString, 3> names{recCmpnyInvData.strTaxName1, recCmpnyInvData.strTaxName2,
                                       recCmpnyInvData.strTaxName3};
    for (int k = 0; k < 3; ++k) {
        const bool charged = rates[k] > 0;
        const QString caption = charged ? names[k] : QStringLiteral("Tax Option %1").arg(k + 1);
        ckbxTax[k]->setText(caption);
        submnuTaxOption[k]->setText(charged ? MenuText(caption) : QStringLiteral("Tax Option &%1").arg(k + 1));
        ckbxTax[k]->setEnabled(charged);
        submnuTaxOption[k]->setEnabled(charged);
    }

    QWidget* const order[] = {cmbInvoiceType, btnAddCustomer, btnAddPriceItem, dateTimePickerInvoice,
                              btnAddNotes, ckbxAddSignatureLine, ckbxPrintContract, ckbxPrintWarranty,
                              cmbFootNotes, ckbxRecurring, ckbxCustTaxExempt, txtcustTaxExemptNumber,
                              txtCustPO, cmbPaymentTerms, btnPaidAndDeposit, ckbxPaidInFull,
                              ckbxTax[0], ckbxTax[1], ckbxTax[2]};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    catpnlRequired->setExpanded(true);
    catpnlInvoice->setExpanded(false);
    catpnlCustomer->setExpanded(false);
    catpnlTax->setExpanded(false);
}

void TfrmInvoice::pResetFormData()
{
    QuietScope quiet(m_quiet);
    pLoadInvNames();
    dateTimePickerInvoice->setDate(QDate::currentDate());
    pLoadPaymentTerms();
    cmbPaymentTerms->setCurrentIndex(0);
    for (QAction* action : submnuPmtTerm) action->setChecked(false);
    submnuPmtTerm[0]->setChecked(true);
    cmbFootNotes->setCurrentIndex(0);
    pUpdateFootNoteMarks();
    txtInvoiceFootNotes->setVisible(false);
    txtInvoiceFootNotes->clear();
    for (QLabel* line : {lblCustCompany, lblCustName, lblCustAddress, lblCustCityStZip, lblPhoneFax, lblCustEmail})
        line->clear();
    ShowStoredText(txtcustTaxExemptNumber, QString(), kCustBoxLimit);
    ShowStoredText(txtCustPO, QString(), kCustBoxLimit);
    ckbxCustTaxExempt->setChecked(false);
    SetShownAndEnabled(actDelete, false);
    m_buyer = {};
    m_amountPaid = 0;
    strCurrentCustPmtTerms.clear();
    txtInvoiceNotes.clear();
    strStoredInvName.clear();
    ResetSavedData();
}

void TfrmInvoice::pLoadInvNames()
{
    const TInvTypeOffer offer = OfferedInvTypes(strStoredInvName);
    cmbInvoiceType->clear();
    for (int i = offer.first; i <= offer.last; ++i) cmbInvoiceType->addItem(arrInvTypeNames[i]);
    cmbInvoiceType->setEnabled(offer.listEnabled);
    submnuInvoiceType->setEnabled(offer.listEnabled);
    submnuInvoiceType->menuAction()->setEnabled(offer.listEnabled);
    for (int i = 0; i < 6; ++i) {
        const bool present = i < cmbInvoiceType->count();
        submnuInvType[i]->setText(present ? cmbInvoiceType->itemText(i) : QString());
        submnuInvType[i]->setVisible(present);
        submnuInvType[i]->setChecked(false);
    }
    cmbInvoiceType->setCurrentIndex(0);
    submnuInvType[0]->setChecked(true);
}

void TfrmInvoice::pLoadPaymentTerms()
{
    const auto termSlots = PaymentTermSlots(strCurrentCustPmtTerms, recCmpnyInvData.strInvTerms);
    cmbPaymentTerms->clear();
    cmbPaymentTerms->addItems(PaymentTermEntries(termSlots));
    for (int k = 0; k < kPaymentTermSlots; ++k) {
        submnuPmtTerm[k]->setText(MenuText(termSlots[k]));
        submnuPmtTerm[k]->setData(termSlots[k]);
        submnuPmtTerm[k]->setVisible(!termSlots[k].isEmpty());
    }
}

void TfrmInvoice::pCheckPaymentTerms()
{
    if (strCurrentCustPmtTerms.isEmpty() || strCurrentCustPmtTerms == kNoPaymentTerms) return;
    const int found = cmbPaymentTerms->findText(strCurrentCustPmtTerms, Qt::MatchFixedString);
    if (found < 0) {
        pLoadPaymentTerms();
        cmbPaymentTerms->setCurrentIndex(1);
    } else {
        cmbPaymentTerms->setCurrentIndex(found);
    }
    pSetPaymentTerms(-1);
}

void TfrmInvoice::pSetInvoiceType(int tag)
{
    if (tag >= 1 && tag <= cmbInvoiceType->count()) cmbInvoiceType->setCurrentIndex(tag - 1);
    for (QAction* action : submnuInvType) action->setChecked(false);
    const int selected = cmbInvoiceType->currentIndex();
    if (selected >= 0 && selected < 6) submnuInvType[selected]->setChecked(true);
    refreshAfterChange();
}

void TfrmInvoice::pUpdateFootNoteMarks()
{
    const int selected = cmbFootNotes->currentIndex();
    for (int k = 0; k <= 3; ++k) submnuFootNote[k]->setChecked(k == selected);
}

void TfrmInvoice::pSetFootNotes(int tag)
{
    if (tag >= 1 && tag <= 3) cmbFootNotes->setCurrentIndex(tag);
    else if (tag == 4) cmbFootNotes->setCurrentIndex(0);
    if (cmbFootNotes->currentIndex() == 0) {
        txtInvoiceFootNotes->setVisible(false);
        txtInvoiceFootNotes->clear();
    }
    pUpdateFootNoteMarks();
    refreshAfterChange();
}

void TfrmInvoice::pSetPaymentTerms(int menuSlot)
{
    if (menuSlot >= 0) {
        const QString text = submnuPmtTerm[menuSlot]->data().toString();
        const int entry = cmbPaymentTerms->findText(text, Qt::MatchExactly);
        if (entry >= 0) cmbPaymentTerms->setCurrentIndex(entry);
    }
    const QString selected = cmbPaymentTerms->currentText();
    bool marked = false;
    for (QAction* action : submnuPmtTerm) {
        const bool mark = !marked && action->isVisible() && action->data().toString() == selected;
        action->setChecked(mark);
        marked = marked || mark;
    }
    refreshAfterChange();
}

void TfrmInvoice::pSetDate()
{
    if (dateTimePickerInvoice->date() == m_lastPickerDate) return;
    m_lastPickerDate = dateTimePickerInvoice->date();
    refreshAfterChange();
}

void TfrmInvoice::pOpenCatagory(TInvoiceEditorSection* section)
{
    if (!section->isExpanded()) section->setExpanded(true);
}

void TfrmInvoice::pChangeData()
{
    QuietScope quiet(m_quiet);   // the boxes this refresh unticks must not refresh again
    const QString type = selectedTypeName();
    const QString name = displayName();
    lblInvNameNumber->setText(name);
    setWindowTitle(name);
    lblInvDate->setText(DisplayDate(dateTimePickerInvoice->date()));
    lblCustPmtTerms->setText(cmbPaymentTerms->currentIndex() > 0 ? cmbPaymentTerms->currentText() : QString());
    lblInvInformation->setText(
        GetInvInformationLine(type, recSavedData.strFromInvNameNumber, dateTimePickerInvoice->date()));
    const int footNote = cmbFootNotes->currentIndex();
    if (footNote >= 1 && footNote <= 3) {
        txtInvoiceFootNotes->setVisible(true);
        txtInvoiceFootNotes->setPlainText(recCmpnyInvData.strInvFootNote[footNote]);
    }
    lblTotal->setText(type + QStringLiteral(" Total"));

    // A deposit-kind document asks for a deposit and never carries an amount paid.
    if (InvTypeKind(type) == TInvKind::Deposit) m_amountPaid = 0;
    const QString paidCaption = PaidAndDepositCaption(type);
    btnPaidAndDeposit->setText(paidCaption);
    lblPaidAndDeposit->setText(paidCaption);
    btnPaidAndDeposit->setToolTip(paidCaption);
    submnuPaidDeposit->setText(MenuText(paidCaption));

    pSetPaidInFullAndRecurring();

    if (ckbxCustTaxExempt->isChecked()) {
        catpnlTax->setCaption(QStringLiteral("Tax Exempt"));
        catpnlTax->setEnabled(false);
        catpnlTax->setExpanded(false);
        submnuTax->setTitle(QStringLiteral("Tax Exempt"));
        submnuTax->setEnabled(false);
        for (QCheckBox* box : ckbxTax) box->setChecked(false);
    } else {
        catpnlTax->setCaption(QStringLiteral("Tax"));
        catpnlTax->setEnabled(true);
        submnuTax->setTitle(QStringLiteral("&Tax"));
        submnuTax->setEnabled(true);
    }

    const bool ready = IsDocumentReady(m_lines->lineCount(), lblCustName->text(), lblCustCompany->text());
    pEnableSavebtn(ready);
    for (QAction* output : {actPrint, actPrintPreview, actEmail, submnuSavePdf}) SetShownAndEnabled(output, ready);
    // The XML alone is offered where the company makes e-invoices and the type carries one.
    SetShownAndEnabled(submnuSaveEInvoiceXml, ready && recEInvoiceSettings.blEInvoice && TakesEInvoice(type));

    // Only a stored document can be deleted; the reset disabled Delete for a new one.
    SetShownAndEnabled(actDelete, blInvoiceEditExisting);

    pShowRequiredTicks();
    pAddInvoiceTotals();
}

void TfrmInvoice::pShowRequiredTicks()
{
    const bool hasCustomer = !lblCustName->text().isEmpty();
    submnuAddCustomer->setChecked(hasCustomer);
    ImageAddCustomer->setVisible(hasCustomer);
    const bool hasLine = m_lines->lineCount() > 0;
    submnuAddPriceItem->setChecked(hasLine);
    ImageAddPrcItem->setVisible(hasLine);
}

void TfrmInvoice::pEnableSavebtn(bool enabled) { SetShownAndEnabled(actSave, enabled); }

void TfrmInvoice::pSetPaidInFullAndRecurring()
{
    const TPaidRecurringState state =
        PaidInFullAndRecurring(selectedTypeName(), ckbxPaidInFull->isChecked(), ckbxRecurring->isChecked());
    ckbxPaidInFull->setChecked(state.paidInFullChecked);
    ckbxRecurring->setChecked(state.recurringChecked);
    ckbxPaidInFull->setEnabled(state.paidInFullEnabled);
    ckbxRecurring->setEnabled(state.recurringEnabled);
    if (state.paidInFullChecked) lblTotal->setText(QStringLiteral("Paid In Full"));
    submnuPaidInFull->setEnabled(state.paidInFullEnabled);
    submnuSetAsRecurring->setEnabled(state.recurringEnabled);
}

void TfrmInvoice::pAddInvoiceTotals()
{
    const auto rates = EffectiveTaxRates(ckbxCustTaxExempt->isChecked(), ckbxTax[0]->isChecked(),
                                         ckbxTax[1]->isChecked(), ckbxTax[2]->isChecked());
    // A line that is not a number stops here; the boxes keep their previous texts.
    const TInvTotalsResult result = ComputeInvTotals(m_lines->lines(), rates);
    m_lines->setComputedCells(result.cells);
    m_totals = result.totals;
    const TInvTotalTexts texts = GetInvTotalTexts(selectedTypeName(), m_totals, m_amountPaid, m_deposit,
                                                  ckbxPaidInFull->isChecked());
    txtPaidAndDeposit->setText(texts.strPaidAndDeposit);
    txtInvoiceSubTotal->setText(texts.strSubTotal);
    txtInvoiceTaxTotal->setText(texts.strTaxTotal);
    txtInvoiceTotal->setText(texts.strTotal);
}

bool TfrmInvoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstInvoice->viewport() && event->type() == QEvent::Resize) pResizeListBox();
    return QDialog::eventFilter(watched, event);
}

void TfrmInvoice::pResizeListBox()
{
    const auto widths = LineColumnWidths(lstInvoice->viewport()->width(), recCmpnyInvData.blShowQuantity,
                                         recCmpnyInvData.blShowPrcEach, recCmpnyInvData.blShowTotal);
    for (int column = 0; column < lcColumnCount; ++column) {
        lstInvoice->setColumnHidden(column, widths[column] == 0);
        if (widths[column] > 0) lstInvoice->setColumnWidth(column, widths[column]);
    }
}

// ------------------------------------------------------------------ actions

void TfrmInvoice::pApplyCustomerPick(const TrecCustomerPick& pick)
{
    {
        QuietScope quiet(m_quiet);
        lblCustCompany->setText(pick.strCompany);
        lblCustName->setText(pick.strName);
        lblCustAddress->setText(pick.strAddress);
        lblCustCityStZip->setText(pick.strCityStZip);
        lblPhoneFax->setText(pick.strPhoneFax);
        ShowStoredText(txtcustTaxExemptNumber, pick.strTaxExemptNumber, kCustBoxLimit);
        lblCustEmail->setText(pick.strEmail);
        strCurrentCustPmtTerms = pick.strPmtTerms;
        pCheckPaymentTerms();
        ckbxCustTaxExempt->setChecked(pick.blTaxExempt);
        m_buyer = {pick.strCountry, pick.strVatId};
    }
    pChangeData();
}

void TfrmInvoice::pAddCustomer()
{
    strCurrentCustPmtTerms.clear();
    if (const std::optional<TrecCustomerPick> pick = PickCustomer())
        pApplyCustomerPick(*pick);
    else
        pShowRequiredTicks();   // choosing the menu entry flipped its mark
}

void TfrmInvoice::pAddPriceItem()
{
    PickPriceItem();
    if (recPrices.strPrcItemName.isEmpty()) {   // nothing picked
        pShowRequiredTicks();
        return;
    }
    TInvLine line;
    line.strPrcItemName = recPrices.strPrcItemName;
    line.strPrcItmQuantity = recPrices.strQuantity;
    line.strLbrPrc = recPrices.strLbrPrc;
    line.strLabTax = recPrices.strLabTax;
    line.strMatPrc = recPrices.strMatPrc;
    line.strMatTax = recPrices.strMatTax;
    m_lines->appendLine(line);
    recPrices.clear();
    pChangeData();
}

void TfrmInvoice::lstInvoiceClick()
{
    const QModelIndexList selected = lstInvoice->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int row = selected.first().row();
    TInvLine line = m_lines->line(row);
    switch (EditInvoiceLine(line, displayName())) {
    case TLineEditOutcome::Edited:
        m_lines->replaceLine(row, line);
        pChangeData();
        break;
    case TLineEditOutcome::Removed:
        m_lines->removeLine(row);
        pChangeData();
        break;
    case TLineEditOutcome::Unchanged: break;
    }
}

void TfrmInvoice::pPaidAndDeposit()
{
    TPaidAndDepositValues values;
    values.typeName = selectedTypeName();
    values.deposit = m_deposit;
    values.amountPaid = m_amountPaid;
    values.documentTotal = m_totals.dbInvTotal;
    values.paidInFull = ckbxPaidInFull->isChecked();
    values.paidInFullEnabled = ckbxPaidInFull->isEnabled();
    if (EditPaidAndDeposit(values)) {
        const bool amountsChanged = values.deposit != m_deposit || values.amountPaid != m_amountPaid;
        m_deposit = values.deposit;
        m_amountPaid = values.amountPaid;
        ckbxPaidInFull->setChecked(values.paidInFull);   // refreshes when it changes
        // A payment or deposit entered on its own is a change too: without Save
        // enabled, closing would drop it without asking.
        if (amountsChanged && IsDocumentReady(m_lines->lineCount(), lblCustName->text(), lblCustCompany->text()))
            pEnableSavebtn(true);
    }
    pAddInvoiceTotals();
}

void TfrmInvoice::pAddNotes()
{
    QString notes = txtInvoiceNotes;
    if (EditInvoiceNotes(selectedTypeName(), intCurrentInvNumber, notes)) {
        // Stored before the refresh: a refresh that fails must not lose what was typed.
        txtInvoiceNotes = notes;
        pChangeData();
    }
}

void TfrmInvoice::pPreSetPrintData()
{
    intPrintJob = pjDocument;
    recPrintData.strInvType = selectedTypeName();
    recPrintData.strInvDate = DisplayDate(dateTimePickerInvoice->date());
    recPrintData.strInvValidFor = lblInvInformation->text();
    recPrintData.strCustCompany = lblCustCompany->text();
    recPrintData.strCustName = lblCustName->text();
    recPrintData.strCustAddress = lblCustAddress->text();
    recPrintData.strCustCityStZip = lblCustCityStZip->text();
    recPrintData.strCustPhoneFax = lblPhoneFax->text();
    recPrintData.strCustPmtTerms = lblCustPmtTerms->text();
    recPrintData.strCustPONumber = txtCustPO->text();
    recPrintData.strCustTaxExemptNum = txtcustTaxExemptNumber->text();
    recPrintData.strDepositPaidHdng = lblPaidAndDeposit->text();
    recPrintData.strTotalHdng = lblTotal->text();
    recPrintData.strDepositPaid = txtPaidAndDeposit->text();
    recPrintData.strTax = txtInvoiceTaxTotal->text();
    recPrintData.strSubTotal = txtInvoiceSubTotal->text();
    recPrintData.strTotal = txtInvoiceTotal->text();
    recPrintData.blPrintOnLoad = false;
    recPrintData.blSignatureLine = ckbxAddSignatureLine->isChecked();
    recPrintData.blPrintContract = ckbxPrintContract->isChecked();
    recPrintData.blPrintWarranty = ckbxPrintWarranty->isChecked();
    recPrintData.intFootNote = cmbFootNotes->currentIndex();
    ListViewPriceItems = m_lines->lines();
}

bool TfrmInvoice::pSaveNewBeforeOutput()
{
    if (blInvoiceEditExisting || !UsesServer()) return true;
    if (AskYesNoCancel(QStringLiteral("Save changes to ") + displayName() + QLatin1Char('?')) != MessageAnswer::Yes)
        return false;
    pSaveData();
    return true;
}

void TfrmInvoice::pPrintData()
{
    if (!pSaveNewBeforeOutput()) return;
    // Totals of a line that is not a number stop here, so nothing prints with
    // totals that leave a line out.
    pAddInvoiceTotals();
    pPreSetPrintData();
    modPrintData.pPrint();
}

void TfrmInvoice::pPrintPreviewData()
{
    pAddInvoiceTotals();
    pPreSetPrintData();
    modPrintData.pPrintPreview();
}

void TfrmInvoice::pWriteDocumentPdf(const QString& path)
{
    // Totals of a line that is not a number stop here, as for printing.
    pAddInvoiceTotals();
    pPreSetPrintData();
    const TEInvoiceForPdf einvoice =
        EInvoiceForPdf(CurrentEInvoiceSource(pDocumentOnScreen(), cmbFootNotes->currentIndex()));
    modPrintData.pCreatePDFFile(path, einvoice.xml);
    if (!einvoice.strRefusal.isEmpty()) ShowInformation(einvoice.strRefusal);
}

void TfrmInvoice::pEmailData()
{
    if (!pSaveNewBeforeOutput()) return;
    const QString pdfPath = EmailAttachmentPath(selectedTypeName(), intCurrentInvNumber);
    QDir().mkpath(GetTempFolder());   // made at start-up; made again should it have been removed since
    pWriteDocumentPdf(pdfPath);
    SetEmailDataForDocument(lblCustEmail->text(), lblCustCompany->text(), lblCustName->text(), pdfPath,
                            displayName(), recCompanyData.blCompEmailSubjectInvNameNum);
    OpenEmail();
}

void TfrmInvoice::pSavePdfData()
{
    const QString path = ChooseSaveFile(
        this, {QStringLiteral("dlgSavePdf"), QStringLiteral("Save PDF"), QStringLiteral("PDF files (*.pdf)"),
               QStringLiteral("pdf"), QFileInfo(EmailAttachmentPath(selectedTypeName(), intCurrentInvNumber)).fileName()});
    if (!path.isEmpty()) pWriteDocumentPdf(path);
}

void TfrmInvoice::pSaveEInvoiceXml()
{
    pAddInvoiceTotals();
    const TEInvoiceSource source = CurrentEInvoiceSource(pDocumentOnScreen(), cmbFootNotes->currentIndex());
    if (const QStringList reasons = EInvoiceMissing(source); !reasons.isEmpty()) {
        ShowInformation(EInvoiceRefusalMessage(displayName(), reasons, TEInvoiceUse::XmlFile));
        return;
    }
    const QByteArray xml = BuildEInvoiceXml(source);
    const QString path = ChooseSaveFile(
        this, {QStringLiteral("dlgSaveEInvoiceXml"), QStringLiteral("Save E-Invoice XML"),
               QStringLiteral("XML files (*.xml)"), QStringLiteral("xml"),
               selectedTypeName() + QString::number(intCurrentInvNumber) + QStringLiteral(".xml")});
    if (path.isEmpty()) return;
    SaveWholeFile(path, xml);
}

TInvDocument TfrmInvoice::pDocumentOnScreen() const
{
    TInvDocument document;
    TInvHeader& header = document.header;
    header.strInvName = selectedTypeName();
    header.strCustCmpnyName = lblCustCompany->text();
    header.strCustFullName = lblCustName->text();
    header.strCustAddress = lblCustAddress->text();
    header.strCustCtyStZp = lblCustCityStZip->text();
    header.strCustPhnFax = lblPhoneFax->text();
    header.strInvTerms = lblCustPmtTerms->text();   // "No Payment Terms" is stored as empty
    header.strCustEmail = lblCustEmail->text();
    header.strCustTaxExemptNum = txtcustTaxExemptNumber->text();
    header.strCustPONumber = txtCustPO->text();
    header.strFromInvNameNumber = recSavedData.strFromInvNameNumber;
    header.strFutureInfo.clear();
    header.strInvDate = DateToStr(dateTimePickerInvoice->date());
    header.strUseTax1 = ckbxTax[0]->isChecked();
    header.strUseTax2 = ckbxTax[1]->isChecked();
    header.strUseTax3 = ckbxTax[2]->isChecked();
    header.strCustTaxExempt = ckbxCustTaxExempt->isChecked();
    header.strPaidInFull = ckbxPaidInFull->isChecked();
    header.strRecurring = ckbxRecurring->isChecked();
    header.intInvNumber = intCurrentInvNumber;
    header.intInvFootNotes = cmbFootNotes->currentIndex();
    header.dbLbrTax1Total = m_totals.dbLbrTax1Total;
    header.dbLbrTax2Total = m_totals.dbLbrTax2Total;
    header.dbLbrTax3Total = m_totals.dbLbrTax3Total;
    header.dbMatTax1Total = m_totals.dbMatTax1Total;
    header.dbMatTax2Total = m_totals.dbMatTax2Total;
    header.dbMatTax3Total = m_totals.dbMatTax3Total;
    header.dbLbrTotal = m_totals.dbLbrTotal;
    header.dbMatTotal = m_totals.dbMatTotal;
    header.dbAmountPaid = m_amountPaid;
    header.dbDepAmount = m_deposit;
    header.dbInvTotal = m_totals.dbInvTotal;
    document.strInvNotes = txtInvoiceNotes;
    document.lines = m_lines->lines();
    document.buyer = m_buyer;
    return document;
}

void TfrmInvoice::pSaveData()
{
    if (m_loadFailed)
        throw AppError(QStringLiteral("Document number %1 could not be read and is not saved over").arg(intCurrentInvNumber));
    // The stored totals must be those of the lines being stored: a line whose
    // quantity or price is not a number stops the save here with its error.
    pAddInvoiceTotals();
    strStoredInvName = selectedTypeName();
    pPreSetPrintData();
    const TInvDocument document = pDocumentOnScreen();

    // The ledger postings and the document are written together or not at all.
    const TSaveOutcome outcome = SaveDocumentWithLedger(document, recSavedData, blInvoiceEditExisting);
    if (outcome.intInvNumber != intCurrentInvNumber) {
        // Another seat stored a document under the number shown first.
        lblNumberNote->setText(NumberTakenNote(selectedTypeName(), intCurrentInvNumber, outcome.intInvNumber));
        lblNumberNote->setVisible(true);
        intCurrentInvNumber = outcome.intInvNumber;
    }
    ListViewPriceItems.clear();
    blInvoiceEditExisting = true;
    pShowSavedInvoiceData();
}

void TfrmInvoice::pDeleteData()
{
    if (!blInvoiceEditExisting || m_loadFailed) return;
    if (AskYesNoCancel(QStringLiteral("Delete ") + displayName() + QLatin1Char('?')) != MessageAnswer::Yes) return;
    DeleteDocument(intCurrentInvNumber);
    m_closeConfirmed = true;   // the document is gone: nothing is left to save
    accept();
}

void TfrmInvoice::pShowSavedInvoiceData()
{
    struct SaveDisabler {
        TfrmInvoice* editor;
        ~SaveDisabler() { editor->pEnableSavebtn(false); }
    } disableSaveAtEnd{this};

    pFillFromStoredDocument();
    pChangeData();
}

void TfrmInvoice::pFillFromStoredDocument()
{
    const TLoadedDocument loaded = LoadDocument(intCurrentInvNumber);
    const TInvHeader& header = loaded.document.header;
    {
        QuietScope quiet(m_quiet);
        lblCustCompany->setText(header.strCustCmpnyName);
        lblCustName->setText(header.strCustFullName);
        lblCustAddress->setText(header.strCustAddress);
        lblCustCityStZip->setText(header.strCustCtyStZp);
        lblPhoneFax->setText(header.strCustPhnFax);
        lblCustEmail->setText(header.strCustEmail);
        ShowStoredText(txtcustTaxExemptNumber, header.strCustTaxExemptNum, kCustBoxLimit);
        ckbxCustTaxExempt->setChecked(header.strCustTaxExempt);
        ShowStoredText(txtCustPO, header.strCustPONumber, kCustBoxLimit);
        strStoredInvName = header.strInvName;
        pLoadInvNames();
        strCurrentCustPmtTerms = header.strInvTerms;
        pCheckPaymentTerms();
        const int footNote = std::clamp(header.intInvFootNotes, 0, 3);
        cmbFootNotes->setCurrentIndex(footNote);
        pSetFootNotes(0);
        ckbxTax[0]->setChecked(header.strUseTax1);
        ckbxTax[1]->setChecked(header.strUseTax2);
        ckbxTax[2]->setChecked(header.strUseTax3);
        ckbxPaidInFull->setChecked(header.strPaidInFull);
        txtInvoiceNotes = loaded.document.strInvNotes;
        m_amountPaid = header.dbAmountPaid;
        m_deposit = header.dbDepAmount;
        if (!header.strInvDate.isEmpty()) {
            dateTimePickerInvoice->setDate(StrToDate(header.strInvDate));
            m_lastPickerDate = dateTimePickerInvoice->date();
        }
        recSavedData = loaded.savedData;
        ckbxRecurring->setChecked(header.strRecurring);
        m_lines->setLines(loaded.document.lines);
        m_buyer = loaded.document.buyer;
    }
}
