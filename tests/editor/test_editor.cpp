// The document editor driven as a person drives it: through its widgets and
// menu entries, picking customers and price items on the real pick screens,
// with the nested dialogs taken over one modal run after another.
#include "common/TestServer.h"
#include "common/ScreenScript.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitDispatch.h"
#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "email/unitEmailData.h"
#include "email/unitfrmEmail.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitInvoiceHolders.h"
#include "editor/unitfrmInvoice.h"
#include "printing/unitModPrintData.h"
#include "printing/unitPrintData.h"
#include "printing/unitfrmPrntPreview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <deque>
#include <functional>

namespace {

QAction* Menu(QWidget& parent, const char* name) { return Find<QAction>(parent, name); }

QStringList Entries(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
}

QStringList Row(QDialog& editor, int row)
{
    auto* list = Find<QTableView>(editor, "lstInvoice");
    QStringList cells;
    for (int column = 0; column < list->model()->columnCount(); ++column)
        cells << list->model()->index(row, column).data().toString();
    return cells;
}

// The tool bar shows and hides its buttons when it next lays itself out.
bool Shown(QDialog& editor, const char* toolButton)
{
    QCoreApplication::processEvents();
    return Find<QToolButton>(editor, toolButton)->isVisible();
}

void Close(QDialog& editor) { QTest::mouseClick(Find<QToolButton>(editor, "tlbtnClose"), Qt::LeftButton); }

TInvLine Line(const QString& name, const QString& quantity, const QString& labour, const QString& material,
              bool labourTaxable = true, bool materialTaxable = false)
{
    return {name, quantity, labourTaxable ? "-1" : "0", materialTaxable ? "-1" : "0", labour, material};
}

// Stores a document as the store keeps it and returns its number.
int StoreDocument(const QString& type, const QList<TInvLine>& lines,
                  const std::function<void(TInvHeader&)>& adjust = {})
{
    TInvDocument document;
    TInvHeader& header = document.header;
    header.strInvName = type;
    header.intInvNumber = GetNextInvNumber();
    header.strInvDate = QStringLiteral("1/15/2010");
    header.strCustCmpnyName = QStringLiteral("O'Neil Fences");
    header.strCustFullName = QStringLiteral("O'Neil, Pat");
    header.strCustAddress = QStringLiteral("12 Elm St");
    header.strCustCtyStZp = QStringLiteral("Springfield IL 62701");
    header.strCustPhnFax = QStringLiteral("Phone 5550101");
    header.strCustEmail = QStringLiteral("pat@example.com");
    if (adjust) adjust(header);
    document.lines = lines;
    const TInvTotals totals =
        ComputeInvTotals(lines, EffectiveTaxRates(header.strCustTaxExempt, header.strUseTax1, header.strUseTax2,
                                                  header.strUseTax3))
            .totals;
    header.dbLbrTax1Total = totals.dbLbrTax1Total;
    header.dbLbrTax2Total = totals.dbLbrTax2Total;
    header.dbLbrTax3Total = totals.dbLbrTax3Total;
    header.dbMatTax1Total = totals.dbMatTax1Total;
    header.dbMatTax2Total = totals.dbMatTax2Total;
    header.dbMatTax3Total = totals.dbMatTax3Total;
    header.dbLbrTotal = totals.dbLbrTotal;
    header.dbMatTotal = totals.dbMatTotal;
    header.dbInvTotal = totals.dbInvTotal;
    SaveDocument(document, false, false);
    RunOutSavingNotice();
    return header.intInvNumber;
}

void SetCounter(int number)
{
    DbConnection db;
    db.execute(QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = ? WHERE intCompInvDataID = 1;"), {number});
}

void OpenStored(int number)
{
    intCurrentInvNumber = number;
    OpenStoredDocument();
}

bool IsStored(int number)
{
    try {
        LoadDocument(number);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

// Opens a new document, gives it a price item and a customer (ready to save)
// and then runs the rest of the test's steps in the editor.
void ReadyNewDocument(ModalScript& script, const std::function<void(QDialog&)>& then)
{
    script.then([then](QDialog& editor) {
        Find<QPushButton>(editor, "btnAddPriceItem")->click();
        Find<QPushButton>(editor, "btnAddCustomer")->click();
        then(editor);
    });
    script.then(AddPriceItem(0, QStringLiteral("4")));
    script.then(UseCustomer(0));
    OpenNewDocument();
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        arrFormMaximized[1] = false;
    }
    void cleanup() { RunOutSavingNotice(); }

    // A new document: all six types, nothing to save until a line and a
    // customer exist; closing with changes asks, No leaves nothing stored.
    void newDocumentBecomesReadyWithALineAndACustomer()
    {
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            auto* types = Find<QComboBox>(editor, "cmbInvoiceType");
            QCOMPARE(Entries(types), (QStringList{"Estimate", "Work Order", "Change Order", "Invoice", "Credit",
                                                  "Past Due"}));
            QVERIFY(types->isEnabled());
            QCOMPARE(editor.windowTitle(), QStringLiteral("Estimate 500"));
            QCOMPARE(Find<QLabel>(editor, "lblInvNameNumber")->text(), QStringLiteral("Estimate 500"));
            QCOMPARE(Find<QLabel>(editor, "lblInvInformation")->text(),
                     QStringLiteral("Estimate Valid Until ") + DateToStr(QDate::currentDate().addDays(30)));
            QCOMPARE(Find<QLabel>(editor, "lblTotal")->text(), QStringLiteral("Estimate Total"));
            QCOMPARE(Find<QLabel>(editor, "lblPaidAndDeposit")->text(), QStringLiteral("Deposit Required"));
            QCOMPARE(Find<QPushButton>(editor, "btnPaidAndDeposit")->text(), QStringLiteral("Deposit Required"));
            // Tax options carry the names of the taxes the company charges.
            QCOMPARE(Find<QCheckBox>(editor, "ckbxTax1")->text(), QStringLiteral("Local Tax"));
            QVERIFY(Find<QCheckBox>(editor, "ckbxTax1")->isEnabled());
            QCOMPARE(Find<QCheckBox>(editor, "ckbxTax3")->text(), QStringLiteral("Tax Option 3"));
            QVERIFY(!Find<QCheckBox>(editor, "ckbxTax3")->isEnabled());
            QVERIFY(!Menu(editor, "submnuTaxOption3")->isEnabled());
            QCOMPARE(Menu(editor, "submnuTaxOption1")->text(), QStringLiteral("Local Tax"));
            QCOMPARE(Menu(editor, "submnuTaxOption3")->text(), QStringLiteral("Tax Option &3"));
            QCOMPARE(Menu(editor, "submnuFootNote2")->text(), QStringLiteral("Foot Note &2"));
            QVERIFY(Find<QCheckBox>(editor, "ckbxPaidInFull")->isHidden() == false);
            QVERIFY(!Find<QCheckBox>(editor, "ckbxPaidInFull")->isEnabled());
            for (const char* hidden : {"tlbtnSave", "tlbtnPrint", "tlbtnPrintPreview", "tlbtnEmail", "tlbtnDelete"})
                QVERIFY2(!Shown(editor, hidden), hidden);
            QVERIFY(Shown(editor, "tlbtnClose"));
            QVERIFY(!Find<QLabel>(editor, "ImageAddCustomer")->isVisible());

            // A line alone does not make the document ready.
            Find<QPushButton>(editor, "btnAddPriceItem")->click();
            QCOMPARE(Row(editor, 0), (QStringList{"Wash small window - EA.", "4", "$7.50", "$30.00", "6.15", "0",
                                                  "1.35", "-1", ""}));
            QVERIFY(Find<QLabel>(editor, "ImageAddPrcItem")->isVisible());
            QVERIFY(Menu(editor, "submnuAddPriceItem")->isChecked());
            for (const char* hidden : {"tlbtnSave", "tlbtnPrint", "tlbtnPrintPreview", "tlbtnEmail"})
                QVERIFY2(!Shown(editor, hidden), hidden);
            QVERIFY(!Menu(editor, "submnuSave")->isVisible());

            Find<QPushButton>(editor, "btnAddCustomer")->click();
            QCOMPARE(Find<QLabel>(editor, "lblCustName")->text(), QStringLiteral("Blow, Joe"));
            QCOMPARE(Find<QLabel>(editor, "lblCustCompany")->text(), QStringLiteral("Joes Bar and Grill"));
            QVERIFY(Find<QLabel>(editor, "ImageAddCustomer")->isVisible());
            // Save, Print, Print Preview and Email come together, with their menu entries.
            for (const char* output : {"tlbtnSave", "tlbtnPrint", "tlbtnPrintPreview", "tlbtnEmail"})
                QVERIFY2(Shown(editor, output), output);
            for (const char* entry : {"submnuSave", "submnuPrint", "submnuPrintPreview", "submnuEmail"})
                QVERIFY2(Menu(editor, entry)->isVisible() && Menu(editor, entry)->isEnabled(), entry);

            messages.queue(MessageAnswer::Cancel);
            Close(editor);
            QVERIFY(editor.isVisible());
            messages.queue(MessageAnswer::No);
            Close(editor);
            QVERIFY(!editor.isVisible());
        });
        script.then(AddPriceItem(0, QStringLiteral("4")));
        script.then(UseCustomer(0));
        OpenNewDocument();
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts(), QStringList(2, QStringLiteral("Save changes to Estimate 500?")));
        QVERIFY(!IsStored(500));
        QCOMPARE(GetNextInvNumber(), 500);
    }

