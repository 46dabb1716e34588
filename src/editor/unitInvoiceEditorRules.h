#pragma once
// The rules of the document editor, apart from its widgets: which types are
// offered, the payment-term slots, when a document is ready, the paid-in-full
// and recurring marks, and the widths of the line list's columns.
#include <QString>
#include <QStringList>
#include <array>

// The types offered by the type list: positions first..last of arrInvTypeNames.
struct TInvTypeOffer {
    int first = 0;
    int last = 5;
    bool listEnabled = true;   // false: the document keeps its type
};
// storedInvName empty: a new document, all six types. Otherwise (any letter
// case) an Estimate may become a Work Order, Change Order or Invoice, a Work
// Order a Change Order or Invoice, a Change Order an Invoice; an Invoice, a
// Credit and a Past Due notice keep their type. An unknown stored name offers all six.
TInvTypeOffer OfferedInvTypes(const QString& storedInvName);

inline constexpr int kPaymentTermSlots = 12;
// Slot 0 is "No Payment Terms". With customer terms, slot 1 is those terms and
// slots 2..11 the company terms 1..10; without, slots 1..10 are the company
// terms 1..10 and slot 11 is empty. Empty slots are not offered.
std::array<QString, kPaymentTermSlots> PaymentTermSlots(const QString& customerTerms,
                                                        const std::array<QString, 11>& companyTerms);
// The non-empty slots in order: the entries of the terms list.
QStringList PaymentTermEntries(const std::array<QString, kPaymentTermSlots>& termSlots);

// A document may be saved, printed and sent once it has a line and a customer
// (a name or a company).
bool IsDocumentReady(int lineCount, const QString& customerName, const QString& customerCompany);

// Paid in full and recurring belong to an Invoice only, and never both at once.
struct TPaidRecurringState {
    bool paidInFullChecked = false;
    bool paidInFullEnabled = false;
    bool recurringChecked = false;
    bool recurringEnabled = false;
};
TPaidRecurringState PaidInFullAndRecurring(const QString& typeName, bool paidInFull, bool recurring);

// Column order of the line list.
enum TLineColumn {
    lcDescription = 0, lcQuantity, lcPriceEach, lcTotal, lcLabPrice, lcLabTax, lcMatPrice, lcMatTax,
    lcTaxTotal, lcColumnCount
};
QStringList LineColumnCaptions();
// Total 140, Price Each 120, Quantity 100 when the company shows them (else 0);
// the five data columns 0; Description takes the rest of the width less 5.
std::array<int, lcColumnCount> LineColumnWidths(int listWidth, bool showQuantity, bool showPrcEach,
                                                bool showTotal);

// The editor's note when a new document was saved under another number than
// the one shown (another seat took that first).
QString NumberTakenNote(const QString& typeName, int shownNumber, int savedNumber);
