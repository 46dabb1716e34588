// The customer screen driven through its widgets, against a real database:
// searches, the save rules, what is stored, delete, the tool-bar states, the
// save questions and the pick-mode hand-over.
#include "common/TestServer.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitDispatch.h"
#include "app/unitAppInfo.h"
#include "app/unitAppPreferences.h"
#include "shell/unitfrmMain.h"
#include "app/unitfrmSaving.h"
#include "customers/unitCustomerPick.h"
#include "customers/unitCustomerStore.h"
#include "customers/unitfrmCustomer.h"
#include "app/unitPagedListModel.h"
#include "email/unitEmailData.h"
#include "email/unitfrmEmail.h"
#include "company/unitCompanyData.h"
#include "printing/unitModPrintData.h"
#include "printing/unitfrmPrntPreview.h"
#include "prices/unitfrmPrice.h"
#include "db/DbConnection.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QFile>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>

namespace {

template <typename T>
T* Child(QWidget* parent, const char* name)
{
    T* child = parent->findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

QAction* Tool(QWidget* screen, const char* name) { return Child<QAction>(screen, name); }

// Clicks a tool button as a person would: nothing happens when it is hidden or disabled.
void ClickTool(QWidget* screen, const char* name)
{
    QToolButton* button = Child<QToolButton>(screen, name);
    QCoreApplication::processEvents();   // the tool bar lays out shown buttons on its next turn
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

QTableView* List(QWidget* screen) { return Child<QTableView>(screen, "lstvCustomers"); }

// The ids of the listed customers, from the hidden "Cust ID" column, in list order.
QList<qint64> ListedIds(QWidget* screen)
{
    QAbstractItemModel* model = List(screen)->model();
    ReadWholeList(model);
    QList<qint64> ids;
    for (int row = 0; row < model->rowCount(); ++row) ids << model->index(row, 0).data().toLongLong();
    return ids;
}

int RowOf(QWidget* screen, qint64 id) { return int(ListedIds(screen).indexOf(id)); }

void ClickRow(QWidget* screen, int row)
{
    QTableView* list = List(screen);
    QVERIFY(row >= 0);
    list->scrollTo(list->model()->index(row, 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 1)).center());
}

bool OnEditPage(QWidget* screen)
{
    return Child<QStackedWidget>(screen, "pgctrlCustomer")->currentWidget() == Child<QWidget>(screen, "tbsheetEditArea");
}

void Type(QWidget* screen, const char* name, const QString& text)
{
    QLineEdit* edit = Child<QLineEdit>(screen, name);
    edit->setFocus();
    edit->home(false);
    QTest::keyClicks(edit, text);
}

qint64 InsertCustomer(const QString& company, const QString& last = QString(), const QString& exempt = "0")
{
    TCustomer c;
    c.strCustCompany = company;
    c.strCustLastName = last;
    c.strCustTaxExmpt = exempt;
    return SaveCustomer(c);
}

int CountCustomers() { return DbConnection().countRows(QStringLiteral("SELECT * FROM tblCustomers")); }

} // namespace

class TestFrmCustomer : public QObject {
    Q_OBJECT

private slots:
    void init() { CreateTestDatabase(); }
    void cleanup() { RunOutSavingNotice(); }

