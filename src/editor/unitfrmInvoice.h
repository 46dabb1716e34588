#pragma once
// The document editor: one estimate, work order, change order, invoice, credit
// or past-due notice is made or changed here. Every change of a control ends in
// one refresh (pChangeData) that recomputes captions, enable rules and totals;
// the Save button is the only marker of unsaved changes.
//
// The opener sets intCurrentInvNumber and blInvoiceEditExisting before the
// editor is created; the editor opens itself in its constructor (window state,
// captions, reset, and the stored document when one is opened).
#include "documents/unitDocumentModel.h"

#include <QDate>
#include <QDialog>
#include <QString>
#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QToolBar;
class TInvoiceEditorSection;
class TInvoiceLinesModel;
struct TrecCustomerPick;

class TfrmInvoice : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInvoice(QWidget* parent = nullptr);
    ~TfrmInvoice() override;

    // Type name and number: "Invoice 1001".
    QString displayName() const;
    QString selectedTypeName() const;

    // The customer screen's "Use This Customer": fills the customer block, the
    // terms and the tax-exempt mark, then refreshes.
    void pApplyCustomerPick(const TrecCustomerPick& pick);

    // The refresh run after every change.
    void pChangeData();
    void pCheckPaymentTerms();

    // The open document's amounts, as the payment dialog and the save use them.
    const TInvTotals& totals() const { return m_totals; }
    double amountPaid() const { return m_amountPaid; }
    double deposit() const { return m_deposit; }

