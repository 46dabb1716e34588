#include "prices/unitfrmPrice.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitDialogs.h"
#include "app/unitErrorHandler.h"
#include "app/unitLimitedEdit.h"
#include "app/unitScreenParts.h"
#include "app/unitfrmSaving.h"
#include "db/unitStoredValues.h"
#include "app/unitNumberInput.h"
#include "app/unitRegional.h"
#include "prices/unitPriceHandOver.h"
#include "prices/unitPriceListModel.h"
#include "prices/unitPriceRules.h"
#include "prices/unitPriceSearch.h"
#include "prices/unitPriceStore.h"
#include "printing/unitModPrintData.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kNumberBoxLimit = 10;
constexpr int kDescriptionLimit = 45;

QLineEdit* MakeNumberEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(kNumberBoxLimit);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000.00")) + 12);
    InstallNumberInputRule(edit);
    return edit;
}

} // namespace

TfrmPrice::TfrmPrice(TPriceScreenMode mode, QWidget* parent)
    : QDialog(parent), m_pickMode(mode == TPriceScreenMode::Pick)
{
    setObjectName(QStringLiteral("frmPrice"));
    auto* mainLayout = new QVBoxLayout(this);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_actClose = NewToolBarAction(m_toolBar, "tlbtnClose", QStringLiteral("Close"));
    m_actPrintPreview = NewToolBarAction(m_toolBar, "tlbtnPrintPreview", QStringLiteral("Print Preview"));
    m_actPrint = NewToolBarAction(m_toolBar, "tlbtnPrint", QStringLiteral("Print"));
    m_actCancel = NewToolBarAction(m_toolBar, "tlbtnCancel", QStringLiteral("Cancel"));
    m_actNew = NewToolBarAction(m_toolBar, "tlbtnNewPriceItem", QStringLiteral("New Price Item"));
    m_actSave = NewToolBarAction(m_toolBar, "tlbtnSave", QStringLiteral("Save"));
    m_actDelete = NewToolBarAction(m_toolBar, "tlbtnDelete", QStringLiteral("Delete"));
    m_actHelp = NewToolBarAction(m_toolBar, "tlbtnHelp", QStringLiteral("Help"));
    mainLayout->addWidget(m_toolBar);

    // Search type, search text and the list.
    cmbSearchPrcItm = new QComboBox(this);
    cmbSearchPrcItm->setObjectName(QStringLiteral("cmbSearchPrcItm"));
    cmbSearchPrcItm->addItems(PriceSearchTypeNames());
    txtSearchPrcItm = new QLineEdit(this);
    txtSearchPrcItm->setObjectName(QStringLiteral("txtSearchPrcItm"));
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(MakeCaption(QStringLiteral("Search for Price Item by:"), cmbSearchPrcItm, this));
    searchRow->addWidget(cmbSearchPrcItm);
    searchRow->addWidget(txtSearchPrcItm, 1);
    mainLayout->addLayout(searchRow);

    lstPrice = new QTableView(this);
    lstPrice->setObjectName(QStringLiteral("lstPrice"));
    m_listModel = new TPriceListModel(this);
    lstPrice->setModel(m_listModel);
    SetUpRowList(lstPrice);
    lstPrice->setColumnWidth(TPriceListModel::colDescription, 420);
    lstPrice->setColumnWidth(TPriceListModel::colLaborPrice, 120);
    lstPrice->setColumnWidth(TPriceListModel::colMaterialPrice, 120);
    for (int column = TPriceListModel::kFirstHiddenColumn; column < TPriceListModel::colCount; ++column)
        lstPrice->setColumnHidden(column, true);
    mainLayout->addWidget(lstPrice, 1);

    // The edit area below the list.
    gbxEditArea = new QGroupBox(this);
    gbxEditArea->setObjectName(QStringLiteral("gbxEditArea"));
    lblPriceItmID = NewPlainLabel(gbxEditArea);
    lblPriceItmID->setObjectName(QStringLiteral("lblPriceItmID"));
    lblPriceItmID->setVisible(false);
    txtPriceItmDiscription = new QLineEdit(gbxEditArea);
    txtPriceItmDiscription->setObjectName(QStringLiteral("txtPriceItmDiscription"));
    SetTypedLimit(txtPriceItmDiscription, kDescriptionLimit);
    txtLaborPrice = MakeNumberEdit(gbxEditArea, "txtLaborPrice");
    ckbxLaborTaxable = new QCheckBox(QStringLiteral("Labor Taxable"), gbxEditArea);
    ckbxLaborTaxable->setObjectName(QStringLiteral("ckbxLaborTaxable"));
    txtMatPrice = MakeNumberEdit(gbxEditArea, "txtMatPrice");
    ckbxMatTaxable = new QCheckBox(QStringLiteral("Material Taxable"), gbxEditArea);
    ckbxMatTaxable->setObjectName(QStringLiteral("ckbxMatTaxable"));
    txtQuantity = MakeNumberEdit(gbxEditArea, "txtQuantity");
    lblQuantity = MakeCaption(QStringLiteral("Quantity"), txtQuantity, gbxEditArea);
    btnAddPriceItnToInvoice = new QPushButton(QStringLiteral("Add To Invoice"), gbxEditArea);
    btnAddPriceItnToInvoice->setObjectName(QStringLiteral("btnAddPriceItnToInvoice"));
    btnAddPriceItnToInvoice->setEnabled(false);
    btnAddPriceItnToInvoice->setAutoDefault(false);   // Enter in a box must not hand the item over
    // Quantity and "Add To Invoice" belong to picking an item for a document.
    lblQuantity->setVisible(m_pickMode);
    txtQuantity->setVisible(m_pickMode);
    btnAddPriceItnToInvoice->setVisible(m_pickMode);

    auto* grid = new QGridLayout(gbxEditArea);
    grid->addWidget(MakeCaption(QStringLiteral("Price Item Description"), txtPriceItmDiscription, gbxEditArea), 0, 0);
    grid->addWidget(txtPriceItmDiscription, 0, 1, 1, 3);
    grid->addWidget(MakeCaption(QStringLiteral("Labor Price"), txtLaborPrice, gbxEditArea), 1, 0);
    grid->addWidget(txtLaborPrice, 1, 1);
    grid->addWidget(ckbxLaborTaxable, 1, 2);
    grid->addWidget(MakeCaption(QStringLiteral("Material Price"), txtMatPrice, gbxEditArea), 2, 0);
    grid->addWidget(txtMatPrice, 2, 1);
    grid->addWidget(ckbxMatTaxable, 2, 2);
    grid->addWidget(lblQuantity, 3, 0);
    grid->addWidget(txtQuantity, 3, 1);
    grid->addWidget(btnAddPriceItnToInvoice, 3, 3, Qt::AlignRight);
    grid->addWidget(lblPriceItmID, 4, 0);
    grid->setColumnStretch(3, 1);
    mainLayout->addWidget(gbxEditArea);

    for (QLineEdit* edit : {txtPriceItmDiscription, txtLaborPrice, txtMatPrice})
        connect(edit, &QLineEdit::textChanged, this, [this] { RunGuarded([this] { pEnableSaveButton(); }); });
    for (QCheckBox* box : {ckbxLaborTaxable, ckbxMatTaxable})
        connect(box, &QCheckBox::clicked, this, [this] { RunGuarded([this] { pEnableSaveButton(); }); });
    connect(txtQuantity, &QLineEdit::textChanged, this, [this] { RunGuarded([this] { pEnableAddToInvoice(); }); });

    connect(cmbSearchPrcItm, &QComboBox::currentIndexChanged, this,
            [this] { RunGuarded([this] { pSearchTypeChanged(); }); });
    connect(txtSearchPrcItm, &QLineEdit::textChanged, this, [this] { RunGuarded([this] { pQueryPriceList(); }); });
    connect(lstPrice, &QTableView::clicked, this, [this] { RunGuarded([this] { pLoadPriceItem(); }); });
    connect(lstPrice, &QTableView::activated, this, [this] { RunGuarded([this] { pLoadPriceItem(); }); });

    connect(m_actClose, &QAction::triggered, this, [this] { close(); });
    connect(m_actPrint, &QAction::triggered, this, [this] { RunGuarded([this] { pPrintPriceSheet(false); }); });
    connect(m_actPrintPreview, &QAction::triggered, this, [this] { RunGuarded([this] { pPrintPriceSheet(true); }); });
    connect(m_actCancel, &QAction::triggered, this, [this] { RunGuarded([this] { pCancelEdit(); }); });
    connect(m_actNew, &QAction::triggered, this, [this] { RunGuarded([this] { pNewPriceItem(); }); });
    connect(m_actSave, &QAction::triggered, this, [this] { RunGuarded([this] { pSavePriceItem(); }); });
    connect(m_actDelete, &QAction::triggered, this, [this] { RunGuarded([this] { pDeletePriceItem(); }); });
    connect(m_actHelp, &QAction::triggered, this, [] { RunGuarded([] { OpenHelpFile(); }); });
    connect(btnAddPriceItnToInvoice, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { pAddToInvoice(); }); });

    resize(820, 600);

    // Start: caption and hints, then a cleared edit area (which fills the list).
    RunGuarded([this] {
        pShowFormInformation();
        pClearEditArea();
    });
}

