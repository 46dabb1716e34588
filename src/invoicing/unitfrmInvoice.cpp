#include "invoicing/unitfrmInvoice.h"

#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitDialogs.h"
#include "app/unitDispatch.h"
#include "app/unitErrorHandler.h"
#include "app/unitScreenParts.h"
#include "app/unitMainCounters.h"
#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "company/unitCompanyData.h"
#include "customers/unitCustomerPick.h"
#include "email/unitEmailData.h"
#include "invoicing/UnitfrmInvoicePriceItemEdit.h"
#include "invoicing/unitDocumentLedgerRules.h"
#include "invoicing/unitDocumentStore.h"
#include "invoicing/unitInvoiceEditorInput.h"
#include "invoicing/unitInvoiceEditorLines.h"
#include "invoicing/unitInvoiceEditorRules.h"
#include "invoicing/unitInvoiceEditorSection.h"
#include "invoicing/unitInvoiceHolders.h"
#include "invoicing/unitfrmPaidAndDeposit.h"
#include "prices/unitPriceHandOver.h"
#include "printing/unitModPrintData.h"
#include "printing/unitPrintData.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kNoPaymentTerms = QStringLiteral("No Payment Terms");
// Typing limit of the exemption number and PO boxes.
constexpr int kCustBoxLimit = 20;

// Runs a body while the editor fills its own controls, so their change signals
// do not start refreshes of a half-filled document.
class QuietScope {
public:
    explicit QuietScope(int& counter) : m_counter(counter) { ++m_counter; }
    ~QuietScope() { --m_counter; }
    QuietScope(const QuietScope&) = delete;
    QuietScope& operator=(const QuietScope&) = delete;

private:
    int& m_counter;
};

// A menu caption shows "&" as an access key unless it is doubled.
QString MenuText(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Tool buttons are shown exactly when they are enabled; the menu entry is the same
// action. (A hidden QAction ignores setEnabled(true), so both are always set together.)
void SetShownAndEnabled(QAction* action, bool on)
{
    action->setEnabled(on);
    action->setVisible(on);
}

QLabel* MakeTickImage(QWidget* parent, const char* name)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QLatin1String(name));
    image->setPixmap(parent->style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(16, 16));
    image->setFixedSize(18, 18);
    return image;
}

QWidget* RowOf(QWidget* parent, QWidget* control, QLabel* image)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control, 1);
    layout->addWidget(image);
    return row;
}

QLineEdit* MakeTotalBox(QWidget* parent, const char* name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(160);
    return box;
}

} // namespace

// ---------------------------------------------------------------- building

TfrmInvoice::TfrmInvoice(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInvoice"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    resize(1100, 720);
    m_lines = new TInvoiceLinesModel(this);

    createActions();
    frmInvoiceMenu = new QMenuBar(this);
    frmInvoiceMenu->setObjectName(QStringLiteral("frmInvoiceMenu"));
    createMenu(frmInvoiceMenu);

    tlbarInvoice = new QToolBar(this);
    tlbarInvoice->setObjectName(QStringLiteral("tlbarInvoice"));
    tlbarInvoice->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const std::pair<QAction*, const char*> buttons[] = {
        {actClose, "tlbtnClose"},   {actSave, "tlbtnSave"},   {actPrintPreview, "tlbtnPrintPreview"},
        {actPrint, "tlbtnPrint"},   {actDelete, "tlbtnDelete"}, {actEmail, "tlbtnEmail"},
        {actHelp, "tlbtnHelp"}};
    for (const auto& [action, name] : buttons) AddToolBarAction(tlbarInvoice, action, name);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(createSections());
    splitter->addWidget(createDocumentArea());
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(frmInvoiceMenu);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(tlbarInvoice);
    layout->addWidget(splitter, 1);

    // Enter in a box must not press whichever button happens to be the default.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);

    connectHandlers();
    FormShow();
}

TfrmInvoice::~TfrmInvoice() = default;