    void searchTypesListTheRightCustomers_data()
    {
        QTest::addColumn<int>("searchType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("companies");
        // Sample customers: Joes Bar and Grill, (John Doe, no company), Janes Place (tax exempt).
        QTest::newRow("company prefix, lower case") << 1 << "ab" << QStringList{"Abbot", "ABC Corp", "aBle", "ab"};
        QTest::newRow("company prefix, upper case") << 1 << "AB" << QStringList{"Abbot", "ABC Corp", "aBle", "ab"};
        QTest::newRow("double quote is searched as typed") << 1 << "o\"b" << QStringList{"O\"Brien"};
        QTest::newRow("last name") << 2 << "do" << QStringList{"", "Janes Place"};
        QTest::newRow("phone area code") << 5 << "22" << QStringList{"Joes Bar and Grill", "", "Janes Place"};
        QTest::newRow("phone area code 225") << 5 << "225" << QStringList{"Joes Bar and Grill"};
        QTest::newRow("tax exempt") << 10 << "" << QStringList{"Janes Place", "Exempt Co"};
    }
    void searchTypesListTheRightCustomers()
    {
        QFETCH(int, searchType);
        QFETCH(QString, text);
        QFETCH(QStringList, companies);
        for (const char* company : {"Abbot", "Grab Co", "ABC Corp", "aBle", "O\"Brien", "ab"}) InsertCustomer(company);
        InsertCustomer("Exempt Co", "Zed", "-1");

        TfrmCustomer screen;
        screen.show();
        Child<QComboBox>(&screen, "cmboCustSearch")->setCurrentIndex(searchType);
        QLineEdit* search = Child<QLineEdit>(&screen, "txtCustSearch");
        QCOMPARE(search->isEnabled(), !text.isEmpty());
        if (!text.isEmpty()) QTest::keyClicks(search, text);

        QStringList listed;
        QAbstractItemModel* model = List(&screen)->model();
        for (int row = 0; row < model->rowCount(); ++row) listed << model->index(row, 1).data().toString();
        QCOMPARE(listed, companies);
    }

    void customerIdSearchIsAPrefixOfTheDigits()
    {
        DbConnection connection;
        for (int id = 4; id <= 125; ++id)
            connection.execute(QStringLiteral("INSERT INTO tblCustomers(intCustomerID, strCustLastName) VALUES(?, 'x')"), {id});
        connection.close();

        TfrmCustomer screen;
        screen.show();
        Child<QComboBox>(&screen, "cmboCustSearch")->setCurrentIndex(9);
        QTest::keyClicks(Child<QLineEdit>(&screen, "txtCustSearch"), "1");
        QList<qint64> expected{1};
        for (qint64 id = 10; id <= 19; ++id) expected << id;
        for (qint64 id = 100; id <= 125; ++id) expected << id;
        QCOMPARE(ListedIds(&screen), expected);

        // Another search type empties the box, and the list follows the empty text:
        // every customer with a company text (the added ones have none).
        Child<QComboBox>(&screen, "cmboCustSearch")->setCurrentIndex(1);
        QCOMPARE(ListedIds(&screen), (QList<qint64>{1, 2, 3}));

        // Back to "All Customers": the box is emptied and disabled, every row listed.
        Child<QComboBox>(&screen, "cmboCustSearch")->setCurrentIndex(0);
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustSearch")->text(), QString());
        QCOMPARE(ListedIds(&screen).size(), 125);
    }

    // A long list shows its first rows at once and reads the rest as it is
    // scrolled; in the end it holds every row in id order, searches find
    // their rows across the pages, and printing takes the whole list.
    void aLongListReadsOnAsItScrolls()
    {
        DbConnection connection;
        {
            DbTransaction transaction(connection);
            for (int id = 4; id <= 603; ++id)
                connection.execute(QStringLiteral("INSERT INTO tblCustomers(intCustomerID, strCustCompany) VALUES(?, ?)"),
                                   {id, QStringLiteral("%1 Company %2").arg(id % 2 ? "Odd" : "Even").arg(id)});
            transaction.commit();
        }
        connection.close();

        TfrmCustomer screen;
        screen.show();
        QTableView* list = List(&screen);
        QCOMPARE(list->model()->rowCount(), TPagedListModel::kFirstPageRows);
        list->scrollToBottom();
        QVERIFY(WaitUntil([list] { return list->model()->rowCount() > TPagedListModel::kFirstPageRows; }));
        QList<qint64> all;
        for (qint64 id = 1; id <= 603; ++id) all << id;
        QCOMPARE(ListedIds(&screen), all);

        Child<QComboBox>(&screen, "cmboCustSearch")->setCurrentIndex(1);
        QTest::keyClicks(Child<QLineEdit>(&screen, "txtCustSearch"), "odd");
        QList<qint64> odd;
        for (qint64 id = 5; id <= 603; id += 2) odd << id;
        QCOMPARE(list->model()->rowCount(), TPagedListModel::kFirstPageRows);
        {
            ScopedModalRunner runner([](QDialog&) { return 0; });
            ClickTool(&screen, "tlbtnPrintPreview");
        }
        QCOMPARE(recPrintLists.customerIds.size(), odd.size());
        QCOMPARE(recPrintLists.customerIds.first(), QStringLiteral("5"));
        QCOMPARE(recPrintLists.customerIds.last(), QStringLiteral("603"));
        QCOMPARE(ListedIds(&screen), odd);
    }

    void listColumnsShowTheStoredParts()
    {
        TfrmCustomer screen;
        QAbstractItemModel* model = List(&screen)->model();
        QCOMPARE(model->rowCount(), 3);
        const QStringList expected{"1", "Joes Bar and Grill", "Joe Blow", "123 Joes Street",
                                   "Joe City, Joe State 12345", "225-1234567 12345"};
        for (int column = 0; column < expected.size(); ++column)
            QCOMPARE(model->index(0, column).data().toString(), expected[column]);
        QVERIFY(List(&screen)->isColumnHidden(0));
    }

    void saveNeedsAName_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("saveShown");
        QTest::newRow("last name") << "txtCustLstName" << true;
        QTest::newRow("first name") << "txtCustFrstName" << true;
        QTest::newRow("company") << "txtCustCmpnyName" << true;
        QTest::newRow("phone only") << "txtCustPhone" << false;
        QTest::newRow("city only") << "txtCustCity" << false;
        QTest::newRow("notes only") << "txtCustNotes" << false;
    }
    void saveNeedsAName()
    {
        QFETCH(QString, field);
        QFETCH(bool, saveShown);
        TfrmCustomer screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewCustomer");
        if (field == "txtCustNotes")
            QTest::keyClicks(Child<QPlainTextEdit>(&screen, "txtCustNotes"), "only notes");
        else
            Type(&screen, qPrintable(field), "5551234");
        QCOMPARE(Tool(&screen, "tlbtnSave")->isVisible(), saveShown);
        QCOMPARE(Tool(&screen, "tlbtnSave")->isEnabled(), saveShown);
    }

