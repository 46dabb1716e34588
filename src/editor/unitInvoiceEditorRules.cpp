#include "editor/unitInvoiceEditorRules.h"

#include "documents/unitDocumentModel.h"

#include <algorithm>

TInvTypeOffer OfferedInvTypes(const QString& storedInvName)
{
    switch (InvTypeIndex(storedInvName)) {
    case itEstimate: return {itEstimate, itInvoice, true};
    case itWorkOrder: return {itWorkOrder, itInvoice, true};
    case itChangeOrder: return {itChangeOrder, itInvoice, true};
    case itInvoice: return {itInvoice, itInvoice, false};
    case itCredit: return {itCredit, itCredit, false};
    case itPastDue: return {itPastDue, itPastDue, false};
    default: return {itEstimate, itPastDue, true};
    }
}

std::array<QString, kPaymentTermSlots> PaymentTermSlots(const QString& customerTerms,
                                                        const std::array<QString, 11>& companyTerms)
{
    std::array<QString, kPaymentTermSlots> termSlots;
    termSlots[0] = QStringLiteral("No Payment Terms");
    if (!customerTerms.isEmpty()) {
        termSlots[1] = customerTerms;
        for (int k = 1; k <= 10; ++k) termSlots[k + 1] = companyTerms[k];
    } else {
        for (int k = 1; k <= 10; ++k) termSlots[k] = companyTerms[k];
    }
    return termSlots;
}

QStringList PaymentTermEntries(const std::array<QString, kPaymentTermSlots>& termSlots)
{
    QStringList entries;
    for (const QString& slot : termSlots)
        if (!slot.isEmpty()) entries << slot;
    return entries;
}

bool IsDocumentReady(int lineCount, const QString& customerName, const QString& customerCompany)
{
    return lineCount > 0 && (!customerName.isEmpty() || !customerCompany.isEmpty());
}

TPaidRecurringState PaidInFullAndRecurring(const QString& typeName, bool paidInFull, bool recurring)
{
    TPaidRecurringState state;
    if (!SameInvType(typeName, arrInvTypeNames[itInvoice])) return state;
    state.paidInFullChecked = paidInFull;
    state.recurringChecked = recurring;
    state.paidInFullEnabled = true;
    state.recurringEnabled = true;
    if (paidInFull) state.recurringEnabled = false;
    if (recurring) state.paidInFullEnabled = false;
    return state;
}

QStringList LineColumnCaptions()
{
    return {QStringLiteral("Description"), QStringLiteral("Quantity"), QStringLiteral("Price Each"),
            QStringLiteral("Total"),       QStringLiteral("LabPrice"), QStringLiteral("LabTax"),
            QStringLiteral("MatPrice"),    QStringLiteral("MatTax"),   QStringLiteral("TaxTotal")};
}

std::array<int, lcColumnCount> LineColumnWidths(int listWidth, bool showQuantity, bool showPrcEach,
                                                bool showTotal)
{
    std::array<int, lcColumnCount> widths{};
    widths[lcTotal] = showTotal ? 140 : 0;
    widths[lcPriceEach] = showPrcEach ? 120 : 0;
    widths[lcQuantity] = showQuantity ? 100 : 0;
    widths[lcDescription] =
        std::max(0, listWidth - widths[lcTotal] - widths[lcPriceEach] - widths[lcQuantity] - 5);
    return widths;
}

QString NumberTakenNote(const QString& typeName, int shownNumber, int savedNumber)
{
    return QStringLiteral("Number %1 was taken by a document saved on another computer meanwhile, so this document "
                          "was saved as %2.")
        .arg(shownNumber)
        .arg(InvDisplayName(typeName, savedNumber));
}