void TfrmInvoice::createActions()
{
    auto make = [this](const char* name, const QString& text, const QStyle::StandardPixmap icon) {
        auto* action = new QAction(style()->standardIcon(icon), text, this);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    actClose = make("submnuClose", QStringLiteral("C&lose"), QStyle::SP_DialogCloseButton);
    actSave = make("submnuSave", QStringLiteral("&Save"), QStyle::SP_DialogSaveButton);
    actPrintPreview = make("submnuPrintPreview", QStringLiteral("Print Pre&view"), QStyle::SP_FileDialogContentsView);
    actPrint = make("submnuPrint", QStringLiteral("&Print"), QStyle::SP_DriveFDIcon);
    actDelete = make("submnuDelete", QStringLiteral("&Delete"), QStyle::SP_TrashIcon);
    actEmail = make("submnuEmail", QStringLiteral("&Email"), QStyle::SP_ArrowForward);
    actHelp = make("tlbtnHelpAction", QStringLiteral("Help"), QStyle::SP_DialogHelpButton);
    actClose->setIconText(QStringLiteral("Close"));
    actSave->setIconText(QStringLiteral("Save"));
    actPrintPreview->setIconText(QStringLiteral("Print Preview"));
    actPrint->setIconText(QStringLiteral("Print"));
    actDelete->setIconText(QStringLiteral("Delete"));
    actEmail->setIconText(QStringLiteral("Email"));
}

void TfrmInvoice::createMenu(QMenuBar* menu)
{
    auto entry = [this](QMenu* parent, const char* name, const QString& text, bool checkable = false) {
        QAction* action = parent->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setCheckable(checkable);
        return action;
    };
    auto subMenu = [](QWidget* parent, const char* name, const QString& title) {
        auto* sub = new QMenu(title, parent);
        sub->setObjectName(QLatin1String(name));
        return sub;
    };

    QMenu* file = subMenu(menu, "mnuFile", QStringLiteral("&File"));
    file->addActions({actSave, actPrint, actPrintPreview, actDelete, actEmail, actClose});
    menu->addMenu(file);

    QMenu* required = subMenu(menu, "mnuRequired", QStringLiteral("&Required"));
    submnuInvoiceType = subMenu(required, "submnuInvoiceType", QStringLiteral("I&nvoice Type"));
    for (int i = 0; i < 6; ++i) {
        submnuInvType[i] = entry(submnuInvoiceType, "", arrInvTypeNames[i], true);
        submnuInvType[i]->setObjectName(QStringLiteral("submnuInvType%1").arg(i + 1));
        submnuInvType[i]->setData(i + 1);   // tag
    }
    required->addMenu(submnuInvoiceType);
    submnuAddCustomer = entry(required, "submnuAddCustomer", QStringLiteral("&Add Customer"), true);
    submnuAddPriceItem = entry(required, "submnuAddPriceItem", QStringLiteral("A&dd Price Item"), true);
    menu->addMenu(required);

    QMenu* invoice = subMenu(menu, "mnuInvoice", QStringLiteral("&Invoice"));
    submnuChangeDate = entry(invoice, "submnuChangeDate", QStringLiteral("C&hange Date"));
    submnuAddNotes = entry(invoice, "submnuAddNotes", QStringLiteral("Add &Notes"));
    submnuAddSignatureLine = entry(invoice, "submnuAddSignatureLine", QStringLiteral("Add &Signature Line"), true);
    submnuPrintContract = entry(invoice, "submnuPrintContract", QStringLiteral("Print &Contract"), true);
    submnuPrintWarranty = entry(invoice, "submnuPrintWarranty", QStringLiteral("Print &Warranty"), true);
    submnuFootNotes = subMenu(invoice, "submnuFootNotes", QStringLiteral("&Foot Notes"));
    submnuFootNote[0] = entry(submnuFootNotes, "submnuNoFootNotes", QStringLiteral("N&o Foot Notes"), true);
    submnuFootNote[0]->setData(4);
    for (int k = 1; k <= 3; ++k) {
        submnuFootNote[k] = entry(submnuFootNotes, "", QStringLiteral("Foot Note &%1").arg(k), true);
        submnuFootNote[k]->setObjectName(QStringLiteral("submnuFootNote%1").arg(k));
        submnuFootNote[k]->setData(k);
    }
    invoice->addMenu(submnuFootNotes);
    submnuSetAsRecurring = entry(invoice, "submnuSetAsRecurring", QStringLiteral("Set As &Recurring"), true);
    menu->addMenu(invoice);

    QMenu* customer = subMenu(menu, "mnuCustomer", QStringLiteral("&Customer"));
    submnuTaxExempt = entry(customer, "submnuTaxExempt", QStringLiteral("Tax &Exempt"), true);
    submnuTaxExemptionNumber = entry(customer, "submnuTaxExemptionNumber", QStringLiteral("Tax Exemption &Number"));
    submnuPONumber = entry(customer, "submnuPONumber", QStringLiteral("&PO Number"));
    submnuPaymentTerms = subMenu(customer, "submnuPaymentTerms", QStringLiteral("P&ayment Terms"));
    for (int k = 0; k < kPaymentTermSlots; ++k) {
        submnuPmtTerm[k] = entry(submnuPaymentTerms, "", QString(), true);
        submnuPmtTerm[k]->setObjectName(QStringLiteral("submnuPmtTerm%1").arg(k));
    }
    customer->addMenu(submnuPaymentTerms);
    submnuPaidDeposit = entry(customer, "submnuPaidDeposit", QStringLiteral("Paid\\&Deposit"));
    submnuPaidInFull = entry(customer, "submnuPaidInFull", QStringLiteral("Paid In &Full"), true);
    menu->addMenu(customer);

    submnuTax = subMenu(menu, "submnuTax", QStringLiteral("&Tax"));
    for (int k = 0; k < 3; ++k) {
        submnuTaxOption[k] = entry(submnuTax, "", QStringLiteral("Tax Option &%1").arg(k + 1), true);
        submnuTaxOption[k]->setObjectName(QStringLiteral("submnuTaxOption%1").arg(k + 1));
    }
    menu->addMenu(submnuTax);

    QMenu* help = subMenu(menu, "mnuHelp", QStringLiteral("&Help"));
    submnuHelp = entry(help, "submnuHelp", QStringLiteral("&Help"));
    menu->addMenu(help);
}

QWidget* TfrmInvoice::createSections()
{
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(250);
    scroll->setMaximumWidth(320);
    catpnlGroupInvoice = new QWidget(scroll);
    catpnlGroupInvoice->setObjectName(QStringLiteral("catpnlGroupInvoice"));
    auto* column = new QVBoxLayout(catpnlGroupInvoice);
    column->setContentsMargins(2, 2, 2, 2);

    // Required
    catpnlRequired = new TInvoiceEditorSection(QStringLiteral("catpnlRequired"), QStringLiteral("Required"),
                                               catpnlGroupInvoice);
    QWidget* required = catpnlRequired->content();
    cmbInvoiceType = new QComboBox(required);
    cmbInvoiceType->setObjectName(QStringLiteral("cmbInvoiceType"));
    btnAddCustomer = new QPushButton(QStringLiteral("Add Customer"), required);
    btnAddCustomer->setObjectName(QStringLiteral("btnAddCustomer"));
    btnAddPriceItem = new QPushButton(QStringLiteral("Add Price Item"), required);
    btnAddPriceItem->setObjectName(QStringLiteral("btnAddPriceItem"));
    ImageInvType = MakeTickImage(required, "ImageInvType");
    ImageAddCustomer = MakeTickImage(required, "ImageAddCustomer");
    ImageAddPrcItem = MakeTickImage(required, "ImageAddPrcItem");
    catpnlRequired->contentLayout()->addWidget(RowOf(required, cmbInvoiceType, ImageInvType));
    catpnlRequired->contentLayout()->addWidget(RowOf(required, btnAddCustomer, ImageAddCustomer));
    catpnlRequired->contentLayout()->addWidget(RowOf(required, btnAddPriceItem, ImageAddPrcItem));

    // Invoice
    catpnlInvoice = new TInvoiceEditorSection(QStringLiteral("catpnlInvoice"), QStringLiteral("Invoice"),
                                              catpnlGroupInvoice);
    QWidget* invoice = catpnlInvoice->content();
    dateTimePickerInvoice = new QDateEdit(invoice);
    dateTimePickerInvoice->setObjectName(QStringLiteral("dateTimePickerInvoice"));
    dateTimePickerInvoice->setCalendarPopup(true);
    dateTimePickerInvoice->setDisplayFormat(ShortDateFormat());
    btnAddNotes = new QPushButton(QStringLiteral("Add Notes"), invoice);
    btnAddNotes->setObjectName(QStringLiteral("btnAddNotes"));
    ckbxAddSignatureLine = new QCheckBox(QStringLiteral("Add Signature Line"), invoice);
    ckbxAddSignatureLine->setObjectName(QStringLiteral("ckbxAddSignatureLine"));
    ckbxPrintContract = new QCheckBox(QStringLiteral("Print Contract"), invoice);
    ckbxPrintContract->setObjectName(QStringLiteral("ckbxPrintContract"));
    ckbxPrintWarranty = new QCheckBox(QStringLiteral("Print Warranty"), invoice);
    ckbxPrintWarranty->setObjectName(QStringLiteral("ckbxPrintWarranty"));
    cmbFootNotes = new QComboBox(invoice);
    cmbFootNotes->setObjectName(QStringLiteral("cmbFootNotes"));
    cmbFootNotes->addItems({QStringLiteral("No Foot Notes"), QStringLiteral("Foot Note 1"),
                            QStringLiteral("Foot Note 2"), QStringLiteral("Foot Note 3")});
    ckbxRecurring = new QCheckBox(QStringLiteral("Set as Recurring"), invoice);
    ckbxRecurring->setObjectName(QStringLiteral("ckbxRecurring"));
    QLabel* dateLabel = MakeCaption(QStringLiteral("Invoice Date"), dateTimePickerInvoice, invoice);
    for (QWidget* control : std::initializer_list<QWidget*>{dateLabel, dateTimePickerInvoice, btnAddNotes,
                                                            ckbxAddSignatureLine, ckbxPrintContract,
                                                            ckbxPrintWarranty, cmbFootNotes, ckbxRecurring})
        catpnlInvoice->contentLayout()->addWidget(control);

    // Customer
    catpnlCustomer = new TInvoiceEditorSection(QStringLiteral("catpnlCustomer"), QStringLiteral("Customer"),
                                               catpnlGroupInvoice);
    QWidget* customer = catpnlCustomer->content();
    ckbxCustTaxExempt = new QCheckBox(QStringLiteral("Tax Exempt"), customer);
    ckbxCustTaxExempt->setObjectName(QStringLiteral("ckbxCustTaxExempt"));
    txtcustTaxExemptNumber = new QLineEdit(customer);
    txtcustTaxExemptNumber->setObjectName(QStringLiteral("txtcustTaxExemptNumber"));
    txtcustTaxExemptNumber->setMaxLength(kCustBoxLimit);
    txtCustPO = new QLineEdit(customer);
    txtCustPO->setObjectName(QStringLiteral("txtCustPO"));
    txtCustPO->setMaxLength(kCustBoxLimit);
    cmbPaymentTerms = new QComboBox(customer);
    cmbPaymentTerms->setObjectName(QStringLiteral("cmbPaymentTerms"));
    cmbPaymentTerms->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    btnPaidAndDeposit = new QPushButton(QStringLiteral("Deposit Required"), customer);
    btnPaidAndDeposit->setObjectName(QStringLiteral("btnPaidAndDeposit"));
    ckbxPaidInFull = new QCheckBox(QStringLiteral("Paid In Full"), customer);
    ckbxPaidInFull->setObjectName(QStringLiteral("ckbxPaidInFull"));
    QLabel* exemptLabel = MakeCaption(QStringLiteral("Tax Exempt Number"), txtcustTaxExemptNumber, customer);
    QLabel* poLabel = MakeCaption(QStringLiteral("P.O. Number"), txtCustPO, customer);
    for (QWidget* control : std::initializer_list<QWidget*>{ckbxCustTaxExempt, exemptLabel, txtcustTaxExemptNumber,
                                                            poLabel, txtCustPO, cmbPaymentTerms,
                                                            btnPaidAndDeposit, ckbxPaidInFull})
        catpnlCustomer->contentLayout()->addWidget(control);

    // Tax
    catpnlTax = new TInvoiceEditorSection(QStringLiteral("catpnlTax"), QStringLiteral("Tax"), catpnlGroupInvoice);
    for (int k = 0; k < 3; ++k) {
        ckbxTax[k] = new QCheckBox(QStringLiteral("Tax Option %1").arg(k + 1), catpnlTax->content());
        ckbxTax[k]->setObjectName(QStringLiteral("ckbxTax%1").arg(k + 1));
        catpnlTax->contentLayout()->addWidget(ckbxTax[k]);
    }

    for (TInvoiceEditorSection* section : {catpnlRequired, catpnlInvoice, catpnlCustomer, catpnlTax})
        column->addWidget(section);
    column->addStretch();
    scroll->setWidget(catpnlGroupInvoice);
    return scroll;
}

QWidget* TfrmInvoice::createDocumentArea()
{
    auto* paper = new QFrame(this);
    paper->setObjectName(QStringLiteral("pnlDocument"));
    paper->setFrameShape(QFrame::StyledPanel);
    paper->setAutoFillBackground(true);
    QPalette palette = paper->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    paper->setPalette(palette);

    auto label = [paper](const char* name) {
        auto* text = new QLabel(paper);
        text->setObjectName(QLatin1String(name));
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return text;
    };
    lblInvNameNumber = label("lblInvNameNumber");
    QFont heading = lblInvNameNumber->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.6);
    lblInvNameNumber->setFont(heading);
    lblInvDate = label("lblInvDate");
    lblInvInformation = label("lblInvInformation");
    lblCustPmtTerms = label("lblCustPmtTerms");
    lblCustCompany = label("lblCustCompany");
    lblCustName = label("lblCustName");
    lblCustAddress = label("lblCustAddress");
    lblCustCityStZip = label("lblCustCityStZip");
    lblPhoneFax = label("lblPhoneFax");
    lblCustEmail = label("lblCustEmail");
    lblCustEmail->setVisible(false);   // carries the address only

    lstInvoice = new QTableView(paper);
    lstInvoice->setObjectName(QStringLiteral("lstInvoice"));
    lstInvoice->setModel(m_lines);
    lstInvoice->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstInvoice->setSelectionMode(QAbstractItemView::SingleSelection);
    lstInvoice->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstInvoice->verticalHeader()->setVisible(false);
    lstInvoice->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    lstInvoice->horizontalHeader()->setMinimumSectionSize(0);
    lstInvoice->horizontalHeader()->setHighlightSections(false);
    lstInvoice->setShowGrid(false);
    lstInvoice->setWordWrap(false);
    lstInvoice->setAlternatingRowColors(true);
    lstInvoice->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstInvoice->viewport()->installEventFilter(this);

    txtInvoiceFootNotes = new QPlainTextEdit(paper);
    txtInvoiceFootNotes->setObjectName(QStringLiteral("txtInvoiceFootNotes"));
    txtInvoiceFootNotes->setReadOnly(true);
    txtInvoiceFootNotes->setMaximumHeight(70);
    txtInvoiceFootNotes->setVisible(false);

    lblPaidAndDeposit = label("lblPaidAndDeposit");
    txtPaidAndDeposit = MakeTotalBox(paper, "txtPaidAndDeposit");
    txtInvoiceSubTotal = MakeTotalBox(paper, "txtInvoiceSubTotal");
    txtInvoiceTaxTotal = MakeTotalBox(paper, "txtInvoiceTaxTotal");
    lblTotal = label("lblTotal");
    txtInvoiceTotal = MakeTotalBox(paper, "txtInvoiceTotal");
    txtInvoiceTotal->setStyleSheet(QStringLiteral("QLineEdit { background-color: yellow; color: black; }"));
    for (QLabel* caption : {lblPaidAndDeposit, lblTotal}) caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* headingBlock = new QVBoxLayout;
    headingBlock->addWidget(lblInvNameNumber);
    headingBlock->addWidget(lblInvDate);
    headingBlock->addWidget(lblInvInformation);
    headingBlock->addWidget(lblCustPmtTerms);
    auto* customerBlock = new QVBoxLayout;
    for (QLabel* line : {lblCustCompany, lblCustName, lblCustAddress, lblCustCityStZip, lblPhoneFax})
        customerBlock->addWidget(line);
    customerBlock->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(customerBlock, 1);
    top->addLayout(headingBlock);

    auto* totals = new QGridLayout;
    totals->setColumnStretch(0, 1);
    auto* subTotalLabel = new QLabel(QStringLiteral("Sub Total"), paper);
    subTotalLabel->setObjectName(QStringLiteral("lblSubTotal"));
    auto* taxTotalLabel = new QLabel(QStringLiteral("Tax Total"), paper);
    taxTotalLabel->setObjectName(QStringLiteral("lblTaxTotal"));
    subTotalLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    taxTotalLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totals->addWidget(lblPaidAndDeposit, 0, 1);
    totals->addWidget(txtPaidAndDeposit, 0, 2);
    totals->addWidget(subTotalLabel, 1, 1);
    totals->addWidget(txtInvoiceSubTotal, 1, 2);
    totals->addWidget(taxTotalLabel, 2, 1);
    totals->addWidget(txtInvoiceTaxTotal, 2, 2);
    totals->addWidget(lblTotal, 3, 1);
    totals->addWidget(txtInvoiceTotal, 3, 2);

    auto* layout = new QVBoxLayout(paper);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(lstInvoice, 1);
    layout->addWidget(txtInvoiceFootNotes);
    layout->addLayout(totals);
    layout->addWidget(lblCustEmail);
    return paper;
}

