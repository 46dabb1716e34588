#include "maintenance/unitInvMaintenanceListModel.h"

#include "documents/unitDocumentModel.h"

TInvMaintenanceListModel::TInvMaintenanceListModel(QObject* parent) : TRowListModel(ColumnCount, parent) {}

QString TInvMaintenanceListModel::cellText(int row, int column) const
{
    const TInvMaintenanceRow& r = rowAt(row);
    switch (column) {
    case ColNumber: return QString::number(r.intInvNumber);
    case ColInvoiceType: return r.strInvName;
    case ColCustomer: return r.strCustFullName;
    case ColCompany: return r.strCustCmpnyName;
    case ColTotal: return MoneyDisplayText(r.dbInvTotal); // formatted only for the rows on screen
    case ColInfo: return r.strInfo;
    }
    return QString();
}

QString TInvMaintenanceListModel::columnCaption(int column) const
{
    switch (column) {
    case ColNumber: return QStringLiteral("Number");
    case ColInvoiceType: return QStringLiteral("Invoice Type");
    case ColCustomer: return QStringLiteral("Customer");
    case ColCompany: return QStringLiteral("Company");
    case ColTotal: return QStringLiteral("Total");
    case ColInfo: return QStringLiteral("Info");
    }
    return QString();
}

QVariant TInvMaintenanceListModel::columnAlignment(int column) const
{
    return column == ColTotal ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                              : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
}
