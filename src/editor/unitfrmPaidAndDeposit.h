#pragma once
// The payment/deposit dialog of the document editor: the deposit asked on an
// estimate, work order or change order, or the amount already paid on an
// invoice, credit or past-due notice, and the paid-in-full mark.
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the dialog starts with and, after "OK", what the editor takes back.
struct TPaidAndDepositValues {
    QString typeName;
    double deposit = 0;
    double amountPaid = 0;
    double documentTotal = 0;
    bool paidInFull = false;
    bool paidInFullEnabled = false;
};

class TfrmPaidAndDeposit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPaidAndDeposit(const TPaidAndDepositValues& values, QWidget* parent = nullptr);

    // The values as the dialog leaves them; only changed by "OK".
    const TPaidAndDepositValues& values() const { return m_values; }

private:
    void btnOKClick();

    TPaidAndDepositValues m_values;
    bool m_depositKind;

    QLabel* lblPaidAndDeposit;
    QLineEdit* txtPaidAndDeposit;
    QLabel* lblRecDepositAmount;
    QLineEdit* txtRecDepositAmount;
    QLabel* lblInvTotal;
    QLineEdit* txtInvTotal;
    QCheckBox* ckbxPaidInFull;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};
