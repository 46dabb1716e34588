#include "company/unitfrmCompanyInfo.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitDialogs.h"
#include "app/unitDispatch.h"
#include "app/unitErrorHandler.h"
#include "app/unitLimitedEdit.h"
#include "app/unitModalRunner.h"
#include "app/unitRegional.h"
#include "app/unitScreenParts.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "company/unitCompanyRules.h"
#include "company/unitCompanyStore.h"
#include "company/unitKeyChoiceList.h"
#include "company/unitLineLimitedMemo.h"
#include "company/unitCompanyLogoStore.h"
#include "company/unitLogoFile.h"
#include "company/unitfrmCompanyEInvoicePage.h"
#include "db/unitStoredValues.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kMemoLines = 5;
constexpr int kAcceptanceLimit = 250;
constexpr int kEmailBodyLimit = 250;
constexpr int kFootNoteLimit = 32767;

// A tax box's rate in the stored form ("0.0500"), whatever separator it shows.
QString TaxBoxStoredText(const QLineEdit* box)
{
    return StoredNumberText(SetToNumber(box->displayText(), DisplayDecimalSeparator()));
}

const QSize kLargeLogoBox(260, 130);
const QSize kSmallLogoBox(130, 65);

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QRadioButton* MakeRadio(QWidget* parent, const QString& name, const QString& caption)
{
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    return radio;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& title)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    return group;
}

// A filled sample shape, like a colour swatch.
QFrame* MakeShape(QWidget* parent, const QString& name, QSize size)
{
    auto* shape = new QFrame(parent);
    shape->setObjectName(name);
    shape->setFrameShape(QFrame::Box);
    shape->setAutoFillBackground(true);
    shape->setFixedSize(size);
    return shape;
}

QColor ToQColor(std::uint32_t packed) { return QColor(ColorRed(packed), ColorGreen(packed), ColorBlue(packed)); }
std::uint32_t FromQColor(const QColor& color) { return PackColor(color.red(), color.green(), color.blue()); }

void FillShape(QFrame* shape, std::uint32_t color)
{
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    shape->setPalette(palette);
}

QSpinBox* MakeSpin(QWidget* parent, const QString& name, int maximum)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(0, maximum);
    // Changed by the arrows only.
    if (auto* edit = spin->findChild<QLineEdit*>()) edit->setReadOnly(true);
    return spin;
}

const char* const kTypeButtonNames[7] = {nullptr, "btnEstColor", "btnWrkOrderColor", "btnChangeOrderColor",
                                         "btnInvColor", "btnCrdtColor", "btnPstDueColor"};
const char* const kTypeButtonCaptions[7] = {nullptr, "Estimate Color", "Work Order Color", "Change Order Color",
                                            "Invoice Color", "Credit Color", "Past Due Color"};
const char* const kTypeButtonHints[7] = {nullptr, "Select a color for Estimates", "Select a color for Work Orders",
                                         "Select a color for Change Orders", "Select a color for Invoices",
                                         "Select a color for Credits", "Select a color for Past Due Notices"};
const char* const kTypeSamples[7] = {nullptr, "Estimate 500", "Work Order 500", "Change Order 500",
                                     "Invoice 500", "Credit 500", "Past Due 500"};
const char* const kTypeShortNames[7] = {nullptr, "Est", "WrkOrder", "ChangeOrder", "Inv", "Crdt", "PstDue"};

} // namespace

TfrmCompanyInfo::TfrmCompanyInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCompanyInfo"));
    auto* mainLayout = new QVBoxLayout(this);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_actClose = NewToolBarAction(m_toolBar, "tlbtnClose", QStringLiteral("   Close   "));
    m_actClose->setIconText(m_actClose->text());   // the button keeps the blanks that widen it
    m_actSave = NewToolBarAction(m_toolBar, "tlbtnSave", QStringLiteral("Save"));
    m_actHelp = NewToolBarAction(m_toolBar, "tlbtnHelp", QStringLiteral("Help"));
    mainLayout->addWidget(m_toolBar);

    ppnlCompanyInfo = new QTabWidget(this);
    ppnlCompanyInfo->setObjectName(QStringLiteral("ppnlCompanyInfo"));
    mainLayout->addWidget(ppnlCompanyInfo, 1);

    pBuildCompanyPage();
    pBuildTaxPage();
    pBuildInvoicePage();
    pBuildColorPage();
    pBuildDescriptionPage();
    pBuildGeneralPage();
    pBuildEmailPage();
    pBuildPlannerPage();
    m_pageEInvoice = new TCompanyEInvoicePage(ppnlCompanyInfo);
    ppnlCompanyInfo->addTab(m_pageEInvoice, QStringLiteral("E-Invoice"));
    connect(m_pageEInvoice, &TCompanyEInvoicePage::changed, this, [this] { RunGuarded([this] { pEnableSavebtn(); }); });
    pConnectChanges();

    connect(m_actClose, &QAction::triggered, this, [this] { close(); });
    connect(m_actSave, &QAction::triggered, this, [this] { RunGuarded([this] { pSaveCompInfo(); }); });
    connect(m_actHelp, &QAction::triggered, this, [] { RunGuarded([] { OpenHelpFile(); }); });

    resize(760, 560);
    // Values that could not be read are never shown as if they were the
    // stored ones: a save would write them over the settings. The screen
    // says so and closes.
    if (const std::optional<QString> readError = ErrorOf([this] { pFormShow(); })) {
        m_readFailed = true;
        pSetSaveEnabled(false);
        ShowErrorBox(QStringLiteral("Company Information could not be read and closes without saving anything: ")
                     + *readError);
        QTimer::singleShot(0, this, [this] { reject(); });
    }
}

TfrmCompanyInfo::~TfrmCompanyInfo() = default;

// ------------------------------------------------------------------ the pages

void TfrmCompanyInfo::pBuildCompanyPage()
{
    m_pageCompany = new QWidget(ppnlCompanyInfo);
    m_pageCompany->setObjectName(QStringLiteral("tbshtCompany"));
    QWidget* page = m_pageCompany;
    txtCompName = NewLimitedEdit(page, QStringLiteral("txtCompName"), 45);
    txtCompAddress = NewLimitedEdit(page, QStringLiteral("txtCompAddress"), 45);
    txtCompCity = NewLimitedEdit(page, QStringLiteral("txtCompCity"), 25);
    txtCompState = NewLimitedEdit(page, QStringLiteral("txtCompState"), 25);
    txtCompZipCode = NewLimitedEdit(page, QStringLiteral("txtCompZipCode"), 15);
    txtCompPhoneNumber = NewLimitedEdit(page, QStringLiteral("txtCompPhoneNumber"), 20);
    txtCompFaxNumber = NewLimitedEdit(page, QStringLiteral("txtCompFaxNumber"), 20);

    auto* form = new QFormLayout;
    form->addRow(MakeCaption(QStringLiteral("Company Name"), txtCompName, page), txtCompName);
    form->addRow(MakeCaption(QStringLiteral("Address"), txtCompAddress, page), txtCompAddress);
    form->addRow(MakeCaption(QStringLiteral("City"), txtCompCity, page), txtCompCity);
    form->addRow(MakeCaption(QStringLiteral("State"), txtCompState, page), txtCompState);
    form->addRow(MakeCaption(QStringLiteral("Zip Code"), txtCompZipCode, page), txtCompZipCode);
    form->addRow(MakeCaption(QStringLiteral("Phone Number"), txtCompPhoneNumber, page), txtCompPhoneNumber);
    form->addRow(MakeCaption(QStringLiteral("Fax Number"), txtCompFaxNumber, page), txtCompFaxNumber);

    lblLogo = new QLabel(QStringLiteral("No Logo"), page);
    lblLogo->setObjectName(QStringLiteral("lblLogo"));
    imgLogo = new QLabel(page);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFixedSize(kLargeLogoBox);
    imgLogo->setAlignment(Qt::AlignCenter);
    imgLogo->setFrameShape(QFrame::StyledPanel);
    imgLogoSmall = new QLabel(page);
    imgLogoSmall->setObjectName(QStringLiteral("imgLogoSmall"));
    imgLogoSmall->setFixedSize(kSmallLogoBox);
    imgLogoSmall->setAlignment(Qt::AlignCenter);
    imgLogoSmall->setFrameShape(QFrame::StyledPanel);
    lblBrowseForLogo = new QLabel(QStringLiteral("Browse for a new Company Logo"), page);
    lblBrowseForLogo->setObjectName(QStringLiteral("lblBrowseForLogo"));
    btnBrowseForLogo = MakeButton(page, QStringLiteral("btnBrowseForLogo"), QStringLiteral("Browse"));
    btnRemoveLogo = MakeButton(page, QStringLiteral("btnRemoveLogo"), QStringLiteral("Remove Logo"));
    rbtnSmallLogo = MakeRadio(page, QStringLiteral("rbtnSmallLogo"), QStringLiteral("Small Logo"));
    rbtnLargeLogo = MakeRadio(page, QStringLiteral("rbtnLargeLogo"), QStringLiteral("Large Logo"));

    auto* logoColumn = new QVBoxLayout;
    logoColumn->addWidget(lblLogo);
    logoColumn->addWidget(imgLogo);
    logoColumn->addWidget(imgLogoSmall);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(rbtnSmallLogo);
    sizeRow->addWidget(rbtnLargeLogo);
    sizeRow->addStretch(1);
    logoColumn->addLayout(sizeRow);
    logoColumn->addWidget(lblBrowseForLogo);
    auto* logoButtons = new QHBoxLayout;
    logoButtons->addWidget(btnBrowseForLogo);
    logoButtons->addWidget(btnRemoveLogo);
    logoButtons->addStretch(1);
    logoColumn->addLayout(logoButtons);
    logoColumn->addStretch(1);

    auto* layout = new QHBoxLayout(page);
    auto* formColumn = new QVBoxLayout;
    formColumn->addLayout(form);
    formColumn->addStretch(1);
    layout->addLayout(formColumn, 3);
    layout->addLayout(logoColumn, 2);

    connect(btnBrowseForLogo, &QPushButton::clicked, this, [this] { RunGuarded([this] { pBrowseForLogo(); }); });
    connect(btnRemoveLogo, &QPushButton::clicked, this, [this] { RunGuarded([this] { pRemoveLogo(); }); });
    for (QRadioButton* size : {rbtnSmallLogo, rbtnLargeLogo})
        connect(size, &QRadioButton::clicked, this, [this] {
            RunGuarded([this] {
                pSelectLogoSize();
                pEnableSavebtn();
            });
        });
    ppnlCompanyInfo->addTab(page, QStringLiteral("Company"));
}

