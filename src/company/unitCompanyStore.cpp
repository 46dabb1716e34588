#include "company/unitCompanyStore.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "company/unitCompanyLogoStore.h"
#include "app/unitWholeFile.h"
#include "company/unitLogoFile.h"
#include "db/DbConnection.h"
#include "db/DbEngineError.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitStoredValues.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

// A settings row that is missing would make the save look done while nothing
// was stored.
void RequireOneRow(DbConnection& db, const QString& table)
{
    if (db.changes() != 1)
        throw AppError(QStringLiteral("The settings row of %1 is missing from the database.").arg(table));
}

void WriteCompanyInfo(DbConnection& db, const TrecCompanyData& c)
{
    db.execute(QStringLiteral(
                   "UPDATE tblCompanyInfo SET strCompName=?,strCompAddress=?,strCompCity=?,strCompState=?,"
                   "strCompZip=?,strCompPhone=?,strCompFax=?,strCompEmail=?,strCompEmailHost=?,"
                   "strCompEmailPort=?,strCompEmailLogin=?,strCompEmailPassword=?,"
                   "blCompEmailSubjectInvNameNum=?,strCompEmailSubject=?,strCompEmailBody=?,strCompWebSite=?,"
                   "strCompLicNum1=?,strCompLicName1=?,strCompLicNum2=?,strCompLicName2=?,strCompLicNum3=?,"
                   "strCompLicName3=? WHERE intCompInfoID = 1;"),
               {c.strCompName, c.strCompAddress, c.strCompCity, c.strCompState, c.strCompZip, c.strCompPhone,
                c.strCompFax, c.strCompEmail, c.strCompEmailHost, c.strCompEmailPort, c.strCompEmailLogin,
                c.strCompEmailPassword, BoolToStr(c.blCompEmailSubjectInvNameNum), c.strCompEmailSubject,
                c.strCompEmailBody, c.strCompWebSite, c.strCompLicNum1, c.strCompLicName1, c.strCompLicNum2,
                c.strCompLicName2, c.strCompLicNum3, c.strCompLicName3});
    RequireOneRow(db, QStringLiteral("tblCompanyInfo"));
}

void WriteInvData(DbConnection& db, const TrecCmpnyInvData& d)
{
    QVariantList values{d.dbTaxRate1, d.dbTaxRate2, d.dbTaxRate3, d.strTaxName1, d.strTaxName2, d.strTaxName3,
                        d.strInvFootNote[1], d.strInvFootNote[2], d.strInvFootNote[3], d.strAcceptanceInfo,
                        ColorRed(d.intAccptColor), ColorGreen(d.intAccptColor), ColorBlue(d.intAccptColor)};
    for (int slot = 1; slot <= 10; ++slot) values.append(d.strInvTerms[slot]);
    values << d.intNumEstDays << d.intDepPercent << BoolToStr(d.blLargeLogo) << BoolToStr(d.blShowQuantity)
           << BoolToStr(d.blShowPrcEach) << BoolToStr(d.blShowTotal) << BoolToStr(d.blShowTotalonWO);
    db.execute(QStringLiteral(
                   "UPDATE tblCompanyInvData SET dbTaxRate1=?,dbTaxRate2=?,dbTaxRate3=?,strTaxName1=?,"
                   "strTaxName2=?,strTaxName3=?,strInvFootNote1=?,strInvFootNote2=?,strInvFootNote3=?,"
                   "strAcceptanceInfo=?,intAccptColorRed=?,intAccptColorGreen=?,intAccptColorBlue=?,"
                   "strInvTerms1=?,strInvTerms2=?,strInvTerms3=?,strInvTerms4=?,strInvTerms5=?,strInvTerms6=?,"
                   "strInvTerms7=?,strInvTerms8=?,strInvTerms9=?,strInvTerms10=?,intNumEstDays=?,"
                   "intDepPercent=?,strLargeLogo=?,strShowQuantity=?,strShowPrcEach=?,strShowTotal=?,"
                   "strShowTotalonWO=? WHERE intCompInvDataID = 1;"),
               values);
    RequireOneRow(db, QStringLiteral("tblCompanyInvData"));
}

void WriteTypeColors(DbConnection& db, const std::array<std::uint32_t, 7>& colors)
{
    QVariantList values;
    for (int type = 1; type <= 6; ++type)
        values << ColorRed(colors[type]) << ColorGreen(colors[type]) << ColorBlue(colors[type]);
    db.execute(QStringLiteral(
                   "UPDATE tblCompColorData SET intEstColorRed=?,intEstColorGreen=?,intEstColorBlue=?,"
                   "intWrkOrderColorRed=?,intWrkOrderColorGreen=?,intWrkOrderColorBlue=?,"
                   "intChngOrderColorRed=?,intChngOrderColorGreen=?,intChngOrderColorBlue=?,"
                   "intInvColorRed=?,intInvColorGreen=?,intInvColorBlue=?,intCrdtColorRed=?,"
                   "intCrdtColorGreen=?,intCrdtColorBlue=?,intPstDueColorRed=?,intPstDueColorGreen=?,"
                   "intPstDueColorBlue=? WHERE intColorID = 1;"),
               values);
    RequireOneRow(db, QStringLiteral("tblCompColorData"));
}

