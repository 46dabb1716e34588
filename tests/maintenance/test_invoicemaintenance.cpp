// Invoice maintenance: which stored documents each mode, search type and search
// text lists, and the screen's lists, search box and result columns.
#include "common/TestSupport.h"
#include "maintenance/MaintenanceFixture.h"

#include "app/AppError.h"
#include "app/unitModeValues.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTableView>

Q_DECLARE_METATYPE(TInvMaintenanceMode)

namespace {

// Storage order is the list order: the expected numbers below follow it.
void InsertSearchFixture()
{
    const QString yes = QStringLiteral("-1");
    InsertTestDoc({.number = 10, .type = "Invoice", .fullName = "Smith, John", .company = "Acme Windows"});
    InsertTestDoc({.number = 100, .type = "Estimate", .fullName = "Smithers, Ann", .company = "Beta 100% Ltd"});
    InsertTestDoc({.number = 1043, .type = "Invoice", .fullName = "Jones, Bob", .company = "Ox Roofing", .paid = yes});
    InsertTestDoc({.number = 5, .type = "Work Order", .fullName = "Brown, Al", .company = "Lawns R Us"});
    InsertTestDoc({.number = 6, .type = "Change Order", .fullName = "Green, Sue", .company = "Lawn_Care"});
    InsertTestDoc({.number = 7, .type = "Invoice", .fullName = "Gray, Tom", .company = "1000 Acres", .recurring = yes});
    InsertTestDoc({.number = 8, .type = "Credit", .fullName = "White, Jo", .company = "Acme Windows"});
    InsertTestDoc({.number = 9, .type = "Past Due", .fullName = "Black, Ed", .company = "Acme Windows"});
    // Type names count case-insensitively: a lower-case "invoice" is an invoice.
    InsertTestDoc({.number = 12, .type = "invoice", .fullName = QString::fromUtf8("Müller, Jürgen"),
                   .company = "O\"Neil Services"});
    InsertTestDoc({.number = 11, .type = "Invoice", .fullName = "Adams, Kay", .company = "100% Pure"});
}

} // namespace

class TestInvoiceMaintenance : public QObject {
    Q_OBJECT

    void showScreen(TfrmInvoiceMaintenance& screen)
    {
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
    }

private slots:
    // Nothing here changes the stored documents: one database serves every test.
    void initTestCase()
    {
        CreateTestDatabase();
        InsertSearchFixture();
    }
    void init() { blShowUnpaidOnly = false; }