    void newCustomerWithOnlyALastNameIsStored()
    {
        TfrmCustomer screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewCustomer");
        Type(&screen, "txtCustLstName", "Smith");
        Type(&screen, "txtCustPhoneAreaCode", "3a14");   // letters refused, three digits at most
        Type(&screen, "txtCustPhone", "5551234");
        ClickTool(&screen, "tlbtnSave");

        QVERIFY(CurrentSavingNotice());
        QCOMPARE(CurrentSavingNotice()->windowTitle(), QStringLiteral("Saving Customer Information..."));
        QVERIFY(!OnEditPage(&screen));
        QCOMPARE(ListedIds(&screen), (QList<qint64>{1, 2, 3, 4}));
        const TCustomer stored = LoadCustomer(4);
        QCOMPARE(stored.strCustLastName, QStringLiteral("Smith"));
        QCOMPARE(stored.strCustFirstName, QString());
        QCOMPARE(stored.strCustPhoneAreaCode, QStringLiteral("314"));
        QCOMPARE(stored.strCustPhone, QStringLiteral("5551234"));   // the dash is not stored
        QCOMPARE(stored.strCustTaxExmpt, QStringLiteral("0"));
        QCOMPARE(List(&screen)->model()->index(3, 5).data().toString(), QStringLiteral("314-5551234 "));
    }

    void awkwardTextsAreStoredAndShownUnchanged()
    {
        const QString company = QStringLiteral("O\"Brien 100% \"Best\"");
        const QString notes = QStringLiteral("first line\nsecond \"line\" 50%");
        TfrmCustomer screen;
        screen.show();
        ClickRow(&screen, RowOf(&screen, 2));
        QVERIFY(OnEditPage(&screen));
        Child<QLineEdit>(&screen, "txtCustCmpnyName")->setText(company);
        Child<QPlainTextEdit>(&screen, "txtCustNotes")->setPlainText(notes);
        Child<QCheckBox>(&screen, "ckbxTaxExempt")->setChecked(true);
        ClickTool(&screen, "tlbtnSave");

        const TCustomer stored = LoadCustomer(2);
        QCOMPARE(stored.strCustCompany, company);
        QCOMPARE(stored.strCustNotes, notes);
        QCOMPARE(stored.strCustTaxExmpt, QStringLiteral("-1"));
        QCOMPARE(stored.strCustFirstName, QStringLiteral("John"));   // untouched columns stay
        QCOMPARE(CountCustomers(), 3);
        QCOMPARE(List(&screen)->model()->index(RowOf(&screen, 2), 1).data().toString(), company);

        ClickRow(&screen, RowOf(&screen, 2));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustCmpnyName")->text(), company);
        QCOMPARE(Child<QPlainTextEdit>(&screen, "txtCustNotes")->toPlainText(), notes);
        QVERIFY(Child<QCheckBox>(&screen, "ckbxTaxExempt")->isChecked());
    }

