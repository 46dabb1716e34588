#pragma once
// The rules of the invoice maintenance screen, without a window: the twelve
// maintenance modes, the search types offered in each, the list query for a
// mode, search type and search text, the confirmation question of a click and
// the store operation it leads to.
#include "db/unitListQuery.h"

#include <QString>
#include <QStringList>
#include <vector>

// The maintenance modes, in the order of the mode list.
enum class TInvMaintenanceMode {
    ViewAll = 0,
    ViewUnpaid = 1,
    EstimateToWorkOrder = 2,
    EstimateOrWorkOrderToInvoice = 3,
    ChangeOrderToInvoice = 4,
    InvoiceToCredit = 5,
    PastDueNotice = 6,
    PaidInFull = 7,
    DeleteDocument = 8,
    RecurringAdd = 9,
    RecurringRemove = 10,
    RecurringView = 11,
};
constexpr int InvMaintenanceModeCount = 12;

// What a click on a row does in a mode.
enum class TInvMaintenanceAction {
    OpenInEditor,
    ConvertToWorkOrder,
    ConvertToInvoice,
    ConvertToCredit,
    CreatePastDueNotice,
    MarkPaidInFull,
    Delete,
    RecurringOn,
    RecurringOff,
};

// The twelve mode texts, in list order.
QStringList InvMaintenanceModeNames();
// The search list of a mode: its own first items, then the three text searches.
QStringList InvMaintenanceSearchItems(TInvMaintenanceMode mode);
// The hint of the result list in a mode.
QString InvMaintenanceListHint(TInvMaintenanceMode mode);
// True for "Invoice Number", "Customer Last Name" and "Customer Company Name".
bool IsInvMaintenanceTextSearch(const QString& searchItem);

// The query for a mode, the chosen search item and the search text (used only
// with a text search). The search text is bound and matched by the rule of
// every text search (TextPrefixCondition): a literal prefix in any letter case.
TListQuery BuildInvMaintenanceQuery(TInvMaintenanceMode mode, const QString& searchItem,
                                              const QString& searchText);

// One row of the result list.
struct TInvMaintenanceRow {
    int intInvNumber = 0;
    QString strInvName;
    QString strCustFullName;
    QString strCustCmpnyName;
    double dbInvTotal = 0;
    QString strInfo;            // "Paid", "Recurring" or empty
};

// What the "Info" column says of a row of the list query, from its paid and
// recurring flags (columns 4 and 6): "Paid" when the paid flag reads as a
// non-zero integer, else "Recurring" when the recurring flag does, else
// nothing. A flag that is not an integer throws the conversion error.
enum class TInvMaintenanceInfo { None, Paid, Recurring };
TInvMaintenanceInfo InvMaintenanceInfoOfRow(const DbStatement& read);
QString InvMaintenanceInfoText(TInvMaintenanceInfo info);

// Runs the query on its own connection and returns the rows in storage order.
std::vector<TInvMaintenanceRow> QuerySavedInvoiceRows(const TListQuery& query);

// The display name of a row in questions: type, a blank and the number.
QString InvMaintenanceDocumentName(const TInvMaintenanceRow& row);

TInvMaintenanceAction InvMaintenanceActionForMode(TInvMaintenanceMode mode);
// The confirmation question for a row in a mode; empty for the modes that open
// the editor instead.
QString InvMaintenanceQuestion(TInvMaintenanceMode mode, const QString& documentName);

// Carries out the store operation of a confirmed click (every mode except the
// three that open the editor).
void RunInvMaintenanceAction(TInvMaintenanceMode mode, const TInvMaintenanceRow& row);
