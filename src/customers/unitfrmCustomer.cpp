#include "customers/unitfrmCustomer.h"

#include "app/unitAppInfo.h"
#include "app/unitDispatch.h"
#include "app/unitDialogs.h"
#include "app/unitErrorHandler.h"
#include "app/unitLimitedEdit.h"
#include "app/unitScreenParts.h"
#include "app/unitfrmSaving.h"
#include "company/unitCountryChoice.h"
#include "customers/unitCustomerListModel.h"
#include "customers/unitCustomerRules.h"
#include "customers/unitCustomerSearch.h"
#include "customers/unitLimitedMemo.h"
#include "db/unitStoredValues.h"
#include "email/unitEmailData.h"
#include "printing/unitModPrintData.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>


namespace {

constexpr int kNotesLimit = 250;
constexpr int kVatIdLimit = 20;

QLineEdit* MakeEdit(QWidget* parent, const char* name, int maxLength)
{
    return NewLimitedEdit(parent, QLatin1String(name), maxLength);
}

// A box that takes up to `digits` digits and nothing else.
QLineEdit* MakeDigitsEdit(QWidget* parent, const char* name, int digits)
{
    QLineEdit* edit = MakeEdit(parent, name, digits);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), edit));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QString(digits + 2, QLatin1Char('0'))) + 12);
    return edit;
}

// A seven-digit number typed as 999-9999; the dash is shown, never stored.
QLineEdit* MakePhoneEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setInputMask(QStringLiteral("999-9999;_"));
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000-00000")) + 16);
    return edit;
}

// The e-mail link: blue while it can be clicked, grey while there is no address.
// (A link keeps the colour it was given, so the text is set anew with its state.)
void SetLinkEnabled(QLabel* link, bool enabled)
{
    const QString colour = enabled ? QStringLiteral("#0000ff")
                                   : link->palette().color(QPalette::Disabled, QPalette::WindowText).name();
    link->setText(QStringLiteral("<a href=\"email\" style=\"color:%1;\">Send this customer Email</a>").arg(colour));
    link->setEnabled(enabled);
}

} // namespace

