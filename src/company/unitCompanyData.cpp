#include "company/unitCompanyData.h"

#include "app/AppError.h"
#include "db/DbConnection.h"
#include "db/unitStoredValues.h"

TrecCompanyData recCompanyData;
TrecCmpnyInvData recCmpnyInvData;
std::array<std::uint32_t, 7> arrInvTypeColor{};

std::uint32_t PackColor(int red, int green, int blue)
{
    return std::uint32_t(red & 0xFF) | (std::uint32_t(green & 0xFF) << 8) | (std::uint32_t(blue & 0xFF) << 16);
}
int ColorRed(std::uint32_t color) { return int(color & 0xFF); }
int ColorGreen(std::uint32_t color) { return int((color >> 8) & 0xFF); }
int ColorBlue(std::uint32_t color) { return int((color >> 16) & 0xFF); }

void LoadCompanyData()
{
    DbConnection connection;

    DbStatement info = connection.prepare(QStringLiteral(
        "SELECT strCompName,strCompAddress,strCompCity,strCompState,strCompZip,strCompPhone,strCompFax,"
        "strCompEmail,strCompEmailHost,strCompEmailPort,strCompEmailLogin,strCompEmailPassword,"
        "blCompEmailSubjectInvNameNum,strCompEmailSubject,strCompEmailBody,strCompWebSite,strCompLicNum1,"
        "strCompLicName1, strCompLicNum2,strCompLicName2, strCompLicNum3,strCompLicName3 "
        "FROM tblCompanyInfo WHERE intCompInfoID = 1;"));
    if (!info.step()) throw AppError(MissingRowMessage(QStringLiteral("company information")));
    TrecCompanyData& c = recCompanyData;
    c.strCompName = info.columnText(0);
    c.strCompAddress = info.columnText(1);
    c.strCompCity = info.columnText(2);
    c.strCompState = info.columnText(3);
    c.strCompZip = info.columnText(4);
    c.strCompPhone = info.columnText(5);
    c.strCompFax = info.columnText(6);
    c.strCompEmail = info.columnText(7);
    c.strCompEmailHost = info.columnText(8);
    c.strCompEmailPort = info.columnText(9);
    c.strCompEmailLogin = info.columnText(10);
    c.strCompEmailPassword = info.columnText(11);
    c.blCompEmailSubjectInvNameNum = StrToBool(info.columnText(12));
    c.strCompEmailSubject = info.columnText(13);
    c.strCompEmailBody = info.columnText(14);
    c.strCompWebSite = info.columnText(15);
    c.strCompLicNum1 = info.columnText(16);
    c.strCompLicName1 = info.columnText(17);
    c.strCompLicNum2 = info.columnText(18);
    c.strCompLicName2 = info.columnText(19);
    c.strCompLicNum3 = info.columnText(20);
    c.strCompLicName3 = info.columnText(21);
    info.finalize();

    DbStatement inv = connection.prepare(QStringLiteral(
        "SELECT dbTaxRate1,dbTaxRate2,dbTaxRate3,strTaxName1,strTaxName2,strTaxName3,strInvTerms1,strInvTerms2,"
        "strInvTerms3,strInvTerms4,strInvTerms5,strInvTerms6,strInvTerms7,strInvTerms8,strInvTerms9,strInvTerms10,"
        "strInvFootNote1,strInvFootNote2,strInvFootNote3,strAcceptanceInfo,intAccptColorRed,intAccptColorGreen,"
        "intAccptColorBlue,intNumEstDays,intDepPercent,strLargeLogo,strShowQuantity,strShowPrcEach,strShowTotal,"
        "strShowTotalonWO FROM tblCompanyInvData WHERE intCompInvDataID = 1;"));
    if (!inv.step()) throw AppError(MissingRowMessage(QStringLiteral("company invoice settings")));
    TrecCmpnyInvData& d = recCmpnyInvData;
    d.dbTaxRate1 = inv.columnDouble(0);
    d.dbTaxRate2 = inv.columnDouble(1);
    d.dbTaxRate3 = inv.columnDouble(2);
    d.strTaxName1 = inv.columnText(3);
    d.strTaxName2 = inv.columnText(4);
    d.strTaxName3 = inv.columnText(5);
    for (int slot = 1; slot <= 10; ++slot) d.strInvTerms[slot] = inv.columnText(5 + slot);
    for (int note = 1; note <= 3; ++note) d.strInvFootNote[note] = inv.columnText(15 + note);
    d.strAcceptanceInfo = inv.columnText(19);
    d.intAccptColor = PackColor(inv.columnInt(20), inv.columnInt(21), inv.columnInt(22));
    d.intNumEstDays = inv.columnInt(23);
    d.intDepPercent = inv.columnInt(24);
    d.blLargeLogo = StrToBool(inv.columnText(25));
    d.blShowQuantity = StrToBool(inv.columnText(26));
    d.blShowPrcEach = StrToBool(inv.columnText(27));
    d.blShowTotal = StrToBool(inv.columnText(28));
    d.blShowTotalonWO = StrToBool(inv.columnText(29));
    inv.finalize();

    DbStatement colors = connection.prepare(QStringLiteral(
        "SELECT intEstColorRed,intEstColorGreen,intEstColorBlue,intWrkOrderColorRed,intWrkOrderColorGreen,"
        "intWrkOrderColorBlue,intChngOrderColorRed,intChngOrderColorGreen,intChngOrderColorBlue,intInvColorRed,"
        "intInvColorGreen,intInvColorBlue,intCrdtColorRed,intCrdtColorGreen,intCrdtColorBlue,intPstDueColorRed,"
        "intPstDueColorGreen,intPstDueColorBlue FROM tblCompColorData WHERE intColorID = 1;"));
    if (!colors.step()) throw AppError(MissingRowMessage(QStringLiteral("document colour")));
    for (int type = 1; type <= 6; ++type) {
        const int first = (type - 1) * 3;
        arrInvTypeColor[type] = PackColor(colors.columnInt(first), colors.columnInt(first + 1), colors.columnInt(first + 2));
    }
}
