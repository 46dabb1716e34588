#pragma once
// The line item dialog of the document editor: edits the description, prices,
// quantity and taxable marks of one line, or removes the line.
#include "documents/unitDocumentModel.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// How the dialog ended: cancelled (line unchanged), "OK" (line edited) or "Remove".
enum class TLineEditOutcome : int { Unchanged, Edited, Removed };

class TfrmInvoicePriceItemEdit : public QDialog {
    Q_OBJECT
public:

    // line: the line as it stands in the editor; displayName: the editor's
    // document ("Invoice 1001"), named in the remove question.
    TfrmInvoicePriceItemEdit(const TInvLine& line, const QString& displayName, QWidget* parent = nullptr);

    TLineEditOutcome outcome() const { return m_outcome; }
    // The line as "OK" left it (unchanged otherwise).
    const TInvLine& line() const { return m_line; }

private:
    void btnOKClick();
    void btnRemovePriceItemClick();
    // False, after telling the user, when the quantity or a price cannot be a number.
    bool checkNumbers();

    TInvLine m_line;
    QString m_displayName;
    TLineEditOutcome m_outcome = TLineEditOutcome::Unchanged;

    QGroupBox* gbxEditArea;
    QLineEdit* txtPriceItmDiscription;
    QLineEdit* txtLaborPrice;
    QLineEdit* txtMatPrice;
    QLineEdit* txtQuantity;
    QCheckBox* ckbxLaborTaxable;
    QCheckBox* ckbxMatTaxable;
    QPushButton* btnRemovePriceItem;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};