TfrmCustomer::TfrmCustomer(TCustomerScreenMode mode, QWidget* parent)
    : QDialog(parent), m_pickMode(mode == TCustomerScreenMode::Pick)
{
    setObjectName(QStringLiteral("frmCustomer"));
    auto* mainLayout = new QVBoxLayout(this);

    // Tool bar, in its order; each action is also reachable by the name of its button.
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_actClose = NewToolBarAction(m_toolBar, "tlbtnClose", QStringLiteral("Close"));
    m_actPrintPreview = NewToolBarAction(m_toolBar, "tlbtnPrintPreview", QStringLiteral("Print Preview"));
    m_actPrint = NewToolBarAction(m_toolBar, "tlbtnPrint", QStringLiteral("Print"));
    m_actNew = NewToolBarAction(m_toolBar, "tlbtnNewCustomer", QStringLiteral("New Customer"));
    m_actCancel = NewToolBarAction(m_toolBar, "tlbtnRtnToCustList", QStringLiteral("Cancel"));
    m_actSave = NewToolBarAction(m_toolBar, "tlbtnSave", QStringLiteral("Save"));
    m_actDelete = NewToolBarAction(m_toolBar, "tlbtnDelete", QStringLiteral("Delete"));
    m_actHelp = NewToolBarAction(m_toolBar, "tlbtnHelp", QStringLiteral("Help"));
    mainLayout->addWidget(m_toolBar);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("pgctrlCustomer"));
    mainLayout->addWidget(m_pages, 1);

    // List page: search type, search text, the list.
    tbsheetListArea = new QWidget(m_pages);
    tbsheetListArea->setObjectName(QStringLiteral("tbsheetListArea"));
    cmboCustSearch = new QComboBox(tbsheetListArea);
    cmboCustSearch->setObjectName(QStringLiteral("cmboCustSearch"));
    cmboCustSearch->addItems(CustomerSearchTypeNames());
    txtCustSearch = new QLineEdit(tbsheetListArea);
    txtCustSearch->setObjectName(QStringLiteral("txtCustSearch"));
    lstvCustomers = new QTableView(tbsheetListArea);
    lstvCustomers->setObjectName(QStringLiteral("lstvCustomers"));
    m_listModel = new TCustomerListModel(this);
    lstvCustomers->setModel(m_listModel);
    SetUpRowList(lstvCustomers);
    lstvCustomers->horizontalHeader()->setStretchLastSection(true);
    lstvCustomers->setColumnHidden(TCustomerListModel::colCustId, true);
    lstvCustomers->setColumnWidth(TCustomerListModel::colCompany, 180);
    lstvCustomers->setColumnWidth(TCustomerListModel::colName, 150);
    lstvCustomers->setColumnWidth(TCustomerListModel::colAddress, 170);
    lstvCustomers->setColumnWidth(TCustomerListModel::colCityStateZip, 190);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(MakeCaption(QStringLiteral("Search for Customer by:"), cmboCustSearch, tbsheetListArea));
    searchRow->addWidget(cmboCustSearch);
    searchRow->addWidget(txtCustSearch, 1);
    auto* listLayout = new QVBoxLayout(tbsheetListArea);
    listLayout->addLayout(searchRow);
    listLayout->addWidget(lstvCustomers, 1);
    m_pages->addWidget(tbsheetListArea);

    // Edit page: one group box whose caption names what is being done.
    tbsheetEditArea = new QWidget(m_pages);
    tbsheetEditArea->setObjectName(QStringLiteral("tbsheetEditArea"));
    gbxCustomer = new QGroupBox(tbsheetEditArea);
    gbxCustomer->setObjectName(QStringLiteral("gbxCustomer"));

    txtCustId = MakeEdit(gbxCustomer, "txtCustId", 32767);
    txtCustId->setReadOnly(true);
    txtCustId->setMaximumWidth(txtCustId->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 16);
    {
        // Drawn on the window colour, so it does not look like a box to type in.
        QPalette palette = txtCustId->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        txtCustId->setPalette(palette);
    }
    txtCustCmpnyName = MakeEdit(gbxCustomer, "txtCustCmpnyName", 35);
    txtCustFrstName = MakeEdit(gbxCustomer, "txtCustFrstName", 20);
    txtCustLstName = MakeEdit(gbxCustomer, "txtCustLstName", 20);
    txtCustAddress = MakeEdit(gbxCustomer, "txtCustAddress", 40);
    txtCustCity = MakeEdit(gbxCustomer, "txtCustCity", 25);
    txtCustState = MakeEdit(gbxCustomer, "txtCustState", 25);
    txtCustZipCode = MakeEdit(gbxCustomer, "txtCustZipCode", 16);
    cmbCustCountry = NewCountryChoice(gbxCustomer, QStringLiteral("cmbCustCountry"));
    txtCustVatId = MakeEdit(gbxCustomer, "txtCustVatId", kVatIdLimit);
    txtCustPhoneAreaCode = MakeDigitsEdit(gbxCustomer, "txtCustPhoneAreaCode", 3);
    txtCustPhone = MakePhoneEdit(gbxCustomer, "txtCustPhone");
    txtCustPhoneExt = MakeDigitsEdit(gbxCustomer, "txtCustPhoneExt", 5);
    txtCustFaxAreaCode = MakeDigitsEdit(gbxCustomer, "txtCustFaxAreaCode", 3);
    txtCustFax = MakePhoneEdit(gbxCustomer, "txtCustFax");
    txtCustEmail = MakeEdit(gbxCustomer, "txtCustEmail", 40);
    // A link: blue, bold and underlined, with the hand cursor over it; reachable by Tab.
    lblSendCustEmail = new QLabel(gbxCustomer);
    lblSendCustEmail->setObjectName(QStringLiteral("lblSendCustEmail"));
    lblSendCustEmail->setTextFormat(Qt::RichText);
    {
        QFont bold = lblSendCustEmail->font();
        bold.setBold(true);
        lblSendCustEmail->setFont(bold);
    }
    lblSendCustEmail->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblSendCustEmail->setCursor(Qt::PointingHandCursor);
    SetLinkEnabled(lblSendCustEmail, false);
    ckbxTaxExempt = new QCheckBox(QStringLiteral("Tax Exempt"), gbxCustomer);
    ckbxTaxExempt->setObjectName(QStringLiteral("ckbxTaxExempt"));
    txtCustTaxExemptNumber = MakeEdit(gbxCustomer, "txtCustTaxExemptNumber", 20);
    txtCustPaymentTerms = MakeEdit(gbxCustomer, "txtCustPaymentTerms", 25);
    cmbPaymentTerms = new QComboBox(gbxCustomer);
    cmbPaymentTerms->setObjectName(QStringLiteral("cmbPaymentTerms"));
    txtCustNotes = new TLimitedMemo(kNotesLimit, gbxCustomer);
    txtCustNotes->setObjectName(QStringLiteral("txtCustNotes"));
    txtCustNotes->setTabChangesFocus(true);
    btnUseThisCust = new QPushButton(QStringLiteral("Use This Customer"), tbsheetEditArea);
    btnUseThisCust->setObjectName(QStringLiteral("btnUseThisCust"));
    btnUseThisCust->setVisible(m_pickMode);
    btnUseThisCust->setAutoDefault(false);   // Enter in a field must not hand the customer over

    auto* form = new QFormLayout(gbxCustomer);
    form->addRow(MakeCaption(QStringLiteral("Customer Id Number"), txtCustId, gbxCustomer), txtCustId);
    form->addRow(MakeCaption(QStringLiteral("Company Name"), txtCustCmpnyName, gbxCustomer), txtCustCmpnyName);
    form->addRow(MakeCaption(QStringLiteral("First Name"), txtCustFrstName, gbxCustomer), txtCustFrstName);
    form->addRow(MakeCaption(QStringLiteral("Last Name"), txtCustLstName, gbxCustomer), txtCustLstName);
    form->addRow(MakeCaption(QStringLiteral("Address"), txtCustAddress, gbxCustomer), txtCustAddress);
    form->addRow(MakeCaption(QStringLiteral("City"), txtCustCity, gbxCustomer), txtCustCity);
    auto* stateRow = new QHBoxLayout;
    stateRow->addWidget(txtCustState, 2);
    stateRow->addWidget(MakeCaption(QStringLiteral("Zip Code"), txtCustZipCode, gbxCustomer));
    stateRow->addWidget(txtCustZipCode, 1);
    form->addRow(MakeCaption(QStringLiteral("State"), txtCustState, gbxCustomer), stateRow);
    auto* countryRow = new QHBoxLayout;
    countryRow->addWidget(cmbCustCountry, 2);
    countryRow->addWidget(MakeCaption(QStringLiteral("VAT ID"), txtCustVatId, gbxCustomer));
    countryRow->addWidget(txtCustVatId, 1);
    form->addRow(MakeCaption(QStringLiteral("Country"), cmbCustCountry, gbxCustomer), countryRow);
    auto* phoneRow = new QHBoxLayout;
    phoneRow->addWidget(MakeCaption(QStringLiteral("Area"), txtCustPhoneAreaCode, gbxCustomer));
    phoneRow->addWidget(txtCustPhoneAreaCode);
    phoneRow->addWidget(MakeCaption(QStringLiteral("Phone Number"), txtCustPhone, gbxCustomer));
    phoneRow->addWidget(txtCustPhone);
    phoneRow->addWidget(MakeCaption(QStringLiteral("Ext."), txtCustPhoneExt, gbxCustomer));
    phoneRow->addWidget(txtCustPhoneExt);
    phoneRow->addStretch(1);
    form->addRow(QStringLiteral("Phone"), phoneRow);
    auto* faxRow = new QHBoxLayout;
    faxRow->addWidget(MakeCaption(QStringLiteral("Area"), txtCustFaxAreaCode, gbxCustomer));
    faxRow->addWidget(txtCustFaxAreaCode);
    faxRow->addWidget(MakeCaption(QStringLiteral("Fax Number"), txtCustFax, gbxCustomer));
    faxRow->addWidget(txtCustFax);
    faxRow->addStretch(1);
    form->addRow(QStringLiteral("Fax"), faxRow);
    form->addRow(MakeCaption(QStringLiteral("Email Address"), txtCustEmail, gbxCustomer), txtCustEmail);
    auto* sendRow = new QHBoxLayout;
    sendRow->addWidget(lblSendCustEmail);
    sendRow->addStretch(1);
    form->addRow(QString(), sendRow);
    auto* taxRow = new QHBoxLayout;
    taxRow->addWidget(ckbxTaxExempt);
    taxRow->addWidget(MakeCaption(QStringLiteral("Tax Exempt Number"), txtCustTaxExemptNumber, gbxCustomer));
    taxRow->addWidget(txtCustTaxExemptNumber, 1);
    form->addRow(QString(), taxRow);
    auto* termsRow = new QHBoxLayout;
    termsRow->addWidget(txtCustPaymentTerms, 1);
    termsRow->addWidget(cmbPaymentTerms, 1);
    form->addRow(MakeCaption(QStringLiteral("Payment Terms"), txtCustPaymentTerms, gbxCustomer), termsRow);
    form->addRow(MakeCaption(QStringLiteral("Notes"), txtCustNotes, gbxCustomer), txtCustNotes);

    auto* editLayout = new QVBoxLayout(tbsheetEditArea);
    editLayout->addWidget(gbxCustomer, 1);
    auto* useRow = new QHBoxLayout;
    useRow->addStretch(1);
    useRow->addWidget(btnUseThisCust);
    editLayout->addLayout(useRow);
    m_pages->addWidget(tbsheetEditArea);

    // Every change of an edit field, the memo or the tax-exempt box re-runs the enabling rules.
    for (QLineEdit* edit : {txtCustCmpnyName, txtCustFrstName, txtCustLstName, txtCustAddress, txtCustCity,
                            txtCustState, txtCustZipCode, txtCustPhoneAreaCode, txtCustPhone, txtCustPhoneExt,
                            txtCustFaxAreaCode, txtCustFax, txtCustEmail, txtCustTaxExemptNumber,
                            txtCustPaymentTerms, txtCustVatId})
        connect(edit, &QLineEdit::textChanged, this, [this] { RunGuarded([this] { pEnableSavebtn(); }); });
    connect(cmbCustCountry, &QComboBox::currentIndexChanged, this, [this] { RunGuarded([this] { pEnableSavebtn(); }); });
    connect(txtCustNotes, &QPlainTextEdit::textChanged, this, [this] { RunGuarded([this] { pEnableSavebtn(); }); });
    connect(ckbxTaxExempt, &QCheckBox::toggled, this, [this] { RunGuarded([this] { pEnableSavebtn(); }); });

    connect(cmboCustSearch, &QComboBox::currentIndexChanged, this,
            [this] { RunGuarded([this] { pSearchTypeChanged(); }); });
    connect(txtCustSearch, &QLineEdit::textChanged, this, [this] {
        RunGuarded([this] {
            if (cmboCustSearch->currentIndex() > 0) pQueryCustomerList();
        });
    });
    connect(lstvCustomers, &QTableView::clicked, this, [this] { RunGuarded([this] { pLoadCustomer(); }); });
    connect(lstvCustomers, &QTableView::activated, this, [this] { RunGuarded([this] { pLoadCustomer(); }); });
    connect(cmbPaymentTerms, &QComboBox::activated, this,
            [this](int index) { RunGuarded([this, index] { pPaymentTermChosen(index); }); });

    connect(m_actClose, &QAction::triggered, this, [this] { close(); });
    connect(m_actPrint, &QAction::triggered, this, [this] { RunGuarded([this] { pPrintCustomerList(false); }); });
    connect(m_actPrintPreview, &QAction::triggered, this,
            [this] { RunGuarded([this] { pPrintCustomerList(true); }); });
    connect(lblSendCustEmail, &QLabel::linkActivated, this,
            [this] { RunGuarded([this] { pSendCustomerEmail(); }); });
    connect(m_actNew, &QAction::triggered, this, [this] { RunGuarded([this] { pNewCustomer(); }); });
    connect(m_actCancel, &QAction::triggered, this, [this] { RunGuarded([this] { pCancelEdit(); }); });
    connect(m_actSave, &QAction::triggered, this, [this] { RunGuarded([this] { pSaveCustomer(); }); });
    connect(m_actDelete, &QAction::triggered, this, [this] { RunGuarded([this] { pDeleteCustomer(); }); });
    connect(m_actHelp, &QAction::triggered, this, [] { RunGuarded([] { OpenHelpFile(); }); });
    connect(btnUseThisCust, &QPushButton::clicked, this, [this] { RunGuarded([this] { pUseThisCustomer(); }); });

    resize(900, 600);

    // Start: back to the list (which fills it), then caption, hints and the terms picker.
    RunGuarded([this] { pReturnToList(); });
    RunGuarded([this] { pShowFormInformation(); });
}

