#include "maintenance/unitInvoiceMaintenanceRules.h"

#include "db/DbConnection.h"
#include "db/unitListQuery.h"
#include "db/unitStoredValues.h"
#include "documents/unitDocumentCopy.h"
#include "documents/unitDocumentModel.h"
#include "documents/unitDocumentStore.h"

namespace {

const QString kInvoiceNumber = QStringLiteral("Invoice Number");
const QString kCustomerLastName = QStringLiteral("Customer Last Name");
const QString kCustomerCompanyName = QStringLiteral("Customer Company Name");

const QString kColumns =
    QStringLiteral("intInvNumber,strCustCmpnyName,strCustFullName,strInvName,strPaidInFull,dbInvTotal,strRecurring");

// The six document types, in the order of the type table.
QStringList typeNames()
{
    return QStringList(arrInvTypeNames.begin(), arrInvTypeNames.end());
}

// Builds a WHERE condition and collects the values its placeholders take.
class Condition {
public:
    // UPPER(strInvName) LIKE X%: every stored type name beginning with X, case ignored.
    Condition& typeFilter(const QString& upperName)
    {
        m_sql += QStringLiteral("UPPER(strInvName) LIKE ?");
        m_values << QVariant(upperName + QLatin1Char('%'));
        return *this;
    }
    Condition& textSearch(const QString& searchItem, const QString& searchText)
    {
        // The same rule as the customer and price searches: a literal prefix in any letter case.
        const QString column = searchItem == kInvoiceNumber      ? QStringLiteral("intInvNumber")
                             : searchItem == kCustomerLastName ? QStringLiteral("strCustFullName")
                                                               : QStringLiteral("strCustCmpnyName");
        m_sql += TextPrefixCondition(column);
        m_values << QVariant(searchText);
        return *this;
    }
    Condition& add(const QString& fragment)
    {
        m_sql += fragment;
        return *this;
    }
    bool isEmpty() const { return m_sql.isEmpty(); }
    const QString& sql() const { return m_sql; }
    const QVariantList& values() const { return m_values; }

private:
    QString m_sql;
    QVariantList m_values;
};

} // namespace

QStringList InvMaintenanceModeNames()
{
    return {
        QStringLiteral("View\\Edit\\Print all saved Invoice Types"),
        QStringLiteral("View\\Edit\\Print Unpaid Invoices"),
        QStringLiteral("Convert Estimate to Work Order"),
        QStringLiteral("Convert Estimate\\ Work Order to Invoice"),
        QStringLiteral("Convert Change Order to Invoice"),
        QStringLiteral("Convert Invoice to Credit"),
        QStringLiteral("Create Past Due Notice for Invoice"),
        QStringLiteral("Change unpaid Invoice to Paid in full"),
        QStringLiteral("Delete saved Invoice - All Invoice Types"),
        QStringLiteral("Recurring \u2013 Add Invoice to list"),
        QStringLiteral("Recurring \u2013 Remove Invoice from list"),
        QStringLiteral("Recurring \u2013 View\\Edit\\Print"),
    };
}

QStringList InvMaintenanceSearchItems(TInvMaintenanceMode mode)
{
    QStringList items;
    switch (mode) {
    case TInvMaintenanceMode::ViewAll:
    case TInvMaintenanceMode::DeleteDocument:
        items << QStringLiteral("All Invoice Types") << typeNames();
        break;
    case TInvMaintenanceMode::ViewUnpaid:
    case TInvMaintenanceMode::PaidInFull:
        items << QStringLiteral("All unpaid Invoices");
        break;
    case TInvMaintenanceMode::EstimateToWorkOrder:
        items << QStringLiteral("All Estimates");
        break;
    case TInvMaintenanceMode::EstimateOrWorkOrderToInvoice:
        items << QStringLiteral("All Estimates and Work Orders") << QStringLiteral("Estimate")
              << QStringLiteral("Work Order");
        break;
    case TInvMaintenanceMode::ChangeOrderToInvoice:
        items << QStringLiteral("All Change Order");
        break;
    case TInvMaintenanceMode::InvoiceToCredit:
    case TInvMaintenanceMode::PastDueNotice:
        items << QStringLiteral("All Invoices");
        break;
    case TInvMaintenanceMode::RecurringAdd:
        items << QStringLiteral("All non recurring Invoices");
        break;
    case TInvMaintenanceMode::RecurringRemove:
    case TInvMaintenanceMode::RecurringView:
        items << QStringLiteral("All recurring Invoices");
        break;
    }
    items << kInvoiceNumber << kCustomerLastName << kCustomerCompanyName;
    return items;
}

