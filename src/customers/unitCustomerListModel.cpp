#include "customers/unitCustomerListModel.h"

TCustomerListModel::TCustomerListModel(QObject* parent) : TRowListModel(colCount, parent) {}

QString TCustomerListModel::cellText(int row, int column) const
{
    const TCustomerListRow& r = rowAt(row);
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
