#include "maintenance/unitfrmReport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitPlugin.h"
#include "app/unitErrorHandler.h"
#include "app/unitModalRunner.h"
#include "app/unitRegional.h"
#include "app/unitRowListModel.h"
#include "app/unitSaveFilePicker.h"
#include "app/unitScreenParts.h"
#include "company/unitCompanyData.h"
#include "documents/unitDocumentModel.h"
#include "maintenance/ReportChartPlugin.h"
#include "maintenance/unitReportExport.h"
#include "printing/unitModPrintData.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

// The result list: the rows of the last view under the captions of the
// current column layout.
class TReportListModel : public TRowListModel<TReportRow> {
public:
    explicit TReportListModel(QObject* parent) : TRowListModel<TReportRow>(kReportColumns, parent) {}

    void setCaptions(const std::array<QString, kReportColumns>& captions)
    {
        m_captions = captions;
        emit headerDataChanged(Qt::Horizontal, 0, kReportColumns - 1);
    }
    void setReportRows(std::vector<TReportRow> rows)
    {
        m_rows = rows;
        setRows(std::move(rows));
    }
    const std::vector<TReportRow>& reportRows() const { return m_rows; }
    QString cellText(int row, int column) const override { return rowAt(row).cells[std::size_t(column)]; }

protected:
    QString columnCaption(int column) const override { return m_captions[std::size_t(column)]; }
    QVariant columnAlignment(int column) const override
    {
        return column >= 2 && column < kReportSortKeyColumn ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                            : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    }

private:
    std::array<QString, kReportColumns> m_captions;
    std::vector<TReportRow> m_rows;
};

namespace {

const TPluginInfo kChartsPlugin{"fennick-charts.so", FENNICK_CHARTS_SYMBOL, chartplugin::kInterfaceVersion,
                                 "chart support"};

std::array<QString, 3> companyTaxNames()
{
    return {recCmpnyInvData.strTaxName1, recCmpnyInvData.strTaxName2, recCmpnyInvData.strTaxName3};
}

} // namespace

