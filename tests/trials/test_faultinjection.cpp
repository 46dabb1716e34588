// Fault-injection trials: every store operation that writes runs with the Nth
// write or sync of the database engine failing (an I/O error or a full disk,
// once or from then on), for N = 1, 2, ... until it gets through. After every
// failure the file must pass the engine's integrity check and equal its state
// before the call, the error must reach the user, and running the same
// operation again must succeed and give the same result as an undisturbed run.
//
// The operations are one table: a new store operation is one more row.
// FENNICK_TRIALS=full runs every kind of fault; otherwise two kinds run.
#include "common/FaultVfs.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "common/TrialSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyStore.h"
#include "customers/unitCustomerStore.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentCopy.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"
#include "maintenance/unitManualForms.h"
#include "planner/unitActivityStore.h"
#include "planner/unitOldActivities.h"
#include "planner/unitPlannerSettings.h"
#include "prices/unitPriceStore.h"
#include "writer/unitContractWarrantyStore.h"

#include <QFile>
#include <cstdio>
#include <functional>

namespace {

using TAction = std::function<void()>;

// One row: prepare() puts what the operation needs into the fresh database
// (no fault is armed then) and returns the operation, holding what the user
// holds in memory; a retry runs the same closure again.
struct TStoreOperation {
    QString name;
    std::function<TAction()> prepare;
};

const QString kDate = QStringLiteral("3/15/2026");

// Stores a document the way the editor's Save does; returns its number.
int StoreDocument(const QString& type, bool paid, int lines = 100, bool recurring = false)
{
    TInvDocument document = MakeTrialDocument(GetNextInvNumber(), type, lines, 1, kDate, paid);
    document.header.strRecurring = recurring;
    SaveDocumentWithLedger(document, NewSavedData(), false);
    RunOutSavingNotice();
    return document.header.intInvNumber;
}

TInvMaintenanceRow RowOf(int number, const QString& type)
{
    TInvMaintenanceRow row;
    row.intInvNumber = number;
    row.strInvName = type;
    return row;
}

TAction MaintenanceAction(TInvMaintenanceMode mode, const QString& type, bool paid)
{
    const TInvMaintenanceRow row = RowOf(StoreDocument(type, paid), type);
    return [mode, row] { RunInvMaintenanceAction(mode, row); };
}

TCustomer TrialCustomer()
{
    TCustomer c;
    c.strCustFirstName = QStringLiteral("Ann");
    c.strCustLastName = QStringLiteral("O'Hara \"Jr\"");
    c.strCustCompany = QStringLiteral("50% Off_Windows\\Doors");
    c.strCustNotes = QString(4000, QLatin1Char('n'));
    c.strCustTaxExmpt = QStringLiteral("0");
    return c;
}

TPriceItem TrialPrice()
{
    TPriceItem item;
    item.strPrcItemName = QStringLiteral("Gutter cleaning");
    item.strLabTax = QStringLiteral("-1");
    item.strMatTax = QStringLiteral("0");
    item.strLbrPrc = QStringLiteral("45.5");
    item.strMatPrc = QStringLiteral("12.25");
    return item;
}

// Every store operation that writes.
QList<TStoreOperation> StoreOperations()
{
    using M = TInvMaintenanceMode;
    return {
        {QStringLiteral("save new paid invoice (100 lines, ledger)"),
         [] {
             const TInvDocument document =
                 MakeTrialDocument(GetNextInvNumber(), QStringLiteral("Invoice"), 100, 2, kDate, true);
             return TAction([document] { SaveDocumentWithLedger(document, NewSavedData(), false); });
         }},
        {QStringLiteral("save existing paid invoice (100 lines, ledger)"),
         [] {
             const int number = StoreDocument(QStringLiteral("Invoice"), true);
             const TLoadedDocument loaded = LoadDocument(number);
             TInvDocument changed = MakeTrialDocument(number, QStringLiteral("Invoice"), 100, 7,
                                                      QStringLiteral("4/2/2026"), true);
             const TrecSavedData saved = loaded.savedData;
             return TAction([changed, saved] { SaveDocumentWithLedger(changed, saved, true); });
         }},
        {QStringLiteral("save existing credit (ledger)"),
         [] {
             const int number = StoreDocument(QStringLiteral("Credit"), false, 10);
             const TLoadedDocument loaded = LoadDocument(number);
             TInvDocument changed = MakeTrialDocument(number, QStringLiteral("Credit"), 12, 3, kDate, false);
             const TrecSavedData saved = loaded.savedData;
             return TAction([changed, saved] { SaveDocumentWithLedger(changed, saved, true); });
         }},
        {QStringLiteral("convert estimate to work order"),
         [] { return MaintenanceAction(M::EstimateToWorkOrder, QStringLiteral("Estimate"), false); }},
        {QStringLiteral("convert work order to invoice"),
         [] { return MaintenanceAction(M::EstimateOrWorkOrderToInvoice, QStringLiteral("Work Order"), false); }},
        {QStringLiteral("convert paid invoice to credit (ledger)"),
         [] { return MaintenanceAction(M::InvoiceToCredit, QStringLiteral("Invoice"), true); }},
        {QStringLiteral("mark paid in full (ledger)"),
         [] { return MaintenanceAction(M::PaidInFull, QStringLiteral("Invoice"), false); }},
        {QStringLiteral("past-due copy"),
         [] { return MaintenanceAction(M::PastDueNotice, QStringLiteral("Invoice"), false); }},
        {QStringLiteral("delete document"),
         [] { return MaintenanceAction(M::DeleteDocument, QStringLiteral("Invoice"), true); }},
        {QStringLiteral("recurring on"),
         [] { return MaintenanceAction(M::RecurringAdd, QStringLiteral("Invoice"), false); }},
        {QStringLiteral("recurring run"),
         [] {
             StoreDocument(QStringLiteral("Invoice"), false, 100, true);
             return TAction([] { PrintRecurringInvoices(); });
         }},
        {QStringLiteral("save new customer"),
         [] { return TAction([] { SaveCustomer(TrialCustomer()); }); }},
        {QStringLiteral("save existing customer"),
         [] {
             TCustomer customer = TrialCustomer();
             customer.intCustomerID = SaveCustomer(customer);
             customer.strCustCity = QStringLiteral("Springfield");
             return TAction([customer] { SaveCustomer(customer); });
         }},
        {QStringLiteral("delete customer"),
         [] {
             const qint64 id = SaveCustomer(TrialCustomer());
             return TAction([id] { DeleteCustomer(id); });
         }},
        {QStringLiteral("save new price"),
         [] { return TAction([] { SavePriceItem(TrialPrice()); }); }},
        {QStringLiteral("save existing price"),
         [] {
             TPriceItem item = TrialPrice();
             item.intPrcItemNumID = SavePriceItem(item);
             item.strLbrPrc = QStringLiteral("50");
             return TAction([item] { SavePriceItem(item); });
         }},
        {QStringLiteral("delete price"),
         [] {
             const qint64 id = SavePriceItem(TrialPrice());
             return TAction([id] { DeletePriceItem(id); });
         }},
        {QStringLiteral("planner settings save"),
         [] {
             TrecPlannerSettings settings = LoadPlannerSettings();
             settings.intActColor = 0x102030;
             settings.intRemoveActivity = 3;
             return TAction([settings] { SavePlannerSettings(settings); });
         }},
        {QStringLiteral("planner old activity removal"),
         [] {
             TrecPlannerSettings settings = LoadPlannerSettings();
             settings.intRemoveActivity = 1;
             SavePlannerSettings(settings);
             return TAction([] { pRemoveOldActivities(QDate::currentDate().addDays(400)); });
         }},
        {QStringLiteral("contract save"),
         [] {
             const TContractWarrantyText text{QStringLiteral("Service Contract"),
                                              QString(20000, QLatin1Char('c')) + QStringLiteral("\r\nend")};
             return TAction([text] { SaveContractWarranty(1, text); });
         }},
        {QStringLiteral("company settings save (four tables)"),
         [] {
             TCompanySettings settings = CurrentCompanySettings();
             settings.company.strCompName = QStringLiteral("O'Neil \"Windows\" & Sons");
             settings.invData.dbTaxRate2 = 0.0725;
             settings.typeColors[3] = 0x00ABCDEF;
             settings.planner.intRemoveActivity = 2;
             return TAction([settings] { SaveCompanySettings(settings, TLogoChange{}); });
         }},
        {QStringLiteral("planner save of a new activity (four days)"),
         [] {
             TActivityInput input;
             input.start = QDateTime(QDate(2026, 12, 30), QTime(10, 0));
             input.end = QDateTime(QDate(2027, 1, 2), QTime(8, 0));
             input.title = QStringLiteral("Roof \"north\" side");
             input.note = QString(2000, QLatin1Char('n'));
             return TAction([input] { pSavePlannerActivity(input); });
         }},
        {QStringLiteral("planner save replacing an activity"),
         [] {
             TActivityInput input;
             input.start = QDateTime(QDate(2026, 3, 1), QTime(9, 0));
             input.end = QDateTime(QDate(2026, 3, 5), QTime(17, 0));
             input.title = QStringLiteral("Fence");
             input.masterId = pSavePlannerActivity(input);
             RunOutSavingNotice();
             input.end = QDateTime(QDate(2026, 3, 2), QTime(12, 0));
             input.priority = true;
             return TAction([input] { pSavePlannerActivity(input); });
         }},
        {QStringLiteral("planner delete of an activity"),
         [] {
             TActivityInput input;
             input.start = QDateTime(QDate(2026, 5, 1), QTime(9, 0));
             input.end = QDateTime(QDate(2026, 5, 3), QTime(17, 0));
             input.title = QStringLiteral("Lawn");
             const qint64 master = pSavePlannerActivity(input);
             RunOutSavingNotice();
             return TAction([master] { DeletePlannerActivity(master); });
         }},
        {QStringLiteral("manual form printed and recorded"),
         [] {
             TManualFormChoice choice;
             choice.typeName = QStringLiteral("Invoice");
             choice.paymentTerm = QStringLiteral("Net 30");
             choice.footNote = 1;
             choice.signatureLine = true;
             return TAction([choice] { RunManualForms(choice, 1, {}, [](int) {}); });
         }},
        {QStringLiteral("warranty save"),
         [] {
             const TContractWarrantyText text{QStringLiteral("Warranty"), QStringLiteral("Two years \"parts\"")};
             return TAction([text] { SaveContractWarranty(0, text); });
         }},
    };
}

QList<faultvfs::Fault> FaultKinds(bool full)
{
    using namespace faultvfs;
    if (!full) return {{Step::Write, Failure::IoError, false}, {Step::Sync, Failure::DiskFull, true}};
    QList<Fault> kinds;
    for (bool persistent : {false, true})
        for (Step step : {Step::Write, Step::Sync})
            for (Failure failure : {Failure::IoError, Failure::DiskFull}) kinds.append({step, failure, persistent});
    return kinds;
}

QString TemplatePath() { return GetDataFolder() + QStringLiteral("/trial-template.db"); }

void RestoreTemplate()
{
    QFile::remove(GetDatabasePath() + QStringLiteral("-journal"));
    QFile::remove(GetDatabasePath());
    QVERIFY(QFile::copy(TemplatePath(), GetDatabasePath()));
}

} // namespace

