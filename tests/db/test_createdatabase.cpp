// First-run creation against real database files: the schema texts as stored
// by the engine, the default rows, the sample planner rows around a given day,
// the settings read back into memory, and a failed build leaving no file behind.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitEInvoiceTables.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

// The engine keeps each CREATE TABLE text as written, without the closing ";".
const QStringList kExpectedSchema{
        QStringLiteral(R"sql(CREATE TABLE tblAppPreferences (intAppPreferencesIdNumber INTEGER, strFrmMainMaximized TEXT, strFrmInvoiceMaximized TEXT, strFrmPlannerMaximized TEXT, strFrmPrintPreviewMaximized TEXT))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblCustomers(intCustomerID INTEGER PRIMARY KEY,strCustFirstName TEXT,strCustLastName TEXT,strCustCompany TEXT,strCustAddress TEXT,strCustCity TEXT,strCustState TEXT,strCustZipCode TEXT,strCustEmail TEXT,strCustPhone TEXT,strCustFax TEXT,strCustPhoneAreaCode TEXT,strCustFaxAreaCode TEXT,strCustPhoneExt TEXT,strCustTaxExmpt TEXT,strCustTaxExmpNmbr TEXT,strCustPmtTerms TEXT,strCustNotes TEXT))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblCompanyInfo(intCompInfoID INTEGER,strCompName TEXT,strCompAddress TEXT,strCompCity TEXT,strCompState TEXT,strCompZip TEXT,strCompPhone TEXT,strCompFax TEXT,strCompEmail TEXT,strCompEmailHost TEXT,strCompEmailPort TEXT,strCompEmailLogin TEXT,strCompEmailPassword TEXT,blCompEmailSubjectInvNameNum TEXT,strCompEmailSubject TEXT,strCompEmailBody TEXT,strCompWebSite TEXT,strCompLicNum1 TEXT,strCompLicName1 TEXT,strCompLicNum2 TEXT,strCompLicName2 TEXT,strCompLicNum3 TEXT,strCompLicName3 TEXT))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblCompanyInvData(intCompInvDataID INTEGER,dbTaxRate1 REAL,dbTaxRate2 REAL,dbTaxRate3 REAL,strTaxName1 TEXT,strTaxName2 TEXT,strTaxName3 TEXT,intInvNumber INTEGER,strInvTerms1 TEXT,strInvTerms2 TEXT,strInvTerms3 TEXT,strInvTerms4 TEXT,strInvTerms5 TEXT,strInvTerms6 TEXT,strInvTerms7 TEXT,strInvTerms8 TEXT,strInvTerms9 TEXT,strInvTerms10 TEXT,intNumEstDays INTEGER,strInvFootNote1 TEXT,strInvFootNote2 TEXT,strInvFootNote3 TEXT,strAcceptanceInfo TEXT,intAccptColorRed INTEGER,intAccptColorGreen INTEGER,intAccptColorBlue INTEGER,intDepPercent INTEGER,strLargeLogo TEXT,strShowQuantity TEXT,strShowPrcEach TEXT,strShowTotal TEXT,strShowTotalonWO TEXT))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblContractWarranty(intContractWarrantyID INTEGER,strContractName TEXT,strWarrantyName TEXT,strContract BLOB,strWarranty BLOB))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblCompColorData(intColorID INTEGER,intEstColorRed INTEGER,intEstColorGreen INTEGER,intEstColorBlue INTEGER,intWrkOrderColorRed INTEGER,intWrkOrderColorGreen INTEGER,intWrkOrderColorBlue INTEGER,intChngOrderColorRed INTEGER,intChngOrderColorGreen INTEGER,intChngOrderColorBlue INTEGER,intInvColorRed INTEGER,intInvColorGreen INTEGER,intInvColorBlue INTEGER,intCrdtColorRed INTEGER,intCrdtColorGreen INTEGER,intCrdtColorBlue INTEGER,intPstDueColorRed INTEGER,intPstDueColorGreen INTEGER,intPstDueColorBlue INTEGER))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblInvDataHeader(intInvDataHeaderID INTEGER PRIMARY KEY,intInvNumber INTEGER,strInvName TEXT,strCustCmpnyName TEXT,strCustFullName TEXT,strCustAddress TEXT,strCustCtyStZp TEXT,strCustPhnFax TEXT,strInvTerms TEXT,intInvFootNotes INTEGER,strUseTax1 TEXT,strUseTax2 TEXT,strUseTax3 TEXT,strCustEmail TEXT,strInvNotes BLOB,strCustTaxExempt TEXT,strCustTaxExemptNum TEXT,strCustPONumber TEXT,strFromInvNameNumber TEXT,strFutureInfo TEXT,strPaidInFull TEXT,strRecurring TEXT,strSavedToReport TEXT,dbLbrTax1Total REAL,dbLbrTax2Total REAL,dbLbrTax3Total REAL,dbMatTax1Total REAL,dbMatTax2Total REAL,dbMatTax3Total REAL,dbLbrTotal REAL,dbMatTotal REAL,dbAmountPaid REAL,dbDepAmount REAL,dbInvTotal REAL,strInvDate TEXT))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblInvData(intInvDataID INTEGER PRIMARY KEY,strPrcItemName TEXT,intInvNumber INTEGER,strPrcItmQuantity TEXT,strLabTax TEXT,strMatTax TEXT,dbLbrPrc REAL,dbMatPrc REAL))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblReport(intReportID INTEGER PRIMARY KEY,intReportYear INTEGER,intReportMonth INTEGER,dbLbrTax1Total REAL,dbLbrTax2Total REAL,dbLbrTax3Total REAL,dbMatTax1Total REAL,dbMatTax2Total REAL,dbMatTax3Total REAL,dbLbrTotal REAL,dbMatTotal REAL))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblRecurring(intRecurringID INTEGER,strLastPrintedDate TEXT))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblPrices(intPrcItemNumID INTEGER PRIMARY KEY,strPrcItemName TEXT,strLabTax TEXT,strMatTax TEXT,dbLbrPrc REAL,dbMatPrc REAL))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblPlannerSettings(intPlannerSettingsID INTEGER PRIMARY KEY,intActColorRed INTEGER,intActColorGreen INTEGER,intActColorBlue INTEGER,intWkndColorRed INTEGER,intWkndColorGreen INTEGER,intWkndColorBlue INTEGER,intPriorityColorRed INTEGER,intPriorityColorGreen INTEGER,intPriorityColorBlue INTEGER,intRemoveActivity INTEGER,intDefaultPlanner INTEGER))sql"),
        QStringLiteral(R"sql(CREATE TABLE tblPlanner(intActID INTEGER PRIMARY KEY,intActMasterID INTEGER,intActYear INTEGER,intActDayOfYear INTEGER,strActStartDateTime TEXT,strActEndDateTime TEXT,strActivity TEXT,strActPriority TEXT,strActNote TEXT))sql")
};

