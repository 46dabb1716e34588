#pragma once
// The rows of the customer list for the list view, read in pages as the view
// scrolls, so a list of a million customers opens as fast as one of a hundred.
#include "app/unitPagedListModel.h"
#include "customers/unitCustomerSearch.h"

class TCustomerListModel : public TPagedListModel {
    Q_OBJECT
public:
    enum Column { colCustId = 0, colCompany, colName, colAddress, colCityStateZip, colPhone, colCount };

    explicit TCustomerListModel(QObject* parent = nullptr);

    // Lists the customers of a search type and text, from the first page on.
    void setSearch(int searchType, const QString& text) { setQuery(BuildCustomerQuery(searchType, text)); }
    TCustomerListRow rowAt(int row) const;
    QString cellText(int row, int column) const override;

protected:
    void writeRow(const DbStatement& statement, TRowBlocks::Writer& row) const override;
    QString columnCaption(int column) const override;
};
