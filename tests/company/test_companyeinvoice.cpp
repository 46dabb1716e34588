// The company screen's page "E-Invoice": what it shows at first, what its save
// writes (with everything else, in one transaction), and the values it refuses.
#include "common/ScreenScript.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "company/unitEInvoiceSettings.h"
#include "company/unitfrmCompanyInfo.h"
#include "db/DbConnection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QToolButton>

namespace {

QStringList StoredSettings()
{
    DbConnection db;
    DbStatement row = db.prepare(QStringLiteral(
        "SELECT strEInvoice,strSellerVatId,strSellerTaxNumber,strSellerCountry,strCurrencyCode,strIban,strBic "
        "FROM tblEInvoiceSettings WHERE intEInvoiceSettingsID = 1;"));
    QStringList values;
    if (row.step())
        for (int column = 0; column < 7; ++column) values << row.columnText(column);
    return values;
}

QString StoredCompanyName()
{
    DbConnection db;
    DbStatement row = db.prepare(QStringLiteral("SELECT strCompName FROM tblCompanyInfo WHERE intCompInfoID = 1;"));
    return row.step() ? row.columnText(0) : QString();
}

void Type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void FillPage(QWidget& screen, const QString& iban)
{
    Find<QCheckBox>(screen, "ckbxEInvoice")->setChecked(true);
    Type(Find<QLineEdit>(screen, "txtSellerVatId"), QStringLiteral("DE123456789"));
    Type(Find<QLineEdit>(screen, "txtSellerTaxNumber"), QStringLiteral("22/815/08154"));
    auto* country = Find<QComboBox>(screen, "cmbSellerCountry");
    country->setCurrentIndex(country->findText(QStringLiteral("DE Germany")));
    Type(Find<QLineEdit>(screen, "txtCurrencyCode"), QStringLiteral("eur"));
    Type(Find<QLineEdit>(screen, "txtIban"), iban);
    Type(Find<QLineEdit>(screen, "txtBic"), QStringLiteral("COBADEFFXXX"));
}

void ClickSave(QWidget& screen)
{
    QCoreApplication::processEvents();
    QTest::mouseClick(Find<QToolButton>(screen, "tlbtnSave"), Qt::LeftButton);
    RunOutSavingNotice();
}

QString CurrentPage(QWidget& screen)
{
    auto* pages = Find<QTabWidget>(screen, "ppnlCompanyInfo");
    return pages->tabText(pages->currentIndex());
}

} // namespace

class TestCompanyEInvoice : public QObject {
    Q_OBJECT

private slots:
    void init() { CreateTestDatabase(); }
    void cleanup() { RunOutSavingNotice(); }

    void pageStartsUntickedWithTheRegionalCurrency()
    {
        QCOMPARE(StoredSettings(), (QStringList{"0", "", "", "", "", "", ""}));
        TfrmCompanyInfo screen;
        auto* pages = Find<QTabWidget>(screen, "ppnlCompanyInfo");
        QCOMPARE(pages->tabText(pages->count() - 1), QStringLiteral("E-Invoice"));
        auto* box = Find<QCheckBox>(screen, "ckbxEInvoice");
        QCOMPARE(box->text(), QStringLiteral("Attach e-invoice data (EN 16931) to invoices and credits"));
        QVERIFY(!box->isChecked());
        QCOMPARE(Find<QLineEdit>(screen, "txtCurrencyCode")->text(), QStringLiteral("USD"));
        auto* country = Find<QComboBox>(screen, "cmbSellerCountry");
        QCOMPARE(country->currentText(), QString());
        QVERIFY(country->findText(QStringLiteral("DE Germany")) > 0);
        QVERIFY(!box->toolTip().isEmpty());
        {
            ScopedLocale german("de_DE");
            TfrmCompanyInfo germanScreen;
            QCOMPARE(Find<QLineEdit>(germanScreen, "txtCurrencyCode")->text(), QStringLiteral("EUR"));
        }
    }

    void saveWritesThePageWithEverythingElse()
    {
        {
            TfrmCompanyInfo screen;
            screen.show();
            Type(Find<QLineEdit>(screen, "txtCompName"), QStringLiteral("Glasklar"));
            FillPage(screen, QStringLiteral("DE89 3704 0044 0532 0130 00"));
            ClickSave(screen);
        }
        QCOMPARE(StoredSettings(), (QStringList{"-1", "DE123456789", "22/815/08154", "DE", "EUR",
                                                "DE89 3704 0044 0532 0130 00", "COBADEFFXXX"}));
        QCOMPARE(StoredCompanyName(), QStringLiteral("Glasklar"));
        QVERIFY(recEInvoiceSettings.blEInvoice);
        QCOMPARE(recEInvoiceSettings.strSellerCountry, QStringLiteral("DE"));

        TfrmCompanyInfo again;
        QVERIFY(Find<QCheckBox>(again, "ckbxEInvoice")->isChecked());
        QCOMPARE(Find<QComboBox>(again, "cmbSellerCountry")->currentText(), QStringLiteral("DE Germany"));
        QCOMPARE(Find<QLineEdit>(again, "txtIban")->text(), QStringLiteral("DE89 3704 0044 0532 0130 00"));
    }

    void unfitValuesAreRefusedBeforeAnythingIsWritten()
    {
        ScriptedMessages messages;
        TfrmCompanyInfo screen;
        screen.show();
        Type(Find<QLineEdit>(screen, "txtCompName"), QStringLiteral("Glasklar"));
        FillPage(screen, QStringLiteral("DE89 3704 0044 0532 0130 01"));
        auto* pages = Find<QTabWidget>(screen, "ppnlCompanyInfo");
        pages->setCurrentIndex(0);
        ClickSave(screen);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().contains("IBAN DE89 3704 0044 0532 0130 01 is not valid"),
                 qPrintable(messages.texts().first()));
        QCOMPARE(CurrentPage(screen), QStringLiteral("E-Invoice"));
        QVERIFY(Find<QLineEdit>(screen, "txtIban")->hasFocus());
        QCOMPARE(StoredSettings().first(), QStringLiteral("0"));
        QVERIFY(StoredCompanyName() != QLatin1String("Glasklar"));
    }

    void aFailedSaveWritesNothing()
    {
        {
            // The settings row has gone missing (the file was changed elsewhere).
            DbConnection db;
            db.execute(QStringLiteral("DELETE FROM tblEInvoiceSettings;"));
        }
        ScriptedMessages messages;
        TfrmCompanyInfo screen;
        screen.show();
        Type(Find<QLineEdit>(screen, "txtCompName"), QStringLiteral("Glasklar"));
        FillPage(screen, QStringLiteral("DE89 3704 0044 0532 0130 00"));
        ClickSave(screen);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().contains("e-invoice settings"), qPrintable(messages.texts().first()));
        QVERIFY(StoredCompanyName() != QLatin1String("Glasklar"));
        QVERIFY(!recEInvoiceSettings.blEInvoice);
    }
};

FENNICK_TEST_MAIN(TestCompanyEInvoice)
#include "test_companyeinvoice.moc"
