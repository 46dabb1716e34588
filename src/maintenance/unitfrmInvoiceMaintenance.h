#pragma once
// Invoice maintenance: finds stored documents by mode, type and search text,
// and acts on the one clicked: opens it in the editor, or, after a question,
// converts it, makes a past-due notice of it, marks it paid in full, deletes
// it, or puts it on or takes it off the recurring list.
#include "maintenance/unitInvoiceMaintenanceRules.h"

#include <QDialog>

class QStringListModel;

class QComboBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QToolButton;
class QTableView;
class TInvMaintenanceListModel;

class TfrmInvoiceMaintenance : public QDialog {
    Q_OBJECT

public:
    // Opens in the unpaid mode when blShowUnpaidOnly is set, otherwise in mode 0.
    explicit TfrmInvoiceMaintenance(QWidget* parent = nullptr);

    // Runs the query of the current mode, search type and text and refills the list.
    void pQuerySavedInvoices();

    TInvMaintenanceMode currentMode() const;
    const TInvMaintenanceListModel& listModel() const { return *m_model; }
    TInvMaintenanceListModel& listModel() { return *m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pShowFormInformation();
    void pBuildSearchList();
    void cmboInvMaintenanceTypeChange();
    void cmboInvSearchChange();
    void txtInvSearchChange();
    void lstvwInvMaintenanceClick(const QModelIndex& index);
    void pActOnRow(int row);

    QLabel* lblInvMaintenanceType = nullptr;
    QComboBox* cmboInvMaintenanceType = nullptr;
    QLabel* lblInvMaintenance = nullptr;
    QComboBox* cmboInvSearch = nullptr;
    QLineEdit* txtInvSearch = nullptr;
    QTableView* lstvwInvMaintenance = nullptr;
    QToolButton* tlbtnClose = nullptr;
    QToolButton* tlbtnHelp = nullptr;

    TInvMaintenanceListModel* m_model = nullptr;
    QStringListModel* m_searchItems = nullptr;   // the items of cmboInvSearch
    bool m_shown = false;
};
