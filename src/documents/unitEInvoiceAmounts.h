#pragma once
// The amounts of an e-invoice (EN 16931), taken from the document's numbers by
// the same computation and the same money rule as the printed page:
// - one invoice line per printed line; a line whose labour and material a tax
//   treats apart (one taxable, the other not) becomes two lines;
// - every line amount in whole cents, and the line amounts add up to the
//   printed sub total exactly: where the cents of the single lines do not (a
//   rounding edge), the missing cents go to the lines that lost most by
//   rounding, one cent each;
// - the tax is the printed tax total, the amount paid and the amount due are
//   the printed ones; grand total = sub total + tax, and a cent by which the
//   printed total differs from that is the rounding amount (BT-114).
// A document with more than one tax ticked is not one of these: every tax
// applies to the same amounts, which an e-invoice cannot express.
#include "documents/unitDocumentModel.h"

#include <QList>
#include <QString>
#include <array>

enum class TVatCategory { Standard, ZeroRated, Exempt };   // "S", "Z", "E"

struct TEInvoiceLine {
    QString strName;           // the description; " (labour)" / " (material)" for the halves of a split line
    long double quantity = 0;  // negative when the unit price was negative
    long double unitPrice = 0; // never negative
    qint64 netCents = 0;       // BT-131
    TVatCategory category = TVatCategory::ZeroRated;
};

struct TEInvoiceAmounts {
    QList<TEInvoiceLine> lines;
    double taxRate = 0;          // the one rate that applies (a fraction: 0.05), 0 when none
    qint64 lineTotalCents = 0;   // BT-106 = BT-109: the printed sub total
    std::array<qint64, 3> basisCents{};   // by TVatCategory: BT-116 of each category present
    std::array<bool, 3> categoryPresent{};
    qint64 taxCents = 0;         // BT-110 = BT-117 of "S": the printed tax total
    qint64 grandTotalCents = 0;  // BT-112
    qint64 prepaidCents = 0;     // BT-113: the printed amount paid
    qint64 roundingCents = 0;    // BT-114
    qint64 dueCents = 0;         // BT-115: the printed balance, 0 when paid in full
};

// How many taxes the document applies (0 for a tax-exempt customer).
int TickedTaxCount(const TInvHeader& header);

// The amounts of a document (its type, flags, amount paid and lines) under the
// company's three rates. At most one tax may be ticked. Throws AppError for a
// line whose numbers do not read, like the totals do.
TEInvoiceAmounts ComputeEInvoiceAmounts(const TInvDocument& document, const std::array<double, 3>& companyRates);

// "1234.50", "-0.05": cents as a decimal number with a point, whatever the locale.
QString CentsText(qint64 cents);
// A quantity, price or rate as a decimal number with a point and at most
// `maxDecimals` decimals, trailing zeros dropped: 2, 0.5, 12.3456.
QString DecimalText(long double value, int maxDecimals);