    void limitsHoldForTypingNotForStoredTexts()
    {
        const QString longNotes(300, QLatin1Char('n'));
        const QString longCompany(50, QLatin1Char('c'));
        DbConnection().execute(
            QStringLiteral("UPDATE tblCustomers SET strCustNotes = ?, strCustCompany = ? WHERE intCustomerID = 2"),
            {longNotes, longCompany});
        TfrmCustomer screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewCustomer");
        QPlainTextEdit* notes = Child<QPlainTextEdit>(&screen, "txtCustNotes");
        QTest::keyClicks(notes, QString(260, QLatin1Char('x')));
        QCOMPARE(notes->toPlainText().size(), 250);
        ScriptedMessages messages;   // no question: without a name there is nothing to save
        ClickTool(&screen, "tlbtnRtnToCustList");

        // Longer texts stored earlier are shown whole and saved back whole.
        ClickRow(&screen, RowOf(&screen, 2));
        QCOMPARE(notes->toPlainText(), longNotes);
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustCmpnyName")->text(), longCompany);
        Type(&screen, "txtCustCity", "x");
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(LoadCustomer(2).strCustNotes, longNotes);
        QCOMPARE(LoadCustomer(2).strCustCompany, longCompany);

        // A new customer is held to the typing limit again.
        ClickTool(&screen, "tlbtnNewCustomer");
        Type(&screen, "txtCustCmpnyName", QString(40, QLatin1Char('z')));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustCmpnyName")->text().size(), 35);
    }

    void loadingPutsEveryValueOnScreen()
    {
        TfrmCustomer screen;
        screen.show();
        ClickRow(&screen, RowOf(&screen, 3));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustId")->text(), QStringLiteral("3"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustCmpnyName")->text(), QStringLiteral("Janes Place"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustPhone")->text(), QStringLiteral("444-9874"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustFax")->text(), QStringLiteral("444-9875"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustPhoneExt")->text(), QStringLiteral("12"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustTaxExemptNumber")->text(), QStringLiteral("1414141"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustPaymentTerms")->text(), QStringLiteral("Due by the 15th"));
        QCOMPARE(Child<QPlainTextEdit>(&screen, "txtCustNotes")->toPlainText(), QStringLiteral("Fast Pay"));
        QVERIFY(Child<QCheckBox>(&screen, "ckbxTaxExempt")->isChecked());
        // Saving it unchanged writes back exactly what was read.
        const TCustomer before = LoadCustomer(3);
        Type(&screen, "txtCustCity", "X");
        Child<QLineEdit>(&screen, "txtCustCity")->setText(before.strCustCity);
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(LoadCustomer(3), before);
    }

    void aFailedSaveIsShownAndKeepsTheEdit()
    {
        SKIP_ON_SERVER("the database file is deleted under the screen (tests/shell/test_serverseat cuts the connection instead)");
        ScriptedMessages messages;
        TfrmCustomer screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewCustomer");
        Type(&screen, "txtCustLstName", "Keep me");
        QVERIFY(QFile::remove(GetDatabasePath()));
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(messages.texts(), QStringList{"Cannot open file " + GetDatabasePath() + "."});
        QVERIFY(OnEditPage(&screen));
        QVERIFY(Tool(&screen, "tlbtnSave")->isEnabled());
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustLstName")->text(), QStringLiteral("Keep me"));

        // Closing still asks; a save that fails again keeps the screen open.
        messages.queue(MessageAnswer::Yes);
        screen.close();
        QVERIFY(screen.isVisible());
        messages.queue(MessageAnswer::No);
        screen.close();
        QVERIFY(!screen.isVisible());
    }

    void deleteAsksAndRemovesOnlyItsRow()
    {
        ScriptedMessages messages;
        TfrmCustomer screen;
        screen.show();
        ClickRow(&screen, RowOf(&screen, 2));

        messages.queue(MessageAnswer::No);
        ClickTool(&screen, "tlbtnDelete");
        QCOMPARE(messages.texts(), QStringList{"Delete this Customers from your list?"});
        QCOMPARE(CountCustomers(), 3);
        QVERIFY(OnEditPage(&screen));

        messages.queue(MessageAnswer::Yes);
        ClickTool(&screen, "tlbtnDelete");
        QVERIFY(!OnEditPage(&screen));
        QCOMPARE(ListedIds(&screen), (QList<qint64>{1, 3}));
        QCOMPARE(LoadCustomer(1).strCustLastName, QStringLiteral("Blow"));
        QCOMPARE(LoadCustomer(3).strCustLastName, QStringLiteral("Doe"));
    }