    // Saving stores what is on screen, switches to the stored document, and a
    // later opening shows the same document.
    void savedDocumentReopensTheSame()
    {
        SetCounter(1001);
        ScriptedMessages messages;
        QStringList firstRow;
        QStringList totals;
        ModalScript script;
        script.then([&](QDialog& editor) {
            Choose(Find<QComboBox>(editor, "cmbInvoiceType"), 3);
            QCOMPARE(editor.windowTitle(), QStringLiteral("Invoice 1001"));
            QVERIFY(Menu(editor, "submnuInvType4")->isChecked());
            Find<QPushButton>(editor, "btnAddPriceItem")->click();
            Find<QPushButton>(editor, "btnAddCustomer")->click();
            Find<QCheckBox>(editor, "ckbxTax1")->setChecked(true);
            Menu(editor, "submnuTaxOption2")->trigger();
            QVERIFY(Find<QCheckBox>(editor, "ckbxTax2")->isChecked());
            QTest::keyClicks(Find<QLineEdit>(editor, "txtCustPO"), QStringLiteral("PO-7"));
            Menu(editor, "submnuFootNote2")->trigger();
            Find<QDateEdit>(editor, "dateTimePickerInvoice")->setDate(QDate(2010, 3, 29));
            Find<QPushButton>(editor, "btnAddNotes")->click();
            firstRow = Row(editor, 0);
            totals = {Find<QLineEdit>(editor, "txtInvoiceSubTotal")->text(),
                      Find<QLineEdit>(editor, "txtInvoiceTaxTotal")->text(),
                      Find<QLineEdit>(editor, "txtInvoiceTotal")->text()};

            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnSave"), Qt::LeftButton);
            // The save filled the print record with exactly the texts on screen.
            QCOMPARE(intPrintJob, int(pjDocument));
            QCOMPARE(recPrintData.strInvType, QStringLiteral("Invoice"));
            QCOMPARE(recPrintData.strInvDate, QStringLiteral("3/29/2010"));
            QCOMPARE(recPrintData.strCustName, QStringLiteral("Blow, Joe"));
            QCOMPARE(recPrintData.strCustPmtTerms, QStringLiteral("Due upon receipt"));
            QCOMPARE(recPrintData.strCustPONumber, QStringLiteral("PO-7"));
            QCOMPARE(recPrintData.strDepositPaidHdng, QStringLiteral("Amount Paid"));
            QCOMPARE(recPrintData.strTotalHdng, QStringLiteral("Invoice Total"));
            QCOMPARE((QStringList{recPrintData.strSubTotal, recPrintData.strTax, recPrintData.strTotal}), totals);
            QCOMPARE(recPrintData.intFootNote, 2);
            QVERIFY(!Shown(editor, "tlbtnSave"));
            QVERIFY(Shown(editor, "tlbtnDelete"));
            // A saved document is still ready: it can be printed and sent without changes.
            QVERIFY(Shown(editor, "tlbtnPrint") && Shown(editor, "tlbtnPrintPreview") && Shown(editor, "tlbtnEmail"));
            QCOMPARE(Entries(Find<QComboBox>(editor, "cmbInvoiceType")), QStringList{"Invoice"});
            QVERIFY(!Find<QComboBox>(editor, "cmbInvoiceType")->isEnabled());
            QCOMPARE(Row(editor, 0), firstRow);
            Close(editor);   // nothing changed since the save: no question
            QVERIFY(!editor.isVisible());
        });
        script.then(AddPriceItem(2, QStringLiteral("1.5")));
        script.then(UseCustomer(0));
        script.then([](QDialog& notes) {
            QCOMPARE(notes.windowTitle(), QStringLiteral("Invoice 1001 Notes"));
            QTest::keyClicks(Find<QPlainTextEdit>(notes, "txtInvoiceNotes"), QStringLiteral("Gate code 1234"));
            QTest::mouseClick(Find<QPushButton>(notes, "btnNotesOK"), Qt::LeftButton);
        });
        OpenNewDocument();
        QVERIFY(script.allRun());
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(GetNextInvNumber(), 1002);

        const TLoadedDocument stored = LoadDocument(1001);
        QCOMPARE(stored.document.header.strInvName, QStringLiteral("Invoice"));
        QCOMPARE(stored.document.header.strInvTerms, QStringLiteral("Due upon receipt"));
        QCOMPARE(stored.document.header.strInvDate, QStringLiteral("3/29/2010"));
        QCOMPARE(stored.document.strInvNotes, QStringLiteral("Gate code 1234"));
        QVERIFY(txtInvoiceNotes.isEmpty());   // the holder is emptied when the editor closes

        script.then([&](QDialog& editor) {
            QCOMPARE(editor.windowTitle(), QStringLiteral("Invoice 1001"));
            QCOMPARE(Find<QLabel>(editor, "lblCustName")->text(), QStringLiteral("Blow, Joe"));
            QCOMPARE(Find<QLabel>(editor, "lblCustPmtTerms")->text(), QStringLiteral("Due upon receipt"));
            QCOMPARE(Find<QComboBox>(editor, "cmbPaymentTerms")->currentIndex(), 1);
            QCOMPARE(Find<QLineEdit>(editor, "txtCustPO")->text(), QStringLiteral("PO-7"));
            QCOMPARE(Find<QLabel>(editor, "lblInvDate")->text(), QStringLiteral("3/29/2010"));
            QCOMPARE(Find<QComboBox>(editor, "cmbFootNotes")->currentIndex(), 2);
            QVERIFY(Find<QPlainTextEdit>(editor, "txtInvoiceFootNotes")->isVisible());
            QCOMPARE(Find<QPlainTextEdit>(editor, "txtInvoiceFootNotes")->toPlainText(),
                     recCmpnyInvData.strInvFootNote[2]);
            QVERIFY(Find<QCheckBox>(editor, "ckbxTax1")->isChecked());
            QVERIFY(Find<QCheckBox>(editor, "ckbxTax2")->isChecked());
            QCOMPARE(Row(editor, 0), firstRow);
            QCOMPARE((QStringList{Find<QLineEdit>(editor, "txtInvoiceSubTotal")->text(),
                                  Find<QLineEdit>(editor, "txtInvoiceTaxTotal")->text(),
                                  Find<QLineEdit>(editor, "txtInvoiceTotal")->text()}),
                     totals);
            QVERIFY(!Shown(editor, "tlbtnSave"));
            QVERIFY(Shown(editor, "tlbtnDelete"));
            Close(editor);
        });
        OpenStored(1001);
        QVERIFY(script.allRun());
    }