TfrmPrice::~TfrmPrice() = default;

void TfrmPrice::pShowFormInformation()
{
    setWindowTitle(QStringLiteral("Price Sheet"));
    m_actClose->setToolTip(QStringLiteral("Close"));
    m_actHelp->setToolTip(QStringLiteral("Open Help"));
    m_actPrint->setToolTip(QStringLiteral("Print current Price list"));
    m_actPrintPreview->setToolTip(QStringLiteral("Print Preview current Price list"));
    lstPrice->setToolTip(QStringLiteral("Select a Price Item to edit"));
    cmbSearchPrcItm->setToolTip(QStringLiteral("Select a search type for a Price Item"));
    txtSearchPrcItm->setToolTip(QStringLiteral("Type a name for a Price Item to search for"));
    txtPriceItmDiscription->setToolTip(QStringLiteral("Type a name for the Price Item"));
    txtLaborPrice->setToolTip(QStringLiteral("Enter a Labor Price"));
    txtMatPrice->setToolTip(QStringLiteral("Enter a Material Price"));
    txtQuantity->setToolTip(QStringLiteral("Enter a Quantity for this Price Item"));
    ckbxLaborTaxable->setToolTip(QStringLiteral("Check if Labor is taxable for this Price Item"));
    ckbxMatTaxable->setToolTip(QStringLiteral("Check if Material is taxable for this Price Item"));
    m_actCancel->setToolTip(QStringLiteral("Cancel Edit of this price Item"));
    btnAddPriceItnToInvoice->setToolTip(QStringLiteral("Add this Price Item to your Invoice"));
    m_actNew->setToolTip(QStringLiteral("Add a new Price Item to your list"));
    m_actDelete->setToolTip(QStringLiteral("Remove current Price Item from your list"));
    m_actSave->setToolTip(QStringLiteral("Save current Price Item to your list"));
}

