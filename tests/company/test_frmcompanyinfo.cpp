// The company screen driven through its widgets against a real database:
// showing, the tax boxes and their check, payment terms, the column preview,
// memo limits, colours, the logo, the planner page, saving (all or nothing)
// and the close question; and the main window and new documents after a save.
#include "common/TestServer.h"
#include "common/TestFaults.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitAppInfo.h"
#include "app/unitDispatch.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "company/unitLineLimitedMemo.h"
#include "company/unitfrmCompanyInfo.h"
#include "db/DbConnection.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitModPrintData.h"
#include "printing/unitPrintData.h"
#include "shell/unitfrmMain.h"

#include <QBuffer>
#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextCursor>
#include <QToolButton>

namespace {

template <typename T>
T* Find(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

QString Column(const QString& sql)
{
    DbConnection db;
    DbStatement row = db.prepare(sql);
    return row.step() ? row.columnText(0) : QStringLiteral("<no row>");
}

bool SaveShown(QWidget& screen)
{
    QCoreApplication::processEvents();
    QToolButton* save = Find<QToolButton>(screen, "tlbtnSave");
    return save->isVisible() && save->isEnabled();
}

void ClickSave(QWidget& screen)
{
    QVERIFY(SaveShown(screen));
    QTest::mouseClick(Find<QToolButton>(screen, "tlbtnSave"), Qt::LeftButton);
}

void ShowPage(QWidget& screen, const QString& title)
{
    QTabWidget* pages = Find<QTabWidget>(screen, "ppnlCompanyInfo");
    for (int i = 0; i < pages->count(); ++i)
        if (pages->tabText(i) == title) pages->setCurrentIndex(i);
    QCoreApplication::processEvents();
}

QString CurrentPage(QWidget& screen)
{
    QTabWidget* pages = Find<QTabWidget>(screen, "ppnlCompanyInfo");
    return pages->tabText(pages->currentIndex());
}

void Retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void ClickTerm(QListWidget* list, int row)
{
    QCoreApplication::processEvents();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// The payment-term controls of the Invoice page, shown.
struct TermControls {
    explicit TermControls(QWidget& screen)
    {
        ShowPage(screen, QStringLiteral("Invoice"));
        list = Find<QListWidget>(screen, "lstPmtTerms");
        term = Find<QLineEdit>(screen, "txtPmtTerm");
        add = Find<QPushButton>(screen, "btnAddPmtTerms");
        remove = Find<QPushButton>(screen, "btnRemovePmtTerms");
        cancel = Find<QPushButton>(screen, "btnCancelPmtTerms");
    }
    QListWidget* list;
    QLineEdit* term;
    QPushButton* add;
    QPushButton* remove;
    QPushButton* cancel;
};

QStringList Terms(QListWidget* list)
{
    QStringList terms;
    for (int row = 0; row < list->count(); ++row) terms << list->item(row)->text();
    return terms;
}

// Every colour picker answers OK with this colour.
class PickColor {
public:
    explicit PickColor(QColor color)
        : m_runner([color, this](QDialog& dialog) {
              auto* picker = qobject_cast<QColorDialog*>(&dialog);
              if (!picker) return int(QDialog::Rejected);
              ++runs;
              picker->setCurrentColor(color);
              return int(QDialog::Accepted);
          })
    {
    }
    int runs = 0;

private:
    ScopedModalRunner m_runner;
};

// The open-picture dialog answers OK with this file.
class PickFile {
public:
    explicit PickFile(QString path)
        : m_runner([path, this](QDialog& dialog) {
              auto* files = qobject_cast<QFileDialog*>(&dialog);
              if (!files) return int(QDialog::Rejected);
              filter = files->nameFilters().join(';');
              files->selectFile(path);
              return int(QDialog::Accepted);
          })
    {
    }
    QString filter;

private:
    ScopedModalRunner m_runner;
};

QString WriteBitmap(const QString& name)
{
    QImage picture(60, 30, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 30));
    const QString path = QDir(GetTempFolder()).filePath(name);
    if (!picture.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class TestFrmCompanyInfo : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));   // the US forms the texts below use
        CreateTestDatabase();
        QFile::remove(GetLogoPath());
    }
    void cleanup() { RunOutSavingNotice(); }

