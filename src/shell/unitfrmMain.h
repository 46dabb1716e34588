#pragma once
// The main window: the hub of the program. It offers every command through its
// menu and tool bar, shows today's date and the unpaid and recurring summaries,
// and stays open for the whole run; closing it ends the program.
#include <QList>
#include <QMainWindow>
#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolBar;
struct TrecMainCounters;

class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Reads the summaries again and shows them (also reached through
    // RefreshMainCounters by any screen that changes documents).
    void pRefreshSummaries();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Coming back to the window (from another program, or from another seat's
    // work) reads the summaries and the company name again.
    void changeEvent(QEvent* event) override;

private:
    // Whether the summaries are read again after a command's screen has closed.
    enum class After { Nothing, RefreshSummaries };

    void pBuildMenu();
    void pBuildToolBar();
    void pSetToolBarIcons();
    // The tool bar's commands, in order: button name, caption, the style's icon.
    struct ToolBarCommand {
        QAction* action;
        const char* name;
        const char* caption;
        int styleIcon;   // QStyle::StandardPixmap
    };
    QList<ToolBarCommand> toolBarCommands() const;
    void pBuildSummaries();
    void pWireCommands();
    void pWire(QAction* action, std::function<void()> command, After after = After::Nothing);
    void pFormShow();
    void pShowFormInformation();
    void pShowCounters(const TrecMainCounters& counters);
    void pShowDatabaseInUse();
    // The refresh on activation: quiet when the database cannot be read (an
    // error box would take the focus and bring the window back, again and
    // again); the next command reports such a fault.
    void pRefreshOnActivation();

    QAction* newCommand(const QString& objectName, const QString& text);

    // Commands: each menu entry and its tool button share one action.
    QAction* actExit = nullptr;
    QAction* actNewInvoice = nullptr;
    QAction* actInvoiceMaintenance = nullptr;
    QAction* actManualInvoice = nullptr;
    QAction* actCompanyMaintenance = nullptr;
    QAction* actCustomerMaintenance = nullptr;
    QAction* actPriceSheet = nullptr;
    QAction* actPlanner = nullptr;
    QAction* actBackupData = nullptr;
    QAction* actRestoreData = nullptr;
    QAction* actSharedDatabase = nullptr;
    QAction* actContractWriter = nullptr;
    QAction* actWarrantyWriter = nullptr;
    QAction* actReport = nullptr;
    QAction* actHelp = nullptr;
    QAction* actAbout = nullptr;
    QAction* actRecurringPrint = nullptr;       // btnRecurringPrint
    QAction* actViewUnPaidInvoices = nullptr;   // btnViewUnPaidInvoices

    QToolBar* ToolBar1 = nullptr;
    QLabel* lblCompanyName = nullptr;
    QLabel* lblTodaysDate = nullptr;
    QLabel* lblDatabaseInUse = nullptr;   // in the status bar, on a seat that uses a server
    QGroupBox* GroupBoxRecurring = nullptr;
    QLabel* lblRecurringLastPrinted = nullptr;
    QPushButton* btnRecurringPrint = nullptr;
    QGroupBox* GroupBoxUnPaidInvoices = nullptr;
    QLabel* lblUnPaidInvoices = nullptr;
    QPushButton* btnViewUnPaidInvoices = nullptr;

    bool m_closing = false;
    bool m_toolBarIconsAsked = false;
    // The summaries shown were read since the window last lost the focus (at
    // start, or after a command's screen closed): an activation need not read
    // them again.
    bool m_summariesFresh = false;
};
