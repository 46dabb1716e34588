// The price sheet driven through its widgets, against a real database: the
// key filter, searches, what a save stores and lists, delete, the editing
// state, the save questions and the pick-mode hand-over.
#include "common/TestServer.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitAppInfo.h"
#include "app/unitDispatch.h"
#include "db/DbConnection.h"
#include "prices/unitPriceHandOver.h"
#include "prices/unitPriceRules.h"
#include "prices/unitfrmPrice.h"
#include "printing/unitModPrintData.h"
#include "printing/unitfrmPrntPreview.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
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

void ClickTool(QWidget* screen, const char* name)
{
    QToolButton* button = Child<QToolButton>(screen, name);
    QCoreApplication::processEvents();   // the tool bar lays out shown buttons on its next turn
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

QTableView* List(QWidget* screen) { return Child<QTableView>(screen, "lstPrice"); }

QString Cell(QWidget* screen, int row, int column) { return List(screen)->model()->index(row, column).data().toString(); }

QStringList ListedNames(QWidget* screen)
{
    QStringList names;
    for (int row = 0; row < List(screen)->model()->rowCount(); ++row) names << Cell(screen, row, 0);
    return names;
}

void ClickRow(QWidget* screen, int row)
{
    QTableView* list = List(screen);
    QVERIFY(row >= 0);
    list->scrollTo(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
}

void Type(QWidget* screen, const char* name, const QString& text)
{
    QLineEdit* edit = Child<QLineEdit>(screen, name);
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, text);
}

struct StoredItem {
    QString name, labTax, matTax;
    double labour = 0, material = 0;
};

StoredItem ReadItem(qint64 id)
{
    DbConnection connection;
    DbStatement statement = connection.prepare(
        QStringLiteral("SELECT strPrcItemName, strLabTax, strMatTax, dbLbrPrc, dbMatPrc FROM tblPrices "
                       "WHERE intPrcItemNumID = ?"), {id});
    if (!statement.step()) return {};
    return {statement.columnText(0), statement.columnText(1), statement.columnText(2), statement.columnDouble(3),
            statement.columnDouble(4)};
}

int CountItems() { return DbConnection().countRows(QStringLiteral("SELECT * FROM tblPrices")); }

} // namespace

