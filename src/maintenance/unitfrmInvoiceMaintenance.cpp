#include "maintenance/unitfrmInvoiceMaintenance.h"

#include "app/unitAppInfo.h"
#include "app/unitDialogs.h"
#include "app/unitDispatch.h"
#include "app/unitErrorHandler.h"
#include "app/unitScreenParts.h"
#include "documents/unitMainCounters.h"
#include "app/unitModeValues.h"
#include "maintenance/unitInvMaintenanceListModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QShowEvent>
#include <QStringListModel>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTableView>
#include <QVBoxLayout>

TfrmInvoiceMaintenance::TfrmInvoiceMaintenance(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInvoiceMaintenance"));
    setWindowTitle(QStringLiteral("Invoice Maintenance"));
    resize(860, 560);

    QToolBar* toolBar = NewScreenToolBar(this);
    tlbtnClose = AddStandardIconButton(toolBar, QStringLiteral("tlbtnClose"), QStringLiteral("Close"),
                                       QStyle::SP_DialogCloseButton);
    tlbtnHelp = AddStandardIconButton(toolBar, QStringLiteral("tlbtnHelp"), QStringLiteral("Help"),
                                      QStyle::SP_DialogHelpButton);

    // The captions get their texts with the hints, when the screen shows.
    cmboInvMaintenanceType = new QComboBox(this);
    cmboInvMaintenanceType->setObjectName(QStringLiteral("cmboInvMaintenanceType"));
    cmboInvMaintenanceType->setMinimumWidth(320);
    lblInvMaintenanceType = MakeCaption(QString(), cmboInvMaintenanceType, this);
    lblInvMaintenanceType->setObjectName(QStringLiteral("lblInvMaintenanceType"));

    cmboInvSearch = new QComboBox(this);
    cmboInvSearch->setObjectName(QStringLiteral("cmboInvSearch"));
    m_searchItems = new QStringListModel(cmboInvSearch);
    cmboInvSearch->setModel(m_searchItems);
    cmboInvSearch->setMinimumWidth(220);
    lblInvMaintenance = MakeCaption(QString(), cmboInvSearch, this);
    lblInvMaintenance->setObjectName(QStringLiteral("lblInvMaintenance"));
    txtInvSearch = new QLineEdit(this);
    txtInvSearch->setObjectName(QStringLiteral("txtInvSearch"));
    txtInvSearch->setClearButtonEnabled(true);

    // The list can hold every stored document: a table with rows of one fixed
    // height takes in each page of rows without laying out the rows it already
    // has (a tree view lays out every row again on each page), so it keeps
    // filling and scrolling fast at any length.
    m_model = new TInvMaintenanceListModel(this);
    lstvwInvMaintenance = new QTableView(this);
    lstvwInvMaintenance->setObjectName(QStringLiteral("lstvwInvMaintenance"));
    lstvwInvMaintenance->setModel(m_model);
    SetUpRowList(lstvwInvMaintenance);
    lstvwInvMaintenance->setAlternatingRowColors(true);
    lstvwInvMaintenance->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {80, 110, 190, 200, 100};
    for (int column = 0; column < 5; ++column) lstvwInvMaintenance->setColumnWidth(column, widths[column]);
    lstvwInvMaintenance->installEventFilter(this);

    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(lblInvMaintenanceType);
    modeRow->addWidget(cmboInvMaintenanceType, 1);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(lblInvMaintenance);
    searchRow->addWidget(cmboInvSearch);
    searchRow->addWidget(txtInvSearch, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addLayout(modeRow);
    layout->addLayout(searchRow);
    layout->addWidget(lstvwInvMaintenance, 1);

    connect(tlbtnClose, &QToolButton::clicked, this, [this] { RunGuarded([this] { close(); }); });
    connect(tlbtnHelp, &QToolButton::clicked, this, [] { RunGuarded([] { OpenHelpFile(); }); });
    connect(cmboInvMaintenanceType, &QComboBox::currentIndexChanged, this,
            [this] { RunGuarded([this] { cmboInvMaintenanceTypeChange(); }); });
    connect(cmboInvSearch, &QComboBox::currentIndexChanged, this,
            [this] { RunGuarded([this] { cmboInvSearchChange(); }); });
    connect(txtInvSearch, &QLineEdit::textChanged, this, [this] { RunGuarded([this] { txtInvSearchChange(); }); });
    connect(lstvwInvMaintenance, &QTableView::clicked, this,
            [this](const QModelIndex& index) { RunGuarded([this, index] { lstvwInvMaintenanceClick(index); }); });
}

void TfrmInvoiceMaintenance::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown || event->spontaneous()) return;
    m_shown = true;
    RunGuarded([this] { pShowFormInformation(); });
}