void TfrmInvoice::connectHandlers()
{
    // Every handler body runs guarded: an error is shown and the editor stays open.
    auto guarded = [](auto body) { return [body] { RunGuarded(body); }; };

    connect(actClose, &QAction::triggered, this, [this] { reject(); });
    connect(actSave, &QAction::triggered, this, guarded([this] { pSaveData(); }));
    connect(actDelete, &QAction::triggered, this, guarded([this] { pDeleteData(); }));
    connect(actPrint, &QAction::triggered, this, guarded([this] { pPrintData(); }));
    connect(actPrintPreview, &QAction::triggered, this, guarded([this] { pPrintPreviewData(); }));
    connect(actEmail, &QAction::triggered, this, guarded([this] { pEmailData(); }));
    connect(actHelp, &QAction::triggered, this, guarded([] { OpenHelpFile(); }));
    connect(submnuHelp, &QAction::triggered, this, guarded([] { OpenHelpFile(); }));

    connect(cmbInvoiceType, &QComboBox::activated, this, guarded([this] { pSetInvoiceType(0); }));
    for (QAction* action : submnuInvType) {
        connect(action, &QAction::triggered, this,
                guarded([this, action] { pSetInvoiceType(action->data().toInt()); }));
    }
    connect(btnAddCustomer, &QPushButton::clicked, this, guarded([this] { pAddCustomer(); }));
    connect(submnuAddCustomer, &QAction::triggered, this, guarded([this] { pAddCustomer(); }));
    connect(btnAddPriceItem, &QPushButton::clicked, this, guarded([this] { pAddPriceItem(); }));
    connect(submnuAddPriceItem, &QAction::triggered, this, guarded([this] { pAddPriceItem(); }));

    connect(dateTimePickerInvoice, &QDateEdit::dateChanged, this, guarded([this] { pSetDate(); }));
    connect(submnuChangeDate, &QAction::triggered, this, guarded([this] {
                pOpenCatagory(catpnlInvoice);
                dateTimePickerInvoice->setFocus();
                // The calendar opens as it does for a click on the picker's drop-down arrow.
                const QPointF arrow(dateTimePickerInvoice->width() - 8, dateTimePickerInvoice->height() / 2.0);
                QMouseEvent press(QEvent::MouseButtonPress, arrow, dateTimePickerInvoice->mapToGlobal(arrow),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(dateTimePickerInvoice, &press);
            }));
    connect(btnAddNotes, &QPushButton::clicked, this, guarded([this] { pAddNotes(); }));
    connect(submnuAddNotes, &QAction::triggered, this, guarded([this] { pAddNotes(); }));

    // Check boxes and their menu entries mirror each other; the box's change refreshes.
    const std::pair<QCheckBox*, QAction*> mirrored[] = {
        {ckbxAddSignatureLine, submnuAddSignatureLine}, {ckbxPrintContract, submnuPrintContract},
        {ckbxPrintWarranty, submnuPrintWarranty},       {ckbxRecurring, submnuSetAsRecurring},
        {ckbxCustTaxExempt, submnuTaxExempt},           {ckbxPaidInFull, submnuPaidInFull},
        {ckbxTax[0], submnuTaxOption[0]},               {ckbxTax[1], submnuTaxOption[1]},
        {ckbxTax[2], submnuTaxOption[2]}};
    for (const auto& [box, action] : mirrored) pMirrorCheck(box, action);

    connect(cmbFootNotes, &QComboBox::activated, this, guarded([this] { pSetFootNotes(0); }));
    for (QAction* action : submnuFootNote) {
        connect(action, &QAction::triggered, this,
                guarded([this, action] { pSetFootNotes(action->data().toInt()); }));
    }

    connect(txtcustTaxExemptNumber, &QLineEdit::textChanged, this, guarded([this] { refreshAfterChange(); }));
    connect(txtCustPO, &QLineEdit::textChanged, this, guarded([this] { refreshAfterChange(); }));
    connect(submnuTaxExemptionNumber, &QAction::triggered, this, guarded([this] {
                pOpenCatagory(catpnlCustomer);
                txtcustTaxExemptNumber->setFocus();
            }));
    connect(submnuPONumber, &QAction::triggered, this, guarded([this] {
                pOpenCatagory(catpnlCustomer);
                txtCustPO->setFocus();
            }));

    connect(cmbPaymentTerms, &QComboBox::activated, this, guarded([this] { pSetPaymentTerms(-1); }));
    for (int k = 0; k < kPaymentTermSlots; ++k)
        connect(submnuPmtTerm[k], &QAction::triggered, this, guarded([this, k] { pSetPaymentTerms(k); }));

    connect(btnPaidAndDeposit, &QPushButton::clicked, this, guarded([this] { pPaidAndDeposit(); }));
    connect(submnuPaidDeposit, &QAction::triggered, this, guarded([this] { pPaidAndDeposit(); }));

    connect(lstInvoice, &QTableView::clicked, this, guarded([this] { lstInvoiceClick(); }));
}

void TfrmInvoice::pMirrorCheck(QCheckBox* box, QAction* action)
{
    connect(box, &QCheckBox::toggled, this, [this, action](bool checked) {
        action->setChecked(checked);
        RunGuarded([this] { refreshAfterChange(); });
    });
    connect(action, &QAction::triggered, this, [box](bool checked) { box->setChecked(checked); });
}

void TfrmInvoice::refreshAfterChange()
{
    if (m_quiet == 0) pChangeData();
}

// ---------------------------------------------------------- opening, closing

void TfrmInvoice::FormShow()
{
    setWindowState(arrFormMaximized[1] ? Qt::WindowMaximized : Qt::WindowNoState);
    RunGuarded([this] {
        pShowFormInformation();
        pResetFormData();
        pChangeData();
        if (blInvoiceEditExisting) pShowSavedInvoiceData();
    });
    m_lastPickerDate = dateTimePickerInvoice->date();
}

void TfrmInvoice::closeEvent(QCloseEvent* event)
{
    // Every way of closing goes through done(), where the save question is asked.
    event->ignore();
    reject();
}

void TfrmInvoice::done(int result)
{
    if (!m_closeConfirmed && !FormCloseQuery()) return;
    m_closeConfirmed = true;
    RunGuarded([this] { FormClose(); });
    QDialog::done(result);
}

bool TfrmInvoice::FormCloseQuery()
{
    if (!actSave->isEnabled()) return true;
    switch (AskYesNoCancel(QStringLiteral("Save changes to ") + displayName() + QLatin1Char('?'))) {
    case MessageAnswer::Yes:
        // A save that fails keeps the editor open, so nothing typed is lost.
        return RunGuarded([this] { pSaveData(); });
    case MessageAnswer::No: return true;
    default: return false;
    }
}

void TfrmInvoice::FormClose()
{
    arrFormMaximized[1] = isMaximized();
    strCurrentCustPmtTerms.clear();
    txtInvoiceNotes.clear();
    RefreshMainCounters();
}

// ---------------------------------------------------------------- the steps

QString TfrmInvoice::selectedTypeName() const { return cmbInvoiceType->currentText(); }

QString TfrmInvoice::displayName() const { return InvDisplayName(selectedTypeName(), intCurrentInvNumber); }

void TfrmInvoice::pShowFormInformation()
{
    actClose->setToolTip(QStringLiteral("Close"));
    actSave->setToolTip(QStringLiteral("Save Changes to Invoice"));
    actPrint->setToolTip(QStringLiteral("Print Invoice"));
    actPrintPreview->setToolTip(QStringLiteral("Print Preview Invoice"));
    actDelete->setToolTip(QStringLiteral("Delete invoice"));
    actEmail->setToolTip(QStringLiteral("Email invoice"));
    actHelp->setToolTip(QStringLiteral("Open Help"));
    cmbInvoiceType->setToolTip(QStringLiteral("Select Invoice Type"));
    btnAddCustomer->setToolTip(QStringLiteral("Add a Customer"));
    btnAddPriceItem->setToolTip(QStringLiteral("Add a Price Item"));
    dateTimePickerInvoice->setToolTip(QStringLiteral("Select a date to use"));
    btnAddNotes->setToolTip(QStringLiteral("Add Notes"));
    ckbxAddSignatureLine->setToolTip(QStringLiteral("Add a signature line"));
    ckbxPrintContract->setToolTip(QStringLiteral("Print contract with the Invoice"));
    ckbxPrintWarranty->setToolTip(QStringLiteral("Print warranty with the Invoice"));
    cmbFootNotes->setToolTip(QStringLiteral("Select a Foot Note"));
    ckbxRecurring->setToolTip(QStringLiteral("Set Invoice as recurring"));
    ckbxCustTaxExempt->setToolTip(QStringLiteral("Check if customer is Tax Exempt"));
    txtcustTaxExemptNumber->setToolTip(QStringLiteral("Enter Customer Tax Exemption Number"));
    txtCustPO->setToolTip(QStringLiteral("Enter a PO number for this Customer"));
    cmbPaymentTerms->setToolTip(QStringLiteral("Select a Payment Term"));
    ckbxPaidInFull->setToolTip(QStringLiteral("Check for Paid in Full"));
    for (QCheckBox* box : ckbxTax) box->setToolTip(QStringLiteral("Check to use this tax"));
    lstInvoice->setToolTip(QStringLiteral("Click on a Price Item to edit"));

    // A tax option is offered under its name only when the company charges it.
    const std::array<double, 3> rates{recCmpnyInvData.dbTaxRate1, recCmpnyInvData.dbTaxRate2,
                                      recCmpnyInvData.dbTaxRate3};
    const std::array<QString, 3> names{recCmpnyInvData.strTaxName1, recCmpnyInvData.strTaxName2,
                                       recCmpnyInvData.strTaxName3};
    for (int k = 0; k < 3; ++k) {
        const bool charged = rates[k] > 0;
        const QString caption = charged ? names[k] : QStringLiteral("Tax Option %1").arg(k + 1);
        ckbxTax[k]->setText(caption);
        submnuTaxOption[k]->setText(charged ? MenuText(caption) : QStringLiteral("Tax Option &%1").arg(k + 1));
        ckbxTax[k]->setEnabled(charged);
        submnuTaxOption[k]->setEnabled(charged);
    }

    QWidget* const order[] = {cmbInvoiceType, btnAddCustomer, btnAddPriceItem, dateTimePickerInvoice,
                              btnAddNotes, ckbxAddSignatureLine, ckbxPrintContract, ckbxPrintWarranty,
                              cmbFootNotes, ckbxRecurring, ckbxCustTaxExempt, txtcustTaxExemptNumber,
                              txtCustPO, cmbPaymentTerms, btnPaidAndDeposit, ckbxPaidInFull,
                              ckbxTax[0], ckbxTax[1], ckbxTax[2]};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    catpnlRequired->setExpanded(true);
    catpnlInvoice->setExpanded(false);
    catpnlCustomer->setExpanded(false);
    catpnlTax->setExpanded(false);
}

void TfrmInvoice::pResetFormData()
{
    QuietScope quiet(m_quiet);
    pLoadInvNames();
    dateTimePickerInvoice->setDate(QDate::currentDate());
    pLoadPaymentTerms();
    cmbPaymentTerms->setCurrentIndex(0);
    for (QAction* action : submnuPmtTerm) action->setChecked(false);
    submnuPmtTerm[0]->setChecked(true);
    cmbFootNotes->setCurrentIndex(0);
    pUpdateFootNoteMarks();
    txtInvoiceFootNotes->setVisible(false);
    txtInvoiceFootNotes->clear();
    for (QLabel* line : {lblCustCompany, lblCustName, lblCustAddress, lblCustCityStZip, lblPhoneFax, lblCustEmail})
        line->clear();
    ShowStoredText(txtcustTaxExemptNumber, QString(), kCustBoxLimit);
    ShowStoredText(txtCustPO, QString(), kCustBoxLimit);
    ckbxCustTaxExempt->setChecked(false);
    SetShownAndEnabled(actDelete, false);
    m_amountPaid = 0;
    strCurrentCustPmtTerms.clear();
    txtInvoiceNotes.clear();
    strStoredInvName.clear();
    ResetSavedData();
}

void TfrmInvoice::pLoadInvNames()
{
    const TInvTypeOffer offer = OfferedInvTypes(strStoredInvName);
    cmbInvoiceType->clear();
    for (int i = offer.first; i <= offer.last; ++i) cmbInvoiceType->addItem(arrInvTypeNames[i]);
    cmbInvoiceType->setEnabled(offer.listEnabled);
    submnuInvoiceType->setEnabled(offer.listEnabled);
    submnuInvoiceType->menuAction()->setEnabled(offer.listEnabled);
    for (int i = 0; i < 6; ++i) {
        const bool present = i < cmbInvoiceType->count();
        submnuInvType[i]->setText(present ? cmbInvoiceType->itemText(i) : QString());
        submnuInvType[i]->setVisible(present);
        submnuInvType[i]->setChecked(false);
    }
    cmbInvoiceType->setCurrentIndex(0);
    submnuInvType[0]->setChecked(true);
}

void TfrmInvoice::pLoadPaymentTerms()
{
    const auto termSlots = PaymentTermSlots(strCurrentCustPmtTerms, recCmpnyInvData.strInvTerms);
    cmbPaymentTerms->clear();
    cmbPaymentTerms->addItems(PaymentTermEntries(termSlots));
    for (int k = 0; k < kPaymentTermSlots; ++k) {
        submnuPmtTerm[k]->setText(MenuText(termSlots[k]));
        submnuPmtTerm[k]->setData(termSlots[k]);
        submnuPmtTerm[k]->setVisible(!termSlots[k].isEmpty());
    }
}

void TfrmInvoice::pCheckPaymentTerms()
{
    if (strCurrentCustPmtTerms.isEmpty() || strCurrentCustPmtTerms == kNoPaymentTerms) return;
    const int found = cmbPaymentTerms->findText(strCurrentCustPmtTerms, Qt::MatchFixedString);
    if (found < 0) {
        pLoadPaymentTerms();
        cmbPaymentTerms->setCurrentIndex(1);
    } else {
        cmbPaymentTerms->setCurrentIndex(found);
    }
    pSetPaymentTerms(-1);
}

void TfrmInvoice::pSetInvoiceType(int tag)
{
    if (tag >= 1 && tag <= cmbInvoiceType->count()) cmbInvoiceType->setCurrentIndex(tag - 1);
    for (QAction* action : submnuInvType) action->setChecked(false);
    const int selected = cmbInvoiceType->currentIndex();
    if (selected >= 0 && selected < 6) submnuInvType[selected]->setChecked(true);
    refreshAfterChange();
}

void TfrmInvoice::pUpdateFootNoteMarks()
{
    const int selected = cmbFootNotes->currentIndex();
    for (int k = 0; k <= 3; ++k) submnuFootNote[k]->setChecked(k == selected);
}

void TfrmInvoice::pSetFootNotes(int tag)
{
    if (tag >= 1 && tag <= 3) cmbFootNotes->setCurrentIndex(tag);
    else if (tag == 4) cmbFootNotes->setCurrentIndex(0);
    if (cmbFootNotes->currentIndex() == 0) {
        txtInvoiceFootNotes->setVisible(false);
        txtInvoiceFootNotes->clear();
    }
    pUpdateFootNoteMarks();
    refreshAfterChange();
}

void TfrmInvoice::pSetPaymentTerms(int menuSlot)
{
    if (menuSlot >= 0) {
        const QString text = submnuPmtTerm[menuSlot]->data().toString();
        const int entry = cmbPaymentTerms->findText(text, Qt::MatchExactly);
        if (entry >= 0) cmbPaymentTerms->setCurrentIndex(entry);
    }
    const QString selected = cmbPaymentTerms->currentText();
    bool marked = false;
    for (QAction* action : submnuPmtTerm) {
        const bool mark = !marked && action->isVisible() && action->data().toString() == selected;
        action->setChecked(mark);
        marked = marked || mark;
    }
    refreshAfterChange();
}

void TfrmInvoice::pSetDate()
{
    if (dateTimePickerInvoice->date() == m_lastPickerDate) return;
    m_lastPickerDate = dateTimePickerInvoice->date();
    refreshAfterChange();
}

void TfrmInvoice::pOpenCatagory(TInvoiceEditorSection* section)
{
    if (!section->isExpanded()) section->setExpanded(true);
}

void TfrmInvoice::pChangeData()
{
    QuietScope quiet(m_quiet);   // the boxes this refresh unticks must not refresh again
    const QString type = selectedTypeName();
    const QString name = displayName();
    lblInvNameNumber->setText(name);
    setWindowTitle(name);
    lblInvDate->setText(DateToStr(dateTimePickerInvoice->date()));
    lblCustPmtTerms->setText(cmbPaymentTerms->currentIndex() > 0 ? cmbPaymentTerms->currentText() : QString());
    lblInvInformation->setText(
        GetInvInformationLine(type, recSavedData.strFromInvNameNumber, dateTimePickerInvoice->date()));
    const int footNote = cmbFootNotes->currentIndex();
    if (footNote >= 1 && footNote <= 3) {
        txtInvoiceFootNotes->setVisible(true);
        txtInvoiceFootNotes->setPlainText(recCmpnyInvData.strInvFootNote[footNote]);
    }
    lblTotal->setText(type + QStringLiteral(" Total"));

    // A deposit-kind document asks for a deposit and never carries an amount paid.
    if (InvTypeKind(type) == TInvKind::Deposit) m_amountPaid = 0;
    const QString paidCaption = PaidAndDepositCaption(type);
    btnPaidAndDeposit->setText(paidCaption);
    lblPaidAndDeposit->setText(paidCaption);
    btnPaidAndDeposit->setToolTip(paidCaption);
    submnuPaidDeposit->setText(MenuText(paidCaption));

    pSetPaidInFullAndRecurring();

    if (ckbxCustTaxExempt->isChecked()) {
        catpnlTax->setCaption(QStringLiteral("Tax Exempt"));
        catpnlTax->setEnabled(false);
        catpnlTax->setExpanded(false);
        submnuTax->setTitle(QStringLiteral("Tax Exempt"));
        submnuTax->setEnabled(false);
        for (QCheckBox* box : ckbxTax) box->setChecked(false);
    } else {
        catpnlTax->setCaption(QStringLiteral("Tax"));
        catpnlTax->setEnabled(true);
        submnuTax->setTitle(QStringLiteral("&Tax"));
        submnuTax->setEnabled(true);
    }

    const bool ready = IsDocumentReady(m_lines->lineCount(), lblCustName->text(), lblCustCompany->text());
    pEnableSavebtn(ready);
    for (QAction* output : {actPrint, actPrintPreview, actEmail}) SetShownAndEnabled(output, ready);

    // Only a stored document can be deleted; the reset disabled Delete for a new one.
    SetShownAndEnabled(actDelete, blInvoiceEditExisting);

    pShowRequiredTicks();
    pAddInvoiceTotals();
}

void TfrmInvoice::pShowRequiredTicks()
{
    const bool hasCustomer = !lblCustName->text().isEmpty();
    submnuAddCustomer->setChecked(hasCustomer);
    ImageAddCustomer->setVisible(hasCustomer);
    const bool hasLine = m_lines->lineCount() > 0;
    submnuAddPriceItem->setChecked(hasLine);
    ImageAddPrcItem->setVisible(hasLine);
}

void TfrmInvoice::pEnableSavebtn(bool enabled) { SetShownAndEnabled(actSave, enabled); }

void TfrmInvoice::pSetPaidInFullAndRecurring()
{
    const TPaidRecurringState state =
        PaidInFullAndRecurring(selectedTypeName(), ckbxPaidInFull->isChecked(), ckbxRecurring->isChecked());
    ckbxPaidInFull->setChecked(state.paidInFullChecked);
    ckbxRecurring->setChecked(state.recurringChecked);
    ckbxPaidInFull->setEnabled(state.paidInFullEnabled);
    ckbxRecurring->setEnabled(state.recurringEnabled);
    if (state.paidInFullChecked) lblTotal->setText(QStringLiteral("Paid In Full"));
    submnuPaidInFull->setEnabled(state.paidInFullEnabled);
    submnuSetAsRecurring->setEnabled(state.recurringEnabled);
}

void TfrmInvoice::pAddInvoiceTotals()
{
    const auto rates = EffectiveTaxRates(ckbxCustTaxExempt->isChecked(), ckbxTax[0]->isChecked(),
                                         ckbxTax[1]->isChecked(), ckbxTax[2]->isChecked());
    // A line that is not a number stops here; the boxes keep their previous texts.
    const TInvTotalsResult result = ComputeInvTotals(m_lines->lines(), rates);
    m_lines->setComputedCells(result.cells);
    m_totals = result.totals;
    const TInvTotalTexts texts = GetInvTotalTexts(selectedTypeName(), m_totals, m_amountPaid, m_deposit,
                                                  ckbxPaidInFull->isChecked());
    txtPaidAndDeposit->setText(texts.strPaidAndDeposit);
    txtInvoiceSubTotal->setText(texts.strSubTotal);
    txtInvoiceTaxTotal->setText(texts.strTaxTotal);
    txtInvoiceTotal->setText(texts.strTotal);
}

bool TfrmInvoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstInvoice->viewport() && event->type() == QEvent::Resize) pResizeListBox();
    return QDialog::eventFilter(watched, event);
}

