#include "shell/unitfrmMain.h"

#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitDialogs.h"
#include "app/unitDispatch.h"
#include "app/unitErrorHandler.h"
#include "app/unitScreenParts.h"
#include "backup/unitDailyBackups.h"
#include "backup/unitServerDailyCopy.h"
#include "backup/unitfrmBackupRestore.h"
#include "documents/unitMainCounters.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "company/unitCompanyStore.h"
#include "documents/unitDocumentCopy.h"
#include "planner/unitOldActivities.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"
#include "server/unitSharedDatabaseRules.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLinearGradient>
#include <QPalette>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QPixmap>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// The window that RefreshMainCounters and ShowLastPrintedDate update.
TfrmMain* g_displayWindow = nullptr;
}

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(GetProductName());
    resize(760, 420);

    pBuildMenu();
    pBuildToolBar();
    pBuildSummaries();
    pWireCommands();
    pShowDatabaseInUse();

    g_displayWindow = this;
    SetMainCountersDisplay({
        [this](const TrecMainCounters& counters) { pShowCounters(counters); },
        [this](const QString& caption) { lblRecurringLastPrinted->setText(caption); },
    });
}

TfrmMain::~TfrmMain()
{
    if (g_displayWindow == this) {
        g_displayWindow = nullptr;
        SetMainCountersDisplay({});
    }
}

QAction* TfrmMain::newCommand(const QString& objectName, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setObjectName(objectName);
    return action;
}

void TfrmMain::pBuildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("frmMainMenu"));

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    actExit = newCommand(QStringLiteral("submnuExit"), QStringLiteral("&Exit"));
    file->addAction(actExit);

    QMenu* invoice = bar->addMenu(QStringLiteral("&Invoice"));
    actNewInvoice = newCommand(QStringLiteral("submnuNewInvoice"), QStringLiteral("&New Invoice"));
    actInvoiceMaintenance = newCommand(QStringLiteral("submnuInvoiceMaintenance"), QStringLiteral("In&voice Maintenance"));
    actManualInvoice = newCommand(QStringLiteral("submnuManualInvoice"), QStringLiteral("M&anual Invoice"));
    invoice->addActions({actNewInvoice, actInvoiceMaintenance, actManualInvoice});

    QMenu* maintenance = bar->addMenu(QStringLiteral("&Maintenance"));
    actCompanyMaintenance = newCommand(QStringLiteral("submnuCompanyMaintenance"), QStringLiteral("&Company Maintenance"));
    actCustomerMaintenance = newCommand(QStringLiteral("submnuCustomerMaintenance"), QStringLiteral("C&ustomer Maintenance"));
    actPriceSheet = newCommand(QStringLiteral("submnuPriceSheet"), QStringLiteral("&Price Sheet"));
    actPlanner = newCommand(QStringLiteral("submnuPlanner"), QStringLiteral("P&lanner"));
    maintenance->addActions({actCompanyMaintenance, actCustomerMaintenance, actPriceSheet, actPlanner});
    QMenu* backupRestore = maintenance->addMenu(QStringLiteral("&Backup/Restore"));
    backupRestore->setObjectName(QStringLiteral("submnuBackupRestore"));
    backupRestore->menuAction()->setObjectName(QStringLiteral("submnuBackupRestore"));
    actBackupData = newCommand(QStringLiteral("submnuBackupData"), QStringLiteral("B&ackup Data"));
    actRestoreData = newCommand(QStringLiteral("submnuRestoreData"), QStringLiteral("&Restore Data"));
    backupRestore->addActions({actBackupData, actRestoreData});
    actSharedDatabase = newCommand(QStringLiteral("submnuSharedDatabase"), QStringLiteral("Shared &Database\u2026"));
    maintenance->addAction(actSharedDatabase);
    actContractWriter = newCommand(QStringLiteral("submnuContractWriter"), QStringLiteral("C&ontract Writer"));
    actWarrantyWriter = newCommand(QStringLiteral("submnuWarrantyWriter"), QStringLiteral("W&arranty Writer"));
    maintenance->addActions({actContractWriter, actWarrantyWriter});

    QMenu* report = bar->addMenu(QStringLiteral("&Report"));
    actReport = newCommand(QStringLiteral("submnuReport"), QStringLiteral("&Report"));
    report->addAction(actReport);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    actHelp = newCommand(QStringLiteral("submnuHelp"), QStringLiteral("H&elp"));
    actAbout = newCommand(QStringLiteral("submnuAbout"), QStringLiteral("&About"));
    help->addActions({actHelp, actAbout});

    // The two summary buttons run their commands through actions as well, so
    // every command is wired and enabled the same way.
    actRecurringPrint = new QAction(QStringLiteral("Print Recurring Invoices"), this);
    actViewUnPaidInvoices = new QAction(QStringLiteral("View UnPaid Invoices"), this);
}

