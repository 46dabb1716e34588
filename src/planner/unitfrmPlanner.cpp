#include "planner/unitfrmPlanner.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitDateHelpers.h"
#include "app/unitDialogs.h"
#include "app/unitErrorHandler.h"
#include "app/unitLimitedEdit.h"
#include "app/unitRegional.h"
#include "app/unitScreenParts.h"
#include "app/unitfrmSaving.h"
#include "customers/unitLimitedMemo.h"
#include "planner/unitActivityCalendarFile.h"
#include "planner/unitPlannerListModel.h"
#include "planner/unitPlannerSettings.h"
#include "printing/unitModPrintData.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kTitleLimit = 35;
constexpr int kNotesLimit = 250;
constexpr int kActivityRole = TfrmPlanner::crActivity;
constexpr int kPriorityRole = TfrmPlanner::crPriority;
constexpr int kSelectedDayRole = TfrmPlanner::crSelectedDay;

const QTime kDefaultTime(8, 0);

TfrmPlanner::CalendarFileChooser& fileChooser()
{
    static TfrmPlanner::CalendarFileChooser chooser;
    return chooser;
}

// Sets a flag for the life of the object, so changes the screen makes itself do
// not come back as edit events.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_previous(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_previous; }

private:
    bool& m_flag;
    bool m_previous;
};

// Paints a calendar cell in its layers: the grid colour, then weekend, activity,
// priority and heading colour as they apply, the text redrawn 2 pixels in from
// the top-left corner each time. The selected day gets a frame, the cell with
// the keyboard focus a focus rectangle.
class TCalendarDayDelegate : public QStyledItemDelegate {
public:
    TCalendarDayDelegate(const QColor* act, const QColor* wknd, const QColor* priority, const QColor* heading,
                         QObject* parent)
        : QStyledItemDelegate(parent), m_act(act), m_wknd(wknd), m_priority(priority), m_heading(heading)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::DisplayRole).toString();
        TCalendarCell cell;
        cell.day = text.toInt();
        cell.activity = index.data(kActivityRole).toBool();
        cell.priority = index.data(kPriorityRole).toBool();
        const QRect rect = option.rect;
        painter->save();
        QFont font = option.font;
        if (index.row() == 0) font.setBold(true);
        painter->setFont(font);
        painter->setPen(option.palette.color(QPalette::Text));
        for (TCalendarLayer layer : CalendarCellLayers(index.row(), index.column(), cell)) {
            painter->fillRect(rect, layerColor(layer, option));
            painter->drawText(rect.adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop, text);
        }
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        if (index.data(kSelectedDayRole).toBool()) {
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 3));
            painter->drawRect(rect.adjusted(1, 1, -2, -2));
        }
        if ((option.state & QStyle::State_HasFocus) && index.row() > 0 && !text.isEmpty()) {
            painter->setPen(QPen(option.palette.color(QPalette::Text), 1, Qt::DotLine));
            painter->drawRect(rect.adjusted(4, 4, -5, -5));
        }
        painter->restore();
    }

private:
    QColor layerColor(TCalendarLayer layer, const QStyleOptionViewItem& option) const
    {
        switch (layer) {
        case TCalendarLayer::Weekend: return *m_wknd;
        case TCalendarLayer::Activity: return *m_act;
        case TCalendarLayer::Priority: return *m_priority;
        case TCalendarLayer::Heading: return *m_heading;
        default: return option.palette.color(QPalette::Base);
        }
    }

    const QColor* m_act;
    const QColor* m_wknd;
    const QColor* m_priority;
    const QColor* m_heading;
};

QColor ToQColor(std::uint32_t packed)
{
    const TRgb rgb = UnpackColor(packed);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space; }

} // namespace

void TfrmPlanner::SetCalendarFileChooser(CalendarFileChooser chooser) { fileChooser() = std::move(chooser); }

TfrmPlanner::TfrmPlanner(const QDate& today, QWidget* parent)
    : TfrmPlanner(today.isValid() ? TodayFunction([today] { return today; }) : TodayFunction(), parent)
{
}

