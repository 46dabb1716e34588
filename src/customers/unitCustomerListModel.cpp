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
    const TCustomerListRow r = rowAt(row);
    switch (column) {
    case colCustId: return QString::number(r.intCustomerID);
    case colCompany: return r.strCustCompany;
    case colName: return CustomerListName(r);
    case colAddress: return r.strCustAddress;
    case colCityStateZip: return CustomerListCityStateZip(r);
    case colPhone: return CustomerListPhone(r);
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