QList<TfrmMain::ToolBarCommand> TfrmMain::toolBarCommands() const
{
    return {
        {actNewInvoice, "tlbtnNewInvoice", "New Invoice", QStyle::SP_FileIcon},
        {actInvoiceMaintenance, "tlbtnInvoiceMaintenance", "Invoice Maintenance", QStyle::SP_FileDialogDetailedView},
        {actCustomerMaintenance, "tlbtnCustomerMaintenance", "Customer", QStyle::SP_DirHomeIcon},
        {actPlanner, "tlbtnPlanner", "Planner", QStyle::SP_FileDialogInfoView},
        {actReport, "tlbtnReport", "Report", QStyle::SP_FileDialogContentsView},
        {actHelp, "tlbtnHelp", "Help", QStyle::SP_DialogHelpButton},
    };
}

void TfrmMain::pBuildToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setIconSize(QSize(32, 32));
    setContextMenuPolicy(Qt::NoContextMenu); // the tool bar is never hidden

    // A tool button shows the action's icon text: the caption without access key.
    // Its icon comes right after the window's first paint (pSetToolBarIcons):
    // looking icons up in the desktop theme would hold that paint back. Until
    // then a blank icon of the same size keeps the tool bar's height.
    QPixmap blank(ToolBar1->iconSize());
    blank.fill(Qt::transparent);
    const QIcon placeholder(blank);
    for (const ToolBarCommand& command : toolBarCommands()) {
        QAction* action = command.action;
        action->setIconText(QString::fromLatin1(command.caption));
        action->setIcon(placeholder);
        ToolBar1->addAction(action);
        ToolBar1->widgetForAction(action)->setObjectName(QLatin1String(command.name));
    }
}

void TfrmMain::pSetToolBarIcons()
{
    for (const ToolBarCommand& command : toolBarCommands()) {
        QAction* action = command.action;
        // The style's own icon only where the desktop theme has none.
        const char* themeIcon = ThemeIconName(QLatin1String(command.name));
        const QIcon own = themeIcon && QIcon::hasThemeIcon(QLatin1String(themeIcon))
                              ? QIcon()
                              : style()->standardIcon(QStyle::StandardPixmap(command.styleIcon));
        action->setIcon(ThemedIcon(QLatin1String(command.name), own));
    }
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == QEvent::Paint && !m_toolBarIconsAsked) {
        m_toolBarIconsAsked = true;
        QTimer::singleShot(0, this, [this] { pSetToolBarIcons(); });
    }
    return QMainWindow::event(event);
}

