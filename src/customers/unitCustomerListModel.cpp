#include "customers/unitCustomerListModel.h"

TCustomerListModel::TCustomerListModel(QObject* parent) : TPagedListModel(colCount, parent) {}

void TCustomerListModel::writeRow(const DbStatement& statement, TRowBlocks::Writer& row) const
{
    row.integer(statement.columnInt64(0));
    for (int column = 1; column <= 10; ++column) row.text(statement.columnUtf8(column));
}

TCustomerListRow TCustomerListModel::rowAt(int row) const
{
    TRowReader block = rowBlock(row);
    TCustomerListRow r;
    r.intCustomerID = block.integer();
    r.strCustFirstName = block.text();
    r.strCustLastName = block.text();
    r.strCustCompany = block.text();
    r.strCustAddress = block.text();
    r.strCustCity = block.text();
    r.strCustState = block.text();
    r.strCustZipCode = block.text();
    r.strCustPhone = block.text();
    r.strCustPhoneAreaCode = block.text();
    r.strCustPhoneExt = block.text();
    return r;
}

QString TCustomerListModel::cellText(int row, int column) const
{
    // Only the texts the cell shows are decoded: the view asks for every cell
    // of every row it paints.
    TRowReader block = rowBlock(row);
    const qint64 id = block.integer();
    if (column == colCustId) return QString::number(id);
    QByteArrayView t[10]; // first, last, company, address, city, state, zip, phone, area code, extension
    for (QByteArrayView& text : t) text = block.utf8();
    const auto text = [](QByteArrayView utf8) { return QString::fromUtf8(utf8); };
    switch (column) {
    case colCompany: return text(t[2]);
    case colName: return CustomerListName(t[0], t[1]);
    case colAddress: return text(t[3]);
    case colCityStateZip: return CustomerListCityStateZip(t[4], t[5], t[6]);
    case colPhone: return CustomerListPhone(t[8], t[7], t[9]);
    default: return QString();
    }
}

QString TCustomerListModel::columnCaption(int column) const
{
    switch (column) {
    case colCustId: return QStringLiteral("Cust ID");
    case colCompany: return QStringLiteral("Company");
    case colName: return QStringLiteral("Customer Name");
    case colAddress: return QStringLiteral("Address");
    case colCityStateZip: return QStringLiteral("City, State Zip");
    case colPhone: return QStringLiteral("Phone Number");
    default: return QString();
    }
}
