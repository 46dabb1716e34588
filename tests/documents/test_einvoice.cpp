// E-invoice XML from documents, without a database or a window: every case of
// the table is validated against the CII schema and the EN 16931 rules (one
// xmllint run and one Saxon run for the whole table), and its amounts are
// compared with the printed ones. The refusals and the due dates of the terms
// are tested on their own.
#include "common/EInvoiceValidation.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "documents/unitEInvoice.h"
#include "documents/unitEInvoiceAmounts.h"

#include <QXmlStreamReader>

namespace {

TInvLine Line(const QString& name, const QString& quantity, const QString& labour, bool labourTaxable,
              const QString& material, bool materialTaxable)
{
    return {name, quantity, labourTaxable ? QStringLiteral("-1") : QStringLiteral("0"),
            materialTaxable ? QStringLiteral("-1") : QStringLiteral("0"), labour, material};
}

// An invoice of a German window cleaner with tax option 1 (19 %) ticked.
TEInvoiceSource Invoice(const QList<TInvLine>& lines)
{
    TEInvoiceSource s;
    s.companyRates = {0.19, 0.07, 0.0123};
    s.company.strCompName = QStringLiteral("Glasklar Fensterreinigung");
    s.company.strCompAddress = QStringLiteral("Hauptstr. 5");
    s.company.strCompCity = QStringLiteral("Hamburg");
    s.company.strCompZip = QStringLiteral("20095");
    s.company.strCompPhone = QStringLiteral("040 123456");
    s.company.strCompEmail = QStringLiteral("info@glasklar.example");
    s.settings.blEInvoice = true;
    s.settings.strSellerVatId = QStringLiteral("DE 123 456 789");
    s.settings.strSellerCountry = QStringLiteral("DE");
    s.settings.strCurrencyCode = QStringLiteral("EUR");
    s.settings.strIban = QStringLiteral("DE89 3704 0044 0532 0130 00");
    s.settings.strBic = QStringLiteral("COBADEFFXXX");
    TInvHeader& h = s.document.header;
    h.strInvName = QStringLiteral("Invoice");
    h.intInvNumber = 1001;
    h.strInvDate = QStringLiteral("3/15/2024");
    h.strCustCmpnyName = QStringLiteral("Acme GmbH");
    h.strCustFullName = QStringLiteral("Doe, Jane");
    h.strCustAddress = QStringLiteral("Ring 1");
    h.strCustCtyStZp = QStringLiteral("Berlin  10115");
    h.strCustEmail = QStringLiteral("jane@acme.example");
    h.strInvTerms = QStringLiteral("Net 30");
    h.strUseTax1 = true;
    s.document.buyer = {QStringLiteral("DE"), QStringLiteral("DE987654321")};
    s.document.lines = lines;
    return s;
}

// Every text of the elements with this local name, in document order.
QStringList Values(const QByteArray& xml, const QString& name)
{
    QStringList values;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == name) values << reader.readElementText();
    }
    return values;
}

// The printed amounts of a source, in cents: sub total, tax, paid box, total box.
struct Printed {
    qint64 subTotal, tax, paid, total;
};
Printed PrintedAmounts(const TEInvoiceSource& s)
{
    const TInvHeader& h = s.document.header;
    const auto rates = EffectiveTaxRates(h.strCustTaxExempt, h.strUseTax1, h.strUseTax2, h.strUseTax3, s.companyRates);
    const TInvTotals totals = ComputeInvTotals(s.document.lines, rates).totals;
    const TInvTotalAmounts a = GetInvTotalAmounts(h.strInvName, totals, h.dbAmountPaid, h.dbDepAmount, h.strPaidInFull);
    return {RequireMoneyCents(a.dbSubTotal), RequireMoneyCents(a.dbTaxTotal), RequireMoneyCents(a.dbPaidAndDeposit), RequireMoneyCents(a.dbTotal)};
}

