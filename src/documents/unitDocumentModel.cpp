#include "documents/unitDocumentModel.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "company/unitCompanyData.h"
#include "db/unitStoredValues.h"

#include <cfenv>
#include <cmath>
#include <cstdint>

const std::array<QString, kInvTypeCount> arrInvTypeNames = {
    QStringLiteral("Estimate"), QStringLiteral("Work Order"), QStringLiteral("Change Order"),
    QStringLiteral("Invoice"),  QStringLiteral("Credit"),     QStringLiteral("Past Due"),
};

bool SameInvType(const QString& a, const QString& b)
{
    return a.toUpper() == b.toUpper();
}

int InvTypeIndex(const QString& typeName)
{
    for (int i = 0; i < kInvTypeCount; ++i)
        if (SameInvType(typeName, arrInvTypeNames[i])) return i;
    return -1;
}

TInvKind InvTypeKind(const QString& typeName)
{
    switch (InvTypeIndex(typeName)) {
    case itEstimate:
    case itWorkOrder:
    case itChangeOrder:
        return TInvKind::Deposit;
    default:
        return TInvKind::Payment;
    }
}

QString PaidAndDepositCaption(const QString& typeName)
{
    return InvTypeKind(typeName) == TInvKind::Deposit ? QStringLiteral("Deposit Required")
                                                      : QStringLiteral("Amount Paid");
}

QString InvDisplayName(const QString& typeName, int number)
{
    return typeName + QLatin1Char(' ') + QString::number(number);
}

QString InvSourceReference(const QString& typeName, int number)
{
    return InvDisplayName(typeName, number);
}

QString GetInvInformationLine(const QString& typeName, const QString& sourceReference, const QDate& invDate)
{
    const int days = recCmpnyInvData.intNumEstDays;
    switch (InvTypeIndex(typeName)) {
    case itEstimate:
        if (days > 0) return QStringLiteral("Estimate Valid Until ") + DisplayDate(invDate.addDays(days));
        break;
    case itChangeOrder:
        if (days > 0) return QStringLiteral("Change Order Valid Until ") + DisplayDate(invDate.addDays(days));
        break;
    case itCredit:
        if (!sourceReference.isEmpty()) return QStringLiteral("Credit for ") + sourceReference;
        break;
    case itPastDue:
        if (!sourceReference.isEmpty()) return QStringLiteral("Past Due Notice for ") + sourceReference;
        break;
    default:
        break;
    }
    return QString();
}

// ------------------------------------------------------------------ totals

std::array<double, 3> EffectiveTaxRates(bool taxExempt, bool useTax1, bool useTax2, bool useTax3,
                                        const std::array<double, 3>& companyRates)
{
    if (taxExempt) return {0, 0, 0};
    return {useTax1 ? companyRates[0] : 0, useTax2 ? companyRates[1] : 0, useTax3 ? companyRates[2] : 0};
}

std::array<double, 3> EffectiveTaxRates(bool taxExempt, bool useTax1, bool useTax2, bool useTax3)
{
    return EffectiveTaxRates(taxExempt, useTax1, useTax2, useTax3,
                             {recCmpnyInvData.dbTaxRate1, recCmpnyInvData.dbTaxRate2, recCmpnyInvData.dbTaxRate3});
}

namespace {

using Extended = long double;

// sum + term, formed in extended precision and stored back as a double.
double AddExtended(double sum, Extended term)
{
    return double(Extended(sum) + term);
}

} // namespace

TInvTotalsResult ComputeInvTotals(const QList<TInvLine>& lines, const std::array<double, 3>& rates)
{
    TInvTotalsResult result;
    TInvTotals& t = result.totals;
    std::array<double*, 3> labourTax = {&t.dbLbrTax1Total, &t.dbLbrTax2Total, &t.dbLbrTax3Total};
    std::array<double*, 3> materialTax = {&t.dbMatTax1Total, &t.dbMatTax2Total, &t.dbMatTax3Total};

    for (const TInvLine& line : lines) {
        const double q = StrToFloat(line.strPrcItmQuantity);
        const double labour = StrToFloat(line.strLbrPrc);
        const double material = StrToFloat(line.strMatPrc);
        const Extended labourAmount = Extended(labour) * q;
        const Extended materialAmount = Extended(material) * q;

        if (StrToBool(line.strLabTax))
            for (int k = 0; k < 3; ++k) *labourTax[k] = AddExtended(*labourTax[k], labourAmount * rates[k]);
        if (StrToBool(line.strMatTax))
            for (int k = 0; k < 3; ++k) *materialTax[k] = AddExtended(*materialTax[k], materialAmount * rates[k]);

        const Extended each = Extended(labour) + material;
        result.cells.append({FormatMoney(double(each)), FormatMoney(double(each * q))});

        t.dbLbrTotal = AddExtended(t.dbLbrTotal, labourAmount);
        t.dbMatTotal = AddExtended(t.dbMatTotal, materialAmount);
    }

    // Added in this order, stored after each addition.
    double tax = 0;
    for (double* part : labourTax) tax = AddExtended(tax, *part);
    for (double* part : materialTax) tax = AddExtended(tax, *part);
    t.dbTaxTotal = tax;
    t.dbInvTotal = double((Extended(t.dbLbrTotal) + t.dbMatTotal) + tax);
    return result;
}