TfrmReport::TfrmReport(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Reports"));
    resize(920, 800);

    QToolBar* toolBar = NewScreenToolBar(this);
    tlbtnClose = AddStandardIconButton(toolBar, QStringLiteral("tlbtnClose"), QStringLiteral("Close"),
                                       QStyle::SP_DialogCloseButton);
    tlbtnPrintPreview = AddStandardIconButton(toolBar, QStringLiteral("tlbtnPrintPreview"),
                                              QStringLiteral("Print Preview"), QStyle::SP_FileDialogContentsView);
    tlbtnPrint = AddStandardIconButton(toolBar, QStringLiteral("tlbtnPrint"), QStringLiteral("Print"),
                                       QStyle::SP_DriveFDIcon);
    tlbtnExportCsv = AddStandardIconButton(toolBar, QStringLiteral("tlbtnExportCsv"), QStringLiteral("Export CSV…"),
                                           QStyle::SP_DialogSaveButton);
    tlbtnHelp = AddStandardIconButton(toolBar, QStringLiteral("tlbtnHelp"), QStringLiteral("Help"),
                                      QStyle::SP_DialogHelpButton);

    cmbReportType = new QComboBox(this);
    cmbReportType->setObjectName(QStringLiteral("cmbReportType"));
    rbtnItemized = new QRadioButton(QStringLiteral("Itemized"), this);
    rbtnItemized->setObjectName(QStringLiteral("rbtnItemized"));
    rbtnSummery = new QRadioButton(QStringLiteral("Summery"), this);
    rbtnSummery->setObjectName(QStringLiteral("rbtnSummery"));
    rbtnItemized->setChecked(true);

    cmbReportStart = new QComboBox(this);
    cmbReportStart->setObjectName(QStringLiteral("cmbReportStart"));
    SpinEditReportStart = new QSpinBox(this);
    SpinEditReportStart->setObjectName(QStringLiteral("SpinEditReportStart"));
    SpinEditReportStart->setRange(1980, 2100);
    cmbReportEnd = new QComboBox(this);
    cmbReportEnd->setObjectName(QStringLiteral("cmbReportEnd"));
    SpinEditReportEnd = new QSpinBox(this);
    SpinEditReportEnd->setObjectName(QStringLiteral("SpinEditReportEnd"));
    SpinEditReportEnd->setMaximum(2100);
    // Years change by the arrows only.
    for (QSpinBox* year : {SpinEditReportStart, SpinEditReportEnd})
        if (auto* text = year->findChild<QLineEdit*>()) text->setReadOnly(true);
    btnVeiwReport = new QPushButton(QStringLiteral("Veiw Report"), this);
    btnVeiwReport->setObjectName(QStringLiteral("btnVeiwReport"));

    m_model = new TReportListModel(this);
    ListViewReport = new QTreeView(this);
    ListViewReport->setObjectName(QStringLiteral("ListViewReport"));
    ListViewReport->setModel(m_model);
    ListViewReport->setRootIsDecorated(false);
    ListViewReport->setItemsExpandable(false);
    ListViewReport->setUniformRowHeights(true);
    ListViewReport->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewReport->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewReport->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewReport->setAllColumnsShowFocus(true);
    ListViewReport->setSortingEnabled(false);
    ListViewReport->header()->setSectionsClickable(false);
    ListViewReport->header()->setSectionsMovable(false);
    // The visible columns share the list's width equally.
    ListViewReport->header()->setSectionResizeMode(QHeaderView::Stretch);

    // Qt Charts is loaded with the screen's first opening; without it the list
    // still works and the chart's place says what is missing.
    try {
        m_charts = &LoadPlugin<chartplugin::Charts>(kChartsPlugin);
        ChartViewReport = m_charts->createView(this, QStringLiteral("ChartReport"));
        ChartViewReport->setObjectName(QStringLiteral("ChartViewReport"));
    } catch (const AppError& error) {
        auto* missing = new QLabel(error.message(), this);
        missing->setObjectName(QStringLiteral("lblChartMissing"));
        missing->setWordWrap(true);
        missing->setAlignment(Qt::AlignCenter);
        ChartViewReport = missing;
    }
    ChartViewReport->setMinimumHeight(300);

    auto* parameters = new QGridLayout;
    parameters->addWidget(MakeCaption(QStringLiteral("Report &type:"), cmbReportType, this), 0, 0);
    parameters->addWidget(cmbReportType, 0, 1);
    auto* choice = new QHBoxLayout;
    choice->addWidget(rbtnItemized);
    choice->addWidget(rbtnSummery);
    choice->addStretch(1);
    parameters->addLayout(choice, 0, 2, 1, 2);
    parameters->addWidget(MakeCaption(QStringLiteral("&Start:"), cmbReportStart, this), 1, 0);
    parameters->addWidget(cmbReportStart, 1, 1);
    parameters->addWidget(SpinEditReportStart, 1, 2);
    parameters->addWidget(MakeCaption(QStringLiteral("&End:"), cmbReportEnd, this), 2, 0);
    parameters->addWidget(cmbReportEnd, 2, 1);
    parameters->addWidget(SpinEditReportEnd, 2, 2);
    parameters->addWidget(btnVeiwReport, 2, 3, Qt::AlignLeft);
    parameters->setColumnStretch(4, 1);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("SplitterReport"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(ListViewReport);
    splitter->addWidget(ChartViewReport);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({320, 340});

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolBar);
    layout->addLayout(parameters);
    layout->addWidget(splitter, 1);

    // A button on a tool bar shows and hides through its tool bar entry.
    for (QAction* entry : toolBar->actions())
        if (QWidget* button = toolBar->widgetForAction(entry);
            button == tlbtnPrintPreview || button == tlbtnPrint || button == tlbtnExportCsv)
            m_printEntries << entry;
    // Nothing to print until a view has rows.
    pShowPrintCommands(false);

    connect(tlbtnClose, &QToolButton::clicked, this, [this] { RunGuarded([this] { close(); }); });
    connect(tlbtnHelp, &QToolButton::clicked, this, [] { RunGuarded([] { OpenHelpFile(); }); });
    connect(tlbtnPrint, &QToolButton::clicked, this, [this] { RunGuarded([this] { tlbtnPrintClick(); }); });
    connect(tlbtnPrintPreview, &QToolButton::clicked, this,
            [this] { RunGuarded([this] { tlbtnPrintPreviewClick(); }); });
    connect(tlbtnExportCsv, &QToolButton::clicked, this, [this] { RunGuarded([this] { tlbtnExportCsvClick(); }); });
    connect(btnVeiwReport, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnVeiwReportClick(); }); });
    connect(cmbReportType, &QComboBox::currentIndexChanged, this, [this] { RunGuarded([this] { pClearResults(); }); });
    connect(rbtnItemized, &QRadioButton::toggled, this, [this] { RunGuarded([this] { pClearResults(); }); });
    connect(cmbReportStart, &QComboBox::currentIndexChanged, this, [this] {
        RunGuarded([this] {
            pClearResults();
            pSetEndReportData();
        });
    });
    connect(SpinEditReportStart, &QSpinBox::valueChanged, this,
            [this] { RunGuarded([this] { SpinEditReportStartChange(); }); });
    connect(SpinEditReportEnd, &QSpinBox::valueChanged, this, [this] {
        RunGuarded([this] {
            pClearResults();
            pSetEndReportData();
        });
    });
    connect(cmbReportEnd, &QComboBox::currentIndexChanged, this, [this] { RunGuarded([this] { pClearResults(); }); });

    // The state the screen opens with; pShowFormInformation sets the texts.
    {
        const QSignalBlocker blockType(cmbReportType);
        const QSignalBlocker blockStart(cmbReportStart);
        cmbReportType->addItems(ReportTypeNames());
        cmbReportType->setCurrentIndex(0);
        cmbReportStart->addItems(ReportMonthNames());
        cmbReportStart->setCurrentIndex(QDate::currentDate().month() - 1);
    }
    // Setting the start year counts as a change: it sets the end year and the
    // end months, and leaves no results.
    SpinEditReportStart->setValue(QDate::currentDate().year());
    SpinEditReportStartChange();
    pSetColumnLayout();
}