void TfrmInvoice::pResizeListBox()
{
    const auto widths = LineColumnWidths(lstInvoice->viewport()->width(), recCmpnyInvData.blShowQuantity,
                                         recCmpnyInvData.blShowPrcEach, recCmpnyInvData.blShowTotal);
    for (int column = 0; column < lcColumnCount; ++column) {
        lstInvoice->setColumnHidden(column, widths[column] == 0);
        if (widths[column] > 0) lstInvoice->setColumnWidth(column, widths[column]);
    }
}

// ------------------------------------------------------------------ actions

void TfrmInvoice::pApplyCustomerPick(const TrecCustomerPick& pick)
{
    {
        QuietScope quiet(m_quiet);
        lblCustCompany->setText(pick.strCompany);
        lblCustName->setText(pick.strName);
        lblCustAddress->setText(pick.strAddress);
        lblCustCityStZip->setText(pick.strCityStZip);
        lblPhoneFax->setText(pick.strPhoneFax);
        ShowStoredText(txtcustTaxExemptNumber, pick.strTaxExemptNumber, kCustBoxLimit);
        lblCustEmail->setText(pick.strEmail);
        strCurrentCustPmtTerms = pick.strPmtTerms;
        pCheckPaymentTerms();
        ckbxCustTaxExempt->setChecked(pick.blTaxExempt);
    }
    pChangeData();
}

