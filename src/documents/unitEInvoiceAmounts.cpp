#include "documents/unitEInvoiceAmounts.h"

#include "app/AppError.h"
#include "db/unitStoredValues.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

using Extended = long double;

TVatCategory PartCategory(bool exempt, bool taxable, double rate)
{
    if (exempt) return TVatCategory::Exempt;
    return taxable && rate > 0 ? TVatCategory::Standard : TVatCategory::ZeroRated;
}

struct TExactLine {
    TEInvoiceLine line;
    Extended exact = 0;   // the unrounded amount
};

void AddPart(QList<TExactLine>& parts, const QString& name, Extended unitPrice, double quantity, TVatCategory category)
{
    TExactLine part;
    part.line.strName = name;
    part.line.category = category;
    part.exact = unitPrice * quantity;
    // An invoice line's price is never negative: a negative price is a negative quantity.
    part.line.unitPrice = std::fabs(unitPrice);
    part.line.quantity = unitPrice < 0 ? -Extended(quantity) : Extended(quantity);
    part.line.netCents = RequireMoneyCents(double(part.exact));
    parts.append(part);
}

// Moves single cents so the line amounts add up to target: each cent goes to the
// line whose rounding was furthest from it in that direction.
void SpreadRoundingDifference(QList<TExactLine>& parts, qint64 target)
{
    if (parts.isEmpty()) return;
    qint64 sum = 0;
    for (const TExactLine& part : parts) sum += part.line.netCents;
    qint64 difference = target - sum;
    if (difference == 0) return;
    const int step = difference > 0 ? 1 : -1;
    std::vector<int> order(std::size_t(parts.size()));
    std::iota(order.begin(), order.end(), 0);
    auto lostByRounding = [&parts](int index) {
        return parts[index].exact * 100 - Extended(parts[index].line.netCents);
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return step > 0 ? lostByRounding(a) > lostByRounding(b) : lostByRounding(a) < lostByRounding(b);
    });
    for (std::size_t i = 0; difference != 0; i = (i + 1) % order.size()) {
        parts[order[i]].line.netCents += step;
        difference -= step;
    }
}

} // namespace

int TickedTaxCount(const TInvHeader& h)
{
    if (h.strCustTaxExempt) return 0;
    return int(h.strUseTax1) + int(h.strUseTax2) + int(h.strUseTax3);
}

TEInvoiceAmounts ComputeEInvoiceAmounts(const TInvDocument& document, const std::array<double, 3>& companyRates)
{
    const TInvHeader& h = document.header;
    if (TickedTaxCount(h) > 1)
        throw AppError(QStringLiteral("An e-invoice carries one tax rate for each amount; %1 taxes are ticked")
                           .arg(TickedTaxCount(h)));
    const std::array<double, 3> rates =
        EffectiveTaxRates(h.strCustTaxExempt, h.strUseTax1, h.strUseTax2, h.strUseTax3, companyRates);
    // The same computation as the editor's boxes and the printed page.
    const TInvTotals totals = ComputeInvTotals(document.lines, rates).totals;
    const TInvTotalAmounts printed =
        GetInvTotalAmounts(h.strInvName, totals, h.dbAmountPaid, h.dbDepAmount, h.strPaidInFull);

    TEInvoiceAmounts amounts;
    amounts.taxRate = *std::max_element(rates.begin(), rates.end());
    const bool exempt = h.strCustTaxExempt;

    QList<TExactLine> parts;
    for (const TInvLine& line : document.lines) {
        const double quantity = StrToFloat(line.strPrcItmQuantity);
        const double labour = StrToFloat(line.strLbrPrc);
        const double material = StrToFloat(line.strMatPrc);
        const TVatCategory labourCategory = PartCategory(exempt, StrToBool(line.strLabTax), amounts.taxRate);
        const TVatCategory materialCategory = PartCategory(exempt, StrToBool(line.strMatTax), amounts.taxRate);
        if (labourCategory != materialCategory && labour != 0 && material != 0) {
            AddPart(parts, line.strPrcItemName + QStringLiteral(" (labour)"), labour, quantity, labourCategory);
            AddPart(parts, line.strPrcItemName + QStringLiteral(" (material)"), material, quantity, materialCategory);
            continue;
        }
        // One line: the category of the part that carries an amount (labour's when both or neither do).
        const TVatCategory category = labour == 0 && material != 0 ? materialCategory : labourCategory;
        AddPart(parts, line.strPrcItemName, Extended(labour) + material, quantity, category);
    }

    amounts.lineTotalCents = RequireMoneyCents(printed.dbSubTotal);
    SpreadRoundingDifference(parts, amounts.lineTotalCents);
    for (const TExactLine& part : parts) {
        const auto category = std::size_t(part.line.category);
        amounts.basisCents[category] += part.line.netCents;
        amounts.categoryPresent[category] = true;
        amounts.lines.append(part.line);
    }

    amounts.taxCents = RequireMoneyCents(printed.dbTaxTotal);
    amounts.grandTotalCents = amounts.lineTotalCents + amounts.taxCents;
    amounts.prepaidCents = RequireMoneyCents(printed.dbPaidAndDeposit);
    amounts.dueCents = h.strPaidInFull ? 0 : RequireMoneyCents(printed.dbTotal);
    amounts.roundingCents = amounts.dueCents - (amounts.grandTotalCents - amounts.prepaidCents);
    return amounts;
}

QString CentsText(qint64 cents)
{
    const qint64 magnitude = cents < 0 ? -cents : cents;
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QString DecimalText(long double value, int maxDecimals)
{
    QString text = QString::number(double(value), 'f', maxDecimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
        if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    }
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    return text;
}
