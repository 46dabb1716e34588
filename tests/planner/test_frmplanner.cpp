// The planner screen driven through its widgets against a real database: the
// calendar grid, navigation, the three lists, editing with its questions and
// corrections, save and delete, closing, printing and the calendar file.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "app/unitModalRunner.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "planner/unitActivityStore.h"
#include "planner/unitPlannerSettings.h"
#include "planner/unitfrmPlanner.h"
#include "printing/unitModPrintData.h"
#include "printing/unitfrmPrntPreview.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

const QDate kToday(2026, 3, 29);   // a Sunday; March 2026 begins on a Sunday

template <typename T>
T* Child(QWidget* parent, const char* name)
{
    T* child = parent->findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

QTableWidget* Calendar(QWidget* s) { return Child<QTableWidget>(s, "sgCalenderDay"); }
QTableView* List(QWidget* s) { return Child<QTableView>(s, "lvActivityEdit"); }
QString Title(QWidget* s) { return Child<QLabel>(s, "lblDayMnthYear")->text(); }

// Clicks a tool button as a person would: only when it is shown and enabled.
void ClickTool(QWidget* s, const char* name)
{
    QToolButton* button = Child<QToolButton>(s, name);
    QCoreApplication::processEvents();
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

bool Shown(QWidget* s, const char* name) { return Child<QAction>(s, name)->isVisible(); }

// The list's column as shown, row by row.
QStringList Column(QWidget* s, int column)
{
    QAbstractItemModel* model = List(s)->model();
    QStringList cells;
    for (int row = 0; row < model->rowCount(); ++row) cells << model->index(row, column).data().toString();
    return cells;
}

void ClickRow(QWidget* s, int row)
{
    QTableView* list = List(s);
    const QModelIndex index = list->model()->index(row, 5);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

// The grid cell holding a day number.
QPoint CellOf(QWidget* s, int day)
{
    QTableWidget* grid = Calendar(s);
    for (int row = 1; row < grid->rowCount(); ++row)
        for (int column = 0; column < 7; ++column)
            if (grid->item(row, column) && grid->item(row, column)->text() == QString::number(day))
                return {column, row};
    return {-1, -1};
}

void ClickCell(QWidget* s, int row, int column)
{
    QTableWidget* grid = Calendar(s);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, column)).center());
}

void ClickDay(QWidget* s, int day)
{
    const QPoint cell = CellOf(s, day);
    QVERIFY(cell.x() >= 0);
    ClickCell(s, cell.y(), cell.x());
}

QDateTime At(const QDate& day, int hour, int minute = 0) { return QDateTime(day, QTime(hour, minute)); }

qint64 Save(const QDateTime& start, const QDateTime& end, const QString& title, bool priority = false,
            const QString& note = QString())
{
    const qint64 master = pSavePlannerActivity({std::nullopt, start, end, title, priority, note});
    RunOutSavingNotice();
    return master;
}

int StoredRows(const QString& title)
{
    DbConnection db;
    return db.countRows(QStringLiteral("SELECT * FROM tblPlanner WHERE strActivity = ?;"), {title});
}

// Every control the edit area and navigation hold, with its enabled state.
bool Browsing(QWidget* s)
{
    for (const char* name : {"lvActivityEdit", "cmboPlannerType", "sgCalenderDay", "btnActivityBack",
                             "btnActivityNext", "lblTodayDateDay"})
        if (!Child<QWidget>(s, name)->isEnabled()) return false;
    for (const char* name : {"txtPlannerActivity", "txtActivityNotes", "ckbxActPriority",
                             "dtPickerPlannerStartDateTime", "dtPickerPlannerEndTime"})
        if (Child<QWidget>(s, name)->isEnabled()) return false;
    return true;
}

bool Editing(QWidget* s)
{
    for (const char* name : {"lvActivityEdit", "cmboPlannerType", "sgCalenderDay", "btnActivityBack",
                             "btnActivityNext", "lblTodayDateDay"})
        if (Child<QWidget>(s, name)->isEnabled()) return false;
    for (const char* name : {"txtPlannerActivity", "txtActivityNotes", "ckbxActPriority",
                             "dtPickerPlannerStartDateTime", "dtPickerPlannerEndTime"})
        if (!Child<QWidget>(s, name)->isEnabled()) return false;
    return true;
}

// A shown planner at the given today, with an empty activity table unless the
// samples are wanted.
struct Planner {
    explicit Planner(const QDate& today = kToday) : screen(today)
    {
        screen.resize(1100, 720);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
    }
    QWidget* operator->() { return &screen; }
    TfrmPlanner screen;
};

void EmptyPlanner()
{
    DbConnection db;
    db.execute(QStringLiteral("DELETE FROM tblPlanner;"));
}

