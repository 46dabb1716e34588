#pragma once
// The rows of the customer list for the list view: refilled in one go, so a
// list of 100,000 customers costs one reset and no per-row widgets.
#include "app/unitRowListModel.h"
#include "customers/unitCustomerSearch.h"

class TCustomerListModel : public TRowListModel<TCustomerListRow> {
    Q_OBJECT
public:
    enum Column { colCustId = 0, colCompany, colName, colAddress, colCityStateZip, colPhone, colCount };

    explicit TCustomerListModel(QObject* parent = nullptr);

    QString cellText(int row, int column) const override;

protected:
    QString columnCaption(int column) const override;
};