void TfrmPrice::pSetActionShown(QAction* action, bool shown)
{
    action->setEnabled(shown);
    action->setVisible(shown);
}

bool TfrmPrice::pSaveEnabled() const { return m_actSave->isEnabled(); }

// Browsing: the list and its search type are usable and the edit area is not;
// editing: the other way round, so no other row can be picked meanwhile.
void TfrmPrice::pSetEditing(bool editing)
{
    lstPrice->setEnabled(!editing);
    cmbSearchPrcItm->setEnabled(!editing);
    for (QWidget* control : std::initializer_list<QWidget*>{txtPriceItmDiscription, txtLaborPrice, txtMatPrice,
                                                            ckbxLaborTaxable, ckbxMatTaxable, txtQuantity})
        control->setEnabled(editing);
}

void TfrmPrice::pClearEditArea()
{
    pSetEditing(false);
    for (QLineEdit* edit : {txtLaborPrice, txtMatPrice, txtQuantity}) edit->clear();
    ClearToTypedLimit(txtPriceItmDiscription);
    lblPriceItmID->clear();
    ckbxLaborTaxable->setChecked(false);
    ckbxMatTaxable->setChecked(false);
    pSetActionShown(m_actNew, true);
    pSetActionShown(m_actDelete, false);
    pSetActionShown(m_actSave, false);
    pSetActionShown(m_actCancel, false);
    btnAddPriceItnToInvoice->setEnabled(false);
    {
        // One refill below, not one per signal.
        QSignalBlocker searchTypeBlocker(cmbSearchPrcItm);
        cmbSearchPrcItm->setCurrentIndex(pstAllPriceItems);
    }
    pSearchTypeChanged();
}