    void toolBarFollowsListNewAndEditStates()
    {
        struct Expected { bool newShown, cancelShown, saveShown, deleteShown, editPage; QString caption; };
        auto check = [](QWidget* screen, const Expected& e) {
            // Printing belongs to the list page: editing hides it.
            for (const auto& [name, shown] : {std::pair{"tlbtnNewCustomer", e.newShown},
                                              std::pair{"tlbtnRtnToCustList", e.cancelShown},
                                              std::pair{"tlbtnSave", e.saveShown},
                                              std::pair{"tlbtnDelete", e.deleteShown},
                                              std::pair{"tlbtnPrint", !e.editPage},
                                              std::pair{"tlbtnPrintPreview", !e.editPage}}) {
                QAction* action = Tool(screen, name);
                QVERIFY2(action->isVisible() == shown && action->isEnabled() == shown, name);
            }
            QCOMPARE(OnEditPage(screen), e.editPage);
            QCOMPARE(Child<QGroupBox>(screen, "gbxCustomer")->title(), e.caption);
            QVERIFY(Tool(screen, "tlbtnClose")->isVisible());
            QVERIFY(Tool(screen, "tlbtnHelp")->isVisible());
        };
        TfrmCustomer screen;
        screen.show();
        QCOMPARE(screen.windowTitle(), QStringLiteral("Customer Maintenance"));
        const Expected list{true, false, false, false, false, "Customer Information Work Area"};
        check(&screen, list);

        ClickTool(&screen, "tlbtnNewCustomer");
        check(&screen, {false, true, false, false, true, "New Customer Information"});
        Type(&screen, "txtCustFrstName", "Ann");
        check(&screen, {false, true, true, false, true, "New Customer Information"});
        ScriptedMessages messages;
        messages.queue(MessageAnswer::No);
        ClickTool(&screen, "tlbtnRtnToCustList");
        check(&screen, list);
        QCOMPARE(CountCustomers(), 3);

        // A freshly loaded customer shows no "Save" until something is edited.
        ClickRow(&screen, 0);
        check(&screen, {false, true, false, true, true, "Edit Customer Information"});
        Type(&screen, "txtCustCity", "x");
        check(&screen, {false, true, true, true, true, "Edit Customer Information"});
    }

    void cancelAndCloseAskBeforeLosingChanges()
    {
        ScriptedMessages messages;
        TfrmCustomer screen;
        screen.show();
        ClickRow(&screen, RowOf(&screen, 1));
        Type(&screen, "txtCustCity", "New ");

        messages.queue(MessageAnswer::Cancel);
        ClickTool(&screen, "tlbtnRtnToCustList");
        QCOMPARE(messages.texts(), QStringList{"Save changes to this customer?"});
        QVERIFY(OnEditPage(&screen));

        messages.queue(MessageAnswer::Cancel);
        screen.close();
        QVERIFY(screen.isVisible());

        messages.queue(MessageAnswer::Yes);
        screen.close();
        QVERIFY(!screen.isVisible());
        QCOMPARE(LoadCustomer(1).strCustCity, QStringLiteral("New Joe City"));
        QCOMPARE(messages.pendingAnswers(), 0);
    }

    void closingWithoutChangesAsksNothing()
    {
        ScriptedMessages messages;   // any question would fail the test
        TfrmCustomer screen;
        screen.show();
        ClickRow(&screen, 0);
        screen.close();
        QVERIFY(!screen.isVisible());
        QVERIFY(messages.shown().isEmpty());
    }

    void paymentTermsPickerFillsTheTermsBox()
    {
        TfrmCustomer screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewCustomer");
        QComboBox* picker = Child<QComboBox>(&screen, "cmbPaymentTerms");
        QStringList entries;
        for (int i = 0; i < picker->count(); ++i) entries << picker->itemText(i);
        QCOMPARE(entries, (QStringList{"Select Payment Terms", "Due on day of completion", "Due on the 10th",
                                       "Due on the 20th", "Net Due on the 20th"}));
        picker->setCurrentIndex(2);
        emit picker->activated(2);
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustPaymentTerms")->text(), QStringLiteral("Due on the 10th"));
        picker->setCurrentIndex(0);
        emit picker->activated(0);
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustPaymentTerms")->text(), QStringLiteral("Due on the 10th"));
    }

