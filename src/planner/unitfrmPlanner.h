#pragma once
// The planner: a month calendar whose days with activities are coloured, the
// activities of the selected day, week or month, and an edit area for one
// activity. Activities are saved, deleted, printed as a list and exported to an
// iCalendar file from here.
#include "planner/unitActivityStore.h"
#include "planner/unitPlannerCalendar.h"

#include <QColor>
#include <QDate>
#include <QDialog>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QMenuBar;
class QPushButton;
class QTableView;
class QTableWidget;
class QTimeEdit;
class QTimer;
class QLineEdit;
class QToolBar;
class TLimitedMemo;
class TPlannerListModel;

// The control that fired an edit event; the edit handler's steps depend on it.
enum class TPlannerEditSource {
    StartDate, EndDate, StartTime, EndTime, Title, Notes, Priority,
    ListClicked, NewActivity, Save, Delete, Cancel, ListType
};

class TfrmPlanner : public QDialog {
    Q_OBJECT
public:
    // Answers today's date each time the planner needs it (the computer's date
    // by default), so a planner left open over midnight moves on to the new day.
    using TodayFunction = std::function<QDate()>;
    explicit TfrmPlanner(TodayFunction today = {}, QWidget* parent = nullptr);
    // A planner for which today is always the given day.
    explicit TfrmPlanner(const QDate& today, QWidget* parent = nullptr);
    ~TfrmPlanner() override;

    // The closing rules (the save question, the window preference) run on every
    // way of closing.
    void done(int result) override;

    // Chooses the file "Export to Calendar File…" writes to; an empty answer
    // cancels. The default asks with the standard save dialog. An empty function
    // restores it.
    using CalendarFileChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
    static void SetCalendarFileChooser(CalendarFileChooser chooser);

    QDate selectedDate() const { return m_selected; }

    // Item data of the calendar cells besides their day number: the activity and
    // priority marks copied from the year flags, and the selected day.
    enum CalendarCellRole { crActivity = Qt::UserRole + 1, crPriority, crSelectedDay };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void pFormInformation();
    void pLoadPlannerSettings();
    void pFormPreSetData();
    void pDrawCalendar();
    void pSizeCalendar();
    void pCalendarSelectCell(int row, int column);
    void pCalendarMoveFocus(int days);
    void pSelectDayInPlanner();
    void pSHowDayPlannerActivity();
    void pSetListViewWidth();
    void pClearActivityEditAreaPlanner();
    void pAllowPrinting();
    void pUpdateCommands();
    void pEditActivity(TPlannerEditSource source);
    void pLoadSelectedActivity();
    void pStartEditing();
    // False when the save was declined at the long-activity question.
    bool pSaveActivity();
    void pDeleteActivity();
    void pGoToToday();
    QDate pToday() const;
    // Shows the new day when the date has changed since the planner last looked.
    void pRefreshToday();
    // Puts a date typed into a picker into effect (with its date rules), as
    // leaving the picker would, before the pickers are read.
    void pCommitTypedDates();
    void pStepMonth(int months);
    void pLoadYearFlags(int year);
    void pPrintList(bool preview);
    void pExportCalendarFile();
    void pSetActionShown(QAction* toolAction, QAction* menuAction, bool shown);
    bool pSaveEnabled() const;
    // The question before unsaved changes are left; false when the screen must stay.
    bool pCloseAllowed();

    TodayFunction m_todayFunction;
    QDate m_shownToday;   // the today of the "Today: " link as last shown
    QDate m_selected;
    int m_displayedYear = 0;
    int m_displayedMonth = 0;
    TPlannerYearFlags m_flags;
    TCalendarMonth m_month;
    QColor m_actColor;
    QColor m_wkndColor;
    QColor m_priorityColor;
    QColor m_headingColor;
    int m_defaultListType = pltDay;
    bool m_inEdit = false;
    bool m_closing = false;

    QMenuBar* mnuPlanner = nullptr;
    QToolBar* tlbarPlanner = nullptr;
    QAction* tlbtnClose = nullptr;
    QAction* tlbtnPrintPreview = nullptr;
    QAction* tlbtnPrint = nullptr;
    QAction* tlbtnCancel = nullptr;
    QAction* tlbtnNewActivity = nullptr;
    QAction* tlbtnSave = nullptr;
    QAction* tlbtnDelete = nullptr;
    QAction* tlbtnHelp = nullptr;
    QAction* submnuClose = nullptr;
    QAction* submnuExportCalendar = nullptr;
    QAction* submnuNewActivity = nullptr;
    QAction* submnuSave = nullptr;
    QAction* submnuCancel = nullptr;
    QAction* submnuDelete = nullptr;
    QAction* submnuPrint = nullptr;
    QAction* submnuPrintPreview = nullptr;
    QAction* submnuHelp = nullptr;

    QLabel* lblDayMnthYear = nullptr;
    QComboBox* cmboPlannerType = nullptr;
    QLabel* lblTodayDateDay = nullptr;
    QPushButton* btnActivityBack = nullptr;
    QPushButton* btnActivityNext = nullptr;
    QTableWidget* sgCalenderDay = nullptr;

    QCheckBox* ckbxActPriority = nullptr;
    QLabel* lblActivity = nullptr;
    QLineEdit* txtPlannerActivity = nullptr;
    QLabel* lblActStart = nullptr;
    QDateTimeEdit* dtPickerPlannerStartDateTime = nullptr;
    QTimeEdit* dtPickerPlannerStartTime = nullptr;
    QLabel* lblActEnd = nullptr;
    QDateTimeEdit* dtPickerPlannerEndDateTime = nullptr;
    QTimeEdit* dtPickerPlannerEndTime = nullptr;
    QLabel* lblActNotes = nullptr;
    TLimitedMemo* txtActivityNotes = nullptr;
    QLabel* lblActYear = nullptr;
    QLabel* lblActDayOfYear = nullptr;
    QLabel* lblMasterID = nullptr;
    // The activity being edited as read when it was opened (empty for a new
    // one): the save is refused when another seat changed it since.
    TRecordVersion m_opened;

    QTableView* lvActivityEdit = nullptr;
    QTimer* m_todayTimer = nullptr;
    TPlannerListModel* m_listModel = nullptr;
};