class TestFrmPrice : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        recPrices.clear();
    }
    void cleanup() { RunOutSavingNotice(); }

    // Digits and separators go in, every separator as typed (the text is read
    // whole when it is used); other characters do not.
    void numberBoxesTakeOnlyDigitsAndSeparators_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("digits and a point") << "12.50" << "12.50";
        QTest::newRow("second point kept") << "1.2.3" << "1.2.3";
        QTest::newRow("letters refused") << "a1b2" << "12";
        QTest::newRow("minus and plus refused") << "-5+" << "5";
        QTest::newRow("comma kept, space refused") << "1,0 0" << "1,00";
        QTest::newRow("beyond ten characters") << "123456789012" << "1234567890";
    }
    void numberBoxesTakeOnlyDigitsAndSeparators()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        TfrmPrice screen(TPriceScreenMode::Pick);
        screen.show();
        ClickTool(&screen, "tlbtnNewPriceItem");
        for (const char* box : {"txtLaborPrice", "txtMatPrice", "txtQuantity"}) {
            Type(&screen, box, typed);
            QCOMPARE(Child<QLineEdit>(&screen, box)->text(), kept);
        }
        // Backspace and the arrows still work in the box.
        QLineEdit* labour = Child<QLineEdit>(&screen, "txtLaborPrice");
        QTest::keyClick(labour, Qt::Key_Backspace);
        QCOMPARE(labour->text(), kept.chopped(1));
    }

    void keyFilterRule()
    {
        QVERIFY(AllowNumDecimalOnly(QLatin1Char('\b'), QStringLiteral("1.5")));
        QVERIFY(AllowNumDecimalOnly(QLatin1Char('.'), QStringLiteral("15")));
        QVERIFY(AllowNumDecimalOnly(QLatin1Char('.'), QStringLiteral("1.5")));   // kept: the reading decides
        QVERIFY(!AllowNumDecimalOnly(QChar(0x00BD), QString()));   // ½: under 256 but no digit
        QVERIFY(!AllowNumDecimalOnly(QChar(0x0663), QString()));   // Arabic-Indic three
    }

    void searchTypesListTheRightItems()
    {
        DbConnection connection;
        for (const char* name : {"Paint wall", "PATCH hole", "spare parts", "paving", "O\"Neil trim"})
            connection.execute(QStringLiteral("INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
                                              "VALUES(?, '-1', '0', 1, 2)"), {QString::fromUtf8(name)});
        connection.close();

        TfrmPrice screen;
        screen.show();
        QComboBox* type = Child<QComboBox>(&screen, "cmbSearchPrcItm");
        QLineEdit* search = Child<QLineEdit>(&screen, "txtSearchPrcItm");
        QCOMPARE(ListedNames(&screen).size(), 17);
        QVERIFY(!search->isEnabled());

        type->setCurrentIndex(1);
        QVERIFY(search->isEnabled());
        QTest::keyClicks(search, "pa");
        QCOMPARE(ListedNames(&screen), (QStringList{"Paint wall", "PATCH hole", "paving"}));
        search->clear();
        QTest::keyClicks(search, "o\"n");
        QCOMPARE(ListedNames(&screen), QStringList{"O\"Neil trim"});

        // Labour taxable: none of the twelve samples, all five added.
        type->setCurrentIndex(2);
        QCOMPARE(search->text(), QString());
        QVERIFY(!search->isEnabled());
        QCOMPARE(ListedNames(&screen), (QStringList{"Paint wall", "PATCH hole", "spare parts", "paving", "O\"Neil trim"}));
        type->setCurrentIndex(3);
        QCOMPARE(ListedNames(&screen).size(), 5);   // the five material-taxable samples
    }

    void listColumnsCarryMoneyFlagsNumbersAndId()
    {
        TfrmPrice screen;
        QCOMPARE(List(&screen)->model()->rowCount(), 12);
        // Sample 2: "Wash med window - EA. 2 story", 22.00 and 0.75, neither taxable.
        const QStringList expected{"Wash med window - EA. 2 story", "$22.00", "$0.75", "0", "0", "22.0", "0.75", "2"};
        for (int column = 0; column < expected.size(); ++column) QCOMPARE(Cell(&screen, 1, column), expected[column]);
        QCOMPARE(Cell(&screen, 0, 4), QStringLiteral("-1"));
        for (int column = 3; column < 8; ++column) QVERIFY(List(&screen)->isColumnHidden(column));
        QVERIFY(!List(&screen)->isColumnHidden(2));
    }

    void itemWithOnlyALabourPriceStoresZeroMaterial()
    {
        TfrmPrice screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewPriceItem");
        Type(&screen, "txtPriceItmDiscription", "Haul away");
        QVERIFY(!Tool(&screen, "tlbtnSave")->isEnabled());   // a description alone is not enough
        Type(&screen, "txtLaborPrice", "12.5");
        QTest::mouseClick(Child<QCheckBox>(&screen, "ckbxLaborTaxable"), Qt::LeftButton);
        ClickTool(&screen, "tlbtnSave");

        QCOMPARE(CountItems(), 13);
        const StoredItem stored = ReadItem(13);
        QCOMPARE(stored.name, QStringLiteral("Haul away"));
        QCOMPARE(stored.labour, 12.5);
        QCOMPARE(stored.material, 0.0);
        QCOMPARE(stored.labTax, QStringLiteral("-1"));
        QCOMPARE(stored.matTax, QStringLiteral("0"));
        QCOMPARE(Cell(&screen, 12, 1), QStringLiteral("$12.50"));
        QCOMPARE(Cell(&screen, 12, 2), QStringLiteral("$0.00"));
        QCOMPARE(Cell(&screen, 12, 6), QStringLiteral("0.0"));
        QVERIFY(List(&screen)->isEnabled());
        QCOMPARE(Child<QLineEdit>(&screen, "txtPriceItmDiscription")->text(), QString());
    }

    // German settings: a typed "12,5" is stored as 12.5 and listed as money in
    // the German form; the box shows the stored price back with the comma.
    void germanSettingsTypeAndShowTheComma()
    {
        ScopedLocale german("de_DE");
        TfrmPrice screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewPriceItem");
        Type(&screen, "txtPriceItmDiscription", "Haul away");
        Type(&screen, "txtLaborPrice", "12,5");
        QCOMPARE(Child<QLineEdit>(&screen, "txtLaborPrice")->text(), QStringLiteral("12,5"));
        ClickTool(&screen, "tlbtnSave");

        const StoredItem stored = ReadItem(13);
        QCOMPARE(stored.labour, 12.5);
        QCOMPARE(stored.material, 0.0);
        QCOMPARE(Cell(&screen, 12, 1), QString::fromUtf8("12,50\u00A0€"));
        QCOMPARE(Cell(&screen, 12, 2), QString::fromUtf8("0,00\u00A0€"));
        QCOMPARE(Cell(&screen, 12, 5), QStringLiteral("12.5"));   // the stored text itself is untouched
        ClickRow(&screen, 12);
        QCOMPARE(Child<QLineEdit>(&screen, "txtLaborPrice")->text(), QStringLiteral("12,5"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtMatPrice")->text(), QStringLiteral("0,0"));
    }

    // Under German settings "2.5" is the amount meant; "1.234" could be two
    // amounts and is refused with both readings, nothing stored.
    void germanSettingsReadTheAmountMeant()
    {
        ScopedLocale german("de_DE");
        ScriptedMessages messages;
        TfrmPrice screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewPriceItem");
        Type(&screen, "txtPriceItmDiscription", "Two readings");
        Type(&screen, "txtLaborPrice", "1.234");
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(messages.texts(),
                 QStringList{"'1.234' can mean 1234 or 1,234: please type the amount as one of these."});
        QCOMPARE(CountItems(), 12);
        messages.clear();
        Child<QLineEdit>(&screen, "txtLaborPrice")->clear();
        Type(&screen, "txtLaborPrice", "2.5");
        ClickTool(&screen, "tlbtnSave");
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(ReadItem(13).labour, 2.5);
    }

    void germanSettingsHandTheStoredFormToTheDocument()
    {
        ScopedLocale german("de_DE");
        ScopedModalRunner runner([](QDialog& dialog) {
            dialog.show();
            ClickRow(&dialog, 6);   // "Trim Lawn edge - med size per week", 6.25 and 0.00
            Type(&dialog, "txtQuantity", "3,5");
            QTest::mouseClick(Child<QPushButton>(&dialog, "btnAddPriceItnToInvoice"), Qt::LeftButton);
            return dialog.isVisible() ? -1 : 1;
        });
        PickPriceItem();
        QCOMPARE(recPrices.strLbrPrc, QStringLiteral("6.25"));
        QCOMPARE(recPrices.strMatPrc, QStringLiteral("0.0"));
        QCOMPARE(recPrices.strQuantity, QStringLiteral("3.5"));
    }

    void editingAnItemUpdatesOnlyItsRow()
    {
        TfrmPrice screen;
        screen.show();
        ClickRow(&screen, 2);
        QCOMPARE(Child<QLabel>(&screen, "lblPriceItmID")->text(), QStringLiteral("3"));
        QCOMPARE(Child<QLineEdit>(&screen, "txtLaborPrice")->text(), QStringLiteral("54.75"));
        QVERIFY(Child<QCheckBox>(&screen, "ckbxMatTaxable")->isChecked());
        QVERIFY(!Tool(&screen, "tlbtnSave")->isEnabled());
        const QString name = QStringLiteral("Roof \"A\" 100% done");
        Child<QLineEdit>(&screen, "txtPriceItmDiscription")->setText(name);
        Child<QLineEdit>(&screen, "txtMatPrice")->clear();
        ClickTool(&screen, "tlbtnSave");

        QCOMPARE(CountItems(), 12);
        const StoredItem stored = ReadItem(3);
        QCOMPARE(stored.name, name);
        QCOMPARE(stored.labour, 54.75);
        QCOMPARE(stored.material, 0.0);
        QCOMPARE(stored.matTax, QStringLiteral("-1"));
        QCOMPARE(ReadItem(4).name, QStringLiteral("Install new roofing - 2 Story per square"));
        QCOMPARE(Cell(&screen, 2, 0), name);
    }

    void pastedTextThatIsNoNumberIsRefusedWithAMessage()
    {
        ScriptedMessages messages;
        TfrmPrice screen;
        screen.show();
        ClickTool(&screen, "tlbtnNewPriceItem");
        Type(&screen, "txtPriceItmDiscription", "Pasted");
        Child<QLineEdit>(&screen, "txtLaborPrice")->setText(QStringLiteral("."));   // as if pasted
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(messages.texts(), QStringList{"'.' is not a valid floating point value."});
        QCOMPARE(CountItems(), 12);
        QVERIFY(Tool(&screen, "tlbtnSave")->isEnabled());   // still in the edit, nothing lost
        QCOMPARE(Child<QLineEdit>(&screen, "txtPriceItmDiscription")->text(), QStringLiteral("Pasted"));
    }

    void editingDisablesTheListUntilCancelled()
    {
        ScriptedMessages messages;
        TfrmPrice screen;
        screen.show();
        auto checkBrowsing = [&screen](bool browsing) {
            QCOMPARE(List(&screen)->isEnabled(), browsing);
            QCOMPARE(Child<QComboBox>(&screen, "cmbSearchPrcItm")->isEnabled(), browsing);
            QCOMPARE(Child<QLineEdit>(&screen, "txtPriceItmDiscription")->isEnabled(), !browsing);
            QCOMPARE(Tool(&screen, "tlbtnNewPriceItem")->isVisible(), browsing);
            QCOMPARE(Tool(&screen, "tlbtnCancel")->isVisible(), !browsing);
            QCOMPARE(Tool(&screen, "tlbtnCancel")->isEnabled(), !browsing);
            // While an item is edited printing is hidden.
            QCOMPARE(Tool(&screen, "tlbtnPrint")->isVisible(), browsing);
            QCOMPARE(Tool(&screen, "tlbtnPrint")->isEnabled(), browsing);
            QCOMPARE(Tool(&screen, "tlbtnPrintPreview")->isVisible(), browsing);
        };
        QCOMPARE(screen.windowTitle(), QStringLiteral("Price Sheet"));
        checkBrowsing(true);
        QVERIFY(!Tool(&screen, "tlbtnDelete")->isVisible());

        ClickRow(&screen, 0);
        checkBrowsing(false);
        QVERIFY(Tool(&screen, "tlbtnDelete")->isVisible() && Tool(&screen, "tlbtnDelete")->isEnabled());
        // A click on the disabled list loads nothing else.
        ClickRow(&screen, 5);
        QCOMPARE(Child<QLabel>(&screen, "lblPriceItmID")->text(), QStringLiteral("1"));

        Type(&screen, "txtPriceItmDiscription", " more");
        messages.queue(MessageAnswer::Cancel);
        ClickTool(&screen, "tlbtnCancel");
        checkBrowsing(false);
        messages.queue(MessageAnswer::No);
        ClickTool(&screen, "tlbtnCancel");
        checkBrowsing(true);
        QCOMPARE(messages.texts(), (QStringList{"Save changes to this Price Item?", "Save changes to this Price Item?"}));
        QCOMPARE(ReadItem(1).name, QStringLiteral("Wash small window - EA."));
    }

    void closeAsksWhileSaveIsEnabled()
    {
        ScriptedMessages messages;
        TfrmPrice screen;
        screen.show();
        ClickRow(&screen, 0);
        Child<QLineEdit>(&screen, "txtLaborPrice")->setText(QStringLiteral("7"));
        messages.queue(MessageAnswer::Cancel);
        screen.close();
        QVERIFY(screen.isVisible());
        messages.queue(MessageAnswer::Yes);
        screen.close();
        QVERIFY(!screen.isVisible());
        QCOMPARE(ReadItem(1).labour, 7.0);
    }

    void deleteAsksAndRemovesOnlyItsRow()
    {
        ScriptedMessages messages;
        TfrmPrice screen;
        screen.show();
        ClickRow(&screen, 4);
        messages.queue(MessageAnswer::Cancel);
        ClickTool(&screen, "tlbtnDelete");
        QCOMPARE(CountItems(), 12);
        messages.queue(MessageAnswer::Yes);
        ClickTool(&screen, "tlbtnDelete");
        QCOMPARE(messages.texts(), (QStringList{"Delete this Price Item from your list?",
                                                "Delete this Price Item from your list?"}));
        QCOMPARE(CountItems(), 11);
        QVERIFY(ReadItem(5).name.isEmpty());
        QVERIFY(!ReadItem(4).name.isEmpty() && !ReadItem(6).name.isEmpty());
        QCOMPARE(List(&screen)->model()->rowCount(), 11);
        QVERIFY(List(&screen)->isEnabled());
    }

    void addToInvoiceHandsTheItemAndQuantityOver()
    {
        ScriptedMessages messages;   // no question: nothing was edited
        ScopedModalRunner runner([](QDialog& dialog) {
            dialog.show();
            QPushButton* add = Child<QPushButton>(&dialog, "btnAddPriceItnToInvoice");
            if (add->isHidden() || Child<QLineEdit>(&dialog, "txtQuantity")->isHidden()) return -1;
            ClickRow(&dialog, 6);   // "Trim Lawn edge - med size per week", 6.25 and 0.00
            if (add->isEnabled()) return -1;   // no quantity yet
            Type(&dialog, "txtQuantity", "3.5");
            if (!add->isEnabled()) return -1;
            QTest::mouseClick(add, Qt::LeftButton);
            return dialog.isVisible() ? -1 : 1;
        });
        PickPriceItem();
        TrecPrices expected;
        expected.strPrcItemName = "Trim Lawn edge - med size per week";
        expected.strLbrPrc = "6.25";
        expected.strMatPrc = "0.0";
        expected.strLabTax = "0";
        expected.strMatTax = "0";
        expected.strQuantity = "3.5";
        QCOMPARE(recPrices, expected);
        QVERIFY(messages.shown().isEmpty());
    }

    void aPastedQuantityThatIsNoNumberIsNotHandedOver()
    {
        ScriptedMessages messages;
        bool stayedOpen = false;
        ScopedModalRunner runner([&stayedOpen](QDialog& dialog) {
            dialog.show();
            ClickRow(&dialog, 0);
            Child<QLineEdit>(&dialog, "txtQuantity")->setText(QStringLiteral("2x"));   // as if pasted
            QTest::mouseClick(Child<QPushButton>(&dialog, "btnAddPriceItnToInvoice"), Qt::LeftButton);
            stayedOpen = dialog.isVisible();
            dialog.close();
            return dialog.result();
        });
        PickPriceItem();
        QVERIFY(stayedOpen);
        QCOMPARE(messages.texts(), QStringList{"'2x' is not a valid floating point value."});
        QCOMPARE(recPrices, TrecPrices());
    }

    // Print and Print Preview need listed rows and are never offered while picking.
    void printNeedsListedRowsOutsidePickMode()
    {
        // 1: both shown, 0: both hidden, -1: they disagree.
        auto printShown = [](QWidget* screen) {
            const bool print = Tool(screen, "tlbtnPrint")->isVisible() && Tool(screen, "tlbtnPrint")->isEnabled();
            return Tool(screen, "tlbtnPrintPreview")->isVisible() == print ? int(print) : -1;
        };
        TfrmPrice screen;
        screen.show();
        QCOMPARE(printShown(&screen), 1);
        Child<QComboBox>(&screen, "cmbSearchPrcItm")->setCurrentIndex(1);
        QTest::keyClicks(Child<QLineEdit>(&screen, "txtSearchPrcItm"), "zz");
        QCOMPARE(ListedNames(&screen), QStringList());
        QCOMPARE(printShown(&screen), 0);
        Child<QLineEdit>(&screen, "txtSearchPrcItm")->clear();
        QCOMPARE(printShown(&screen), 1);

        TfrmPrice pick(TPriceScreenMode::Pick);
        pick.show();
        QVERIFY(!ListedNames(&pick).isEmpty());
        QCOMPARE(printShown(&pick), 0);
    }

    // What prints is the list as it stands: the search result, in list order,
    // with the prices as shown. Without a printer, Print says so.
    void printingListsThePriceItemsShown()
    {
        DbConnection connection;
        for (const char* name : {"Paint wall", "Paint trim"})
            connection.execute(QStringLiteral("INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
                                              "VALUES(?, '-1', '0', 1234.5, 2)"), {QString::fromUtf8(name)});
        connection.close();
        TfrmPrice screen;
        screen.show();
        Child<QComboBox>(&screen, "cmbSearchPrcItm")->setCurrentIndex(1);
        QTest::keyClicks(Child<QLineEdit>(&screen, "txtSearchPrcItm"), "paint");
        QCOMPARE(ListedNames(&screen), (QStringList{"Paint wall", "Paint trim"}));

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
        QCOMPARE(title, QStringLiteral("Preview Price Sheet List"));
        QCOMPARE(pages, 1);
        QCOMPARE(recPrintLists.priceRows.size(), 2);
        QCOMPARE(recPrintLists.priceRows[1].strPrcItemName, QStringLiteral("Paint trim"));
        QCOMPARE(recPrintLists.priceRows[1].strLabPrice, QStringLiteral("$1,234.50"));
        QCOMPARE(recPrintLists.priceRows[1].strLabTaxable, QStringLiteral("-1"));

        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("prices.pdf"));
        modPrintData.SetPrinterOutputFile(printed);
        ClickTool(&screen, "tlbtnPrint");
        modPrintData.SetPrinterOutputFile(QString());
        const QList<PdfPageWords> words = ReadPdfWords(printed);
        QCOMPARE(words.size(), 1);
        QVERIFY(PageContains(words[0], QStringLiteral("Price Sheet List")));
        QVERIFY(PageContains(words[0], QStringLiteral("Paint trim")));
        QVERIFY(PageHasText(words[0], QStringLiteral("$1,234.50")));
        QVERIFY(!PageHasText(words[0], QStringLiteral("Wash")));

        if (QPrinterInfo::defaultPrinter().isNull()) {
            ScriptedMessages messages;
            ClickTool(&screen, "tlbtnPrint");
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
            QVERIFY(messages.shown()[0].text.contains(QStringLiteral("no default printer")));
            QVERIFY(screen.isVisible());
        }
    }

    void closingAPickWithoutAddingLeavesTheRecordEmpty()
    {
        ScopedModalRunner runner([](QDialog& dialog) {
            dialog.show();
            ClickRow(&dialog, 0);
            Type(&dialog, "txtQuantity", "2");
            dialog.close();
            return dialog.result();
        });
        PickPriceItem();
        QVERIFY(recPrices.strPrcItemName.isEmpty());
        QCOMPARE(recPrices, TrecPrices());
    }

    // Cancel at the save question of "Add To Invoice" hands nothing over, even
    // when the screen is closed afterwards without saving.
    void cancelledHandOverLeavesNothing()
    {
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Cancel);   // at "Add To Invoice"
        messages.queue(MessageAnswer::No);       // at Close
        bool stayedOpen = false;
        ScopedModalRunner runner([&stayedOpen](QDialog& dialog) {
            dialog.show();
            ClickRow(&dialog, 0);
            QLineEdit* labour = Child<QLineEdit>(&dialog, "txtLaborPrice");
            labour->selectAll();
            QTest::keyClicks(labour, "99");   // an unsaved price
            Type(&dialog, "txtQuantity", "2");
            QTest::mouseClick(Child<QPushButton>(&dialog, "btnAddPriceItnToInvoice"), Qt::LeftButton);
            stayedOpen = dialog.isVisible();
            dialog.close();
            return dialog.result();
        });
        PickPriceItem();
        QVERIFY(stayedOpen);
        QCOMPARE(messages.texts(), QStringList(2, QStringLiteral("Save changes to this Price Item?")));
        QCOMPARE(recPrices, TrecPrices());
    }

    // Stored prices that money text cannot show: the list shows the marker and
    // the screen works on (this ended the program when the list was painted).
    void unshowablePricesShowAMarker()
    {
        DbConnection connection;
        // An infinite amount: 9e999 on the file; the server takes it only by name.
        const QString infinite = TestRunsOnServer() ? QStringLiteral("'Infinity'") : QStringLiteral("9e999");
        for (const QString& price : {QStringLiteral("1e300"), infinite, QStringLiteral("-1e300")})
            connection.execute(QStringLiteral("INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
                                              "VALUES(?, '0', '0', %1, 1.5)").arg(price),
                               {QStringLiteral("Huge %1").arg(price)});
        connection.close();
        TfrmPrice screen;
        screen.show();
        QCoreApplication::processEvents();
        QVERIFY(!screen.grab().isNull());   // paints every visible cell
        QStringList markers;
        for (int row = 0; row < List(&screen)->model()->rowCount(); ++row)
            if (Cell(&screen, row, 0).startsWith(QStringLiteral("Huge"))) markers << Cell(&screen, row, 1) + Cell(&screen, row, 2);
        QCOMPARE(markers, QStringList(3, QStringLiteral("####$1.50")));
        QCOMPARE(Cell(&screen, 0, 0), QStringLiteral("Wash small window - EA."));
        QCOMPARE(Cell(&screen, 0, 1), QStringLiteral("$6.15"));
        // The amount boxes take no more than ten characters.
        for (const char* box : {"txtLaborPrice", "txtMatPrice", "txtQuantity"})
            QCOMPARE(Child<QLineEdit>(&screen, box)->maxLength(), 10);
    }
};

FENNICK_TEST_MAIN(TestFrmPrice)
#include "test_frmprice.moc"
