#include "company/unitfrmCompanyEInvoicePage.h"

#include "app/unitLimitedEdit.h"
#include "app/unitScreenParts.h"
#include "company/unitCountryChoice.h"
#include "company/unitEInvoiceRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TCompanyEInvoicePage::TCompanyEInvoicePage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tbshtEInvoice"));
    ckbxEInvoice = new QCheckBox(QStringLiteral("Attach e-invoice data (EN 16931) to invoices and credits"), this);
    ckbxEInvoice->setObjectName(QStringLiteral("ckbxEInvoice"));

    auto* seller = new QGroupBox(QStringLiteral("Seller"), this);
    seller->setObjectName(QStringLiteral("gbxEInvoiceSeller"));
    txtSellerVatId = NewLimitedEdit(seller, QStringLiteral("txtSellerVatId"), 20);
    txtSellerTaxNumber = NewLimitedEdit(seller, QStringLiteral("txtSellerTaxNumber"), 25);
    cmbSellerCountry = NewCountryChoice(seller, QStringLiteral("cmbSellerCountry"));
    txtCurrencyCode = NewLimitedEdit(seller, QStringLiteral("txtCurrencyCode"), 3);
    txtCurrencyCode->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z]{0,3}")), txtCurrencyCode));
    txtCurrencyCode->setMaximumWidth(txtCurrencyCode->fontMetrics().horizontalAdvance(QStringLiteral("WWWW")) + 16);
    auto* sellerForm = new QFormLayout(seller);
    sellerForm->addRow(MakeCaption(QStringLiteral("VAT ID"), txtSellerVatId, seller), txtSellerVatId);
    sellerForm->addRow(MakeCaption(QStringLiteral("Tax Number"), txtSellerTaxNumber, seller), txtSellerTaxNumber);
    sellerForm->addRow(MakeCaption(QStringLiteral("Country"), cmbSellerCountry, seller), cmbSellerCountry);
    sellerForm->addRow(MakeCaption(QStringLiteral("Currency Code"), txtCurrencyCode, seller), txtCurrencyCode);

    auto* bank = new QGroupBox(QStringLiteral("Bank Account"), this);
    bank->setObjectName(QStringLiteral("gbxEInvoiceBank"));
    txtIban = NewLimitedEdit(bank, QStringLiteral("txtIban"), 42);
    txtBic = NewLimitedEdit(bank, QStringLiteral("txtBic"), 14);
    auto* bankForm = new QFormLayout(bank);
    bankForm->addRow(MakeCaption(QStringLiteral("IBAN"), txtIban, bank), txtIban);
    bankForm->addRow(MakeCaption(QStringLiteral("BIC"), txtBic, bank), txtBic);

    auto* about = NewPlainLabel(this, QStringLiteral(
        "With the box ticked, the PDF of every Invoice and Credit (the e-mail attachment and Save PDF) is a "
        "PDF/A-3 that also carries the document as EN 16931 data (Factur-X / ZUGFeRD), which the customer's "
        "accounting system reads. It names your VAT ID (or, without one, your Tax Number) and country, and the "
        "customer's country and VAT ID from Customer Maintenance."));
    about->setObjectName(QStringLiteral("lblEInvoiceInfo"));
    about->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ckbxEInvoice);
    layout->addWidget(seller);
    layout->addWidget(bank);
    layout->addWidget(about);
    layout->addStretch(1);

    const auto changedSignal = [this] { emit changed(); };
    connect(ckbxEInvoice, &QCheckBox::toggled, this, changedSignal);
    for (QLineEdit* edit : {txtSellerVatId, txtSellerTaxNumber, txtCurrencyCode, txtIban, txtBic})
        connect(edit, &QLineEdit::textChanged, this, changedSignal);
    connect(cmbSellerCountry, &QComboBox::currentIndexChanged, this, changedSignal);
}

void TCompanyEInvoicePage::pShowSettings(const TrecEInvoiceSettings& s)
{
    ckbxEInvoice->setToolTip(QStringLiteral("Check to attach e-invoice data to the PDF of every Invoice and Credit"));
    txtSellerVatId->setToolTip(QStringLiteral("Enter your VAT ID, beginning with its country code"));
    txtSellerTaxNumber->setToolTip(QStringLiteral("Enter your Tax Number (named when you have no VAT ID)"));
    cmbSellerCountry->setToolTip(QStringLiteral("Select your Country"));
    txtCurrencyCode->setToolTip(QStringLiteral("Enter the currency of your documents, for example EUR"));
    txtIban->setToolTip(QStringLiteral("Enter the IBAN of the account your customers pay into"));
    txtBic->setToolTip(QStringLiteral("Enter the BIC of your bank"));

    ckbxEInvoice->setChecked(s.blEInvoice);
    ShowStoredText(txtSellerVatId, s.strSellerVatId);
    ShowStoredText(txtSellerTaxNumber, s.strSellerTaxNumber);
    ShowCountryCode(cmbSellerCountry, s.strSellerCountry);
    ShowStoredText(txtCurrencyCode, EInvoiceCurrencyCode(s));
    ShowStoredText(txtIban, s.strIban);
    ShowStoredText(txtBic, s.strBic);
}

TrecEInvoiceSettings TCompanyEInvoicePage::pSettingsOnScreen() const
{
    TrecEInvoiceSettings s;
    s.blEInvoice = ckbxEInvoice->isChecked();
    s.strSellerVatId = txtSellerVatId->text();
    s.strSellerTaxNumber = txtSellerTaxNumber->text();
    s.strSellerCountry = ChosenCountryCode(cmbSellerCountry);
    s.strCurrencyCode = CompactIdentifier(txtCurrencyCode->text());
    s.strIban = txtIban->text();
    s.strBic = txtBic->text();
    return s;
}

QWidget* TCompanyEInvoicePage::pFirstUnfitBox(QString& message) const
{
    const std::pair<QLineEdit*, QString> checks[] = {
        {txtSellerVatId, VatIdProblem(txtSellerVatId->text())},
        {txtCurrencyCode, CurrencyCodeProblem(txtCurrencyCode->text())},
        {txtIban, IbanProblem(txtIban->text())},
        {txtBic, BicProblem(txtBic->text())},
    };
    for (const auto& [box, problem] : checks) {
        if (problem.isEmpty()) continue;
        message = problem;
        return box;
    }
    return nullptr;
}