    void listsPerModeAndSearch_data()
    {
        using M = TInvMaintenanceMode;
        QTest::addColumn<TInvMaintenanceMode>("mode");
        QTest::addColumn<QString>("searchItem");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("expected");
        using L = QList<int>;
        QTest::newRow("0 all") << M::ViewAll << "All Invoice Types" << "" << L{10, 100, 1043, 5, 6, 7, 8, 9, 12, 11};
        QTest::newRow("0 type Invoice") << M::ViewAll << "Invoice" << "" << L{10, 1043, 7, 12, 11};
        QTest::newRow("0 type Past Due") << M::ViewAll << "Past Due" << "" << L{9};
        QTest::newRow("0 number 10") << M::ViewAll << "Invoice Number" << "10" << L{10, 100, 1043};
        QTest::newRow("0 number empty") << M::ViewAll << "Invoice Number" << ""
                                        << L{10, 100, 1043, 5, 6, 7, 8, 9, 12, 11};
        QTest::newRow("0 last name smi") << M::ViewAll << "Customer Last Name" << "smi" << L{10, 100};
        QTest::newRow("0 last name accented") << M::ViewAll << "Customer Last Name" << QString::fromUtf8("mü") << L{12};
        QTest::newRow("0 company percent literal") << M::ViewAll << "Customer Company Name" << "100%" << L{11};
        QTest::newRow("0 company lone percent") << M::ViewAll << "Customer Company Name" << "%" << L{};
        QTest::newRow("0 company underscore literal") << M::ViewAll << "Customer Company Name" << "lawn_" << L{6};
        QTest::newRow("0 company double quote") << M::ViewAll << "Customer Company Name" << "o\"n" << L{12};
        QTest::newRow("0 company backslash") << M::ViewAll << "Customer Company Name" << "\\" << L{};
        QTest::newRow("1 unpaid") << M::ViewUnpaid << "All unpaid Invoices" << "" << L{10, 12, 11};
        QTest::newRow("1 unpaid smi") << M::ViewUnpaid << "Customer Last Name" << "smi" << L{10};
        QTest::newRow("2 estimates") << M::EstimateToWorkOrder << "All Estimates" << "" << L{100};
        QTest::newRow("2 number 5") << M::EstimateToWorkOrder << "Invoice Number" << "5" << L{};
        QTest::newRow("3 both") << M::EstimateOrWorkOrderToInvoice << "All Estimates and Work Orders" << ""
                                << L{100, 5};
        QTest::newRow("3 estimate") << M::EstimateOrWorkOrderToInvoice << "Estimate" << "" << L{100};
        QTest::newRow("3 work order") << M::EstimateOrWorkOrderToInvoice << "Work Order" << "" << L{5};
        QTest::newRow("3 last name b") << M::EstimateOrWorkOrderToInvoice << "Customer Last Name" << "b" << L{5};
        QTest::newRow("3 number 1") << M::EstimateOrWorkOrderToInvoice << "Invoice Number" << "1" << L{100};
        QTest::newRow("4 change orders") << M::ChangeOrderToInvoice << "All Change Order" << "" << L{6};
        QTest::newRow("5 no recurring") << M::InvoiceToCredit << "All Invoices" << "" << L{10, 1043, 12, 11};
        QTest::newRow("5 number 7") << M::InvoiceToCredit << "Invoice Number" << "7" << L{};
        QTest::newRow("6 no recurring") << M::PastDueNotice << "All Invoices" << "" << L{10, 1043, 12, 11};
        QTest::newRow("6 company acres") << M::PastDueNotice << "Customer Company Name" << "1000" << L{};
        QTest::newRow("7 unpaid") << M::PaidInFull << "All unpaid Invoices" << "" << L{10, 12, 11};
        QTest::newRow("8 credit") << M::DeleteDocument << "Credit" << "" << L{8};
        QTest::newRow("8 company acme") << M::DeleteDocument << "Customer Company Name" << "acme" << L{10, 8, 9};
        QTest::newRow("9 unpaid non recurring") << M::RecurringAdd << "All non recurring Invoices" << ""
                                                << L{10, 12, 11};
        QTest::newRow("9 number 1043") << M::RecurringAdd << "Invoice Number" << "1043" << L{};
        QTest::newRow("10 recurring") << M::RecurringRemove << "All recurring Invoices" << "" << L{7};
        QTest::newRow("11 last name gr") << M::RecurringView << "Customer Last Name" << "gr" << L{7};
        QTest::newRow("11 last name sm") << M::RecurringView << "Customer Last Name" << "sm" << L{};
    }
    void listsPerModeAndSearch()
    {
        QFETCH(TInvMaintenanceMode, mode);
        QFETCH(QString, searchItem);
        QFETCH(QString, text);
        QFETCH(QList<int>, expected);
        QVERIFY(InvMaintenanceSearchItems(mode).contains(searchItem));
        QList<int> listed;
        for (const TInvMaintenanceRow& row : QuerySavedInvoiceRows(BuildInvMaintenanceQuery(mode, searchItem, text)))
            listed << row.intInvNumber;
        QCOMPARE(listed, expected);
    }