void TfrmPrice::pSearchTypeChanged()
{
    const int searchType = cmbSearchPrcItm->currentIndex();
    {
        QSignalBlocker blocker(txtSearchPrcItm);
        if (!PriceSearchNeedsText(searchType)) txtSearchPrcItm->clear();
    }
    txtSearchPrcItm->setEnabled(PriceSearchNeedsText(searchType));
    if (PriceSearchNeedsText(searchType)) txtSearchPrcItm->setFocus();
    pQueryPriceList();
}

void TfrmPrice::pQueryPriceList()
{
    m_listModel->setSearch(cmbSearchPrcItm->currentIndex(), txtSearchPrcItm->text());
    pEnablePrintButton();
}

void TfrmPrice::pLoadPriceItem()
{
    if (!lstPrice->isEnabled()) return;
    const QModelIndexList selected = lstPrice->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int row = selected.first().row();
    // The item is read again as it is stored now (another seat may have changed
    // it since the list was filled), and that read is what its save compares.
    const qint64 itemId = m_listModel->cellText(row, TPriceListModel::colPriceItmID).toLongLong();
    const std::optional<TPriceItem> item = LoadPriceItem(itemId, &m_opened);
    if (!item) {
        pQueryPriceList();
        throw AppError(QStringLiteral("This price item is no longer in the database; it may have been deleted."));
    }
    // A longer description stored earlier is shown whole, not cut to the typing limit.
    ShowStoredText(txtPriceItmDiscription, item->strPrcItemName);
    txtLaborPrice->setText(DisplayNumberText(item->strLbrPrc));
    txtMatPrice->setText(DisplayNumberText(item->strMatPrc));
    ckbxLaborTaxable->setChecked(StrToBool(item->strLabTax));
    ckbxMatTaxable->setChecked(StrToBool(item->strMatTax));
    lblPriceItmID->setText(QString::number(itemId));

    pSetEditing(true);
    pSetActionShown(m_actNew, false);
    pSetActionShown(m_actDelete, true);
    pSetActionShown(m_actSave, false);
    pSetActionShown(m_actCancel, true);
    pEnablePrintButton();
    if (m_pickMode)
        txtQuantity->setFocus();
    else
        txtPriceItmDiscription->setFocus();
}

void TfrmPrice::pNewPriceItem()
{
    m_opened = TRecordVersion();
    pSetEditing(true);
    pSetActionShown(m_actNew, false);
    pSetActionShown(m_actDelete, false);
    pSetActionShown(m_actSave, false);
    pSetActionShown(m_actCancel, true);
    pEnablePrintButton();
    txtPriceItmDiscription->setFocus();
}

void TfrmPrice::pWritePriceItem()
{
    TSavingNoticeScope notice(QStringLiteral("Saving Price Information..."));
    txtLaborPrice->setText(PriceBoxOrZero(txtLaborPrice->text()));
    txtMatPrice->setText(PriceBoxOrZero(txtMatPrice->text()));
    TPriceItem item;
    if (!lblPriceItmID->text().isEmpty()) item.intPrcItemNumID = lblPriceItmID->text().toLongLong();
    item.strPrcItemName = txtPriceItmDiscription->text();
    item.strLabTax = BoolToStr(ckbxLaborTaxable->isChecked());
    item.strMatTax = BoolToStr(ckbxMatTaxable->isChecked());
    item.strLbrPrc = txtLaborPrice->text();
    item.strMatPrc = txtMatPrice->text();
    SavePriceItem(item, &m_opened);
}

void TfrmPrice::pSavePriceItem()
{
    pWritePriceItem();
    pClearEditArea();
}

void TfrmPrice::pDeletePriceItem()
{
    if (AskYesNoCancel(QStringLiteral("Delete this Price Item from your list?")) != MessageAnswer::Yes) return;
    if (lblPriceItmID->text().isEmpty()) return;
    {
        TSavingNoticeScope notice(QStringLiteral("Deleting Price Information..."));
        DeletePriceItem(lblPriceItmID->text().toLongLong());
    }
    pClearEditArea();
}