void TfrmInvoice::pAddCustomer()
{
    strCurrentCustPmtTerms.clear();
    if (const std::optional<TrecCustomerPick> pick = PickCustomer())
        pApplyCustomerPick(*pick);
    else
        pShowRequiredTicks();   // choosing the menu entry flipped its mark
}

void TfrmInvoice::pAddPriceItem()
{
    PickPriceItem();
    if (recPrices.strPrcItemName.isEmpty()) {   // nothing picked
        pShowRequiredTicks();
        return;
    }
    TInvLine line;
    line.strPrcItemName = recPrices.strPrcItemName;
    line.strPrcItmQuantity = recPrices.strQuantity;
    line.strLbrPrc = recPrices.strLbrPrc;
    line.strLabTax = recPrices.strLabTax;
    line.strMatPrc = recPrices.strMatPrc;
    line.strMatTax = recPrices.strMatTax;
    m_lines->appendLine(line);
    recPrices.clear();
    pChangeData();
}

void TfrmInvoice::lstInvoiceClick()
{
    const QModelIndexList selected = lstInvoice->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int row = selected.first().row();
    TInvLine line = m_lines->line(row);
    switch (EditInvoiceLine(line, displayName())) {
    case TLineEditOutcome::Edited:
        m_lines->replaceLine(row, line);
        pChangeData();
        break;
    case TLineEditOutcome::Removed:
        m_lines->removeLine(row);
        pChangeData();
        break;
    case TLineEditOutcome::Unchanged: break;
    }
}

