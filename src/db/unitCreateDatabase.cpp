#include "db/unitCreateDatabase.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitDateHelpers.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "db/unitServerSchema.h"

#include <QFile>
#include <QStringList>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString sampleContract()
{
    const QStringList lines{
        QStringLiteral("SAMPLE CONTRACT ONLY – Replace with your CONTRACT!"),
        QString(),
        QStringLiteral("ADDITIONAL WORK OR CHARGES"),
        QStringLiteral("Any work not described in the estimate, and any change the customer asks for once the work "
                       "has begun, is done only after the customer agrees to it and is billed in addition to the "
                       "agreed price."),
        QString(),
        QStringLiteral("CANCELLATION"),
        QStringLiteral("The customer may cancel this contract in writing within three business days of signing it. "
                       "After that, materials ordered and work already done are charged in full."),
        QString(),
        QStringLiteral("TREES AND SHRUBS"),
        QStringLiteral("My Company Name takes reasonable care around plants and landscaping but is not responsible "
                       "for trees, shrubs or flower beds that must be trimmed or moved to reach the work area."),
        QString(),
        QStringLiteral("FOUNDATIONS") +
            QStringLiteral("My Company Name is not responsible for settling, cracks or movement of foundations, "
                           "slabs or walks, whether found before, during or after the work."),
        QString(),
        QStringLiteral("CUSTOMER SUPPLIED MATERIALS"),
        QStringLiteral("Materials supplied by the customer are used as delivered. Their quality, quantity and "
                       "fitness are the customer's responsibility and are not covered by our warranty."),
        QString(),
        QStringLiteral("WEATHER"),
        QStringLiteral("Rain, snow, wind or extreme temperatures may delay the work. Dates in this contract are "
                       "moved accordingly, without penalty to either party."),
        QString(),
        QStringLiteral("WARRANTY"),
        QStringLiteral("The work is covered only by the written warranty of My Company Name that accompanies this "
                       "contract. No other warranty is given or implied."),
        QString(),
        QStringLiteral("ELECTRICAL FIXTURES"),
        QStringLiteral("Outlets, switch plates and fixtures in the work area are loosened or removed only where "
                       "needed and put back as found. Repairs of existing wiring are not part of this contract."),
        QString(),
        QStringLiteral("MOLD"),
        QStringLiteral("My Company Name does not test for, treat or remove mold and is not responsible for mold "
                       "that exists or appears in the work area."),
        QString(),
        QStringLiteral("GUTTERS AND DOWNSPOUTS"),
        QStringLiteral("Gutters and downspouts are cleaned, repaired or replaced only when listed in the estimate."),
        QString(),
        QStringLiteral("FURNISHINGS"),
        QStringLiteral("The customer moves furniture, pictures and valuables out of the work area before the work "
                       "begins, unless other arrangements are made in writing."),
        QString(),
        QStringLiteral("UNUSED PAINT"),
        QStringLiteral("Paint and material left over at the end of the job belong to the customer and are left on "
                       "site unless the customer asks us to remove them."),
        QString(),
        QStringLiteral("TRASH"),
        QStringLiteral("Debris caused by the work is removed from the site when the work is done. Other trash is "
                       "removed only when listed in the estimate."),
        QString(),
        QStringLiteral("COMPANY PAYMENT ARRANGEMENTS"),
        QStringLiteral("Payment is due as stated on the invoice. Unpaid balances may carry a late charge, and the "
                       "customer pays reasonable costs of collection."),
        QString(),
        QStringLiteral("WALLPAPER REMOVAL "),
        QStringLiteral("Wallpaper removal is billed by the hour because the condition of the walls beneath cannot be "
                       "known in advance. Repairs to the wall surface are extra."),
        QString(),
        QStringLiteral("CONTRACT AGREEMENT"),
        QStringLiteral("This contract, the estimate and the warranty are the whole agreement between the customer and "
                       "My Company Name. Changes are valid only when made in writing and signed by both parties."),
        QString(),
        QStringLiteral("License Number: 123 My State License"),
        QStringLiteral("Thank You!"),
    };
    return lines.join(kCrLf);
}