TfrmCustomer::~TfrmCustomer() = default;

void TfrmCustomer::pShowFormInformation()
{
    setWindowTitle(QStringLiteral("Customer Maintenance"));
    txtCustId->setToolTip(QStringLiteral("Computer generated number \u2013 Cannot be changed"));
    txtCustFrstName->setToolTip(QStringLiteral("Enter Customer First Name"));
    txtCustLstName->setToolTip(QStringLiteral("Enter Customer Last Name"));
    txtCustCmpnyName->setToolTip(QStringLiteral("Enter Customers Company Name"));
    txtCustAddress->setToolTip(QStringLiteral("Enter Customer Address"));
    txtCustCity->setToolTip(QStringLiteral("Enter Customer City"));
    txtCustState->setToolTip(QStringLiteral("Enter Customer State"));
    txtCustZipCode->setToolTip(QStringLiteral("Enter Customer Zip Code"));
    txtCustPhone->setToolTip(QStringLiteral("Enter Customer Phone Number"));
    txtCustFax->setToolTip(QStringLiteral("Enter Customer Fax Number"));
    txtCustPhoneAreaCode->setToolTip(QStringLiteral("Enter Customer Phone Number Area Code"));
    txtCustPhoneExt->setToolTip(QStringLiteral("Enter Customer Phone Number Extension"));
    txtCustFaxAreaCode->setToolTip(QStringLiteral("Enter Customer Fax Number Area Code"));
    txtCustEmail->setToolTip(QStringLiteral("Enter Customer Email Address"));
    lblSendCustEmail->setToolTip(QStringLiteral("Click to send this customer Email"));
    txtCustTaxExemptNumber->setToolTip(QStringLiteral("Enter Customer Tax Exempt Number"));
    txtCustPaymentTerms->setToolTip(QStringLiteral("Enter Payment Terms for this Customer"));
    txtCustNotes->setToolTip(QStringLiteral("Enter Notes about this Customer"));
    txtCustSearch->setToolTip(QStringLiteral("Enter Customer information to search by"));
    cmboCustSearch->setToolTip(QStringLiteral("Search Customer list by"));
    lstvCustomers->setToolTip(QStringLiteral("Select Customer to edit"));
    cmbPaymentTerms->setToolTip(QStringLiteral("Select Payment Terms for this Customer"));
    ckbxTaxExempt->setToolTip(QStringLiteral("Check if Customer is Tax Exempt"));
    cmbCustCountry->setToolTip(QStringLiteral("Select the Customer's Country (named on e-invoices)"));
    txtCustVatId->setToolTip(QStringLiteral("Enter the Customer's VAT ID, beginning with its country code"));
    m_actDelete->setToolTip(QStringLiteral("Delete current Customer"));
    m_actSave->setToolTip(QStringLiteral("Save changes to current Customer"));
    m_actCancel->setToolTip(QStringLiteral("Cancel and return to main Customer list"));
    m_actNew->setToolTip(QStringLiteral("Add a new Customer"));
    m_actClose->setToolTip(QStringLiteral("Close Customer form"));
    m_actHelp->setToolTip(QStringLiteral("Open Help"));
    m_actPrint->setToolTip(QStringLiteral("Print customer list"));
    m_actPrintPreview->setToolTip(QStringLiteral("Print Preview customer list"));

    QSignalBlocker blocker(cmbPaymentTerms);
    cmbPaymentTerms->clear();
    cmbPaymentTerms->addItems(CustomerPaymentTermChoices());
    cmbPaymentTerms->setCurrentIndex(0);
}

