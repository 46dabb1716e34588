// E-invoices made on the screens: the company asks for them, the customer gets
// a country and VAT ID on the customer screen, the editor's "Save PDF…" writes
// a PDF/A-3 whose factur-x.xml passes the CII schema and the EN 16931 rules,
// "Save E-Invoice XML…" the same XML alone, and the e-mail attaches the same
// PDF. Documents that cannot carry one get one message and a plain PDF.
#include "common/EInvoiceValidation.h"
#include "common/PdfAttachments.h"
#include "common/ScreenScript.h"
#include "common/TestDatabase.h"
#include "common/TestServer.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitDispatch.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyStore.h"
#include "customers/unitCustomerStore.h"
#include "documents/unitDocumentStore.h"
#include "email/unitfrmEmail.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

void AskForEInvoices(bool on)
{
    TCompanySettings settings = CurrentCompanySettings();
    settings.company.strCompName = QStringLiteral("Glasklar Fensterreinigung");
    settings.einvoice = {on, QStringLiteral("DE123456789"), QString(), QStringLiteral("DE"), QStringLiteral("EUR"),
                         QStringLiteral("DE89 3704 0044 0532 0130 00"), QStringLiteral("COBADEFFXXX")};
    SaveCompanySettings(settings, {});
    RunOutSavingNotice();
}

void Trigger(QDialog& editor, const char* entry)
{
    QAction* action = Find<QAction>(editor, entry);
    QVERIFY2(action->isVisible() && action->isEnabled(), entry);
    action->trigger();
}

// The save dialog's step: the file chosen, and the dialog closed with OK.
ModalScript::Step SaveAs(const QString& path, const char* dialogName)
{
    return [path, dialogName](QDialog& dialog) {
        QCOMPARE(dialog.objectName(), QString::fromLatin1(dialogName));
        auto& files = static_cast<QFileDialog&>(dialog);
        files.setDirectory(QFileInfo(path).absolutePath());
        // The name box, as a person types into it.
        Find<QLineEdit>(files, "fileNameEdit")->setText(QFileInfo(path).fileName());
        QCOMPARE(files.selectedFiles(), QStringList{path});
        dialog.setResult(QDialog::Accepted);
        dialog.hide();
    };
}

// A new invoice with the first price item (labour untaxed, material taxed) and
// the first customer, given a country and a VAT ID on the customer screen.
void MakeInvoice(ModalScript& script, ScriptedMessages& messages)
{
    script.then(AddPriceItem(0, QStringLiteral("4")));
    script.then([](QDialog& customers) {
        ClickRow(Find<QTableView>(customers, "lstvCustomers"), 0);
        auto* country = Find<QComboBox>(customers, "cmbCustCountry");
        country->setCurrentIndex(country->findText(QStringLiteral("AT Austria")));
        QTest::keyClicks(Find<QLineEdit>(customers, "txtCustVatId"), QStringLiteral("ATU12345678"));
        QTest::mouseClick(Find<QPushButton>(customers, "btnUseThisCust"), Qt::LeftButton);
    });
    messages.queue(MessageAnswer::Yes);   // save the customer's changes
}

void BuildInvoiceOnScreen(QDialog& editor)
{
    Choose(Find<QComboBox>(editor, "cmbInvoiceType"), 3);
    Find<QPushButton>(editor, "btnAddPriceItem")->click();
    Find<QPushButton>(editor, "btnAddCustomer")->click();
    Find<QCheckBox>(editor, "ckbxTax2")->setChecked(true);
}

} // namespace

class TestEditorEInvoice : public QObject {
    Q_OBJECT

    QTemporaryDir m_out;

private slots:
    void init()
    {
        CreateTestDatabase();
        arrFormMaximized[1] = false;
        AskForEInvoices(true);
    }
    void cleanup() { RunOutSavingNotice(); }