QString sampleWarranty()
{
    const QStringList lines{
        QStringLiteral("SAMPLE WARRANTY ONLY – Replace with your WARRANTY!"),
        QString(),
        QStringLiteral("  My Company Name warrants that the work it performs is free from defects in workmanship for "
                       "one year from the date of completion."),
        QString(),
        QStringLiteral("  Materials are covered by the warranty of their manufacturer only. My Company Name will help "
                       "the customer make a claim under that warranty."),
        QString(),
        QStringLiteral("  To make a claim, the customer notifies My Company Name in writing within the warranty "
                       "period and allows reasonable access to inspect and repair the work."),
        QString(),
        QStringLiteral("  Under this warranty My Company Name repairs or replaces faulty work at its choice, without "
                       "charge for labour or material."),
        QString(),
        QStringLiteral("THIS WARRANTY IS VOID if the work is altered or repaired by others, damaged by misuse, neglect, "
                       "accident or acts of nature, or if the invoice is not paid in full."),
    };
    return lines.join(kCrLf);
}

// The thirteen tables, in the order they are built.
const char* const kCreateTable[] = {
    "CREATE TABLE tblAppPreferences (intAppPreferencesIdNumber INTEGER, strFrmMainMaximized TEXT, strFrmInvoiceMaximized TEXT, strFrmPlannerMaximized TEXT, strFrmPrintPreviewMaximized TEXT);",
    "CREATE TABLE tblCustomers(intCustomerID INTEGER PRIMARY KEY,strCustFirstName TEXT,strCustLastName TEXT,strCustCompany TEXT,strCustAddress TEXT,strCustCity TEXT,strCustState TEXT,strCustZipCode TEXT,strCustEmail TEXT,strCustPhone TEXT,strCustFax TEXT,strCustPhoneAreaCode TEXT,strCustFaxAreaCode TEXT,strCustPhoneExt TEXT,strCustTaxExmpt TEXT,strCustTaxExmpNmbr TEXT,strCustPmtTerms TEXT,strCustNotes TEXT);",
    "CREATE TABLE tblCompanyInfo(intCompInfoID INTEGER,strCompName TEXT,strCompAddress TEXT,strCompCity TEXT,strCompState TEXT,strCompZip TEXT,strCompPhone TEXT,strCompFax TEXT,strCompEmail TEXT,strCompEmailHost TEXT,strCompEmailPort TEXT,strCompEmailLogin TEXT,strCompEmailPassword TEXT,blCompEmailSubjectInvNameNum TEXT,strCompEmailSubject TEXT,strCompEmailBody TEXT,strCompWebSite TEXT,strCompLicNum1 TEXT,strCompLicName1 TEXT,strCompLicNum2 TEXT,strCompLicName2 TEXT,strCompLicNum3 TEXT,strCompLicName3 TEXT);",
    "CREATE TABLE tblCompanyInvData(intCompInvDataID INTEGER,dbTaxRate1 REAL,dbTaxRate2 REAL,dbTaxRate3 REAL,strTaxName1 TEXT,strTaxName2 TEXT,strTaxName3 TEXT,intInvNumber INTEGER,strInvTerms1 TEXT,strInvTerms2 TEXT,strInvTerms3 TEXT,strInvTerms4 TEXT,strInvTerms5 TEXT,strInvTerms6 TEXT,strInvTerms7 TEXT,strInvTerms8 TEXT,strInvTerms9 TEXT,strInvTerms10 TEXT,intNumEstDays INTEGER,strInvFootNote1 TEXT,strInvFootNote2 TEXT,strInvFootNote3 TEXT,strAcceptanceInfo TEXT,intAccptColorRed INTEGER,intAccptColorGreen INTEGER,intAccptColorBlue INTEGER,intDepPercent INTEGER,strLargeLogo TEXT,strShowQuantity TEXT,strShowPrcEach TEXT,strShowTotal TEXT,strShowTotalonWO TEXT);",
    "CREATE TABLE tblContractWarranty(intContractWarrantyID INTEGER,strContractName TEXT,strWarrantyName TEXT,strContract BLOB,strWarranty BLOB);",
    "CREATE TABLE tblCompColorData(intColorID INTEGER,intEstColorRed INTEGER,intEstColorGreen INTEGER,intEstColorBlue INTEGER,intWrkOrderColorRed INTEGER,intWrkOrderColorGreen INTEGER,intWrkOrderColorBlue INTEGER,intChngOrderColorRed INTEGER,intChngOrderColorGreen INTEGER,intChngOrderColorBlue INTEGER,intInvColorRed INTEGER,intInvColorGreen INTEGER,intInvColorBlue INTEGER,intCrdtColorRed INTEGER,intCrdtColorGreen INTEGER,intCrdtColorBlue INTEGER,intPstDueColorRed INTEGER,intPstDueColorGreen INTEGER,intPstDueColorBlue INTEGER);",
    "CREATE TABLE tblInvDataHeader(intInvDataHeaderID INTEGER PRIMARY KEY,intInvNumber INTEGER,strInvName TEXT,strCustCmpnyName TEXT,strCustFullName TEXT,strCustAddress TEXT,strCustCtyStZp TEXT,strCustPhnFax TEXT,strInvTerms TEXT,intInvFootNotes INTEGER,strUseTax1 TEXT,strUseTax2 TEXT,strUseTax3 TEXT,strCustEmail TEXT,strInvNotes BLOB,strCustTaxExempt TEXT,strCustTaxExemptNum TEXT,strCustPONumber TEXT,strFromInvNameNumber TEXT,strFutureInfo TEXT,strPaidInFull TEXT,strRecurring TEXT,strSavedToReport TEXT,dbLbrTax1Total REAL,dbLbrTax2Total REAL,dbLbrTax3Total REAL,dbMatTax1Total REAL,dbMatTax2Total REAL,dbMatTax3Total REAL,dbLbrTotal REAL,dbMatTotal REAL,dbAmountPaid REAL,dbDepAmount REAL,dbInvTotal REAL,strInvDate TEXT);",
    "CREATE TABLE tblInvData(intInvDataID INTEGER PRIMARY KEY,strPrcItemName TEXT,intInvNumber INTEGER,strPrcItmQuantity TEXT,strLabTax TEXT,strMatTax TEXT,dbLbrPrc REAL,dbMatPrc REAL);",
    "CREATE TABLE tblReport(intReportID INTEGER PRIMARY KEY,intReportYear INTEGER,intReportMonth INTEGER,dbLbrTax1Total REAL,dbLbrTax2Total REAL,dbLbrTax3Total REAL,dbMatTax1Total REAL,dbMatTax2Total REAL,dbMatTax3Total REAL,dbLbrTotal REAL,dbMatTotal REAL);",
    "CREATE TABLE tblRecurring(intRecurringID INTEGER,strLastPrintedDate TEXT);",
    "CREATE TABLE tblPrices(intPrcItemNumID INTEGER PRIMARY KEY,strPrcItemName TEXT,strLabTax TEXT,strMatTax TEXT,dbLbrPrc REAL,dbMatPrc REAL);",
    "CREATE TABLE tblPlannerSettings(intPlannerSettingsID INTEGER PRIMARY KEY,intActColorRed INTEGER,intActColorGreen INTEGER,intActColorBlue INTEGER,intWkndColorRed INTEGER,intWkndColorGreen INTEGER,intWkndColorBlue INTEGER,intPriorityColorRed INTEGER,intPriorityColorGreen INTEGER,intPriorityColorBlue INTEGER,intRemoveActivity INTEGER,intDefaultPlanner INTEGER);",
    "CREATE TABLE tblPlanner(intActID INTEGER PRIMARY KEY,intActMasterID INTEGER,intActYear INTEGER,intActDayOfYear INTEGER,strActStartDateTime TEXT,strActEndDateTime TEXT,strActivity TEXT,strActPriority TEXT,strActNote TEXT);",
};

