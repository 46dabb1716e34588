// The main window driven through its widgets: menu and tool bar, the unpaid and
// recurring summaries over stored invoice rows, the window preferences at show
// and close, and which commands are offered.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppPreferences.h"
#include "app/unitModalRunner.h"
#include "app/unitModeValues.h"
#include "documents/unitMainCounters.h"
#include "app/unitRegional.h"
#include "shell/unitAppStyle.h"
#include "shell/unitfrmMain.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentCopy.h"
#include "documents/unitDocumentStore.h"
#include "printing/unitCopyPrinting.h"
#include "printing/unitPrintData.h"

#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinterInfo>
#include <QPushButton>
#include <QToolBar>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>
#include <algorithm>
#include <memory>

namespace {

void insertHeader(int number, const QString& type, const QString& paid, const QString& recurring)
{
    DbConnection connection;
    connection.execute(QStringLiteral("INSERT INTO tblInvDataHeader(intInvNumber,strInvName,strPaidInFull,strRecurring) "
                                      "VALUES(?,?,?,?)"),
                       {number, type, paid, recurring});
}

// A complete recurring invoice under the counter's next number.
int storeRecurringInvoice(const QString& customer)
{
    TInvDocument document;
    document.header.intInvNumber = GetNextInvNumber();
    document.header.strInvName = QStringLiteral("Invoice");
    document.header.strInvDate = QStringLiteral("2/1/2026");
    document.header.strCustFullName = customer;
    document.header.strRecurring = true;
    document.header.dbLbrTotal = 80;
    document.header.dbInvTotal = 80;
    document.lines = {{QStringLiteral("Monthly service"), QStringLiteral("1"), QStringLiteral("0"),
                       QStringLiteral("0"), QStringLiteral("80"), QStringLiteral("0")}};
    SaveDocument(document, false, false);
    RunOutSavingNotice();
    return document.header.intInvNumber;
}

QString storedMainFlag()
{
    DbConnection connection;
    DbStatement read = connection.prepare(QStringLiteral("SELECT strFrmMainMaximized FROM tblAppPreferences"));
    read.step();
    return read.columnText(0);
}

template <typename T>
T* child(QWidget& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no child %s", name);
    return found;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TfrmMain> showMain()
    {
        auto window = std::make_unique<TfrmMain>();
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

private slots:
    void init()
    {
        CreateTestDatabase();
        LoadAppPreferences();
    }
    // Closing the window may leave the "Cleaning Database..." notice open.
    void cleanup()
    {
        RunOutSavingNotice();
        SetCopyPrinter({});
    }

    void menuEntriesCarryTheirAccessKeys_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("entries"); // object name, text, ...
        QTest::newRow("file") << "&File" << QStringList{"submnuExit", "&Exit"};
        QTest::newRow("invoice") << "&Invoice"
                                 << QStringList{"submnuNewInvoice", "&New Invoice", "submnuInvoiceMaintenance",
                                                "In&voice Maintenance", "submnuManualInvoice", "M&anual Invoice"};
        QTest::newRow("maintenance")
            << "&Maintenance"
            << QStringList{"submnuCompanyMaintenance", "&Company Maintenance", "submnuCustomerMaintenance",
                           "C&ustomer Maintenance", "submnuPriceSheet", "&Price Sheet", "submnuPlanner", "P&lanner",
                           "submnuBackupRestore", "&Backup/Restore", "submnuSharedDatabase", "Shared &Database\u2026",
                           "submnuContractWriter", "C&ontract Writer",
                           "submnuWarrantyWriter", "W&arranty Writer"};
        QTest::newRow("report") << "&Report" << QStringList{"submnuReport", "&Report"};
        QTest::newRow("help") << "&Help" << QStringList{"submnuHelp", "H&elp", "submnuAbout", "&About"};
    }
    void menuEntriesCarryTheirAccessKeys()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, entries);
        TfrmMain window;
        QMenuBar* bar = child<QMenuBar>(window, "frmMainMenu");
        QMenu* found = nullptr;
        for (QAction* top : bar->actions())
            if (top->text() == menu) found = top->menu();
        QVERIFY2(found, qPrintable(menu));
        QStringList actual;
        for (QAction* entry : found->actions()) actual << entry->objectName() << entry->text();
        QCOMPARE(actual, entries);
    }

    // The menu and tool bars' overflow arrows, read from their images only
    // when painted, look exactly as Fusion draws them.
    void overflowArrowsAreFusions()
    {
        InstallAppStyle();
        std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        for (const QStyle::StandardPixmap which :
             {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QImage drawn = QApplication::style()->standardIcon(which).pixmap(16, 16).toImage();
            QVERIFY(!drawn.isNull());
            QCOMPARE(drawn, fusion->standardIcon(which).pixmap(16, 16).toImage());
            bool anyInk = false;
            for (int y = 0; y < drawn.height() && !anyInk; ++y)
                for (int x = 0; x < drawn.width() && !anyInk; ++x) anyInk = qAlpha(drawn.pixel(x, y)) > 0;
            QVERIFY(anyInk);
        }
        QApplication::setStyle(QStringLiteral("Fusion"));
    }

    void backupRestoreIsASubMenu()
    {
        TfrmMain window;
        QMenu* sub = child<QMenu>(window, "submnuBackupRestore");
        QStringList actual;
        for (QAction* entry : sub->actions()) actual << entry->objectName() << entry->text();
        QCOMPARE(actual, (QStringList{"submnuBackupData", "B&ackup Data", "submnuRestoreData", "&Restore Data"}));
    }

    void toolBarButtonsInOrderWithCaptionsAndHints()
    {
        auto window = showMain();
        QToolBar* bar = child<QToolBar>(*window, "ToolBar1");
        struct Expected {
            const char* button;
            const char* caption;
            QString hint;
            const char* menuEntry;
        };
        const Expected expected[] = {
            {"tlbtnNewInvoice", "New Invoice", "Create new Estimate, Work Order, Invoice, Credit or Past Due Notice",
             "submnuNewInvoice"},
            {"tlbtnInvoiceMaintenance", "Invoice Maintenance",
             "View/Edit Saved Estimate, Work Order, Invoice, Credit or Past Due Notice", "submnuInvoiceMaintenance"},
            {"tlbtnCustomerMaintenance", "Customer", "Add new or edit Customer list", "submnuCustomerMaintenance"},
            {"tlbtnPlanner", "Planner", "Open Planner", "submnuPlanner"},
            {"tlbtnReport", "Report", "View Reports", "submnuReport"},
            {"tlbtnHelp", "Help", "Open Brassgate Fennick Help", "submnuHelp"},
        };
        const QList<QAction*> actions = bar->actions();
        QCOMPARE(actions.size(), int(std::size(expected)));
        for (int i = 0; i < actions.size(); ++i) {
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(actions[i]));
            QVERIFY(button);
            QCOMPARE(button->objectName(), QString::fromLatin1(expected[i].button));
            QCOMPARE(button->text(), QString::fromLatin1(expected[i].caption));
            QCOMPARE(button->toolTip(), expected[i].hint);
            // The tool button and its menu entry run the same command.
            QCOMPARE(actions[i]->objectName(), QString::fromLatin1(expected[i].menuEntry));
        }
        QCOMPARE(child<QPushButton>(*window, "btnRecurringPrint")->toolTip(), QStringLiteral("Print Recurring Invoices"));
        QCOMPARE(child<QPushButton>(*window, "btnViewUnPaidInvoices")->toolTip(), QStringLiteral("View UnPaid Invoices"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Fennick"));
        QCOMPARE(child<QLabel>(*window, "lblTodaysDate")->text(),
                 QStringLiteral("Todays Date: ") + DateToStr(QDate::currentDate()));
    }

    // The tool bar's icons are looked up after the window's first paint; until
    // then a blank icon of the same size keeps the tool bar's height.
    void toolBarIconsComeAfterTheFirstPaint()
    {
        const auto drawn = [](const QAction* action) {
            const QImage image = action->icon().pixmap(32, 32).toImage();
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qAlpha(image.pixel(x, y)) != 0) return true;
            return false;
        };
        TfrmMain window;
        QToolBar* bar = child<QToolBar>(window, "ToolBar1");
        for (const QAction* action : bar->actions()) QVERIFY2(!drawn(action), qPrintable(action->objectName()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int height = bar->height();
        QVERIFY(WaitUntil([&] {
            const QList<QAction*> actions = bar->actions();
            return std::all_of(actions.begin(), actions.end(), drawn);
        }));
        QCoreApplication::processEvents();
        QCOMPARE(bar->height(), height);
    }

    // Every screen of the program is built, so every command is offered.
    void everyCommandIsEnabled()
    {
        TfrmMain window;
        for (const char* name : {"submnuCompanyMaintenance", "submnuPlanner", "submnuReport",
                                 "submnuManualInvoice", "submnuContractWriter",
                                 "submnuWarrantyWriter", "submnuBackupData",
                                 "submnuRestoreData", "submnuExit"})
            QVERIFY2(child<QAction>(window, name)->isEnabled(), name);
        for (const char* name : {"tlbtnPlanner", "tlbtnReport"})
            QVERIFY2(child<QToolButton>(window, name)->isEnabled(), name);
        QVERIFY(child<QToolButton>(window, "tlbtnHelp")->isEnabled());
    }

    // "Planner" and its tool button run the planner screen.
    void plannerCommandOpensThePlanner()
    {
        TfrmMain window;
        QStringList opened;
        ScopedModalRunner runner([&](QDialog& dialog) -> int {
            opened << QString::fromLatin1(dialog.metaObject()->className()) + ' ' + dialog.windowTitle();
            return QDialog::Rejected;
        });
        QVERIFY(child<QToolButton>(window, "tlbtnPlanner")->isEnabled());
        child<QToolButton>(window, "tlbtnPlanner")->click();
        child<QAction>(window, "submnuPlanner")->trigger();
        QCOMPARE(opened, (QStringList{"TfrmPlanner Planner", "TfrmPlanner Planner"}));
    }

    void helpCommandReportsAMissingHelpFile()
    {
        ScriptedMessages messages;
        TfrmMain window;
        child<QToolButton>(window, "tlbtnHelp")->click();
        QCOMPARE(messages.texts(), QStringList{"Unable to open the Help files!"});
    }

    void countersOverStoredInvoices_data()
    {
        QTest::addColumn<QStringList>("rows"); // type, paid, recurring per row
        QTest::addColumn<int>("unpaid");
        QTest::addColumn<int>("recurring");
        QTest::newRow("none") << QStringList{} << 0 << 0;
        QTest::newRow("one unpaid") << QStringList{"Invoice", "0", "0"} << 1 << 0;
        QTest::newRow("paid and other types do not count")
            << QStringList{"Invoice", "-1", "0", "Estimate", "0", "0", "Credit", "0", "0", "Past Due", "0", "0"} << 0
            << 0;
        QTest::newRow("recurring is not unpaid, any letter case")
            << QStringList{"invoice", "0", "-1", "INVOICE", "-1", "-1", "Invoice", "0", "0"} << 1 << 2;
    }
    void countersOverStoredInvoices()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, unpaid);
        QFETCH(int, recurring);
        for (int i = 0; i < rows.size(); i += 3) insertHeader(1000 + i, rows[i], rows[i + 1], rows[i + 2]);
        const TrecMainCounters counters = RefreshMainCounters();
        QCOMPARE(counters.intUnPaidCount, unpaid);
        QCOMPARE(counters.intRecurringCount, recurring);
        QCOMPARE(counters.strUnPaidCaption, QStringLiteral("UnPaid Invoices: %1").arg(unpaid));
        QCOMPARE(counters.blShowUnPaid, unpaid > 0);
        QCOMPARE(counters.blShowRecurring, recurring > 0);
    }

    void summariesHiddenWithoutInvoices()
    {
        auto window = showMain();
        QVERIFY(!child<QGroupBox>(*window, "GroupBoxRecurring")->isVisible());
        QVERIFY(!child<QGroupBox>(*window, "GroupBoxUnPaidInvoices")->isVisible());
        QCOMPARE(child<QLabel>(*window, "lblRecurringLastPrinted")->text(), QStringLiteral("Last Printed on:  Never"));
    }

    void summariesFollowStoredInvoices()
    {
        insertHeader(1001, QStringLiteral("Invoice"), QStringLiteral("0"), QStringLiteral("0"));
        auto window = showMain();
        auto* recurringGroup = child<QGroupBox>(*window, "GroupBoxRecurring");
        auto* unpaidGroup = child<QGroupBox>(*window, "GroupBoxUnPaidInvoices");
        QVERIFY(!recurringGroup->isVisible());
        QVERIFY(unpaidGroup->isVisible());
        QCOMPARE(child<QLabel>(*window, "lblUnPaidInvoices")->text(), QStringLiteral("UnPaid Invoices: 1"));
        const int firstPosition = unpaidGroup->x();

        // A screen elsewhere changes documents and refreshes the summaries.
        insertHeader(1002, QStringLiteral("Invoice"), QStringLiteral("0"), QStringLiteral("-1"));
        DbConnection connection;
        connection.execute(QStringLiteral("UPDATE tblRecurring SET strLastPrintedDate = ?"), {QStringLiteral("3/1/2026")});
        connection.close();
        RefreshMainCounters();
        ShowLastPrintedDate();
        QCoreApplication::processEvents();
        QVERIFY(recurringGroup->isVisible());
        QCOMPARE(recurringGroup->x(), firstPosition);
        QVERIFY(unpaidGroup->x() >= recurringGroup->x() + recurringGroup->width());
        QCOMPARE(child<QLabel>(*window, "lblRecurringLastPrinted")->text(), QStringLiteral("Last Printed on: 3/1/2026"));
    }

    // Invoice maintenance opens in its two modes, and the summaries follow what
    // changed while it was open, also when its run ends by an error.
    void summariesFollowChangesMadeInInvoiceMaintenance()
    {
        ScriptedMessages messages;
        auto window = showMain();
        auto* unpaidGroup = child<QGroupBox>(*window, "GroupBoxUnPaidInvoices");
        QVERIFY(!unpaidGroup->isVisible());

        QStringList opened;
        ScopedModalRunner runner([&](QDialog& dialog) -> int {
            opened << QString::fromLatin1(dialog.metaObject()->className()) + (blShowUnpaidOnly ? " unpaid" : " all");
            DbConnection connection;
            if (opened.size() == 1) {
                insertHeader(1001, QStringLiteral("Invoice"), QStringLiteral("0"), QStringLiteral("0"));
                return QDialog::Rejected;
            }
            connection.execute(QStringLiteral("UPDATE tblInvDataHeader SET strPaidInFull = '-1'"));
            throw AppError(QStringLiteral("Lost the printer"));
        });
        child<QToolButton>(*window, "tlbtnInvoiceMaintenance")->click();
        QVERIFY(unpaidGroup->isVisible());
        QCOMPARE(child<QLabel>(*window, "lblUnPaidInvoices")->text(), QStringLiteral("UnPaid Invoices: 1"));

        child<QPushButton>(*window, "btnViewUnPaidInvoices")->click();
        QCOMPARE(messages.texts(), QStringList{"Lost the printer."});
        QVERIFY(!unpaidGroup->isVisible());
        QCOMPARE(opened, (QStringList{"TfrmInvoiceMaintenance all", "TfrmInvoiceMaintenance unpaid"}));
    }

    // "Report" (menu and tool button) opens the reports screen; "Manual
    // Invoice" the manual forms screen, with the manual layout switched on.
    void reportAndManualFormsOpenTheirScreens()
    {
        auto window = showMain();
        QStringList opened;
        ScopedModalRunner runner([&](QDialog& dialog) -> int {
            opened << QString::fromLatin1(dialog.metaObject()->className()) + (blManualInvoice ? " manual" : "");
            return QDialog::Rejected;
        });
        blManualInvoice = false;
        child<QToolButton>(*window, "tlbtnReport")->click();
        child<QAction>(*window, "submnuReport")->trigger();
        child<QAction>(*window, "submnuManualInvoice")->trigger();
        blManualInvoice = false;
        QCOMPARE(opened, (QStringList{"TfrmReport", "TfrmReport", "TfrmManualInvoice manual"}));
    }

    // "Print Recurring Invoices" prints a new invoice for each recurring one, and
    // the summaries and the last-printed date follow.
    void recurringButtonPrintsCopiesAndRefreshes()
    {
        storeRecurringInvoice(QStringLiteral("Ng, Lee"));
        storeRecurringInvoice(QStringLiteral("Roe, Kim"));
        QStringList printed;
        SetCopyPrinter([&](const TInvDocument& copy) {
            SetCopyPrintData(copy);
            printed << recPrintData.strInvType + QLatin1Char(' ') + QString::number(intCurrentInvNumber) +
                           QLatin1Char(' ') + recPrintData.strCustName;
        });
        auto window = showMain();
        auto* unpaidGroup = child<QGroupBox>(*window, "GroupBoxUnPaidInvoices");
        QVERIFY(child<QGroupBox>(*window, "GroupBoxRecurring")->isVisible());
        QVERIFY(!unpaidGroup->isVisible());

        ScriptedMessages messages;
        child<QPushButton>(*window, "btnRecurringPrint")->click();
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(printed, (QStringList{"Invoice 502 Ng, Lee", "Invoice 503 Roe, Kim"}));
        QCOMPARE(child<QLabel>(*window, "lblRecurringLastPrinted")->text(),
                 QStringLiteral("Last Printed on: ") + DateToStr(QDate::currentDate()));
        // The two copies are ordinary unpaid invoices; the sources stay recurring.
        QVERIFY(unpaidGroup->isVisible());
        QCOMPARE(child<QLabel>(*window, "lblUnPaidInvoices")->text(), QStringLiteral("UnPaid Invoices: 2"));
        QVERIFY(child<QGroupBox>(*window, "GroupBoxRecurring")->isVisible());
    }

    // With the program's own printer and no printer on the machine, the run says
    // so and nothing changes.
    void recurringButtonWithoutAPrinterSaysSo()
    {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("this machine has a default printer");
        storeRecurringInvoice(QStringLiteral("Ng, Lee"));
        InstallCopyPrinter();
        auto window = showMain();
        ScriptedMessages messages;
        child<QPushButton>(*window, "btnRecurringPrint")->click();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
        QVERIFY(messages.shown()[0].text.contains(QStringLiteral("no default printer")));
        QCOMPARE(GetNextInvNumber(), 501);
        QVERIFY(!child<QGroupBox>(*window, "GroupBoxUnPaidInvoices")->isVisible());
        QCOMPARE(child<QLabel>(*window, "lblRecurringLastPrinted")->text(), QStringLiteral("Last Printed on:  Never"));
    }

    void showClearsTheFootNoteOfNoSelection()
    {
        recCmpnyInvData.strInvFootNote[0] = QStringLiteral("left over");
        auto window = showMain();
        QCOMPARE(recCmpnyInvData.strInvFootNote[0], QString());
    }

    // Opens maximized on a fresh database; restored to normal size and closed,
    // it stores "0" and opens in normal size next time.
    void maximizedStateRoundTrip()
    {
        {
            auto window = showMain();
            QVERIFY(window->isMaximized());
            window->showNormal();
            QCoreApplication::processEvents();
            child<QAction>(*window, "submnuExit")->trigger();
            QVERIFY(!window->isVisible());
        }
        QCOMPARE(storedMainFlag(), QStringLiteral("0"));
        arrFormMaximized[0] = true;
        LoadAppPreferences();
        QCOMPARE(arrFormMaximized[0], false);
        auto window = showMain();
        QVERIFY(!window->isMaximized());
        window->close();
        QCOMPARE(storedMainFlag(), QStringLiteral("0"));
    }

    // Closing writes the preferences, then removes planner activities that
    // ended before the keep period.
    void closeSavesPreferencesAndRemovesOldActivities()
    {
        DbConnection connection;
        connection.execute(QStringLiteral("UPDATE tblPlannerSettings SET intRemoveActivity = 2"));
        connection.execute(QStringLiteral("INSERT INTO tblPlanner(intActMasterID,intActYear,intActDayOfYear,"
                                          "strActStartDateTime,strActEndDateTime,strActivity,strActPriority,strActNote)"
                                          "VALUES(0,2020,10,?,?,'Old job','0','')"),
                                          {QStringLiteral("1/10/2020 8:00:00 AM"), QStringLiteral("1/10/2020 9:00:00 AM")});
        const int before = connection.countRows(QStringLiteral("SELECT * FROM tblPlanner"));
        connection.close();

        auto window = showMain();
        arrFormMaximized[1] = false; // the editor's flag goes out with the main window's
        window->close();
        RunOutSavingNotice();
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblPlanner WHERE strActivity = 'Old job'")), 0);
        QCOMPARE(connection.countRows(QStringLiteral("SELECT * FROM tblPlanner")), before - 1);
        DbStatement read = connection.prepare(
            QStringLiteral("SELECT strFrmMainMaximized,strFrmInvoiceMaximized FROM tblAppPreferences"));
        QVERIFY(read.step());
        QCOMPARE(read.columnText(0), QStringLiteral("-1"));
        QCOMPARE(read.columnText(1), QStringLiteral("0"));
    }

    void failingSummaryIsShownAndWindowStillOpens()
    {
        DbConnection connection;
        connection.execute(QStringLiteral("DROP TABLE tblRecurring"));
        connection.close();
        ScriptedMessages messages;
        auto window = showMain();
        QVERIFY(window->isVisible());
        QCOMPARE(messages.texts(), QStringList{"SQLite Error 1 - no such table: tblRecurring."});
    }
};

FENNICK_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
