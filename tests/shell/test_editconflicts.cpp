// Two seats on one database: a save of a record another seat changed or
// deleted after it was opened is refused (customers, price items, company
// settings, contract and warranty, planner activities), settings another seat
// saved are used from the next screen on, and the main window reads its
// summaries again when it is activated. Each store call opens a connection of
// its own, as each seat does; on the server the save's check holds the rows.
#include "common/ScreenScript.h"
#include "common/TestDatabase.h"
#include "common/TestServer.h"
#include "common/TestSupport.h"

#include "app/unitAppPreferences.h"
#include "app/unitDispatch.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "company/unitCompanyStore.h"
#include "customers/unitCustomerStore.h"
#include "db/DbConnection.h"
#include "db/unitRecordVersion.h"
#include "planner/unitActivityStore.h"
#include "prices/unitPriceStore.h"
#include "shell/unitfrmMain.h"
#include "writer/unitContractWarrantyStore.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QRegularExpression>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QToolButton>
#include <functional>

namespace {

// One kind of record as two seats see it: open it (keeping what was read),
// save it with a new text, and change it as the other seat does.
struct TRecordKind {
    std::function<TRecordVersion()> open;
    std::function<void(TRecordVersion&, const QString&)> save;
    std::function<QString()> storedText;
    std::function<void()> deleteIt;   // empty where a record cannot be deleted
    QString what;                     // how the refusal names it
};

qint64 StoreCustomer(const QString& company)
{
    TCustomer customer;
    customer.strCustCompany = company;
    customer.strCustTaxExmpt = QStringLiteral("0");
    return SaveCustomer(customer);
}

TRecordKind CustomerKind()
{
    const qint64 id = StoreCustomer(QStringLiteral("Acme"));
    return {[id] {
                TRecordVersion version;
                LoadCustomer(id, &version);
                return version;
            },
            [id](TRecordVersion& version, const QString& text) {
                TCustomer customer = LoadCustomer(id);
                customer.strCustCompany = text;
                SaveCustomer(customer, &version);
            },
            [id] { return LoadCustomer(id).strCustCompany; }, [id] { DeleteCustomer(id); },
            QStringLiteral("This customer")};
}

TRecordKind PriceItemKind()
{
    const qint64 id = SavePriceItem({std::nullopt, QStringLiteral("Gutters"), QStringLiteral("0"), QStringLiteral("0"),
                                     QStringLiteral("10"), QStringLiteral("0")});
    return {[id] {
                TRecordVersion version;
                LoadPriceItem(id, &version);
                return version;
            },
            [id](TRecordVersion& version, const QString& text) {
                SavePriceItem({id, text, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("10"),
                               QStringLiteral("0")},
                              &version);
            },
            [id] { return LoadPriceItem(id) ? LoadPriceItem(id)->strPrcItemName : QString(); },
            [id] { DeletePriceItem(id); }, QStringLiteral("This price item")};
}

TRecordKind CompanyKind()
{
    return {[] { return ReadCompanySettingsVersion(); },
            [](TRecordVersion& version, const QString& text) {
                TCompanySettings settings = CurrentCompanySettings();
                settings.company.strCompName = text;
                SaveCompanySettings(settings, {}, &version);
            },
            [] {
                DbConnection db;
                DbStatement read = db.prepare(QStringLiteral("SELECT strCompName FROM tblCompanyInfo;"));
                return read.step() ? read.columnText(0) : QString();
            },
            {}, QStringLiteral("The company information")};
}

TRecordKind WarrantyKind()
{
    return {[] {
                TRecordVersion version;
                LoadContractWarranty(0, &version);
                return version;
            },
            [](TRecordVersion& version, const QString& text) {
                SaveContractWarranty(0, {QStringLiteral("Warranty"), text}, &version);
            },
            [] { return LoadContractWarranty(0).strText; }, {}, QStringLiteral("The warranty")};
}

// The activity's id changes with every save: the kind follows it.
TRecordKind ActivityKind()
{
    auto master = std::make_shared<qint64>(0);
    const auto saveAs = [master](const QString& title, const TRecordVersion* opened) {
        TActivityInput input;
        if (*master) input.masterId = *master;
        input.start = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
        input.end = QDateTime(QDate(2026, 3, 3), QTime(10, 0));
        input.title = title;
        const qint64 saved = pSavePlannerActivity(input, opened);
        RunOutSavingNotice();
        *master = saved;
    };
    saveAs(QStringLiteral("Roof"), nullptr);
    return {[master] { return ReadActivityVersion(*master); },
            [saveAs](TRecordVersion& version, const QString& text) {
                saveAs(text, &version);
                version = TRecordVersion();   // a new id: the seat opens it again
            },
            [] {
                const std::vector<TActivityRow> rows = ReadActivityDay(2026, QDate(2026, 3, 2).dayOfYear());
                return rows.empty() ? QString() : rows.back().strActivity;
            },
            [master] { DeletePlannerActivity(*master); }, QStringLiteral("This activity")};
}

TRecordKind KindNamed(const QString& name)
{
    if (name == QLatin1String("customer")) return CustomerKind();
    if (name == QLatin1String("price item")) return PriceItemKind();
    if (name == QLatin1String("company")) return CompanyKind();
    if (name == QLatin1String("warranty")) return WarrantyKind();
    return ActivityKind();
}

QString ErrorOfCall(const std::function<void()>& call)
{
    try {
        call();
    } catch (const EditConflictError& error) {
        return error.message();
    }
    return QString();
}

// The list row of a customer, found by the hidden id column.
int RowOfCustomer(QWidget& screen, qint64 id)
{
    QAbstractItemModel* model = Find<QTableView>(screen, "lstvCustomers")->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toLongLong() == id) return row;
    qFatal("customer not listed");
}