QString InvMaintenanceListHint(TInvMaintenanceMode mode)
{
    switch (mode) {
    case TInvMaintenanceMode::ViewAll: return QStringLiteral("Select Invoice to view, edit or print");
    case TInvMaintenanceMode::ViewUnpaid: return QStringLiteral("Select Unpaid Invoice to view, edit or print");
    case TInvMaintenanceMode::EstimateToWorkOrder: return QStringLiteral("Select Estimate to Convert");
    case TInvMaintenanceMode::EstimateOrWorkOrderToInvoice:
        return QStringLiteral("Select Estimate or Work Order to Convert");
    case TInvMaintenanceMode::ChangeOrderToInvoice: return QStringLiteral("Select Change Order to Convert");
    case TInvMaintenanceMode::InvoiceToCredit: return QStringLiteral("Select Invoice to Convert");
    case TInvMaintenanceMode::PastDueNotice: return QStringLiteral("Select Invoice to use");
    case TInvMaintenanceMode::PaidInFull: return QStringLiteral("Select Invoice to Change to Paid In Full");
    case TInvMaintenanceMode::DeleteDocument: return QStringLiteral("Select Invoice to Delete");
    case TInvMaintenanceMode::RecurringAdd: return QStringLiteral("Select Invoice to add to recurring list");
    case TInvMaintenanceMode::RecurringRemove:
        return QStringLiteral("Select Invoice to remove from recurring list");
    case TInvMaintenanceMode::RecurringView: return QStringLiteral("Select Invoice to View\\Edit\\Print");
    }
    return QString();
}

bool IsInvMaintenanceTextSearch(const QString& searchItem)
{
    return searchItem == kInvoiceNumber || searchItem == kCustomerLastName || searchItem == kCustomerCompanyName;
}