protected:
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- building
    void createActions();
    void createMenu(QMenuBar* menu);
    QWidget* createSections();
    QWidget* createDocumentArea();
    void connectHandlers();

    // ---- opening, closing
    void FormShow();
    bool FormCloseQuery();
    void FormClose();

    // ---- the screen's own steps
    void pShowFormInformation();
    void pResetFormData();
    void pLoadInvNames();
    void pLoadPaymentTerms();
    void pSetInvoiceType(int tag);
    void pSetFootNotes(int tag);
    void pSetPaymentTerms(int menuSlot);
    void pSetDate();
    void pSetPaidInFullAndRecurring();
    void pAddInvoiceTotals();
    void pResizeListBox();
    void pEnableSavebtn(bool enabled);
    void pOpenCatagory(TInvoiceEditorSection* section);
    void pMirrorCheck(QCheckBox* box, QAction* action);
    void pUpdateFootNoteMarks();
    // Marks "Add Customer" and "Add Price Item" and shows their tick images.
    void pShowRequiredTicks();

    // ---- actions
    void pAddCustomer();
    void pAddPriceItem();
    void lstInvoiceClick();
    void pPaidAndDeposit();
    void pAddNotes();
    void pSaveData();
    // On a server seat a new document is saved (after the usual question)
    // before it is printed or e-mailed, so no paper carries a number that
    // another seat's document gets. False when it was not saved.
    bool pSaveNewBeforeOutput();
    void pDeleteData();
    void pPreSetPrintData();
    // Print, Print Preview and Email of the open document, from the texts on screen.
    void pPrintData();
    void pPrintPreviewData();
    void pEmailData();
    // "Save PDF…": the PDF the e-mail attaches, to a file the user chooses.
    void pSavePdfData();
    // "Save E-Invoice XML…": the e-invoice alone, for portals that take XML only.
    void pSaveEInvoiceXml();
    // Writes the document's PDF (with its e-invoice when the company asks for one
    // and the document can carry it; otherwise says why not) to path.
    void pWriteDocumentPdf(const QString& path);
    // The document as it stands on screen, as the store and the e-invoice take it.
    TInvDocument pDocumentOnScreen() const;
    void pShowSavedInvoiceData();
    // Fills the controls from the stored document; throws when it cannot be read.
    void pFillFromStoredDocument();

    // Refreshes unless the editor is filling its own controls.
    void refreshAfterChange();

    // ---- state besides the controls
    TInvTotals m_totals;
    double m_amountPaid = 0;
    double m_deposit = 0;
    QString strStoredInvName;        // type name the document is stored under; empty when new
    QString strCurrentCustPmtTerms;  // the customer's own payment terms; empty: none
    TInvBuyerTaxData m_buyer;        // the picked customer's country and VAT ID (e-invoices)
    QDate m_lastPickerDate;
    int m_quiet = 0;                 // > 0 while the editor fills its own controls
    bool m_closeConfirmed = false;   // set when the editor closes without the save question
    bool m_loadFailed = false;       // the stored document could not be read: it is never saved over

    TInvoiceLinesModel* m_lines;

    // ---- tool bar and menu (menu entries share the tool bar's actions)
    QToolBar* tlbarInvoice;
    QAction* actClose;
    QAction* actSave;
    QAction* actPrintPreview;
    QAction* actPrint;
    QAction* actDelete;
    QAction* actEmail;
    QAction* actHelp;
    QAction* submnuSavePdf;          // File menu only
    QAction* submnuSaveEInvoiceXml;  // File menu only
    QMenuBar* frmInvoiceMenu;
    QMenu* submnuInvoiceType;
    std::array<QAction*, 6> submnuInvType{};
    QAction* submnuAddCustomer;
    QAction* submnuAddPriceItem;
    QAction* submnuChangeDate;
    QAction* submnuAddNotes;
    QAction* submnuAddSignatureLine;
    QAction* submnuPrintContract;
    QAction* submnuPrintWarranty;
    QMenu* submnuFootNotes;
    std::array<QAction*, 4> submnuFootNote{};   // index 0 "N&o Foot Notes", 1..3 foot notes
    QAction* submnuSetAsRecurring;
    QAction* submnuTaxExempt;
    QAction* submnuTaxExemptionNumber;
    QAction* submnuPONumber;
    QMenu* submnuPaymentTerms;
    std::array<QAction*, 12> submnuPmtTerm{};
    QAction* submnuPaidDeposit;
    QAction* submnuPaidInFull;
    QMenu* submnuTax;
    std::array<QAction*, 3> submnuTaxOption{};
    QAction* submnuHelp;

    // ---- sections
    QWidget* catpnlGroupInvoice;
    TInvoiceEditorSection* catpnlRequired;
    TInvoiceEditorSection* catpnlInvoice;
    TInvoiceEditorSection* catpnlCustomer;
    TInvoiceEditorSection* catpnlTax;
    QComboBox* cmbInvoiceType;
    QPushButton* btnAddCustomer;
    QPushButton* btnAddPriceItem;
    QLabel* ImageInvType;
    QLabel* ImageAddCustomer;
    QLabel* ImageAddPrcItem;
    QDateEdit* dateTimePickerInvoice;
    QPushButton* btnAddNotes;
    QCheckBox* ckbxAddSignatureLine;
    QCheckBox* ckbxPrintContract;
    QCheckBox* ckbxPrintWarranty;
    QComboBox* cmbFootNotes;
    QCheckBox* ckbxRecurring;
    QCheckBox* ckbxCustTaxExempt;
    QLineEdit* txtcustTaxExemptNumber;
    QLineEdit* txtCustPO;
    QComboBox* cmbPaymentTerms;
    QPushButton* btnPaidAndDeposit;
    QCheckBox* ckbxPaidInFull;
    std::array<QCheckBox*, 3> ckbxTax{};

    // ---- document area
    QLabel* lblNumberNote;           // above the page: the number a save took instead of the one shown
    QLabel* lblInvNameNumber;
    QLabel* lblInvDate;
    QLabel* lblInvInformation;
    QLabel* lblCustPmtTerms;
    QLabel* lblCustCompany;
    QLabel* lblCustName;
    QLabel* lblCustAddress;
    QLabel* lblCustCityStZip;
    QLabel* lblPhoneFax;
    QLabel* lblCustEmail;
    QTableView* lstInvoice;
    QPlainTextEdit* txtInvoiceFootNotes;
    QLabel* lblPaidAndDeposit;
    QLineEdit* txtPaidAndDeposit;
    QLineEdit* txtInvoiceSubTotal;
    QLineEdit* txtInvoiceTaxTotal;
    QLabel* lblTotal;
    QLineEdit* txtInvoiceTotal;
};