    // Shown from the settings: Save disabled, tax rates with four decimals, the
    // stored terms, the subject rule, the hidden password; closing unchanged asks nothing.
    void showsTheSettingsWithSaveDisabled()
    {
        ScriptedMessages messages;
        TfrmCompanyInfo screen;
        screen.show();
        QCOMPARE(screen.windowTitle(), QStringLiteral("Company Information"));
        QCOMPARE(CurrentPage(screen), QStringLiteral("Company"));
        QVERIFY(!SaveShown(screen));
        QCOMPARE(Find<QLineEdit>(screen, "txtCompName")->text(), recCompanyData.strCompName);
        QCOMPARE(Find<QLineEdit>(screen, "txtTax1")->text(), QStringLiteral("0.0123"));
        QCOMPARE(Find<QLineEdit>(screen, "txtTax2")->text(), QStringLiteral("0.0500"));
        QCOMPARE(Find<QLineEdit>(screen, "txtTax3")->text(), QStringLiteral("0.0000"));
        QCOMPARE(Terms(Find<QListWidget>(screen, "lstPmtTerms")).size(), 4);
        QCOMPARE(Find<QLabel>(screen, "Label5")->text(), QStringLiteral("You may add 6 more Payment Terms"));
        QCOMPARE(Find<QLabel>(screen, "lblLogo")->text(), QStringLiteral("No Logo"));
        QVERIFY(!Find<QPushButton>(screen, "btnRemoveLogo")->isEnabled());
        QVERIFY(Find<QRadioButton>(screen, "rbtnSubjectUseInvNameNum")->isChecked());
        QVERIFY(!Find<QLineEdit>(screen, "txtCompEmailSubject")->isEnabled());
        QCOMPARE(Find<QLabel>(screen, "lblTaxAmountHelp2")->text(),
                 QStringLiteral("Enter the tax amount. \nExample: 5 Percent = 0.0500 \n\nYou may enter up to 4 digits, "
                                "\nExample: 0.1234 "));
        QCOMPARE(Find<QAction>(screen, "tlbtnClose")->text(), QStringLiteral("   Close   "));
        QCOMPARE(Find<QToolButton>(screen, "tlbtnClose")->text(), QStringLiteral("   Close   "));

        QLineEdit* password = Find<QLineEdit>(screen, "txtCompEmailPassword");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        Find<QCheckBox>(screen, "ckbxShowPassword")->click();
        QCOMPARE(password->echoMode(), QLineEdit::Normal);
        QVERIFY(!SaveShown(screen));   // showing the password changes nothing

        screen.close();
        QVERIFY(!screen.isVisible());
        QVERIFY(messages.shown().isEmpty());
    }

    // A tax option with a rate needs a name; a name without a rate is fine.
    void taxOptionWithRateNeedsAName()
    {
        ScriptedMessages messages;
        TfrmCompanyInfo screen;
        screen.show();
        Retype(Find<QLineEdit>(screen, "txtCompName"), QStringLiteral("Changed Name"));
        ShowPage(screen, QStringLiteral("Tax"));
        Find<QLineEdit>(screen, "txtTaxName2")->clear();
        ShowPage(screen, QStringLiteral("Company"));
        ClickSave(screen);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Please enter a Tax Name for Tax Option 2.")});
        QCOMPARE(CurrentPage(screen), QStringLiteral("Tax"));
        QVERIFY(SaveShown(screen));
        QCOMPARE(Column("SELECT strCompName FROM tblCompanyInfo"), QStringLiteral("My Company Name"));
        QCOMPARE(Column("SELECT strTaxName2 FROM tblCompanyInvData"), QStringLiteral("State Tax"));

        // Rate 0.0000 and no name saves.
        messages.clear();
        QLineEdit* rate = Find<QLineEdit>(screen, "txtTax2");
        rate->setFocus();
        rate->selectAll();
        QTest::keyClick(rate, Qt::Key_Delete);
        QCOMPARE(rate->text(), QStringLiteral("0.0000"));   // a cleared box reads 0.0000
        ClickSave(screen);
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        QVERIFY(!SaveShown(screen));
        QCOMPARE(Column("SELECT strCompName FROM tblCompanyInfo"), QStringLiteral("Changed Name"));
        QCOMPARE(Column("SELECT strTaxName2 FROM tblCompanyInvData"), QString());
        QCOMPARE(Column("SELECT dbTaxRate2 FROM tblCompanyInvData"), QStringLiteral("0.0"));

        // A 5 typed over the first digit is 500 %.
        rate->setCursorPosition(0);
        QTest::keyClick(rate, Qt::Key_5);
        QCOMPARE(rate->text(), QStringLiteral("5.0000"));
        Find<QLineEdit>(screen, "txtTaxName2")->setText(QStringLiteral("Big Tax"));
        ClickSave(screen);
        QCOMPARE(Column("SELECT dbTaxRate2 FROM tblCompanyInvData"), QStringLiteral("5.0"));
        QCOMPARE(recCmpnyInvData.dbTaxRate2, 5.0);
    }