TListQuery BuildInvMaintenanceQuery(TInvMaintenanceMode mode, const QString& searchItem,
                                              const QString& searchText)
{
    const bool text = IsInvMaintenanceTextSearch(searchItem);
    const QString invoice = QStringLiteral("INVOICE");
    Condition where;
    switch (mode) {
    case TInvMaintenanceMode::ViewAll:
    case TInvMaintenanceMode::DeleteDocument:
        if (text)
            where.textSearch(searchItem, searchText);
        else if (typeNames().contains(searchItem))
            where.typeFilter(searchItem.toUpper());
        break; // "All Invoice Types": no condition
    case TInvMaintenanceMode::EstimateToWorkOrder:
        where.typeFilter(QStringLiteral("ESTIMATE"));
        if (text) where.add(QStringLiteral(" AND ")).textSearch(searchItem, searchText);
        break;
    case TInvMaintenanceMode::EstimateOrWorkOrderToInvoice:
        if (text) {
            where.add(QStringLiteral("(")).typeFilter(QStringLiteral("ESTIMATE")).add(QStringLiteral(" AND "));
            where.textSearch(searchItem, searchText).add(QStringLiteral(") OR ("));
            where.typeFilter(QStringLiteral("WORK ORDER")).add(QStringLiteral(" AND "));
            where.textSearch(searchItem, searchText).add(QStringLiteral(")"));
        } else if (searchItem == QStringLiteral("Estimate") || searchItem == QStringLiteral("Work Order")) {
            where.typeFilter(searchItem.toUpper());
        } else {
            where.typeFilter(QStringLiteral("WORK ORDER")).add(QStringLiteral(" OR "));
            where.typeFilter(QStringLiteral("ESTIMATE"));
        }
        break;
    case TInvMaintenanceMode::ChangeOrderToInvoice:
        where.typeFilter(QStringLiteral("CHANGE ORDER"));
        if (text) where.add(QStringLiteral(" AND ")).textSearch(searchItem, searchText);
        break;
    case TInvMaintenanceMode::InvoiceToCredit:
    case TInvMaintenanceMode::PastDueNotice:
        if (text) {
            where.typeFilter(invoice).add(QStringLiteral(" AND strRecurring = '0' AND "));
            where.textSearch(searchItem, searchText);
        } else {
            where.add(QStringLiteral("strRecurring = '0' AND ")).typeFilter(invoice);
        }
        break;
    case TInvMaintenanceMode::ViewUnpaid:
    case TInvMaintenanceMode::PaidInFull:
        where.add(QStringLiteral("strPaidInFull = '0' AND strRecurring = '0' AND ")).typeFilter(invoice);
        if (text) where.add(QStringLiteral(" AND ")).textSearch(searchItem, searchText);
        break;
    case TInvMaintenanceMode::RecurringAdd:
        where.add(QStringLiteral("strRecurring = '0' AND strPaidInFull = '0' AND ")).typeFilter(invoice);
        if (text) where.add(QStringLiteral(" AND ")).textSearch(searchItem, searchText);
        break;
    case TInvMaintenanceMode::RecurringRemove:
    case TInvMaintenanceMode::RecurringView:
        where.add(QStringLiteral("strRecurring <> '0' AND ")).typeFilter(invoice);
        if (text) where.add(QStringLiteral(" AND ")).textSearch(searchItem, searchText);
        break;
    }

    // In the order the documents were stored.
    return {kColumns, QStringLiteral("tblInvDataHeader"), where.sql(), where.values(),
            QStringLiteral("intInvDataHeaderID")};
}

std::vector<TInvMaintenanceRow> QuerySavedInvoiceRows(const TListQuery& query)
{
    // Type names and flags repeat from row to row: the rows share one copy of each.
    QString typeName;
    return QueryListRows<TInvMaintenanceRow>(query, [&](const DbStatement& read) {
        TInvMaintenanceRow row;
        row.intInvNumber = read.columnInt(0);
        row.strCustCmpnyName = read.columnText(1);
        row.strCustFullName = read.columnText(2);
        row.strInvName = read.columnTextShared(3, typeName);
        row.dbInvTotal = read.columnDouble(5);
        row.strInfo = InvMaintenanceInfoText(InvMaintenanceInfoOfRow(read));
        return row;
    });
}

TInvMaintenanceInfo InvMaintenanceInfoOfRow(const DbStatement& read)
{
    // The two stored texts are compared in place, without the general
    // conversion; anything else goes through it and fails there when it is no integer.
    const auto flag = [&read](int column) {
        const QByteArrayView text = read.columnUtf8(column);
        if (text == "0") return false;
        if (text == "-1") return true;
        return StrToInt(read.columnText(column)) != 0;
    };
    const bool paid = flag(4);
    const bool recurring = flag(6);
    return paid ? TInvMaintenanceInfo::Paid : recurring ? TInvMaintenanceInfo::Recurring : TInvMaintenanceInfo::None;
}

QString InvMaintenanceInfoText(TInvMaintenanceInfo info)
{
    switch (info) {
    case TInvMaintenanceInfo::Paid: return QStringLiteral("Paid");
    case TInvMaintenanceInfo::Recurring: return QStringLiteral("Recurring");
    case TInvMaintenanceInfo::None: break;
    }
    return QString();
}

QString InvMaintenanceDocumentName(const TInvMaintenanceRow& row)
{
    return InvDisplayName(row.strInvName, row.intInvNumber);
}