void TfrmReport::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown || event->spontaneous()) return;
    m_shown = true;
    RunGuarded([this] { pShowFormInformation(); });
}

void TfrmReport::pShowFormInformation()
{
    setWindowTitle(QStringLiteral("Reports"));
    cmbReportType->setToolTip(QStringLiteral("Select a report type"));
    rbtnItemized->setToolTip(QStringLiteral("View report itemized"));
    rbtnSummery->setToolTip(QStringLiteral("View report summarized"));
    cmbReportStart->setToolTip(QStringLiteral("Select report start month"));
    SpinEditReportStart->setToolTip(QStringLiteral("Select report start year"));
    cmbReportEnd->setToolTip(QStringLiteral("Select report end month"));
    SpinEditReportEnd->setToolTip(QStringLiteral("Select report end year"));
    btnVeiwReport->setToolTip(QStringLiteral("View selected report"));
    ListViewReport->setToolTip(QStringLiteral("Report"));
    ChartViewReport->setToolTip(QStringLiteral("Report chart"));
    tlbtnClose->setToolTip(QStringLiteral("Close"));
    tlbtnPrintPreview->setToolTip(QStringLiteral("Print Preview Report"));
    tlbtnPrint->setToolTip(QStringLiteral("Print Report"));
    tlbtnExportCsv->setToolTip(QStringLiteral("Export the report as a CSV file"));
    tlbtnHelp->setToolTip(QStringLiteral("Open Help"));
    pSetColumnLayout();
}

TReportType TfrmReport::reportType() const
{
    return TReportType(std::clamp(cmbReportType->currentIndex(), 0, 2));
}

bool TfrmReport::itemized() const { return rbtnItemized->isChecked(); }

const std::vector<TReportRow>& TfrmReport::shownRows() const { return m_model->reportRows(); }

void TfrmReport::SpinEditReportStartChange()
{
    pClearResults();
    {
        const QSignalBlocker blockEnd(SpinEditReportEnd);
        SpinEditReportEnd->setMinimum(SpinEditReportStart->value());
        SpinEditReportEnd->setValue(SpinEditReportStart->value());
    }
    pSetEndReportData();
}

void TfrmReport::pSetEndReportData()
{
    const QSignalBlocker blockEnd(cmbReportEnd);
    cmbReportEnd->clear();
    cmbReportEnd->addItems(ReportEndMonths(cmbReportStart->currentIndex() + 1, SpinEditReportStart->value(),
                                           SpinEditReportEnd->value()));
    cmbReportEnd->setCurrentIndex(0);
}

void TfrmReport::pSetColumnLayout()
{
    m_captions = ReportColumnCaptions(reportType(), itemized(), companyTaxNames());
    m_model->setCaptions(m_captions);
    for (int column = 0; column < kReportColumns; ++column)
        ListViewReport->setColumnHidden(column, m_captions[std::size_t(column)].isEmpty());
}

