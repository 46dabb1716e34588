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
    // Only the value the cell shows is decoded (read in writeRow's order).
    TRowReader block = rowBlock(index);
    const qint64 number = block.integer();
    if (column == ColNumber) return QString::number(int(number));
    const QByteArrayView invoiceType = block.utf8();
    const QByteArrayView customer = block.utf8();
    const QByteArrayView company = block.utf8();
    switch (column) {
    case ColInvoiceType: return QString::fromUtf8(invoiceType);
    case ColCustomer: return QString::fromUtf8(customer);
    case ColCompany: return QString::fromUtf8(company);
    case ColTotal: return MoneyDisplayText(block.real()); // formatted only for the rows on screen
    case ColInfo: block.real(); return InvMaintenanceInfoText(TInvMaintenanceInfo(block.integer()));
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
