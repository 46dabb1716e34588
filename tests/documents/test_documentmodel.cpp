// The document model without a database: money texts, the totals with their
// order of operations, the four total boxes and the information lines.
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "company/unitCompanyData.h"
#include "documents/unitDocumentModel.h"

#include <cfenv>

namespace {

TInvLine Line(const QString& quantity, const QString& labour, const QString& material, bool labourTaxable,
              bool materialTaxable, const QString& name = QStringLiteral("Item"))
{
    return {name, quantity, labourTaxable ? QStringLiteral("-1") : QStringLiteral("0"),
            materialTaxable ? QStringLiteral("-1") : QStringLiteral("0"), labour, material};
}

const std::array<double, 3> kSampleRates = {0.0123, 0.0500, 0.0};

} // namespace

Q_DECLARE_METATYPE(TInvLine)

class TestDocumentModel : public QObject {
    Q_OBJECT

private slots:
    void formatMoney_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("grouping") << 1234.5 << "$1,234.50";
        QTest::newRow("half cent up") << 0.125 << "$0.13";
        QTest::newRow("half cent negative away from zero") << -0.125 << "-$0.13";
        QTest::newRow("below half cent") << 0.0049 << "$0.00";
        QTest::newRow("sum of three 0.004") << 0.012 << "$0.01";
        // 78.115 is stored just below the half cent (78.11499999...): the four-decimal
        // step holds it as 78.1150, which then rounds up; a plain round to cents would give 78.11.
        QTest::newRow("four decimals first") << 78.115 << "$78.12";
        QTest::newRow("four decimals first, negative") << -78.115 << "-$78.12";
        QTest::newRow("exact tie in the fourth decimal") << 0.03125 << "$0.03";
        QTest::newRow("tiny negative shows no sign") << -0.001 << "$0.00";
        QTest::newRow("zero") << 0.0 << "$0.00";
        QTest::newRow("millions") << -1234567.891 << "-$1,234,567.89";
    }
    void formatMoney()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatMoney(value), text);
        // Another rounding mode in force (set by a library, say) changes no
        // amount, and is in force again afterwards.
        const int before = std::fegetround();
        std::fesetround(FE_UPWARD);
        const QString upward = FormatMoney(value);
        const int after = std::fegetround();
        std::fesetround(before);
        QCOMPARE(upward, text);
        QCOMPARE(after, FE_UPWARD);
    }

    void formatMoneyRejectsWhatCannotBeHeld()
    {
        QVERIFY_THROWS_EXCEPTION(AppError, FormatMoney(1e300));
        QVERIFY_THROWS_EXCEPTION(AppError, FormatMoney(std::nan("")));
    }

    void sampleLineWithTwoTaxes()
    {
        const TInvTotalsResult r = ComputeInvTotals({Line("2", "100", "50", true, false)}, kSampleRates);
        QCOMPARE(r.totals.dbLbrTax1Total, 2.46);
        QCOMPARE(r.totals.dbLbrTax2Total, 10.0);
        QCOMPARE(r.totals.dbLbrTax3Total, 0.0);
        QCOMPARE(r.totals.dbMatTax1Total + r.totals.dbMatTax2Total + r.totals.dbMatTax3Total, 0.0);
        QCOMPARE(r.totals.dbTaxTotal, 12.46);
        QCOMPARE(r.totals.dbLbrTotal, 200.0);
        QCOMPARE(r.totals.dbMatTotal, 100.0);
        QCOMPARE(r.totals.dbInvTotal, 312.46);
        QCOMPARE(r.cells.size(), 1);
        QCOMPARE(r.cells[0].strPrcEach, QStringLiteral("$150.00"));
        QCOMPARE(r.cells[0].strTotal, QStringLiteral("$300.00"));

        const TInvTotalTexts texts = GetInvTotalTexts(QStringLiteral("Invoice"), r.totals, 0, 0, false);
        QCOMPARE(texts.strSubTotal, QStringLiteral("$300.00"));
        QCOMPARE(texts.strTaxTotal, QStringLiteral("$12.46"));
        QCOMPARE(texts.strTotal, QStringLiteral("$312.46"));
        QCOMPARE(texts.strTotalCaption, QStringLiteral("Invoice Total"));
    }

    void taxesApplyPerPartAndPerTickedOption()
    {
        // Material only taxable: labour taxes stay 0, material taxes follow the rates.
        const std::array<double, 3> rates = EffectiveTaxRates(false, false, true, true, {0.1, 0.05, 0.02});
        QCOMPARE(rates, (std::array<double, 3>{0, 0.05, 0.02}));
        const TInvTotals t = ComputeInvTotals({Line("1", "100", "200", false, true)}, rates).totals;
        QCOMPARE(t.dbLbrTax1Total + t.dbLbrTax2Total + t.dbLbrTax3Total, 0.0);
        QCOMPARE(t.dbMatTax1Total, 0.0);
        QCOMPARE(t.dbMatTax2Total, 10.0);
        QCOMPARE(t.dbMatTax3Total, 4.0);
        QCOMPARE(t.dbInvTotal, 314.0);
    }

    void taxExemptClearsEveryRate()
    {
        const std::array<double, 3> rates = EffectiveTaxRates(true, true, true, true, {0.1, 0.05, 0.02});
        QCOMPARE(rates, (std::array<double, 3>{0, 0, 0}));
        const TInvTotals t = ComputeInvTotals({Line("3", "10", "10", true, true)}, rates).totals;
        QCOMPARE(t.dbTaxTotal, 0.0);
        QCOMPARE(t.dbInvTotal, 60.0);
    }

    void companyRatesComeFromSettings()
    {
        recCmpnyInvData.dbTaxRate1 = 0.0123;
        recCmpnyInvData.dbTaxRate2 = 0.05;
        recCmpnyInvData.dbTaxRate3 = 0.07;
        QCOMPARE(EffectiveTaxRates(false, true, false, true), (std::array<double, 3>{0.0123, 0, 0.07}));
    }

    void sumsStayUnrounded()
    {
        // Three lines each carrying 0.004 of tax: shown as $0.01, not $0.00.
        const std::array<double, 3> rates = {0.004, 0, 0};
        const QList<TInvLine> lines(3, Line("1", "1", "0", true, false));
        const TInvTotalsResult r = ComputeInvTotals(lines, rates);
        QVERIFY(qFuzzyCompare(r.totals.dbTaxTotal, 0.012));
        QCOMPARE(GetInvTotalTexts(QStringLiteral("Invoice"), r.totals, 0, 0, false).strTaxTotal,
                 QStringLiteral("$0.01"));
        for (const TInvLineCells& cells : r.cells) QCOMPARE(cells.strPrcEach, QStringLiteral("$1.00"));
    }

    void halfQuantityUsesTheUnroundedProduct()
    {
        // 0.5 x 0.25 = 0.125 shows as $0.13; 0.5 x 0.01 = 0.005 as $0.01.
        const TInvTotalsResult r =
            ComputeInvTotals({Line("0.5", "0.25", "0", false, false), Line("0.5", "0", "0.01", false, false)},
                             kSampleRates);
        QCOMPARE(r.cells[0].strTotal, QStringLiteral("$0.13"));
        QCOMPARE(r.cells[1].strTotal, QStringLiteral("$0.01"));
        QCOMPARE(r.totals.dbLbrTotal, 0.125);
        QCOMPARE(r.totals.dbMatTotal, 0.005);
        QCOMPARE(r.totals.dbInvTotal, 0.13);
    }

    void badNumbersStopWithTheConversionError_data()
    {
        QTest::addColumn<TInvLine>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty quantity") << Line("", "1", "1", false, false)
                                        << "'' is not a valid floating point value";
        QTest::newRow("lone separator") << Line(".", "1", "1", false, false)
                                        << "'.' is not a valid floating point value";
        QTest::newRow("bad price") << Line("1", "12,50x", "1", false, false)
                                   << "'12,50x' is not a valid floating point value";
        QTest::newRow("bad flag") << TInvLine{"x", "1", "yes", "0", "1", "1"}
                                  << "'yes' is not a valid boolean value";
    }
    void badNumbersStopWithTheConversionError()
    {
        QFETCH(TInvLine, line);
        QFETCH(QString, message);
        try {
            ComputeInvTotals({Line("1", "1", "1", true, true), line}, kSampleRates);
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), message);
        }
    }

    void totalBoxes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("paid");
        QTest::addColumn<double>("deposit");
        QTest::addColumn<bool>("paidInFull");
        QTest::addColumn<QStringList>("expected"); // paid caption, paid, total caption, total
        QTest::newRow("invoice with amount paid")
            << "Invoice" << 40.0 << 0.0 << false
            << QStringList{"Amount Paid", "$40.00", "Invoice Total", "$60.00"};
        QTest::newRow("invoice paid in full")
            << "Invoice" << 40.0 << 0.0 << true
            << QStringList{"Amount Paid", "$100.00", "Paid In Full", "$100.00"};
        QTest::newRow("estimate shows its deposit, total not reduced")
            << "Estimate" << 40.0 << 25.0 << false
            << QStringList{"Deposit Required", "$25.00", "Estimate Total", "$100.00"};
        QTest::newRow("work order, any letter case")
            << "WORK ORDER" << 0.0 << 12.5 << false
            << QStringList{"Deposit Required", "$12.50", "WORK ORDER Total", "$100.00"};
        QTest::newRow("credit")
            << "Credit" << 10.0 << 0.0 << false
            << QStringList{"Amount Paid", "$10.00", "Credit Total", "$90.00"};
        QTest::newRow("overpaid shows a negative balance")
            << "Past Due" << 150.0 << 0.0 << false
            << QStringList{"Amount Paid", "$150.00", "Past Due Total", "-$50.00"};
    }
    void totalBoxes()
    {
        QFETCH(QString, type);
        QFETCH(double, paid);
        QFETCH(double, deposit);
        QFETCH(bool, paidInFull);
        QFETCH(QStringList, expected);
        const TInvTotals totals = ComputeInvTotals({Line("1", "60", "40", false, false)}, kSampleRates).totals;
        const TInvTotalTexts texts = GetInvTotalTexts(type, totals, paid, deposit, paidInFull);
        QCOMPARE((QStringList{texts.strPaidAndDepositCaption, texts.strPaidAndDeposit, texts.strTotalCaption,
                              texts.strTotal}),
                 expected);
        QCOMPARE(texts.strSubTotal, QStringLiteral("$100.00"));
    }

    void recommendedDeposit()
    {
        QCOMPARE(RecommendedDepositText(312.46, 25), QStringLiteral("$78.12")); // 78.115 held as 78.1150
        QCOMPARE(RecommendedDepositText(100, 0), QStringLiteral("$0.00"));
    }

    void informationLines_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("line");
        QTest::newRow("estimate") << "Estimate" << "" << 30 << "Estimate Valid Until 2/14/2010";
        QTest::newRow("estimate, no validity") << "Estimate" << "" << 0 << "";
        QTest::newRow("change order") << "change order" << "" << 30 << "Change Order Valid Until 2/14/2010";
        QTest::newRow("work order") << "Work Order" << "" << 30 << "";
        QTest::newRow("invoice") << "Invoice" << "Estimate 12" << 30 << "";
        QTest::newRow("credit") << "Credit" << "Invoice 1005" << 30 << "Credit for Invoice 1005";
        QTest::newRow("credit without source") << "Credit" << "" << 30 << "";
        QTest::newRow("past due") << "PAST DUE" << "Invoice 7" << 0 << "Past Due Notice for Invoice 7";
        QTest::newRow("unknown") << "Receipt" << "Invoice 7" << 30 << "";
    }
    void informationLines()
    {
        QFETCH(QString, type);
        QFETCH(QString, source);
        QFETCH(int, days);
        QFETCH(QString, line);
        recCmpnyInvData.intNumEstDays = days;
        QCOMPARE(GetInvInformationLine(type, source, QDate(2010, 1, 15)), line);
    }

    void typeTable()
    {
        QCOMPARE(QStringList(arrInvTypeNames.begin(), arrInvTypeNames.end()),
                 (QStringList{"Estimate", "Work Order", "Change Order", "Invoice", "Credit", "Past Due"}));
        QCOMPARE(InvTypeIndex(QStringLiteral("invoice")), int(itInvoice));
        QCOMPARE(InvTypeIndex(QStringLiteral("Invoices")), -1);
        QCOMPARE(InvDisplayName(QStringLiteral("Work Order"), 502), QStringLiteral("Work Order 502"));
    }
};

FENNICK_TEST_MAIN(TestDocumentModel)
#include "test_documentmodel.moc"
