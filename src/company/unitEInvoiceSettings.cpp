#include "company/unitEInvoiceSettings.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "db/DbConnection.h"
#include "db/unitEInvoiceTables.h"
#include "db/unitStoredValues.h"

TrecEInvoiceSettings recEInvoiceSettings;

QString RegionalCurrencyCode()
{
    return DisplayLocale().currencySymbol(QLocale::CurrencyIsoCode);
}

QString EInvoiceCurrencyCode(const TrecEInvoiceSettings& settings)
{
    return settings.strCurrencyCode.isEmpty() ? RegionalCurrencyCode() : settings.strCurrencyCode;
}

void LoadEInvoiceSettings()
{
    DbConnection connection;
    DbStatement read = connection.prepare(
        QStringLiteral("SELECT strEInvoice,strSellerVatId,strSellerTaxNumber,strSellerCountry,strCurrencyCode,"
                       "strIban,strBic FROM tblEInvoiceSettings WHERE intEInvoiceSettingsID = 1;"));
    TrecEInvoiceSettings settings;
    if (read.step()) {
        // An unreadable flag leaves e-invoices off rather than stopping the start.
        try {
            settings.blEInvoice = StrToBool(read.columnText(0));
        } catch (const AppError&) {
            settings.blEInvoice = false;
        }
        settings.strSellerVatId = read.columnText(1);
        settings.strSellerTaxNumber = read.columnText(2);
        settings.strSellerCountry = read.columnText(3);
        settings.strCurrencyCode = read.columnText(4);
        settings.strIban = read.columnText(5);
        settings.strBic = read.columnText(6);
    }
    recEInvoiceSettings = settings;
}

void SaveEInvoiceSettings(DbConnection& connection, const TrecEInvoiceSettings& s)
{
    connection.executeOnRow(
        QStringLiteral("UPDATE tblEInvoiceSettings SET strEInvoice=?,strSellerVatId=?,strSellerTaxNumber=?,"
                       "strSellerCountry=?,strCurrencyCode=?,strIban=?,strBic=? WHERE intEInvoiceSettingsID = 1;"),
        {BoolToStr(s.blEInvoice), s.strSellerVatId, s.strSellerTaxNumber, s.strSellerCountry, s.strCurrencyCode,
         s.strIban, s.strBic},
        MissingRowMessage(QStringLiteral("e-invoice settings")));
}

void PrepareEInvoiceData()
{
    EnsureEInvoiceTables();
    LoadEInvoiceSettings();
}
