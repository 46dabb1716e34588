// The codes and identifiers of e-invoices: the country list the drop-downs
// offer, and the checks of VAT IDs, IBAN, BIC and currency codes.
#include "common/TestSupport.h"

#include "company/unitEInvoiceRules.h"
#include "company/unitEInvoiceSettings.h"

#include <QFile>
#include <QRegularExpression>

class TestEInvoiceRules : public QObject {
    Q_OBJECT

private slots:
    void countryEntries()
    {
        const QStringList entries = EInvoiceCountryEntries();
        QVERIFY(entries.contains("DE Germany"));
        QVERIFY(entries.contains("US United States"));
        QVERIFY(entries.contains("BA Bosnia and Herzegovina"));
        QStringList sorted = entries;
        sorted.sort();
        QCOMPARE(entries, sorted);
        QCOMPARE(CountryCodeOfEntry("FR France"), QStringLiteral("FR"));
        QCOMPARE(CountryEntryOfCode("AT"), QStringLiteral("AT Austria"));
        QVERIFY(CountryEntryOfCode("XK").isEmpty());   // not an ISO 3166-1 code

        // Every code offered is one the EN 16931 rules accept (their list of
        // 2006 lacks South Sudan, a later ISO code), and nearly all of them are offered.
        QFile rules(QStringLiteral(FENNICK_TEST_SOURCE_DIR "/einvoice/EN16931-CII-validation.xslt"));
        QVERIFY(rules.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(rules.readAll());
        const QRegularExpressionMatch list =
            QRegularExpression(QStringLiteral("contains\\(' (1A AD [A-Z0-9 ]+) ', concat")).match(text);
        QVERIFY(list.hasMatch());
        const QStringList accepted = list.captured(1).split(QLatin1Char(' '));
        int offered = 0;
        for (const QString& entry : entries) {
            const QString code = CountryCodeOfEntry(entry);
            QVERIFY2(accepted.contains(code) || code == QLatin1String("SS"), qPrintable(entry));
            ++offered;
        }
        QVERIFY2(offered >= accepted.size() - 4, qPrintable(QString::number(offered)));
    }

    void identifiers_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("fit");
        QTest::newRow("VAT ID") << "vat" << "DE123456789" << true;
        QTest::newRow("VAT ID with blanks") << "vat" << "de 123 456 789" << true;
        QTest::newRow("Greek VAT ID") << "vat" << "EL123456789" << true;
        QTest::newRow("VAT ID without code") << "vat" << "123456789" << false;
        QTest::newRow("VAT ID of no country") << "vat" << "QQ123456789" << false;
        QTest::newRow("no VAT ID") << "vat" << "" << true;
        QTest::newRow("IBAN") << "iban" << "DE89 3704 0044 0532 0130 00" << true;
        QTest::newRow("IBAN GB") << "iban" << "GB82WEST12345698765432" << true;
        QTest::newRow("IBAN one digit wrong") << "iban" << "DE89 3704 0044 0532 0130 01" << false;
        QTest::newRow("IBAN digits swapped") << "iban" << "DE98370400440532013000" << false;
        QTest::newRow("IBAN too short") << "iban" << "DE89" << false;
        QTest::newRow("BIC 11") << "bic" << "COBADEFFXXX" << true;
        QTest::newRow("BIC 8") << "bic" << "deutdeff" << true;
        QTest::newRow("BIC 9") << "bic" << "DEUTDEFF5" << false;
        QTest::newRow("BIC digits for country") << "bic" << "DEUT12FF" << false;
        QTest::newRow("currency") << "currency" << "eur" << true;
        QTest::newRow("currency unknown") << "currency" << "EUX" << false;
    }
    void identifiers()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(bool, fit);
        const QString problem = kind == "vat" ? VatIdProblem(value)
                                : kind == "iban" ? IbanProblem(value)
                                : kind == "bic" ? BicProblem(value)
                                                : CurrencyCodeProblem(value);
        QCOMPARE(problem.isEmpty(), fit);
        if (!fit) QVERIFY2(problem.contains(value.trimmed()), qPrintable(problem));
    }

    void currencyFollowsTheRegionalSettings()
    {
        TrecEInvoiceSettings settings;
        QCOMPARE(EInvoiceCurrencyCode(settings), QStringLiteral("USD"));
        {
            ScopedLocale german("de_DE");
            QCOMPARE(EInvoiceCurrencyCode(settings), QStringLiteral("EUR"));
        }
        settings.strCurrencyCode = QStringLiteral("CHF");
        QCOMPARE(EInvoiceCurrencyCode(settings), QStringLiteral("CHF"));
    }
};

FENNICK_TEST_MAIN(TestEInvoiceRules)
#include "test_einvoicerules.moc"