void TfrmInvoice::pPaidAndDeposit()
{
    TPaidAndDepositValues values;
    values.typeName = selectedTypeName();
    values.deposit = m_deposit;
    values.amountPaid = m_amountPaid;
    values.documentTotal = m_totals.dbInvTotal;
    values.paidInFull = ckbxPaidInFull->isChecked();
    values.paidInFullEnabled = ckbxPaidInFull->isEnabled();
    if (EditPaidAndDeposit(values)) {
        const bool amountsChanged = values.deposit != m_deposit || values.amountPaid != m_amountPaid;
        m_deposit = values.deposit;
        m_amountPaid = values.amountPaid;
        ckbxPaidInFull->setChecked(values.paidInFull);   // refreshes when it changes
        // A payment or deposit entered on its own is a change too: without Save
        // enabled, closing would drop it without asking.
        if (amountsChanged && IsDocumentReady(m_lines->lineCount(), lblCustName->text(), lblCustCompany->text()))
            pEnableSavebtn(true);
    }
    pAddInvoiceTotals();
}

void TfrmInvoice::pAddNotes()
{
    QString notes = txtInvoiceNotes;
    if (EditInvoiceNotes(selectedTypeName(), intCurrentInvNumber, notes)) {
        pChangeData();
        txtInvoiceNotes = notes;
    }
}