void TfrmCompanyInfo::pBuildTaxPage()
{
    m_pageTax = new QWidget(ppnlCompanyInfo);
    m_pageTax->setObjectName(QStringLiteral("tbshtTax"));
    auto* layout = new QVBoxLayout(m_pageTax);
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        QGroupBox* group = MakeGroup(m_pageTax, QStringLiteral("gbxTaxOption") + n, QStringLiteral("Tax Option ") + n);
        txtTaxName[i] = NewLimitedEdit(group, QStringLiteral("txtTaxName") + n, 25);
        txtTax[i] = new QLineEdit(group);
        txtTax[i]->setObjectName(QStringLiteral("txtTax") + n);
        // One digit, the point and four digits; an empty position shows as a blank.
        txtTax[i]->setInputMask(QStringLiteral("9") + DisplayDecimalSeparator() + QStringLiteral("9999; "));
        txtTax[i]->setMaximumWidth(txtTax[i]->fontMetrics().horizontalAdvance(QStringLiteral("0.00000")) + 16);
        lblTaxNameHelp[i] = new QLabel(group);
        lblTaxNameHelp[i]->setObjectName(QStringLiteral("lblTaxNameHelp") + n);
        lblTaxAmountHelp[i] = new QLabel(group);
        lblTaxAmountHelp[i]->setObjectName(QStringLiteral("lblTaxAmountHelp") + n);

        auto* grid = new QGridLayout(group);
        grid->addWidget(MakeCaption(QStringLiteral("Tax Name"), txtTaxName[i], group), 0, 0);
        grid->addWidget(txtTaxName[i], 1, 0);
        grid->addWidget(lblTaxNameHelp[i], 2, 0, Qt::AlignTop);
        grid->addWidget(MakeCaption(QStringLiteral("Tax Amount"), txtTax[i], group), 0, 1);
        grid->addWidget(txtTax[i], 1, 1);
        grid->addWidget(lblTaxAmountHelp[i], 2, 1, Qt::AlignTop);
        grid->setColumnStretch(0, 1);
        grid->setColumnStretch(1, 1);
        layout->addWidget(group);

        QLineEdit* box = txtTax[i];
        connect(box, &QLineEdit::textChanged, this, [this, box] { RunGuarded([this, box] { pSetToNumber(box); }); });
    }
    layout->addStretch(1);
    ppnlCompanyInfo->addTab(m_pageTax, QStringLiteral("Tax"));
}

void TfrmCompanyInfo::pBuildInvoicePage()
{
    auto* page = new QWidget(ppnlCompanyInfo);
    page->setObjectName(QStringLiteral("tbshtInvoice"));

    QGroupBox* terms = MakeGroup(page, QStringLiteral("gbxPmtTerms"), QStringLiteral("Payment Terms"));
    auto* termList = new TKeyChoiceList(terms);
    lstPmtTerms = termList;
    lstPmtTerms->setObjectName(QStringLiteral("lstPmtTerms"));
    txtPmtTerm = NewLimitedEdit(terms, QStringLiteral("txtPmtTerm"), 25);
    btnAddPmtTerms = MakeButton(terms, QStringLiteral("btnAddPmtTerms"), QStringLiteral("Add"));
    btnRemovePmtTerms = MakeButton(terms, QStringLiteral("btnRemovePmtTerms"), QStringLiteral("Remove"));
    btnCancelPmtTerms = MakeButton(terms, QStringLiteral("btnCancelPmtTerms"), QStringLiteral("Cancel"));
    Label5 = new QLabel(terms);
    Label5->setObjectName(QStringLiteral("Label5"));
    auto* termsLayout = new QVBoxLayout(terms);
    termsLayout->addWidget(lstPmtTerms, 1);
    termsLayout->addWidget(txtPmtTerm);
    auto* termButtons = new QHBoxLayout;
    termButtons->addWidget(btnAddPmtTerms);
    termButtons->addWidget(btnRemovePmtTerms);
    termButtons->addWidget(btnCancelPmtTerms);
    termsLayout->addLayout(termButtons);
    termsLayout->addWidget(Label5);

    QGroupBox* notes = MakeGroup(page, QStringLiteral("gbxFootNotes"), QStringLiteral("Invoice Foot Notes"));
    auto* notesLayout = new QVBoxLayout(notes);
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        txtFtNote[i] = new TLineLimitedMemo(kFootNoteLimit, kMemoLines, notes);
        txtFtNote[i]->setObjectName(QStringLiteral("txtFtNote") + n);
        txtFtNote[i]->setTabChangesFocus(true);
        notesLayout->addWidget(MakeCaption(QStringLiteral("Foot Note ") + n, txtFtNote[i], notes));
        notesLayout->addWidget(txtFtNote[i]);
    }

    QGroupBox* days = MakeGroup(page, QStringLiteral("gbxDepositDays"),
                                QStringLiteral("Deposit percent, Number of Estimate/Change Order Days"));
    spinEditNumEstDays = MakeSpin(days, QStringLiteral("spinEditNumEstDays"), 180);
    spinEditDepPercent = MakeSpin(days, QStringLiteral("spinEditDepPercent"), 100);
    auto* daysLayout = new QFormLayout(days);
    daysLayout->addRow(MakeCaption(QStringLiteral("Number of days an Estimate/Change Order is Valid for:"),
                                   spinEditNumEstDays, days),
                       spinEditNumEstDays);
    daysLayout->addRow(MakeCaption(QStringLiteral("If you require a deposit, enter the percent:"), spinEditDepPercent,
                                   days),
                       spinEditDepPercent);

    auto* layout = new QGridLayout(page);
    layout->addWidget(terms, 0, 0);
    layout->addWidget(notes, 0, 1, 2, 1);
    layout->addWidget(days, 1, 0);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);

    connect(txtPmtTerm, &QLineEdit::textChanged, this, [this] { RunGuarded([this] { pTermTextChanged(); }); });
    connect(lstPmtTerms, &QListWidget::itemClicked, this, [this] { RunGuarded([this] { pTermClicked(); }); });
    termList->setKeyChoiceHandler([this](int row) { RunGuarded([this, row] { pTermChosenByKey(row); }); });
    // Typing over a term chosen with the keys holds the list until it is
    // changed or cancelled, as a click does at once.
    connect(txtPmtTerm, &QLineEdit::textEdited, this, [this] {
        if (m_selectedTerm >= 0) lstPmtTerms->setEnabled(false);
    });
    connect(btnAddPmtTerms, &QPushButton::clicked, this, [this] { RunGuarded([this] { pAddOrChangeTerm(); }); });
    connect(btnRemovePmtTerms, &QPushButton::clicked, this, [this] { RunGuarded([this] { pRemoveTerm(); }); });
    connect(btnCancelPmtTerms, &QPushButton::clicked, this, [this] { RunGuarded([this] { pCancelTerm(); }); });
    ppnlCompanyInfo->addTab(page, QStringLiteral("Invoice"));
}