void TfrmCustomer::pSetActionShown(QAction* action, bool shown)
{
    action->setEnabled(shown);
    action->setVisible(shown);
}

void TfrmCustomer::pClearEditArea()
{
    for (QLineEdit* edit : {txtCustId, txtCustCmpnyName, txtCustFrstName, txtCustLstName, txtCustAddress,
                            txtCustCity, txtCustState, txtCustZipCode, txtCustPhoneAreaCode, txtCustPhone,
                            txtCustPhoneExt, txtCustFaxAreaCode, txtCustFax, txtCustEmail,
                            txtCustTaxExemptNumber, txtCustPaymentTerms, txtCustVatId})
        ClearToTypedLimit(edit);
    ShowCountryCode(cmbCustCountry, QString());
    txtCustNotes->clear();
    ckbxTaxExempt->setChecked(false);
    cmbPaymentTerms->setCurrentIndex(0);
    {
        // The caller refills the list once; the search-type handler must not do it too.
        QSignalBlocker searchTypeBlocker(cmboCustSearch);
        QSignalBlocker searchTextBlocker(txtCustSearch);
        cmboCustSearch->setCurrentIndex(cstAllCustomers);
        txtCustSearch->clear();
    }
    txtCustSearch->setEnabled(false);
}

void TfrmCustomer::pReturnToList()
{
    pClearEditArea();
    m_pages->setCurrentWidget(tbsheetListArea);
    gbxCustomer->setTitle(QStringLiteral("Customer Information Work Area"));
    pSetActionShown(m_actDelete, false);
    pSetActionShown(m_actSave, false);
    pSetActionShown(m_actCancel, false);
    pSetActionShown(m_actNew, true);
    btnUseThisCust->setEnabled(false);
    pQueryCustomerList();
    lstvCustomers->setFocus();
}