    // The tax boxes show and take the regional decimal separator; the rate is
    // stored in its one stored form.
    void taxBoxesFollowTheRegionalSeparator()
    {
        ScopedLocale german("de_DE");
        ScriptedMessages messages;
        TfrmCompanyInfo screen;
        screen.show();
        ShowPage(screen, QStringLiteral("Tax"));
        QLineEdit* rate = Find<QLineEdit>(screen, "txtTax2");
        QCOMPARE(rate->text(), QStringLiteral("0,0500"));
        rate->setFocus();
        rate->selectAll();
        QTest::keyClick(rate, Qt::Key_Delete);
        QCOMPARE(rate->text(), QStringLiteral("0,0000"));
        rate->setCursorPosition(2);
        QTest::keyClicks(rate, QStringLiteral("0750"));
        QCOMPARE(rate->text(), QStringLiteral("0,0750"));
        ClickSave(screen);
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(Column("SELECT dbTaxRate2 FROM tblCompanyInvData"), QStringLiteral("0.075"));
        QCOMPARE(recCmpnyInvData.dbTaxRate2, 0.075);
    }

    // Ten terms fill the list: Add stays off for new text, while an entry can
    // still be changed and removed.
    void tenPaymentTermsAreFull()
    {
        ScriptedMessages messages;
        TfrmCompanyInfo screen;
        screen.show();
        const auto [list, term, add, remove, cancel] = TermControls(screen);
        QLabel* count = Find<QLabel>(screen, "Label5");
        for (int n = 5; n <= 10; ++n) {
            QTest::keyClicks(term, QStringLiteral("Term %1").arg(n));
            QVERIFY(add->isEnabled());
            QVERIFY(!list->isEnabled());   // the list waits while a new term is typed
            add->click();
        }
        QCOMPARE(list->count(), 10);
        QCOMPARE(count->text(), QStringLiteral("Payment Terms are full"));
        QTest::keyClicks(term, QStringLiteral("Eleventh"));
        QVERIFY(!add->isEnabled());
        cancel->click();
        QVERIFY(term->text().isEmpty());

        ClickTerm(list, 6);
        QCOMPARE(term->text(), QStringLiteral("Term 7"));
        QVERIFY(remove->isEnabled());
        Retype(term, QStringLiteral("Net 7"));
        QCOMPARE(add->text(), QStringLiteral("Change"));
        QVERIFY(add->isEnabled());
        add->click();
        QCOMPARE(list->item(6)->text(), QStringLiteral("Net 7"));
        QCOMPARE(add->text(), QStringLiteral("Add"));

        ClickTerm(list, 9);
        messages.queue(MessageAnswer::Yes);
        remove->click();
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Remove \"Term 10\" from list?")});
        QCOMPARE(list->count(), 9);
        QCOMPARE(count->text(), QStringLiteral("You may add 1 more Payment Terms"));
        messages.queue(MessageAnswer::No);
        screen.close();
    }

    // Removing the second of four terms stores 1, 3, 4 in slots 1-3 and empties the rest.
    void removedTermClosesTheGap()
    {
        ScriptedMessages messages;
        const QString first = recCmpnyInvData.strInvTerms[1];
        const QString third = recCmpnyInvData.strInvTerms[3];
        const QString fourth = recCmpnyInvData.strInvTerms[4];
        TfrmCompanyInfo screen;
        screen.show();
        ShowPage(screen, QStringLiteral("Invoice"));
        QListWidget* list = Find<QListWidget>(screen, "lstPmtTerms");
        ClickTerm(list, 1);
        messages.queue(MessageAnswer::Yes);
        Find<QPushButton>(screen, "btnRemovePmtTerms")->click();
        ClickSave(screen);
        QCOMPARE(Column("SELECT strInvTerms1 || '|' || strInvTerms2 || '|' || strInvTerms3 || '|' || strInvTerms4 "
                        "|| '|' || strInvTerms10 FROM tblCompanyInvData"),
                 first + '|' + third + '|' + fourth + "||");
        QCOMPARE(recCmpnyInvData.strInvTerms[2], third);
        QVERIFY(recCmpnyInvData.strInvTerms[4].isEmpty());
    }

    void columnPreviewFollowsTheBoxes()
    {
        TfrmCompanyInfo screen;
        screen.show();
        ShowPage(screen, QStringLiteral("Invoice Description"));
        // Default: all three shown.
        QCOMPARE(Find<QLabel>(screen, "lblQuantityDisc")->text(), QStringLiteral("Quantity"));
        Find<QCheckBox>(screen, "ckbxPriceEach")->click();
        QCOMPARE(Find<QLabel>(screen, "lblTotalDisc")->text(), QStringLiteral("Total"));
        QCOMPARE(Find<QLabel>(screen, "lblTotalLine2")->text(), QStringLiteral("$177.24"));
        QCOMPARE(Find<QLabel>(screen, "lblPriceEachDisc")->text(), QStringLiteral("Quantity"));
        QCOMPARE(Find<QLabel>(screen, "lblPriceEachLine1")->text(), QStringLiteral("5"));
        QCOMPARE(Find<QLabel>(screen, "lblQuantityDisc")->text(), QString());
        QVERIFY(SaveShown(screen));
        ClickSave(screen);
        QCOMPARE(Column("SELECT strShowPrcEach || strShowQuantity FROM tblCompanyInvData"), QStringLiteral("0-1"));
    }

    // Five lines as shown in the box, wrapped lines counted: a sixth is taken back.
    void sixthFootNoteLineIsTakenBack()
    {
        TfrmCompanyInfo screen;
        screen.show();
        ShowPage(screen, QStringLiteral("Invoice"));
        auto* note = Find<TLineLimitedMemo>(screen, "txtFtNote2");
        note->setFocus();
        note->selectAll();
        QTest::keyClick(note, Qt::Key_Delete);
        QTest::keyClicks(note, QStringLiteral("one"));
        for (const char* line : {"two", "three", "four", "five"}) {
            QTest::keyClick(note, Qt::Key_Return);
            QTest::keyClicks(note, QLatin1String(line));
        }
        QTest::keyClick(note, Qt::Key_Return);
        QCOMPARE(note->toPlainText(), QStringLiteral("one\ntwo\nthree\nfour\nfive"));
        QVERIFY(!note->document()->isUndoAvailable());

        // A long fifth line wraps into a sixth shown line: the character that wraps it is taken back.
        QTest::keyClicks(note, QString(400, QLatin1Char('w')));
        QCOMPARE(note->shownLineCount(), 5);
        QVERIFY(note->toPlainText().size() < 22 + 400);
        QVERIFY(note->toPlainText().startsWith(QStringLiteral("one\ntwo\nthree\nfour\nfivew")));
    }

    // A stored text already over five lines can be shortened, not lengthened.
    void overLongStoredTextCanBeShortened()
    {
        recCmpnyInvData.strAcceptanceInfo = QStringLiteral("a\nb\nc\nd\ne\nf\ng");
        TfrmCompanyInfo screen;
        screen.show();
        ShowPage(screen, QStringLiteral("General"));
        auto* memo = Find<TLineLimitedMemo>(screen, "txtAcceptanceInfo");
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClick(memo, Qt::Key_Return);
        QCOMPARE(memo->toPlainText(), QStringLiteral("a\nb\nc\nd\ne\nf\ng"));
        QTest::keyClick(memo, Qt::Key_Backspace);
        QTest::keyClick(memo, Qt::Key_Backspace);
        QCOMPARE(memo->toPlainText(), QStringLiteral("a\nb\nc\nd\ne\nf"));
    }

    // Digits only in the port box; the subject rule.
    void portAndSubjectRules()
    {
        recCompanyData.strCompEmailSubject = QStringLiteral("Your paperwork");
        TfrmCompanyInfo screen;
        screen.show();
        ShowPage(screen, QStringLiteral("Email"));
        QLineEdit* port = Find<QLineEdit>(screen, "txtCompEmailPort");
        port->clear();
        QTest::keyClicks(port, QStringLiteral("2a5:"));
        QCOMPARE(port->text(), QStringLiteral("25"));
        QLineEdit* subject = Find<QLineEdit>(screen, "txtCompEmailSubject");
        QTest::mouseClick(Find<QRadioButton>(screen, "rbtnSubjectPreFill"), Qt::LeftButton);
        QVERIFY(subject->isEnabled());
        QCOMPARE(subject->text(), QStringLiteral("Your paperwork"));
        QTest::mouseClick(Find<QRadioButton>(screen, "rbtnSubjectUseInvNameNum"), Qt::LeftButton);
        QVERIFY(!subject->isEnabled());
        QVERIFY(subject->text().isEmpty());
        QVERIFY(SaveShown(screen));
    }

    // Colours round-trip through the tables and show again identically.
    void coloursRoundTrip()
    {
        {
            TfrmCompanyInfo screen;
            screen.show();
            PickColor picker(QColor(18, 52, 86));
            ShowPage(screen, QStringLiteral("Planner"));
            Find<QPushButton>(screen, "btnActivityColor")->click();
            ShowPage(screen, QStringLiteral("Invoice Color"));
            Find<QPushButton>(screen, "btnInvColor")->click();
            ShowPage(screen, QStringLiteral("General"));
            Find<QPushButton>(screen, "btnAcceptanceColor")->click();
            QCOMPARE(picker.runs, 3);
            ClickSave(screen);
        }
        QCOMPARE(Column("SELECT intActColorRed || ',' || intActColorGreen || ',' || intActColorBlue "
                        "FROM tblPlannerSettings"),
                 QStringLiteral("18,52,86"));
        QCOMPARE(Column("SELECT intInvColorRed || ',' || intInvColorGreen || ',' || intInvColorBlue "
                        "FROM tblCompColorData"),
                 QStringLiteral("18,52,86"));
        QCOMPARE(Column("SELECT intEstColorRed FROM tblCompColorData"), QStringLiteral("0"));   // others untouched
        QCOMPARE(arrInvTypeColor[4], PackColor(18, 52, 86));
        QCOMPARE(recCmpnyInvData.intAccptColor, PackColor(18, 52, 86));

        TfrmCompanyInfo again;
        again.show();
        QCOMPARE(Find<QFrame>(again, "ShapeActivityActivityEdit")->palette().color(QPalette::Window), QColor(18, 52, 86));
        QCOMPARE(Find<QFrame>(again, "ShapeInvColor")->palette().color(QPalette::Window), QColor(18, 52, 86));
        QCOMPARE(Find<QLabel>(again, "lblInvSample")->palette().color(QPalette::WindowText), QColor(18, 52, 86));
    }

    // A stored removal code outside the listed ones ticks nothing and is saved as 0.
    void unknownRemovalCodeSavesAsZero()
    {
        DbConnection().execute(QStringLiteral("UPDATE tblPlannerSettings SET intRemoveActivity = 7, intDefaultPlanner = 2;"));
        TfrmCompanyInfo screen;
        screen.show();
        for (const char* name : {"rbtnDontRemove", "rbtn1Day", "rbtn30Day", "rbtn1Year"})
            QVERIFY2(!Find<QRadioButton>(screen, name)->isChecked(), name);
        QVERIFY(Find<QRadioButton>(screen, "rbtnMonthPlanner")->isChecked());
        ShowPage(screen, QStringLiteral("Planner"));
        Find<QRadioButton>(screen, "rbtnWeekPlanner")->click();
        ClickSave(screen);
        QCOMPARE(Column("SELECT intRemoveActivity || ',' || intDefaultPlanner FROM tblPlannerSettings"),
                 QStringLiteral("0,1"));
    }

    // A bitmap is stored as the JPEG CmpLogo.jpg; removing and saving deletes
    // it; removing and closing with No keeps it.
    void logoBrowseRemoveAndKeep()
    {
        ScriptedMessages messages;
        const QString bitmap = WriteBitmap(QStringLiteral("logo.bmp"));
        {
            TfrmCompanyInfo screen;
            screen.show();
            PickFile files(bitmap);
            Find<QPushButton>(screen, "btnBrowseForLogo")->click();
            QVERIFY(files.filter.contains(QStringLiteral("*.png")));
            QVERIFY(files.filter.contains(QStringLiteral("*.bmp")));
            QCOMPARE(Find<QLabel>(screen, "lblLogo")->text(), QStringLiteral("Current Logo"));
            QVERIFY(Find<QPushButton>(screen, "btnRemoveLogo")->isEnabled());
            QVERIFY(!HasStoredLogo());   // not copied before the save
            ClickSave(screen);
        }
        QBuffer logo;
        logo.setData(StoredLogoBytes());
        QImageReader reader(&logo);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(60, 30));

        {
            TfrmCompanyInfo screen;
            screen.show();
            QCOMPARE(Find<QLabel>(screen, "lblLogo")->text(), QStringLiteral("Current Logo"));
            messages.queue(MessageAnswer::Yes);
            Find<QPushButton>(screen, "btnRemoveLogo")->click();
            QCOMPARE(Find<QLabel>(screen, "lblLogo")->text(), QStringLiteral("No Logo"));
            messages.queue(MessageAnswer::No);
            screen.close();
            QVERIFY(!screen.isVisible());
        }
        QVERIFY(HasStoredLogo());
        QCOMPARE(messages.texts(), (QStringList{QStringLiteral("Do you want to remove the current logo?"),
                                                QStringLiteral("Do you want to save changes to Company Information?")}));

        {
            TfrmCompanyInfo screen;
            screen.show();
            messages.queue(MessageAnswer::Yes);
            Find<QPushButton>(screen, "btnRemoveLogo")->click();
            ClickSave(screen);
        }
        QVERIFY(!HasStoredLogo());
    }

    // A file that is not a picture: a clear message, and the preview stays.
    void unreadablePictureLeavesThePreview()
    {
        ScriptedMessages messages;
        const QString fake = QDir(GetTempFolder()).filePath(QStringLiteral("broken.png"));
        QFile file(fake);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture at all");
        file.close();
        TfrmCompanyInfo screen;
        screen.show();
        PickFile files(fake);
        Find<QPushButton>(screen, "btnBrowseForLogo")->click();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
        QVERIFY(messages.shown()[0].text.contains(QStringLiteral("could not be read as a picture")));
        QCOMPARE(Find<QLabel>(screen, "lblLogo")->text(), QStringLiteral("No Logo"));
        QVERIFY(!SaveShown(screen));
    }

    // The database locked by another connection: nothing changes, Save stays,
    // and the close question's Yes keeps the screen open.
    void failedSaveChangesNothing()
    {
        ScriptedMessages messages;
        const QString bitmap = WriteBitmap(QStringLiteral("new.bmp"));
        TfrmCompanyInfo screen;
        screen.show();
        Retype(Find<QLineEdit>(screen, "txtCompName"), QStringLiteral("Never Stored"));
        PickFile files(bitmap);
        Find<QPushButton>(screen, "btnBrowseForLogo")->click();

        std::optional<TWritesRefused> refused(std::in_place);
        ClickSave(screen);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
        QVERIFY(SaveShown(screen));
        messages.queue(MessageAnswer::Yes);
        screen.close();
        QVERIFY(screen.isVisible());   // not saved: the screen stays open
        refused.reset();

        QCOMPARE(Column("SELECT strCompName FROM tblCompanyInfo"), QStringLiteral("My Company Name"));
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("My Company Name"));
        QVERIFY(!HasStoredLogo());
        QCOMPARE(QDir(GetDataFolder()).entryList(QDir::Files),
                 TestRunsOnServer() ? QStringList() : QStringList{GetDatabaseFileName()});

        // Once the lock is gone the same changes save.
        messages.clear();
        ClickSave(screen);
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(Column("SELECT strCompName FROM tblCompanyInfo"), QStringLiteral("Never Stored"));
        QVERIFY(HasStoredLogo());
    }

    // Settings that cannot be read (the database held by another program):
    // the screen says so and closes, and nothing is written over the stored
    // values.
    void unreadableSettingsCloseTheScreen()
    {
        ScriptedMessages messages;
        const QString planner = QStringLiteral(
            "SELECT intActColorRed || ',' || intWkndColorGreen || ',' || intRemoveActivity || ',' || intDefaultPlanner "
            "FROM tblPlannerSettings");
        DbConnection().execute(QStringLiteral("UPDATE tblPlannerSettings SET intActColorRed = 200, intRemoveActivity = 2;"));
        const QString before = Column(planner);
        messages.queue(MessageAnswer::Yes);   // were it open, Yes would save what was never read
        QVERIFY(ClosesItselfWhileLocked(OpenCompanyInfo));
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
        QVERIFY2(messages.shown()[0].text.startsWith(
                     QStringLiteral("Company Information could not be read and closes without saving anything: ")),
                 qPrintable(messages.shown()[0].text));
        QVERIFY(messages.shown()[0].text.contains(QStringLiteral("lock")));   // "locked", on a server "lock timeout"
        QCOMPARE(Column(planner), before);
    }

    // A term chosen with the keys is taken into the box like a clicked one;
    // the arrows go on choosing until the term is edited.
    void paymentTermsChosenWithTheKeys()
    {
        ScriptedMessages messages;
        TfrmCompanyInfo screen;
        screen.show();
        const auto [list, term, add, remove, cancel] = TermControls(screen);
        const QStringList stored = Terms(list);
        QCOMPARE(stored.size(), 4);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(term->text(), stored[3]);
        QVERIFY(remove->isEnabled());
        QTest::keyClick(list, Qt::Key_Up);
        QCOMPARE(term->text(), stored[2]);
        QVERIFY(list->isEnabled());

        term->setFocus();
        term->selectAll();
        QTest::keyClicks(term, QStringLiteral("Net 45"));
        QVERIFY(!list->isEnabled());   // held while the chosen term is edited
        QCOMPARE(add->text(), QStringLiteral("Change"));
        QTest::keyClick(add, Qt::Key_Space);
        QCOMPARE(Terms(list), (QStringList{stored[0], stored[1], QStringLiteral("Net 45"), stored[3]}));
        ClickSave(screen);
        QCOMPARE(Column("SELECT strInvTerms3 FROM tblCompanyInvData"), QStringLiteral("Net 45"));

        // Enter on the current entry chooses it too.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(term->text(), list->currentItem()->text());
        QVERIFY(messages.shown().isEmpty());
        cancel->click();
    }

    // The preview amounts and the tax help follow the regional form.
    void previewAndTaxHelpFollowTheRegionalForm()
    {
        ScopedLocale german("de_DE");
        TfrmCompanyInfo screen;
        screen.show();
        const QString euro = QString(QChar(0x00A0)) + QChar(0x20AC);
        QCOMPARE(Find<QLabel>(screen, "lblTotalLine1")->text(), QStringLiteral("24,75") + euro);
        QCOMPARE(Find<QLabel>(screen, "lblTotalLine2")->text(), QStringLiteral("177,24") + euro);
        QCOMPARE(Find<QLabel>(screen, "lblPriceEachLine1")->text(), QStringLiteral("4,95") + euro);
        QCOMPARE(Find<QLabel>(screen, "lblQuantityLine2")->text(), QStringLiteral("14"));
        QCOMPARE(Find<QLabel>(screen, "lblTaxAmountHelp1")->text(),
                 QStringLiteral("Enter the tax amount. \nExample: 5 Percent = 0,0500 \n\nYou may enter up to 4 digits, "
                                "\nExample: 0,1234 "));
    }

    // A logo file that cannot be read is named as such and can be removed.
    void unreadableLogoCanBeRemoved()
    {
        ScriptedMessages messages;
        StoreLogoBytes("not a picture");
        {
            TfrmCompanyInfo screen;
            screen.show();
            QVERIFY2(Find<QLabel>(screen, "lblLogo")->text().startsWith(QStringLiteral("Logo cannot be read (")),
                     qPrintable(Find<QLabel>(screen, "lblLogo")->text()));
            QVERIFY(Find<QPushButton>(screen, "btnRemoveLogo")->isEnabled());
            messages.queue(MessageAnswer::Yes);
            Find<QPushButton>(screen, "btnRemoveLogo")->click();
            QCOMPARE(Find<QLabel>(screen, "lblLogo")->text(), QStringLiteral("No Logo"));
            ClickSave(screen);
        }
        QVERIFY(!HasStoredLogo());
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Do you want to remove the current logo?")});
    }

    // The mail port is empty (the standard port) or 1 to 65535; another
    // number is refused on the Email page and nothing is written.
    void mailPortOutsideItsRangeIsRefused_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("saved");
        QTest::newRow("too large") << "99999" << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("largest") << "65535" << true;
        QTest::newRow("submission") << "587" << true;
        QTest::newRow("empty") << "" << true;
    }
    void mailPortOutsideItsRangeIsRefused()
    {
        QFETCH(QString, port);
        QFETCH(bool, saved);
        ScriptedMessages messages;
        DbConnection().execute(QStringLiteral("UPDATE tblCompanyInfo SET strCompEmailPort = '25';"));
        recCompanyData.strCompEmailPort = QStringLiteral("25");
        TfrmCompanyInfo screen;
        screen.show();
        Retype(Find<QLineEdit>(screen, "txtCompName"), QStringLiteral("Port Check"));
        Find<QLineEdit>(screen, "txtCompEmailPort")->setText(port);
        ClickSave(screen);
        if (saved) {
            QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
            QCOMPARE(Column("SELECT strCompEmailPort FROM tblCompanyInfo"), port);
            return;
        }
        QCOMPARE(messages.texts(), QStringList{QStringLiteral(
                                       "Please enter a Server Port from 1 to 65535 for Outgoing Mail (SMTP), or leave it empty.")});
        QCOMPARE(CurrentPage(screen), QStringLiteral("Email"));
        QVERIFY(SaveShown(screen));
        QCOMPARE(Column("SELECT strCompEmailPort || '|' || strCompName FROM tblCompanyInfo"),
                 QStringLiteral("25|My Company Name"));
        messages.queue(MessageAnswer::No);
        screen.close();
    }

    // An emoji at the limit of a box goes in whole or not at all, and is
    // stored exactly (never as "?").
    void emojiAtTheLimitIsNeverHalved()
    {
        const QString emoji = QString::fromUtf8("\U0001F600");
        TfrmCompanyInfo screen;
        screen.show();
        QLineEdit* name = Find<QLineEdit>(screen, "txtCompName");
        name->clear();
        QTest::keyClicks(name, QString(44, QLatin1Char('x')));
        name->insert(emoji);   // one unit of room: it does not go in
        QCOMPARE(name->text(), QString(44, QLatin1Char('x')));
        QTest::keyClick(name, Qt::Key_Backspace);
        name->insert(emoji);
        QCOMPARE(name->text(), QString(43, QLatin1Char('x')) + emoji);
        ClickSave(screen);
        QCOMPARE(Column("SELECT strCompName FROM tblCompanyInfo"), QString(43, QLatin1Char('x')) + emoji);
    }

    // The two writer buttons open the writer in contract and in warranty mode.
    void writerButtonsOpenTheWriter()
    {
        QStringList opened;
        ScopedModalRunner runner([&opened](QDialog& dialog) {
            opened << dialog.objectName() + QLatin1Char(':') + QString::number(intContractWarrantyMode);
            return int(QDialog::Rejected);
        });
        TfrmCompanyInfo screen;
        screen.show();
        ShowPage(screen, QStringLiteral("General"));
        QTest::mouseClick(Find<QPushButton>(screen, "btnOpenContractWriter"), Qt::LeftButton);
        QTest::mouseClick(Find<QPushButton>(screen, "btnOpenWarrantyWriter"), Qt::LeftButton);
        QCOMPARE(opened, (QStringList{QStringLiteral("frmTextEditor:1"), QStringLiteral("frmTextEditor:0")}));
        QVERIFY(!SaveShown(screen));
    }

    // Quotes, semicolons and line breaks are stored exactly.
    void textsAreStoredExactly()
    {
        const QString name = QStringLiteral("O\"Brien's; \"Best\"");
        const QString note = QStringLiteral("Pay by \"cash\";\nor check');");
        TfrmCompanyInfo screen;
        screen.show();
        Retype(Find<QLineEdit>(screen, "txtCompName"), name);
        ShowPage(screen, QStringLiteral("Invoice"));
        auto* memo = Find<TLineLimitedMemo>(screen, "txtFtNote3");
        memo->setFocus();
        memo->selectAll();
        QTest::keyClick(memo, Qt::Key_Delete);
        QTest::keyClicks(memo, QStringLiteral("Pay by \"cash\";"));
        QTest::keyClick(memo, Qt::Key_Return);
        QTest::keyClicks(memo, QStringLiteral("or check');"));
        ClickSave(screen);
        QCOMPARE(Column("SELECT strCompName FROM tblCompanyInfo"), name);
        QCOMPARE(Column("SELECT strInvFootNote3 FROM tblCompanyInvData"), note);
        QCOMPARE(recCmpnyInvData.strInvFootNote[3], note);
    }

    // After a save the main window shows the new name, a new document offers
    // the new tax names, and its PDF carries the new company name.
    void newSettingsTakeEffectAtOnce()
    {
        ScriptedMessages messages;
        TfrmMain main;
        main.show();
        QCoreApplication::processEvents();
        {
            ScopedModalRunner runner([](QDialog& dialog) {
                dialog.show();
                Retype(Find<QLineEdit>(dialog, "txtCompName"), QStringLiteral("Fennick Fencing"));
                Find<QLineEdit>(dialog, "txtTaxName1")->setText(QStringLiteral("County Tax"));
                ClickSave(dialog);
                dialog.close();
                return dialog.result();
            });
            Find<QAction>(main, "submnuCompanyMaintenance")->trigger();
        }
        QCOMPARE(Find<QLabel>(main, "lblCompanyName")->text(), QStringLiteral("Fennick Fencing"));

        QString taxCaption;
        {
            ScopedModalRunner runner([&taxCaption](QDialog& editor) {
                for (QCheckBox* box : editor.findChildren<QCheckBox*>())
                    if (box->text() == QStringLiteral("County Tax")) taxCaption = box->text();
                return int(QDialog::Rejected);
            });
            OpenNewDocument();
        }
        QCOMPARE(taxCaption, QStringLiteral("County Tax"));

        intPrintJob = pjDocument;
        intCurrentInvNumber = 777;
        recPrintData = {};
        recPrintData.strInvType = QStringLiteral("Invoice");
        recPrintData.strInvDate = QStringLiteral("3/29/2010");
        ListViewPriceItems.clear();
        const QString pdf = QDir(GetTempFolder()).filePath(QStringLiteral("after-save.pdf"));
        modPrintData.pCreatePDFFile(pdf);
        const QList<PdfPageWords> pages = ReadPdfWords(pdf);
        QVERIFY(!pages.isEmpty());
        QVERIFY(PageContains(pages[0], QStringLiteral("Fennick Fencing")));
        QVERIFY(!PageContains(pages[0], QStringLiteral("My Company Name")));
        main.close();
    }
};

FENNICK_TEST_MAIN(TestFrmCompanyInfo)
#include "test_frmcompanyinfo.moc"