void TfrmPrice::pCancelEdit()
{
    if (pSaveEnabled()) {
        switch (AskYesNoCancel(QStringLiteral("Save changes to this Price Item?"))) {
        case MessageAnswer::Yes: pWritePriceItem(); break;
        case MessageAnswer::No: break;
        default: return;
        }
    }
    pClearEditArea();
    lstPrice->setFocus();
}

bool TfrmPrice::pLeaveEditAllowed()
{
    if (!pSaveEnabled()) return true;
    switch (AskYesNoCancel(QStringLiteral("Save changes to this Price Item?"))) {
    case MessageAnswer::Yes: {
        const bool saved = RunGuarded([this] { pWritePriceItem(); });
        if (saved) pSetActionShown(m_actSave, false);
        return saved;
    }
    case MessageAnswer::No: return true;
    default: return false;
    }
}

void TfrmPrice::done(int result)
{
    if (!pLeaveEditAllowed()) return;
    CloseSavingNotice();
    QDialog::done(result);
}

void TfrmPrice::pAddToInvoice()
{
    txtLaborPrice->setText(PriceBoxOrZero(txtLaborPrice->text()));
    txtMatPrice->setText(PriceBoxOrZero(txtMatPrice->text()));
    // Pasted text passes the key filter; the document must not receive a line
    // it cannot compute, so each number is read here first (an error is shown
    // and nothing is handed over).
    for (const QLineEdit* box : {txtLaborPrice, txtMatPrice, txtQuantity}) PriceTextToNumber(box->text());
    recPrices.strPrcItemName = txtPriceItmDiscription->text();
    recPrices.strLbrPrc = StoredNumberText(txtLaborPrice->text());
    recPrices.strMatPrc = StoredNumberText(txtMatPrice->text());
    recPrices.strLabTax = BoolToStr(ckbxLaborTaxable->isChecked());
    recPrices.strMatTax = BoolToStr(ckbxMatTaxable->isChecked());
    recPrices.strQuantity = StoredNumberText(txtQuantity->text());
    recPrices.blEdited = false;
    // Cancel at the save question keeps the screen open: then nothing is handed
    // over, or a later close would pass on a line the user turned back from.
    if (!close() || isVisible()) recPrices.clear();
}

void TfrmPrice::pEnableSaveButton()
{
    pSetActionShown(m_actSave, PriceItemCanBeSaved(txtPriceItmDiscription->text(), txtLaborPrice->text(),
                                                   txtMatPrice->text()));
}

void TfrmPrice::pEnableAddToInvoice()
{
    btnAddPriceItnToInvoice->setEnabled(AddToInvoiceEnabled(txtPriceItmDiscription->text(), txtLaborPrice->text(),
                                                            txtMatPrice->text(), txtQuantity->text(),
                                                            btnAddPriceItnToInvoice->isEnabled()));
}

void TfrmPrice::pEnablePrintButton()
{
    const bool allowed = PricePrintAllowed(lstPrice->isEnabled(), m_listModel->rowCount(), m_pickMode);
    pSetActionShown(m_actPrint, allowed);
    pSetActionShown(m_actPrintPreview, allowed);
}

void TfrmPrice::pPrintPriceSheet(bool preview)
{
    // What is printed is the list as it stands: the current search result, in
    // list order, with the prices as the list shows them; the rows not read yet
    // are read first.
    recPrintLists.priceRows.clear();
    m_listModel->readAll();
    for (int row = 0; row < m_listModel->rowCount(); ++row) {
        const TPriceListRow item = m_listModel->rowAt(row);
        const auto cell = [&item](int column) { return TPriceListModel::cellTextOf(item, column); };
        recPrintLists.priceRows.append({cell(TPriceListModel::colDescription), cell(TPriceListModel::colLaborPrice),
                                        cell(TPriceListModel::colMaterialPrice), cell(TPriceListModel::colLabTax),
                                        cell(TPriceListModel::colMatTax)});
    }
    intPrintJob = pjPriceSheet;
    if (preview)
        modPrintData.pPrintPreview();
    else
        modPrintData.pPrint();
}