void TfrmCompanyInfo::pBuildColorPage()
{
    auto* page = new QWidget(ppnlCompanyInfo);
    page->setObjectName(QStringLiteral("tbshtInvoiceColor"));
    QGroupBox* select = MakeGroup(page, QStringLiteral("gbxSelectColors"), QStringLiteral("Select Colors"));
    auto* grid = new QGridLayout(select);
    for (int type = 1; type <= 6; ++type) {
        const QString shortName = QLatin1String(kTypeShortNames[type]);
        lblTypeSample[type] = new QLabel(QLatin1String(kTypeSamples[type]), select);
        lblTypeSample[type]->setObjectName(QStringLiteral("lbl") + shortName + QStringLiteral("Sample"));
        QFont bold = lblTypeSample[type]->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.3);
        lblTypeSample[type]->setFont(bold);
        lblTypeSample[type]->setMinimumWidth(170);
        shpTypeSample[type] = MakeShape(select, QStringLiteral("Shape") + shortName + QStringLiteral("Color"), QSize(180, 6));
        btnTypeColor[type] = MakeButton(select, QLatin1String(kTypeButtonNames[type]),
                                        QLatin1String(kTypeButtonCaptions[type]));
        grid->addWidget(lblTypeSample[type], type - 1, 0);
        grid->addWidget(shpTypeSample[type], type - 1, 1);
        grid->addWidget(btnTypeColor[type], type - 1, 2);
        connect(btnTypeColor[type], &QPushButton::clicked, this,
                [this, type] { RunGuarded([this, type] { pChooseTypeColor(type); }); });
    }
    QGroupBox* all = MakeGroup(page, QStringLiteral("gbxAllInvTypeColor"), QStringLiteral("All Invoice Types This Color"));
    btnAllInvTypColor = MakeButton(all, QStringLiteral("btnAllInvTypColor"), QStringLiteral("All This Color"));
    auto* allLayout = new QHBoxLayout(all);
    allLayout->addWidget(btnAllInvTypColor);
    allLayout->addStretch(1);
    connect(btnAllInvTypColor, &QPushButton::clicked, this, [this] { RunGuarded([this] { pChooseAllTypesColor(); }); });

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(select);
    layout->addWidget(all);
    layout->addStretch(1);
    ppnlCompanyInfo->addTab(page, QStringLiteral("Invoice Color"));
}

void TfrmCompanyInfo::pBuildDescriptionPage()
{
    auto* page = new QWidget(ppnlCompanyInfo);
    page->setObjectName(QStringLiteral("tbshtInvoiceDescription"));
    QGroupBox* group = MakeGroup(page, QStringLiteral("gbxInvoiceDescription"), QStringLiteral("Invoice Description"));

    // A small picture of a printed line list: description, dotted leader, and
    // three right-hand columns filled from the right.
    auto* preview = new QFrame(group);
    preview->setObjectName(QStringLiteral("pnlDescriptionPreview"));
    preview->setFrameShape(QFrame::StyledPanel);
    preview->setAutoFillBackground(true);
    {
        QPalette palette = preview->palette();
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
        preview->setPalette(palette);
    }
    auto* grid = new QGridLayout(preview);
    auto* heading = new QLabel(QStringLiteral("Description"), preview);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, 0, 0);
    lblQuantityDisc = new QLabel(preview);
    lblQuantityDisc->setObjectName(QStringLiteral("lblQuantityDisc"));
    lblPriceEachDisc = new QLabel(preview);
    lblPriceEachDisc->setObjectName(QStringLiteral("lblPriceEachDisc"));
    lblTotalDisc = new QLabel(preview);
    lblTotalDisc->setObjectName(QStringLiteral("lblTotalDisc"));
    const std::array<QLabel*, 3> headings{lblQuantityDisc, lblPriceEachDisc, lblTotalDisc};
    const char* const positions[3] = {"Quantity", "PriceEach", "Total"};
    for (int col = 0; col < 3; ++col) {
        headings[col]->setFont(bold);
        headings[col]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        headings[col]->setMinimumWidth(80);
        grid->addWidget(headings[col], 0, 2 + col);
        lblPreviewLine1[col] = new QLabel(preview);
        lblPreviewLine1[col]->setObjectName(QStringLiteral("lbl%1Line1").arg(QLatin1String(positions[col])));
        lblPreviewLine2[col] = new QLabel(preview);
        lblPreviewLine2[col]->setObjectName(QStringLiteral("lbl%1Line2").arg(QLatin1String(positions[col])));
        for (QLabel* value : {lblPreviewLine1[col], lblPreviewLine2[col]})
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(lblPreviewLine1[col], 1, 2 + col);
        grid->addWidget(lblPreviewLine2[col], 2, 2 + col);
    }
    const QString leader(40, QLatin1Char('.'));
    grid->addWidget(new QLabel(QStringLiteral("Sample Price Item Line 1"), preview), 1, 0);
    grid->addWidget(new QLabel(leader, preview), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Sample Price Item Line 2"), preview), 2, 0);
    grid->addWidget(new QLabel(leader, preview), 2, 1);
    grid->setColumnStretch(1, 1);

    ckbxQuantity = new QCheckBox(QStringLiteral("Quantity"), group);
    ckbxQuantity->setObjectName(QStringLiteral("ckbxQuantity"));
    ckbxPriceEach = new QCheckBox(QStringLiteral("Price Each"), group);
    ckbxPriceEach->setObjectName(QStringLiteral("ckbxPriceEach"));
    ckbxTotal = new QCheckBox(QStringLiteral("Total"), group);
    ckbxTotal->setObjectName(QStringLiteral("ckbxTotal"));
    ckbxShowTotalonWO = new QCheckBox(QStringLiteral("Show Total on Work Order"), group);
    ckbxShowTotalonWO->setObjectName(QStringLiteral("ckbxShowTotalonWO"));

    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(preview);
    auto* boxes = new QHBoxLayout;
    for (QCheckBox* box : {ckbxQuantity, ckbxPriceEach, ckbxTotal, ckbxShowTotalonWO}) boxes->addWidget(box);
    boxes->addStretch(1);
    groupLayout->addLayout(boxes);
    for (QCheckBox* box : {ckbxQuantity, ckbxPriceEach, ckbxTotal})
        connect(box, &QCheckBox::clicked, this, [this] {
            RunGuarded([this] {
                pSetInvoiceDescription();
                pEnableSavebtn();
            });
        });

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch(1);
    ppnlCompanyInfo->addTab(page, QStringLiteral("Invoice Description"));
}

