#pragma once
// The reports screen: the monthly sales and tax ledger as a sales, tax or
// combined report over a range of months, one row per month or a labour and a
// material row per month, with a bar chart of the rows shown. Prints and
// previews exactly what it shows, and exports it as CSV.
#include "maintenance/unitReportRules.h"

#include <QDialog>
#include <QList>

class QAction;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QPushButton;
class QToolButton;
class QTreeView;
class TReportListModel;
namespace chartplugin {
class Charts;
}

class TfrmReport : public QDialog {
    Q_OBJECT

public:
    explicit TfrmReport(QWidget* parent = nullptr);

    TReportType reportType() const;
    bool itemized() const;
    // The rows shown, in list order.
    const std::vector<TReportRow>& shownRows() const;
    // The captions of columns 0 to 7 as currently set (empty: hidden).
    const std::array<QString, kReportColumns>& columnCaptions() const { return m_captions; }
    // What the chart currently draws.
    const TReportChartData& chartData() const { return m_chartData; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pShowFormInformation();
    void pSetEndReportData();
    void pSetColumnLayout();
    void pClearResults();
    void pShowNoResults();
    void pShowPrintCommands(bool shown);
    void pDrawChart();
    void pFillPrintLists();
    void btnVeiwReportClick();
    void SpinEditReportStartChange();
    void tlbtnPrintClick();
    void tlbtnPrintPreviewClick();
    void tlbtnExportCsvClick();

    QComboBox* cmbReportType = nullptr;
    QRadioButton* rbtnItemized = nullptr;
    QRadioButton* rbtnSummery = nullptr;
    QComboBox* cmbReportStart = nullptr;
    QSpinBox* SpinEditReportStart = nullptr;
    QComboBox* cmbReportEnd = nullptr;
    QSpinBox* SpinEditReportEnd = nullptr;
    QPushButton* btnVeiwReport = nullptr;
    QTreeView* ListViewReport = nullptr;
    QWidget* ChartViewReport = nullptr;   // the chart view of the chart plug-in
    QToolButton* tlbtnClose = nullptr;
    QToolButton* tlbtnPrintPreview = nullptr;
    QToolButton* tlbtnPrint = nullptr;
    QToolButton* tlbtnExportCsv = nullptr;
    QToolButton* tlbtnHelp = nullptr;

    TReportListModel* m_model = nullptr;
    chartplugin::Charts* m_charts = nullptr;   // null: the chart plug-in is missing
    QList<QAction*> m_printEntries;
    std::array<QString, kReportColumns> m_captions;
    TReportChartData m_chartData;
    bool m_resultsShown = false;
    bool m_shown = false;
};
