#pragma once
// The company screen's page "E-Invoice": whether invoices and credits carry
// their EN 16931 data, and the seller's VAT ID, tax number, country, currency
// and bank account that the data names. The company screen fills it, reads it
// back and saves it with everything else in its one transaction.
#include "company/unitEInvoiceSettings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

class TCompanyEInvoicePage : public QWidget {
    Q_OBJECT
public:
    explicit TCompanyEInvoicePage(QWidget* parent = nullptr);

    // Fills the controls and their hints; an empty currency shows the regional one.
    void pShowSettings(const TrecEInvoiceSettings& settings);
    TrecEInvoiceSettings pSettingsOnScreen() const;
    // The first box whose value cannot be saved (a VAT ID without its country
    // code, an IBAN whose check digits do not match, ...) with the message that
    // says why; nullptr when every value is fit.
    QWidget* pFirstUnfitBox(QString& message) const;

signals:
    // Any control changed.
    void changed();

private:
    QCheckBox* ckbxEInvoice = nullptr;
    QLineEdit* txtSellerVatId = nullptr;
    QLineEdit* txtSellerTaxNumber = nullptr;
    QComboBox* cmbSellerCountry = nullptr;
    QLineEdit* txtCurrencyCode = nullptr;
    QLineEdit* txtIban = nullptr;
    QLineEdit* txtBic = nullptr;
};