void TfrmCompanyInfo::pBuildGeneralPage()
{
    auto* page = new QWidget(ppnlCompanyInfo);
    page->setObjectName(QStringLiteral("tbshtGeneral"));

    QGroupBox* licences = MakeGroup(page, QStringLiteral("gbxLicense"), QStringLiteral("Company License Information"));
    auto* licenceForm = new QFormLayout(licences);
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        txtCompLicenseName[i] = NewLimitedEdit(licences, QStringLiteral("txtCompLicenseName") + n, 30);
        txtCompLicenseNumber[i] = NewLimitedEdit(licences, QStringLiteral("txtCompLicenseNumber") + n, 24);
        licenceForm->addRow(MakeCaption(QStringLiteral("Company License Name ") + n, txtCompLicenseName[i], licences),
                            txtCompLicenseName[i]);
        licenceForm->addRow(
            MakeCaption(QStringLiteral("Company License Number ") + n, txtCompLicenseNumber[i], licences),
            txtCompLicenseNumber[i]);
    }

    QGroupBox* writers = MakeGroup(page, QStringLiteral("gbxContractWarranty"),
                                   QStringLiteral("Contract and Warranty Information"));
    btnOpenContractWriter = MakeButton(writers, QStringLiteral("btnOpenContractWriter"), QStringLiteral("Contract Writer"));
    btnOpenWarrantyWriter = MakeButton(writers, QStringLiteral("btnOpenWarrantyWriter"), QStringLiteral("Warranty Writer"));
    auto* writersLayout = new QHBoxLayout(writers);
    writersLayout->addWidget(btnOpenContractWriter);
    writersLayout->addWidget(btnOpenWarrantyWriter);
    writersLayout->addStretch(1);
    connect(btnOpenContractWriter, &QPushButton::clicked, this, [] { RunGuarded([] { OpenContractWriter(); }); });
    connect(btnOpenWarrantyWriter, &QPushButton::clicked, this, [] { RunGuarded([] { OpenWarrantyWriter(); }); });

    QGroupBox* signature = MakeGroup(page, QStringLiteral("gbxSignature"), QStringLiteral("Signature line Information"));
    txtAcceptanceInfo = new TLineLimitedMemo(kAcceptanceLimit, kMemoLines, signature);
    txtAcceptanceInfo->setObjectName(QStringLiteral("txtAcceptanceInfo"));
    txtAcceptanceInfo->setTabChangesFocus(true);
    ShapeAcceptance = MakeShape(signature, QStringLiteral("ShapeAcceptance"), QSize(320, 110));
    {
        auto* band = new QVBoxLayout(ShapeAcceptance);
        for (const char* line : {"Authorized Signature____________________", "Signature _____________________________",
                                 "Signature _____________________________",
                                 "Date         _____________________________"})
            band->addWidget(new QLabel(QLatin1String(line), ShapeAcceptance));
    }
    btnAcceptanceColor = MakeButton(signature, QStringLiteral("btnAcceptanceColor"), QStringLiteral("Acceptance Area Color"));
    auto* signatureLayout = new QGridLayout(signature);
    signatureLayout->addWidget(MakeCaption(QStringLiteral("Acceptance Information"), txtAcceptanceInfo, signature), 0, 0);
    signatureLayout->addWidget(txtAcceptanceInfo, 1, 0);
    signatureLayout->setColumnStretch(0, 1);
    signatureLayout->addWidget(ShapeAcceptance, 0, 1, 2, 1);
    signatureLayout->addWidget(btnAcceptanceColor, 2, 1);
    connect(btnAcceptanceColor, &QPushButton::clicked, this, [this] {
        RunGuarded([this] {
            if (!pPickColor(m_accptColor, m_accptColor)) return;
            FillShape(ShapeAcceptance, m_accptColor);
            pEnableSavebtn();
        });
    });

    auto* layout = new QGridLayout(page);
    layout->addWidget(licences, 0, 0);
    layout->addWidget(writers, 0, 1, Qt::AlignTop);
    layout->addWidget(signature, 1, 0, 1, 2);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    ppnlCompanyInfo->addTab(page, QStringLiteral("General"));
}

void TfrmCompanyInfo::pBuildEmailPage()
{
    m_pageEmail = new QWidget(ppnlCompanyInfo);
    QWidget* page = m_pageEmail;
    page->setObjectName(QStringLiteral("tbshtEmail"));

    QGroupBox* prefill = MakeGroup(page, QStringLiteral("gbxEmailPreFill"), QStringLiteral("Email PreFill Information"));
    rbtnSubjectUseInvNameNum =
        MakeRadio(prefill, QStringLiteral("rbtnSubjectUseInvNameNum"), QStringLiteral("Use Invoice name and number"));
    rbtnSubjectPreFill = MakeRadio(prefill, QStringLiteral("rbtnSubjectPreFill"), QStringLiteral("Prefill"));
    txtCompEmailSubject = NewLimitedEdit(prefill, QStringLiteral("txtCompEmailSubject"), 40);
    txtCompEmailBody = new TLimitedMemo(kEmailBodyLimit, prefill);
    txtCompEmailBody->setObjectName(QStringLiteral("txtCompEmailBody"));
    txtCompEmailBody->setTabChangesFocus(true);
    lblEmailPreFillInfo = new QLabel(prefill);
    lblEmailPreFillInfo->setObjectName(QStringLiteral("lblEmailPreFillInfo"));
    auto* prefillLayout = new QVBoxLayout(prefill);
    prefillLayout->addWidget(new QLabel(QStringLiteral("Select Email Subject"), prefill));
    auto* subjectRow = new QHBoxLayout;
    subjectRow->addWidget(rbtnSubjectUseInvNameNum);
    subjectRow->addWidget(rbtnSubjectPreFill);
    subjectRow->addStretch(1);
    prefillLayout->addLayout(subjectRow);
    prefillLayout->addWidget(MakeCaption(QStringLiteral("Email Subject"), txtCompEmailSubject, prefill));
    prefillLayout->addWidget(txtCompEmailSubject);
    prefillLayout->addWidget(MakeCaption(QStringLiteral("Email Body"), txtCompEmailBody, prefill));
    prefillLayout->addWidget(txtCompEmailBody, 1);
    prefillLayout->addWidget(lblEmailPreFillInfo);

    QGroupBox* addresses = MakeGroup(page, QStringLiteral("gbxEmailWeb"), QStringLiteral("Email and Web Address"));
    txtCompEmailAddress = NewLimitedEdit(addresses, QStringLiteral("txtCompEmailAddress"), 45);
    txtCompWebAddress = NewLimitedEdit(addresses, QStringLiteral("txtCompWebAddress"), 45);
    auto* addressForm = new QFormLayout(addresses);
    addressForm->addRow(MakeCaption(QStringLiteral("Email Address"), txtCompEmailAddress, addresses), txtCompEmailAddress);
    addressForm->addRow(MakeCaption(QStringLiteral("Web Site Address"), txtCompWebAddress, addresses), txtCompWebAddress);

    QGroupBox* connection = MakeGroup(page, QStringLiteral("gbxConnection"), QStringLiteral("Connection Information"));
    txtCompEmailHost = NewLimitedEdit(connection, QStringLiteral("txtCompEmailHost"), 40);
    txtCompEmailPort = new QLineEdit(connection);
    txtCompEmailPort->setObjectName(QStringLiteral("txtCompEmailPort"));
    // Digits only: any other typed character is discarded.
    txtCompEmailPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), txtCompEmailPort));
    SetTypedLimit(txtCompEmailPort, 10);
    txtCompEmailLogin = NewLimitedEdit(connection, QStringLiteral("txtCompEmailLogin"), 50);
    txtCompEmailPassword = NewLimitedEdit(connection, QStringLiteral("txtCompEmailPassword"), 40);
    // The password is hidden unless the user asks to see it.
    txtCompEmailPassword->setEchoMode(QLineEdit::Password);
    ckbxShowPassword = new QCheckBox(QStringLiteral("Show Password"), connection);
    ckbxShowPassword->setObjectName(QStringLiteral("ckbxShowPassword"));
    auto* connectionForm = new QFormLayout(connection);
    connectionForm->addRow(MakeCaption(QStringLiteral("Server Information Outgoing Mail (SMTP)"), txtCompEmailHost,
                                       connection),
                           txtCompEmailHost);
    connectionForm->addRow(MakeCaption(QStringLiteral("Server Port Outgoing Mail (SMTP)"), txtCompEmailPort, connection),
                           txtCompEmailPort);
    connectionForm->addRow(MakeCaption(QStringLiteral("Email Login"), txtCompEmailLogin, connection), txtCompEmailLogin);
    connectionForm->addRow(MakeCaption(QStringLiteral("Email Password"), txtCompEmailPassword, connection),
                           txtCompEmailPassword);
    connectionForm->addRow(QString(), ckbxShowPassword);
    connect(ckbxShowPassword, &QCheckBox::toggled, this, [this](bool shown) {
        txtCompEmailPassword->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });

    for (QRadioButton* radio : {rbtnSubjectUseInvNameNum, rbtnSubjectPreFill})
        connect(radio, &QRadioButton::clicked, this, [this] {
            RunGuarded([this] {
                pSetEmailSubject();
                pEnableSavebtn();
            });
        });

    auto* layout = new QGridLayout(page);
    layout->addWidget(prefill, 0, 0, 2, 1);
    layout->addWidget(addresses, 0, 1);
    layout->addWidget(connection, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    ppnlCompanyInfo->addTab(page, QStringLiteral("Email"));
}