    void pickLinesFollowTheNamesGiven_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("fax");
        QTest::addColumn<QString>("nameLine");
        QTest::addColumn<QString>("phoneFaxLine");
        QTest::newRow("both names, both numbers") << "John" << "Smith" << "5551234" << "5554321"
                                                  << "Smith, John" << "Phone 5551234 Fax 5554321";
        QTest::newRow("last name, phone only") << "" << "Smith" << "5551234" << "" << "Smith" << "Phone 5551234";
        QTest::newRow("first name, fax only") << "John" << "" << "" << "5554321" << "John" << " Fax 5554321";
        QTest::newRow("nothing") << "" << "" << "" << "" << "" << "";
    }
    void pickLinesFollowTheNamesGiven()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, phone);
        QFETCH(QString, fax);
        QFETCH(QString, nameLine);
        QFETCH(QString, phoneFaxLine);
        TCustomer c;
        c.strCustFirstName = first;
        c.strCustLastName = last;
        c.strCustPhone = phone;
        c.strCustFax = fax;
        const TrecCustomerPick pick = MakeCustomerPick(c, false);
        QCOMPARE(pick.strName, nameLine);
        QCOMPARE(pick.strPhoneFax, phoneFaxLine);
    }

    void useThisCustomerHandsTheBlockOver()
    {
        ScriptedMessages messages;
        int runs = 0;
        ScopedModalRunner runner([&runs](QDialog& dialog) {
            ++runs;
            dialog.show();
            QPushButton* use = Child<QPushButton>(&dialog, "btnUseThisCust");
            if (use->isHidden() || use->isEnabled()) return -1;   // shown in pick mode, disabled in the list
            ClickRow(&dialog, RowOf(&dialog, 3));
            if (!use->isEnabled()) return -1;
            QTest::mouseClick(use, Qt::LeftButton);
            return dialog.isVisible() ? -1 : dialog.result();
        });
        const std::optional<TrecCustomerPick> pick = PickCustomer();
        QCOMPARE(runs, 1);
        QVERIFY(pick.has_value());
        TrecCustomerPick expected;
        expected.strCompany = "Janes Place";
        expected.strName = "Doe, Jane";
        expected.strAddress = "55555 Street Place";
        expected.strCityStZip = "Jane City Jane State 88888";
        expected.strPhoneFax = "Phone 4449874 Fax 4449875";
        expected.strTaxExemptNumber = "1414141";
        expected.strEmail = LoadCustomer(3).strCustEmail;
        expected.strPmtTerms = "Due by the 15th";
        expected.blTaxExempt = true;
        QCOMPARE(*pick, expected);
        QVERIFY(messages.shown().isEmpty());
    }

    void pickingAnUnsavedCustomerAsksToSaveIt()
    {
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        ScopedModalRunner runner([](QDialog& dialog) {
            dialog.show();
            ClickTool(&dialog, "tlbtnNewCustomer");
            Type(&dialog, "txtCustLstName", "Smith");
            Type(&dialog, "txtCustFax", "7654321");
            QTest::mouseClick(Child<QPushButton>(&dialog, "btnUseThisCust"), Qt::LeftButton);
            return dialog.result();
        });
        const std::optional<TrecCustomerPick> pick = PickCustomer();
        QVERIFY(pick.has_value());
        QCOMPARE(pick->strName, QStringLiteral("Smith"));
        QCOMPARE(pick->strPhoneFax, QStringLiteral(" Fax 7654321"));
        QCOMPARE(messages.texts(), QStringList{"Save changes to this customer?"});
        QCOMPARE(LoadCustomer(4).strCustLastName, QStringLiteral("Smith"));
    }

    void closingAPickWithoutChoosingHandsNothing()
    {
        ScopedModalRunner runner([](QDialog& dialog) {
            dialog.show();
            ClickRow(&dialog, 0);
            dialog.close();
            return dialog.result();
        });
        QVERIFY(!PickCustomer().has_value());
    }

    void mainWindowCommandsOpenTheScreensForMaintenance_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("pickControl");
        QTest::newRow("menu customers") << "submnuCustomerMaintenance" << "frmCustomer" << "btnUseThisCust";
        QTest::newRow("tool bar customers") << "tlbtnCustomerMaintenance" << "frmCustomer" << "btnUseThisCust";
        QTest::newRow("menu price sheet") << "submnuPriceSheet" << "frmPrice" << "btnAddPriceItnToInvoice";
    }
    void mainWindowCommandsOpenTheScreensForMaintenance()
    {
        QFETCH(QString, command);
        QFETCH(QString, screen);
        QFETCH(QString, pickControl);
        LoadAppPreferences();
        TfrmMain window;
        window.show();
        QStringList opened;
        ScopedModalRunner runner([&](QDialog& dialog) {
            const QWidget* pick = dialog.findChild<QWidget*>(pickControl);
            opened << dialog.objectName() << (pick && !pick->isHidden() ? "pick" : "maintenance");
            return 0;
        });
        if (QToolButton* button = window.findChild<QToolButton*>(command)) {
            QCoreApplication::processEvents();
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QAction* action = window.findChild<QAction*>(command);
            QVERIFY(action && action->isEnabled());
            action->trigger();
        }
        QCOMPARE(opened, (QStringList{screen, "maintenance"}));
    }

    // Print and Print Preview need listed rows and are never offered while picking.
    void printNeedsListedRowsOutsidePickMode()
    {
        // 1: both shown, 0: both hidden, -1: they disagree.
        auto printShown = [](QWidget* screen) {
            const bool print = Tool(screen, "tlbtnPrint")->isVisible() && Tool(screen, "tlbtnPrint")->isEnabled();
            return Tool(screen, "tlbtnPrintPreview")->isVisible() == print ? int(print) : -1;
        };
        TfrmCustomer screen;
        screen.show();
        QCOMPARE(printShown(&screen), 1);
        Child<QComboBox>(&screen, "cmboCustSearch")->setCurrentIndex(1);
        Type(&screen, "txtCustSearch", "zz");
        QCOMPARE(List(&screen)->model()->rowCount(), 0);
        QCOMPARE(printShown(&screen), 0);
        Child<QLineEdit>(&screen, "txtCustSearch")->clear();
        QCOMPARE(printShown(&screen), 1);

        TfrmCustomer pick(TCustomerScreenMode::Pick);
        pick.show();
        QVERIFY(List(&pick)->model()->rowCount() > 0);
        QCOMPARE(printShown(&pick), 0);
    }

    // What prints is the list as it stands: the search result, in list order.
    // The preview shows it under its title; without a printer, Print says so.
    void printingListsTheCustomersShown()
    {
        TfrmCustomer screen;
        screen.show();
        Child<QComboBox>(&screen, "cmboCustSearch")->setCurrentIndex(1);
        Type(&screen, "txtCustSearch", "ja");
        QCOMPARE(ListedIds(&screen), QList<qint64>{3});

        QString title;
        int pages = 0;
        {
            ScopedModalRunner runner([&](QDialog& dialog) {
                if (auto* preview = qobject_cast<TfrmPrntPreview*>(&dialog)) {
                    title = preview->windowTitle();
                    pages = preview->pageCount();
                }
                return 0;
            });
            ClickTool(&screen, "tlbtnPrintPreview");
        }
        QCOMPARE(title, QStringLiteral("Preview Customer List"));
        QCOMPARE(pages, 1);
        QCOMPARE(recPrintLists.customerIds, QStringList{"3"});

        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("customers.pdf"));
        modPrintData.SetPrinterOutputFile(printed);
        ClickTool(&screen, "tlbtnPrint");
        modPrintData.SetPrinterOutputFile(QString());
        const QList<PdfPageWords> words = ReadPdfWords(printed);
        QCOMPARE(words.size(), 1);
        QVERIFY(PageContains(words[0], QStringLiteral("Customer List")));
        QVERIFY(PageContains(words[0], QStringLiteral("Janes Place")));
        QVERIFY(!PageContains(words[0], QStringLiteral("Joes Bar and Grill")));

        if (QPrinterInfo::defaultPrinter().isNull()) {
            ScriptedMessages messages;
            ClickTool(&screen, "tlbtnPrint");
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
            QVERIFY(messages.shown()[0].text.contains(QStringLiteral("no default printer")));
            QVERIFY(screen.isVisible());
        }
    }

    // "Send this customer Email" is live exactly when an address is given and
    // opens the e-mail screen addressed to the customer on screen, without a
    // subject or attachment; the customer screen stays open.
    void sendEmailLinkAddressesTheCustomer_data()
    {
        QTest::addColumn<qint64>("customerId");
        QTest::addColumn<QString>("typedAddress");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("recipientName");
        QTest::newRow("company") << qint64(1) << "" << "joe@example.com" << "Joes Bar and Grill";
        QTest::newRow("no company, address typed") << qint64(2) << "john@example.org" << "john@example.org"
                                                   << "John Doe";
    }
    void sendEmailLinkAddressesTheCustomer()
    {
        QFETCH(qint64, customerId);
        QFETCH(QString, typedAddress);
        QFETCH(QString, address);
        QFETCH(QString, recipientName);
        recCompanyData.blCompEmailSubjectInvNameNum = true;
        TfrmCustomer screen;
        screen.show();
        ClickRow(&screen, RowOf(&screen, customerId));
        auto* link = Child<QLabel>(&screen, "lblSendCustEmail");
        QCOMPARE(link->toolTip(), QStringLiteral("Click to send this customer Email"));
        QCOMPARE(link->isEnabled(), typedAddress.isEmpty());
        if (!typedAddress.isEmpty()) Type(&screen, "txtCustEmail", typedAddress);
        QVERIFY(link->isEnabled());

        QStringList seen;
        bool sendEnabled = true;
        bool attach = true;
        {
            ScopedModalRunner runner([&](QDialog& dialog) {
                if (!qobject_cast<TfrmEmail*>(&dialog)) return 0;
                seen << Child<QLineEdit>(&dialog, "txtEmailAddress")->text()
                     << Child<QLineEdit>(&dialog, "txtEmailSubject")->text() << recEmailData.strRecipientName;
                sendEnabled = Child<QPushButton>(&dialog, "btnSendEmail")->isEnabled();
                attach = recEmailData.blAttach || !recEmailData.strAttachmentPath.isEmpty();
                Child<QPushButton>(&dialog, "btnCancelEmail")->click();
                return dialog.result();
            });
            QCoreApplication::processEvents();
            QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        }
        QCOMPARE(seen, (QStringList{address, QString(), recipientName}));
        QVERIFY(!sendEnabled);   // no subject yet
        QVERIFY(!attach);
        QVERIFY(screen.isVisible());
        QVERIFY(OnEditPage(&screen));

        Child<QLineEdit>(&screen, "txtCustEmail")->clear();
        QVERIFY(!link->isEnabled());
    }

    // The country and VAT ID an e-invoice names are saved with the customer, in
    // the same transaction, come back when it is loaded and go with a pick; a
    // VAT ID without its country code is refused and nothing is written.
    void countryAndVatIdAreKeptWithTheCustomer()
    {
        ScriptedMessages messages;
        TfrmCustomer screen;
        screen.show();
        ClickRow(&screen, RowOf(&screen, 2));
        auto* country = Child<QComboBox>(&screen, "cmbCustCountry");
        QCOMPARE(country->currentText(), QString());
        QCOMPARE(country->itemText(0), QString());
        country->setCurrentIndex(country->findText(QStringLiteral("FR France")));
        QVERIFY(Tool(&screen, "tlbtnSave")->isEnabled());
        Type(&screen, "txtCustVatId", "123");
        Type(&screen, "txtCustCity", "Paris ");
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().startsWith("The VAT ID 123 must begin"), qPrintable(messages.texts().first()));
        QVERIFY(OnEditPage(&screen));
        QCOMPARE(LoadCustomer(2).strCustCity, QStringLiteral("John City"));   // nothing written
        QCOMPARE(LoadCustomer(2).strCustCountry, QString());

        Child<QLineEdit>(&screen, "txtCustVatId")->setText(QStringLiteral("FR40303265045"));
        ClickTool(&screen, "tlbtnSave");
        QVERIFY(!OnEditPage(&screen));
        const TCustomer saved = LoadCustomer(2);
        QCOMPARE(saved.strCustCity, QStringLiteral("Paris John City"));
        QCOMPARE(saved.strCustCountry, QStringLiteral("FR"));
        QCOMPARE(saved.strCustVatId, QStringLiteral("FR40303265045"));

        ClickRow(&screen, RowOf(&screen, 2));
        QCOMPARE(country->currentText(), QStringLiteral("FR France"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtCustVatId")->text(), QStringLiteral("FR40303265045"));
        const TrecCustomerPick pick = MakeCustomerPick(LoadCustomer(2), false);
        QCOMPARE(pick.strCountry, QStringLiteral("FR"));
        QCOMPARE(pick.strVatId, QStringLiteral("FR40303265045"));

        // Deleting the customer removes its e-invoice row too.
        messages.queue(MessageAnswer::Yes);
        ClickTool(&screen, "tlbtnDelete");
        QCOMPARE(DbConnection().countRows(QStringLiteral("SELECT * FROM tblCustEInvoice")), 0);
    }

    void maintenanceModeHasNoUseButton()
    {
        TfrmCustomer screen;
        screen.show();
        ClickRow(&screen, 0);
        QVERIFY(!Child<QPushButton>(&screen, "btnUseThisCust")->isVisible());
    }
};

FENNICK_TEST_MAIN(TestFrmCustomer)
#include "test_frmcustomer.moc"