void TfrmInvoice::pPreSetPrintData()
{
    intPrintJob = pjDocument;
    recPrintData.strInvType = selectedTypeName();
    recPrintData.strInvDate = DateToStr(dateTimePickerInvoice->date());
    recPrintData.strInvValidFor = lblInvInformation->text();
    recPrintData.strCustCompany = lblCustCompany->text();
    recPrintData.strCustName = lblCustName->text();
    recPrintData.strCustAddress = lblCustAddress->text();
    recPrintData.strCustCityStZip = lblCustCityStZip->text();
    recPrintData.strCustPhoneFax = lblPhoneFax->text();
    recPrintData.strCustPmtTerms = lblCustPmtTerms->text();
    recPrintData.strCustPONumber = txtCustPO->text();
    recPrintData.strCustTaxExemptNum = txtcustTaxExemptNumber->text();
    recPrintData.strDepositPaidHdng = lblPaidAndDeposit->text();
    recPrintData.strTotalHdng = lblTotal->text();
    recPrintData.strDepositPaid = txtPaidAndDeposit->text();
    recPrintData.strTax = txtInvoiceTaxTotal->text();
    recPrintData.strSubTotal = txtInvoiceSubTotal->text();
    recPrintData.strTotal = txtInvoiceTotal->text();
    recPrintData.blPrintOnLoad = false;
    recPrintData.blSignatureLine = ckbxAddSignatureLine->isChecked();
    recPrintData.blPrintContract = ckbxPrintContract->isChecked();
    recPrintData.blPrintWarranty = ckbxPrintWarranty->isChecked();
    recPrintData.intFootNote = cmbFootNotes->currentIndex();
    ListViewPriceItems = m_lines->lines();
}