void TfrmCompanyInfo::pBuildPlannerPage()
{
    auto* page = new QWidget(ppnlCompanyInfo);
    page->setObjectName(QStringLiteral("tbshtPlanner"));

    QGroupBox* removal = MakeGroup(page, QStringLiteral("gbxRemoveActivities"),
                                   QStringLiteral("Automatically remove activities older than"));
    rbtn1Day = MakeRadio(removal, QStringLiteral("rbtn1Day"), QStringLiteral("1 Day"));
    rbtn30Day = MakeRadio(removal, QStringLiteral("rbtn30Day"), QStringLiteral("30 Day"));
    rbtn1Year = MakeRadio(removal, QStringLiteral("rbtn1Year"), QStringLiteral("1 Year"));
    rbtnDontRemove = MakeRadio(removal, QStringLiteral("rbtnDontRemove"), QStringLiteral("Do not Remove"));
    m_removeGroup = new QButtonGroup(this);
    m_removeGroup->addButton(rbtnDontRemove, 0);
    m_removeGroup->addButton(rbtn1Day, 1);
    m_removeGroup->addButton(rbtn30Day, 2);
    m_removeGroup->addButton(rbtn1Year, 3);
    auto* removalLayout = new QVBoxLayout(removal);
    for (QRadioButton* radio : {rbtn1Day, rbtn30Day, rbtn1Year, rbtnDontRemove}) removalLayout->addWidget(radio);

    QGroupBox* planner = MakeGroup(page, QStringLiteral("gbxDefaultPlanner"), QStringLiteral("Default  Planner"));
    rbtnDayPlanner = MakeRadio(planner, QStringLiteral("rbtnDayPlanner"), QStringLiteral("Day Planner"));
    rbtnWeekPlanner = MakeRadio(planner, QStringLiteral("rbtnWeekPlanner"), QStringLiteral("Week Planner"));
    rbtnMonthPlanner = MakeRadio(planner, QStringLiteral("rbtnMonthPlanner"), QStringLiteral("Month Planner"));
    m_plannerGroup = new QButtonGroup(this);
    m_plannerGroup->addButton(rbtnDayPlanner, 0);
    m_plannerGroup->addButton(rbtnWeekPlanner, 1);
    m_plannerGroup->addButton(rbtnMonthPlanner, 2);
    auto* plannerLayout = new QVBoxLayout(planner);
    for (QRadioButton* radio : {rbtnDayPlanner, rbtnWeekPlanner, rbtnMonthPlanner}) plannerLayout->addWidget(radio);

    QGroupBox* colors = MakeGroup(page, QStringLiteral("gbxPlannerColor"), QStringLiteral("Planner Color"));
    ShapeActivityActivityEdit = MakeShape(colors, QStringLiteral("ShapeActivityActivityEdit"), QSize(60, 24));
    ShapeWeekendActivityEdit = MakeShape(colors, QStringLiteral("ShapeWeekendActivityEdit"), QSize(60, 24));
    ShapeHighActivityEdit = MakeShape(colors, QStringLiteral("ShapeHighActivityEdit"), QSize(60, 24));
    btnActivityColor = MakeButton(colors, QStringLiteral("btnActivityColor"), QStringLiteral("Activity Color"));
    btnWeekendColor = MakeButton(colors, QStringLiteral("btnWeekendColor"), QStringLiteral("Weekend Color"));
    btnPriorityColor = MakeButton(colors, QStringLiteral("btnPriorityColor"), QStringLiteral("Priority Color"));
    auto* colorGrid = new QGridLayout(colors);
    const struct {
        const char* label;
        QFrame* shape;
        QPushButton* button;
        std::uint32_t* color;
    } rows[] = {
        {"Activity Color", ShapeActivityActivityEdit, btnActivityColor, &m_actColor},
        {"Weekend Color", ShapeWeekendActivityEdit, btnWeekendColor, &m_wkndColor},
        {"High Priority Activity Color", ShapeHighActivityEdit, btnPriorityColor, &m_priorityColor},
    };
    int row = 0;
    for (const auto& entry : rows) {
        colorGrid->addWidget(entry.shape, row, 0);
        colorGrid->addWidget(new QLabel(QLatin1String(entry.label), colors), row, 1);
        colorGrid->addWidget(entry.button, row, 2);
        QFrame* shape = entry.shape;
        std::uint32_t* color = entry.color;
        connect(entry.button, &QPushButton::clicked, this, [this, shape, color] {
            RunGuarded([this, shape, color] {
                if (!pPickColor(*color, *color)) return;
                FillShape(shape, *color);
                pEnableSavebtn();
            });
        });
        ++row;
    }

    auto* layout = new QGridLayout(page);
    layout->addWidget(removal, 0, 0);
    layout->addWidget(planner, 0, 1);
    layout->addWidget(colors, 1, 0, 1, 2);
    layout->setRowStretch(2, 1);
    ppnlCompanyInfo->addTab(page, QStringLiteral("Planner"));
}

// Every edit, memo, spin box, radio button and check box enables Save when it changes.
void TfrmCompanyInfo::pConnectChanges()
{
    const auto enable = [this] { RunGuarded([this] { pEnableSavebtn(); }); };
    for (QLineEdit* edit : {txtCompName, txtCompAddress, txtCompCity, txtCompState, txtCompZipCode,
                            txtCompPhoneNumber, txtCompFaxNumber, txtCompEmailSubject, txtCompEmailAddress,
                            txtCompWebAddress, txtCompEmailHost, txtCompEmailPort, txtCompEmailLogin,
                            txtCompEmailPassword})
        connect(edit, &QLineEdit::textChanged, this, enable);
    for (int i = 0; i < 3; ++i) {
        for (QLineEdit* edit : {txtTaxName[i], txtCompLicenseName[i], txtCompLicenseNumber[i]})
            connect(edit, &QLineEdit::textChanged, this, enable);
        connect(txtFtNote[i], &QPlainTextEdit::textChanged, this, enable);
    }
    connect(txtAcceptanceInfo, &QPlainTextEdit::textChanged, this, enable);
    connect(txtCompEmailBody, &QPlainTextEdit::textChanged, this, enable);
    for (QSpinBox* spin : {spinEditNumEstDays, spinEditDepPercent})
        connect(spin, &QSpinBox::valueChanged, this, enable);
    for (QRadioButton* radio : {rbtnSmallLogo, rbtnLargeLogo, rbtnSubjectUseInvNameNum, rbtnSubjectPreFill,
                                rbtnDontRemove, rbtn1Day, rbtn30Day, rbtn1Year, rbtnDayPlanner, rbtnWeekPlanner,
                                rbtnMonthPlanner})
        connect(radio, &QRadioButton::toggled, this, enable);
    for (QCheckBox* box : {ckbxQuantity, ckbxPriceEach, ckbxTotal, ckbxShowTotalonWO})
        connect(box, &QCheckBox::toggled, this, enable);
}

// ------------------------------------------------------------------- showing

void TfrmCompanyInfo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shownOnce && !event->spontaneous()) {
        m_shownOnce = true;
        txtCompName->setFocus();
    }
}