TInvTotalAmounts GetInvTotalAmounts(const QString& typeName, const TInvTotals& totals, double amountPaid,
                                    double depositAmount, bool paidInFull)
{
    TInvTotalAmounts amounts;
    const bool depositKind = InvTypeKind(typeName) == TInvKind::Deposit;
    // A deposit-kind document never carries an amount paid.
    const double paid = depositKind ? 0 : amountPaid;
    if (paidInFull)
        amounts.dbPaidAndDeposit = totals.dbInvTotal;
    else
        amounts.dbPaidAndDeposit = depositKind ? depositAmount : paid;
    amounts.dbSubTotal = double(Extended(totals.dbLbrTotal) + totals.dbMatTotal);
    amounts.dbTaxTotal = totals.dbTaxTotal;
    amounts.dbTotal = paidInFull ? totals.dbInvTotal : double(Extended(totals.dbInvTotal) - paid);
    return amounts;
}

TInvTotalTexts GetInvTotalTexts(const QString& typeName, const TInvTotals& totals, double amountPaid,
                                double depositAmount, bool paidInFull)
{
    const TInvTotalAmounts amounts = GetInvTotalAmounts(typeName, totals, amountPaid, depositAmount, paidInFull);
    TInvTotalTexts texts;
    texts.strPaidAndDepositCaption = PaidAndDepositCaption(typeName);
    texts.strPaidAndDeposit = FormatMoney(amounts.dbPaidAndDeposit);
    texts.strSubTotal = FormatMoney(amounts.dbSubTotal);
    texts.strTaxTotal = FormatMoney(amounts.dbTaxTotal);
    texts.strTotalCaption = paidInFull ? QStringLiteral("Paid In Full") : typeName + QStringLiteral(" Total");
    texts.strTotal = FormatMoney(amounts.dbTotal);
    return texts;
}

QString RecommendedDepositText(double invTotal, int depositPercent)
{
    return MoneyDisplayText(double(Extended(depositPercent) / 100 * invTotal));
}

// ------------------------------------------------------------------- money

namespace {

bool IsMoneyShowable(double value)
{
    // The fixed-point amount (four decimals) holds magnitudes below 2^63 / 10000.
    constexpr Extended kLimit = 922337203685477.5807L;
    return std::isfinite(value) && std::fabs(Extended(value)) <= kLimit;
}

} // namespace

QString MoneyDisplayText(double value)
{
    const std::optional<std::int64_t> cents = MoneyCents(value);
    return cents ? FormatCurrencyCents(*cents) : kUnshownAmountText;
}

std::optional<std::int64_t> MoneyCents(double value)
{
    if (!IsMoneyShowable(value)) return std::nullopt;

    // x 10000, ties to even (the default rounding mode).
    // The mode is set only when another is in force: setting it stalls the
    // processor, and a list formats an amount for every row it shows.
    const int previousMode = std::fegetround();
    if (previousMode != FE_TONEAREST) std::fesetround(FE_TONEAREST);
    const std::int64_t fourDecimals = std::llrint(Extended(value) * 10000);
    if (previousMode != FE_TONEAREST) std::fesetround(previousMode);

    // Two decimals, the dropped two rounded half away from zero.
    const std::int64_t magnitude = fourDecimals < 0 ? -fourDecimals : fourDecimals;
    std::int64_t cents = (magnitude + 50) / 100;
    if (fourDecimals < 0) cents = -cents;
    return cents;
}

QString MoneyNumberText(std::int64_t cents)
{
    const std::uint64_t magnitude = cents < 0 ? 0 - std::uint64_t(cents) : std::uint64_t(cents);
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

qint64 RequireMoneyCents(double value)
{
    const std::optional<std::int64_t> cents = MoneyCents(value);
    if (!cents) throw AppError(QStringLiteral("%1 is not a valid currency value").arg(FloatToStr(value)));
    return *cents;
}

QString FormatMoney(double value) { return FormatCurrencyCents(RequireMoneyCents(value)); }