void TfrmCustomer::pQueryCustomerList()
{
    m_listModel->setSearch(cmboCustSearch->currentIndex(), txtCustSearch->text());
    pEnablePrintButton();
}

void TfrmCustomer::pSearchTypeChanged()
{
    const int searchType = cmboCustSearch->currentIndex();
    if (CustomerSearchNeedsText(searchType)) {
        // Emptying a filled box is a change of the text, which refills the list.
        txtCustSearch->clear();
        txtCustSearch->setEnabled(true);
        txtCustSearch->setFocus();
        return;
    }
    {
        QSignalBlocker blocker(txtCustSearch);   // refilled once, below
        txtCustSearch->clear();
    }
    txtCustSearch->setEnabled(false);
    lstvCustomers->setFocus();
    pQueryCustomerList();
}

void TfrmCustomer::pLoadCustomer()
{
    const QModelIndexList selected = lstvCustomers->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const qint64 customerId = m_listModel->rowAt(selected.first().row()).intCustomerID;
    pPutCustomerOnScreen(LoadCustomer(customerId, &m_opened));

    // The states set here win over those the rules set while the fields filled.
    m_pages->setCurrentWidget(tbsheetEditArea);
    pSetActionShown(m_actNew, false);
    pSetActionShown(m_actCancel, true);
    pSetActionShown(m_actDelete, true);
    pSetActionShown(m_actSave, false);
    pEnablePrintButton();
    btnUseThisCust->setEnabled(true);
    gbxCustomer->setTitle(QStringLiteral("Edit Customer Information"));
    txtCustCmpnyName->setFocus();
}