void TfrmMain::pBuildSummaries()
{
    auto* central = new QWidget(this);
    auto* page = new QVBoxLayout(central);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);

    // A banner across the top: the program, the company it works for, today.
    auto* banner = new QFrame(central);
    banner->setObjectName(QStringLiteral("bannerPanel"));
    // Painted through the palette rather than a style sheet: a style sheet
    // brings in the style sheet engine, which costs the window's first paint.
    QLinearGradient gradient(0, 0, 1, 0);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    gradient.setColorAt(1, QColor(0x3b, 0x7d, 0xbf));
    QPalette bannerColours = banner->palette();
    bannerColours.setBrush(QPalette::Window, gradient);
    bannerColours.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(bannerColours);
    banner->setAutoFillBackground(true);
    auto* bannerLayout = new QHBoxLayout(banner);
    bannerLayout->setContentsMargins(18, 14, 18, 14);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto* productLabel = new QLabel(GetProductName(), banner);
    QFont productFont = productLabel->font();
    productFont.setPointSizeF(productFont.pointSizeF() * 2.0);
    productFont.setBold(true);
    productLabel->setFont(productFont);
    lblCompanyName = NewPlainLabel(banner);
    lblCompanyName->setObjectName(QStringLiteral("lblCompanyName"));
    QFont companyFont = lblCompanyName->font();
    companyFont.setPointSizeF(companyFont.pointSizeF() * 1.15);
    lblCompanyName->setFont(companyFont);
    titles->addWidget(productLabel);
    titles->addWidget(lblCompanyName);
    bannerLayout->addLayout(titles);
    bannerLayout->addStretch(1);

    lblTodaysDate = new QLabel(banner);
    lblTodaysDate->setObjectName(QStringLiteral("lblTodaysDate"));
    QFont dateFont = lblTodaysDate->font();
    dateFont.setPointSizeF(dateFont.pointSizeF() * 1.15);
    dateFont.setBold(true);
    lblTodaysDate->setFont(dateFont);
    bannerLayout->addWidget(lblTodaysDate, 0, Qt::AlignTop);
    page->addWidget(banner);

    auto makeGroup = [central](const QString& name, const QString& title, QLabel*& label, const QString& labelName,
                               QPushButton*& button, const QString& buttonName, const QString& caption) {
        auto* group = new QGroupBox(title, central);
        group->setObjectName(name);
        group->setFixedWidth(220);
        auto* layout = new QVBoxLayout(group);
        label = NewPlainLabel(group);
        label->setObjectName(labelName);
        button = new QPushButton(caption, group);
        button->setObjectName(buttonName);
        layout->addWidget(label);
        layout->addWidget(button);
        return group;
    };
    GroupBoxRecurring = makeGroup(QStringLiteral("GroupBoxRecurring"), QStringLiteral("Recurring Invoices"),
                                  lblRecurringLastPrinted, QStringLiteral("lblRecurringLastPrinted"), btnRecurringPrint,
                                  QStringLiteral("btnRecurringPrint"), QStringLiteral("Print Recurring Invoices"));
    GroupBoxUnPaidInvoices = makeGroup(QStringLiteral("GroupBoxUnPaidInvoices"), QStringLiteral("UnPaid Invoices"),
                                       lblUnPaidInvoices, QStringLiteral("lblUnPaidInvoices"), btnViewUnPaidInvoices,
                                       QStringLiteral("btnViewUnPaidInvoices"), QStringLiteral("View UnPaid Invoices"));

    // The unpaid group stands right of the recurring group; when the recurring
    // group is hidden the row closes up and the unpaid group comes first.
    auto* row = new QHBoxLayout;
    row->setContentsMargins(14, 14, 14, 14);
    row->setSpacing(10);
    row->addWidget(GroupBoxRecurring, 0, Qt::AlignTop);
    row->addWidget(GroupBoxUnPaidInvoices, 0, Qt::AlignTop);
    row->addStretch(1);
    page->addLayout(row);
    page->addStretch(1);
    setCentralWidget(central);

    // Nothing is known about stored invoices until the window is shown.
    GroupBoxRecurring->setVisible(false);
    GroupBoxUnPaidInvoices->setVisible(false);

    const std::pair<QPushButton*, QAction*> buttons[] = {
        {btnRecurringPrint, actRecurringPrint},
        {btnViewUnPaidInvoices, actViewUnPaidInvoices},
    };
    for (const auto& [button, action] : buttons) {
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
    }
}

// Every command of the window is one line here. A command whose screen is not
// part of the program yet gets no function: it stays disabled.
void TfrmMain::pWireCommands()
{
    pWire(actExit, [this] { close(); });
    pWire(actNewInvoice, OpenNewDocument, After::RefreshSummaries);
    pWire(actInvoiceMaintenance, OpenInvoiceMaintenance, After::RefreshSummaries);
    pWire(actViewUnPaidInvoices, ShowUnpaidInvoices, After::RefreshSummaries);
    pWire(actManualInvoice, OpenManualForms, After::RefreshSummaries);
    pWire(actRecurringPrint, [] { PrintRecurringInvoices(); }, After::RefreshSummaries);
    pWire(actCompanyMaintenance, OpenCompanyInfo, After::RefreshSummaries);
    pWire(actCustomerMaintenance, OpenCustomers);
    pWire(actPriceSheet, OpenPriceSheet);
    pWire(actPlanner, OpenPlanner);
    pWire(actBackupData, BackupData);
    pWire(actRestoreData, [] { RestoreData(); }, After::RefreshSummaries);
    pWire(actSharedDatabase, OpenSharedDatabase);
    pWire(actContractWriter, OpenContractWriter);
    pWire(actWarrantyWriter, OpenWarrantyWriter);
    pWire(actReport, OpenReports);
    pWire(actHelp, OpenHelpFile);
    pWire(actAbout, OpenAboutBox);
}