TInvMaintenanceAction InvMaintenanceActionForMode(TInvMaintenanceMode mode)
{
    switch (mode) {
    case TInvMaintenanceMode::ViewAll:
    case TInvMaintenanceMode::ViewUnpaid:
    case TInvMaintenanceMode::RecurringView: return TInvMaintenanceAction::OpenInEditor;
    case TInvMaintenanceMode::EstimateToWorkOrder: return TInvMaintenanceAction::ConvertToWorkOrder;
    case TInvMaintenanceMode::EstimateOrWorkOrderToInvoice:
    case TInvMaintenanceMode::ChangeOrderToInvoice: return TInvMaintenanceAction::ConvertToInvoice;
    case TInvMaintenanceMode::InvoiceToCredit: return TInvMaintenanceAction::ConvertToCredit;
    case TInvMaintenanceMode::PastDueNotice: return TInvMaintenanceAction::CreatePastDueNotice;
    case TInvMaintenanceMode::PaidInFull: return TInvMaintenanceAction::MarkPaidInFull;
    case TInvMaintenanceMode::DeleteDocument: return TInvMaintenanceAction::Delete;
    case TInvMaintenanceMode::RecurringAdd: return TInvMaintenanceAction::RecurringOn;
    case TInvMaintenanceMode::RecurringRemove: return TInvMaintenanceAction::RecurringOff;
    }
    return TInvMaintenanceAction::OpenInEditor;
}

QString InvMaintenanceQuestion(TInvMaintenanceMode mode, const QString& name)
{
    switch (mode) {
    case TInvMaintenanceMode::EstimateToWorkOrder: return QStringLiteral("Convert ") + name + QStringLiteral(" to Work Order?");
    case TInvMaintenanceMode::EstimateOrWorkOrderToInvoice:
    case TInvMaintenanceMode::ChangeOrderToInvoice: return QStringLiteral("Convert ") + name + QStringLiteral(" to Invoice?");
    case TInvMaintenanceMode::InvoiceToCredit: return QStringLiteral("Convert ") + name + QStringLiteral(" to Credit?");
    case TInvMaintenanceMode::PastDueNotice: return QStringLiteral("Create Past Due Notice for ") + name;
    case TInvMaintenanceMode::PaidInFull: return QStringLiteral("Change ") + name + QStringLiteral(" to Paid In Full?");
    case TInvMaintenanceMode::DeleteDocument: return QStringLiteral("Delete ") + name + QLatin1Char('?');
    case TInvMaintenanceMode::RecurringAdd: return QStringLiteral("Add ") + name + QStringLiteral(" to recurring list?");
    case TInvMaintenanceMode::RecurringRemove:
        return QStringLiteral("Remove ") + name + QStringLiteral(" from recurring list?");
    case TInvMaintenanceMode::ViewAll:
    case TInvMaintenanceMode::ViewUnpaid:
    case TInvMaintenanceMode::RecurringView: break;
    }
    return QString();
}

void RunInvMaintenanceAction(TInvMaintenanceMode mode, const TInvMaintenanceRow& row)
{
    const int number = row.intInvNumber;
    switch (InvMaintenanceActionForMode(mode)) {
    case TInvMaintenanceAction::OpenInEditor: break; // the screen opens the editor itself
    case TInvMaintenanceAction::ConvertToWorkOrder: ConvertDocument(number, QStringLiteral("Work Order"), QString()); break;
    case TInvMaintenanceAction::ConvertToInvoice: ConvertDocument(number, QStringLiteral("Invoice"), QString()); break;
    case TInvMaintenanceAction::ConvertToCredit:
        ConvertDocument(number, QStringLiteral("Credit"), InvMaintenanceDocumentName(row));
        break;
    case TInvMaintenanceAction::CreatePastDueNotice:
        CopyDocument(number, QStringLiteral("Past Due"), InvMaintenanceDocumentName(row), true);
        break;
    case TInvMaintenanceAction::MarkPaidInFull: MarkPaidInFull(number); break;
    case TInvMaintenanceAction::Delete: DeleteDocument(number); break;
    case TInvMaintenanceAction::RecurringOn: SetRecurring(number, true); break;
    case TInvMaintenanceAction::RecurringOff: SetRecurring(number, false); break;
    }
}
