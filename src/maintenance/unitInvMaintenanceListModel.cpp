#include "maintenance/unitInvMaintenanceListModel.h"

#include "documents/unitDocumentModel.h"

TInvMaintenanceListModel::TInvMaintenanceListModel(QObject* parent) : TPagedListModel(ColumnCount, parent) {}

void TInvMaintenanceListModel::writeRow(const DbStatement& statement, TRowBlocks::Writer& row) const
{
    row.integer(statement.columnInt(0));
    row.text(statement.columnUtf8(3)).text(statement.columnUtf8(2)).text(statement.columnUtf8(1));
    row.real(statement.columnDouble(5));
    row.integer(int(InvMaintenanceInfoOfRow(statement)));
}

TInvMaintenanceRow TInvMaintenanceListModel::row(int index) const
{
    TRowReader block = rowBlock(index);
    TInvMaintenanceRow r;
    r.intInvNumber = int(block.integer());
    r.strInvName = block.text();
    r.strCustFullName = block.text();
    r.strCustCmpnyName = block.text();
    r.dbInvTotal = block.real();
    r.strInfo = InvMaintenanceInfoText(TInvMaintenanceInfo(block.integer()));
    return r;
}

QString TInvMaintenanceListModel::cellText(int index, int column) const
{
    const TInvMaintenanceRow r = row(index);
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