void TfrmReport::pClearResults()
{
    if (!m_resultsShown) return;
    m_resultsShown = false;
    pShowNoResults();
}

void TfrmReport::pShowNoResults()
{
    m_model->setReportRows({});
    pShowPrintCommands(false);
    m_chartData = {};
    pDrawChart();
}

void TfrmReport::pShowPrintCommands(bool shown)
{
    for (QAction* entry : m_printEntries) {
        entry->setVisible(shown);
        entry->setEnabled(shown);
    }
    // The tool bar lays its buttons out later; they show or hide at once.
    for (QToolButton* button : {tlbtnPrintPreview, tlbtnPrint, tlbtnExportCsv})
        if (isVisible()) button->setVisible(shown);
}

void TfrmReport::btnVeiwReportClick()
{
    const int startMonth = cmbReportStart->currentIndex() + 1;
    const int endMonth = ReportMonthNumber(cmbReportEnd->currentText());
    // A view that fails shows nothing of the one before: no rows, no chart and
    // nothing to print or export.
    m_resultsShown = false;
    pShowNoResults();
    std::vector<TReportRow> rows = QueryReportRows(reportType(), itemized(), startMonth, SpinEditReportStart->value(),
                                                   endMonth, SpinEditReportEnd->value());
    pSetColumnLayout();
    m_model->setReportRows(std::move(rows));
    m_resultsShown = true;
    const bool anyRows = !m_model->reportRows().empty();
    pShowPrintCommands(anyRows);
    m_chartData = BuildReportChartData(m_model->reportRows(), reportType(), itemized(), m_captions);
    pDrawChart();
}

void TfrmReport::pDrawChart()
{
    if (!m_charts) return;
    chartplugin::BarChart chart;
    chart.title = m_model->reportRows().empty() ? QString() : cmbReportType->currentText();
    if (!m_chartData.categories.isEmpty()) {
        chart.stacked = m_chartData.stacked;
        double low = 0;
        double high = 0;
        for (const TReportChartSet& data : m_chartData.sets) chart.sets.append({data.name, data.values});
        // The axis spans every bar; stacked bars reach the sum of their parts.
        for (int category = 0; category < m_chartData.categories.size(); ++category) {
            double positive = 0;
            double negative = 0;
            for (const TReportChartSet& data : m_chartData.sets) {
                const double value = data.values.value(category);
                if (m_chartData.stacked) {
                    (value < 0 ? negative : positive) += value;
                } else {
                    low = std::min(low, value);
                    high = std::max(high, value);
                }
            }
            low = std::min(low, negative);
            high = std::max(high, positive);
        }
        // Short month names under the bars; a long range turns them to fit.
        chart.categoryLabels = ReportChartLabels(m_chartData.months);
        if (chart.categoryLabels.size() > 12) chart.categoryLabelsAngle = -60;
        // Money on the axis in the program's currency form; a tick beyond what
        // money text holds (the axis rounds outward) reads "####".
        for (double tick : ReportAxisTicks(low, high)) chart.valueTicks.append({MoneyDisplayText(tick), tick});
    }
    m_charts->draw(ChartViewReport, chart);
}

void TfrmReport::pFillPrintLists()
{
    recPrintLists.reportType = int(reportType());
    for (std::size_t column = 0; column < recPrintLists.reportHeadings.size(); ++column)
        recPrintLists.reportHeadings[column] = m_captions[column];
    recPrintLists.reportRows.clear();
    for (const TReportRow& row : m_model->reportRows()) {
        TReportPrintRow printRow;
        std::copy_n(row.cells.begin(), printRow.size(), printRow.begin());
        recPrintLists.reportRows.append(printRow);
    }
    intPrintJob = pjTaxSalesReport;
}

void TfrmReport::tlbtnPrintClick()
{
    pFillPrintLists();
    modPrintData.pPrint();
}

void TfrmReport::tlbtnPrintPreviewClick()
{
    pFillPrintLists();
    modPrintData.pPrintPreview();
}

void TfrmReport::tlbtnExportCsvClick()
{
    const QString path = ChooseSaveFile(this, {QStringLiteral("dlgExportCsv"), QStringLiteral("Export CSV"),
                                               QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"),
                                               cmbReportType->currentText() + QStringLiteral(".csv")});
    if (path.isEmpty()) return;
    WriteReportCsv(path, m_model->reportRows(), m_captions, ReportVisibleColumns(reportType(), itemized()));
}
