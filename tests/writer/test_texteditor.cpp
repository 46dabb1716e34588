// The contract and warranty writer driven through its widgets, against a real
// database: the two texts kept apart, the save discipline, a save that fails,
// the close question, printing the stored text, and the main window's commands.
#include "common/TestFaults.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitAppInfo.h"
#include "app/unitDispatch.h"
#include "app/unitLimitedEdit.h"
#include "app/unitModeValues.h"
#include "db/DbConnection.h"
#include "printing/unitModPrintData.h"
#include "printing/unitfrmPrntPreview.h"
#include "shell/unitfrmMain.h"
#include "writer/unitContractWarrantyStore.h"
#include "writer/unitfrmTextEditor.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// Shown and enabled: the writer shows its tool buttons exactly when they can be used.
bool Offered(QWidget* screen, const char* name)
{
    QCoreApplication::processEvents();
    return Tool(screen, name)->isVisible() && Tool(screen, name)->isEnabled();
}

void ClickTool(QWidget* screen, const char* name)
{
    QToolButton* button = Child<QToolButton>(screen, name);
    QCoreApplication::processEvents();
    QVERIFY2(button->isVisible() && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

QPlainTextEdit* Editor(QWidget* screen) { return Child<QPlainTextEdit>(screen, "txtTextEditor"); }
QLineEdit* TitleBox(QWidget* screen) { return Child<QLineEdit>(screen, "txtContractWarrantyName"); }

void TypeText(QWidget* screen, const QString& text)
{
    QPlainTextEdit* editor = Editor(screen);
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int index = 0; index < lines.size(); ++index) {
        if (index > 0) QTest::keyClick(editor, Qt::Key_Return);
        QTest::keyClicks(editor, lines[index]);
    }
}

struct StoredRow {
    QString contractName, warrantyName, contract, warranty;
};

StoredRow ReadRow()
{
    DbConnection connection;
    DbStatement read = connection.prepare(QStringLiteral(
        "SELECT strContractName, strWarrantyName, strContract, strWarranty FROM tblContractWarranty "
        "WHERE intContractWarrantyID = 1"));
    if (!read.step()) return {};
    return {read.columnText(0), read.columnText(1), read.columnText(2), read.columnText(3)};
}

void StoreRow(const StoredRow& row)
{
    DbConnection().execute(QStringLiteral("UPDATE tblContractWarranty SET strContractName = ?, strWarrantyName = ?, "
                                          "strContract = ?, strWarranty = ? WHERE intContractWarrantyID = 1"),
                           {row.contractName, row.warrantyName, row.contract, row.warranty});
}

const StoredRow kRow{QStringLiteral("HOUSE CONTRACT"), QStringLiteral("ROOF WARRANTY"),
                     QStringLiteral("Contract line one\r\nContract line two"),
                     QStringLiteral("Warranty line one\r\nWarranty line two")};

} // namespace