void TfrmCustomer::pNewCustomer()
{
    m_opened = TRecordVersion();
    m_pages->setCurrentWidget(tbsheetEditArea);
    gbxCustomer->setTitle(QStringLiteral("New Customer Information"));
    pSetActionShown(m_actCancel, true);
    pSetActionShown(m_actNew, false);
    pSetActionShown(m_actDelete, false);
    pSetActionShown(m_actSave, false);
    pEnablePrintButton();
    txtCustCmpnyName->setFocus();
}

TCustomer TfrmCustomer::pCustomerOnScreen() const
{
    TCustomer c;
    if (!txtCustId->text().isEmpty()) c.intCustomerID = txtCustId->text().toLongLong();
    c.strCustFirstName = txtCustFrstName->text();
    c.strCustLastName = txtCustLstName->text();
    c.strCustCompany = txtCustCmpnyName->text();
    c.strCustAddress = txtCustAddress->text();
    c.strCustCity = txtCustCity->text();
    c.strCustState = txtCustState->text();
    c.strCustZipCode = txtCustZipCode->text();
    c.strCustEmail = txtCustEmail->text();
    c.strCustPhone = DigitsOnly(txtCustPhone->text());
    c.strCustFax = DigitsOnly(txtCustFax->text());
    c.strCustPhoneAreaCode = txtCustPhoneAreaCode->text();
    c.strCustFaxAreaCode = txtCustFaxAreaCode->text();
    c.strCustPhoneExt = txtCustPhoneExt->text();
    c.strCustTaxExmpt = BoolToStr(ckbxTaxExempt->isChecked());
    c.strCustTaxExmpNmbr = txtCustTaxExemptNumber->text();
    c.strCustPmtTerms = txtCustPaymentTerms->text();
    c.strCustNotes = txtCustNotes->toPlainText();
    c.strCustCountry = ChosenCountryCode(cmbCustCountry);
    c.strCustVatId = txtCustVatId->text();
    return c;
}