QStringList rowTexts(const QString& sql)
{
    DbConnection db;
    DbStatement st = db.prepare(sql);
    QStringList row;
    if (!st.step()) return row;
    for (int i = 0; i < st.columnCount(); ++i) row << (st.columnIsNull(i) ? QStringLiteral("<NULL>") : st.columnText(i));
    return row;
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestCreateDatabase : public QObject {
    Q_OBJECT

private slots:
    void init() { CreateTestDatabase(QDate(2026, 3, 29)); }

    void schemaTextsAreExact()
    {
        DbConnection db;
        DbStatement st = db.prepare(QStringLiteral("SELECT type, sql FROM sqlite_master ORDER BY rowid;"));
        QStringList types, texts;
        while (st.step()) {
            types << st.columnText(0);
            texts << st.columnText(1);
        }
        // The thirteen described tables, then the e-invoice tables that start-up adds.
        const int added = int(EInvoiceTableStatements().size());
        QCOMPARE(texts.mid(0, texts.size() - added), kExpectedSchema);
        for (int i = 0; i < added; ++i)
            QCOMPARE(texts[texts.size() - added + i] + QLatin1Char(';'),
                     QString(EInvoiceTableStatements()[i]).replace(QStringLiteral(" IF NOT EXISTS"), QString()));
        QCOMPARE(types, QStringList(13 + added, QStringLiteral("table"))); // no indexes, no triggers
    }

    void rowCounts_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("rows");
        const std::pair<const char*, int> counts[] = {
            {"tblAppPreferences", 1}, {"tblCustomers", 3}, {"tblCompanyInfo", 1}, {"tblCompanyInvData", 1},
            {"tblContractWarranty", 1}, {"tblCompColorData", 1}, {"tblInvDataHeader", 0}, {"tblInvData", 0},
            {"tblReport", 0}, {"tblRecurring", 1}, {"tblPrices", 12}, {"tblPlannerSettings", 1}, {"tblPlanner", 5}};
        for (const auto& [table, rows] : counts) QTest::newRow(table) << QString::fromUtf8(table) << rows;
    }
    void rowCounts()
    {
        QFETCH(QString, table);
        QFETCH(int, rows);
        DbConnection db;
        QCOMPARE(db.countRows(QStringLiteral("SELECT * FROM ") + table), rows);
    }

    void settingsRows_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("preferences") << "SELECT * FROM tblAppPreferences"
                                     << QStringList{"1", "-1", "-1", "-1", "-1"};
        QTest::newRow("recurring") << "SELECT * FROM tblRecurring" << QStringList{"1", ""};
        QTest::newRow("colours") << "SELECT * FROM tblCompColorData"
                                 << QStringList{"1", "0", "115", "225", "0", "115", "225", "0", "115", "225",
                                                "0", "115", "225", "0", "115", "225", "0", "115", "225"};
        QTest::newRow("planner settings") << "SELECT * FROM tblPlannerSettings"
                                          << QStringList{"1", "255", "255", "0", "215", "228", "242", "255", "98",
                                                         "98", "2", "0"};
        QTest::newRow("customer 1") << "SELECT * FROM tblCustomers WHERE intCustomerID = 1"
                                    << QStringList{"1", "Joe", "Blow", "Joes Bar and Grill", "123 Joes Street",
                                                   "Joe City", "Joe State", "12345", "joe@example.com", "1234567",
                                                   "1234568", "225", "225", "12345", "0", "", "Due upon receipt",
                                                   "Customer notes for office use only. These notes do not show "
                                                   "or print anywhere else."};
        QTest::newRow("customer 2") << "SELECT * FROM tblCustomers WHERE intCustomerID = 2"
                                    << QStringList{"2", "John", "Doe", "", "234 2nd Street", "John City",
                                                   "John State", "88888", "", "3337758", "3337759", "221", "221",
                                                   "", "0", "", "", ""};
        QTest::newRow("customer 3") << "SELECT * FROM tblCustomers WHERE intCustomerID = 3"
                                    << QStringList{"3", "Jane", "Doe", "Janes Place", "55555 Street Place",
                                                   "Jane City", "Jane State", "88888", "jane@example.com",
                                                   "4449874", "4449875", "220", "220", "12", "-1", "1414141",
                                                   "Due by the 15th", "Fast Pay"};
        QTest::newRow("company") << "SELECT * FROM tblCompanyInfo"
                                 << QStringList{"1", "My Company Name", "123 My Street Address", "My City",
                                                "My State", "Zip 123456", "222-123-4567", "222-123-4568",
                                                "office@example.com", "mail.example.com", "", "", "", "-1", "",
                                                "Thank You\r\nFrom My Company Name", "www.example.com",
                                                "123 My State License", "My State License Name",
                                                "456 My City License", "My City License Name", "", ""};
        QTest::newRow("document settings")
            << "SELECT intCompInvDataID,strTaxName1,strTaxName2,strTaxName3,intInvNumber,strInvTerms1,"
               "strInvTerms2,strInvTerms3,strInvTerms4,strInvTerms5,strInvTerms10,intNumEstDays,strInvFootNote2,"
               "strInvFootNote3,intAccptColorRed,intAccptColorGreen,intAccptColorBlue,intDepPercent,strLargeLogo,"
               "strShowQuantity,strShowPrcEach,strShowTotal,strShowTotalonWO FROM tblCompanyInvData"
            << QStringList{"1", "Local Tax", "State Tax", "", "500", "Due on day of completion", "Due on the 10th",
                           "Due on the 20th", "Net Due on the 20th", "", "", "30",
                           QString::fromUtf8("Thank you for your interest in our Estimate. If you have any "
                                             "questions please don\u2019t hesitate to contact us!"),
                           "Foot Note 3 Here!!", "236", "255", "236", "25", "-1", "-1", "-1", "-1", "0"};
        QTest::newRow("price 5") << "SELECT * FROM tblPrices WHERE intPrcItemNumID = 5"
                                 << QStringList{"5", "Install Wood fence -  per running foot", "0", "-1", "9.25",
                                                "7.75"};
        QTest::newRow("price 12") << "SELECT * FROM tblPrices WHERE intPrcItemNumID = 12"
                                  << QStringList{"12", "Child care - age 3 to 6, per day", "0", "0", "18.45", "3.15"};
    }
    void settingsRows()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, expected);
        QCOMPARE(rowTexts(sql), expected);
    }

    void storedTypes()
    {
        // Amounts are REAL, counters INTEGER and empty texts are texts, not NULL.
        const QStringList types = rowTexts(QStringLiteral(
            "SELECT typeof(dbTaxRate1), typeof(dbTaxRate3), typeof(intInvNumber), typeof(strInvTerms5),"
            " (SELECT typeof(dbMatPrc) FROM tblPrices WHERE intPrcItemNumID = 7),"
            " (SELECT typeof(strLastPrintedDate) FROM tblRecurring) FROM tblCompanyInvData"));
        QCOMPARE(types, (QStringList{"real", "real", "integer", "text", "real", "text"}));
        DbConnection db;
        DbStatement st = db.prepare(QStringLiteral("SELECT dbTaxRate1, dbTaxRate2, dbTaxRate3 FROM tblCompanyInvData"));
        QVERIFY(st.step());
        QCOMPARE(st.columnDouble(0), 0.0123);
        QCOMPARE(st.columnDouble(1), 0.05);
        QCOMPARE(st.columnDouble(2), 0.0);
    }

    void contractAndWarrantyTexts()
    {
        const QStringList row = rowTexts(QStringLiteral("SELECT * FROM tblContractWarranty"));
        QCOMPARE(row.mid(0, 3), (QStringList{"1", "SAMPLE CONTRACT", "SAMPLE WARRANTY"}));

        const QString contract = row.at(3);
        QVERIFY(!contract.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));  // lines end in CR LF
        const QStringList lines = contract.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.at(0), QString::fromUtf8("SAMPLE CONTRACT ONLY \u2013 Replace with your CONTRACT!"));
        QCOMPARE(lines.at(1), QString());
        QCOMPARE(lines.last(), QStringLiteral("Thank You!"));
        QVERIFY(lines.at(lines.size() - 2).contains(QStringLiteral("License")));
        // Headings in order, each on a line of its own, except FOUNDATIONS that
        // runs on into its paragraph.
        const QStringList headings{"ADDITIONAL WORK OR CHARGES", "CANCELLATION", "TREES AND SHRUBS", "FOUNDATIONS",
                                   "CUSTOMER SUPPLIED MATERIALS", "WEATHER", "WARRANTY", "ELECTRICAL FIXTURES", "MOLD",
                                   "GUTTERS AND DOWNSPOUTS", "FURNISHINGS", "UNUSED PAINT", "TRASH",
                                   "COMPANY PAYMENT ARRANGEMENTS", "WALLPAPER REMOVAL ", "CONTRACT AGREEMENT"};
        int at = 2;
        for (const QString& heading : headings) {
            while (at < lines.size() && !lines.at(at).startsWith(heading)) ++at;
            QVERIFY2(at < lines.size(), qPrintable(heading));
            if (heading == QStringLiteral("FOUNDATIONS"))
                QVERIFY(lines.at(at).size() > heading.size());
            else
                QCOMPARE(lines.at(at), heading);
            QVERIFY(!lines.value(at + 1).isEmpty() || heading == QStringLiteral("FOUNDATIONS"));
            ++at;
        }

        const QStringList warranty = row.at(4).split(QStringLiteral("\r\n"));
        QCOMPARE(warranty.at(0), QString::fromUtf8("SAMPLE WARRANTY ONLY \u2013 Replace with your WARRANTY!"));
        QCOMPARE(warranty.at(1), QString());
        QVERIFY(warranty.last().startsWith(QStringLiteral("THIS WARRANTY IS VOID")));
        QVERIFY(warranty.at(2).startsWith(QStringLiteral("  ")));
        QVERIFY(warranty.at(3).isEmpty());
    }

    void plannerRowsAroundToday_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QStringList>("rows");  // master|year|day of year|start|end per row
        QTest::newRow("spring") << QDate(2026, 3, 29)
            << QStringList{"1|2026|88|3/29/2026 8:00:00 AM|3/29/2026 8:30:00 AM",
                           "2|2026|93|4/3/2026 8:00:00 AM|4/3/2026 8:00:00 AM",
                           "3|2026|78|3/19/2026|3/21/2026", "3|2026|79|3/19/2026|3/21/2026",
                           "3|2026|80|3/19/2026|3/21/2026"};
        // Activity 3 falls into the previous year, on its last days.
        QTest::newRow("January 3") << QDate(2027, 1, 3)
            << QStringList{"1|2027|3|1/3/2027 8:00:00 AM|1/3/2027 8:30:00 AM",
                           "2|2027|8|1/8/2027 8:00:00 AM|1/8/2027 8:00:00 AM",
                           "3|2026|358|12/24/2026|12/26/2026", "3|2026|359|12/24/2026|12/26/2026",
                           "3|2026|360|12/24/2026|12/26/2026"};
        // Activity 2 falls into the next year; 2024 is a leap year.
        QTest::newRow("December 29") << QDate(2024, 12, 29)
            << QStringList{"1|2024|364|12/29/2024 8:00:00 AM|12/29/2024 8:30:00 AM",
                           "2|2025|3|1/3/2025 8:00:00 AM|1/3/2025 8:00:00 AM",
                           "3|2024|354|12/19/2024|12/21/2024", "3|2024|355|12/19/2024|12/21/2024",
                           "3|2024|356|12/19/2024|12/21/2024"};
    }
    void plannerRowsAroundToday()
    {
        QFETCH(QDate, today);
        QFETCH(QStringList, rows);
        CreateTestDatabase(today);
        DbConnection db;
        DbStatement st = db.prepare(QStringLiteral(
            "SELECT intActID,intActMasterID,intActYear,intActDayOfYear,strActStartDateTime,strActEndDateTime,"
            "strActivity,strActPriority,strActNote FROM tblPlanner ORDER BY intActID"));
        QStringList actual, titles;
        int id = 0;
        while (st.step()) {
            QCOMPARE(st.columnInt(0), ++id);
            actual << QStringList{st.columnText(1), st.columnText(2), st.columnText(3), st.columnText(4),
                                  st.columnText(5)}.join('|');
            titles << st.columnText(6) + '|' + st.columnText(7) + '|' + st.columnText(8);
        }
        QCOMPARE(actual, rows);
        QCOMPARE(titles, (QStringList{"Estimate for the jones|-1|Activity Notes Here! SAMPLE ",
                                      "Start job at 123 Alley Street|-1|SAMPLE",
                                      "Work for John Jones|0|Job must be done in 3 Days!!! SAMPLE",
                                      "Work for John Jones|0|Job must be done in 3 Days!!! SAMPLE ",
                                      "Work for John Jones|0|Job must be done in 3 Days!!! SAMPLE "}));
    }

    void defaultsInMemory()
    {
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("My Company Name"));
        QCOMPARE(recCompanyData.strCompEmailBody, QStringLiteral("Thank You\r\nFrom My Company Name"));
        QVERIFY(recCompanyData.blCompEmailSubjectInvNameNum);
        QCOMPARE(recCmpnyInvData.dbTaxRate1, 0.0123);
        QCOMPARE(recCmpnyInvData.strInvTerms[4], QStringLiteral("Net Due on the 20th"));
        QCOMPARE(recCmpnyInvData.strInvTerms[5], QString());
        QCOMPARE(recCmpnyInvData.intAccptColor, std::uint32_t(0x00ECFFEC));
        QCOMPARE(recCmpnyInvData.intNumEstDays, 30);
        QCOMPARE(recCmpnyInvData.intDepPercent, 25);
        QVERIFY(recCmpnyInvData.blShowTotal && !recCmpnyInvData.blShowTotalonWO);
        for (int type = 1; type <= 6; ++type) QCOMPARE(arrInvTypeColor[type], std::uint32_t(0x00E17300));

        // Only the low 8 bits of a colour column count: 300 reads as 44.
        DbConnection db;
        db.execute(QStringLiteral("UPDATE tblCompColorData SET intInvColorRed = 300 WHERE intColorID = 1"));
        db.close();
        LoadCompanyData();
        QCOMPARE(arrInvTypeColor[4], std::uint32_t(0x00E1732C));
    }

    void showsBuildingNotice()
    {
        QFile::remove(GetDatabasePath());
        CreateDatabase();
        TfrmSaving* notice = CurrentSavingNotice();
        QVERIFY(notice);
        QCOMPARE(notice->windowTitle(), QStringLiteral("Building DataBase..."));
        RunOutSavingNotice();
        QVERIFY(!CurrentSavingNotice());
    }

    void existingFileIsLeftAlone()
    {
        DbConnection db;
        db.execute(QStringLiteral("DELETE FROM tblCustomers"));
        db.close();
        const QByteArray before = fileHash(GetDatabasePath());
        CreateDatabase(QDate(2030, 1, 1));
        RunOutSavingNotice();
        QCOMPARE(fileHash(GetDatabasePath()), before);
    }

    void failedBuildLeavesNoFile()
    {
        // A folder in the place of the rollback journal makes the first write fail
        // after the file itself was created.
        QFile::remove(GetDatabasePath());
        const QString journal = GetDatabasePath() + QStringLiteral("-journal");
        QVERIFY(QDir().mkpath(journal));
        try {
            CreateDatabase();
            QFAIL("no error");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("SQLite Error ")), qPrintable(error.message()));
        }
        RunOutSavingNotice();
        QVERIFY(!QFile::exists(GetDatabasePath()));

        // Once the obstacle is gone the next start builds the whole file.
        QVERIFY(QDir(journal).removeRecursively());
        CreateDatabase();
        RunOutSavingNotice();
        DbConnection db;
        QCOMPARE(db.countRows(QStringLiteral("SELECT * FROM tblPlanner")), 5);
    }
};

FENNICK_TEST_MAIN(TestCreateDatabase)
#include "test_createdatabase.moc"