void TfrmInvoiceMaintenance::pShowFormInformation()
{
    setWindowTitle(QStringLiteral("Invoice Maintenance"));
    lblInvMaintenanceType->setText(QStringLiteral("Select Invoice Maintenance Type:"));
    lblInvMaintenance->setText(QStringLiteral("Search By..."));
    cmboInvMaintenanceType->setToolTip(QStringLiteral("Select Maintenance Type"));
    cmboInvSearch->setToolTip(QStringLiteral("Select Search Type"));
    txtInvSearch->setToolTip(QStringLiteral("Enter information to search for"));
    tlbtnClose->setToolTip(QStringLiteral("Close"));
    tlbtnHelp->setToolTip(QStringLiteral("Open Help"));
    txtInvSearch->setEnabled(false);

    // Filling the lists must not run a query per change; one query at the end.
    const TInvMaintenanceMode first =
        blShowUnpaidOnly ? TInvMaintenanceMode::ViewUnpaid : TInvMaintenanceMode::ViewAll;
    {
        const QSignalBlocker blockMode(cmboInvMaintenanceType);
        cmboInvMaintenanceType->clear();
        cmboInvMaintenanceType->addItems(InvMaintenanceModeNames());
        cmboInvMaintenanceType->setCurrentIndex(int(first));
    }
    pBuildSearchList();
    pQuerySavedInvoices();
}

TInvMaintenanceMode TfrmInvoiceMaintenance::currentMode() const
{
    const int index = cmboInvMaintenanceType->currentIndex();
    return index < 0 ? TInvMaintenanceMode::ViewAll : TInvMaintenanceMode(index);
}

void TfrmInvoiceMaintenance::pBuildSearchList()
{
    const QSignalBlocker blockSearch(cmboInvSearch);
    // The items go in as one list: a combo box filled item by item lays
    // itself out again for each (longer than reading the list's first rows).
    m_searchItems->setStringList(InvMaintenanceSearchItems(currentMode()));
    cmboInvSearch->setCurrentIndex(0);
    lstvwInvMaintenance->setToolTip(InvMaintenanceListHint(currentMode()));
}

void TfrmInvoiceMaintenance::pQuerySavedInvoices()
{
    const QString searchItem = cmboInvSearch->currentText();
    const TListQuery query = BuildInvMaintenanceQuery(currentMode(), searchItem, txtInvSearch->text());
    if (IsInvMaintenanceTextSearch(searchItem)) {
        txtInvSearch->setEnabled(true);
        txtInvSearch->setFocus();
    } else {
        const QSignalBlocker blockText(txtInvSearch);
        txtInvSearch->clear();
        txtInvSearch->setEnabled(false);
        lstvwInvMaintenance->setFocus();
    }
    // An error leaves the list empty rather than showing rows of another query.
    m_model->setQuery(query);
}

void TfrmInvoiceMaintenance::cmboInvMaintenanceTypeChange()
{
    pBuildSearchList();
    pQuerySavedInvoices();
}

void TfrmInvoiceMaintenance::cmboInvSearchChange()
{
    {
        const QSignalBlocker blockText(txtInvSearch);
        txtInvSearch->clear();
    }
    pQuerySavedInvoices();
}

void TfrmInvoiceMaintenance::txtInvSearchChange() { pQuerySavedInvoices(); }

void TfrmInvoiceMaintenance::lstvwInvMaintenanceClick(const QModelIndex& index)
{
    if (!index.isValid()) return;
    pActOnRow(index.row());
}

void TfrmInvoiceMaintenance::pActOnRow(int rowIndex)
{
    if (rowIndex < 0 || rowIndex >= m_model->rowCount()) return;
    const TInvMaintenanceRow row = m_model->row(rowIndex);
    const TInvMaintenanceMode mode = currentMode();
    const int scrollPosition = lstvwInvMaintenance->verticalScrollBar()->value();

    if (InvMaintenanceActionForMode(mode) == TInvMaintenanceAction::OpenInEditor) {
        intCurrentInvNumber = row.intInvNumber;
        RunGuarded([] { OpenStoredDocument(); });
    } else {
        if (AskYesNoCancel(InvMaintenanceQuestion(mode, InvMaintenanceDocumentName(row))) != MessageAnswer::Yes)
            return; // No and Cancel change nothing, not even the list
        // The list is read again even when the action failed.
        RunGuarded([mode, &row] { RunInvMaintenanceAction(mode, row); });
    }
    pQuerySavedInvoices();
    // The rows down to the place the list was scrolled to are read again first.
    m_model->readUpTo(rowIndex + TPagedListModel::kFirstPageRows);
    lstvwInvMaintenance->verticalScrollBar()->setValue(scrollPosition);
}

// Enter on the current row acts on it like a click, for people using the keyboard.
bool TfrmInvoiceMaintenance::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstvwInvMaintenance && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const QModelIndex current = lstvwInvMaintenance->currentIndex();
            if (current.isValid() && lstvwInvMaintenance->selectionModel()->isRowSelected(current.row()))
                RunGuarded([this, current] { pActOnRow(current.row()); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmInvoiceMaintenance::done(int result)
{
    // The main window's summaries follow whatever changed here.
    RunGuarded([] { RefreshMainCounters(); });
    QDialog::done(result);
}