void ClickTool(QWidget& screen, const char* name)
{
    QToolButton* button = Find<QToolButton>(screen, name);
    QCoreApplication::processEvents();
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Another seat's edit of the settings rows, straight in the database (this
// program's settings in memory stay as they were).
void OtherSeatRenamesCompany(const QString& name, double taxRate)
{
    DbConnection db;
    db.execute(QStringLiteral("UPDATE tblCompanyInfo SET strCompName = ?;"), {name});
    db.execute(QStringLiteral("UPDATE tblCompanyInvData SET dbTaxRate1 = ?;"), {taxRate});
}

void OtherSeatStoresUnpaidInvoice(int number)
{
    DbConnection db;
    db.execute(QStringLiteral("INSERT INTO tblInvDataHeader(intInvNumber,strInvName,strPaidInFull,strRecurring) "
                              "VALUES(?,?,?,?);"),
               {number, QStringLiteral("Invoice"), QStringLiteral("0"), QStringLiteral("0")});
}

} // namespace

class TestEditConflicts : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        LoadAppPreferences();
    }
    void cleanup() { RunOutSavingNotice(); }

    void kinds_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"customer", "price item", "company", "warranty", "activity"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    // Seat A opens, seat B saves, seat A's save is refused and B's edit stays;
    // A opens again and its save goes through.
    void saveOfARecordChangedElsewhereIsRefused_data() { kinds_data(); }
    void saveOfARecordChangedElsewhereIsRefused()
    {
        QFETCH(QString, kind);
        const TRecordKind record = KindNamed(kind);
        TRecordVersion seatA = record.open();
        TRecordVersion seatB = record.open();
        record.save(seatB, QStringLiteral("Changed on seat B"));

        const QString refusal = ErrorOfCall([&] { record.save(seatA, QStringLiteral("Typed on seat A")); });
        const QString change = kind == QLatin1String("activity") ? QStringLiteral("changed or deleted")
                                                                 : QStringLiteral("changed");
        QCOMPARE(refusal, EditConflictMessage(record.what, kind == QLatin1String("activity")
                                                               ? EditConflictKind::ChangedOrDeleted
                                                               : EditConflictKind::Changed));
        QVERIFY2(refusal.startsWith(record.what + QStringLiteral(" was ") + change + QStringLiteral(" on another computer")),
                 qPrintable(refusal));
        QCOMPARE(record.storedText(), QStringLiteral("Changed on seat B"));

        seatA = record.open();
        record.save(seatA, QStringLiteral("Typed on seat A"));
        QCOMPARE(record.storedText(), QStringLiteral("Typed on seat A"));
    }

    // A seat's own saves follow one another without a refusal: after each
    // save the seat compares against what it wrote.
    void ownSavesFollowEachOther_data() { kinds_data(); }
    void ownSavesFollowEachOther()
    {
        QFETCH(QString, kind);
        const TRecordKind record = KindNamed(kind);
        TRecordVersion seatA = record.open();
        record.save(seatA, QStringLiteral("First"));
        if (seatA.isEmpty()) seatA = record.open();
        record.save(seatA, QStringLiteral("Second"));
        QCOMPARE(record.storedText(), QStringLiteral("Second"));
    }

    void saveOfARecordDeletedElsewhereIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("conflict");
        QTest::newRow("customer") << "customer" << int(EditConflictKind::Deleted);
        QTest::newRow("price item") << "price item" << int(EditConflictKind::Deleted);
        QTest::newRow("activity") << "activity" << int(EditConflictKind::ChangedOrDeleted);
    }
    void saveOfARecordDeletedElsewhereIsRefused()
    {
        QFETCH(QString, kind);
        QFETCH(int, conflict);
        const TRecordKind record = KindNamed(kind);
        TRecordVersion seatA = record.open();
        record.deleteIt();
        QCOMPARE(ErrorOfCall([&] { record.save(seatA, QStringLiteral("Typed on seat A")); }),
                 EditConflictMessage(record.what, EditConflictKind(conflict)));
        QCOMPARE(record.storedText(), QString());   // not written back
    }

    // Every saved document advances the counter in the settings row: that is
    // no change of the settings. The e-invoice settings are part of them.
    void companySettingsCompareWithoutTheCounter()
    {
        TRecordVersion opened = ReadCompanySettingsVersion();
        {
            DbConnection otherSeat;
            otherSeat.execute(QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = intInvNumber + 7;"));
        }
        TCompanySettings settings = CurrentCompanySettings();
        settings.company.strCompName = QStringLiteral("Still saved");
        SaveCompanySettings(settings, {}, &opened);
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Still saved"));

        {
            DbConnection otherSeat;
            otherSeat.execute(QStringLiteral("UPDATE tblEInvoiceSettings SET strIban = 'DE02120300000000202051';"));
        }
        settings.company.strCompName = QStringLiteral("Not saved");
        QCOMPARE(ErrorOfCall([&] { SaveCompanySettings(settings, {}, &opened); }),
                 EditConflictMessage(QStringLiteral("The company information"), EditConflictKind::Changed));
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Still saved"));
    }

    // On the server the check holds the record's row until the save ends: a
    // second seat cannot change it in between.
    void checkLocksTheRowOnTheServer()
    {
        if (!TestRunsOnServer()) QSKIP("the server's row locks");
        const qint64 id = StoreCustomer(QStringLiteral("Acme"));
        TRecordVersion opened;
        LoadCustomer(id, &opened);

        DbConnection seatA;
        DbTransaction saving(seatA);
        opened.checkUnchanged(seatA, QStringLiteral("This customer"));

        DbConnection seatB = DbConnection::ToServer(TestProgramConnection());
        seatB.execute(QStringLiteral("SET lock_timeout = 50;"));
        try {
            seatB.execute(QStringLiteral("UPDATE tblCustomers SET strCustCompany = 'B' WHERE intCustomerID = ?;"), {id});
            QFAIL("the row was not locked");
        } catch (const DbEngineError& error) {
            QCOMPARE(error.sqlState(), QStringLiteral("55P03"));   // lock_not_available
        }
        saving.commit();
    }

    // On the customer screen: the refusal is shown, what was typed stays on
    // screen, and the screen opened again shows the other seat's change.
    void customerScreenKeepsWhatWasTypedWhenRefused()
    {
        const qint64 id = StoreCustomer(QStringLiteral("Acme"));
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& screen) {
            ClickRow(Find<QTableView>(screen, "lstvCustomers"), RowOfCustomer(screen, id));
            QLineEdit* company = Find<QLineEdit>(screen, "txtCustCmpnyName");
            company->selectAll();
            QTest::keyClicks(company, QStringLiteral("Acme Roofing"));

            TCustomer otherSeat = LoadCustomer(id);
            otherSeat.strCustPhone = QStringLiteral("5550100");
            SaveCustomer(otherSeat);

            ClickTool(screen, "tlbtnSave");
            QCOMPARE(messages.texts(),
                     QStringList{EditConflictMessage(QStringLiteral("This customer"), EditConflictKind::Changed)});
            QCOMPARE(company->text(), QStringLiteral("Acme Roofing"));
            QCOMPARE(Find<QStackedWidget>(screen, "pgctrlCustomer")->currentWidget()->objectName(),
                     QStringLiteral("tbsheetEditArea"));
            messages.clear();
            messages.queue(MessageAnswer::No);   // leave the edit without saving
            ClickTool(screen, "tlbtnRtnToCustList");

            ClickRow(Find<QTableView>(screen, "lstvCustomers"), RowOfCustomer(screen, id));
            QCOMPARE(company->text(), QStringLiteral("Acme"));
            QVERIFY(Find<QLineEdit>(screen, "txtCustPhone")->text().remove(QRegularExpression(QStringLiteral("\\D")))
                        .endsWith(QStringLiteral("5550100")));
            screen.reject();
        });
        OpenCustomers();
        QVERIFY(script.allRun());
        QCOMPARE(LoadCustomer(id).strCustCompany, QStringLiteral("Acme"));
        QCOMPARE(LoadCustomer(id).strCustPhone, QStringLiteral("5550100"));
    }

    // Coming back to the main window reads the summaries and the company
    // name again.
    void mainWindowRefreshesWhenActivated()
    {
        TfrmMain window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* unpaid = window.findChild<QGroupBox*>(QStringLiteral("GroupBoxUnPaidInvoices"));
        auto* companyName = window.findChild<QLabel*>(QStringLiteral("lblCompanyName"));
        QVERIFY(unpaid && companyName);
        QVERIFY(!unpaid->isVisible());

        QWidget elsewhere;   // another program's window
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        OtherSeatStoresUnpaidInvoice(1001);
        OtherSeatRenamesCompany(QStringLiteral("Acme Renamed"), 0);
        QVERIFY(!unpaid->isVisible());   // nothing read while away

        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(unpaid->isVisible());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblUnPaidInvoices"))->text(),
                 QStringLiteral("UnPaid Invoices: 1"));
        QCOMPARE(companyName->text(), QStringLiteral("Acme Renamed"));
        window.close();
    }
};

FENNICK_TEST_MAIN(TestEditConflicts)
#include "test_editconflicts.moc"