TfrmPlanner::TfrmPlanner(TodayFunction today, QWidget* parent)
    : QDialog(parent), m_todayFunction(std::move(today))
{
    m_selected = m_shownToday = pToday();
    setObjectName(QStringLiteral("frmPlanner"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    resize(1100, 720);

    // Tool bar, in its order; every button is found by its name.
    tlbarPlanner = new QToolBar(this);
    tlbarPlanner->setObjectName(QStringLiteral("tlbarPlanner"));
    tlbarPlanner->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tlbtnClose = NewToolBarAction(tlbarPlanner, "tlbtnClose", QStringLiteral("Close"));
    tlbtnPrintPreview = NewToolBarAction(tlbarPlanner, "tlbtnPrintPreview", QStringLiteral("Print Preview"));
    tlbtnPrint = NewToolBarAction(tlbarPlanner, "tlbtnPrint", QStringLiteral("Print"));
    tlbtnCancel = NewToolBarAction(tlbarPlanner, "tlbtnCancel", QStringLiteral("Cancel"));
    tlbtnNewActivity = NewToolBarAction(tlbarPlanner, "tlbtnNewActivity", QStringLiteral("New Activity"));
    tlbtnSave = NewToolBarAction(tlbarPlanner, "tlbtnSave", QStringLiteral("Save"));
    tlbtnDelete = NewToolBarAction(tlbarPlanner, "tlbtnDelete", QStringLiteral("Delete"));
    tlbtnHelp = NewToolBarAction(tlbarPlanner, "tlbtnHelp", QStringLiteral("Help"));

    // Menu: each entry does what its tool button does and is enabled when it is.
    mnuPlanner = new QMenuBar(this);
    mnuPlanner->setObjectName(QStringLiteral("mnuPlanner"));
    auto entry = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    auto subMenu = [this](const char* name, const QString& title) {
        auto* menu = new QMenu(title, mnuPlanner);
        menu->setObjectName(QLatin1String(name));
        mnuPlanner->addMenu(menu);
        return menu;
    };
    QMenu* mnuFile = subMenu("mnuFile", QStringLiteral("&File"));
    submnuExportCalendar = entry(mnuFile, "submnuExportCalendar", QStringLiteral("&Export to Calendar File…"));
    mnuFile->addSeparator();
    submnuClose = entry(mnuFile, "submnuClose", QStringLiteral("&Close"));
    QMenu* mnuActivity = subMenu("mnuActivity", QStringLiteral("&Activity"));
    submnuNewActivity = entry(mnuActivity, "submnuNewActivity", QStringLiteral("&New Activity"));
    submnuSave = entry(mnuActivity, "submnuSave", QStringLiteral("&Save"));
    submnuCancel = entry(mnuActivity, "submnuCancel", QStringLiteral("&Cancel"));
    submnuDelete = entry(mnuActivity, "submnuDelete", QStringLiteral("&Delete"));
    QMenu* mnuPrint = subMenu("mnuPrint", QStringLiteral("&Print"));
    submnuPrint = entry(mnuPrint, "submnuPrint", QStringLiteral("&P&rint"));
    submnuPrintPreview = entry(mnuPrint, "submnuPrintPreview", QStringLiteral("&Print Pre&view"));
    QMenu* mnuHelp = subMenu("mnuHelp", QStringLiteral("&Help"));
    submnuHelp = entry(mnuHelp, "submnuHelp", QStringLiteral("&Help"));

    // Title across the top.
    lblDayMnthYear = new QLabel(this);
    lblDayMnthYear->setObjectName(QStringLiteral("lblDayMnthYear"));
    lblDayMnthYear->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblDayMnthYear->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    lblDayMnthYear->setFont(titleFont);

    // Left: list type, month navigation and the calendar.
    cmboPlannerType = new QComboBox(this);
    cmboPlannerType->setObjectName(QStringLiteral("cmboPlannerType"));
    cmboPlannerType->addItems({QStringLiteral("Day Planner List"), QStringLiteral("Week Planner List"),
                               QStringLiteral("Month Planner List")});
    btnActivityBack = new QPushButton(QStringLiteral("<<"), this);
    btnActivityBack->setObjectName(QStringLiteral("btnActivityBack"));
    btnActivityNext = new QPushButton(QStringLiteral(">>"), this);
    btnActivityNext->setObjectName(QStringLiteral("btnActivityNext"));
    lblTodayDateDay = new QLabel(this);
    lblTodayDateDay->setObjectName(QStringLiteral("lblTodayDateDay"));
    lblTodayDateDay->setAlignment(Qt::AlignCenter);
    QFont linkFont = lblTodayDateDay->font();
    linkFont.setUnderline(true);
    lblTodayDateDay->setFont(linkFont);
    lblTodayDateDay->setCursor(Qt::PointingHandCursor);
    lblTodayDateDay->setFocusPolicy(Qt::StrongFocus);
    lblTodayDateDay->installEventFilter(this);

    sgCalenderDay = new QTableWidget(this);
    sgCalenderDay->setObjectName(QStringLiteral("sgCalenderDay"));
    sgCalenderDay->setColumnCount(7);
    sgCalenderDay->horizontalHeader()->hide();
    sgCalenderDay->verticalHeader()->hide();
    sgCalenderDay->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgCalenderDay->setSelectionMode(QAbstractItemView::NoSelection);
    sgCalenderDay->setShowGrid(false);
    sgCalenderDay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgCalenderDay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgCalenderDay->setMinimumSize(300, 240);
    // Arrow keys move between the days; Tab and Shift+Tab leave the grid.
    sgCalenderDay->setTabKeyNavigation(false);
    sgCalenderDay->setItemDelegate(
        new TCalendarDayDelegate(&m_actColor, &m_wkndColor, &m_priorityColor, &m_headingColor, sgCalenderDay));
    sgCalenderDay->installEventFilter(this);
    sgCalenderDay->viewport()->installEventFilter(this);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(btnActivityBack);
    navigation->addWidget(lblTodayDateDay, 1);
    navigation->addWidget(btnActivityNext);
    auto* left = new QVBoxLayout;
    left->addWidget(cmboPlannerType);
    left->addLayout(navigation);
    left->addWidget(sgCalenderDay, 1);

    // Right: the activity list and the edit area.
    lvActivityEdit = new QTableView(this);
    lvActivityEdit->setObjectName(QStringLiteral("lvActivityEdit"));
    m_listModel = new TPlannerListModel(this);
    lvActivityEdit->setModel(m_listModel);
    SetUpRowList(lvActivityEdit);
    lvActivityEdit->setAlternatingRowColors(true);
    lvActivityEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lvActivityEdit->horizontalHeader()->setStretchLastSection(false);
    {
        // First, third, … row in the window colour, second, fourth, … in the button colour.
        QPalette palette = lvActivityEdit->palette();
        palette.setColor(QPalette::AlternateBase, palette.color(QPalette::Button));
        lvActivityEdit->setPalette(palette);
    }
    lvActivityEdit->viewport()->installEventFilter(this);

    auto* editArea = new QGroupBox(this);
    editArea->setObjectName(QStringLiteral("gbxActivityEdit"));
    ckbxActPriority = new QCheckBox(QStringLiteral("Mark Activity as a High Priority"), editArea);
    ckbxActPriority->setObjectName(QStringLiteral("ckbxActPriority"));
    txtPlannerActivity = new QLineEdit(editArea);
    txtPlannerActivity->setObjectName(QStringLiteral("txtPlannerActivity"));
    SetTypedLimit(txtPlannerActivity, kTitleLimit);
    lblActivity = MakeCaption(QStringLiteral("Activity"), txtPlannerActivity, editArea);
    lblActivity->setObjectName(QStringLiteral("lblActivity"));
    auto makeDatePicker = [editArea](const char* name) {
        auto* picker = new QDateTimeEdit(editArea);
        picker->setObjectName(QLatin1String(name));
        picker->setDisplayFormat(DisplayDateFormat());
        picker->setCalendarPopup(true);
        // Wall-clock values: a time skipped by a daylight-saving change is still
        // a valid time of that day.
        picker->setTimeSpec(Qt::UTC);
        // A typed date takes effect when it is complete (Enter, or the picker
        // left), not at each digit: "01" on the way to 01/02/2027 is no end date.
        picker->setKeyboardTracking(false);
        return picker;
    };
    auto makeTimePicker = [editArea](const char* name) {
        auto* picker = new QTimeEdit(editArea);
        picker->setObjectName(QLatin1String(name));
        picker->setDisplayFormat(DisplayLocale().timeFormat(QLocale::ShortFormat));
        picker->setTimeSpec(Qt::UTC);
        return picker;
    };
    dtPickerPlannerStartDateTime = makeDatePicker("dtPickerPlannerStartDateTime");
    dtPickerPlannerStartTime = makeTimePicker("dtPickerPlannerStartTime");
    dtPickerPlannerEndDateTime = makeDatePicker("dtPickerPlannerEndDateTime");
    dtPickerPlannerEndTime = makeTimePicker("dtPickerPlannerEndTime");
    lblActStart = MakeCaption(QStringLiteral("Activity Start"), dtPickerPlannerStartDateTime, editArea);
    lblActStart->setObjectName(QStringLiteral("lblActStart"));
    lblActEnd = MakeCaption(QStringLiteral("Activity End"), dtPickerPlannerEndDateTime, editArea);
    lblActEnd->setObjectName(QStringLiteral("lblActEnd"));
    txtActivityNotes = new TLimitedMemo(kNotesLimit, editArea);
    txtActivityNotes->setObjectName(QStringLiteral("txtActivityNotes"));
    txtActivityNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtActivityNotes->setTabChangesFocus(true);
    txtActivityNotes->setMaximumHeight(90);
    lblActNotes = MakeCaption(QStringLiteral("Activity Notes"), txtActivityNotes, editArea);
    lblActNotes->setObjectName(QStringLiteral("lblActNotes"));
    lblActYear = new QLabel(editArea);
    lblActYear->setObjectName(QStringLiteral("lblActYear"));
    lblActDayOfYear = new QLabel(editArea);
    lblActDayOfYear->setObjectName(QStringLiteral("lblActDayOfYear"));
    lblMasterID = new QLabel(editArea);
    lblMasterID->setObjectName(QStringLiteral("lblMasterID"));
    for (QLabel* hidden : {lblActYear, lblActDayOfYear, lblMasterID}) hidden->setVisible(false);

    auto* grid = new QGridLayout(editArea);
    grid->addWidget(ckbxActPriority, 0, 1, 1, 3);
    grid->addWidget(lblActivity, 1, 0);
    grid->addWidget(txtPlannerActivity, 1, 1, 1, 3);
    grid->addWidget(lblActStart, 2, 0);
    grid->addWidget(dtPickerPlannerStartDateTime, 2, 1);
    grid->addWidget(dtPickerPlannerStartTime, 2, 2);
    grid->addWidget(lblActEnd, 3, 0);
    grid->addWidget(dtPickerPlannerEndDateTime, 3, 1);
    grid->addWidget(dtPickerPlannerEndTime, 3, 2);
    grid->addWidget(lblActNotes, 4, 0, Qt::AlignTop);
    grid->addWidget(txtActivityNotes, 4, 1, 1, 3);
    grid->setColumnStretch(3, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(lvActivityEdit, 1);
    right->addWidget(editArea);

    auto* body = new QHBoxLayout;
    body->addLayout(left, 2);
    body->addLayout(right, 3);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(mnuPlanner);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(tlbarPlanner);
    layout->addWidget(lblDayMnthYear);
    layout->addLayout(body, 1);

    // Enter in a box must not press whichever button happens to be the default.
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);

    // Every edit event goes through the one edit handler.
    auto edit = [this](TPlannerEditSource source) {
        return [this, source] {
            if (m_inEdit) return;
            RunGuarded([this, source] {
                // A date still being typed counts as entered when a command reads the pickers.
                if (source == TPlannerEditSource::Save || source == TPlannerEditSource::Cancel) pCommitTypedDates();
                pEditActivity(source);
            });
        };
    };
    connect(dtPickerPlannerStartDateTime, &QDateTimeEdit::dateChanged, this, edit(TPlannerEditSource::StartDate));
    connect(dtPickerPlannerEndDateTime, &QDateTimeEdit::dateChanged, this, edit(TPlannerEditSource::EndDate));
    connect(dtPickerPlannerStartTime, &QTimeEdit::timeChanged, this, edit(TPlannerEditSource::StartTime));
    connect(dtPickerPlannerEndTime, &QTimeEdit::timeChanged, this, edit(TPlannerEditSource::EndTime));
    connect(txtPlannerActivity, &QLineEdit::textChanged, this, edit(TPlannerEditSource::Title));
    connect(txtActivityNotes, &QPlainTextEdit::textChanged, this, edit(TPlannerEditSource::Notes));
    connect(ckbxActPriority, &QCheckBox::toggled, this, edit(TPlannerEditSource::Priority));
    connect(cmboPlannerType, &QComboBox::currentIndexChanged, this, edit(TPlannerEditSource::ListType));
    connect(lvActivityEdit, &QTableView::clicked, this, edit(TPlannerEditSource::ListClicked));
    connect(lvActivityEdit, &QTableView::activated, this, edit(TPlannerEditSource::ListClicked));
    for (QAction* action : {tlbtnNewActivity, submnuNewActivity})
        connect(action, &QAction::triggered, this, edit(TPlannerEditSource::NewActivity));
    for (QAction* action : {tlbtnSave, submnuSave})
        connect(action, &QAction::triggered, this, edit(TPlannerEditSource::Save));
    for (QAction* action : {tlbtnDelete, submnuDelete})
        connect(action, &QAction::triggered, this, edit(TPlannerEditSource::Delete));
    for (QAction* action : {tlbtnCancel, submnuCancel})
        connect(action, &QAction::triggered, this, edit(TPlannerEditSource::Cancel));
    for (QAction* action : {tlbtnClose, submnuClose}) connect(action, &QAction::triggered, this, [this] { close(); });
    for (QAction* action : {tlbtnHelp, submnuHelp})
        connect(action, &QAction::triggered, this, [] { RunGuarded([] { OpenHelpFile(); }); });
    for (QAction* action : {tlbtnPrint, submnuPrint})
        connect(action, &QAction::triggered, this, [this] { RunGuarded([this] { pPrintList(false); }); });
    for (QAction* action : {tlbtnPrintPreview, submnuPrintPreview})
        connect(action, &QAction::triggered, this, [this] { RunGuarded([this] { pPrintList(true); }); });
    connect(submnuExportCalendar, &QAction::triggered, this, [this] { RunGuarded([this] { pExportCalendarFile(); }); });
    connect(btnActivityBack, &QPushButton::clicked, this, [this] { RunGuarded([this] { pStepMonth(-1); }); });
    connect(btnActivityNext, &QPushButton::clicked, this, [this] { RunGuarded([this] { pStepMonth(1); }); });
    connect(sgCalenderDay, &QTableWidget::cellClicked, this,
            [this](int row, int column) { RunGuarded([this, row, column] { pCalendarSelectCell(row, column); }); });

    // A planner left open over midnight moves on to the new day: checked each
    // minute and whenever the window becomes active again (after a suspend the
    // timer may be late).
    m_todayTimer = new QTimer(this);
    m_todayTimer->setObjectName(QStringLiteral("tmrPlannerToday"));
    m_todayTimer->setInterval(60 * 1000);
    connect(m_todayTimer, &QTimer::timeout, this, [this] { RunGuarded([this] { pRefreshToday(); }); });
    m_todayTimer->start();

    // Start: window state, caption and hints, settings, then today.
    setWindowState(arrFormMaximized[2] ? Qt::WindowMaximized : Qt::WindowNoState);
    RunGuarded([this] {
        pFormInformation();
        pLoadPlannerSettings();
        pFormPreSetData();
    });
}

TfrmPlanner::~TfrmPlanner() = default;

void TfrmPlanner::pFormInformation()
{
    setWindowTitle(QStringLiteral("Planner"));
    const std::pair<std::pair<QAction*, QAction*>, const char*> hints[] = {
        {{tlbtnClose, submnuClose}, "Close Planner"},
        {{tlbtnHelp, submnuHelp}, "Open Help"},
        {{tlbtnSave, submnuSave}, "Save changes to this Activity"},
        {{tlbtnCancel, submnuCancel}, "Cancel changes to this activity"},
        {{tlbtnDelete, submnuDelete}, "Delete this activity"},
        {{tlbtnNewActivity, submnuNewActivity}, "Add a new activity"},
        {{tlbtnPrint, submnuPrint}, "Print current Activity list"},
        {{tlbtnPrintPreview, submnuPrintPreview}, "Print Preview current Activity list"},
    };
    for (const auto& [actions, hint] : hints) {
        actions.first->setToolTip(QString::fromLatin1(hint));
        actions.second->setToolTip(QString::fromLatin1(hint));
    }
    submnuExportCalendar->setToolTip(QStringLiteral("Write the listed activities to a calendar file"));
    cmboPlannerType->setToolTip(QStringLiteral("Select Activity list type or change planner settings"));
    sgCalenderDay->setToolTip(QStringLiteral("Select a date to view or edit"));
    dtPickerPlannerStartDateTime->setToolTip(QStringLiteral("Select a start date for your activity"));
    dtPickerPlannerEndDateTime->setToolTip(QStringLiteral("Select an end date for your activity"));
    dtPickerPlannerStartTime->setToolTip(QStringLiteral("Select a start Time for this Activity"));
    dtPickerPlannerEndTime->setToolTip(QStringLiteral("Select an end Time for this Activity"));
    txtPlannerActivity->setToolTip(QStringLiteral("Enter or Edit Activity here"));
    txtActivityNotes->setToolTip(QStringLiteral("Enter or Edit Activity Notes here"));
    ckbxActPriority->setToolTip(QStringLiteral("Check if this Activity is a high priority"));
    lblTodayDateDay->setToolTip(QStringLiteral("Click to return to todays date"));
    lvActivityEdit->setToolTip(QStringLiteral("Select an Activity to Edit"));
    btnActivityBack->setToolTip(QStringLiteral("Previous Month"));
    btnActivityNext->setToolTip(QStringLiteral("Next Month"));
}

void TfrmPlanner::pLoadPlannerSettings()
{
    const TrecPlannerSettings settings = LoadPlannerSettings();
    m_actColor = ToQColor(settings.intActColor);
    m_wkndColor = ToQColor(settings.intWkndColor);
    m_priorityColor = ToQColor(settings.intPriorityColor);
    m_headingColor = palette().color(QPalette::Button);
    // A stored value outside the three list types opens the day list.
    m_defaultListType = (settings.intDefaultPlanner >= pltDay && settings.intDefaultPlanner <= pltMonth)
                            ? settings.intDefaultPlanner
                            : int(pltDay);
    QSignalBlocker blocker(cmboPlannerType);
    cmboPlannerType->setCurrentIndex(m_defaultListType);
}

void TfrmPlanner::pFormPreSetData()
{
    m_selected = pToday();
    pLoadYearFlags(m_selected.year());
    pDrawCalendar();
    if (cmboPlannerType->currentIndex() != m_defaultListType) cmboPlannerType->setCurrentIndex(m_defaultListType);
}

void TfrmPlanner::pLoadYearFlags(int year) { m_flags = pSearchPlannerActivity(year); }

void TfrmPlanner::pDrawCalendar()
{
    m_displayedYear = m_selected.year();
    m_displayedMonth = m_selected.month();
    m_month = BuildCalendarMonth(m_displayedYear, m_displayedMonth, m_flags);

    sgCalenderDay->clearContents();
    sgCalenderDay->setRowCount(m_month.rowCount());
    for (int column = 0; column < 7; ++column) {
        auto* heading = new QTableWidgetItem(m_month.headings[std::size_t(column)]);
        heading->setFlags(Qt::ItemIsEnabled);
        sgCalenderDay->setItem(0, column, heading);
    }
    for (int week = 0; week < int(m_month.weeks.size()); ++week) {
        for (int column = 0; column < 7; ++column) {
            const TCalendarCell& cell = m_month.weeks[std::size_t(week)][std::size_t(column)];
            auto* item = new QTableWidgetItem(cell.day ? QString::number(cell.day) : QString());
            item->setFlags(cell.day ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsEnabled);
            item->setData(kActivityRole, cell.activity);
            item->setData(kPriorityRole, cell.priority);
            sgCalenderDay->setItem(week + 1, column, item);
        }
    }
    pSizeCalendar();
    pSelectDayInPlanner();
}

void TfrmPlanner::pSizeCalendar()
{
    const QSize size = sgCalenderDay->viewport()->size();
    const int columnWidth = CalendarColumnWidth(size.width());
    const int rowHeight = CalendarRowHeight(size.height(), sgCalenderDay->rowCount());
    for (int column = 0; column < 7; ++column) sgCalenderDay->setColumnWidth(column, columnWidth);
    for (int row = 0; row < sgCalenderDay->rowCount(); ++row) sgCalenderDay->setRowHeight(row, rowHeight);
}

void TfrmPlanner::pCalendarSelectCell(int row, int column)
{
    // Only a cell with a day number below the heading row counts.
    if (row < 1) return;
    const QTableWidgetItem* item = sgCalenderDay->item(row, column);
    if (!item || item->text().isEmpty()) return;
    m_selected = QDate(m_displayedYear, m_displayedMonth, item->text().toInt());
    pSelectDayInPlanner();
}

void TfrmPlanner::pCalendarMoveFocus(int days)
{
    const QTableWidgetItem* current = sgCalenderDay->currentItem();
    const int from = (current && sgCalenderDay->currentRow() > 0 && !current->text().isEmpty())
                         ? current->text().toInt()
                         : m_selected.day();
    const int daysInMonth = QDate(m_displayedYear, m_displayedMonth, 1).daysInMonth();
    const int target = std::clamp(from + days, 1, daysInMonth);
    for (int row = 1; row < sgCalenderDay->rowCount(); ++row)
        for (int column = 0; column < 7; ++column)
            if (const QTableWidgetItem* item = sgCalenderDay->item(row, column);
                item && item->text() == QString::number(target))
                sgCalenderDay->setCurrentCell(row, column);
}

void TfrmPlanner::pSelectDayInPlanner()
{
    m_listModel->clear();
    lblDayMnthYear->setText(PlannerDayTitle(m_selected));
    m_shownToday = pToday();
    lblTodayDateDay->setText(PlannerTodayText(m_shownToday));
    // The selected day is framed in the calendar and has the keyboard focus cell.
    for (int row = 1; row < sgCalenderDay->rowCount(); ++row) {
        for (int column = 0; column < 7; ++column) {
            QTableWidgetItem* item = sgCalenderDay->item(row, column);
            if (!item) continue;
            const bool selected = !item->text().isEmpty() && item->text().toInt() == m_selected.day();
            item->setData(kSelectedDayRole, selected);
            if (selected) sgCalenderDay->setCurrentCell(row, column);
        }
    }
    pSHowDayPlannerActivity();
    pAllowPrinting();
}

void TfrmPlanner::pSHowDayPlannerActivity()
{
    pClearActivityEditAreaPlanner();
    pSetListViewWidth();
    TPlannerListResult result = QueryPlannerList(cmboPlannerType->currentIndex(), m_selected, m_flags);
    m_listModel->setList(std::move(result.rows), std::move(result.blocks));
    pAllowPrinting();
    // A row whose dates cannot be read is listed at the end and named here; the
    // rest of the list stands.
    if (!result.unreadable.isEmpty()) ShowInformation(result.unreadable.join(QLatin1Char('\n')));
}

void TfrmPlanner::pSetListViewWidth()
{
    const std::array<int, 12> widths =
        PlannerColumnWidths(cmboPlannerType->currentIndex(), lvActivityEdit->viewport()->width());
    for (int column = 0; column < 12; ++column) {
        const int width = widths[std::size_t(column)];
        lvActivityEdit->setColumnHidden(column, width == 0);
        if (width > 0) lvActivityEdit->setColumnWidth(column, width);
    }
}

void TfrmPlanner::pClearActivityEditAreaPlanner()
{
    FlagScope scope(m_inEdit);
    m_opened = TRecordVersion();
    lblActYear->clear();
    lblActDayOfYear->clear();
    lblMasterID->clear();
    const QDateTime cleared = WallClock(pToday(), kDefaultTime);
    dtPickerPlannerStartDateTime->setDateTime(cleared);
    dtPickerPlannerEndDateTime->setDateTime(cleared);
    for (QTimeEdit* time : {dtPickerPlannerStartTime, dtPickerPlannerEndTime}) time->setTime(kDefaultTime);
    txtPlannerActivity->clear();
    SetTypedLimit(txtPlannerActivity, kTitleLimit);
    txtActivityNotes->clear();
    ckbxActPriority->setChecked(false);
    for (QWidget* control : std::initializer_list<QWidget*>{
             dtPickerPlannerStartDateTime, dtPickerPlannerStartTime, dtPickerPlannerEndDateTime,
             dtPickerPlannerEndTime, lblActStart, lblActEnd, lblActivity, txtPlannerActivity, txtActivityNotes,
             lblActNotes, ckbxActPriority})
        control->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{cmboPlannerType, sgCalenderDay, btnActivityBack,
                                                            btnActivityNext, lblTodayDateDay, lvActivityEdit})
        control->setEnabled(true);
    pSetActionShown(tlbtnSave, submnuSave, false);
    pUpdateCommands();
}

void TfrmPlanner::pAllowPrinting()
{
    const bool allowed = lvActivityEdit->isEnabled() && m_listModel->rowCount() > 0;
    pSetActionShown(tlbtnPrint, submnuPrint, allowed);
    pSetActionShown(tlbtnPrintPreview, submnuPrintPreview, allowed);
    submnuExportCalendar->setEnabled(allowed);
}

void TfrmPlanner::pUpdateCommands()
{
    const bool browsing = lvActivityEdit->isEnabled();
    pSetActionShown(tlbtnCancel, submnuCancel, !browsing);
    pSetActionShown(tlbtnNewActivity, submnuNewActivity, browsing);
    pSetActionShown(tlbtnDelete, submnuDelete, !lblMasterID->text().isEmpty());
    pSetActionShown(tlbtnSave, submnuSave, tlbtnSave->isEnabled());
    pAllowPrinting();
}

void TfrmPlanner::pSetActionShown(QAction* toolAction, QAction* menuAction, bool shown)
{
    toolAction->setEnabled(shown);
    toolAction->setVisible(shown);
    menuAction->setEnabled(shown);
}

bool TfrmPlanner::pSaveEnabled() const { return tlbtnSave->isEnabled(); }

void TfrmPlanner::pEditActivity(TPlannerEditSource source)
{
    FlagScope scope(m_inEdit);
    // The date pickers hold the full start and end: their times follow the time pickers.
    dtPickerPlannerStartDateTime->setTime(dtPickerPlannerStartTime->time());
    dtPickerPlannerEndDateTime->setTime(dtPickerPlannerEndTime->time());

    if (source == TPlannerEditSource::Cancel) {
        if (pSaveEnabled()) {
            switch (AskYesNoCancel(QStringLiteral("Do you want to save changes to this Activity?"))) {
            case MessageAnswer::Yes:
                if (!pSaveActivity()) return;
                break;
            case MessageAnswer::No: pClearActivityEditAreaPlanner(); break;
            default: return;
            }
        } else {
            pClearActivityEditAreaPlanner();
        }
    }

    pSetActionShown(tlbtnSave, submnuSave, !txtPlannerActivity->text().isEmpty());

    const QDateTime start = dtPickerPlannerStartDateTime->dateTime();
    const QDateTime end = dtPickerPlannerEndDateTime->dateTime();
    const auto endFromStart = [this, &start] {
        dtPickerPlannerEndDateTime->setDateTime(start);
        dtPickerPlannerEndTime->setTime(start.time());
    };
    switch (source) {
    case TPlannerEditSource::StartDate:
        if (start > end) endFromStart();
        break;
    case TPlannerEditSource::EndDate:
        if (start > end) {
            ShowInformation(QStringLiteral("Date must be equal to or later than: ") + DisplayDate(start.date()));
            endFromStart();
        }
        break;
    case TPlannerEditSource::ListClicked: pLoadSelectedActivity(); break;
    case TPlannerEditSource::NewActivity:
        lvActivityEdit->setEnabled(false);
        dtPickerPlannerStartDateTime->setDateTime(WallClock(m_selected, dtPickerPlannerStartTime->time()));
        dtPickerPlannerEndDateTime->setDateTime(WallClock(m_selected, dtPickerPlannerEndTime->time()));
        pStartEditing();
        break;
    case TPlannerEditSource::Save: pSaveActivity(); break;
    case TPlannerEditSource::Delete: pDeleteActivity(); break;
    case TPlannerEditSource::ListType: pSHowDayPlannerActivity(); break;
    default: break;
    }

    pUpdateCommands();
}

void TfrmPlanner::pStartEditing()
{
    for (QWidget* control : std::initializer_list<QWidget*>{lvActivityEdit, cmboPlannerType, sgCalenderDay,
                                                            btnActivityBack, btnActivityNext, lblTodayDateDay})
        control->setEnabled(false);
    for (QWidget* control : std::initializer_list<QWidget*>{
             dtPickerPlannerStartDateTime, dtPickerPlannerStartTime, dtPickerPlannerEndDateTime,
             dtPickerPlannerEndTime, lblActStart, lblActEnd, lblActivity, txtPlannerActivity, txtActivityNotes,
             lblActNotes, ckbxActPriority})
        control->setEnabled(true);
    txtPlannerActivity->setFocus();
}

void TfrmPlanner::pLoadSelectedActivity()
{
    if (!lvActivityEdit->isEnabled() || !lvActivityEdit->selectionModel()) return;
    const QModelIndexList selected = lvActivityEdit->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const TPlannerListRow& row = m_listModel->rowAt(selected.first().row());
    const TActivityRow stored = row.stored();
    // What the save will compare against; the list may be older than the
    // activity when another seat saved it since the day was shown.
    m_opened = ReadActivityVersion(stored.intActMasterID);
    if (!ActivityVersionShows(m_opened, stored)) {
        m_opened = TRecordVersion();
        pSHowDayPlannerActivity();
        throw AppError(QStringLiteral("This activity was changed or deleted on another computer after the list was "
                                      "shown. The list now shows the activities as they are stored."));
    }

    QDateTime start = WallClock(pToday(), kDefaultTime);
    QDateTime end = start;
    if (row.readable) {
        start = row.start();
        end = row.end();
    } else {
        ShowInformation(UnreadableActivityMessage(stored.strActivity, QStringLiteral("today is shown in its place")));
    }
    dtPickerPlannerStartDateTime->setDateTime(start);
    dtPickerPlannerStartTime->setTime(start.time());
    dtPickerPlannerEndDateTime->setDateTime(end);
    dtPickerPlannerEndTime->setTime(end.time());
    // A longer title stored earlier is shown whole, not cut to the typing limit.
    SetTypedLimit(txtPlannerActivity, std::max(kTitleLimit, int(stored.strActivity.size())));
    txtPlannerActivity->setText(stored.strActivity);
    txtActivityNotes->setPlainText(stored.strActNote);
    lblMasterID->setText(QString::number(stored.intActMasterID));
    lblActDayOfYear->setText(QString::number(stored.intActDayOfYear));
    lblActYear->setText(QString::number(stored.intActYear));
    ckbxActPriority->setChecked(stored.strActPriority.trimmed() != QStringLiteral("0"));

    pStartEditing();
    pSetActionShown(tlbtnSave, submnuSave, false);
}

bool TfrmPlanner::pSaveActivity()
{
    TActivityInput input;
    if (!lblMasterID->text().isEmpty()) input.masterId = lblMasterID->text().toLongLong();
    input.start = dtPickerPlannerStartDateTime->dateTime();
    input.end = dtPickerPlannerEndDateTime->dateTime();
    input.title = txtPlannerActivity->text();
    input.priority = ckbxActPriority->isChecked();
    input.note = txtActivityNotes->toPlainText();
    // A mistyped year would write a row for every day of centuries: asked first.
    if (ActivityLongerThanAYear(input.start, input.end) &&
        AskYesNoCancel(LongActivityQuestion(input.start, input.end)) != MessageAnswer::Yes)
        return false;
    pSavePlannerActivity(input, &m_opened);

    pClearActivityEditAreaPlanner();
    pLoadYearFlags(m_displayedYear);
    pDrawCalendar();
    pSetActionShown(tlbtnSave, submnuSave, false);
    return true;
}

void TfrmPlanner::pDeleteActivity()
{
    if (AskYesNoCancel(QStringLiteral("Delete this Activity from your list?")) != MessageAnswer::Yes) return;
    if (lblMasterID->text().isEmpty()) return;
    TSavingNoticeScope notice(QStringLiteral("Deleting Activity Information..."));
    DeletePlannerActivity(lblMasterID->text().toLongLong());
    pClearActivityEditAreaPlanner();
    pLoadYearFlags(m_displayedYear);
    pDrawCalendar();
    pSetActionShown(tlbtnSave, submnuSave, false);
}

void TfrmPlanner::pGoToToday()
{
    if (!lblTodayDateDay->isEnabled()) return;
    m_selected = pToday();
    pLoadYearFlags(m_selected.year());
    pDrawCalendar();
}

QDate TfrmPlanner::pToday() const
{
    const QDate today = m_todayFunction ? m_todayFunction() : QDate();
    return today.isValid() ? today : QDate::currentDate();
}

void TfrmPlanner::pRefreshToday()
{
    const QDate today = pToday();
    if (today == m_shownToday) return;
    // While browsing today the planner moves on to the new today, as the
    // calendar on a desk would; another selected day, or an activity being
    // edited, stays as it is and only the link shows the new date.
    if (lvActivityEdit->isEnabled() && m_selected == m_shownToday) {
        pGoToToday();
        return;
    }
    m_shownToday = today;
    lblTodayDateDay->setText(PlannerTodayText(today));
}

void TfrmPlanner::pCommitTypedDates()
{
    for (QDateTimeEdit* picker : std::initializer_list<QDateTimeEdit*>{
             dtPickerPlannerStartDateTime, dtPickerPlannerEndDateTime, dtPickerPlannerStartTime,
             dtPickerPlannerEndTime})
        picker->interpretText();
}

void TfrmPlanner::pStepMonth(int months)
{
    m_selected = PlannerStepMonth(m_selected, months);
    if (m_selected.year() != m_displayedYear) pLoadYearFlags(m_selected.year());
    pDrawCalendar();
}

void TfrmPlanner::pPrintList(bool preview)
{
    // What is printed is the list as it stands, in list order.
    recPrintLists.plannerRows.clear();
    for (int row = 0; row < m_listModel->rowCount(); ++row)
        recPrintLists.plannerRows.append({m_listModel->cellText(row, TPlannerListModel::colActID),
                                          m_listModel->cellText(row, TPlannerListModel::colDate)});
    recPrintLists.plannerListKind = cmboPlannerType->currentIndex();
    recPrintLists.plannerDates = lblDayMnthYear->text();
    intPrintJob = pjPlanner;
    if (preview)
        modPrintData.pPrintPreview();
    else
        modPrintData.pPrint();
}

void TfrmPlanner::pExportCalendarFile()
{
    std::vector<TActivityRow> rows;
    for (int row = 0; row < m_listModel->rowCount(); ++row) rows.push_back(m_listModel->rowAt(row).stored());
    if (rows.empty()) return;
    const QString suggested = QDir::home().filePath(QStringLiteral("Planner.ics"));
    const QString path = fileChooser() ? fileChooser()(this, suggested)
                                       : QFileDialog::getSaveFileName(this, QStringLiteral("Export to Calendar File"),
                                                                      suggested,
                                                                      QStringLiteral("iCalendar files (*.ics)"));
    if (path.isEmpty()) return;
    const int count = WriteActivitiesCalendarFile(path, rows);
    ShowInformation(count == 1 ? QStringLiteral("1 activity was written to %1").arg(QDir::toNativeSeparators(path))
                               : QStringLiteral("%1 activities were written to %2")
                                     .arg(count)
                                     .arg(QDir::toNativeSeparators(path)));
}

bool TfrmPlanner::pCloseAllowed()
{
    if (!RunGuarded([this] { pCommitTypedDates(); })) return false;
    if (!pSaveEnabled()) return true;
    switch (AskYesNoCancel(QStringLiteral("Save changes before closing?"))) {
    case MessageAnswer::Yes:
        // Saved, or declined at the long-activity question: then the screen stays.
        return RunGuarded([this] { pEditActivity(TPlannerEditSource::Save); }) && !pSaveEnabled();
    case MessageAnswer::No: return true;
    default: return false;
    }
}

void TfrmPlanner::done(int result)
{
    if (m_closing) return;
    if (!pCloseAllowed()) return;
    m_closing = true;
    arrFormMaximized[2] = isMaximized();
    CloseSavingNotice();
    QDialog::done(result);
}

void TfrmPlanner::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!sgCalenderDay || !lvActivityEdit) return;
    RunGuarded([this] {
        pSizeCalendar();
        pSetListViewWidth();
    });
}

