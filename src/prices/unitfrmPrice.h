#pragma once
// The price sheet: lists and searches the price items, adds, edits and
// deletes them. In pick mode "Add To Invoice" fills recPrices with the item on
// screen and its quantity, for the document editor, and closes the screen.
#include "db/unitRecordVersion.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolBar;
class TPriceListModel;

enum class TPriceScreenMode { Maintenance, Pick };

class TfrmPrice : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrice(TPriceScreenMode mode = TPriceScreenMode::Maintenance, QWidget* parent = nullptr);
    ~TfrmPrice() override;

    // The closing rules (the save question) run on every way of closing.
    void done(int result) override;

private:
    void pShowFormInformation();
    void pClearEditArea();
    void pQueryPriceList();
    void pSearchTypeChanged();
    void pLoadPriceItem();
    void pNewPriceItem();
    void pSavePriceItem();
    void pWritePriceItem();
    void pDeletePriceItem();
    void pCancelEdit();
    void pAddToInvoice();
    void pEnableSaveButton();
    void pEnableAddToInvoice();
    void pEnablePrintButton();
    // "Print" / "Print Preview" of the listed price items.
    void pPrintPriceSheet(bool preview);
    void pSetEditing(bool editing);
    void pSetActionShown(QAction* action, bool shown);
    bool pSaveEnabled() const;
    // The Yes/No/Cancel question before unsaved changes are left; false on Cancel
    // or when the save failed (the error has been shown).
    bool pLeaveEditAllowed();

    const bool m_pickMode;

    QToolBar* m_toolBar = nullptr;
    QAction* m_actClose = nullptr;
    // "Print Preview" and "Print" stand between "Close" and "Cancel" and follow
    // pEnablePrintButton.
    QAction* m_actPrintPreview = nullptr;
    QAction* m_actPrint = nullptr;
    QAction* m_actCancel = nullptr;
    QAction* m_actNew = nullptr;
    QAction* m_actSave = nullptr;
    QAction* m_actDelete = nullptr;
    QAction* m_actHelp = nullptr;

    QComboBox* cmbSearchPrcItm = nullptr;
    QLineEdit* txtSearchPrcItm = nullptr;
    QTableView* lstPrice = nullptr;
    TPriceListModel* m_listModel = nullptr;
    // The item being edited as read when it was opened (empty for a new one):
    // the save is refused when another seat changed it since.
    TRecordVersion m_opened;

    QGroupBox* gbxEditArea = nullptr;
    QLabel* lblPriceItmID = nullptr;
    QLineEdit* txtPriceItmDiscription = nullptr;
    QLineEdit* txtLaborPrice = nullptr;
    QLineEdit* txtMatPrice = nullptr;
    QCheckBox* ckbxLaborTaxable = nullptr;
    QCheckBox* ckbxMatTaxable = nullptr;
    QLabel* lblQuantity = nullptr;
    QLineEdit* txtQuantity = nullptr;
    QPushButton* btnAddPriceItnToInvoice = nullptr;
};
