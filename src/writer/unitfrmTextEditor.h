#pragma once
// The contract and warranty writer: edits the title and text of the contract
// (intContractWarrantyMode 1) or the warranty (0), saves them and prints the
// stored version through the print module.
#include "db/unitRecordVersion.h"

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolBar;

class TfrmTextEditor : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTextEditor(QWidget* parent = nullptr);
    ~TfrmTextEditor() override;

    // The save question runs on every way of closing.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pShowFormInformation();
    void pOpenContractWarranty();
    void pEnableSavebtn();
    void pSaveContract();
    void pPrint(bool preview);
    void pSetActionShown(QAction* action, bool shown);
    bool pModified() const;
    // The Yes/No/Cancel question before unsaved changes are left; false on
    // Cancel or when the save failed (the error has been shown).
    bool pLeaveAllowed();

    // The title and text as read when the writer opened them: the save is
    // refused when another seat changed them since.
    TRecordVersion m_opened;
    const int m_mode;          // intContractWarrantyMode when the writer was opened
    const QString m_modeName;  // "Contract" or "Warranty"
    bool m_shown = false;
    bool m_readFailed = false;   // the stored text could not be read: it is never saved over

    QToolBar* m_toolBar = nullptr;
    QAction* m_actClose = nullptr;
    QAction* m_actSave = nullptr;
    QAction* m_actPrintPreview = nullptr;
    QAction* m_actPrint = nullptr;
    QAction* m_actHelp = nullptr;
    QLabel* lblContractWarrantyName = nullptr;
    QLineEdit* txtContractWarrantyName = nullptr;
    QPlainTextEdit* txtTextEditor = nullptr;
};
