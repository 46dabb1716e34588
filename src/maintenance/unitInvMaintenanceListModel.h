#pragma once
// The result list of invoice maintenance as a table model: six read-only
// columns over the rows of one query, replaced in one reset so a list of any
// length refills in one go.
#include "app/unitRowListModel.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"

class TInvMaintenanceListModel : public TRowListModel<TInvMaintenanceRow> {
    Q_OBJECT
public:
    enum Column { ColNumber, ColInvoiceType, ColCustomer, ColCompany, ColTotal, ColInfo, ColumnCount };

    explicit TInvMaintenanceListModel(QObject* parent = nullptr);

    const TInvMaintenanceRow& row(int index) const { return rowAt(index); }

    QString cellText(int row, int column) const override;

protected:
    QString columnCaption(int column) const override;
    QVariant columnAlignment(int column) const override;
};