void TfrmCustomer::pPutCustomerOnScreen(const TCustomer& c)
{
    txtCustId->setText(c.intCustomerID ? QString::number(*c.intCustomerID) : QString());
    ShowStoredText(txtCustFrstName, c.strCustFirstName);
    ShowStoredText(txtCustLstName, c.strCustLastName);
    ShowStoredText(txtCustCmpnyName, c.strCustCompany);
    ShowStoredText(txtCustAddress, c.strCustAddress);
    ShowStoredText(txtCustCity, c.strCustCity);
    ShowStoredText(txtCustState, c.strCustState);
    ShowStoredText(txtCustZipCode, c.strCustZipCode);
    ShowStoredText(txtCustEmail, c.strCustEmail);
    txtCustPhone->setText(c.strCustPhone);
    txtCustFax->setText(c.strCustFax);
    ShowStoredText(txtCustPhoneAreaCode, c.strCustPhoneAreaCode);
    ShowStoredText(txtCustFaxAreaCode, c.strCustFaxAreaCode);
    ShowStoredText(txtCustPhoneExt, c.strCustPhoneExt);
    // A flag that is not readable (empty, or some other text) shows as not exempt
    // rather than locking the customer out of the screen.
    bool exempt = false;
    try {
        exempt = StrToBool(c.strCustTaxExmpt);
    } catch (const AppError&) {
        exempt = false;
    }
    ckbxTaxExempt->setChecked(exempt);
    ShowStoredText(txtCustTaxExemptNumber, c.strCustTaxExmpNmbr);
    ShowStoredText(txtCustPaymentTerms, c.strCustPmtTerms);
    txtCustNotes->setPlainText(c.strCustNotes);
    ShowCountryCode(cmbCustCountry, c.strCustCountry);
    ShowStoredText(txtCustVatId, c.strCustVatId);
}

