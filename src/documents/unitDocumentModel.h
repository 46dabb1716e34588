#pragma once
// The document: its six types and what depends on the type, the header values
// and lines as they are stored, the totals of an open document and the money
// text shown on screen and on paper.
#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// ------------------------------------------------------------------ types

// Position 0 to 5 is the type index used by the editor and the manual forms;
// the per-type print colours (arrInvTypeColor, 1-based) follow the same order.
inline constexpr int kInvTypeCount = 6;
extern const std::array<QString, kInvTypeCount> arrInvTypeNames;

// Positions in arrInvTypeNames.
enum TInvType { itEstimate = 0, itWorkOrder, itChangeOrder, itInvoice, itCredit, itPastDue };

// Deposit kind: the document asks for a deposit and never carries an amount
// paid. Payment kind: it carries an amount already paid.
enum class TInvKind { Deposit, Payment };

// Type names are always compared case-insensitively.
bool SameInvType(const QString& a, const QString& b);
// Position of a type name in arrInvTypeNames, or -1 for an unknown name.
int InvTypeIndex(const QString& typeName);
// Estimate, Work Order and Change Order are of the deposit kind; every other
// name (also an unknown one) is of the payment kind.
TInvKind InvTypeKind(const QString& typeName);

// "Deposit Required" for the deposit kind, "Amount Paid" for the payment kind.
QString PaidAndDepositCaption(const QString& typeName);
// Type name, a space and the number: "Work Order 502".
QString InvDisplayName(const QString& typeName, int number);
// Source reference of a credit or past-due notice: "Invoice 1005".
QString InvSourceReference(const QString& typeName, int number);

// The validity or source line shown under the date and printed:
// "Estimate Valid Until " / "Change Order Valid Until " + the date plus the
// company's intNumEstDays (only when that is above 0), "Credit for " /
// "Past Due Notice for " + the source reference (only when it is non-empty);
// empty for every other type.
QString GetInvInformationLine(const QString& typeName, const QString& sourceReference, const QDate& invDate);

// ------------------------------------------------------------ stored values

// One line as the line holder and the store carry it: six texts. The flags
// are "-1"/"0"; the quantity is exactly as typed; the prices in the stored
// double form (FloatToStr).
struct TInvLine {
    QString strPrcItemName;
    QString strPrcItmQuantity;
    QString strLabTax;
    QString strMatTax;
    QString strLbrPrc;
    QString strMatPrc;

    bool operator==(const TInvLine&) const = default;
};

// The header values of a stored document, in the order of the store's save.
// Each field is named after the column of tblInvDataHeader that holds it.
struct TInvHeader {
    QString strInvName;
    QString strCustCmpnyName;
    QString strCustFullName;
    QString strCustAddress;
    QString strCustCtyStZp;
    QString strCustPhnFax;
    QString strInvTerms;            // empty: no payment terms
    QString strCustEmail;
    QString strCustTaxExemptNum;
    QString strCustPONumber;
    QString strFromInvNameNumber;   // source reference of a credit or past-due notice
    QString strFutureInfo;
    QString strInvDate;             // short date format
    bool strUseTax1 = false;
    bool strUseTax2 = false;
    bool strUseTax3 = false;
    bool strCustTaxExempt = false;
    bool strPaidInFull = false;
    bool strRecurring = false;
    bool strSavedToReport = false;  // amounts currently recorded in the monthly ledger
    int intInvNumber = 0;
    int intInvFootNotes = 0;        // 0 none, 1..3 company foot note
    double dbLbrTax1Total = 0;
    double dbLbrTax2Total = 0;
    double dbLbrTax3Total = 0;
    double dbMatTax1Total = 0;
    double dbMatTax2Total = 0;
    double dbMatTax3Total = 0;
    double dbLbrTotal = 0;
    double dbMatTotal = 0;
    double dbAmountPaid = 0;
    double dbDepAmount = 0;
    double dbInvTotal = 0;          // subtotals plus all six taxes, not reduced by the amount paid

    bool operator==(const TInvHeader&) const = default;
};

// The buyer's country and VAT ID that an e-invoice names, copied from the
// customer when the customer is picked (a document does not keep its
// customer's id); stored in the document's own row of tblInvEInvoice.
struct TInvBuyerTaxData {
    QString strBuyerCountry;   // ISO 3166-1 alpha-2; empty when not known
    QString strBuyerVatId;

    bool isEmpty() const { return strBuyerCountry.isEmpty() && strBuyerVatId.isEmpty(); }
    bool operator==(const TInvBuyerTaxData&) const = default;
};