void TfrmCompanyInfo::pFormShow()
{
    // What the save compares against: the settings rows as stored now (another
    // seat may have saved them), read before the settings shown, so a change
    // made between the two reads is refused rather than overwritten.
    m_opened = ReadCompanySettingsVersion();
    UseStoredCompanySettings(m_opened);
    ppnlCompanyInfo->setCurrentWidget(m_pageCompany);
    pShowFormInformation();

    const TrecCompanyData& c = recCompanyData;
    ShowStoredText(txtCompName, c.strCompName);
    ShowStoredText(txtCompAddress, c.strCompAddress);
    ShowStoredText(txtCompCity, c.strCompCity);
    ShowStoredText(txtCompState, c.strCompState);
    ShowStoredText(txtCompZipCode, c.strCompZip);
    ShowStoredText(txtCompPhoneNumber, c.strCompPhone);
    ShowStoredText(txtCompFaxNumber, c.strCompFax);
    ShowStoredText(txtCompWebAddress, c.strCompWebSite);
    ShowStoredText(txtCompEmailHost, c.strCompEmailHost);
    ShowStoredText(txtCompEmailPort, c.strCompEmailPort);
    ShowStoredText(txtCompEmailLogin, c.strCompEmailLogin);
    ShowStoredText(txtCompEmailPassword, c.strCompEmailPassword);
    if (c.blCompEmailSubjectInvNameNum)
        rbtnSubjectUseInvNameNum->setChecked(true);
    else
        rbtnSubjectPreFill->setChecked(true);
    pSetEmailSubject();
    // A stored subject is shown even while the box is disabled.
    ShowStoredText(txtCompEmailSubject, c.strCompEmailSubject);
    txtCompEmailBody->setPlainText(c.strCompEmailBody);
    ShowStoredText(txtCompEmailAddress, c.strCompEmail);
    const std::array<const QString*, 3> licNames{&c.strCompLicName1, &c.strCompLicName2, &c.strCompLicName3};
    const std::array<const QString*, 3> licNums{&c.strCompLicNum1, &c.strCompLicNum2, &c.strCompLicNum3};
    for (int i = 0; i < 3; ++i) {
        ShowStoredText(txtCompLicenseName[i], *licNames[i]);
        ShowStoredText(txtCompLicenseNumber[i], *licNums[i]);
    }

    const TrecCmpnyInvData& d = recCmpnyInvData;
    const std::array<double, 3> rates{d.dbTaxRate1, d.dbTaxRate2, d.dbTaxRate3};
    const std::array<const QString*, 3> taxNames{&d.strTaxName1, &d.strTaxName2, &d.strTaxName3};
    for (int i = 0; i < 3; ++i) {
        txtTax[i]->setText(DisplayNumberText(TaxRateText(rates[i])));
        ShowStoredText(txtTaxName[i], *taxNames[i]);
    }

    lstPmtTerms->clear();
    lstPmtTerms->addItems(PaymentTermEntries(d.strInvTerms));

    for (int i = 0; i < 3; ++i) txtFtNote[i]->setStoredText(d.strInvFootNote[i + 1]);
    txtAcceptanceInfo->setStoredText(d.strAcceptanceInfo);
    m_accptColor = d.intAccptColor;
    FillShape(ShapeAcceptance, m_accptColor);

    spinEditDepPercent->setValue(d.intDepPercent);
    spinEditNumEstDays->setValue(d.intNumEstDays);

    if (d.blLargeLogo)
        rbtnLargeLogo->setChecked(true);
    else
        rbtnSmallLogo->setChecked(true);

    ckbxQuantity->setChecked(d.blShowQuantity);
    ckbxPriceEach->setChecked(d.blShowPrcEach);
    ckbxTotal->setChecked(d.blShowTotal);
    ckbxShowTotalonWO->setChecked(d.blShowTotalonWO);
    pSetInvoiceDescription();

    for (int type = 1; type <= 6; ++type) {
        m_typeColors[type] = arrInvTypeColor[type];
        pShowTypeColor(type);
    }

    pResetTermEditing();
    pShowNumOfPmtTerms();
    pGetTheLogo();
    pLoadPlannerSettings();
    m_pageEInvoice->pShowSettings(recEInvoiceSettings);

    m_saved = true;
    txtCompName->setFocus();
    pSetSaveEnabled(false);
}

void TfrmCompanyInfo::pShowFormInformation()
{
    setWindowTitle(QStringLiteral("Company Information"));
    m_selectedTerm = -1;

    m_actClose->setToolTip(QStringLiteral("Close"));
    m_actSave->setToolTip(QStringLiteral("Save changes to company information"));
    m_actHelp->setToolTip(QStringLiteral("Open Help"));

    txtCompName->setToolTip(QStringLiteral("Enter your Company Name"));
    txtCompAddress->setToolTip(QStringLiteral("Enter your Address"));
    txtCompCity->setToolTip(QStringLiteral("Enter your City"));
    txtCompState->setToolTip(QStringLiteral("Enter your State"));
    txtCompZipCode->setToolTip(QStringLiteral("Enter your Zip Code"));
    txtCompPhoneNumber->setToolTip(QStringLiteral("Enter your Phone Number"));
    txtCompFaxNumber->setToolTip(QStringLiteral("Enter your Fax Number"));
    btnBrowseForLogo->setToolTip(QStringLiteral("Browse for a new Company Logo"));
    btnRemoveLogo->setToolTip(QStringLiteral("Remove Company Logo"));
    rbtnSmallLogo->setToolTip(QStringLiteral("Use small company logo"));
    rbtnLargeLogo->setToolTip(QStringLiteral("Use Large company logo"));

    for (int i = 0; i < 3; ++i) {
        txtTaxName[i]->setToolTip(QStringLiteral("Enter a name for this tax option"));
        txtTax[i]->setToolTip(QStringLiteral("Enter a tax amount for this tax option"));
        lblTaxNameHelp[i]->setText(
            QStringLiteral("Enter the name of the tax. \nExample: Local Tax, City Tax, \nState Tax, Federal Tax "));
        lblTaxAmountHelp[i]->setText(TaxAmountHelpText());
    }

    lstPmtTerms->setToolTip(QStringLiteral("Select a Payment Term to edit"));
    txtPmtTerm->setToolTip(QStringLiteral("Enter or edit a Payment Term here"));
    btnAddPmtTerms->setToolTip(QStringLiteral("Add this Payment Term to the list"));
    btnRemovePmtTerms->setToolTip(QStringLiteral("Remove this Payment Term from the list"));
    btnCancelPmtTerms->setToolTip(QStringLiteral("Cancel changes to this Payment Term"));
    for (TLineLimitedMemo* note : txtFtNote) note->setToolTip(QStringLiteral("Enter a Invoice Foot Note"));
    spinEditNumEstDays->setToolTip(QStringLiteral("Number of days a Estimate is good for"));
    spinEditDepPercent->setToolTip(QStringLiteral("Enter a Deposit Percent"));

    for (int type = 1; type <= 6; ++type) btnTypeColor[type]->setToolTip(QLatin1String(kTypeButtonHints[type]));
    btnAllInvTypColor->setToolTip(QStringLiteral("Select a color for all Invoice types"));

    ckbxQuantity->setToolTip(QStringLiteral("Check to show Quantity on Invoice"));
    ckbxPriceEach->setToolTip(QStringLiteral("Check to show Price Each on Invoice"));
    ckbxTotal->setToolTip(QStringLiteral("Check to show line Total on Invoice"));
    ckbxShowTotalonWO->setToolTip(QStringLiteral("Check to show Total on Work Order"));

    for (int i = 0; i < 3; ++i) {
        txtCompLicenseName[i]->setToolTip(QStringLiteral("Enter your Company License Name"));
        txtCompLicenseNumber[i]->setToolTip(QStringLiteral("Enter your Company License Number"));
    }
    btnOpenContractWriter->setToolTip(QStringLiteral("Open Contract Writer form"));
    btnOpenWarrantyWriter->setToolTip(QStringLiteral("Open Warranty Writer form"));
    txtAcceptanceInfo->setToolTip(QStringLiteral("Enter Acceptance Information"));
    btnAcceptanceColor->setToolTip(QStringLiteral("Select Acceptance Information area color"));

    rbtnSubjectUseInvNameNum->setToolTip(QStringLiteral("Email will use the Invoice name and number for subject"));
    rbtnSubjectPreFill->setToolTip(QStringLiteral("Use to enter a Email subject or leave blank"));
    txtCompEmailSubject->setToolTip(QStringLiteral("Enter email subject information or leave blank."));
    txtCompEmailBody->setToolTip(QStringLiteral("Enter email Body text or leave blank."));
    lblEmailPreFillInfo->setText(
        QStringLiteral("You can prefill the Email Body text... \nYou may also leave it blank "));
    txtCompEmailAddress->setToolTip(QStringLiteral("Enter your Email Address"));
    txtCompWebAddress->setToolTip(QStringLiteral("Enter your Web Address"));
    txtCompEmailHost->setToolTip(QStringLiteral("Enter Your email Host - Outgoing Mail(SMTP)."));
    txtCompEmailPort->setToolTip(QStringLiteral("Enter Your email Port Number if needed."));
    txtCompEmailLogin->setToolTip(QStringLiteral("Enter Your email Login if needed."));
    txtCompEmailPassword->setToolTip(QStringLiteral("Enter Your email password if needed."));
    ckbxShowPassword->setToolTip(QStringLiteral("Check to show the email password"));

    rbtnDontRemove->setToolTip(QStringLiteral("Do not remove older Activities"));
    rbtn1Day->setToolTip(QStringLiteral("Remove Activities older than 1 day"));
    rbtn30Day->setToolTip(QStringLiteral("Remove Activities older than 30 days"));
    rbtn1Year->setToolTip(QStringLiteral("Remove Activities older than 1 Year"));
    rbtnDayPlanner->setToolTip(QStringLiteral("Set Default as Day Planner"));
    rbtnWeekPlanner->setToolTip(QStringLiteral("Set Default as Week Planner"));
    rbtnMonthPlanner->setToolTip(QStringLiteral("Set Default as Month Planner"));
    btnWeekendColor->setToolTip(QStringLiteral("Select a color for Weekends"));
    btnActivityColor->setToolTip(QStringLiteral("Select a color for Activities"));
    btnPriorityColor->setToolTip(QStringLiteral("Select a color for Priority Activities"));

    pSetSaveEnabled(false);
}