// The table of documents that must make valid e-invoices.
QMap<QString, TEInvoiceSource> ValidCases()
{
    QMap<QString, TEInvoiceSource> cases;
    cases["labourTaxed"] = Invoice({Line("Window cleaning", "2", "100", true, "0", false)});
    cases["materialTaxed"] = Invoice({Line("Gutter guard", "3", "0", false, "49.99", true)});
    cases["bothTaxed"] = Invoice({Line("Fence repair", "1.5", "80", true, "45.5", true),
                                  Line("Lawn mowing", "4", "25", true, "0", false)});
    // Labour untaxed, material taxed on one line: two invoice lines, "S" and "Z".
    cases["untaxedLabourTaxedMaterial"] = Invoice({Line("Roof patch", "1", "300", false, "120", true)});
    TEInvoiceSource exempt = Invoice({Line("Office cleaning", "10", "35", true, "2.5", true)});
    exempt.document.header.strCustTaxExempt = true;
    exempt.document.header.strUseTax1 = false;
    exempt.document.header.strCustTaxExemptNum = QStringLiteral("EX-77");
    cases["taxExempt"] = exempt;
    TEInvoiceSource deposit = Invoice({Line("Child care, week", "1", "250", true, "0", false)});
    deposit.document.header.dbAmountPaid = 40;
    cases["amountPaid"] = deposit;
    TEInvoiceSource paid = Invoice({Line("Window cleaning", "1", "99.99", true, "0", false)});
    paid.document.header.strPaidInFull = true;
    cases["paidInFull"] = paid;
    TEInvoiceSource credit = Invoice({Line("Returned gutter guard", "1", "0", false, "49.99", true)});
    credit.document.header.strInvName = QStringLiteral("Credit");
    credit.document.header.strFromInvNameNumber = QStringLiteral("Invoice 1005");
    cases["credit"] = credit;
    TEInvoiceSource foreign = Invoice({Line(QString::fromUtf8("Fenster putzen \u2013 Gr\u00f6\u00dfe XL <&>"), "1", "60", true, "0", false)});
    foreign.company.strCompName = QString::fromUtf8("M\u00fcller & S\u00f6hne GmbH");
    foreign.document.header.strCustCmpnyName = QString::fromUtf8("\u00c6r\u00f8 Caf\u00e9 \u00abStra\u00dfe\u00bb");
    foreign.document.strInvNotes = QStringLiteral("Gate code 1234 \"rear\"\r\nThanks & bye <3");
    cases["nonAscii"] = foreign;
    // Three lines of 0.005 print 0.01 each, but a sub total of 0.02: one line gives a cent back.
    cases["roundingLines"] = Invoice({Line("Screw", "1", "0", false, "0.005", true), Line("Screw", "1", "0", false, "0.005", true),
                                      Line("Screw", "1", "0", false, "0.005", true)});
    // Sub total 1.00 and tax 0.00 print beside a total of 1.01: the rounding amount holds the cent.
    TEInvoiceSource roundingTotal = Invoice({Line("Nail", "1", "1.004", true, "0", false)});
    roundingTotal.companyRates = {0.004, 0, 0};
    cases["roundingTotal"] = roundingTotal;
    TEInvoiceSource discount = Invoice({Line("Window cleaning", "4", "25", true, "0", false),
                                        Line("Loyalty discount", "1", "-10", true, "0", false)});
    cases["negativePrice"] = discount;
    TEInvoiceSource taxNumberOnly = Invoice({Line("Window cleaning", "1", "50", true, "0", false)});
    taxNumberOnly.settings.strSellerVatId.clear();
    taxNumberOnly.settings.strSellerTaxNumber = QStringLiteral("22/815/08154");
    taxNumberOnly.settings.strIban.clear();
    taxNumberOnly.document.buyer.strBuyerVatId.clear();
    taxNumberOnly.document.header.strInvTerms.clear();
    cases["taxNumberOnlyNoBank"] = taxNumberOnly;
    TEInvoiceSource noTax = Invoice({Line("Consulting", "2", "75", true, "10", true)});
    noTax.document.header.strUseTax1 = false;
    cases["noTaxTicked"] = noTax;
    return cases;
}

} // namespace

