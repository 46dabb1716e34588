// The editor's controls: creating, naming and laying out every control, the
// menu and tool bar, and connecting each control to its handler.
#include "editor/unitfrmInvoice.h"

#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitDialogs.h"
#include "app/unitDispatch.h"
#include "app/unitErrorHandler.h"
#include "app/unitLimitedEdit.h"
#include "app/unitScreenParts.h"
#include "documents/unitMainCounters.h"
#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "company/unitCompanyData.h"
#include "customers/unitCustomerPick.h"
#include "email/unitEmailData.h"
#include "editor/UnitfrmInvoicePriceItemEdit.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"
#include "editor/unitInvoiceEditorInput.h"
#include "editor/unitInvoiceEditorLines.h"
#include "editor/unitInvoiceEditorRules.h"
#include "editor/unitInvoiceEditorSection.h"
#include "documents/unitInvoiceHolders.h"
#include "editor/unitfrmPaidAndDeposit.h"
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

#include "editor/unitfrmInvoiceShared.h"

using namespace invoice_editor;

namespace {

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
    submnuSavePdf = make("submnuSavePdf", QStringLiteral("Save PDF\u2026"), QStyle::SP_DialogSaveButton);
    submnuSaveEInvoiceXml =
        make("submnuSaveEInvoiceXml", QStringLiteral("Save E-Invoice XML\u2026"), QStyle::SP_DialogSaveButton);
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
    file->addActions({actSave, actPrint, actPrintPreview, actDelete, actEmail, submnuSavePdf, submnuSaveEInvoiceXml,
                      actClose});
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
    dateTimePickerInvoice->setDisplayFormat(DisplayDateFormat());
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
    SetTypedLimit(txtcustTaxExemptNumber, kCustBoxLimit);
    txtCustPO = new QLineEdit(customer);
    txtCustPO->setObjectName(QStringLiteral("txtCustPO"));
    SetTypedLimit(txtCustPO, kCustBoxLimit);
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
        auto* text = NewPlainLabel(paper);
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

    // A note about the last save that the user should see but need not answer
    // (another seat took the number shown): above the page, never printed.
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("pnlDocumentArea"));
    lblNumberNote = new QLabel(area);
    lblNumberNote->setObjectName(QStringLiteral("lblNumberNote"));
    lblNumberNote->setWordWrap(true);
    lblNumberNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblNumberNote->setFrameShape(QFrame::StyledPanel);
    lblNumberNote->setMargin(6);
    lblNumberNote->setStyleSheet(QStringLiteral("QLabel { background-color: #fff4c2; color: black; }"));
    lblNumberNote->setVisible(false);
    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    areaLayout->addWidget(lblNumberNote);
    areaLayout->addWidget(paper, 1);
    return area;
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
    connect(submnuSavePdf, &QAction::triggered, this, guarded([this] { pSavePdfData(); }));
    connect(submnuSaveEInvoiceXml, &QAction::triggered, this, guarded([this] { pSaveEInvoiceXml(); }));
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