void TfrmCustomer::pSaveCustomer()
{
    {
        TSavingNoticeScope notice(QStringLiteral("Saving Customer Information..."));
        SaveCustomer(pCustomerOnScreen(), &m_opened);
    }
    pReturnToList();
}

void TfrmCustomer::pDeleteCustomer()
{
    if (AskYesNoCancel(QStringLiteral("Delete this Customers from your list?")) != MessageAnswer::Yes) return;
    if (txtCustId->text().isEmpty()) return;
    {
        TSavingNoticeScope notice(QStringLiteral("Deleting Customer Information..."));
        DeleteCustomer(txtCustId->text().toLongLong());
    }
    pReturnToList();
}

bool TfrmCustomer::pSaveEnabled() const { return m_actSave->isEnabled(); }

void TfrmCustomer::pCancelEdit()
{
    if (!pSaveEnabled()) {
        pReturnToList();
        return;
    }
    switch (AskYesNoCancel(QStringLiteral("Save changes to this customer?"))) {
    case MessageAnswer::Yes: pSaveCustomer(); break;
    case MessageAnswer::No: pReturnToList(); break;
    default: break;
    }
}

bool TfrmCustomer::pLeaveEditAllowed()
{
    if (!pSaveEnabled()) return true;
    switch (AskYesNoCancel(QStringLiteral("Save changes to this customer?"))) {
    case MessageAnswer::Yes: {
        bool saved = RunGuarded([this] {
            TSavingNoticeScope notice(QStringLiteral("Saving Customer Information..."));
            SaveCustomer(pCustomerOnScreen(), &m_opened);
        });
        if (saved) pSetActionShown(m_actSave, false);
        return saved;
    }
    case MessageAnswer::No: return true;
    default: return false;
    }
}

void TfrmCustomer::done(int result)
{
    if (!pLeaveEditAllowed()) return;
    CloseSavingNotice();
    QDialog::done(result);
}

void TfrmCustomer::pUseThisCustomer()
{
    m_picked = MakeCustomerPick(pCustomerOnScreen(), ckbxTaxExempt->isChecked());
    close();
}

void TfrmCustomer::pEnableSavebtn()
{
    const bool named = CustomerHasName(txtCustFrstName->text(), txtCustLstName->text(), txtCustCmpnyName->text());
    pSetActionShown(m_actSave, named);
    btnUseThisCust->setEnabled(named);
    SetLinkEnabled(lblSendCustEmail, !txtCustEmail->text().isEmpty());
}

void TfrmCustomer::pEnablePrintButton()
{
    const bool allowed = CustomerPrintAllowed(m_pages->currentWidget() == tbsheetListArea,
                                              m_listModel->rowCount(), m_pickMode);
    pSetActionShown(m_actPrint, allowed);
    pSetActionShown(m_actPrintPreview, allowed);
}

void TfrmCustomer::pPrintCustomerList(bool preview)
{
    // What is printed is the list as it stands: the whole current search result
    // (the rows not read yet are read first), in list order.
    recPrintLists.customerIds.clear();
    m_listModel->readAll();
    for (int row = 0; row < m_listModel->rowCount(); ++row)
        recPrintLists.customerIds.append(QString::number(m_listModel->rowAt(row).intCustomerID));
    intPrintJob = pjCustomerList;
    if (preview)
        modPrintData.pPrintPreview();
    else
        modPrintData.pPrint();
}

void TfrmCustomer::pSendCustomerEmail()
{
    SetEmailDataForCustomer(txtCustEmail->text(), txtCustCmpnyName->text(), txtCustFrstName->text(),
                            txtCustLstName->text());
    OpenEmail();
}

void TfrmCustomer::pPaymentTermChosen(int index)
{
    if (index > 0) txtCustPaymentTerms->setText(cmbPaymentTerms->itemText(index));
}