    void screenModesAndSearchLists()
    {
        TfrmInvoiceMaintenance screen;
        showScreen(screen);
        auto* modes = screen.findChild<QComboBox*>(QStringLiteral("cmboInvMaintenanceType"));
        auto* search = screen.findChild<QComboBox*>(QStringLiteral("cmboInvSearch"));
        auto* text = screen.findChild<QLineEdit*>(QStringLiteral("txtInvSearch"));
        auto* list = screen.findChild<QTableView*>(QStringLiteral("lstvwInvMaintenance"));
        QVERIFY(modes && search && text && list);

        QCOMPARE(screen.windowTitle(), QStringLiteral("Invoice Maintenance"));
        QCOMPARE(modes->count(), 12);
        QCOMPARE(modes->currentIndex(), 0);
        QCOMPARE(modes->itemText(0), QStringLiteral("View\\Edit\\Print all saved Invoice Types"));
        QCOMPARE(modes->itemText(3), QStringLiteral("Convert Estimate\\ Work Order to Invoice"));
        QCOMPARE(modes->itemText(9), QString::fromUtf8("Recurring \xE2\x80\x93 Add Invoice to list"));
        QCOMPARE(modes->itemText(11), QString::fromUtf8("Recurring \xE2\x80\x93 View\\Edit\\Print"));
        QCOMPARE(list->toolTip(), QStringLiteral("Select Invoice to view, edit or print"));
        QCOMPARE(search->count(), 10); // "All Invoice Types", six types, three text searches
        QCOMPARE(search->itemText(6), QStringLiteral("Past Due"));
        QVERIFY(!text->isEnabled());
        QCOMPARE(ListedNumbers(screen.listModel()).size(), 10);

        // A new mode rebuilds the search list with its first item chosen.
        modes->setCurrentIndex(3);
        const QStringList mode3{"All Estimates and Work Orders", "Estimate", "Work Order",
                                "Invoice Number", "Customer Last Name", "Customer Company Name"};
        QStringList shown;
        for (int i = 0; i < search->count(); ++i) shown << search->itemText(i);
        QCOMPARE(shown, mode3);
        QCOMPARE(search->currentIndex(), 0);
        QCOMPARE(list->toolTip(), QStringLiteral("Select Estimate or Work Order to Convert"));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{100, 5}));

        // Search as you type, one key at a time.
        modes->setCurrentIndex(0);
        search->setCurrentIndex(search->findText(QStringLiteral("Invoice Number")));
        QVERIFY(text->isEnabled());
        QTest::keyClicks(text, QStringLiteral("1"));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10, 100, 1043, 12, 11}));
        QTest::keyClicks(text, QStringLiteral("0"));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10, 100, 1043}));

        // Another text search starts with an empty text; a type item empties and disables the box.
        search->setCurrentIndex(search->findText(QStringLiteral("Customer Last Name")));
        QCOMPARE(text->text(), QString());
        QVERIFY(text->isEnabled());
        QTest::keyClicks(text, QStringLiteral("smi"));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10, 100}));
        search->setCurrentIndex(search->findText(QStringLiteral("Credit")));
        QCOMPARE(text->text(), QString());
        QVERIFY(!text->isEnabled());
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{8}));
    }

    void unpaidOpeningShowsOnlyUnpaidInvoicesWithColumns()
    {
        blShowUnpaidOnly = true;
        TfrmInvoiceMaintenance screen;
        showScreen(screen);
        blShowUnpaidOnly = false;
        auto* modes = screen.findChild<QComboBox*>(QStringLiteral("cmboInvMaintenanceType"));
        QCOMPARE(modes->currentIndex(), 1);
        TInvMaintenanceListModel& model = screen.listModel();
        QCOMPARE(ListedNumbers(model), (QList<int>{10, 12, 11}));

        QStringList headers;
        for (int column = 0; column < model.columnCount(); ++column)
            headers << model.headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"Number", "Invoice Type", "Customer", "Company", "Total", "Info"}));
        QStringList first;
        for (int column = 0; column < model.columnCount(); ++column)
            first << model.data(model.index(0, column)).toString();
        QCOMPARE(first, (QStringList{"10", "Invoice", "Smith, John", "Acme Windows", "$105.00", ""}));

        // Info: paid wins over recurring; neither leaves it empty.
        modes->setCurrentIndex(0);
        QCOMPARE(model.data(model.index(2, TInvMaintenanceListModel::ColInfo)).toString(), QStringLiteral("Paid"));
        QCOMPARE(model.data(model.index(5, TInvMaintenanceListModel::ColInfo)).toString(), QStringLiteral("Recurring"));
    }

    void unreadableFlagIsAnErrorOfTheQuery()
    {
        InsertTestDoc({.number = 77, .type = "Invoice", .fullName = "Odd, Row", .company = "X", .paid = "yes"});
        const auto removeRow = qScopeGuard([] {
            DbConnection().execute(QStringLiteral("DELETE FROM tblInvDataHeader WHERE intInvNumber = 77;"));
        });
        try {
            QuerySavedInvoiceRows(BuildInvMaintenanceQuery(TInvMaintenanceMode::ViewAll, "All Invoice Types", ""));
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("''yes'' is not a valid integer value"));
        }

        // On the screen the error is shown, the list is left empty and the screen stays usable.
        ScriptedMessages messages;
        TfrmInvoiceMaintenance screen;
        showScreen(screen);
        QCOMPARE(messages.texts(), QStringList{"''yes'' is not a valid integer value."});
        QCOMPARE(screen.listModel().rowCount(), 0);
        screen.findChild<QComboBox*>(QStringLiteral("cmboInvMaintenanceType"))->setCurrentIndex(2);
        QCOMPARE(ListedNumbers(screen.listModel()), QList<int>{100});
    }
};

FENNICK_TEST_MAIN(TestInvoiceMaintenance)
#include "test_invoicemaintenance.moc"