class TestFaultInjection : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SetSavingNoticeTickMs(600000);
        CreateTestDatabase();
        QVERIFY(QFile::copy(GetDatabasePath(), TemplatePath()));
        SetCopyPrinter([](const TInvDocument&) {});
        faultvfs::Install();
    }
    void cleanupTestCase()
    {
        faultvfs::Disarm();
        DbConnection::SetFileLayerName({});
        SetCopyPrinter({});
    }

    void everyWritingOperationSurvivesEveryFault_data()
    {
        QTest::addColumn<int>("row");
        const QList<TStoreOperation> operations = StoreOperations();
        for (int i = 0; i < operations.size(); ++i) QTest::newRow(qPrintable(operations[i].name)) << i;
    }

    void everyWritingOperationSurvivesEveryFault()
    {
        QFETCH(int, row);
        const TStoreOperation operation = StoreOperations().at(row);
        const bool full = qgetenv("FENNICK_TRIALS") == "full";
        QStringList faults;

        // The undisturbed run gives the state every retry must reach.
        RestoreTemplate();
        TAction action = operation.prepare();
        action();
        RunOutSavingNotice();
        const QString expected = DumpDatabase();

        for (const faultvfs::Fault& kind : FaultKinds(full)) {
            for (int n = 1;; ++n) {
                QVERIFY2(n < 2000, "the operation never got through");
                RestoreTemplate();
                action = operation.prepare();
                const QString before = DumpDatabase();
                faultvfs::Arm(kind, n);
                QString error;
                try {
                    action();
                } catch (const AppError& e) {
                    error = e.message();
                    if (error.isEmpty()) error = QStringLiteral("<empty message>");
                } catch (const std::exception& e) {
                    error = QStringLiteral("<not a program error> ") + QString::fromLocal8Bit(e.what());
                }
                faultvfs::Disarm();
                RunOutSavingNotice();
                const bool fired = faultvfs::Fired();
                const QString where = QStringLiteral("%1, %2 #%3").arg(operation.name, faultvfs::Describe(kind)).arg(n);
                if (!fired) {
                    // Got through without meeting the fault: the run of this kind is over.
                    if (!error.isEmpty()) faults << where + QStringLiteral(": error without a fault: ") + error;
                    else if (DumpDatabase() != expected) faults << where + QStringLiteral(": result differs");
                    trials += n - 1;
                    break;
                }
                const QString integrity = IntegrityCheck();
                if (integrity != QStringLiteral("ok")) faults << where + QStringLiteral(": integrity: ") + integrity;
                const QString after = DumpDatabase();
                if (error.isEmpty()) {
                    // The engine got over the failure by itself: then the work must be done whole.
                    ++absorbed;
                    if (after != expected) faults << where + QStringLiteral(": failure reported as success");
                    continue;
                }
                if (!error.startsWith(QStringLiteral("SQLite Error")))
                    faults << where + QStringLiteral(": unclear error: ") + error;
                if (after != before)
                    faults << where + (after == expected ? QStringLiteral(": done, but reported as failed: ")
                                                         : QStringLiteral(": database changed: "))
                                  + error;
                try {
                    action();
                    RunOutSavingNotice();
                    if (after == before && DumpDatabase() != expected)
                        faults << where + QStringLiteral(": retry gave another result");
                } catch (const AppError& e) {
                    faults << where + QStringLiteral(": retry failed: ") + e.message();
                }
            }
        }
        foundFaults += int(faults.size());
        for (const QString& fault : std::as_const(faults)) qWarning("FAULT %s", qPrintable(fault));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void printFigures()
    {
        std::printf("fault injection: %d operations x %d kinds of fault, %d failures injected "
                    "(%d with the work done whole and no error to show), faults found: %d\n",
                    int(StoreOperations().size()), int(FaultKinds(qgetenv("FENNICK_TRIALS") == "full").size()),
                    trials, absorbed, foundFaults);
        std::fflush(stdout);
    }

private:
    int trials = 0;
    int absorbed = 0;
    int foundFaults = 0;
};

FENNICK_TEST_MAIN(TestFaultInjection)
#include "test_faultinjection.moc"
