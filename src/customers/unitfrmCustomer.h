#pragma once
// The customer screen: lists and searches the customers, adds, edits and
// deletes them. In pick mode "Use This Customer" hands the customer on screen
// to the document editor (see pickedCustomer) and closes the screen.
#include "customers/unitCustomerPick.h"
#include "customers/unitCustomerStore.h"

#include <QDialog>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableView;
class QToolBar;
class TCustomerListModel;
class TLimitedMemo;

enum class TCustomerScreenMode { Maintenance, Pick };

class TfrmCustomer : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCustomer(TCustomerScreenMode mode = TCustomerScreenMode::Maintenance, QWidget* parent = nullptr);
    ~TfrmCustomer() override;

    // The customer block of the last "Use This Customer", if the user chose one.
    const std::optional<TrecCustomerPick>& pickedCustomer() const { return m_picked; }

    // The closing rules (the save question) run on every way of closing.
    void done(int result) override;

private:
    void pShowFormInformation();
    void pReturnToList();
    void pClearEditArea();
    void pQueryCustomerList();
    void pLoadCustomer();
    void pNewCustomer();
    void pSaveCustomer();
    void pDeleteCustomer();
    void pCancelEdit();
    void pUseThisCustomer();
    void pEnableSavebtn();
    void pEnablePrintButton();
    // "Print" / "Print Preview" of the listed customers.
    void pPrintCustomerList(bool preview);
    // "Send this customer Email": the e-mail screen addressed to the customer on screen.
    void pSendCustomerEmail();
    void pSearchTypeChanged();
    void pPaymentTermChosen(int index);
    bool pSaveEnabled() const;
    // The Yes/No/Cancel question before unsaved changes are left; false on Cancel
    // or when the save failed (the error has been shown).
    bool pLeaveEditAllowed();

    TCustomer pCustomerOnScreen() const;
    void pPutCustomerOnScreen(const TCustomer& customer);
    void pSetActionShown(QAction* action, bool shown);

    const bool m_pickMode;
    // The customer being edited as read when it was opened (empty for a new one):
    // the save is refused when another seat changed it since.
    TRecordVersion m_opened;
    std::optional<TrecCustomerPick> m_picked;

    QToolBar* m_toolBar = nullptr;
    QAction* m_actClose = nullptr;
    // "Print Preview" and "Print" stand between "Close" and "New Customer" and
    // follow pEnablePrintButton.
    QAction* m_actPrintPreview = nullptr;
    QAction* m_actPrint = nullptr;
    QAction* m_actNew = nullptr;
    QAction* m_actCancel = nullptr;
    QAction* m_actSave = nullptr;
    QAction* m_actDelete = nullptr;
    QAction* m_actHelp = nullptr;

    QStackedWidget* m_pages = nullptr;
    QWidget* tbsheetListArea = nullptr;
    QWidget* tbsheetEditArea = nullptr;

    QComboBox* cmboCustSearch = nullptr;
    QLineEdit* txtCustSearch = nullptr;
    QTableView* lstvCustomers = nullptr;
    TCustomerListModel* m_listModel = nullptr;

    QGroupBox* gbxCustomer = nullptr;
    QLineEdit* txtCustId = nullptr;
    QLineEdit* txtCustCmpnyName = nullptr;
    QLineEdit* txtCustFrstName = nullptr;
    QLineEdit* txtCustLstName = nullptr;
    QLineEdit* txtCustAddress = nullptr;
    QLineEdit* txtCustCity = nullptr;
    QLineEdit* txtCustState = nullptr;
    QLineEdit* txtCustZipCode = nullptr;
    QLineEdit* txtCustPhoneAreaCode = nullptr;
    QLineEdit* txtCustPhone = nullptr;
    QLineEdit* txtCustPhoneExt = nullptr;
    QLineEdit* txtCustFaxAreaCode = nullptr;
    QLineEdit* txtCustFax = nullptr;
    QLineEdit* txtCustEmail = nullptr;
    // "Send this customer Email" sits under the e-mail address; pEnableSavebtn
    // enables it when an address is given.
    QLabel* lblSendCustEmail = nullptr;
    QCheckBox* ckbxTaxExempt = nullptr;
    QLineEdit* txtCustTaxExemptNumber = nullptr;
    QLineEdit* txtCustPaymentTerms = nullptr;
    QComboBox* cmbPaymentTerms = nullptr;
    // The country and VAT ID an e-invoice names (kept in tblCustEInvoice).
    QComboBox* cmbCustCountry = nullptr;
    QLineEdit* txtCustVatId = nullptr;
    TLimitedMemo* txtCustNotes = nullptr;
    QPushButton* btnUseThisCust = nullptr;
};