void TfrmMain::pWire(QAction* action, std::function<void()> command, After after)
{
    action->setEnabled(bool(command));
    if (!command) return;
    connect(action, &QAction::triggered, this, [this, command = std::move(command), after] {
        RunGuarded(command);
        if (after == After::RefreshSummaries && !m_closing) RunGuarded([this] { pRefreshSummaries(); });
    });
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) RunGuarded([this] { pFormShow(); });
}

void TfrmMain::pFormShow()
{
    if (arrFormMaximized[0])
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        setWindowState(windowState() & ~Qt::WindowMaximized);
    // The start-up sequence may have left the "Building DataBase..." notice open.
    CloseSavingNotice();
    pShowFormInformation();
    pRefreshSummaries();
    recCmpnyInvData.strInvFootNote[0].clear();
}

void TfrmMain::pShowFormInformation()
{
    setWindowTitle(GetProductName());
    actNewInvoice->setToolTip(QStringLiteral("Create new Estimate, Work Order, Invoice, Credit or Past Due Notice"));
    actInvoiceMaintenance->setToolTip(
        QStringLiteral("View/Edit Saved Estimate, Work Order, Invoice, Credit or Past Due Notice"));
    actCustomerMaintenance->setToolTip(QStringLiteral("Add new or edit Customer list"));
    actPlanner->setToolTip(QStringLiteral("Open Planner"));
    actReport->setToolTip(QStringLiteral("View Reports"));
    actHelp->setToolTip(QStringLiteral("Open ") + GetFullProductTitle() + QStringLiteral(" Help"));
    btnRecurringPrint->setToolTip(QStringLiteral("Print Recurring Invoices"));
    btnViewUnPaidInvoices->setToolTip(QStringLiteral("View UnPaid Invoices"));
    lblTodaysDate->setText(QStringLiteral("Todays Date: ") + DisplayDate(QDate::currentDate()));
}

void TfrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || m_closing) return;
    if (!isActiveWindow())
        m_summariesFresh = false;
    else if (!m_summariesFresh)
        pRefreshOnActivation();
}

void TfrmMain::pRefreshOnActivation()
{
    try {
        ReloadCompanySettings();
        pRefreshSummaries();
    } catch (const std::exception&) {
        // Kept as shown; see the declaration.
    }
}

void TfrmMain::pRefreshSummaries()
{
    m_summariesFresh = true;
    lblCompanyName->setText(recCompanyData.strCompName);
    pShowCounters(RefreshMainCounters());
    lblRecurringLastPrinted->setText(ShowLastPrintedDate());
}

void TfrmMain::pShowDatabaseInUse()
{
    // A seat on this computer's file shows nothing; one on a server says which.
    if (!UsesServer()) return;
    lblDatabaseInUse = new QLabel(this);
    lblDatabaseInUse->setObjectName(QStringLiteral("lblDatabaseInUse"));
    lblDatabaseInUse->setTextFormat(Qt::PlainText);
    lblDatabaseInUse->setText(QStringLiteral("Shared ") + ServerDisplayName(ServerConnectionString()));
    statusBar()->addPermanentWidget(lblDatabaseInUse);
}

void TfrmMain::pShowCounters(const TrecMainCounters& counters)
{
    GroupBoxRecurring->setVisible(counters.blShowRecurring);
    lblUnPaidInvoices->setText(counters.strUnPaidCaption);
    GroupBoxUnPaidInvoices->setVisible(counters.blShowUnPaid);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    m_closing = true;
    arrFormMaximized[0] = isMaximized();
    // The program ends even when a step fails; each error is shown, and the
    // planner is cleaned even when the preferences could not be written.
    RunGuarded([] { SaveAppPreferences(); });
    RunGuarded([] { pRemoveOldActivities(); });
    // At every close today's copy of the database in Backups/ is brought up to
    // date; on a server the first seat to close today takes the server's copy,
    // where the seat is set to.
    if (UsesServer())
        RunGuarded([] { RunDailyServerCopy(); });
    else
        RunGuarded([] { RunDailyBackup(); });
    event->accept();
}
