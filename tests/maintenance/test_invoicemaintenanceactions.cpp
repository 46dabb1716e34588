// Invoice maintenance acting on a clicked row: the questions, No and Cancel
// leaving everything as it was, and Yes changing the stored documents and the
// ledger through the store; rows opened in the editor; the main window's
// summaries after the screen closes.
#include "common/TestServer.h"
#include "common/TestSupport.h"
#include "maintenance/MaintenanceFixture.h"

#include "app/unitModalRunner.h"
#include "app/unitModeValues.h"
#include "app/unitPagedListModel.h"
#include "shell/unitfrmMain.h"
#include "documents/unitDocumentStore.h"
#include "editor/unitfrmInvoice.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"

#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

Q_DECLARE_METATYPE(TInvMaintenanceMode)
Q_DECLARE_METATYPE(MessageAnswer)

namespace {

const QString kYes = QStringLiteral("-1");

// Stored in this order; the counter stands at 1000.
void InsertActionFixture()
{
    InsertTestDoc({.number = 10, .type = "Invoice", .fullName = "Smith, John", .company = "Acme", .lines = 2});
    InsertTestDoc({.number = 20, .type = "Estimate", .fullName = "Brown, Al", .company = "Lawns", .labour = 200});
    InsertTestDoc({.number = 30, .type = "Work Order", .fullName = "Green, Sue", .company = "Fence"});
    InsertTestDoc({.number = 40, .type = "Change Order", .fullName = "Gray, Tom", .company = "Roof"});
    InsertTestDoc({.number = 50, .type = "Invoice", .fullName = "White, Jo", .company = "Office", .recurring = kYes});
    InsertTestDoc({.number = 60, .type = "Invoice", .fullName = "Black, Ed", .company = "Care", .labour = 40,
                   .material = 60, .date = "11/30/2023"});
    DbConnection().execute(QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = 1000;"));
}

// Every stored header, line and ledger row as text, to show that nothing changed.
QString DumpStoredData()
{
    QStringList out;
    DbConnection connection;
    for (const QString table : {"tblInvDataHeader", "tblInvData", "tblReport", "tblCompanyInvData"}) {
        DbStatement read = connection.prepare(QStringLiteral("SELECT * FROM %1 ORDER BY 1;").arg(table));
        while (read.step()) {
            QStringList cells;
            for (int c = 0; c < read.columnCount(); ++c) cells << read.columnText(c);
            out << table + QLatin1Char(':') + cells.join(QLatin1Char('|'));
        }
    }
    return out.join(QLatin1Char('\n'));
}

// The stored header of a document, column name to stored text; empty when not stored.
QMap<QString, QString> HeaderOf(int number)
{
    const QStringList names = ProgramTableColumns(QStringLiteral("tblInvDataHeader"));
    DbConnection connection;
    QMap<QString, QString> header;
    DbStatement read = connection.prepare(
        QStringLiteral("SELECT * FROM tblInvDataHeader WHERE intInvNumber = ?;"), {number});
    if (!read.step()) return header;
    for (int c = 1; c < read.columnCount(); ++c) header.insert(names.at(c), read.columnText(c));
    return header;
}

// The ledger row of a month: labour tax 1, labour total, material total; "<none>" without a row.
QString LedgerOf(int year, int month)
{
    DbConnection connection;
    DbStatement read = connection.prepare(QStringLiteral("SELECT dbLbrTax1Total, dbLbrTotal, dbMatTotal FROM tblReport "
                                                         "WHERE intReportYear = ? AND intReportMonth = ?;"),
                                          {year, month});
    if (!read.step()) return QStringLiteral("<no row>");
    return read.columnText(0) + QLatin1Char(' ') + read.columnText(1) + QLatin1Char(' ') + read.columnText(2);
}

QComboBox* ModeList(QWidget& screen)
{
    return screen.findChild<QComboBox*>(QStringLiteral("cmboInvMaintenanceType"));
}

// Clicks the row of a document, as a person does with the mouse.
void ClickDocument(TfrmInvoiceMaintenance& screen, int number)
{
    auto* list = screen.findChild<QTableView*>(QStringLiteral("lstvwInvMaintenance"));
    const int row = ListedNumbers(screen.listModel()).indexOf(number);
    QVERIFY2(row >= 0, qPrintable(QStringLiteral("%1 is not listed").arg(number)));
    const QModelIndex index = screen.listModel().index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void OpenInMode(TfrmInvoiceMaintenance& screen, TInvMaintenanceMode mode)
{
    screen.show();
    ModeList(screen)->setCurrentIndex(int(mode));
}

} // namespace

class TestInvoiceMaintenanceActions : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        InsertActionFixture();
        blShowUnpaidOnly = false;
    }