void TfrmCompanyInfo::pLoadPlannerSettings()
{
    const TrecPlannerSettings planner = LoadPlannerSettings();
    m_actColor = planner.intActColor;
    m_wkndColor = planner.intWkndColor;
    m_priorityColor = planner.intPriorityColor;
    FillShape(ShapeActivityActivityEdit, m_actColor);
    FillShape(ShapeWeekendActivityEdit, m_wkndColor);
    FillShape(ShapeHighActivityEdit, m_priorityColor);
    // A code outside the listed ones ticks nothing.
    if (IsRemovalCode(planner.intRemoveActivity)) m_removeGroup->button(planner.intRemoveActivity)->setChecked(true);
    if (IsDefaultPlannerCode(planner.intDefaultPlanner))
        m_plannerGroup->button(planner.intDefaultPlanner)->setChecked(true);
}

// ------------------------------------------------------------- enabling Save

void TfrmCompanyInfo::pSetSaveEnabled(bool enabled)
{
    m_actSave->setEnabled(enabled);
    m_actSave->setVisible(enabled);
}

bool TfrmCompanyInfo::pSaveEnabled() const { return m_actSave->isEnabled(); }

void TfrmCompanyInfo::pEnableSavebtn() { pSetSaveEnabled(true); }

void TfrmCompanyInfo::pSetToNumber(QLineEdit* box)
{
    const QString whole = SetToNumber(box->displayText(), DisplayDecimalSeparator());
    if (whole != box->displayText()) {
        const int cursor = box->cursorPosition();
        QSignalBlocker blocker(box);
        box->setText(whole);
        box->setCursorPosition(cursor);
    }
    pEnableSavebtn();
}

void TfrmCompanyInfo::pSetEmailSubject()
{
    if (rbtnSubjectUseInvNameNum->isChecked()) {
        txtCompEmailSubject->clear();
        txtCompEmailSubject->setEnabled(false);
    } else {
        ShowStoredText(txtCompEmailSubject, recCompanyData.strCompEmailSubject);
        txtCompEmailSubject->setEnabled(true);
    }
}

// ------------------------------------------------------------- payment terms

void TfrmCompanyInfo::pTermTextChanged()
{
    const bool hasText = !txtPmtTerm->text().isEmpty();
    if (m_selectedTerm < 0) {
        btnAddPmtTerms->setEnabled(hasText);
        btnCancelPmtTerms->setEnabled(hasText);
        lstPmtTerms->setEnabled(!hasText);
        if (lstPmtTerms->count() >= kMaxPaymentTerms) btnAddPmtTerms->setEnabled(false);
    } else {
        // A term is not changed into nothing: emptying the box leaves only
        // Remove and Cancel.
        btnAddPmtTerms->setEnabled(hasText);
        btnCancelPmtTerms->setEnabled(true);
        btnAddPmtTerms->setText(QStringLiteral("Change"));
        btnAddPmtTerms->setToolTip(QStringLiteral("Change this Payment Term on the list"));
    }
    pShowNumOfPmtTerms();
}

void TfrmCompanyInfo::pTermClicked()
{
    const int row = lstPmtTerms->currentRow();
    if (row < 0) return;
    m_selectedTerm = row;
    txtPmtTerm->setText(lstPmtTerms->item(row)->text());
    btnRemovePmtTerms->setEnabled(true);
    btnCancelPmtTerms->setEnabled(true);
    lstPmtTerms->setEnabled(false);
    pShowNumOfPmtTerms();
}

// A term chosen with the keys is taken into the edit box like a clicked one,
// but the list keeps the focus, so the arrows can go on to another term.
void TfrmCompanyInfo::pTermChosenByKey(int row)
{
    if (row < 0 || row >= lstPmtTerms->count()) return;
    m_selectedTerm = row;
    txtPmtTerm->setText(lstPmtTerms->item(row)->text());
    btnRemovePmtTerms->setEnabled(true);
    btnCancelPmtTerms->setEnabled(true);
    pShowNumOfPmtTerms();
}

void TfrmCompanyInfo::pAddOrChangeTerm()
{
    if (m_selectedTerm < 0)
        lstPmtTerms->addItem(txtPmtTerm->text());
    else
        lstPmtTerms->item(m_selectedTerm)->setText(txtPmtTerm->text());
    pResetTermEditing();
    pEnableSavebtn();
    pShowNumOfPmtTerms();
}

void TfrmCompanyInfo::pRemoveTerm()
{
    if (AskYesNoCancel(RemovePaymentTermQuestion(txtPmtTerm->text())) == MessageAnswer::Yes) {
        if (m_selectedTerm >= 0 && m_selectedTerm < lstPmtTerms->count()) delete lstPmtTerms->takeItem(m_selectedTerm);
        pResetTermEditing();
        pEnableSavebtn();
    }
    pShowNumOfPmtTerms();
}

void TfrmCompanyInfo::pCancelTerm()
{
    pResetTermEditing();
    pShowNumOfPmtTerms();
}

// No term being edited: empty box, the list enabled, the three buttons disabled.
void TfrmCompanyInfo::pResetTermEditing()
{
    m_selectedTerm = -1;
    {
        QSignalBlocker blocker(txtPmtTerm);
        txtPmtTerm->clear();
    }
    btnAddPmtTerms->setText(QStringLiteral("Add"));
    btnAddPmtTerms->setToolTip(QStringLiteral("Add this Payment Term to the list"));
    btnAddPmtTerms->setEnabled(false);
    btnRemovePmtTerms->setEnabled(false);
    btnCancelPmtTerms->setEnabled(false);
    lstPmtTerms->setEnabled(true);
    lstPmtTerms->clearSelection();
}

void TfrmCompanyInfo::pShowNumOfPmtTerms() { Label5->setText(PaymentTermsCountText(lstPmtTerms->count())); }

// ---------------------------------------------------------- column preview

void TfrmCompanyInfo::pSetInvoiceDescription()
{
    const auto columns = ColumnPreview(ckbxQuantity->isChecked(), ckbxPriceEach->isChecked(), ckbxTotal->isChecked());
    const std::array<QLabel*, 3> headings{lblQuantityDisc, lblPriceEachDisc, lblTotalDisc};
    for (int col = 0; col < 3; ++col) {
        headings[col]->setText(columns[col].heading);
        lblPreviewLine1[col]->setText(columns[col].line1);
        lblPreviewLine2[col]->setText(columns[col].line2);
    }
}

// ------------------------------------------------------------------- colours

bool TfrmCompanyInfo::pPickColor(std::uint32_t initial, std::uint32_t& chosen)
{
    QColorDialog picker(ToQColor(initial), this);
    picker.setObjectName(QStringLiteral("dlgColor"));
    if (RunModal(picker) != QDialog::Accepted) return false;
    chosen = FromQColor(picker.currentColor());
    return true;
}

void TfrmCompanyInfo::pShowTypeColor(int type)
{
    QPalette palette = lblTypeSample[type]->palette();
    palette.setColor(QPalette::WindowText, ToQColor(m_typeColors[type]));
    lblTypeSample[type]->setPalette(palette);
    FillShape(shpTypeSample[type], m_typeColors[type]);
}

void TfrmCompanyInfo::pChooseTypeColor(int type)
{
    if (!pPickColor(m_typeColors[type], m_typeColors[type])) return;
    pShowTypeColor(type);
    pEnableSavebtn();
}