class TestEInvoice : public QObject {
    Q_OBJECT

private slots:
    void everyCaseIsValidAndCarriesThePrintedAmounts()
    {
        const QMap<QString, TEInvoiceSource> cases = ValidCases();
        QMap<QString, QByteArray> files;
        for (auto it = cases.cbegin(); it != cases.cend(); ++it) {
            QVERIFY2(EInvoiceMissing(*it).isEmpty(), qPrintable(it.key()));
            files[it.key()] = BuildEInvoiceXml(*it);
        }
        {
            // Figures in files come from the numbers, never from display text.
            ScopedLocale german("de_DE");
            files["commaLocale"] = BuildEInvoiceXml(cases["amountPaid"]);
            QCOMPARE(files["commaLocale"], files["amountPaid"]);
        }

        const QMap<QString, QStringList> problems = ValidateEInvoices(files);
        for (auto it = problems.cbegin(); it != problems.cend(); ++it)
            QVERIFY2(it->isEmpty(), qPrintable(it.key() + QStringLiteral(":\n") + it->join(QLatin1Char('\n'))));

        for (auto it = cases.cbegin(); it != cases.cend(); ++it) {
            const QByteArray& xml = files[it.key()];
            const Printed printed = PrintedAmounts(*it);
            const QString context = it.key();
            QCOMPARE(Values(xml, "TaxBasisTotalAmount"), QStringList{CentsText(printed.subTotal)});
            QCOMPARE(Values(xml, "TaxTotalAmount"), QStringList{CentsText(printed.tax)});
            const bool paidInFull = it->document.header.strPaidInFull;
            QVERIFY2(Values(xml, "DuePayableAmount") == QStringList{CentsText(paidInFull ? 0 : printed.total)},
                     qPrintable(context));
            if (printed.paid != 0) QCOMPARE(Values(xml, "TotalPrepaidAmount"), QStringList{CentsText(printed.paid)});
        }
    }

    void linesAndCategories()
    {
        const QMap<QString, TEInvoiceSource> cases = ValidCases();
        const QByteArray split = BuildEInvoiceXml(cases["untaxedLabourTaxedMaterial"]);
        QCOMPARE(Values(split, "Name").mid(0, 2),
                 (QStringList{"Roof patch (labour)", "Roof patch (material)"}));
        QCOMPARE(Values(split, "LineTotalAmount"), (QStringList{"300.00", "120.00", "420.00"}));
        // Line categories, then the breakdown: "S" at 19 % on 120.00 (22.80), "Z" on 300.00.
        QCOMPARE(Values(split, "CategoryCode"), (QStringList{"Z", "S", "S", "Z"}));
        QCOMPARE(Values(split, "BasisAmount"), (QStringList{"120.00", "300.00"}));
        QCOMPARE(Values(split, "CalculatedAmount"), (QStringList{"22.80", "0.00"}));

        const QByteArray exempt = BuildEInvoiceXml(cases["taxExempt"]);
        QCOMPARE(Values(exempt, "ExemptionReason"), QStringList{"Tax exempt, exemption number EX-77"});
        QVERIFY(!Values(exempt, "CategoryCode").contains("S"));

        // One of the three lines of 0.005 gives its cent back, so they add up to the printed 0.02.
        QStringList lineAmounts = Values(BuildEInvoiceXml(cases["roundingLines"]), "LineTotalAmount");
        QCOMPARE(lineAmounts.takeLast(), QStringLiteral("0.02"));
        lineAmounts.sort();
        QCOMPARE(lineAmounts, (QStringList{"0.00", "0.01", "0.01"}));
        const QByteArray total = BuildEInvoiceXml(cases["roundingTotal"]);
        QCOMPARE(Values(total, "RoundingAmount"), QStringList{"0.01"});
        QCOMPARE(Values(total, "DuePayableAmount"), QStringList{"1.01"});

        const QByteArray discount = BuildEInvoiceXml(cases["negativePrice"]);
        QCOMPARE(Values(discount, "BilledQuantity"), (QStringList{"4", "-1"}));
        QCOMPARE(Values(discount, "ChargeAmount"), (QStringList{"25", "10"}));

        const QByteArray credit = BuildEInvoiceXml(cases["credit"]);
        QCOMPARE(Values(credit, "TypeCode").first(), QStringLiteral("381"));
        QCOMPARE(Values(credit, "IssuerAssignedID"), QStringList{"1005"});
        const QByteArray invoice = BuildEInvoiceXml(cases["labourTaxed"]);
        QCOMPARE(Values(invoice, "TypeCode").first(), QStringLiteral("380"));
        QCOMPARE(Values(invoice, "DateTimeString"), (QStringList{"20240315", "20240414"}));
        QCOMPARE(Values(invoice, "IBANID"), QStringList{"DE89370400440532013000"});
        QVERIFY(Values(invoice, "ID").contains("DE123456789"));
    }