    void noAndCancelChangeNothing_data()
    {
        using M = TInvMaintenanceMode;
        QTest::addColumn<TInvMaintenanceMode>("mode");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("question");
        QTest::newRow("2") << M::EstimateToWorkOrder << 20 << "Convert Estimate 20 to Work Order?";
        QTest::newRow("3") << M::EstimateOrWorkOrderToInvoice << 30 << "Convert Work Order 30 to Invoice?";
        QTest::newRow("4") << M::ChangeOrderToInvoice << 40 << "Convert Change Order 40 to Invoice?";
        QTest::newRow("5") << M::InvoiceToCredit << 10 << "Convert Invoice 10 to Credit?";
        QTest::newRow("6") << M::PastDueNotice << 10 << "Create Past Due Notice for Invoice 10";
        QTest::newRow("7") << M::PaidInFull << 10 << "Change Invoice 10 to Paid In Full?";
        QTest::newRow("8") << M::DeleteDocument << 30 << "Delete Work Order 30?";
        QTest::newRow("9") << M::RecurringAdd << 10 << "Add Invoice 10 to recurring list?";
        QTest::newRow("10") << M::RecurringRemove << 50 << "Remove Invoice 50 from recurring list?";
    }
    void noAndCancelChangeNothing()
    {
        QFETCH(TInvMaintenanceMode, mode);
        QFETCH(int, number);
        QFETCH(QString, question);
        const QString before = DumpStoredData();
        ScriptedMessages messages;
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, mode);
        const QList<int> listed = ListedNumbers(screen.listModel());
        for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Cancel}) {
            messages.queue(answer);
            ClickDocument(screen, number);
            QCOMPARE(ListedNumbers(screen.listModel()), listed);
        }
        QCOMPARE(messages.texts(), (QStringList{question, question}));
        QCOMPARE(DumpStoredData(), before);
    }

    void conversionsChangeOnlyTheType_data()
    {
        using M = TInvMaintenanceMode;
        QTest::addColumn<TInvMaintenanceMode>("mode");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("newType");
        QTest::addColumn<QList<int>>("listedAfter");
        QTest::newRow("estimate to work order") << M::EstimateToWorkOrder << 20 << "Work Order" << QList<int>{};
        QTest::newRow("estimate to invoice") << M::EstimateOrWorkOrderToInvoice << 20 << "Invoice" << QList<int>{30};
        QTest::newRow("work order to invoice") << M::EstimateOrWorkOrderToInvoice << 30 << "Invoice" << QList<int>{20};
        QTest::newRow("change order to invoice") << M::ChangeOrderToInvoice << 40 << "Invoice" << QList<int>{};
    }
    void conversionsChangeOnlyTheType()
    {
        QFETCH(TInvMaintenanceMode, mode);
        QFETCH(int, number);
        QFETCH(QString, newType);
        QFETCH(QList<int>, listedAfter);
        QMap<QString, QString> expected = HeaderOf(number);
        expected[QStringLiteral("strInvName")] = newType;
        const QString before = DumpStoredData();

        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, mode);
        ClickDocument(screen, number);
        QCOMPARE(HeaderOf(number), expected);
        QCOMPARE(ListedNumbers(screen.listModel()), listedAfter); // the list is read again
        QCOMPARE(DumpStoredData().split('\n').size(), before.split('\n').size()); // no row added or removed
        QCOMPARE(LedgerOf(2024, 3), QStringLiteral("<no row>"));
    }

    void creditSubtractsAtTheInvoiceDate()
    {
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, TInvMaintenanceMode::InvoiceToCredit);
        ClickDocument(screen, 60);
        QCOMPARE(StoredText("SELECT strInvName || ' ' || strFromInvNameNumber || ' ' || strSavedToReport || ' ' || "
                            "strInvDate FROM tblInvDataHeader WHERE intInvNumber = 60;"),
                 QStringLiteral("Credit Invoice 60 -1 11/30/2023"));
        QCOMPARE(LedgerOf(2023, 11), QStringLiteral("-2.0 -40.0 -60.0"));
        QCOMPARE(StoredText("SELECT COUNT(*) FROM tblInvData WHERE intInvNumber = 60;"), QStringLiteral("1"));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10}));
    }

    void paidInFullPostsToTheLedger()
    {
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, TInvMaintenanceMode::PaidInFull);
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10, 60}));
        ClickDocument(screen, 60);
        QCOMPARE(StoredText("SELECT strPaidInFull || ' ' || strSavedToReport || ' ' || strRecurring "
                            "FROM tblInvDataHeader WHERE intInvNumber = 60;"),
                 QStringLiteral("-1 -1 0"));
        QCOMPARE(LedgerOf(2023, 11), QStringLiteral("2.0 40.0 60.0"));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10}));

        // Mode 0 shows it as paid now.
        ModeList(screen)->setCurrentIndex(0);
        const int row = ListedNumbers(screen.listModel()).indexOf(60);
        QCOMPARE(screen.listModel().row(row).strInfo, QStringLiteral("Paid"));
    }

    void pastDueNoticeIsANewCopy()
    {
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, TInvMaintenanceMode::PastDueNotice);
        const QList<int> listed = ListedNumbers(screen.listModel());
        const QString ledgerBefore = StoredText("SELECT COUNT(*) FROM tblReport;");
        ClickDocument(screen, 10);

        // Same customer, amounts, date and lines as the invoice; new number, type and origin.
        QMap<QString, QString> expected = HeaderOf(10);
        expected[QStringLiteral("intInvNumber")] = QStringLiteral("1000");
        expected[QStringLiteral("strInvName")] = QStringLiteral("Past Due");
        expected[QStringLiteral("strFromInvNameNumber")] = QStringLiteral("Invoice 10");
        QCOMPARE(HeaderOf(1000), expected);
        QStringList lines;
        {
            DbConnection connection;
            DbStatement read = connection.prepare(
                QStringLiteral("SELECT strPrcItemName FROM tblInvData WHERE intInvNumber = 1000 ORDER BY intInvDataID;"));
            while (read.step()) lines << read.columnText(0);
        }
        QCOMPARE(lines.join(QLatin1Char(';')), QStringLiteral("Window washing 1;Window washing 2"));
        QCOMPARE(StoredText("SELECT intInvNumber FROM tblCompanyInvData;"), QStringLiteral("1001"));
        QCOMPARE(StoredText("SELECT COUNT(*) FROM tblReport;"), ledgerBefore);
        QCOMPARE(ListedNumbers(screen.listModel()), listed); // a notice is no invoice
    }

    void deleteRemovesHeaderAndLines()
    {
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, TInvMaintenanceMode::DeleteDocument);
        ClickDocument(screen, 10);
        QVERIFY(HeaderOf(10).isEmpty());
        QCOMPARE(StoredText("SELECT COUNT(*) FROM tblInvData WHERE intInvNumber = 10;"), QStringLiteral("0"));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{20, 30, 40, 50, 60}));
    }

    void recurringOnAndOff()
    {
        ScriptedMessages messages;
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, TInvMaintenanceMode::RecurringAdd);
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10, 60}));
        messages.queue(MessageAnswer::Yes);
        ClickDocument(screen, 10);
        QCOMPARE(StoredText("SELECT strRecurring FROM tblInvDataHeader WHERE intInvNumber = 10;"), kYes);
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{60}));

        ModeList(screen)->setCurrentIndex(int(TInvMaintenanceMode::RecurringRemove));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10, 50}));
        // This time from the keyboard: the selected row and Enter.
        auto* list = screen.findChild<QTableView*>(QStringLiteral("lstvwInvMaintenance"));
        list->setFocus();
        list->setCurrentIndex(screen.listModel().index(1, 0));
        messages.queue(MessageAnswer::Yes);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(StoredText("SELECT strRecurring FROM tblInvDataHeader WHERE intInvNumber = 50;"), QStringLiteral("0"));
        QCOMPARE(ListedNumbers(screen.listModel()), (QList<int>{10}));
        QCOMPARE(messages.texts(), (QStringList{"Add Invoice 10 to recurring list?",
                                                "Remove Invoice 50 from recurring list?"}));
    }

    void viewModesOpenTheStoredDocument_data()
    {
        QTest::addColumn<TInvMaintenanceMode>("mode");
        QTest::addColumn<int>("number");
        QTest::newRow("0") << TInvMaintenanceMode::ViewAll << 20;
        QTest::newRow("1") << TInvMaintenanceMode::ViewUnpaid << 10;
        QTest::newRow("11") << TInvMaintenanceMode::RecurringView << 50;
    }
    void viewModesOpenTheStoredDocument()
    {
        QFETCH(TInvMaintenanceMode, mode);
        QFETCH(int, number);
        ScriptedMessages messages; // no question may be asked
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, mode);
        int opened = 0;
        bool onStoredDocument = false;
        QString editorTitle;
        {
            ScopedModalRunner runner([&](QDialog& dialog) {
                auto* editor = qobject_cast<TfrmInvoice*>(&dialog);
                if (!editor) return int(QDialog::Rejected);
                ++opened;
                onStoredDocument = blInvoiceEditExisting && intCurrentInvNumber == number;
                editorTitle = editor->displayName();
                // The document changes while the editor is open; the list shows it afterwards.
                DbConnection().execute(QStringLiteral("UPDATE tblInvDataHeader SET strCustFullName = 'Changed, Name' "
                                                      "WHERE intInvNumber = ?;"), {number});
                return int(QDialog::Rejected);
            });
            ClickDocument(screen, number);
        }
        QCOMPARE(opened, 1);
        QVERIFY(onStoredDocument);
        QCOMPARE(editorTitle, StoredText("SELECT strInvName FROM tblInvDataHeader WHERE intInvNumber = ?;", {number}) +
                                  QLatin1Char(' ') + QString::number(number));
        const int row = ListedNumbers(screen.listModel()).indexOf(number);
        QCOMPARE(screen.listModel().row(row).strCustFullName, QStringLiteral("Changed, Name"));
        QCOMPARE(messages.shown().size(), 0);
    }

    void mainWindowSummariesFollow()
    {
        TfrmMain window;
        window.show();
        QCoreApplication::processEvents();
        auto* unpaid = window.findChild<QLabel*>(QStringLiteral("lblUnPaidInvoices"));
        QCOMPARE(unpaid->text(), QStringLiteral("UnPaid Invoices: 2"));

        ScriptedMessages messages;
        int runs = 0;
        bool unpaidMode = false;
        ScopedModalRunner runner([&](QDialog& dialog) {
            auto* screen = qobject_cast<TfrmInvoiceMaintenance*>(&dialog);
            if (!screen) return int(QDialog::Rejected);
            ++runs;
            screen->show();
            unpaidMode = ModeList(*screen)->currentIndex() == int(TInvMaintenanceMode::ViewUnpaid);
            ModeList(*screen)->setCurrentIndex(int(TInvMaintenanceMode::PaidInFull));
            messages.queue(MessageAnswer::Yes);
            ClickDocument(*screen, 10);
            screen->close();
            return screen->result();
        });
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnViewUnPaidInvoices")), Qt::LeftButton);
        QCOMPARE(runs, 1);
        QVERIFY(unpaidMode);
        QCOMPARE(unpaid->text(), QStringLiteral("UnPaid Invoices: 1"));
    }

    // In a long list, acting on a row far down (read in a later page) reads
    // the list again down to that place and keeps it scrolled there: the row
    // after the one acted on stands where it stood.
    void actingFarDownALongListKeepsThePlace()
    {
        {
            DbConnection connection;
            DbTransaction transaction(connection);
            for (int number = 100; number < 400; ++number)
                connection.execute(QStringLiteral("INSERT INTO tblInvDataHeader(intInvNumber,strInvName,strCustCmpnyName,strCustFullName,strCustAddress,strCustCtyStZp,strCustPhnFax,strInvTerms,intInvFootNotes,strUseTax1,strUseTax2,strUseTax3,strCustEmail,strInvNotes,strCustTaxExempt,strCustTaxExemptNum,strCustPONumber,strFromInvNameNumber,strFutureInfo,strPaidInFull,strRecurring,strSavedToReport,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal,dbAmountPaid,dbDepAmount,dbInvTotal,strInvDate) SELECT ?,strInvName,strCustCmpnyName,strCustFullName,strCustAddress,strCustCtyStZp,strCustPhnFax,strInvTerms,intInvFootNotes,strUseTax1,strUseTax2,strUseTax3,strCustEmail,strInvNotes,strCustTaxExempt,strCustTaxExemptNum,strCustPONumber,strFromInvNameNumber,strFutureInfo,strPaidInFull,strRecurring,strSavedToReport,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal,dbAmountPaid,dbDepAmount,dbInvTotal,strInvDate FROM tblInvDataHeader "
                                                  "WHERE intInvNumber = 10;"),
                                   {number});
            transaction.commit();
        }
        ScriptedMessages messages;
        TfrmInvoiceMaintenance screen;
        OpenInMode(screen, TInvMaintenanceMode::PaidInFull);
        auto* list = screen.findChild<QTableView*>(QStringLiteral("lstvwInvMaintenance"));
        QCOMPARE(screen.listModel().rowCount(), TPagedListModel::kFirstPageRows);
        const int row = ListedNumbers(screen.listModel()).indexOf(350);
        QVERIFY(row > TPagedListModel::kFirstPageRows);
        list->scrollTo(screen.listModel().index(row, 0), QAbstractItemView::PositionAtTop);
        const int scrolled = list->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        messages.queue(MessageAnswer::Yes);
        ClickDocument(screen, 350);
        QCOMPARE(StoredText(QStringLiteral("SELECT strPaidInFull FROM tblInvDataHeader WHERE intInvNumber = 350;")), kYes);
        // 350 left the unpaid list; 351 took its row, still at the top of the view.
        QCOMPARE(screen.listModel().row(row).intInvNumber, 351);
        QCOMPARE(list->verticalScrollBar()->value(), scrolled);
        QCOMPARE(list->indexAt(QPoint(5, 2)).row(), row);
    }
};

FENNICK_TEST_MAIN(TestInvoiceMaintenanceActions)
#include "test_invoicemaintenanceactions.moc"