    // A stored document offers only the types it may still become.
    void storedDocumentOffersItsAllowedTypes_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<bool>("listEnabled");
        QTest::newRow("Estimate") << "Estimate" << QStringList{"Estimate", "Work Order", "Change Order", "Invoice"}
                                  << true;
        QTest::newRow("Work Order") << "Work Order" << QStringList{"Work Order", "Change Order", "Invoice"} << true;
        QTest::newRow("Change Order") << "Change Order" << QStringList{"Change Order", "Invoice"} << true;
        QTest::newRow("Invoice") << "Invoice" << QStringList{"Invoice"} << false;
        QTest::newRow("Credit") << "Credit" << QStringList{"Credit"} << false;
        QTest::newRow("Past Due") << "Past Due" << QStringList{"Past Due"} << false;
    }
    void storedDocumentOffersItsAllowedTypes()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, offered);
        QFETCH(bool, listEnabled);
        const int number = StoreDocument(stored, {Line("Labor Hour", "1", "100", "0")});
        ModalScript script;
        script.then([&](QDialog& editor) {
            auto* types = Find<QComboBox>(editor, "cmbInvoiceType");
            QCOMPARE(Entries(types), offered);
            QCOMPARE(types->currentText(), stored);
            QCOMPARE(types->isEnabled(), listEnabled);
            QCOMPARE(Find<QMenu>(editor, "submnuInvoiceType")->isEnabled(), listEnabled);
            for (int i = 0; i < 6; ++i) {
                QAction* entry = Menu(editor, qPrintable(QStringLiteral("submnuInvType%1").arg(i + 1)));
                QCOMPARE(entry->isVisible(), i < offered.size());
                if (i < offered.size()) QCOMPARE(entry->text(), offered[i]);
            }
            QVERIFY(Menu(editor, "submnuInvType1")->isChecked());
            Close(editor);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
    }

    // The amount paid belongs to the payment kind: a work order never keeps one.
    void workOrderAfterAnAmountPaidDropsIt()
    {
        recCmpnyInvData.intDepPercent = 25;
        const int number = StoreDocument(QStringLiteral("Estimate"), {Line("Labor Hour", "10", "100", "0")});
        ModalScript script;
        script.then([&](QDialog& editor) {
            auto* types = Find<QComboBox>(editor, "cmbInvoiceType");
            Choose(types, 3);   // Invoice
            QCOMPARE(Find<QPushButton>(editor, "btnPaidAndDeposit")->text(), QStringLiteral("Amount Paid"));
            QCOMPARE(Menu(editor, "submnuPaidDeposit")->text(), QStringLiteral("Amount Paid"));
            Find<QPushButton>(editor, "btnPaidAndDeposit")->click();
            QCOMPARE(Find<QLineEdit>(editor, "txtPaidAndDeposit")->text(), QStringLiteral("$400.00"));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTotal")->text(), QStringLiteral("$600.00"));

            Choose(types, 1);   // Work Order
            QCOMPARE(Find<QLabel>(editor, "lblPaidAndDeposit")->text(), QStringLiteral("Deposit Required"));
            QCOMPARE(Find<QPushButton>(editor, "btnPaidAndDeposit")->text(), QStringLiteral("Deposit Required"));
            QCOMPARE(Find<QLineEdit>(editor, "txtPaidAndDeposit")->text(), QStringLiteral("$0.00"));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTotal")->text(), QStringLiteral("$1,000.00"));

            // The deposit dialog of a work order of 1000 at 25 %.
            Menu(editor, "submnuPaidDeposit")->trigger();
            QCOMPARE(Find<QLineEdit>(editor, "txtPaidAndDeposit")->text(), QStringLiteral("$300.00"));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTotal")->text(), QStringLiteral("$1,000.00"));

            Choose(types, 3);   // back to Invoice: the amount paid stays dropped
            QCOMPARE(Find<QLineEdit>(editor, "txtPaidAndDeposit")->text(), QStringLiteral("$0.00"));
            editor.hide();   // left unsaved; the close question is tested on its own
        });
        script.then([](QDialog& payment) {
            QCOMPARE(payment.windowTitle(), QStringLiteral("Amount Paid"));
            Find<QLineEdit>(payment, "txtPaidAndDeposit")->setText(QStringLiteral("400"));
            QTest::mouseClick(Find<QPushButton>(payment, "btnOK"), Qt::LeftButton);
        });
        script.then([](QDialog& deposit) {
            QCOMPARE(deposit.windowTitle(), QStringLiteral("Deposit Amount"));
            QCOMPARE(Find<QLineEdit>(deposit, "txtRecDepositAmount")->text(), QStringLiteral("$250.00"));
            QCOMPARE(Find<QLineEdit>(deposit, "txtInvTotal")->text(), QStringLiteral("$1,000.00"));
            QVERIFY(!Find<QCheckBox>(deposit, "ckbxPaidInFull")->isEnabled());
            Find<QLineEdit>(deposit, "txtPaidAndDeposit")->setText(QStringLiteral("300"));
            QTest::mouseClick(Find<QPushButton>(deposit, "btnOK"), Qt::LeftButton);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
    }

    void paidInFullAndRecurringExcludeEachOther()
    {
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Labor Hour", "1", "100", "0")},
                                         [](TInvHeader& header) { header.dbAmountPaid = 40; });
        ModalScript script;
        script.then([&](QDialog& editor) {
            auto* paid = Find<QCheckBox>(editor, "ckbxPaidInFull");
            auto* recurring = Find<QCheckBox>(editor, "ckbxRecurring");
            QVERIFY(paid->isEnabled() && recurring->isEnabled());
            QCOMPARE(Find<QLineEdit>(editor, "txtPaidAndDeposit")->text(), QStringLiteral("$40.00"));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTotal")->text(), QStringLiteral("$60.00"));
            QCOMPARE(Find<QLabel>(editor, "lblTotal")->text(), QStringLiteral("Invoice Total"));

            QTest::mouseClick(paid, Qt::LeftButton);
            QVERIFY(Menu(editor, "submnuPaidInFull")->isChecked());
            QCOMPARE(Find<QLabel>(editor, "lblTotal")->text(), QStringLiteral("Paid In Full"));
            QCOMPARE(Find<QLineEdit>(editor, "txtPaidAndDeposit")->text(), QStringLiteral("$100.00"));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTotal")->text(), QStringLiteral("$100.00"));
            QVERIFY(!recurring->isEnabled());
            QVERIFY(!Menu(editor, "submnuSetAsRecurring")->isEnabled());
            QVERIFY(Shown(editor, "tlbtnSave"));

            Menu(editor, "submnuPaidInFull")->trigger();   // the menu entry unticks the box
            QVERIFY(!paid->isChecked());
            QVERIFY(recurring->isEnabled());

            // Paid In Full ticked in the payment dialog reaches the editor.
            Find<QPushButton>(editor, "btnPaidAndDeposit")->click();
            QVERIFY(paid->isChecked());
            QCOMPARE(Find<QLabel>(editor, "lblTotal")->text(), QStringLiteral("Paid In Full"));
            QVERIFY(!recurring->isEnabled());

            QTest::mouseClick(paid, Qt::LeftButton);
            QTest::mouseClick(recurring, Qt::LeftButton);
            QVERIFY(!paid->isEnabled());
            QVERIFY(!Menu(editor, "submnuPaidInFull")->isEnabled());
            QCOMPARE(Find<QLabel>(editor, "lblTotal")->text(), QStringLiteral("Invoice Total"));
            editor.hide();   // left unsaved; the close question is tested on its own
        });
        script.then([](QDialog& payment) {
            auto* paidInFull = Find<QCheckBox>(payment, "ckbxPaidInFull");
            QVERIFY(paidInFull->isEnabled() && !paidInFull->isChecked());
            QTest::mouseClick(paidInFull, Qt::LeftButton);
            Find<QLineEdit>(payment, "txtPaidAndDeposit")->setText(QStringLiteral("100"));
            QTest::mouseClick(Find<QPushButton>(payment, "btnOK"), Qt::LeftButton);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
    }

    void taxExemptClearsAndLocksTheTaxes()
    {
        const int number = StoreDocument(QStringLiteral("Estimate"), {Line("Labor Hour", "2", "100", "50")},
                                         [](TInvHeader& header) { header.strUseTax1 = header.strUseTax2 = true; });
        ModalScript script;
        script.then([&](QDialog& editor) {
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTaxTotal")->text(), QStringLiteral("$12.46"));
            Menu(editor, "submnuTaxExempt")->trigger();
            QVERIFY(Find<QCheckBox>(editor, "ckbxCustTaxExempt")->isChecked());
            for (const char* tax : {"ckbxTax1", "ckbxTax2", "ckbxTax3"}) QVERIFY(!Find<QCheckBox>(editor, tax)->isChecked());
            QVERIFY(!Menu(editor, "submnuTaxOption1")->isChecked());
            auto* section = Find<QWidget>(editor, "catpnlTax");
            QVERIFY(!section->isEnabled());
            QCOMPARE(Find<QToolButton>(editor, "catpnlTaxHeader")->text(), QStringLiteral("Tax Exempt"));
            auto* taxMenu = Find<QMenu>(editor, "submnuTax");
            QVERIFY(!taxMenu->isEnabled());
            QCOMPARE(taxMenu->title(), QStringLiteral("Tax Exempt"));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTaxTotal")->text(), QStringLiteral("$0.00"));

            QTest::mouseClick(Find<QCheckBox>(editor, "ckbxCustTaxExempt"), Qt::LeftButton);
            QVERIFY(section->isEnabled());
            QVERIFY(taxMenu->isEnabled());
            QCOMPARE(Find<QToolButton>(editor, "catpnlTaxHeader")->text(), QStringLiteral("Tax"));
            editor.hide();   // left unsaved; the close question is tested on its own
        });
        OpenStored(number);
        QVERIFY(script.allRun());
    }

    // Company terms A, (empty), C: the list and the menu skip the empty slot; a
    // customer's own terms come in as entry 1.
    void paymentTermsFollowTheCompanySlotsAndTheCustomer()
    {
        recCmpnyInvData.strInvTerms = {};
        recCmpnyInvData.strInvTerms[1] = QStringLiteral("A");
        recCmpnyInvData.strInvTerms[3] = QStringLiteral("C");
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            auto* terms = Find<QComboBox>(editor, "cmbPaymentTerms");
            QCOMPARE(Entries(terms), (QStringList{"No Payment Terms", "A", "C"}));
            QVERIFY(Menu(editor, "submnuPmtTerm0")->isChecked());
            QCOMPARE(Menu(editor, "submnuPmtTerm0")->text(), QStringLiteral("No Payment Terms"));
            QCOMPARE(Menu(editor, "submnuPmtTerm1")->text(), QStringLiteral("A"));
            QVERIFY(!Menu(editor, "submnuPmtTerm2")->isVisible());
            QCOMPARE(Menu(editor, "submnuPmtTerm3")->text(), QStringLiteral("C"));
            QVERIFY(Menu(editor, "submnuPmtTerm3")->isVisible());
            for (int k = 4; k < 12; ++k)
                QVERIFY(!Menu(editor, qPrintable(QStringLiteral("submnuPmtTerm%1").arg(k)))->isVisible());

            Menu(editor, "submnuPmtTerm3")->trigger();
            QCOMPARE(terms->currentText(), QStringLiteral("C"));
            QCOMPARE(Find<QLabel>(editor, "lblCustPmtTerms")->text(), QStringLiteral("C"));
            QVERIFY(Menu(editor, "submnuPmtTerm3")->isChecked());
            QVERIFY(!Menu(editor, "submnuPmtTerm0")->isChecked());

            Find<QPushButton>(editor, "btnAddCustomer")->click();   // Joe: "Due upon receipt"
            QCOMPARE(Entries(terms), (QStringList{"No Payment Terms", "Due upon receipt", "A", "C"}));
            QCOMPARE(terms->currentIndex(), 1);
            QCOMPARE(Find<QLabel>(editor, "lblCustPmtTerms")->text(), QStringLiteral("Due upon receipt"));
            QVERIFY(Menu(editor, "submnuPmtTerm1")->isChecked());

            Choose(terms, 0);
            QCOMPARE(Find<QLabel>(editor, "lblCustPmtTerms")->text(), QString());
            QVERIFY(Menu(editor, "submnuPmtTerm0")->isChecked());
            // Closing the price sheet without a choice adds nothing and leaves the mark off.
            Menu(editor, "submnuAddPriceItem")->trigger();
            QCOMPARE(Find<QTableView>(editor, "lstInvoice")->model()->rowCount(), 0);
            QVERIFY(!Menu(editor, "submnuAddPriceItem")->isChecked());
            Close(editor);   // no line yet: nothing to save, no question
        });
        script.then(UseCustomer(0));
        script.then([](QDialog& priceSheet) { priceSheet.close(); });
        OpenNewDocument();
        QVERIFY(script.allRun());
        QVERIFY(messages.texts().isEmpty());
    }

    void closingAReadyNewInvoiceAsksToSave()
    {
        SetCounter(1001);
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            Menu(editor, "submnuInvType4")->trigger();   // Invoice, from the menu
            QCOMPARE(Find<QComboBox>(editor, "cmbInvoiceType")->currentText(), QStringLiteral("Invoice"));
            Menu(editor, "submnuAddPriceItem")->trigger();
            Menu(editor, "submnuAddCustomer")->trigger();
            messages.queue(MessageAnswer::Cancel);
            Close(editor);
            QVERIFY(editor.isVisible());
            messages.queue(MessageAnswer::Yes);
            editor.close();   // the window's own close button asks the same
            QVERIFY(!editor.isVisible());
        });
        script.then(AddPriceItem(1, QStringLiteral("2")));
        script.then(UseCustomer(1));
        OpenNewDocument();
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts(), QStringList(2, QStringLiteral("Save changes to Invoice 1001?")));
        const TLoadedDocument stored = LoadDocument(1001);
        QCOMPARE(stored.document.header.strCustFullName, QStringLiteral("Doe, John"));
        QCOMPARE(stored.document.lines.size(), 1);
        QCOMPARE(GetNextInvNumber(), 1002);
    }

    // Yes to the save question with a save that fails: the error is shown and
    // the editor stays open with the document, so nothing is lost.
    void aFailedSaveOnCloseKeepsTheEditorOpen()
    {
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Labor Hour", "1", "100", "0")});
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            QTest::keyClicks(Find<QLineEdit>(editor, "txtCustPO"), QStringLiteral("PO-9"));
            DbConnection db;
            db.execute(QStringLiteral("DROP TABLE tblInvData;"));
            db.close();
            messages.queue(MessageAnswer::Yes);
            Close(editor);
            QVERIFY(editor.isVisible());
            QCOMPARE(Find<QLineEdit>(editor, "txtCustPO")->text(), QStringLiteral("PO-9"));
            QVERIFY(Shown(editor, "tlbtnSave"));
            messages.queue(MessageAnswer::No);
            Close(editor);
            QVERIFY(!editor.isVisible());
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        QCOMPARE(messages.shown().size(), 3);
        QCOMPARE(messages.shown().at(1).kind, MessageKind::Error);
        QVERIFY(messages.shown().at(1).text.startsWith(EngineErrorPrefix()));
        DbConnection db;   // nothing half-saved: the header kept its old PO number
        DbStatement header = db.prepare(
            QStringLiteral("SELECT strCustPONumber FROM tblInvDataHeader WHERE intInvNumber = ?;"), {number});
        QVERIFY(header.step());
        QCOMPARE(header.columnText(0), QString());
    }

    // Saves from the editor carry the ledger rules: a paid invoice counts in the
    // month of its date, follows its date, and leaves when it is no longer paid.
    void savingAPaidInvoiceKeepsTheLedgerInStep()
    {
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Labor Hour", "1", "100", "0")},
                                         [](TInvHeader& header) { header.strUseTax1 = true; });
        auto ledger = [](int month) {
            DbConnection db;
            DbStatement row = db.prepare(QStringLiteral("SELECT dbLbrTotal,dbLbrTax1Total FROM tblReport "
                                                        "WHERE intReportYear = 2010 AND intReportMonth = ?;"),
                                         {month});
            return row.step() ? QList<double>{row.columnDouble(0), row.columnDouble(1)} : QList<double>{0, 0};
        };
        ModalScript script;
        script.then([&](QDialog& editor) {
            auto save = [&] { QTest::mouseClick(Find<QToolButton>(editor, "tlbtnSave"), Qt::LeftButton); };
            QTest::mouseClick(Find<QCheckBox>(editor, "ckbxPaidInFull"), Qt::LeftButton);
            save();
            QCOMPARE(ledger(1), (QList<double>{100, 1.23}));

            Find<QDateEdit>(editor, "dateTimePickerInvoice")->setDate(QDate(2010, 2, 1));
            save();
            QCOMPARE(ledger(1), (QList<double>{0, 0}));
            QCOMPARE(ledger(2), (QList<double>{100, 1.23}));

            QTest::mouseClick(Find<QCheckBox>(editor, "ckbxPaidInFull"), Qt::LeftButton);
            save();
            QCOMPARE(ledger(2), (QList<double>{0, 0}));
            Close(editor);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        QVERIFY(!LoadDocument(number).document.header.strSavedToReport);
    }

    // Boxes limit what is typed, not what was stored earlier: a longer stored
    // text is shown and saved again whole.
    void longerStoredTextsSurviveASave()
    {
        const QString po = QStringLiteral("PO-2010-0001-ROOF-NORTH");   // 23 characters
        const QString exemption = QStringLiteral("EXEMPT-IL-000123456789");
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Labor Hour", "1", "100", "0")},
                                         [&](TInvHeader& header) {
                                             header.strCustPONumber = po;
                                             header.strCustTaxExemptNum = exemption;
                                         });
        ModalScript script;
        script.then([&](QDialog& editor) {
            QCOMPARE(Find<QLineEdit>(editor, "txtCustPO")->text(), po);
            QCOMPARE(Find<QLineEdit>(editor, "txtcustTaxExemptNumber")->text(), exemption);
            QTest::mouseClick(Find<QCheckBox>(editor, "ckbxTax1"), Qt::LeftButton);
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnSave"), Qt::LeftButton);
            Close(editor);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        const TInvHeader stored = LoadDocument(number).document.header;
        QCOMPARE(stored.strCustPONumber, po);
        QCOMPARE(stored.strCustTaxExemptNum, exemption);
        QVERIFY(stored.strUseTax1);
    }

    // A stored line whose quantity is not a number (from an older file) is
    // reported, and the document is never stored again with totals that leave
    // that line out.
    void aLineThatIsNotANumberIsNeverSaved()
    {
        TInvDocument document;
        document.header.strInvName = QStringLiteral("Invoice");
        document.header.intInvNumber = GetNextInvNumber();
        document.header.strInvDate = QStringLiteral("1/15/2010");
        document.header.strCustFullName = QStringLiteral("O'Neil, Pat");
        document.lines = {Line("Labor Hour", "2", "100", "0"), Line("Gravel", ".", "0", "30")};
        SaveDocument(document, false, false);
        RunOutSavingNotice();
        const int number = document.header.intInvNumber;

        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            const QString error = QStringLiteral("'.' is not a valid floating point value.");
            QCOMPARE(messages.texts(), QStringList{error});
            QTest::keyClicks(Find<QLineEdit>(editor, "txtCustPO"), QStringLiteral("7"));
            QVERIFY(Shown(editor, "tlbtnSave"));
            messages.clear();
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnSave"), Qt::LeftButton);
            QCOMPARE(messages.texts(), QStringList{error});
            QVERIFY(Shown(editor, "tlbtnSave"));
            editor.hide();   // left unsaved; the close question is tested on its own
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        QCOMPARE(LoadDocument(number).document.header.strCustPONumber, QString());
    }

    void deletingWithPendingChangesClosesWithoutTheSaveQuestion()
    {
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Labor Hour", "1", "100", "0")});
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            QTest::keyClicks(Find<QLineEdit>(editor, "txtCustPO"), QStringLiteral("77"));
            QVERIFY(Shown(editor, "tlbtnSave"));
            messages.queue(MessageAnswer::No);
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnDelete"), Qt::LeftButton);
            QVERIFY(editor.isVisible());
            messages.queue(MessageAnswer::Yes);
            Menu(editor, "submnuDelete")->trigger();
            QVERIFY(!editor.isVisible());
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        const QString question = QStringLiteral("Delete Invoice %1?").arg(number);
        QCOMPARE(messages.texts(), (QStringList{question, question}));
        QVERIFY(!IsStored(number));
    }

    // A click on a line opens the line dialog; its edit or removal reaches the totals.
    void clickingALineEditsOrRemovesIt()
    {
        SetCounter(1001);
        const int number = StoreDocument(QStringLiteral("Invoice"),
                                         {Line("Labor Hour", "2", "100", "0"), Line("Gravel", "1", "0", "30")});
        QCOMPARE(number, 1001);
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            auto* list = Find<QTableView>(editor, "lstInvoice");
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceSubTotal")->text(), QStringLiteral("$230.00"));
            ClickRow(list, 0);   // Cancel: nothing changes
            QVERIFY(!Shown(editor, "tlbtnSave"));
            ClickRow(list, 0);   // quantity 3
            QCOMPARE(Row(editor, 0).mid(0, 4), (QStringList{"Labor Hour", "3", "$100.00", "$300.00"}));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceSubTotal")->text(), QStringLiteral("$330.00"));
            QVERIFY(Shown(editor, "tlbtnSave"));
            ClickRow(list, 0);   // Remove
            QCOMPARE(list->model()->rowCount(), 1);
            QCOMPARE(Row(editor, 0).first(), QStringLiteral("Gravel"));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceSubTotal")->text(), QStringLiteral("$30.00"));
            editor.hide();   // left unsaved; the close question is tested on its own
        });
        script.then([](QDialog& line) {
            QCOMPARE(Find<QLineEdit>(line, "txtPriceItmDiscription")->text(), QStringLiteral("Labor Hour"));
            QTest::mouseClick(Find<QPushButton>(line, "btnCancel"), Qt::LeftButton);
        });
        script.then([](QDialog& line) {
            Find<QLineEdit>(line, "txtQuantity")->setText(QStringLiteral("3"));
            QTest::mouseClick(Find<QPushButton>(line, "btnOK"), Qt::LeftButton);
        });
        script.then([&](QDialog& line) {
            messages.queue(MessageAnswer::Yes);
            QTest::mouseClick(Find<QPushButton>(line, "btnRemovePriceItem"), Qt::LeftButton);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Remove Labor Hour from Invoice 1001?")});
    }

    // Cancelling the notes dialog changes nothing; "OK" marks the document
    // changed even with the same text.
    void notesDialogOkMarksTheDocumentChanged()
    {
        const int number = StoreDocument(QStringLiteral("Estimate"), {Line("Labor Hour", "1", "100", "0")});
        ModalScript script;
        script.then([](QDialog& editor) {
            Find<QPushButton>(editor, "btnAddNotes")->click();
            QVERIFY(!Shown(editor, "tlbtnSave"));
            QCOMPARE(txtInvoiceNotes, QString());
            Menu(editor, "submnuAddNotes")->trigger();
            QVERIFY(Shown(editor, "tlbtnSave"));
            editor.hide();   // left unsaved; the close question is tested on its own
        });
        script.then([](QDialog& notes) {
            QTest::keyClicks(Find<QPlainTextEdit>(notes, "txtInvoiceNotes"), QStringLiteral("typed, then cancelled"));
            QTest::mouseClick(Find<QPushButton>(notes, "btnNotesCancel"), Qt::LeftButton);
        });
        script.then([](QDialog& notes) {
            QCOMPARE(Find<QPlainTextEdit>(notes, "txtInvoiceNotes")->toPlainText(), QString());
            QTest::mouseClick(Find<QPushButton>(notes, "btnNotesOK"), Qt::LeftButton);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
    }

    // A payment entered on a freshly opened document is kept: Save comes up, and
    // closing asks before the amount could be lost.
    void aPaymentAloneIsAChangeToSave()
    {
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Labor Hour", "1", "100", "0")});
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        ModalScript script;
        script.then([](QDialog& editor) {
            QVERIFY(!Shown(editor, "tlbtnSave"));
            Find<QPushButton>(editor, "btnPaidAndDeposit")->click();
            QVERIFY(Shown(editor, "tlbtnSave"));
            Close(editor);
        });
        script.then([](QDialog& payment) {
            Find<QLineEdit>(payment, "txtPaidAndDeposit")->setText(QStringLiteral("40"));
            QTest::mouseClick(Find<QPushButton>(payment, "btnOK"), Qt::LeftButton);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts().value(0), QStringLiteral("Save changes to Invoice %1?").arg(number));
        QCOMPARE(LoadDocument(number).document.header.dbAmountPaid, 40.0);
    }

    void listShowsTheColumnsTheCompanyPrints()
    {
        recCmpnyInvData.blShowQuantity = false;
        ModalScript script;
        script.then([](QDialog& editor) {
            auto* list = Find<QTableView>(editor, "lstInvoice");
            QCOMPARE(list->columnWidth(1), 0);                          // Quantity
            QCOMPARE(list->columnWidth(2), 120);                        // Price Each
            QCOMPARE(list->columnWidth(3), 140);                        // Total
            for (int data = 4; data < 9; ++data) QCOMPARE(list->columnWidth(data), 0);
            QCOMPARE(list->columnWidth(0), list->viewport()->width() - 120 - 140 - 5);
            Close(editor);
        });
        OpenNewDocument();
        QVERIFY(script.allRun());
    }

    // Menu entries for controls in collapsed sections open the section first.
    void menuEntriesOpenTheirSections()
    {
        ModalScript script;
        script.then([](QDialog& editor) {
            auto* invoiceSection = Find<QToolButton>(editor, "catpnlInvoiceHeader");
            auto* customerSection = Find<QToolButton>(editor, "catpnlCustomerHeader");
            QVERIFY(Find<QToolButton>(editor, "catpnlRequiredHeader")->isChecked());
            QVERIFY(!invoiceSection->isChecked() && !customerSection->isChecked());
            QVERIFY(!Find<QToolButton>(editor, "catpnlTaxHeader")->isChecked());

            Menu(editor, "submnuChangeDate")->trigger();
            QVERIFY(invoiceSection->isChecked());
            QVERIFY(Find<QDateEdit>(editor, "dateTimePickerInvoice")->isVisible());
            QWidget* calendar = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == QLatin1String("qt_datetimedit_calendar") && top->isVisible()) calendar = top;
            QVERIFY(calendar);
            calendar->hide();

            Menu(editor, "submnuPONumber")->trigger();
            QVERIFY(customerSection->isChecked());
            QVERIFY(Find<QLineEdit>(editor, "txtCustPO")->isVisible());
            Close(editor);
        });
        OpenNewDocument();
        QVERIFY(script.allRun());
    }

    // Print Preview shows the document as it stands on screen; the menu entry
    // does the same, and a ticked contract adds its pages.
    void printPreviewShowsTheDocumentOnScreen()
    {
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Labor Hour", "2", "100", "0")});
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnPrintPreview"), Qt::LeftButton);
            QVERIFY(editor.isVisible());
            Find<QCheckBox>(editor, "ckbxPrintContract")->setChecked(true);
            Menu(editor, "submnuPrintPreview")->trigger();
            messages.queue(MessageAnswer::No);
            Close(editor);
        });
        script.then([&](QDialog& dialog) {
            auto* preview = qobject_cast<TfrmPrntPreview*>(&dialog);
            QVERIFY(preview);
            QCOMPARE(preview->windowTitle(), QStringLiteral("Preview Invoice %1").arg(number));
            QCOMPARE(preview->pageCount(), 1);
            QCOMPARE(recPrintData.strCustName, QStringLiteral("O'Neil, Pat"));
            QCOMPARE(recPrintData.strTotal, QStringLiteral("$200.00"));
            QCOMPARE(ListViewPriceItems.size(), 1);
            preview->reject();
        });
        script.then([](QDialog& dialog) {
            auto* preview = qobject_cast<TfrmPrntPreview*>(&dialog);
            QVERIFY(preview);
            QVERIFY(recPrintData.blPrintContract);
            QVERIFY(preview->pageCount() > 1);   // the invoice, then the contract on a page of its own
            dialog.reject();
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Save changes to Invoice %1?").arg(number)});
    }

    // Print sends the document to the printer: here the printer path writes a
    // PDF, which shows the texts of the screen. Without a printer the user is told.
    void printGoesToThePrinterOrSaysThereIsNone()
    {
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Gravel", "3", "0", "30")});
        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("printed.pdf"));
        modPrintData.SetPrinterOutputFile(printed);
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            QTest::keyClicks(Find<QLineEdit>(editor, "txtCustPO"), QStringLiteral("PO-88"));
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnPrint"), Qt::LeftButton);
            modPrintData.SetPrinterOutputFile(QString());
            if (QPrinterInfo::defaultPrinter().isNull()) {
                Menu(editor, "submnuPrint")->trigger();
                QVERIFY(editor.isVisible());
            }
            messages.queue(MessageAnswer::No);
            Close(editor);
        });
        OpenStored(number);
        modPrintData.SetPrinterOutputFile(QString());
        QVERIFY(script.allRun());

        const QList<PdfPageWords> pages = ReadPdfWords(printed);
        QCOMPARE(pages.size(), 1);
        QVERIFY(PageContains(pages[0], QStringLiteral("Invoice %1").arg(number)));
        QVERIFY(PageContains(pages[0], QStringLiteral("PO-88")));
        QVERIFY(PageContains(pages[0], QStringLiteral("$90.00")));
        if (QPrinterInfo::defaultPrinter().isNull()) {
            QCOMPARE(messages.shown().size(), 2);   // the error, then the save question
            QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
            QVERIFY(messages.shown()[0].text.contains(QStringLiteral("no default printer")));
        }
    }

    // Another seat stores a document under the number this editor shows: the
    // save takes the next free number, shows it in the title and says so in
    // a note on the editor, with no question to answer.
    void aNumberTakenOnAnotherSeatMovesTheSaveOn()
    {
        if (!TestRunsOnServer()) QSKIP("several seats share a server database");
        ScriptedMessages messages;
        ModalScript script;
        int shown = 0;
        ReadyNewDocument(script, [&](QDialog& editor) {
            shown = intCurrentInvNumber;
            QVERIFY(!Find<QLabel>(editor, "lblNumberNote")->isVisibleTo(&editor));
            QCOMPARE(StoreDocument(QStringLiteral("Invoice"), {Line("Gravel", "3", "0", "30")}), shown);
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnSave"), Qt::LeftButton);
            QCOMPARE(editor.windowTitle(), QStringLiteral("Estimate %1").arg(shown + 1));
            QCOMPARE(Find<QLabel>(editor, "lblInvNameNumber")->text(), QStringLiteral("Estimate %1").arg(shown + 1));
            auto* note = Find<QLabel>(editor, "lblNumberNote");
            QVERIFY(note->isVisibleTo(&editor));
            QCOMPARE(note->text(), QStringLiteral("Number %1 was taken by a document saved on another computer "
                                                  "meanwhile, so this document was saved as Estimate %2.")
                                       .arg(shown)
                                       .arg(shown + 1));
            QVERIFY(!Shown(editor, "tlbtnSave"));
            Close(editor);
        });
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts(), QStringList());
        QCOMPARE(LoadDocument(shown).document.header.strInvName, QStringLiteral("Invoice"));
        QCOMPARE(LoadDocument(shown + 1).document.header.strCustCmpnyName, QStringLiteral("Joes Bar and Grill"));
        QCOMPARE(GetNextInvNumber(), shown + 2);
    }

    // On a server seat a new document is saved before it is printed or
    // e-mailed, so the paper never carries a number another seat may take;
    // without the save nothing is printed.
    void printingANewDocumentOnAServerSeatSavesItFirst()
    {
        if (!TestRunsOnServer()) QSKIP("several seats share a server database");
        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("printed-new.pdf"));
        QFile::remove(printed);
        modPrintData.SetPrinterOutputFile(printed);
        ScriptedMessages messages;
        ModalScript script;
        int shown = 0;
        ReadyNewDocument(script, [&](QDialog& editor) {
            shown = intCurrentInvNumber;
            messages.queue(MessageAnswer::No);
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnPrint"), Qt::LeftButton);
            QVERIFY(!QFile::exists(printed));
            QVERIFY(!IsStored(shown));
            messages.queue(MessageAnswer::Yes);
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnPrint"), Qt::LeftButton);
            QVERIFY(IsStored(shown));
            QVERIFY(QFile::exists(printed));
            QVERIFY(!Shown(editor, "tlbtnSave"));
            Close(editor);
        });
        modPrintData.SetPrinterOutputFile(QString());
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts(), QStringList(2, QStringLiteral("Save changes to Estimate %1?").arg(shown)));
        const QList<PdfPageWords> pages = ReadPdfWords(printed);
        QCOMPARE(pages.size(), 1);
        QVERIFY(PageContains(pages[0], QStringLiteral("Estimate %1").arg(shown)));
    }

    // The document was changed on another seat after this editor opened it:
    // the save is refused with a message that says so, and what was typed
    // stays on screen, still to be saved.
    void aSaveOverAnotherSeatsChangeIsRefusedAndTheTypingStays()
    {
        if (!TestRunsOnServer()) QSKIP("several seats share a server database");
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Gravel", "3", "0", "30")});
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            // The other seat's change.
            TLoadedDocument other = LoadDocument(number);
            other.document.header.strCustPONumber = QStringLiteral("PO-OTHER");
            SaveDocumentWithLedger(other.document, other.savedData, true);
            RunOutSavingNotice();

            QTest::keyClicks(Find<QLineEdit>(editor, "txtCustPO"), QStringLiteral("PO-MINE"));
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnSave"), Qt::LeftButton);
            QVERIFY(editor.isVisible());
            QCOMPARE(Find<QLineEdit>(editor, "txtCustPO")->text(), QStringLiteral("PO-MINE"));
            QVERIFY(Shown(editor, "tlbtnSave"));
            messages.queue(MessageAnswer::No);
            Close(editor);
        });
        OpenStored(number);
        QVERIFY(script.allRun());
        QCOMPARE(messages.shown().size(), 2);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
        QCOMPARE(messages.shown()[0].text, StoredDocumentChangedMessage(QStringLiteral("Invoice %1").arg(number)) + QLatin1Char('.'));
        QCOMPARE(LoadDocument(number).document.header.strCustPONumber, QStringLiteral("PO-OTHER"));
    }

    // British settings: the editor and the printed page show pounds and
    // day/month/year; the database keeps its own forms.
    void britishSettingsShowPoundsAndDayMonthYear()
    {
        const int number = StoreDocument(QStringLiteral("Invoice"), {Line("Gravel", "1", "1234.5", "0", false)},
                                         [](TInvHeader& h) { h.strInvDate = QStringLiteral("12/25/2026"); });
        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("british.pdf"));
        ScopedLocale british("en_GB");
        modPrintData.SetPrinterOutputFile(printed);
        ModalScript script;
        script.then([&](QDialog& editor) {
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTotal")->text(), QString::fromUtf8("£1,234.50"));
            QCOMPARE(Find<QLabel>(editor, "lblInvDate")->text(), QStringLiteral("25/12/2026"));
            QCOMPARE(Find<QDateEdit>(editor, "dateTimePickerInvoice")->text(), QStringLiteral("25/12/2026"));
            QCOMPARE(Row(editor, 0).mid(0, 4),
                     (QStringList{"Gravel", "1", QString::fromUtf8("£1,234.50"), QString::fromUtf8("£1,234.50")}));
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnPrint"), Qt::LeftButton);
            Close(editor);
        });
        OpenStored(number);
        modPrintData.SetPrinterOutputFile(QString());
        QVERIFY(script.allRun());
        QCOMPARE(LoadDocument(number).document.header.strInvDate, QStringLiteral("12/25/2026"));

        const QList<PdfPageWords> pages = ReadPdfWords(printed);
        QCOMPARE(pages.size(), 1);
        QVERIFY(PageContains(pages[0], QStringLiteral("25/12/2026")));
        QVERIFY(PageContains(pages[0], QString::fromUtf8("£1,234.50")));
        QVERIFY(!PageContains(pages[0], QStringLiteral("$1,234.50")));
    }

    // A document made under German settings is stored in the program's own
    // forms, so it opens under US settings with the same amounts and date.
    void documentWrittenUnderGermanSettingsOpensTheSameUnderUsSettings()
    {
        SetCounter(1001);
        ScriptedMessages messages;
        QString germanTotal;
        QStringList germanRow;
        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("german.pdf"));
        {
            ScopedLocale german("de_DE");
            ModalScript script;
            script.then([&](QDialog& editor) {
                Choose(Find<QComboBox>(editor, "cmbInvoiceType"), 3);
                Find<QPushButton>(editor, "btnAddPriceItem")->click();
                Find<QPushButton>(editor, "btnAddCustomer")->click();
                Find<QDateEdit>(editor, "dateTimePickerInvoice")->setDate(QDate(2026, 12, 25));
                QCOMPARE(Find<QLabel>(editor, "lblInvDate")->text(), QStringLiteral("25.12.2026"));
                germanRow = Row(editor, 0);
                germanTotal = Find<QLineEdit>(editor, "txtInvoiceTotal")->text();
                QVERIFY(germanTotal.endsWith(QString::fromUtf8("\u00A0€")));
                QTest::mouseClick(Find<QToolButton>(editor, "tlbtnSave"), Qt::LeftButton);
                QCOMPARE(recPrintData.strInvDate, QStringLiteral("25.12.2026"));
                modPrintData.SetPrinterOutputFile(printed);
                QTest::mouseClick(Find<QToolButton>(editor, "tlbtnPrint"), Qt::LeftButton);
                modPrintData.SetPrinterOutputFile(QString());
                Close(editor);
            });
            script.then(AddPriceItem(2, QStringLiteral("1,5")));
            script.then(UseCustomer(0));
            OpenNewDocument();
            QVERIFY(script.allRun());
            QCOMPARE(germanRow.value(1), QStringLiteral("1,5"));
        }
        const QList<PdfPageWords> pages = ReadPdfWords(printed);
        QCOMPARE(pages.size(), 1);
        QVERIFY(PageContains(pages[0], QStringLiteral("25.12.2026")));
        // The page sets the no-break space apart like a blank: "116,25 €" reads as two words.
        QVERIFY(PageContains(pages[0], QString(germanTotal).replace(QChar(0x00A0), QLatin1Char(' '))));
        QVERIFY(messages.texts().isEmpty());

        const TLoadedDocument stored = LoadDocument(1001);
        QCOMPARE(stored.document.header.strInvDate, QStringLiteral("12/25/2026"));
        QCOMPARE(stored.document.lines.value(0).strPrcItmQuantity, QStringLiteral("1.5"));
        {
            ScopedLocale german("de_DE");
            QCOMPARE(FormatMoney(stored.document.header.dbInvTotal), germanTotal);
        }
        ModalScript script;
        script.then([&](QDialog& editor) {
            QCOMPARE(Find<QLabel>(editor, "lblInvDate")->text(), QStringLiteral("12/25/2026"));
            QCOMPARE(Find<QLineEdit>(editor, "txtInvoiceTotal")->text(), FormatMoney(stored.document.header.dbInvTotal));
            QVERIFY(Find<QLineEdit>(editor, "txtInvoiceTotal")->text().startsWith(QLatin1Char('$')));
            const QStringList row = Row(editor, 0);
            QCOMPARE(row.value(0), germanRow.value(0));
            QCOMPARE(row.value(1), QStringLiteral("1.5"));
            QVERIFY(!Shown(editor, "tlbtnSave"));   // nothing to save: it reads as it was written
            Close(editor);
        });
        OpenStored(1001);
        QVERIFY(script.allRun());
    }

    // Email writes the document as "type name + number.pdf" into the temp folder,
    // hands it to the e-mail screen with the customer's address, and the subject
    // is the document's caption only when the company asks for it.
    void emailAttachesTheDocumentPdf_data()
    {
        QTest::addColumn<bool>("subjectFromDocument");
        QTest::addColumn<QString>("subject");
        QTest::newRow("caption as subject") << true << QStringLiteral("Work Order 502");
        QTest::newRow("company subject") << false << QStringLiteral("Your paperwork");
    }
    void emailAttachesTheDocumentPdf()
    {
        QFETCH(bool, subjectFromDocument);
        QFETCH(QString, subject);
        recCompanyData.blCompEmailSubjectInvNameNum = subjectFromDocument;
        recCompanyData.strCompEmailSubject = QStringLiteral("Your paperwork");
        SetCounter(502);
        const int number = StoreDocument(QStringLiteral("Work Order"), {Line("Labor Hour", "1", "75", "0")});
        const QString pdf = QDir(GetTempFolder()).filePath(QStringLiteral("Work Order502.pdf"));
        QMap<QString, QString> info;
        QList<PdfPageWords> pages;
        ModalScript script;
        script.then([](QDialog& editor) {
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnEmail"), Qt::LeftButton);
            Close(editor);
        });
        script.then([&](QDialog& dialog) {
            QVERIFY(qobject_cast<TfrmEmail*>(&dialog));
            QCOMPARE(Find<QLineEdit>(dialog, "txtEmailAddress")->text(), QStringLiteral("pat@example.com"));
            QCOMPARE(Find<QLineEdit>(dialog, "txtEmailSubject")->text(), subject);
            QCOMPARE(recEmailData.strRecipientName, QStringLiteral("O'Neil Fences"));
            QVERIFY(recEmailData.blAttach);
            QCOMPARE(recEmailData.strAttachmentPath, pdf);
            QVERIFY(QFileInfo::exists(pdf));
            info = ReadPdfInfo(pdf);
            pages = ReadPdfWords(pdf);
            Find<QPushButton>(dialog, "btnCancelEmail")->click();
        });
        ScriptedMessages messages;
        OpenStored(number);
        QVERIFY(script.allRun());
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(info.value("Title"), QStringLiteral("Work Order 502"));
        QCOMPARE(info.value("Subject"), QStringLiteral("Work Order"));
        QCOMPARE(pages.size(), 1);
        QVERIFY(PageContains(pages[0], QStringLiteral("Work Order 502")));
        QVERIFY(PageContains(pages[0], QStringLiteral("Springfield IL 62701")));
        QVERIFY(PageContains(pages[0], QStringLiteral("Labor Hour")));
        QVERIFY(!QFileInfo::exists(pdf));   // the e-mail screen empties the temp folder
        QVERIFY(recEmailData.strAttachmentPath.isEmpty());
    }

    void windowStateFollowsItsPreference()
    {
        arrFormMaximized[1] = true;
        ModalScript script;
        script.then([](QDialog& editor) {
            QVERIFY(editor.windowState() & Qt::WindowMaximized);
            editor.showNormal();
            Close(editor);
        });
        OpenNewDocument();
        QVERIFY(script.allRun());
        QVERIFY(!arrFormMaximized[1]);
    }
};

FENNICK_TEST_MAIN(TestEditor)
#include "test_editor.moc"