class TestTextEditor : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        StoreRow(kRow);
    }

    void opensInItsModeWithCaptionsAndHints_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("contract") << 1 << "Contract" << kRow.contractName << "Contract line one\nContract line two";
        QTest::newRow("warranty") << 0 << "Warranty" << kRow.warrantyName << "Warranty line one\nWarranty line two";
    }
    void opensInItsModeWithCaptionsAndHints()
    {
        QFETCH(int, mode);
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QString, text);
        intContractWarrantyMode = mode;
        TfrmTextEditor screen;
        screen.show();
        QCOMPARE(screen.windowTitle(), name + " Writer");
        QCOMPARE(TitleBox(&screen)->text(), title);
        QCOMPARE(Editor(&screen)->toPlainText(), text);
        QCOMPARE(Child<QLabel>(&screen, "lblContractWarrantyName")->text(), QStringLiteral("   title: "));
        QCOMPARE(TypedLimit(TitleBox(&screen)), 45);
        QCOMPARE(TitleBox(&screen)->toolTip(), "Enter a title for " + name);
        QCOMPARE(Editor(&screen)->toolTip(), "Edit " + name);
        QCOMPARE(Tool(&screen, "tlbtnClose")->toolTip(), QStringLiteral("Close"));
        QCOMPARE(Tool(&screen, "tlbtnHelp")->toolTip(), QStringLiteral("Open Help"));
        QCOMPARE(Tool(&screen, "tlbtnPrint")->toolTip(), "Print " + name);
        QCOMPARE(Tool(&screen, "tlbtnPrintPreview")->toolTip(), "Print Preview " + name);
        QCOMPARE(Tool(&screen, "tlbtnSave")->toolTip(), "Save changes to " + name);
        QCOMPARE(screen.focusWidget(), static_cast<QWidget*>(Editor(&screen)));
        QVERIFY(!Offered(&screen, "tlbtnSave"));
        QVERIFY(Offered(&screen, "tlbtnPrint"));
        QVERIFY(Offered(&screen, "tlbtnPrintPreview"));
    }

    // Saving one text leaves the other exactly as it was; the next opening in
    // the other mode shows that one's own title and text.
    void theTwoTextsNeverMix()
    {
        intContractWarrantyMode = 0;
        {
            TfrmTextEditor screen;
            screen.show();
            TitleBox(&screen)->setText(QStringLiteral("NEW WARRANTY"));
            TypeText(&screen, QStringLiteral("\nThird"));
            ClickTool(&screen, "tlbtnSave");
        }
        const StoredRow afterWarranty = ReadRow();
        QCOMPARE(afterWarranty.warrantyName, QStringLiteral("NEW WARRANTY"));
        QCOMPARE(afterWarranty.warranty, QStringLiteral("Warranty line one\r\nWarranty line two\r\nThird"));
        QCOMPARE(afterWarranty.contractName, kRow.contractName);
        QCOMPARE(afterWarranty.contract, kRow.contract);

        intContractWarrantyMode = 1;
        TfrmTextEditor screen;
        screen.show();
        QCOMPARE(TitleBox(&screen)->text(), kRow.contractName);
        QCOMPARE(Editor(&screen)->toPlainText(), QStringLiteral("Contract line one\nContract line two"));
        TypeText(&screen, QStringLiteral("!"));
        ClickTool(&screen, "tlbtnSave");
        QCOMPARE(ReadRow().warranty, afterWarranty.warranty);
        QCOMPARE(ReadRow().warrantyName, QStringLiteral("NEW WARRANTY"));
        QCOMPARE(ReadRow().contract, QStringLiteral("Contract line one\r\nContract line two!"));
    }

    // Save is offered by typing and taken away by saving; quotes, ";" and line
    // breaks are stored exactly as typed.
    void saveFollowsTheModifiedMarkAndStoresTextExactly()
    {
        intContractWarrantyMode = 1;
        TfrmTextEditor screen;
        screen.show();
        QVERIFY(!Offered(&screen, "tlbtnSave"));
        TypeText(&screen, QStringLiteral("x"));
        QVERIFY(Offered(&screen, "tlbtnSave"));
        const QString tricky = QStringLiteral("He said \"no\"; 'DROP TABLE tblPrices;--\nnext line");
        Editor(&screen)->setPlainText(tricky);
        Editor(&screen)->document()->setModified(true);
        TitleBox(&screen)->setText(QStringLiteral("\"Quoted\"; title"));
        ClickTool(&screen, "tlbtnSave");
        QVERIFY(!Offered(&screen, "tlbtnSave"));
        QCOMPARE(ReadRow().contract, QStringLiteral("He said \"no\"; 'DROP TABLE tblPrices;--\r\nnext line"));
        QCOMPARE(ReadRow().contractName, QStringLiteral("\"Quoted\"; title"));
        QVERIFY(DbConnection().countRows(QStringLiteral("SELECT * FROM tblPrices")) > 0);
        // Nothing left to ask about: closing does not ask.
        ScriptedMessages messages;
        screen.close();
        QVERIFY(messages.shown().isEmpty());
        QVERIFY(!screen.isVisible());
    }

    // A changed title alone is offered for saving and asked about on closing,
    // so it cannot be lost without a word.
    void aChangedTitleIsSavedToo()
    {
        intContractWarrantyMode = 0;
        TfrmTextEditor screen;
        screen.show();
        TitleBox(&screen)->setFocus();
        TitleBox(&screen)->selectAll();
        QTest::keyClicks(TitleBox(&screen), QStringLiteral("LIFETIME WARRANTY"));
        QVERIFY(Offered(&screen, "tlbtnSave"));
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);
        screen.close();
        QCOMPARE(messages.texts(), QStringList{"Save changes to Warranty?"});
        QCOMPARE(ReadRow().warrantyName, QStringLiteral("LIFETIME WARRANTY"));
        QCOMPARE(ReadRow().warranty, kRow.warranty);
    }

    void closeQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Yes saves and closes") << int(MessageAnswer::Yes) << false << true;
        QTest::newRow("No closes without saving") << int(MessageAnswer::No) << false << false;
        QTest::newRow("Cancel stays") << int(MessageAnswer::Cancel) << true << false;
    }
    void closeQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, stillOpen);
        QFETCH(bool, saved);
        intContractWarrantyMode = 1;
        TfrmTextEditor screen;
        screen.show();
        TypeText(&screen, QStringLiteral(" added"));
        ScriptedMessages messages;
        messages.queue(MessageAnswer(answer));
        ClickTool(&screen, "tlbtnClose");
        QCOMPARE(messages.texts(), QStringList{"Save changes to Contract?"});
        QCOMPARE(messages.shown()[0].kind, MessageKind::Question);
        QCOMPARE(screen.isVisible(), stillOpen);
        QCOMPARE(ReadRow().contract, saved ? kRow.contract + " added" : kRow.contract);
    }

    // A save that fails (the database locked by another program) keeps the
    // modified mark: Save stays offered, closing still asks, and a later save
    // stores everything typed.
    void aFailedSaveLosesNothing()
    {
        intContractWarrantyMode = 1;
        TfrmTextEditor screen;
        screen.show();
        TypeText(&screen, QStringLiteral(" kept"));

        ScriptedMessages messages;
        {
            TWritesRefused locker;
            ClickTool(&screen, "tlbtnSave");
            QCOMPARE(messages.shown().size(), 1);
            QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
            QVERIFY(messages.shown()[0].text.contains(QStringLiteral("lock")));   // "locked", on a server "lock timeout"
            QVERIFY(Offered(&screen, "tlbtnSave"));

            // Closing asks; Yes fails again, so the writer stays open.
            messages.clear();
            messages.queue(MessageAnswer::Yes);
            screen.close();
            QVERIFY(screen.isVisible());
            QCOMPARE(messages.shown().size(), 2);
            QCOMPARE(messages.shown()[1].kind, MessageKind::Error);
        }
        QCOMPARE(ReadRow().contract, kRow.contract);

        messages.clear();
        messages.queue(MessageAnswer::Yes);
        screen.close();
        QCOMPARE(messages.texts(), QStringList{"Save changes to Contract?"});
        QVERIFY(!screen.isVisible());
        QCOMPARE(ReadRow().contract, kRow.contract + " kept");
    }

    // A text that cannot be read (the database held by another program) is
    // never shown as an empty one that a save would write over: the writer
    // says so and closes, and the stored texts stay as they were.
    void anUnreadableTextClosesTheWriter()
    {
        ScriptedMessages messages;
        messages.queue(MessageAnswer::Yes);   // were it open, Yes would save the empty text
        QVERIFY(ClosesItselfWhileLocked(OpenContractWriter));
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
        QVERIFY2(messages.shown()[0].text.startsWith(QStringLiteral(
                     "The Contract could not be read, and the writer closes without saving anything: ")),
                 qPrintable(messages.shown()[0].text));
        QVERIFY(messages.shown()[0].text.contains(QStringLiteral("lock")));   // "locked", on a server "lock timeout"
        QCOMPARE(ReadRow().contract, kRow.contract);
        QCOMPARE(ReadRow().contractName, kRow.contractName);
    }

    // Print and Print Preview print what is stored, not unsaved edits; an empty
    // text takes Print away while Print Preview stays.
    void printingUsesTheStoredText()
    {
        intContractWarrantyMode = 0;
        TfrmTextEditor screen;
        screen.show();
        TypeText(&screen, QStringLiteral(" UNSAVEDWORD"));

        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("warranty.pdf"));
        modPrintData.SetPrinterOutputFile(printed);
        ClickTool(&screen, "tlbtnPrint");
        modPrintData.SetPrinterOutputFile(QString());
        QCOMPARE(intPrintJob, int(pjWarranty));
        const QList<PdfPageWords> pages = ReadPdfWords(printed);
        QVERIFY(!pages.isEmpty());
        QVERIFY(PageContains(pages[0], kRow.warrantyName));
        QVERIFY(PageContains(pages[0], QStringLiteral("Warranty line two")));
        QVERIFY(!PageHasText(pages[0], QStringLiteral("UNSAVEDWORD")));
        QVERIFY(!PageHasText(pages[0], QStringLiteral("Contract")));

        QString previewTitle;
        {
            ScopedModalRunner runner([&](QDialog& dialog) {
                if (auto* preview = qobject_cast<TfrmPrntPreview*>(&dialog)) previewTitle = preview->windowTitle();
                return 0;
            });
            ClickTool(&screen, "tlbtnPrintPreview");
        }
        QCOMPARE(previewTitle, TmodPrintData::PreviewTitle(pjWarranty));

        Editor(&screen)->selectAll();
        QTest::keyClick(Editor(&screen), Qt::Key_Delete);
        QVERIFY(Editor(&screen)->toPlainText().isEmpty());
        QVERIFY(!Offered(&screen, "tlbtnPrint"));
        QVERIFY(Offered(&screen, "tlbtnPrintPreview"));
        QVERIFY(Offered(&screen, "tlbtnSave"));
        TypeText(&screen, QStringLiteral("a"));
        QVERIFY(Offered(&screen, "tlbtnPrint"));
        ScriptedMessages messages;
        messages.queue(MessageAnswer::No);
        screen.close();
    }

    // The main window's two commands open the writer in their own mode.
    void mainWindowCommandsOpenTheirWriter()
    {
        TfrmMain window;
        QStringList opened;
        ScopedModalRunner runner([&](QDialog& dialog) {
            if (auto* writer = qobject_cast<TfrmTextEditor*>(&dialog))
                opened << writer->windowTitle() + ": " + Child<QLineEdit>(writer, "txtContractWarrantyName")->text();
            return 0;
        });
        for (const char* name : {"submnuContractWriter", "submnuWarrantyWriter"}) {
            QVERIFY2(Tool(&window, name)->isEnabled(), name);
            Tool(&window, name)->trigger();
        }
        QCOMPARE(opened, (QStringList{"Contract Writer: HOUSE CONTRACT", "Warranty Writer: ROOF WARRANTY"}));
        OpenContractWriter();
        QCOMPARE(intContractWarrantyMode, 1);
        OpenWarrantyWriter();
        QCOMPARE(intContractWarrantyMode, 0);
    }

    void storedLineEndings()
    {
        QCOMPARE(EditorTextToStored(QStringLiteral("a\nb\n")), QStringLiteral("a\r\nb\r\n"));
        QCOMPARE(EditorTextToStored(QStringLiteral("a\r\nb")), QStringLiteral("a\r\nb"));
        QCOMPARE(StoredTextToEditor(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
        QCOMPARE(ContractWarrantyModeName(1), QStringLiteral("Contract"));
        QCOMPARE(ContractWarrantyModeName(7), QStringLiteral("Warranty"));
    }
};

FENNICK_TEST_MAIN(TestTextEditor)
#include "test_texteditor.moc"
