// The editor's three dialogs driven through their widgets: the line item
// dialog (typing rule, OK rule, empty prices, refused quantities, Remove), the
// payment/deposit dialog (kinds, recommended deposit, conversion error) and
// the notes dialog.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "company/unitCompanyData.h"
#include "editor/UnitfrmInvoicePriceItemEdit.h"
#include "editor/unitfrmInvoiceNotes.h"
#include "editor/unitfrmPaidAndDeposit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

template <typename T>
T* Find(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no widget %s", name);
    return child;
}

TInvLine LaborHour()
{
    return {QStringLiteral("Labor Hour"), QStringLiteral("2"), QStringLiteral("-1"), QStringLiteral("0"),
            QStringLiteral("45"), QStringLiteral("12.5")};
}

} // namespace

class TestEditorDialogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { CreateTestDatabase(); }

    // ------------------------------------------------------------ line item

    void lineDialogShowsTheLineAndWaitsForAChange()
    {
        TfrmInvoicePriceItemEdit dialog(LaborHour(), QStringLiteral("Invoice 1001"));
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Price Item"));
        QCOMPARE(Find<QLineEdit>(dialog, "txtPriceItmDiscription")->text(), QStringLiteral("Labor Hour"));
        QCOMPARE(Find<QLineEdit>(dialog, "txtMatPrice")->text(), QStringLiteral("12.5"));
        QVERIFY(Find<QCheckBox>(dialog, "ckbxLaborTaxable")->isChecked());
        QVERIFY(!Find<QCheckBox>(dialog, "ckbxMatTaxable")->isChecked());
        auto* ok = Find<QPushButton>(dialog, "btnOK");
        QVERIFY(!ok->isEnabled());
        QTest::mouseClick(Find<QCheckBox>(dialog, "ckbxMatTaxable"), Qt::LeftButton);
        QVERIFY(ok->isEnabled());

        QTest::mouseClick(Find<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
        QCOMPARE(dialog.outcome(), TLineEditOutcome::Unchanged);
        QCOMPARE(dialog.line(), LaborHour());
    }

    void lineDialogOkWritesTheLineAndEmptyPricesBecomeZero()
    {
        TfrmInvoicePriceItemEdit dialog(LaborHour(), QStringLiteral("Invoice 1001"));
        dialog.show();
        Find<QLineEdit>(dialog, "txtLaborPrice")->clear();
        Find<QLineEdit>(dialog, "txtMatPrice")->clear();
        Find<QLineEdit>(dialog, "txtQuantity")->setText(QStringLiteral("0.5"));
        QTest::mouseClick(Find<QCheckBox>(dialog, "ckbxMatTaxable"), Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(dialog.outcome(), TLineEditOutcome::Edited);
        const TInvLine expected{QStringLiteral("Labor Hour"), QStringLiteral("0.5"), QStringLiteral("-1"),
                                QStringLiteral("-1"), QStringLiteral("0.0"), QStringLiteral("0.0")};
        QCOMPARE(dialog.line(), expected);
    }

    void lineDialogKeepsALongerStoredDescriptionWhole()
    {
        TInvLine line = LaborHour();
        line.strPrcItemName = QStringLiteral("Install new roofing - 2 Story per square, north side");   // 52
        TfrmInvoicePriceItemEdit dialog(line, QStringLiteral("Invoice 1001"));
        dialog.show();
        QCOMPARE(Find<QLineEdit>(dialog, "txtPriceItmDiscription")->text(), line.strPrcItemName);
        Find<QLineEdit>(dialog, "txtQuantity")->setText(QStringLiteral("3"));
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(dialog.line().strPrcItemName, line.strPrcItemName);
        QCOMPARE(dialog.line().strPrcItmQuantity, QStringLiteral("3"));
    }

    // Digits and separators go in (none is dropped: the text is read whole at
    // OK); other characters do not.
    void numberBoxesTakeDigitsAndSeparators_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("digits and one separator") << "12.5" << "12.5";
        QTest::newRow("every separator kept") << "1,2.5" << "1,2.5";
        QTest::newRow("minus refused") << "-3" << "3";
        QTest::newRow("letters refused") << "4x5e" << "45";
    }
    void numberBoxesTakeDigitsAndSeparators()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        TfrmInvoicePriceItemEdit dialog(LaborHour(), QStringLiteral("Invoice 1001"));
        dialog.show();
        for (const char* name : {"txtLaborPrice", "txtMatPrice", "txtQuantity"}) {
            auto* box = Find<QLineEdit>(dialog, name);
            box->clear();
            QTest::keyClicks(box, typed);
            QCOMPARE(box->text(), shown);
        }
        // The description takes any text.
        auto* description = Find<QLineEdit>(dialog, "txtPriceItmDiscription");
        description->clear();
        QTest::keyClicks(description, typed);
        QCOMPARE(description->text(), typed);
    }

    // Pasted text follows the same rule as typed text.
    void pastedTextMustBeANumber()
    {
        TfrmInvoicePriceItemEdit dialog(LaborHour(), QStringLiteral("Invoice 1001"));
        dialog.show();
        auto* quantity = Find<QLineEdit>(dialog, "txtQuantity");
        quantity->selectAll();
        quantity->insert(QStringLiteral("-5"));
        QCOMPARE(quantity->text(), QStringLiteral("2"));
        quantity->selectAll();
        quantity->insert(QStringLiteral("2.75"));
        QCOMPARE(quantity->text(), QStringLiteral("2.75"));
        quantity->insert(QStringLiteral(".5"));   // kept, and refused as a whole at OK
        QCOMPARE(quantity->text(), QStringLiteral("2.75.5"));

        // A box that starts with another form (a tiny stored amount) can still be corrected.
        quantity->setText(QStringLiteral("1E-6"));
        quantity->end(false);
        QTest::keyClick(quantity, Qt::Key_Backspace);
        QCOMPARE(quantity->text(), QStringLiteral("1E-"));
        quantity->selectAll();
        QTest::keyClicks(quantity, QStringLiteral("3"));
        QCOMPARE(quantity->text(), QStringLiteral("3"));
    }

    // Lines whose quantity or price cannot be a number are refused with a message
    // and the dialog stays open to correct them.
    void lineDialogRefusesQuantitiesThatAreNotNumbers_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty quantity") << "txtQuantity" << ""
                                        << "Please enter a Quantity for this Price Item.";
        QTest::newRow("lone separator quantity")
            << "txtQuantity" << "." << "The Quantity needs at least one digit, not a decimal separator alone.";
        QTest::newRow("lone separator labour")
            << "txtLaborPrice" << "." << "The Labor Price needs at least one digit, not a decimal separator alone.";
        QTest::newRow("lone separator material")
            << "txtMatPrice" << "." << "The Material Price needs at least one digit, not a decimal separator alone.";
        QTest::newRow("left-over exponent") << "txtLaborPrice" << "1E-" << "The Labor Price '1E-' is not a number.";
        QTest::newRow("two decimal points") << "txtQuantity" << "2.75.5" << "The Quantity '2.75.5' is not a number.";
    }
    void lineDialogRefusesQuantitiesThatAreNotNumbers()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        ScriptedMessages messages;
        TfrmInvoicePriceItemEdit dialog(LaborHour(), QStringLiteral("Invoice 1001"));
        dialog.show();
        Find<QLineEdit>(dialog, qPrintable(box))->setText(text);
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{message});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.outcome(), TLineEditOutcome::Unchanged);
        QCOMPARE(dialog.line(), LaborHour());
    }

    void removeAsksAndOnlyYesRemoves()
    {
        ScriptedMessages messages;
        TfrmInvoicePriceItemEdit dialog(LaborHour(), QStringLiteral("Invoice 1001"));
        dialog.show();
        auto* remove = Find<QPushButton>(dialog, "btnRemovePriceItem");
        messages.queue(MessageAnswer::No);
        QTest::mouseClick(remove, Qt::LeftButton);
        messages.queue(MessageAnswer::Cancel);
        QTest::mouseClick(remove, Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.outcome(), TLineEditOutcome::Unchanged);
        messages.queue(MessageAnswer::Yes);
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList(3, QStringLiteral("Remove Labor Hour from Invoice 1001?")));
        QCOMPARE(dialog.outcome(), TLineEditOutcome::Removed);
        QVERIFY(!dialog.isVisible());
    }

    // Under German settings the boxes show and take the comma and keep every
    // separator typed; the line keeps the amount meant in its stored form, and
    // an amount that reads two ways is refused with both readings.
    void lineDialogTakesTheRegionalSeparator()
    {
        ScopedLocale german("de_DE");
        ScriptedMessages messages;
        TfrmInvoicePriceItemEdit dialog(LaborHour(), QStringLiteral("Invoice 1001"));
        dialog.show();
        QCOMPARE(Find<QLineEdit>(dialog, "txtMatPrice")->text(), QStringLiteral("12,5"));
        auto* labour = Find<QLineEdit>(dialog, "txtLaborPrice");
        labour->clear();
        QTest::keyClicks(labour, QStringLiteral("1.234"));
        QCOMPARE(labour->text(), QStringLiteral("1.234"));
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{"The Labor Price '1.234' can mean 1234 or 1,234: please type the "
                                               "amount as one of these."});
        QCOMPARE(dialog.outcome(), TLineEditOutcome::Unchanged);
        labour->selectAll();
        labour->insert(QStringLiteral("1.234,5"));   // pasted, grouped
        QCOMPARE(labour->text(), QStringLiteral("1.234,5"));
        Find<QLineEdit>(dialog, "txtMatPrice")->clear();
        Find<QLineEdit>(dialog, "txtQuantity")->setText(QStringLiteral("2.5"));   // a point that is no grouping
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(dialog.outcome(), TLineEditOutcome::Edited);
        QCOMPARE(dialog.line().strLbrPrc, QStringLiteral("1234.5"));
        QCOMPARE(dialog.line().strMatPrc, QStringLiteral("0.0"));
        QCOMPARE(dialog.line().strPrcItmQuantity, QStringLiteral("2.5"));
    }

    void lineDialogRefusesALoneRegionalSeparator()
    {
        ScopedLocale german("de_DE");
        ScriptedMessages messages;
        TfrmInvoicePriceItemEdit dialog(LaborHour(), QStringLiteral("Invoice 1001"));
        dialog.show();
        Find<QLineEdit>(dialog, "txtQuantity")->setText(QStringLiteral(","));
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(messages.texts(),
                 QStringList{"The Quantity needs at least one digit, not a decimal separator alone."});
        QCOMPARE(dialog.outcome(), TLineEditOutcome::Unchanged);
    }

    void paymentDialogUnderGermanSettings()
    {
        ScopedLocale german("de_DE");
        TPaidAndDepositValues values;
        values.typeName = QStringLiteral("Invoice");
        values.documentTotal = 1234.5;
        values.amountPaid = 40.25;
        TfrmPaidAndDeposit dialog(values);
        dialog.show();
        auto* amount = Find<QLineEdit>(dialog, "txtPaidAndDeposit");
        QCOMPARE(amount->text(), QStringLiteral("40,25"));
        QCOMPARE(Find<QLineEdit>(dialog, "txtInvTotal")->text(), QString::fromUtf8("1.234,50\u00A0€"));
        amount->clear();
        QTest::keyClicks(amount, QStringLiteral("100,75"));
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.values().amountPaid, 100.75);
    }

    // ------------------------------------------------------- payment/deposit

    void depositDialogOnAWorkOrder()
    {
        recCmpnyInvData.intDepPercent = 25;
        TPaidAndDepositValues values;
        values.typeName = QStringLiteral("Work Order");
        values.documentTotal = 1000;
        values.amountPaid = 0;
        values.deposit = 0;
        TfrmPaidAndDeposit dialog(values);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Deposit Amount"));
        QCOMPARE(Find<QLabel>(dialog, "lblPaidAndDeposit")->text(), QStringLiteral("Deposit Amount required"));
        auto* amount = Find<QLineEdit>(dialog, "txtPaidAndDeposit");
        QCOMPARE(amount->text(), QStringLiteral("0"));
        QCOMPARE(amount->toolTip(), QStringLiteral("Enter Deposit Amount required"));
        auto* recommended = Find<QLineEdit>(dialog, "txtRecDepositAmount");
        QVERIFY(recommended->isVisible());
        QCOMPARE(recommended->text(), QStringLiteral("$250.00"));
        QCOMPARE(recommended->toolTip(), QStringLiteral("Work Order Recommended deposit amount"));
        QCOMPARE(Find<QLineEdit>(dialog, "txtInvTotal")->text(), QStringLiteral("$1,000.00"));
        QCOMPARE(Find<QLabel>(dialog, "lblInvTotal")->text(), QStringLiteral("Work Order Total"));
        QVERIFY(!Find<QCheckBox>(dialog, "ckbxPaidInFull")->isEnabled());

        auto* ok = Find<QPushButton>(dialog, "btnOK");
        QVERIFY(!ok->isEnabled());
        amount->clear();
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(amount, QStringLiteral("250.5"));
        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.values().deposit, 250.5);
        QCOMPARE(dialog.values().amountPaid, 0.0);
    }

    void paymentDialogOnAnInvoice()
    {
        ScriptedMessages messages;
        TPaidAndDepositValues values;
        values.typeName = QStringLiteral("invoice");   // kinds compare in any letter case
        values.documentTotal = 100;
        values.amountPaid = 40;
        values.deposit = 7;
        values.paidInFullEnabled = true;
        TfrmPaidAndDeposit dialog(values);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Amount Paid"));
        QVERIFY(!Find<QLineEdit>(dialog, "txtRecDepositAmount")->isVisible());
        QVERIFY(!Find<QLabel>(dialog, "lblRecDepositAmount")->isVisible());
        auto* amount = Find<QLineEdit>(dialog, "txtPaidAndDeposit");
        QCOMPARE(amount->text(), QStringLiteral("40"));

        // A lone separator stops with the conversion error; the dialog stays open.
        amount->setText(QStringLiteral("."));
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("'.' is not a valid floating point value.")});
        QVERIFY(dialog.isVisible());

        amount->setText(QStringLiteral("60"));
        QTest::mouseClick(Find<QCheckBox>(dialog, "ckbxPaidInFull"), Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        QCOMPARE(dialog.values().amountPaid, 60.0);
        QCOMPARE(dialog.values().deposit, 7.0);
        QVERIFY(dialog.values().paidInFull);
    }

    // ------------------------------------------------------------------ notes

    void notesDialogKeepsLinesAndCancelChangesNothing()
    {
        const QString notes = QStringLiteral("Gate code 1234\r\nDog in yard");
        {
            TfrmInvoiceNotes dialog(QStringLiteral("Invoice"), 1001, notes);
            dialog.show();
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Invoice 1001 Notes"));
            auto* box = Find<QPlainTextEdit>(dialog, "txtInvoiceNotes");
            QCOMPARE(box->toolTip(), QStringLiteral("Add notes to Invoice"));
            QCOMPARE(dialog.notes(), notes);   // CR LF line breaks survive the box
            QTest::keyClicks(box, QStringLiteral("x"));
            QTest::mouseClick(Find<QPushButton>(dialog, "btnNotesCancel"), Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        TfrmInvoiceNotes dialog(QStringLiteral("Estimate"), 7, notes);
        dialog.show();
        QTest::mouseClick(Find<QPushButton>(dialog, "btnNotesOK"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.notes(), notes);
    }
};

FENNICK_TEST_MAIN(TestEditorDialogs)
#include "test_editordialogs.moc"