// "New Activity" with a title typed; the end date picker, to set the end.
QDateTimeEdit* StartNewActivity(QWidget* s, const char* title)
{
    ClickTool(s, "tlbtnNewActivity");
    QTest::keyClicks(Child<QLineEdit>(s, "txtPlannerActivity"), title);
    return Child<QDateTimeEdit>(s, "dtPickerPlannerEndDateTime");
}

// Types a date into the picker from the given section on, as a person would.
void TypeDate(QDateTimeEdit* picker, QDateTimeEdit::Section from, const char* digits)
{
    picker->setFocus();
    picker->setSelectedSection(from);
    QTest::keyClicks(picker, digits);
}

} // namespace

class TestFrmPlanner : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetSavingNoticeTickMs(600000); }
    void init()
    {
        CreateTestDatabase(kToday);
        arrFormMaximized = {false, false, false, false};
    }
    void cleanup()
    {
        RunOutSavingNotice();
        TfrmPlanner::SetCalendarFileChooser({});
    }

    // Opening: today's day list with the sample activity of today, the title,
    // the "Today: " link, the tool bar in its order and the menu.
    void opensOnTodayInTheDefaultList()
    {
        ScriptedMessages messages;
        Planner p;
        QWidget* s = &p.screen;
        QCOMPARE(s->windowTitle(), QStringLiteral("Planner"));
        QCOMPARE(Title(s), QStringLiteral("Sunday, March 29, 2026"));
        QCOMPARE(Child<QLabel>(s, "lblTodayDateDay")->text(), QStringLiteral("Today: 3/29/2026"));
        QCOMPARE(Child<QComboBox>(s, "cmboPlannerType")->currentIndex(), 0);
        QCOMPARE(Column(s, 5), QStringList{"Estimate for the jones"});
        QCOMPARE(Column(s, 3), QStringList{"3/29/2026 8:00 AM"});
        QCOMPARE(Column(s, 4), QStringList{"3/29/2026 8:30 AM"});
        QVERIFY(Browsing(s));
        QVERIFY(messages.shown().isEmpty());

        QStringList order;
        for (QAction* action : Child<QToolBar>(s, "tlbarPlanner")->actions()) order << action->text();
        QCOMPARE(order, (QStringList{"Close", "Print Preview", "Print", "Cancel", "New Activity", "Save", "Delete",
                                     "Help"}));
        QStringList shown;
        for (QAction* action : Child<QToolBar>(s, "tlbarPlanner")->actions())
            if (action->isVisible()) shown << action->text();
        QCOMPARE(shown, (QStringList{"Close", "Print Preview", "Print", "New Activity", "Help"}));
        // Menu entries mirror their buttons.
        QVERIFY(Child<QAction>(s, "submnuNewActivity")->isEnabled());
        QVERIFY(!Child<QAction>(s, "submnuSave")->isEnabled());
        QVERIFY(!Child<QAction>(s, "submnuCancel")->isEnabled());
        QVERIFY(!Child<QAction>(s, "submnuDelete")->isEnabled());
        QVERIFY(Child<QAction>(s, "submnuPrint")->isEnabled());
        QStringList menus;
        for (QAction* menu : Child<QMenuBar>(s, "mnuPlanner")->actions()) menus << menu->text();
        QCOMPARE(menus, (QStringList{"&File", "&Activity", "&Print", "&Help"}));

        QCOMPARE(Child<QAction>(s, "tlbtnPrint")->toolTip(), QStringLiteral("Print current Activity list"));
        QCOMPARE(Calendar(s)->toolTip(), QStringLiteral("Select a date to view or edit"));
        QCOMPARE(Child<QLabel>(s, "lblTodayDateDay")->toolTip(), QStringLiteral("Click to return to todays date"));

        // The day list shows start, end and title in their share of the width.
        const int w = List(s)->viewport()->width();
        QVERIFY(List(s)->isColumnHidden(0) && List(s)->isColumnHidden(2) && List(s)->isColumnHidden(11));
        QCOMPARE(List(s)->columnWidth(5), qRound(0.5 * w));
    }

    // The grid: day names in row 0, one row per week, day numbers as text, and
    // the marks of the days with activities.
    void calendarGridOfTheMonth()
    {
        Planner p;
        QWidget* s = &p.screen;
        QTableWidget* grid = Calendar(s);
        QCOMPARE(grid->columnCount(), 7);
        QCOMPARE(grid->rowCount(), 6);   // March 2026: heading and five weeks
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Sun"));
        QCOMPARE(grid->item(0, 6)->text(), QStringLiteral("Sat"));
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("1"));
        QCOMPARE(grid->item(5, 2)->text(), QStringLiteral("31"));
        QCOMPARE(grid->item(5, 3)->text(), QString());
        // Samples: today (high priority) and the three-day job 10 to 8 days ago.
        const auto marks = [&](int day) {
            const QPoint cell = CellOf(s, day);
            const QTableWidgetItem* item = grid->item(cell.y(), cell.x());
            return qMakePair(item->data(TfrmPlanner::crActivity).toBool(), item->data(TfrmPlanner::crPriority).toBool());
        };
        QCOMPARE(marks(29), qMakePair(true, true));
        QCOMPARE(marks(19), qMakePair(true, false));
        QCOMPARE(marks(21), qMakePair(true, false));
        QCOMPARE(marks(22), qMakePair(false, false));
        QVERIFY(grid->item(CellOf(s, 29).y(), CellOf(s, 29).x())->data(TfrmPlanner::crSelectedDay).toBool());

        // August 2026 begins on a Saturday and has 31 days: six week rows.
        for (int i = 0; i < 5; ++i) QTest::mouseClick(Child<QPushButton>(s, "btnActivityNext"), Qt::LeftButton);
        QCOMPARE(Title(s), QStringLiteral("Saturday, August 29, 2026"));
        QCOMPARE(grid->rowCount(), 7);
        QCOMPARE(grid->item(1, 6)->text(), QStringLiteral("1"));
        QCOMPARE(grid->item(6, 1)->text(), QStringLiteral("31"));
        // February 2026 begins on a Sunday and has 28 days: four.
        for (int i = 0; i < 6; ++i) QTest::mouseClick(Child<QPushButton>(s, "btnActivityBack"), Qt::LeftButton);
        QCOMPARE(Title(s), QStringLiteral("Saturday, February 28, 2026"));
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->item(4, 6)->text(), QStringLiteral("28"));
        // The cells share the grid: (size - 10) / 7 wide, (size - 10) / rows high.
        QCOMPARE(grid->columnWidth(0), (grid->viewport()->width() - 10) / 7);
        QCOMPARE(grid->rowHeight(1), (grid->viewport()->height() - 10) / 5);
    }

    // Clicking a day selects it; a blank cell or the heading changes nothing;
    // the keyboard moves the day and Enter selects it.
    void selectingDaysByMouseAndKeyboard()
    {
        Planner p;
        QWidget* s = &p.screen;
        ClickDay(s, 19);
        QCOMPARE(Title(s), QStringLiteral("Thursday, March 19, 2026"));
        QCOMPARE(Column(s, 5), QStringList{"Work for John Jones"});

        ClickCell(s, 5, 5);   // after the 31st
        ClickCell(s, 0, 2);   // heading
        QCOMPARE(Title(s), QStringLiteral("Thursday, March 19, 2026"));
        QCOMPARE(p.screen.selectedDate(), QDate(2026, 3, 19));
        QCOMPARE(Column(s, 5), QStringList{"Work for John Jones"});

        QTableWidget* grid = Calendar(s);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(p.screen.selectedDate(), QDate(2026, 3, 19));   // moved, not yet selected
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(p.screen.selectedDate(), QDate(2026, 3, 27));
        QCOMPARE(Title(s), QStringLiteral("Friday, March 27, 2026"));
        QTest::keyClick(grid, Qt::Key_Down);   // stops at the last day of the month
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Enter);
        QCOMPARE(p.screen.selectedDate(), QDate(2026, 3, 31));

        // The "Today" link returns to today.
        QTest::mouseClick(Child<QLabel>(s, "lblTodayDateDay"), Qt::LeftButton);
        QCOMPARE(p.screen.selectedDate(), kToday);
    }

    // The week list of a week that begins in the previous month lists only
    // this month's days.
    void weekListIsCutToTheMonth()
    {
        EmptyPlanner();
        Save(At(QDate(2026, 3, 30), 9), At(QDate(2026, 3, 30), 10), QStringLiteral("March Monday"));
        Save(At(QDate(2026, 4, 2), 9), At(QDate(2026, 4, 2), 10), QStringLiteral("April Thursday"));
        Save(At(QDate(2026, 4, 4), 9), At(QDate(2026, 4, 4), 10), QStringLiteral("April Saturday"));
        Save(At(QDate(2026, 4, 5), 9), At(QDate(2026, 4, 5), 10), QStringLiteral("Next week"));
        Planner p;
        QWidget* s = &p.screen;
        QTest::mouseClick(Child<QPushButton>(s, "btnActivityNext"), Qt::LeftButton);
        ClickDay(s, 2);
        Child<QComboBox>(s, "cmboPlannerType")->setCurrentIndex(1);
        QCOMPARE(Column(s, 5), (QStringList{"April Thursday", "April Saturday"}));
        QCOMPARE(Column(s, 2), (QStringList{"4/2/2026", "4/4/2026"}));
        QVERIFY(!List(s)->isColumnHidden(2));
        // The March side of the same week lists only March's days.
        QTest::mouseClick(Child<QPushButton>(s, "btnActivityBack"), Qt::LeftButton);
        ClickDay(s, 31);
        QCOMPARE(Column(s, 5), QStringList{"March Monday"});
    }

    // A three-day activity is listed three times in the month list, each under
    // its own day, sorted together at its start; deleting it from one row
    // removes all three.
    void threeDayActivityInTheMonthList()
    {
        EmptyPlanner();
        Save(At(QDate(2026, 3, 5), 15), At(QDate(2026, 3, 5), 16), QStringLiteral("Fifth afternoon"));
        Save(At(QDate(2026, 3, 4), 10), At(QDate(2026, 3, 6), 8), QStringLiteral("Three days"));
        Save(At(QDate(2026, 3, 2), 10), At(QDate(2026, 3, 2), 11), QStringLiteral("Second"));
        DbConnection db;
        db.execute(QStringLiteral("UPDATE tblPlannerSettings SET intDefaultPlanner = 2;"));
        db.close();

        ScriptedMessages messages;
        Planner p;
        QWidget* s = &p.screen;
        QCOMPARE(Child<QComboBox>(s, "cmboPlannerType")->currentIndex(), 2);
        QCOMPARE(Column(s, 5), (QStringList{"Second", "Three days", "Three days", "Three days", "Fifth afternoon"}));
        QCOMPARE(Column(s, 2), (QStringList{"3/2/2026", "3/4/2026", "3/5/2026", "3/6/2026", "3/5/2026"}));

        ClickRow(s, 3);
        QVERIFY(Editing(s));
        QCOMPARE(Child<QLineEdit>(s, "txtPlannerActivity")->text(), QStringLiteral("Three days"));
        messages.queue(MessageAnswer::Yes);
        ClickTool(s, "tlbtnDelete");
        QCOMPARE(messages.texts(), QStringList{"Delete this Activity from your list?"});
        QCOMPARE(CurrentSavingNotice()->windowTitle(), QStringLiteral("Deleting Activity Information..."));
        QCOMPARE(StoredRows(QStringLiteral("Three days")), 0);
        QCOMPARE(Column(s, 5), (QStringList{"Second", "Fifth afternoon"}));
        QVERIFY(Browsing(s));
        QVERIFY(!Calendar(s)->item(CellOf(s, 4).y(), CellOf(s, 4).x())->data(TfrmPlanner::crActivity).toBool());
    }

    // ">>" from December shows January with the next year's activity days.
    void nextFromDecemberReloadsTheYearFlags()
    {
        EmptyPlanner();
        Save(At(QDate(2027, 1, 12), 9), At(QDate(2027, 1, 12), 10), QStringLiteral("Next January"), true);
        Save(At(QDate(2026, 1, 20), 9), At(QDate(2026, 1, 20), 10), QStringLiteral("This January"));
        Planner p(QDate(2026, 12, 20));
        QWidget* s = &p.screen;
        QTest::mouseClick(Child<QPushButton>(s, "btnActivityNext"), Qt::LeftButton);
        QCOMPARE(Title(s), QStringLiteral("Wednesday, January 20, 2027"));
        QTableWidget* grid = Calendar(s);
        const QPoint twelfth = CellOf(s, 12);
        const QPoint twentieth = CellOf(s, 20);
        QVERIFY(grid->item(twelfth.y(), twelfth.x())->data(TfrmPlanner::crActivity).toBool());
        QVERIFY(grid->item(twelfth.y(), twelfth.x())->data(TfrmPlanner::crPriority).toBool());
        QVERIFY(!grid->item(twentieth.y(), twentieth.x())->data(TfrmPlanner::crActivity).toBool());
        QVERIFY(Column(s, 5).isEmpty());
        // And back: December's year again.
        QTest::mouseClick(Child<QPushButton>(s, "btnActivityBack"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(s, "btnActivityBack"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(s, "btnActivityBack"), Qt::LeftButton);
        QCOMPARE(Title(s), QStringLiteral("Tuesday, October 20, 2026"));
        for (int i = 0; i < 9; ++i) QTest::mouseClick(Child<QPushButton>(s, "btnActivityBack"), Qt::LeftButton);
        QCOMPARE(Title(s), QStringLiteral("Tuesday, January 20, 2026"));
        QCOMPARE(Column(s, 5), QStringList{"This January"});
    }

    // Editing keeps the list, calendar and navigation disabled until save,
    // delete or cancel; the commands follow the state.
    void editingAnActivity()
    {
        EmptyPlanner();
        const qint64 master =
            Save(At(kToday, 9), At(kToday.addDays(1), 11, 15), QStringLiteral("Gutter"), true, QStringLiteral("Left side"));
        ScriptedMessages messages;
        Planner p;
        QWidget* s = &p.screen;
        ClickRow(s, 0);
        QVERIFY(Editing(s));
        QCOMPARE(Child<QDateTimeEdit>(s, "dtPickerPlannerStartDateTime")->date(), kToday);
        QCOMPARE(Child<QTimeEdit>(s, "dtPickerPlannerStartTime")->time(), QTime(9, 0));
        QCOMPARE(Child<QDateTimeEdit>(s, "dtPickerPlannerEndDateTime")->date(), kToday.addDays(1));
        QCOMPARE(Child<QTimeEdit>(s, "dtPickerPlannerEndTime")->time(), QTime(11, 15));
        QCOMPARE(Child<QPlainTextEdit>(s, "txtActivityNotes")->toPlainText(), QStringLiteral("Left side"));
        QVERIFY(Child<QCheckBox>(s, "ckbxActPriority")->isChecked());
        QCOMPARE(Child<QLabel>(s, "lblMasterID")->text(), QString::number(master));
        QVERIFY(!Shown(s, "tlbtnSave") && Shown(s, "tlbtnCancel") && Shown(s, "tlbtnDelete"));
        QVERIFY(!Shown(s, "tlbtnNewActivity") && !Shown(s, "tlbtnPrint") && !Shown(s, "tlbtnPrintPreview"));

        // Navigation does nothing while editing.
        QTest::mouseClick(Child<QPushButton>(s, "btnActivityNext"), Qt::LeftButton);
        ClickDay(s, 3);
        QCOMPARE(p.screen.selectedDate(), kToday);

        // A change enables "Save"; Cancel asks, and No discards.
        QTest::keyClicks(Child<QLineEdit>(s, "txtPlannerActivity"), " fix");
        QVERIFY(Shown(s, "tlbtnSave"));
        QVERIFY(Child<QAction>(s, "submnuSave")->isEnabled());
        messages.queue(MessageAnswer::Cancel);
        ClickTool(s, "tlbtnCancel");
        QVERIFY(Editing(s));
        messages.queue(MessageAnswer::No);
        ClickTool(s, "tlbtnCancel");
        QCOMPARE(messages.texts(), (QStringList{"Do you want to save changes to this Activity?",
                                                "Do you want to save changes to this Activity?"}));
        QVERIFY(Browsing(s));
        QCOMPARE(StoredRows(QStringLiteral("Gutter")), 2);

        // Saved changes replace the activity under a new master id.
        ClickRow(s, 0);
        Child<QLineEdit>(s, "txtPlannerActivity")->setText(QStringLiteral("Gutter \"east\""));
        Child<QDateTimeEdit>(s, "dtPickerPlannerEndDateTime")->setDate(kToday.addDays(2));
        ClickTool(s, "tlbtnSave");
        QVERIFY(Browsing(s));
        QVERIFY(!Shown(s, "tlbtnSave"));
        QCOMPARE(StoredRows(QStringLiteral("Gutter")), 0);
        QCOMPARE(StoredRows(QStringLiteral("Gutter \"east\"")), 3);
        QCOMPARE(Column(s, 5), QStringList{"Gutter \"east\""});
        QCOMPARE(Column(s, 4), QStringList{"3/31/2026 11:15 AM"});
    }

    // "New Activity" starts on the selected day at 8:00 AM; an end before the
    // start is corrected at once, with the message only when the end was changed.
    void newActivityAndTheDateCorrections()
    {
        EmptyPlanner();
        ScriptedMessages messages;
        Planner p;
        QWidget* s = &p.screen;
        ClickDay(s, 10);
        ClickTool(s, "tlbtnNewActivity");
        QVERIFY(Editing(s));
        QVERIFY(!Shown(s, "tlbtnDelete") && !Shown(s, "tlbtnSave") && Shown(s, "tlbtnCancel"));
        auto* startDate = Child<QDateTimeEdit>(s, "dtPickerPlannerStartDateTime");
        auto* endDate = Child<QDateTimeEdit>(s, "dtPickerPlannerEndDateTime");
        QCOMPARE(startDate->date(), QDate(2026, 3, 10));
        QCOMPARE(endDate->date(), QDate(2026, 3, 10));
        QCOMPARE(Child<QTimeEdit>(s, "dtPickerPlannerStartTime")->time(), QTime(8, 0));

        QTest::keyClicks(Child<QLineEdit>(s, "txtPlannerActivity"), "Window wash");
        QVERIFY(Shown(s, "tlbtnSave"));
        endDate->setDate(QDate(2026, 3, 8));
        QCOMPARE(messages.texts(), QStringList{"Date must be equal to or later than: 3/10/2026"});
        QCOMPARE(endDate->date(), QDate(2026, 3, 10));
        startDate->setDate(QDate(2026, 3, 12));
        QCOMPARE(messages.texts().size(), 1);   // no message when the start moves
        QCOMPARE(endDate->date(), QDate(2026, 3, 12));
        // An end time earlier than the start time on the same day is accepted.
        Child<QTimeEdit>(s, "dtPickerPlannerStartTime")->setTime(QTime(14, 0));
        Child<QTimeEdit>(s, "dtPickerPlannerEndTime")->setTime(QTime(9, 30));
        Child<QCheckBox>(s, "ckbxActPriority")->click();
        QTest::keyClicks(Child<QPlainTextEdit>(s, "txtActivityNotes"), "All windows");
        ClickTool(s, "tlbtnSave");
        QCOMPARE(CurrentSavingNotice()->windowTitle(), QStringLiteral("Saving Activity Information..."));
        QVERIFY(Browsing(s));

        DbConnection db;
        DbStatement row = db.prepare(QStringLiteral(
            "SELECT strActStartDateTime,strActEndDateTime,strActPriority,strActNote,intActDayOfYear FROM tblPlanner;"));
        QVERIFY(row.step());
        QCOMPARE(row.columnText(0), QStringLiteral("3/12/2026 2:00:00 PM"));
        QCOMPARE(row.columnText(1), QStringLiteral("3/12/2026 9:30:00 AM"));
        QCOMPARE(row.columnText(2), QStringLiteral("-1"));
        QCOMPARE(row.columnText(3), QStringLiteral("All windows"));
        QCOMPARE(row.columnInt(4), 71);
        QVERIFY(!row.step());
        QVERIFY(Calendar(s)->item(CellOf(s, 12).y(), CellOf(s, 12).x())->data(TfrmPlanner::crPriority).toBool());
        QCOMPARE(messages.texts().size(), 1);
    }

    // A row whose dates cannot be read is named in a message; the list stands.
    void unreadableRowIsNamed()
    {
        {
            DbConnection db;
            db.execute(QStringLiteral("INSERT INTO tblPlanner (intActMasterID,intActYear,intActDayOfYear,"
                                      "strActStartDateTime,strActEndDateTime,strActivity,strActPriority,strActNote) "
                                      "VALUES (77,2026,88,'29.03.2026 08:00','29.03.2026 09:00','Foreign','0','');"));
        }
        ScriptedMessages messages;
        Planner p;
        QWidget* s = &p.screen;
        QCOMPARE(Column(s, 5), (QStringList{"Estimate for the jones", "Foreign"}));
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Information);
        QVERIFY(messages.shown()[0].text.contains(QStringLiteral("\"Foreign\"")));
        // It can still be opened and deleted.
        ClickRow(s, 1);
        QVERIFY(Editing(s));
        messages.queue(MessageAnswer::Yes);
        ClickTool(s, "tlbtnDelete");
        QCOMPARE(StoredRows(QStringLiteral("Foreign")), 0);
    }

    // Closing with unsaved changes asks; Cancel stays, No closes. The maximized
    // state is kept in the preferences.
    void closingAsksAndKeepsTheWindowState()
    {
        ScriptedMessages messages;
        arrFormMaximized[2] = true;
        Planner p;
        QWidget* s = &p.screen;
        QVERIFY(p.screen.isMaximized());
        ClickRow(s, 0);
        QTest::keyClicks(Child<QLineEdit>(s, "txtPlannerActivity"), "!");
        messages.queue(MessageAnswer::Cancel);
        ClickTool(s, "tlbtnClose");
        QVERIFY(p.screen.isVisible());
        messages.queue(MessageAnswer::Yes);
        Child<QAction>(s, "submnuClose")->trigger();
        QCOMPARE(messages.texts(), (QStringList{"Save changes before closing?", "Save changes before closing?"}));
        QVERIFY(!p.screen.isVisible());
        QCOMPARE(StoredRows(QStringLiteral("Estimate for the jones!")), 1);
        QVERIFY(arrFormMaximized[2]);

        Planner q;
        q.screen.showNormal();
        Child<QAction>(&q.screen, "submnuClose")->trigger();
        QVERIFY(!arrFormMaximized[2]);
    }

    // Print and Print Preview hand the list as shown to the planner list job.
    void printingTheMonthList()
    {
        EmptyPlanner();
        Save(At(QDate(2026, 3, 4), 10), At(QDate(2026, 3, 6), 8), QStringLiteral("Three days"));
        Save(At(QDate(2026, 3, 20), 13), At(QDate(2026, 3, 20), 14), QStringLiteral("Lawn care"), false,
             QStringLiteral("Front and back"));
        Planner p;
        QWidget* s = &p.screen;
        QVERIFY(!Shown(s, "tlbtnPrint"));   // today's list is empty
        Child<QComboBox>(s, "cmboPlannerType")->setCurrentIndex(2);
        QVERIFY(Shown(s, "tlbtnPrint") && Shown(s, "tlbtnPrintPreview"));

        QString title;
        {
            ScopedModalRunner runner([&](QDialog& dialog) {
                if (qobject_cast<TfrmPrntPreview*>(&dialog)) title = dialog.windowTitle();
                return 0;
            });
            ClickTool(s, "tlbtnPrintPreview");
        }
        QCOMPARE(title, QStringLiteral("Preview Planner Activities"));
        QCOMPARE(intPrintJob, int(pjPlanner));
        QCOMPARE(recPrintLists.plannerRows.size(), 4);
        QCOMPARE(recPrintLists.plannerRows[1].strDate, QStringLiteral("3/5/2026"));
        QCOMPARE(recPrintLists.plannerListKind, 2);
        QCOMPARE(recPrintLists.plannerDates, QStringLiteral("Sunday, March 29, 2026"));

        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("planner.pdf"));
        modPrintData.SetPrinterOutputFile(printed);
        ClickTool(s, "tlbtnPrint");
        modPrintData.SetPrinterOutputFile(QString());
        const QList<PdfPageWords> words = ReadPdfWords(printed);
        QCOMPARE(words.size(), 1);
        QVERIFY(PageContains(words[0], QStringLiteral("Month Planner List of Activities for:")));
        QVERIFY(PageContains(words[0], QStringLiteral("Sunday, March 29, 2026")));
        QVERIFY(PageContains(words[0], QStringLiteral("Three days")));
        QVERIFY(PageContains(words[0], QStringLiteral("3/6/2026")));
        QVERIFY(PageContains(words[0], QStringLiteral("Front and back")));
    }

    // "Export to Calendar File…" writes the listed activities, one event each.
    void exportingTheListedActivities()
    {
        EmptyPlanner();
        Save(At(QDate(2026, 3, 4), 10), At(QDate(2026, 3, 6), 8), QStringLiteral("Three days"));
        Save(At(QDate(2026, 4, 4), 10), At(QDate(2026, 4, 4), 11), QStringLiteral("April"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("march.ics"));
        QString suggested;
        TfrmPlanner::SetCalendarFileChooser([&](QWidget*, const QString& proposal) {
            suggested = proposal;
            return path;
        });
        ScriptedMessages messages;
        Planner p;
        QWidget* s = &p.screen;
        QVERIFY(!Child<QAction>(s, "submnuExportCalendar")->isEnabled());
        Child<QComboBox>(s, "cmboPlannerType")->setCurrentIndex(2);
        QVERIFY(Child<QAction>(s, "submnuExportCalendar")->isEnabled());
        Child<QAction>(s, "submnuExportCalendar")->trigger();
        QVERIFY(suggested.endsWith(QStringLiteral("Planner.ics")));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("1 activity was written to ") + QDir::toNativeSeparators(path)});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QCOMPARE(text.count("BEGIN:VEVENT"), 1);
        QVERIFY(text.contains("SUMMARY:Three days"));
    }

    // An end date more than a year after the start (a mistyped year) is asked
    // about before anything is written: No keeps editing, Yes saves. The same
    // question guards the save of the closing question.
    void longActivityAsksBeforeItIsSaved()
    {
        EmptyPlanner();
        ScriptedMessages messages;
        Planner p;
        QWidget* s = &p.screen;
        QDateTimeEdit* endDate = StartNewActivity(s, "Fence");
        endDate->setDate(QDate(9024, 3, 29));
        messages.queue(MessageAnswer::No);
        ClickTool(s, "tlbtnSave");
        QCOMPARE(messages.texts(),
                 QStringList{"This activity runs from 3/29/2026 to 3/29/9024, 2,555,968 days: more than a year, and "
                             "each day is stored on its own, which can take a long time. Save it with these dates?"});
        QCOMPARE(StoredRows(QStringLiteral("Fence")), 0);
        QVERIFY(Editing(s));
        QCOMPARE(endDate->date(), QDate(9024, 3, 29));

        // Closing: "Save changes before closing?" Yes, then No at the length question: the screen stays.
        messages.clear();
        messages.queue(MessageAnswer::Yes);
        messages.queue(MessageAnswer::Cancel);
        ClickTool(s, "tlbtnClose");
        QCOMPARE(messages.texts().size(), 2);
        QVERIFY(p.screen.isVisible());
        QCOMPARE(StoredRows(QStringLiteral("Fence")), 0);

        // Exactly a year is saved without a question; a day more asks, and Yes saves.
        messages.clear();
        endDate->setDate(QDate(2027, 3, 29));
        ClickTool(s, "tlbtnSave");
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(StoredRows(QStringLiteral("Fence")), 366);
        StartNewActivity(s, "Roof");
        endDate->setDate(QDate(2027, 3, 30));
        messages.queue(MessageAnswer::Yes);
        ClickTool(s, "tlbtnSave");
        QCOMPARE(messages.texts().size(), 1);
        QCOMPARE(StoredRows(QStringLiteral("Roof")), 367);
        QVERIFY(Browsing(s));
    }

    // An end date typed digit by digit is checked when it is complete: no
    // message at "01", and a date typed and saved at once is the one saved.
    void typingAnEndDate()
    {
        EmptyPlanner();
        ScriptedMessages messages;
        Planner p;
        QWidget* s = &p.screen;
        QDateTimeEdit* endDate = StartNewActivity(s, "Gutters");
        TypeDate(endDate, QDateTimeEdit::MonthSection, "01022027");
        QVERIFY(messages.texts().isEmpty());
        QTest::keyClick(endDate, Qt::Key_Tab);
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(endDate->date(), QDate(2027, 1, 2));

        // Typed and saved without leaving the box: the typed date is saved.
        TypeDate(endDate, QDateTimeEdit::DaySection, "03");
        ClickTool(s, "tlbtnSave");
        QVERIFY(messages.texts().isEmpty());
        QCOMPARE(StoredRows(QStringLiteral("Gutters")), 281);   // March 29, 2026 to January 3, 2027

        // A complete end before the start still gets the message and is corrected.
        StartNewActivity(s, "Early");
        TypeDate(endDate, QDateTimeEdit::MonthSection, "01022026");
        QTest::keyClick(endDate, Qt::Key_Return);
        QCOMPARE(messages.texts(), QStringList{"Date must be equal to or later than: 3/29/2026"});
        QCOMPARE(endDate->date(), kToday);
    }

    // Tab and Shift+Tab leave the calendar grid; the arrow keys move in it.
    void tabLeavesTheCalendar()
    {
        Planner p;
        QWidget* s = &p.screen;
        QApplication::setActiveWindow(s);
        QTableWidget* grid = Calendar(s);
        grid->setFocus();
        QVERIFY(grid->hasFocus());
        QTest::keyClick(grid, Qt::Key_Tab);
        QVERIFY(!grid->hasFocus());
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Tab, Qt::ShiftModifier);
        QVERIFY(!grid->hasFocus());
    }

    // Today is read when it is used: a planner left open over midnight shows
    // the new day in its link, its "Today" link goes there, and when it was
    // showing today it moves on to the new day.
    void todayIsReadWhenItIsUsed()
    {
        EmptyPlanner();
        Save(At(kToday.addDays(1), 9), At(kToday.addDays(1), 10), QStringLiteral("Monday job"));
        QDate clock = kToday;
        TfrmPlanner screen([&clock] { return clock; });
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QWidget* s = &screen;
        auto* link = Child<QLabel>(s, "lblTodayDateDay");
        QCOMPARE(link->text(), QStringLiteral("Today: 3/29/2026"));

        // Midnight passes while today is shown: the minute check moves on.
        clock = kToday.addDays(1);
        auto* timer = s->findChild<QTimer*>(QStringLiteral("tmrPlannerToday"));
        QVERIFY(timer);
        timer->start(1);
        QTRY_COMPARE(link->text(), QStringLiteral("Today: 3/30/2026"));
        timer->stop();
        QCOMPARE(screen.selectedDate(), kToday.addDays(1));
        QCOMPARE(Title(s), QStringLiteral("Monday, March 30, 2026"));
        QCOMPARE(Column(s, 5), QStringList{"Monday job"});
        ClickTool(s, "tlbtnNewActivity");
        QCOMPARE(Child<QDateTimeEdit>(s, "dtPickerPlannerStartDateTime")->date(), kToday.addDays(1));
        ClickTool(s, "tlbtnCancel");

        // Another day selected: it stays, the link shows the new today when the
        // window is active again, and the link goes there.
        ClickDay(s, 10);
        clock = kToday.addDays(2);
        QEvent activation(QEvent::ActivationChange);
        QApplication::setActiveWindow(s);
        QApplication::sendEvent(s, &activation);
        QCOMPARE(link->text(), QStringLiteral("Today: 3/31/2026"));
        QCOMPARE(screen.selectedDate(), QDate(2026, 3, 10));
        clock = kToday.addDays(3);
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(screen.selectedDate(), QDate(2026, 4, 1));
        QCOMPARE(link->text(), QStringLiteral("Today: 4/1/2026"));
        QCOMPARE(Child<QDateTimeEdit>(s, "dtPickerPlannerStartDateTime")->date(), QDate(2026, 4, 1));
    }

    // The calendar's day headings and the day title follow the regional
    // settings: short day names Sunday first, the long date form.
    void headingsAndTitleFollowTheLocale()
    {
        ScopedLocale german("de_DE");
        Planner p;
        QWidget* s = &p.screen;
        QStringList headings;
        for (int column = 0; column < 7; ++column) headings << Calendar(s)->item(0, column)->text();
        QCOMPARE(headings, (QStringList{"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}));
        QCOMPARE(Title(s), QStringLiteral("Sonntag, 29. März 2026"));
        QCOMPARE(Child<QLabel>(s, "lblTodayDateDay")->text(), QStringLiteral("Today: 29.03.2026"));
    }
};

FENNICK_TEST_MAIN(TestFrmPlanner)
#include "test_frmplanner.moc"