// A whole document: header, notes (lines separated by CR LF), lines and the
// buyer's e-invoice data.
struct TInvDocument {
    TInvHeader header;
    QString strInvNotes;
    QList<TInvLine> lines;
    TInvBuyerTaxData buyer;

    bool operator==(const TInvDocument&) const = default;
};

// ------------------------------------------------------------------ totals

struct TInvTotals {
    double dbLbrTotal = 0;
    double dbMatTotal = 0;
    double dbLbrTax1Total = 0;
    double dbLbrTax2Total = 0;
    double dbLbrTax3Total = 0;
    double dbMatTax1Total = 0;
    double dbMatTax2Total = 0;
    double dbMatTax3Total = 0;
    double dbTaxTotal = 0;   // shown, never stored
    double dbInvTotal = 0;
};

// The computed cells of one line.
struct TInvLineCells {
    QString strPrcEach;   // FormatMoney(labour + material unit price)
    QString strTotal;     // FormatMoney((labour + material) * quantity)
};

struct TInvTotalsResult {
    TInvTotals totals;
    QList<TInvLineCells> cells;   // one per line, in line order
};

// Rates r1..r3 that apply to a document: all 0 when the customer is tax
// exempt, otherwise the company rate k when tax option k is ticked, else 0.
std::array<double, 3> EffectiveTaxRates(bool taxExempt, bool useTax1, bool useTax2, bool useTax3,
                                        const std::array<double, 3>& companyRates);
// The same with the company rates of recCmpnyInvData.
std::array<double, 3> EffectiveTaxRates(bool taxExempt, bool useTax1, bool useTax2, bool useTax3);

// Runs the totals over the lines in list order. Products and sums are formed
// in extended precision and stored back as double after each addition;
// nothing is rounded to cents. A quantity or price that is not a number
// throws "'%s' is not a valid floating point value", a taxable flag that is
// not a flag "'%s' is not a valid boolean value".
TInvTotalsResult ComputeInvTotals(const QList<TInvLine>& lines, const std::array<double, 3>& rates);

// The four total boxes of the editor and their two captions.
struct TInvTotalTexts {
    QString strPaidAndDepositCaption;  // "Deposit Required" / "Amount Paid"
    QString strPaidAndDeposit;
    QString strSubTotal;
    QString strTaxTotal;
    QString strTotalCaption;           // type name + " Total", or "Paid In Full"
    QString strTotal;
};

// The amounts behind the four total boxes, before they become money text.
// Paid/deposit box: the deposit (deposit kind) or the amount paid (payment
// kind), the document total when paid in full. Total box: the document total
// when paid in full, otherwise the balance (document total - amount paid).
struct TInvTotalAmounts {
    double dbPaidAndDeposit = 0;
    double dbSubTotal = 0;
    double dbTaxTotal = 0;
    double dbTotal = 0;
};
TInvTotalAmounts GetInvTotalAmounts(const QString& typeName, const TInvTotals& totals, double amountPaid,
                                    double depositAmount, bool paidInFull);

// GetInvTotalAmounts as money text, with the two captions.
TInvTotalTexts GetInvTotalTexts(const QString& typeName, const TInvTotals& totals, double amountPaid,
                                double depositAmount, bool paidInFull);

// The deposit suggested by the payment dialog: intDepPercent % of the total.
QString RecommendedDepositText(double invTotal, int depositPercent);

// ------------------------------------------------------------------- money

// Money text of an amount: first held as a fixed-point amount with four
// decimals (x 10000, rounded half to even), then shown with two decimals
// (rounded half away from zero) in the regional currency format:
// 1234.5 -> "$1,234.50", 0.125 -> "$0.13".
QString FormatMoney(double value);


// The text shown for an amount where nothing may throw (a list model's data(),
// a paint, a label): FormatMoney's text, or kUnshownAmountText for a value that
// money text cannot show (not finite, or beyond its range).
QString MoneyDisplayText(double value);

// The amount FormatMoney shows, as whole cents (1002.675 -> 100268); none for
// a value money text cannot show. Figures written to files come from here, so
// they match the money text on any regional setting.
std::optional<std::int64_t> MoneyCents(double value);
// Cents as a plain number with two decimals and a dot: 100268 -> "1002.68",
// -5 -> "-0.05".
QString MoneyNumberText(std::int64_t cents);
// MoneyCents where the amount must be shown (a printed document, an e-invoice):
// throws "%1 is not a valid currency value" as FormatMoney does.
qint64 RequireMoneyCents(double value);
