#pragma once
// Which customers the list shows: the eleven search types of the customer
// screen, the statement each one runs, and the rows it returns.
#include "db/unitListQuery.h"

#include <QString>
#include <QStringList>
#include <vector>

// Positions in the search-type drop-down.
enum TCustomerSearchType {
    cstAllCustomers = 0,
    cstCompanyName,
    cstLastName,
    cstFirstName,
    cstPhoneNumber,
    cstPhoneAreaCode,
    cstCity,
    cstState,
    cstZipCode,
    cstCustomerId,
    cstTaxExempt,
};

// The drop-down entries, in index order.
QStringList CustomerSearchTypeNames();

// Types that list without a search text: the search box is cleared and disabled.
bool CustomerSearchNeedsText(int searchType);

// The statement for a search type and text. The text is bound as a parameter,
// so any character in it (a double quote too) is searched for as typed; the
// match is a prefix in any letter case, and "%" and "_" typed by the user keep
// their wildcard meaning.
TListQuery BuildCustomerQuery(int searchType, const QString& text);

// One row of the customer list, as read by the list query.
struct TCustomerListRow {
    qint64 intCustomerID = 0;
    QString strCustFirstName;
    QString strCustLastName;
    QString strCustCompany;
    QString strCustAddress;
    QString strCustCity;
    QString strCustState;
    QString strCustZipCode;
    QString strCustPhone;
    QString strCustPhoneAreaCode;
    QString strCustPhoneExt;
};

// The row of the list query the statement stands on.
TCustomerListRow ReadCustomerListRow(const DbStatement& statement);

// Runs the search on its own connection; rows in table order (ascending id).
std::vector<TCustomerListRow> QueryCustomerList(int searchType, const QString& text);

// The texts of the list columns built from the stored parts (as UTF-8).
QString CustomerListName(QByteArrayView first, QByteArrayView last);                           // "John Smith"
QString CustomerListCityStateZip(QByteArrayView city, QByteArrayView state, QByteArrayView zip); // "City, State 12345"
QString CustomerListPhone(QByteArrayView areaCode, QByteArrayView phone, QByteArrayView extension); // "225-1234567 12"
