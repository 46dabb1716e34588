#pragma once
// Manual forms: numbered blank documents of any type, printed to be filled in
// by hand at the customer's site. Each printed form takes the next document
// number and is recorded as a stored document, so numbering stays continuous.
#include "maintenance/unitManualForms.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

class TfrmManualInvoice : public QDialog {
    Q_OBJECT

public:
    // Opening the screen switches the document filler to its manual layout
    // (blManualInvoice) and makes every form a new document.
    explicit TfrmManualInvoice(QWidget* parent = nullptr);
    // The manual layout ends with the screen, so no later print (a recurring
    // run, a stored document) comes out as a blank form.
    ~TfrmManualInvoice() override;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void pShowFormInformation();
    void cmbInvoiceTypeChange();
    void btnPrintClick();
    void btnCancelClick();
    void pPrintCopy(const TManualFormTexts& texts);

    QComboBox* cmbInvoiceType = nullptr;
    QLabel* lblNumOfInvToPrint = nullptr;
    QSpinBox* SpinEditNumOfManualInvToPrint = nullptr;
    QComboBox* cmbPaymentTerms = nullptr;
    QComboBox* cmbFootNotes = nullptr;
    QCheckBox* ckbxAddSignatureLine = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnCancel = nullptr;

    bool m_stop = false;
    bool m_shown = false;
};
