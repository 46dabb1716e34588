#include "customers/unitCustomerSearch.h"

#include <QVarLengthArray>
#include <initializer_list>

namespace {
const QString kListColumns = QStringLiteral(
    "intCustomerID, strCustFirstName, strCustLastName, strCustCompany, strCustAddress, "
    "strCustCity, strCustState, strCustZipCode, strCustPhone, strCustPhoneAreaCode, strCustPhoneExt");

// The column each text search looks at, by search type.
QString SearchColumn(int searchType)
{
    switch (searchType) {
    case cstCompanyName: return QStringLiteral("strCustCompany");
    case cstLastName: return QStringLiteral("strCustLastName");
    case cstFirstName: return QStringLiteral("strCustFirstName");
    case cstPhoneNumber: return QStringLiteral("strCustPhone");
    case cstPhoneAreaCode: return QStringLiteral("strCustPhoneAreaCode");
    case cstCity: return QStringLiteral("strCustCity");
    case cstState: return QStringLiteral("strCustState");
    case cstZipCode: return QStringLiteral("strCustZipCode");
    case cstCustomerId: return QStringLiteral("intCustomerID");
    default: return QString();
    }
}
} // namespace

QStringList CustomerSearchTypeNames()
{
    return {QStringLiteral("All Customers"), QStringLiteral("Company Name"), QStringLiteral("Last Name"),
            QStringLiteral("First Name"),    QStringLiteral("Phone Number"), QStringLiteral("Phone Area Code"),
            QStringLiteral("City"),          QStringLiteral("State"),        QStringLiteral("Zip Code"),
            QStringLiteral("Customer ID Number"), QStringLiteral("Tax Exempt")};
}

bool CustomerSearchNeedsText(int searchType)
{
    return searchType != cstAllCustomers && searchType != cstTaxExempt;
}

TListQuery BuildCustomerQuery(int searchType, const QString& text)
{
    // In the order the customers were added.
    TListQuery query{kListColumns, QStringLiteral("tblCustomers"), QString(), {}, QStringLiteral("intCustomerID")};
    if (searchType == cstTaxExempt) {
        query.condition = QStringLiteral("strCustTaxExmpt <> '0'");
    } else if (const QString column = SearchColumn(searchType); !column.isEmpty()) {
        query.condition = TextPrefixCondition(column);
        query.values = {text};
    }
    return query;
}

TCustomerListRow ReadCustomerListRow(const DbStatement& statement)
{
    TCustomerListRow row;
    row.intCustomerID = statement.columnInt64(0);
    row.strCustFirstName = statement.columnText(1);
    row.strCustLastName = statement.columnText(2);
    row.strCustCompany = statement.columnText(3);
    row.strCustAddress = statement.columnText(4);
    row.strCustCity = statement.columnText(5);
    row.strCustState = statement.columnText(6);
    row.strCustZipCode = statement.columnText(7);
    row.strCustPhone = statement.columnText(8);
    row.strCustPhoneAreaCode = statement.columnText(9);
    row.strCustPhoneExt = statement.columnText(10);
    return row;
}

std::vector<TCustomerListRow> QueryCustomerList(int searchType, const QString& text)
{
    return QueryListRows<TCustomerListRow>(BuildCustomerQuery(searchType, text), ReadCustomerListRow);
}

namespace {
// The parts joined as UTF-8 and decoded once: the view asks for these cells
// on every paint, and one string per cell is the least it can cost.
QString joinedUtf8(std::initializer_list<QByteArrayView> parts)
{
    QVarLengthArray<char, 256> bytes;
    for (QByteArrayView part : parts) bytes.append(part.data(), part.size());
    return QString::fromUtf8(bytes.constData(), bytes.size());
}
} // namespace

QString CustomerListName(QByteArrayView first, QByteArrayView last) { return joinedUtf8({first, " ", last}); }

QString CustomerListCityStateZip(QByteArrayView city, QByteArrayView state, QByteArrayView zip)
{
    return joinedUtf8({city, ", ", state, " ", zip});
}

QString CustomerListPhone(QByteArrayView areaCode, QByteArrayView phone, QByteArrayView extension)
{
    return joinedUtf8({areaCode, "-", phone, " ", extension});
}