enum Table {
    AppPreferences, Customers, CompanyInfo, CompanyInvData, ContractWarranty, CompColorData,
    InvDataHeader, InvData, Report, Recurring, Prices, PlannerSettings, Planner
};

void createTable(DbConnection& db, Table table)
{
    const QString statement = QString::fromUtf8(kCreateTable[table]);
    db.execute(db.isServer() ? ServerTableStatement(statement) : statement);
}

void insertDefaultRows(DbConnection& db, const QDate& today)
{
    createTable(db, AppPreferences);
    db.execute(QStringLiteral("INSERT INTO tblAppPreferences (intAppPreferencesIdNumber,strFrmMainMaximized,"
                              "strFrmInvoiceMaximized,strFrmPlannerMaximized,strFrmPrintPreviewMaximized) "
                              "VALUES (?,?,?,?,?);"),
               {1, QStringLiteral("-1"), QStringLiteral("-1"), QStringLiteral("-1"), QStringLiteral("-1")});

    createTable(db, Customers);
    const QString insertCustomer = QStringLiteral(
        "INSERT INTO tblCustomers (strCustFirstName,strCustLastName,strCustCompany,strCustAddress,strCustCity,"
        "strCustState,strCustZipCode,strCustEmail,strCustPhone,strCustFax,strCustPhoneAreaCode,strCustFaxAreaCode,"
        "strCustPhoneExt,strCustTaxExmpt,strCustTaxExmpNmbr,strCustPmtTerms,strCustNotes) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);");
    db.execute(insertCustomer,
               {QStringLiteral("Joe"), QStringLiteral("Blow"), QStringLiteral("Joes Bar and Grill"),
                QStringLiteral("123 Joes Street"), QStringLiteral("Joe City"), QStringLiteral("Joe State"),
                QStringLiteral("12345"), QStringLiteral("joe@example.com"), QStringLiteral("1234567"),
                QStringLiteral("1234568"), QStringLiteral("225"), QStringLiteral("225"), QStringLiteral("12345"),
                QStringLiteral("0"), QString(""), QStringLiteral("Due upon receipt"),
                QStringLiteral("Customer notes for office use only. These notes do not show or print anywhere else.")});
    db.execute(insertCustomer,
               {QStringLiteral("John"), QStringLiteral("Doe"), QString(""), QStringLiteral("234 2nd Street"),
                QStringLiteral("John City"), QStringLiteral("John State"), QStringLiteral("88888"), QString(""),
                QStringLiteral("3337758"), QStringLiteral("3337759"), QStringLiteral("221"), QStringLiteral("221"),
                QString(""), QStringLiteral("0"), QString(""), QString(""), QString("")});
    db.execute(insertCustomer,
               {QStringLiteral("Jane"), QStringLiteral("Doe"), QStringLiteral("Janes Place"),
                QStringLiteral("55555 Street Place"), QStringLiteral("Jane City"), QStringLiteral("Jane State"),
                QStringLiteral("88888"), QStringLiteral("jane@example.com"), QStringLiteral("4449874"),
                QStringLiteral("4449875"), QStringLiteral("220"), QStringLiteral("220"), QStringLiteral("12"),
                QStringLiteral("-1"), QStringLiteral("1414141"), QStringLiteral("Due by the 15th"),
                QStringLiteral("Fast Pay")});

    createTable(db, CompanyInfo);
    db.execute(QStringLiteral(
                   "INSERT INTO tblCompanyInfo (intCompInfoID,strCompName,strCompAddress,strCompCity,strCompState,"
                   "strCompZip,strCompPhone,strCompFax,strCompEmail,strCompEmailHost,strCompEmailPort,"
                   "strCompEmailLogin,strCompEmailPassword,blCompEmailSubjectInvNameNum,strCompEmailSubject,"
                   "strCompEmailBody,strCompWebSite,strCompLicNum1,strCompLicName1,strCompLicNum2,strCompLicName2,"
                   "strCompLicNum3,strCompLicName3) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"),
               {1, QStringLiteral("My Company Name"), QStringLiteral("123 My Street Address"),
                QStringLiteral("My City"), QStringLiteral("My State"), QStringLiteral("Zip 123456"),
                QStringLiteral("222-123-4567"), QStringLiteral("222-123-4568"), QStringLiteral("office@example.com"),
                QStringLiteral("mail.example.com"), QString(""), QString(""), QString(""), QStringLiteral("-1"),
                QString(""), QStringLiteral("Thank You") + kCrLf + QStringLiteral("From My Company Name"),
                QStringLiteral("www.example.com"), QStringLiteral("123 My State License"),
                QStringLiteral("My State License Name"), QStringLiteral("456 My City License"),
                QStringLiteral("My City License Name"), QString(""), QString("")});

    createTable(db, CompanyInvData);
    db.execute(QStringLiteral(
                   "INSERT INTO tblCompanyInvData (intCompInvDataID,dbTaxRate1,dbTaxRate2,dbTaxRate3,strTaxName1,"
                   "strTaxName2,strTaxName3,intInvNumber,strInvTerms1,strInvTerms2,strInvTerms3,strInvTerms4,"
                   "strInvTerms5,strInvTerms6,strInvTerms7,strInvTerms8,strInvTerms9,strInvTerms10,intNumEstDays,"
                   "strInvFootNote1,strInvFootNote2,strInvFootNote3,strAcceptanceInfo,intAccptColorRed,"
                   "intAccptColorGreen,intAccptColorBlue,intDepPercent,strLargeLogo,strShowQuantity,strShowPrcEach,"
                   "strShowTotal,strShowTotalonWO) "
                   "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"),
               {1, 0.0123, 0.05, 0.0, QStringLiteral("Local Tax"), QStringLiteral("State Tax"), QString(""), 500,
                QStringLiteral("Due on day of completion"), QStringLiteral("Due on the 10th"),
                QStringLiteral("Due on the 20th"), QStringLiteral("Net Due on the 20th"), QString(""), QString(""),
                QString(""), QString(""), QString(""), QString(""), 30,
                QStringLiteral("Thank you for choosing our product. We appreciate your business, so please contact "
                               "us if you ever need any help."),
                QStringLiteral("Thank you for your interest in our Estimate. If you have any questions please "
                               "don’t hesitate to contact us!"),
                QStringLiteral("Foot Note 3 Here!!"),
                QStringLiteral("Acceptance of proposal. The prices, specification and conditions are satisfactory "
                               "and hereby accepted. You are authorized to do the work as specified. Payment will "
                               "be made as specified above."),
                236, 255, 236, 25, QStringLiteral("-1"), QStringLiteral("-1"), QStringLiteral("-1"),
                QStringLiteral("-1"), QStringLiteral("0")});

    createTable(db, ContractWarranty);
    db.execute(QStringLiteral("INSERT INTO tblContractWarranty (intContractWarrantyID,strContractName,"
                              "strWarrantyName,strContract,strWarranty) VALUES (?,?,?,?,?);"),
               {1, QStringLiteral("SAMPLE CONTRACT"), QStringLiteral("SAMPLE WARRANTY"), sampleContract(),
                sampleWarranty()});

    createTable(db, CompColorData);
    QVariantList colors{1};
    for (int type = 0; type < 6; ++type) colors << 0 << 115 << 225;
    db.execute(QStringLiteral(
                   "INSERT INTO tblCompColorData (intColorID,intEstColorRed,intEstColorGreen,intEstColorBlue,"
                   "intWrkOrderColorRed,intWrkOrderColorGreen,intWrkOrderColorBlue,intChngOrderColorRed,"
                   "intChngOrderColorGreen,intChngOrderColorBlue,intInvColorRed,intInvColorGreen,intInvColorBlue,"
                   "intCrdtColorRed,intCrdtColorGreen,intCrdtColorBlue,intPstDueColorRed,intPstDueColorGreen,"
                   "intPstDueColorBlue) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"),
               colors);

    createTable(db, InvDataHeader);
    createTable(db, InvData);
    createTable(db, Report);

    createTable(db, Recurring);
    db.execute(QStringLiteral("INSERT INTO tblRecurring (intRecurringID,strLastPrintedDate) VALUES (?,?);"),
               {1, QString("")});

    createTable(db, Prices);
    struct PriceItem {
        const char* name;
        const char* labourTaxable;
        const char* materialTaxable;
        double labour;
        double material;
    };
    static const PriceItem prices[] = {
        {"Wash small window - EA.", "0", "-1", 6.15, 1.35},
        {"Wash med window - EA. 2 story", "0", "0", 22.00, 0.75},
        {"Install new roofing - 1 Story per square", "0", "-1", 54.75, 22.75},
        {"Install new roofing - 2 Story per square", "0", "-1", 64.75, 22.75},
        {"Install Wood fence -  per running foot", "0", "-1", 9.25, 7.75},
        {"Install Chain link fence - per running foot", "0", "-1", 5.10, 2.25},
        {"Trim Lawn edge - med size per week", "0", "0", 6.25, 0.00},
        {"Mow Lawn - med size per week", "0", "0", 15.00, 5.00},
        {"Office Cleaning - med size per week", "0", "0", 48.55, 12.33},
        {"Wax and buff floor - per SQFT", "0", "0", 0.97, 0.10},
        {"Child care - age under 3, per day", "0", "0", 21.55, 2.10},
        {"Child care - age 3 to 6, per day", "0", "0", 18.45, 3.15},
    };
    for (const PriceItem& item : prices) {
        db.execute(QStringLiteral("INSERT INTO tblPrices (strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
                                  "VALUES (?,?,?,?,?);"),
                   {QString::fromUtf8(item.name), QString::fromUtf8(item.labourTaxable),
                    QString::fromUtf8(item.materialTaxable), item.labour, item.material});
    }

    createTable(db, PlannerSettings);
    db.execute(QStringLiteral(
                   "INSERT INTO tblPlannerSettings (intPlannerSettingsID,intActColorRed,intActColorGreen,"
                   "intActColorBlue,intWkndColorRed,intWkndColorGreen,intWkndColorBlue,intPriorityColorRed,"
                   "intPriorityColorGreen,intPriorityColorBlue,intRemoveActivity,intDefaultPlanner) "
                   "VALUES (?,?,?,?,?,?,?,?,?,?,?,?);"),
               {1, 255, 255, 0, 215, 228, 242, 255, 98, 98, 2, 0});

    createTable(db, Planner);
    // Three sample activities placed around today; one row per day of each.
    // Wall-clock values: 8:00 is 8:00 on the day clocks go forward or back too.
    const QTime eight(8, 0);
    const auto on = [&today](int days, const QTime& time = QTime(0, 0)) {
        return WallClock(today.addDays(days), time);
    };
    struct PlannerRow {
        int master;
        QDateTime day;
        QDateTime start;
        QDateTime end;
        QString activity;
        QString priority;
        QString note;
    };
    const QString jobNote = QStringLiteral("Job must be done in 3 Days!!! SAMPLE");
    const QDateTime workStart = on(-10);
    const QDateTime workEnd = on(-8);
    const QString work = QStringLiteral("Work for John Jones");
    const PlannerRow planner[] = {
        {1, on(0), on(0, eight), on(0, QTime(8, 30)), QStringLiteral("Estimate for the jones"), QStringLiteral("-1"),
         QStringLiteral("Activity Notes Here! SAMPLE ")},
        {2, on(5), on(5, eight), on(5, eight), QStringLiteral("Start job at 123 Alley Street"), QStringLiteral("-1"),
         QStringLiteral("SAMPLE")},
        {3, on(-10), workStart, workEnd, work, QStringLiteral("0"), jobNote},
        {3, on(-9), workStart, workEnd, work, QStringLiteral("0"), jobNote + ' '},
        {3, on(-8), workStart, workEnd, work, QStringLiteral("0"), jobNote + ' '},
    };
    for (const PlannerRow& row : planner) {
        db.execute(QStringLiteral("INSERT INTO tblPlanner (intActMasterID,intActYear,intActDayOfYear,"
                                  "strActStartDateTime,strActEndDateTime,strActivity,strActPriority,strActNote) "
                                  "VALUES (?,?,?,?,?,?,?,?);"),
                   {row.master, row.day.date().year(), DayOfTheYear(row.day), DateTimeToStr(row.start),
                    DateTimeToStr(row.end), row.activity, row.priority, row.note});
    }
}

} // namespace

void BuildDatabase(DbConnection& db, const QDate& today) { insertDefaultRows(db, today); }

void CreateDatabase() { CreateDatabase(QDate::currentDate()); }

QStringList DatabaseTableStatements()
{
    QStringList statements;
    for (const char* statement : kCreateTable) statements << QString::fromUtf8(statement);
    return statements;
}

void CreateDatabase(const QDate& today)
{
    TSavingNoticeScope notice(QStringLiteral("Building DataBase..."));
    const QString path = GetDatabasePath();
    if (QFile::exists(path)) return;

    DbConnection db = DbConnection::createDatabaseFile(path);
    try {
        DbTransaction transaction(db);
        BuildDatabase(db, today);
        transaction.commit();
        db.close();
    } catch (...) {
        // A half-built file would be taken as complete at the next start and
        // fail on its missing tables; remove it so the next start builds anew.
        db.close();
        QFile::remove(path);
        throw;
    }
}
