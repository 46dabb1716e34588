// One rule for the three text searches (customers, price items, saved
// documents): the typed text is a literal prefix, matched in any letter case,
// for every letter, with "%" and "_" taken as themselves.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "maintenance/MaintenanceFixture.h"

#include "customers/unitCustomerSearch.h"
#include "db/DbConnection.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"
#include "prices/unitPriceSearch.h"

namespace {

const QStringList kNames = {QStringLiteral("Ünïcödé Roofing"), QStringLiteral("ünïcorn works"),
                            QStringLiteral("50% Off Paint"),   QStringLiteral("500 Gutters"),
                            QStringLiteral("5_0 Fences"),      QStringLiteral("Straße Bau"),
                            QStringLiteral("STRASSE Co"),      QStringLiteral("ΣΟΦΙΑ Cleaning"),
                            QStringLiteral("\U00010400\U00010401 Lawn"), QStringLiteral("\U0001F600 Smiles")};

QStringList CustomerCompanies(const QString& text)
{
    QStringList found;
    for (const TCustomerListRow& row : QueryCustomerList(cstCompanyName, text)) found << row.strCustCompany;
    return found;
}

QStringList PriceNames(const QString& text)
{
    QStringList found;
    for (const TPriceListRow& row : QueryPriceList(pstPriceItemName, text))
        if (kNames.contains(row.strPrcItemName)) found << row.strPrcItemName;
    return found;
}

QStringList DocumentCompanies(const QString& text)
{
    QStringList found;
    const TListQuery query =
        BuildInvMaintenanceQuery(TInvMaintenanceMode::ViewAll, QStringLiteral("Customer Company Name"), text);
    for (const TInvMaintenanceRow& row : QuerySavedInvoiceRows(query)) found << row.strCustCmpnyName;
    return found;
}

} // namespace

class TestSearchRule : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CreateTestDatabase();
        DbConnection connection;
        connection.execute(QStringLiteral("DELETE FROM tblCustomers;"));
        int number = 700;
        for (const QString& name : kNames) {
            connection.execute(QStringLiteral("INSERT INTO tblCustomers(strCustFirstName,strCustLastName,strCustCompany,"
                                              "strCustTaxExmpt) VALUES('A','B',?,'0');"),
                               {name});
            connection.execute(QStringLiteral("INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
                                              "VALUES(?,'0','0',1,1);"),
                               {name});
            TestDoc doc;
            doc.number = number++;
            doc.type = QStringLiteral("Invoice");
            doc.fullName = QStringLiteral("B, A");
            doc.company = name;
            InsertTestDoc(doc);
        }
    }

    void allThreeSearchesFollowOneRule_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("accented letters, any case") << "ünï" << QStringList{"Ünïcödé Roofing", "ünïcorn works"};
        QTest::newRow("upper-case accented") << "ÜNÏC" << QStringList{"Ünïcödé Roofing", "ünïcorn works"};
        QTest::newRow("percent is literal") << "50%" << QStringList{"50% Off Paint"};
        QTest::newRow("underscore is literal") << "5_" << QStringList{"5_0 Fences"};
        QTest::newRow("a prefix, not a part") << "Off" << QStringList{};
        QTest::newRow("plain letters") << "strasse" << QStringList{"STRASSE Co"};
        QTest::newRow("sharp s as itself") << "STRAß" << QStringList{"Straße Bau"};
        QTest::newRow("Greek, final sigma folds") << "ςοφ" << QStringList{"ΣΟΦΙΑ Cleaning"};
        QTest::newRow("letters beyond 16 bits") << "\U00010428\U00010429" << QStringList{"\U00010400\U00010401 Lawn"};
        QTest::newRow("emoji") << "\U0001F600" << QStringList{"\U0001F600 Smiles"};
        QTest::newRow("longer than the text") << "Straße Bau and more" << QStringList{};
    }
    void allThreeSearchesFollowOneRule()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        QCOMPARE(CustomerCompanies(typed), found);
        QCOMPARE(PriceNames(typed), found);
        QCOMPARE(DocumentCompanies(typed), found);
    }
};

FENNICK_TEST_MAIN(TestSearchRule)
#include "test_searchrule.moc"