void TfrmInvoice::pPrintData()
{
    // Totals of a line that is not a number stop here, so nothing prints with
    // totals that leave a line out.
    pAddInvoiceTotals();
    pPreSetPrintData();
    modPrintData.pPrint();
}

void TfrmInvoice::pPrintPreviewData()
{
    pAddInvoiceTotals();
    pPreSetPrintData();
    modPrintData.pPrintPreview();
}

void TfrmInvoice::pEmailData()
{
    pAddInvoiceTotals();
    pPreSetPrintData();
    const QString pdfPath = EmailAttachmentPath(selectedTypeName(), intCurrentInvNumber);
    QDir().mkpath(GetTempFolder());   // made at start-up; made again should it have been removed since
    modPrintData.pCreatePDFFile(pdfPath);
    SetEmailDataForDocument(lblCustEmail->text(), lblCustCompany->text(), lblCustName->text(), pdfPath,
                            displayName(), recCompanyData.blCompEmailSubjectInvNameNum);
    OpenEmail();
}

void TfrmInvoice::pSaveData()
{
    // The stored totals must be those of the lines being stored: a line whose
    // quantity or price is not a number stops the save here with its error.
    pAddInvoiceTotals();
    strStoredInvName = selectedTypeName();
    pPreSetPrintData();

    TInvDocument document;
    TInvHeader& header = document.header;
    header.strInvName = selectedTypeName();
    header.strCustCmpnyName = lblCustCompany->text();
    header.strCustFullName = lblCustName->text();
    header.strCustAddress = lblCustAddress->text();
    header.strCustCtyStZp = lblCustCityStZip->text();
    header.strCustPhnFax = lblPhoneFax->text();
    header.strInvTerms = lblCustPmtTerms->text();   // "No Payment Terms" is stored as empty
    header.strCustEmail = lblCustEmail->text();
    header.strCustTaxExemptNum = txtcustTaxExemptNumber->text();
    header.strCustPONumber = txtCustPO->text();
    header.strFromInvNameNumber = recSavedData.strFromInvNameNumber;
    header.strFutureInfo.clear();
    header.strInvDate = DateToStr(dateTimePickerInvoice->date());
    header.strUseTax1 = ckbxTax[0]->isChecked();
    header.strUseTax2 = ckbxTax[1]->isChecked();
    header.strUseTax3 = ckbxTax[2]->isChecked();
    header.strCustTaxExempt = ckbxCustTaxExempt->isChecked();
    header.strPaidInFull = ckbxPaidInFull->isChecked();
    header.strRecurring = ckbxRecurring->isChecked();
    header.intInvNumber = intCurrentInvNumber;
    header.intInvFootNotes = cmbFootNotes->currentIndex();
    header.dbLbrTax1Total = m_totals.dbLbrTax1Total;
    header.dbLbrTax2Total = m_totals.dbLbrTax2Total;
    header.dbLbrTax3Total = m_totals.dbLbrTax3Total;
    header.dbMatTax1Total = m_totals.dbMatTax1Total;
    header.dbMatTax2Total = m_totals.dbMatTax2Total;
    header.dbMatTax3Total = m_totals.dbMatTax3Total;
    header.dbLbrTotal = m_totals.dbLbrTotal;
    header.dbMatTotal = m_totals.dbMatTotal;
    header.dbAmountPaid = m_amountPaid;
    header.dbDepAmount = m_deposit;
    header.dbInvTotal = m_totals.dbInvTotal;
    document.strInvNotes = txtInvoiceNotes;
    document.lines = ListViewPriceItems;

    // The ledger postings and the document are written together or not at all.
    SaveDocumentWithLedger(document, recSavedData, blInvoiceEditExisting);
    ListViewPriceItems.clear();
    blInvoiceEditExisting = true;
    pShowSavedInvoiceData();
}

void TfrmInvoice::pDeleteData()
{
    if (!blInvoiceEditExisting) return;
    if (AskYesNoCancel(QStringLiteral("Delete ") + displayName() + QLatin1Char('?')) != MessageAnswer::Yes) return;
    DeleteDocument(intCurrentInvNumber);
    m_closeConfirmed = true;   // the document is gone: nothing is left to save
    accept();
}

void TfrmInvoice::pShowSavedInvoiceData()
{
    struct SaveDisabler {
        TfrmInvoice* editor;
        ~SaveDisabler() { editor->pEnableSavebtn(false); }
    } disableSaveAtEnd{this};

    const TLoadedDocument loaded = LoadDocument(intCurrentInvNumber);
    const TInvHeader& header = loaded.document.header;
    {
        QuietScope quiet(m_quiet);
        lblCustCompany->setText(header.strCustCmpnyName);
        lblCustName->setText(header.strCustFullName);
        lblCustAddress->setText(header.strCustAddress);
        lblCustCityStZip->setText(header.strCustCtyStZp);
        lblPhoneFax->setText(header.strCustPhnFax);
        lblCustEmail->setText(header.strCustEmail);
        ShowStoredText(txtcustTaxExemptNumber, header.strCustTaxExemptNum, kCustBoxLimit);
        ckbxCustTaxExempt->setChecked(header.strCustTaxExempt);
        ShowStoredText(txtCustPO, header.strCustPONumber, kCustBoxLimit);
        strStoredInvName = header.strInvName;
        pLoadInvNames();
        strCurrentCustPmtTerms = header.strInvTerms;
        pCheckPaymentTerms();
        const int footNote = std::clamp(header.intInvFootNotes, 0, 3);
        cmbFootNotes->setCurrentIndex(footNote);
        pSetFootNotes(0);
        ckbxTax[0]->setChecked(header.strUseTax1);
        ckbxTax[1]->setChecked(header.strUseTax2);
        ckbxTax[2]->setChecked(header.strUseTax3);
        ckbxPaidInFull->setChecked(header.strPaidInFull);
        txtInvoiceNotes = loaded.document.strInvNotes;
        m_amountPaid = header.dbAmountPaid;
        m_deposit = header.dbDepAmount;
        if (!header.strInvDate.isEmpty()) {
            dateTimePickerInvoice->setDate(StrToDate(header.strInvDate));
            m_lastPickerDate = dateTimePickerInvoice->date();
        }
        recSavedData = loaded.savedData;
        ckbxRecurring->setChecked(header.strRecurring);
        m_lines->setLines(loaded.document.lines);
    }
    pChangeData();
}