    void invoiceMadeOnTheScreensCarriesAValidEInvoice()
    {
        const QString pdf = m_out.filePath(QStringLiteral("Invoice500.pdf"));
        const QString xmlFile = m_out.filePath(QStringLiteral("Invoice500.xml"));
        const QString plainPdf = m_out.filePath(QStringLiteral("plain.pdf"));
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            BuildInvoiceOnScreen(editor);
            Trigger(editor, "submnuSavePdf");
            Trigger(editor, "submnuSaveEInvoiceXml");
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnSave"), Qt::LeftButton);
            // The same document without e-invoices: the pages it prints.
            recEInvoiceSettings.blEInvoice = false;
            Trigger(editor, "submnuSavePdf");
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnClose"), Qt::LeftButton);
        });
        MakeInvoice(script, messages);
        script.then(SaveAs(pdf, "dlgSavePdf"));
        script.then(SaveAs(xmlFile, "dlgSaveEInvoiceXml"));
        script.then(SaveAs(plainPdf, "dlgSavePdf"));
        OpenNewDocument();
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts(), QStringList{"Save changes to this customer?"});

        // The customer keeps its new data, and the document its own copy.
        QCOMPARE(LoadCustomer(1).strCustCountry, QStringLiteral("AT"));
        QCOMPARE(LoadDocument(500).document.buyer, (TInvBuyerTaxData{"AT", "ATU12345678"}));

        const QByteArray attached = ShowAttachment(pdf, QStringLiteral("factur-x.xml"));
        QFile saved(xmlFile);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), attached);
        QVERIFY(attached.contains("<ram:CountryID>AT</ram:CountryID>"));
        QVERIFY(attached.contains("Wash small window - EA. (labour)"));
        const QMap<QString, QStringList> problems = ValidateEInvoices({{QStringLiteral("invoice"), attached}});
        QVERIFY2(problems.value("invoice").isEmpty(), qPrintable(problems.value("invoice").join('\n')));

        QCOMPARE(FontsNotEmbedded(pdf), QStringList());
        QVERIFY(AttachmentNames(plainPdf).isEmpty());
        const QList<PdfPageWords> plainPages = ReadPdfWords(plainPdf);
        const QList<PdfPageWords> pages = ReadPdfWords(pdf);
        QCOMPARE(pages.size(), plainPages.size());
        for (int page = 0; page < pages.size(); ++page) {
            QCOMPARE(pages[page].size(), plainPages[page].size());
            for (int word = 0; word < pages[page].size(); ++word)
                QCOMPARE(pages[page][word].text, plainPages[page][word].text);
        }
    }

    void refusedDocumentGetsOneMessageAndAPlainPdf()
    {
        const QString pdf = m_out.filePath(QStringLiteral("refused.pdf"));
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            BuildInvoiceOnScreen(editor);
            Find<QCheckBox>(editor, "ckbxTax1")->setChecked(true);   // two taxes on the same amounts
            Trigger(editor, "submnuSavePdf");
            // The XML alone: the message, and no file dialog.
            Trigger(editor, "submnuSaveEInvoiceXml");
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnClose"), Qt::LeftButton);
        });
        MakeInvoice(script, messages);
        script.then(SaveAs(pdf, "dlgSavePdf"));
        messages.queue(MessageAnswer::No);   // leave without saving
        OpenNewDocument();
        QVERIFY(script.allRun());
        const QStringList texts = messages.texts();
        QCOMPARE(texts.size(), 4);
        QVERIFY2(texts[1].startsWith("Invoice 500 is written as a plain PDF") && texts[1].contains("Two taxes are ticked"),
                 qPrintable(texts[1]));
        QVERIFY2(texts[2].startsWith("No e-invoice file was written for Invoice 500") &&
                     texts[2].contains("Two taxes are ticked"),
                 qPrintable(texts[2]));
        QVERIFY(QFileInfo::exists(pdf));
        QVERIFY(AttachmentNames(pdf).isEmpty());
    }

    void otherTypesCarryNoXml()
    {
        const QString pdf = m_out.filePath(QStringLiteral("estimate.pdf"));
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            Find<QPushButton>(editor, "btnAddPriceItem")->click();
            Find<QPushButton>(editor, "btnAddCustomer")->click();
            QVERIFY(!Find<QAction>(editor, "submnuSaveEInvoiceXml")->isVisible());   // an Estimate
            Choose(Find<QComboBox>(editor, "cmbInvoiceType"), 4);
            QVERIFY(Find<QAction>(editor, "submnuSaveEInvoiceXml")->isVisible());    // a Credit
            Choose(Find<QComboBox>(editor, "cmbInvoiceType"), 0);
            Trigger(editor, "submnuSavePdf");
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnClose"), Qt::LeftButton);
        });
        script.then(AddPriceItem(0, QStringLiteral("1")));
        script.then(UseCustomer(0));
        script.then(SaveAs(pdf, "dlgSavePdf"));
        messages.queue(MessageAnswer::No);
        OpenNewDocument();
        QVERIFY(script.allRun());
        QCOMPARE(messages.texts().size(), 1);   // only the save question
        QVERIFY(AttachmentNames(pdf).isEmpty());
    }

    void emailAttachesTheEInvoicePdf()
    {
        TCustomer customer = LoadCustomer(1);
        customer.strCustCountry = QStringLiteral("DE");
        SaveCustomer(customer);
        QByteArray attached;
        ScriptedMessages messages;
        ModalScript script;
        script.then([&](QDialog& editor) {
            Choose(Find<QComboBox>(editor, "cmbInvoiceType"), 3);
            Find<QPushButton>(editor, "btnAddPriceItem")->click();
            Find<QPushButton>(editor, "btnAddCustomer")->click();
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnEmail"), Qt::LeftButton);
            QTest::mouseClick(Find<QToolButton>(editor, "tlbtnClose"), Qt::LeftButton);
        });
        script.then(AddPriceItem(0, QStringLiteral("1")));
        script.then(UseCustomer(0));
        script.then([&](QDialog& email) {
            QVERIFY(qobject_cast<TfrmEmail*>(&email));
            attached = ShowAttachment(QDir(GetTempFolder()).filePath(QStringLiteral("Invoice500.pdf")),
                                      QStringLiteral("factur-x.xml"));
            Find<QPushButton>(email, "btnCancelEmail")->click();
        });
        // On a server seat the new invoice is saved before it is e-mailed.
        messages.queue(TestRunsOnServer() ? MessageAnswer::Yes : MessageAnswer::No);
        OpenNewDocument();
        QVERIFY(script.allRun());
        QVERIFY(attached.contains("<ram:TypeCode>380</ram:TypeCode>"));
        QVERIFY(attached.contains("<ram:ID schemeID=\"VA\">DE123456789</ram:ID>"));
    }
};

FENNICK_TEST_MAIN(TestEditorEInvoice)
#include "test_editoreinvoice.moc"