QList<TRecordRead> CompanySettingsReads()
{
    return {{QStringLiteral("SELECT * FROM tblCompanyInfo WHERE intCompInfoID = 1"), {}},
            {QStringLiteral("SELECT dbTaxRate1,dbTaxRate2,dbTaxRate3,strTaxName1,strTaxName2,strTaxName3,"
                            "strInvTerms1,strInvTerms2,strInvTerms3,strInvTerms4,strInvTerms5,strInvTerms6,"
                            "strInvTerms7,strInvTerms8,strInvTerms9,strInvTerms10,intNumEstDays,strInvFootNote1,"
                            "strInvFootNote2,strInvFootNote3,strAcceptanceInfo,intAccptColorRed,intAccptColorGreen,"
                            "intAccptColorBlue,intDepPercent,strLargeLogo,strShowQuantity,strShowPrcEach,"
                            "strShowTotal,strShowTotalonWO FROM tblCompanyInvData WHERE intCompInvDataID = 1"),
             {}},
            {QStringLiteral("SELECT * FROM tblCompColorData WHERE intColorID = 1"), {}},
            {QStringLiteral("SELECT * FROM tblPlannerSettings ORDER BY intPlannerSettingsID"), {}},
            {QStringLiteral("SELECT * FROM tblEInvoiceSettings ORDER BY intEInvoiceSettingsID"), {}}};
}

} // namespace

TRecordVersion ReadCompanySettingsVersion()
{
    DbConnection db;
    return TRecordVersion::Read(db, CompanySettingsReads());
}

namespace {

// The settings rows the settings in memory were read from (or written as).
// Empty until the first read: the first check after start-up reads them again.
TRecordVersion g_settingsInMemory;

void LoadSettingsInMemory(const TRecordVersion& stored)
{
    const QString footNote0 = recCmpnyInvData.strInvFootNote[0];
    LoadCompanyData();
    LoadEInvoiceSettings();
    recCmpnyInvData.strInvFootNote[0] = footNote0;
    g_settingsInMemory = stored;
}

} // namespace

void ReloadCompanySettings()
{
    // The version is read first: a change saved between the two reads makes
    // the next check read the settings once more rather than miss it.
    LoadSettingsInMemory(ReadCompanySettingsVersion());
}

// A database that cannot be read just now (locked, the server out of reach)
// leaves the settings in memory in use: they were stored ones, and the
// screen's own reads say what failed.
void UseStoredCompanySettings(const TRecordVersion& stored)
{
    if (stored == g_settingsInMemory) return;
    try {
        LoadSettingsInMemory(stored);
    } catch (const DbEngineError&) {
    }
}

void UseStoredCompanySettings()
{
    try {
        UseStoredCompanySettings(ReadCompanySettingsVersion());
    } catch (const DbEngineError&) {
    }
}

void SaveCompanySettings(const TCompanySettings& settings, const TLogoChange& logo, TRecordVersion* opened)
{
    // On a server the logo is stored with the settings, in their transaction.
    const bool logoInDatabase = UsesServer();
    QByteArray logoJpeg;
    if (logoInDatabase && logo.changed && !logo.picture.isNull()) logoJpeg = LogoFileBytes(logo.picture);
    const QString logoPath = GetLogoPath();
    // The new logo is written first under another name; it replaces the file
    // only once the settings are committed, and is dropped on any failure.
    QSaveFile newLogo(logoPath);
    const bool writeLogo = !logoInDatabase && logo.changed && !logo.picture.isNull();
    if (writeLogo) {
        const QByteArray bytes = LogoFileBytes(logo.picture);
        if (!newLogo.open(QIODevice::WriteOnly) || !WriteWholeFile(newLogo, bytes))
            throw AppError(QStringLiteral("Cannot write the company logo %1: %2. Nothing was saved: the settings "
                                          "and the logo are as they were")
                               .arg(QDir::toNativeSeparators(logoPath), newLogo.errorString()));
    }

    DbConnection db;
    {
        DbTransaction transaction(db);
        if (opened && !opened->isEmpty()) opened->checkUnchanged(db, QStringLiteral("The company information"));
        WriteCompanyInfo(db, settings.company);
        WriteInvData(db, settings.invData);
        WriteTypeColors(db, settings.typeColors);
        SavePlannerSettings(db, settings.planner);
        SaveEInvoiceSettings(db, settings.einvoice);
        if (logoInDatabase && logo.changed) WriteServerLogo(db, logoJpeg);
        const TRecordVersion written = TRecordVersion::Read(db, CompanySettingsReads());
        transaction.commit();
        if (opened) *opened = written;
        g_settingsInMemory = written;   // the settings in memory take these values below
    }
    db.close();

    // Committed: the settings in memory follow the tables. Foot note slot 0 is
    // the main window's, and the document counter is not part of them.
    recCompanyData = settings.company;
    const QString footNote0 = recCmpnyInvData.strInvFootNote[0];
    recCmpnyInvData = settings.invData;
    recCmpnyInvData.strInvFootNote[0] = footNote0;
    for (int type = 1; type <= 6; ++type) arrInvTypeColor[type] = settings.typeColors[type];
    recEInvoiceSettings = settings.einvoice;

    if (writeLogo) {
        if (!newLogo.commit())
            throw AppError(QStringLiteral("The settings were saved, but the company logo could not be written to "
                                          "%1: %2. The logo is as it was")
                               .arg(QDir::toNativeSeparators(logoPath), newLogo.errorString()));
    } else if (QFile oldLogo(logoPath); !logoInDatabase && logo.changed && oldLogo.exists() && !oldLogo.remove()) {
        throw AppError(QStringLiteral("The settings were saved, but the company logo %1 could not be deleted: %2. "
                                      "The logo is still in place")
                           .arg(QDir::toNativeSeparators(logoPath), oldLogo.errorString()));
    }
}

TCompanySettings CurrentCompanySettings()
{
    TCompanySettings settings;
    settings.company = recCompanyData;
    settings.invData = recCmpnyInvData;
    settings.typeColors = arrInvTypeColor;
    settings.planner = LoadPlannerSettings();
    settings.einvoice = recEInvoiceSettings;
    return settings;
}