    void refusals_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("two taxes") << 0 << "Two taxes are ticked";
        QTest::newRow("three taxes") << 1 << "Three taxes are ticked";
        QTest::newRow("no VAT ID or tax number") << 2 << "VAT ID or tax number is missing";
        QTest::newRow("no seller country") << 3 << "company's country is missing";
        QTest::newRow("no buyer country") << 4 << "customer's country is missing";
        QTest::newRow("VAT ID without country code") << 5 << "must begin with the two-letter code";
    }
    void refusals()
    {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        TEInvoiceSource s = Invoice({Line("Window cleaning", "1", "50", true, "0", false)});
        TInvHeader& h = s.document.header;
        switch (kind) {
        case 0: h.strUseTax2 = true; break;
        case 1: h.strUseTax2 = h.strUseTax3 = true; break;
        case 2: s.settings.strSellerVatId.clear(); break;
        case 3: s.settings.strSellerCountry.clear(); break;
        case 4: s.document.buyer.strBuyerCountry.clear(); break;
        case 5: s.document.buyer.strBuyerVatId = QStringLiteral("987654321"); break;
        }
        const QStringList missing = EInvoiceMissing(s);
        QCOMPARE(missing.size(), 1);
        QVERIFY2(missing.first().contains(reason), qPrintable(missing.first()));
        QVERIFY_THROWS_EXCEPTION(AppError, BuildEInvoiceXml(s));

        // For a PDF: no XML, and one message that names what is missing.
        const TEInvoiceForPdf pdf = EInvoiceForPdf(s);
        QVERIFY(pdf.xml.isEmpty());
        QVERIFY(pdf.strRefusal.startsWith("Invoice 1001 is written as a plain PDF"));
        QVERIFY(pdf.strRefusal.contains(reason));
    }

    void onlyInvoicesAndCreditsAndOnlyWhenAsked()
    {
        TEInvoiceSource s = Invoice({Line("Window cleaning", "1", "50", true, "0", false)});
        for (const QString& type : {"Estimate", "Work Order", "Change Order", "Past Due"}) {
            s.document.header.strInvName = type;
            const TEInvoiceForPdf pdf = EInvoiceForPdf(s);
            QVERIFY2(pdf.xml.isEmpty() && pdf.strRefusal.isEmpty(), qPrintable(type));
        }
        s.document.header.strInvName = QStringLiteral("INVOICE");
        QVERIFY(!EInvoiceForPdf(s).xml.isEmpty());
        s.settings.blEInvoice = false;
        s.document.header.strUseTax2 = true;   // would be refused, but nothing was asked for
        const TEInvoiceForPdf off = EInvoiceForPdf(s);
        QVERIFY(off.xml.isEmpty() && off.strRefusal.isEmpty());
    }

    void dueDates_data()
    {
        QTest::addColumn<QString>("terms");
        QTest::addColumn<QDate>("due");
        const QDate date(2024, 3, 15);
        QTest::newRow("net 30") << "Net 30" << date.addDays(30);
        QTest::newRow("days") << "Due in 14 days" << date.addDays(14);
        QTest::newRow("receipt") << "Due upon receipt" << date;
        QTest::newRow("completion") << "Due on day of completion" << date;
        QTest::newRow("this month") << "Net Due on the 20th" << QDate(2024, 3, 20);
        QTest::newRow("next month") << "Due on the 10th" << QDate(2024, 4, 10);
        QTest::newRow("short month") << "Due by the 31st" << QDate(2024, 3, 31);
        QTest::newRow("none") << "Cash only" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void dueDates()
    {
        QFETCH(QString, terms);
        QFETCH(QDate, due);
        const std::optional<QDate> found = DueDateFromTerms(terms, QDate(2024, 3, 15));
        QCOMPARE(found.value_or(QDate()), due);
    }
};

FENNICK_TEST_MAIN(TestEInvoice)
#include "test_einvoice.moc"