void TfrmPlanner::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && lvActivityEdit)
        RunGuarded([this] { pRefreshToday(); });
}

bool TfrmPlanner::eventFilter(QObject* watched, QEvent* event)
{
    // Events may arrive while the controls are still being created.
    if (!sgCalenderDay || !lvActivityEdit || !m_listModel) return QDialog::eventFilter(watched, event);
    if (watched == sgCalenderDay->viewport() && event->type() == QEvent::Resize) {
        RunGuarded([this] { pSizeCalendar(); });
    } else if (watched == lvActivityEdit->viewport() && event->type() == QEvent::Resize) {
        RunGuarded([this] { pSetListViewWidth(); });
    } else if (watched == sgCalenderDay && event->type() == QEvent::KeyPress) {
        // Arrow keys move the day, Enter (or Space) selects it, as with a click.
        const int key = static_cast<QKeyEvent*>(event)->key();
        int days = 0;
        switch (key) {
        case Qt::Key_Left: days = -1; break;
        case Qt::Key_Right: days = 1; break;
        case Qt::Key_Up: days = -7; break;
        case Qt::Key_Down: days = 7; break;
        default: break;
        }
        if (days != 0) {
            RunGuarded([this, days] { pCalendarMoveFocus(days); });
            return true;
        }
        if (IsEnterKey(key)) {
            RunGuarded([this] { pCalendarSelectCell(sgCalenderDay->currentRow(), sgCalenderDay->currentColumn()); });
            return true;
        }
    } else if (watched == lblTodayDateDay) {
        const bool clicked = event->type() == QEvent::MouseButtonRelease &&
                             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        const bool keyed =
            event->type() == QEvent::KeyPress && IsEnterKey(static_cast<QKeyEvent*>(event)->key());
        if (clicked || keyed) {
            RunGuarded([this] { pGoToToday(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