void TfrmCompanyInfo::pChooseAllTypesColor()
{
    std::uint32_t color = m_typeColors[1];
    if (!pPickColor(color, color)) return;
    for (int type = 1; type <= 6; ++type) {
        m_typeColors[type] = color;
        pShowTypeColor(type);
    }
    pEnableSavebtn();
}

// ---------------------------------------------------------------------- logo

void TfrmCompanyInfo::pShowLogoState(bool present)
{
    btnRemoveLogo->setEnabled(present);
    rbtnSmallLogo->setEnabled(present);
    rbtnLargeLogo->setEnabled(present);
    lblLogo->setText(present ? QStringLiteral("Current Logo") : QStringLiteral("No Logo"));
}

void TfrmCompanyInfo::pGetTheLogo()
{
    // On a server the logo comes from the database (through a temp file).
    const TStoredLogo stored = ReadStoredLogo(LogoFileForPrinting());
    m_logo = stored.picture;
    if (m_logo.isNull()) m_logoChanged = false;
    // A file that cannot be read is named as such and can still be removed.
    pShowLogoState(stored.fileExists);
    if (stored.unreadable()) lblLogo->setText(UnreadableLogoText(stored.problem));
    pSelectLogoSize();
}

void TfrmCompanyInfo::pBrowseForLogo()
{
    QFileDialog dialog(this, QStringLiteral("Browse for a new Company Logo"));
    dialog.setObjectName(QStringLiteral("dlgOpenPicture"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QStringLiteral("All (*.jpg *.jpeg *.bmp *.png)"));
    if (RunModal(dialog) != QDialog::Accepted) return;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return;
    // A file that is not a picture is refused before anything on screen changes.
    m_logo = ReadLogoPicture(files.first());
    m_logoChanged = true;
    pShowLogoState(true);
    pSelectLogoSize();
    pEnableSavebtn();
}

void TfrmCompanyInfo::pRemoveLogo()
{
    if (AskYesNoCancel(QStringLiteral("Do you want to remove the current logo?")) != MessageAnswer::Yes) return;
    m_logoChanged = true;
    m_logo = QImage();
    pShowLogoState(false);
    pSelectLogoSize();
    pEnableSavebtn();
}

void TfrmCompanyInfo::pSelectLogoSize()
{
    imgLogo->clear();
    imgLogoSmall->clear();
    if (m_logo.isNull()) return;
    QLabel* box = rbtnLargeLogo->isChecked() ? imgLogo : imgLogoSmall;
    box->setPixmap(QPixmap::fromImage(
        m_logo.scaled(box->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

// -------------------------------------------------------------------- saving

TCompanySettings TfrmCompanyInfo::pSettingsOnScreen() const
{
    TCompanySettings s;
    TrecCompanyData& c = s.company;
    c.strCompName = txtCompName->text();
    c.strCompAddress = txtCompAddress->text();
    c.strCompCity = txtCompCity->text();
    c.strCompState = txtCompState->text();
    c.strCompZip = txtCompZipCode->text();
    c.strCompPhone = txtCompPhoneNumber->text();
    c.strCompFax = txtCompFaxNumber->text();
    c.strCompLicName1 = txtCompLicenseName[0]->text();
    c.strCompLicNum1 = txtCompLicenseNumber[0]->text();
    c.strCompLicName2 = txtCompLicenseName[1]->text();
    c.strCompLicNum2 = txtCompLicenseNumber[1]->text();
    c.strCompLicName3 = txtCompLicenseName[2]->text();
    c.strCompLicNum3 = txtCompLicenseNumber[2]->text();
    c.strCompWebSite = txtCompWebAddress->text();
    c.strCompEmail = txtCompEmailAddress->text();
    c.strCompEmailHost = txtCompEmailHost->text();
    c.strCompEmailPort = txtCompEmailPort->text();
    c.strCompEmailLogin = txtCompEmailLogin->text();
    c.strCompEmailPassword = txtCompEmailPassword->text();
    c.blCompEmailSubjectInvNameNum = rbtnSubjectUseInvNameNum->isChecked();
    c.strCompEmailSubject = txtCompEmailSubject->text();
    c.strCompEmailBody = txtCompEmailBody->toPlainText();

    TrecCmpnyInvData& d = s.invData;
    d.dbTaxRate1 = StrToFloat(TaxBoxStoredText(txtTax[0]));
    d.dbTaxRate2 = StrToFloat(TaxBoxStoredText(txtTax[1]));
    d.dbTaxRate3 = StrToFloat(TaxBoxStoredText(txtTax[2]));
    d.strTaxName1 = txtTaxName[0]->text();
    d.strTaxName2 = txtTaxName[1]->text();
    d.strTaxName3 = txtTaxName[2]->text();
    QStringList terms;
    for (int row = 0; row < lstPmtTerms->count(); ++row) terms.append(lstPmtTerms->item(row)->text());
    d.strInvTerms = PaymentTermSlots(terms);
    for (int i = 0; i < 3; ++i) d.strInvFootNote[i + 1] = txtFtNote[i]->toPlainText();
    d.strAcceptanceInfo = txtAcceptanceInfo->toPlainText();
    d.intAccptColor = m_accptColor;
    d.intNumEstDays = spinEditNumEstDays->value();
    d.intDepPercent = spinEditDepPercent->value();
    d.blLargeLogo = rbtnLargeLogo->isChecked();
    d.blShowQuantity = ckbxQuantity->isChecked();
    d.blShowPrcEach = ckbxPriceEach->isChecked();
    d.blShowTotal = ckbxTotal->isChecked();
    d.blShowTotalonWO = ckbxShowTotalonWO->isChecked();

    s.typeColors = m_typeColors;
    s.planner.intActColor = m_actColor;
    s.planner.intWkndColor = m_wkndColor;
    s.planner.intPriorityColor = m_priorityColor;
    // Nothing ticked saves 0.
    s.planner.intRemoveActivity = std::max(0, m_removeGroup->checkedId());
    s.planner.intDefaultPlanner = std::max(0, m_plannerGroup->checkedId());
    s.einvoice = m_pageEInvoice->pSettingsOnScreen();
    return s;
}

bool TfrmCompanyInfo::pSaveCompInfo()
{
    m_saved = false;
    if (m_readFailed) throw AppError(QStringLiteral("Company Information could not be read and is not saved over"));
    std::array<QString, 3> rates;
    std::array<QString, 3> names;
    for (int i = 0; i < 3; ++i) {
        rates[i] = TaxBoxStoredText(txtTax[i]);
        names[i] = txtTaxName[i]->text();
    }
    if (const int option = TaxOptionMissingName(rates, names)) {
        ppnlCompanyInfo->setCurrentWidget(m_pageTax);
        ShowInformation(TaxNameMissingMessage(option));
        txtTaxName[option - 1]->setFocus();
        return false;
    }
    if (!MailPortAllowed(txtCompEmailPort->text())) {
        ppnlCompanyInfo->setCurrentWidget(m_pageEmail);
        ShowInformation(MailPortMessage());
        txtCompEmailPort->setFocus();
        return false;
    }
    QString einvoiceProblem;
    if (QWidget* box = m_pageEInvoice->pFirstUnfitBox(einvoiceProblem)) {
        ppnlCompanyInfo->setCurrentWidget(m_pageEInvoice);
        ShowInformation(einvoiceProblem);
        box->setFocus();
        return false;
    }

    {
        TSavingNoticeScope notice(QStringLiteral("Saving Company Data ..."));
        SaveCompanySettings(pSettingsOnScreen(), TLogoChange{m_logoChanged, m_logo}, &m_opened);
    }
    m_logoChanged = false;
    m_saved = true;
    pSetSaveEnabled(false);
    return true;
}

// ------------------------------------------------------------------- closing

void TfrmCompanyInfo::done(int result)
{
    if (pSaveEnabled() && !m_readFailed) {
        switch (AskYesNoCancel(QStringLiteral("Do you want to save changes to Company Information?"))) {
        case MessageAnswer::Yes: {
            bool saved = false;
            RunGuarded([this, &saved] { saved = pSaveCompInfo(); });
            if (!saved) return;
            break;
        }
        case MessageAnswer::No: break;
        default: return;
        }
    }
    CloseSavingNotice();
    QDialog::done(result);
}
