#include "customers/unitCustomerRules.h"

#include "company/unitCompanyData.h"

bool CustomerHasName(const QString& firstName, const QString& lastName, const QString& companyName)
{
    return !firstName.isEmpty() || !lastName.isEmpty() || !companyName.isEmpty();
}

bool CustomerPrintAllowed(bool listPageShown, int listRowCount, bool pickMode)
{
    return listPageShown && listRowCount > 0 && !pickMode;
}

QStringList CustomerPaymentTermChoices()
{
    QStringList choices{QStringLiteral("Select Payment Terms")};
    for (int i = 1; i <= 10; ++i) {
        const QString& term = recCmpnyInvData.strInvTerms[size_t(i)];
        if (!term.isEmpty()) choices << term;
    }
    return choices;
}

QString DigitsOnly(const QString& text)
{
    QString digits;
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
    return digits;
}
