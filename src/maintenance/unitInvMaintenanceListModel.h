#pragma once
// The result list of invoice maintenance as a table model: six read-only
// columns over the rows of one query, read in pages as the view scrolls, so
// a million stored documents list as fast as a hundred.
#include "app/unitPagedListModel.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"

class TInvMaintenanceListModel : public TPagedListModel {
    Q_OBJECT
public:
    enum Column { ColNumber, ColInvoiceType, ColCustomer, ColCompany, ColTotal, ColInfo, ColumnCount };

    explicit TInvMaintenanceListModel(QObject* parent = nullptr);

    TInvMaintenanceRow row(int index) const;

    QString cellText(int row, int column) const override;

protected:
    void writeRow(const DbStatement& statement, TRowBlocks::Writer& row) const override;
    QString columnCaption(int column) const override;
    QVariant columnAlignment(int column) const override;
};
