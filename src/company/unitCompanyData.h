#pragma once
// The company profile, the document settings and the per-type print colours,
// read once at start (and again after a restore) into three globals that the
// whole program reads instead of querying the database.
#include <QString>
#include <array>
#include <cstdint>

struct TrecCompanyData {
    QString strCompName;
    QString strCompAddress;
    QString strCompCity;
    QString strCompState;
    QString strCompZip;
    QString strCompPhone;
    QString strCompFax;
    QString strCompLicName1;
    QString strCompLicNum1;
    QString strCompLicName2;
    QString strCompLicNum2;
    QString strCompLicName3;
    QString strCompLicNum3;
    QString strCompWebSite;
    QString strCompEmail;
    QString strCompEmailHost;
    QString strCompEmailPort;      // digits only, may be empty
    QString strCompEmailLogin;
    QString strCompEmailPassword;
    bool blCompEmailSubjectInvNameNum = false;
    QString strCompEmailSubject;
    QString strCompEmailBody;
};

struct TrecCmpnyInvData {
    double dbTaxRate1 = 0;
    double dbTaxRate2 = 0;
    double dbTaxRate3 = 0;
    QString strTaxName1;
    QString strTaxName2;
    QString strTaxName3;
    std::array<QString, 11> strInvTerms;     // index 1 to 10; an empty text marks a free slot
    std::array<QString, 4> strInvFootNote;   // index 1 to 3; index 0 is always empty
    QString strAcceptanceInfo;
    std::uint32_t intAccptColor = 0;         // red + green*256 + blue*65536
    int intNumEstDays = 0;
    int intDepPercent = 0;
    bool blLargeLogo = false;
    bool blShowQuantity = false;
    bool blShowPrcEach = false;
    bool blShowTotal = false;
    bool blShowTotalonWO = false;
};

extern TrecCompanyData recCompanyData;
extern TrecCmpnyInvData recCmpnyInvData;
// Index 1 to 6: Estimate, Work Order, Change Order, Invoice, Credit, Past Due.
extern std::array<std::uint32_t, 7> arrInvTypeColor;

// Packs a colour as red + green*256 + blue*65536, each component cut to its low 8 bits.
std::uint32_t PackColor(int red, int green, int blue);
int ColorRed(std::uint32_t color);
int ColorGreen(std::uint32_t color);
int ColorBlue(std::uint32_t color);

// (Re)fills the three globals from the database, fields assigned as read.
void LoadCompanyData();
