// The editor over stored documents it cannot fully use: one it cannot read is
// never written over, notes typed while a refresh fails are kept, and a
// customer's text that looks like markup is shown as typed.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "maintenance/MaintenanceFixture.h"

#include "app/unitDispatch.h"
#include "app/unitModalRunner.h"
#include "app/unitModeValues.h"
#include "db/DbConnection.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <deque>
#include <functional>

namespace {

template <typename T>
T* Find(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1String(name));
    if (!child) qFatal("no widget %s", name);
    return child;
}

// Every column of the stored header and its lines, as one text.
QString StoredDocument(int number)
{
    DbConnection connection;
    QStringList texts;
    for (const char* table : {"tblInvDataHeader", "tblInvData"}) {
        DbStatement read = connection.prepare(
            QStringLiteral("SELECT * FROM %1 WHERE intInvNumber = ? ORDER BY rowid;").arg(QLatin1String(table)),
            {number});
        while (read.step())
            for (int column = 0; column < read.columnCount(); ++column) texts << read.columnText(column);
    }
    return texts.join(QLatin1Char('|'));
}

// Takes over the modal runs in turn; each step drives its dialog.
class Runs {
public:
    using Step = std::function<void(QDialog&)>;
    Runs()
        : m_runner([this](QDialog& dialog) {
              if (m_steps.empty()) return int(QDialog::Rejected);
              Step step = std::move(m_steps.front());
              m_steps.pop_front();
              dialog.show();
              QCoreApplication::processEvents();
              step(dialog);
              if (dialog.isVisible()) dialog.hide();
              return dialog.result();
          })
    {
    }
    Runs& then(Step step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }

private:
    std::deque<Step> m_steps;
    ScopedModalRunner m_runner;
};

void OpenStored(int number)
{
    intCurrentInvNumber = number;
    OpenStoredDocument();
}

} // namespace

class TestEditorFaults : public QObject {
    Q_OBJECT

private slots:
    void init() { CreateTestDatabase(); }
    void cleanup() { RunOutSavingNotice(); }

    // An unreadable date or flag: the editor says which document it could not
    // read and closes; the stored document is exactly as before.
    void unreadableDocumentClosesAndStaysAsStored_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reason");
        QTest::newRow("date") << "strInvDate" << "32/99/2024" << "''32/99/2024'' is not a valid date.";
        QTest::newRow("flag") << "strPaidInFull" << "maybe" << "'maybe' is not a valid boolean value.";
    }
    void unreadableDocumentClosesAndStaysAsStored()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(QString, reason);
        TestDoc doc;
        doc.number = 500;
        doc.type = QStringLiteral("Invoice");
        doc.fullName = QStringLiteral("Stored, Sam");
        doc.company = QStringLiteral("Stored Co");
        InsertTestDoc(doc);
        DbConnection().execute(QStringLiteral("UPDATE tblInvDataHeader SET %1 = ? WHERE intInvNumber = 500;").arg(column),
                               {value});
        const QString before = StoredDocument(500);

        ScriptedMessages messages;
        bool closedItself = false;
        Runs runs;
        runs.then([&](QDialog& editor) {
            closedItself = !editor.isVisible();
            // Were it still open, a save would be the way to overwrite the document.
            if (!closedItself) {
                if (auto* save = editor.findChild<QAction*>(QStringLiteral("submnuSave"))) save->trigger();
            }
        });
        OpenStored(500);
        QVERIFY(closedItself);
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Document number 500 could not be read: ") + reason});
        QCOMPARE(StoredDocument(500), before);
    }

    // A refresh that fails (a line whose quantity cannot be read) leaves the
    // notes just typed in place.
    void notesSurviveAFailingRefresh()
    {
        TestDoc doc;
        doc.number = 501;
        doc.type = QStringLiteral("Invoice");
        doc.fullName = QStringLiteral("Stored, Sam");
        InsertTestDoc(doc);
        DbConnection().execute(QStringLiteral("UPDATE tblInvData SET strPrcItmQuantity = 'three' WHERE intInvNumber = 501;"));

        ScriptedMessages messages;
        QString notesShownAgain;
        Runs runs;
        runs.then([&](QDialog& editor) {
            QVERIFY(editor.isVisible());   // the document is shown; only its refresh failed
            Find<QPushButton>(editor, "btnAddNotes")->click();
            Find<QPushButton>(editor, "btnAddNotes")->click();
        });
        runs.then([](QDialog& notes) {
            auto* box = Find<QPlainTextEdit>(notes, "txtInvoiceNotes");
            box->setPlainText(QStringLiteral("Call before noon"));
            Find<QPushButton>(notes, "btnNotesOK")->click();
        });
        runs.then([&](QDialog& notes) {
            notesShownAgain = Find<QPlainTextEdit>(notes, "txtInvoiceNotes")->toPlainText();
            notes.reject();
        });
        OpenStored(501);
        QCOMPARE(notesShownAgain, QStringLiteral("Call before noon"));
        QVERIFY(messages.texts().contains(QStringLiteral("'three' is not a valid floating point value.")));
    }

    // The customer block shows a company that looks like markup exactly as typed.
    void customerTextThatLooksLikeMarkupIsShownAsTyped()
    {
        TestDoc doc;
        doc.number = 502;
        doc.type = QStringLiteral("Invoice");
        doc.fullName = QStringLiteral("<h1>Big</h1>");
        doc.company = QStringLiteral("<b>Acme</b> & <i>Co</i>");
        InsertTestDoc(doc);
        ScriptedMessages messages;
        Runs runs;
        runs.then([](QDialog& editor) {
            for (const char* name : {"lblCustCompany", "lblCustName", "lblCustAddress", "lblCustCityStZip",
                                     "lblPhoneFax", "lblCustEmail", "lblInvNameNumber", "lblCustPmtTerms"}) {
                QCOMPARE(Find<QLabel>(editor, name)->textFormat(), Qt::PlainText);
            }
            QCOMPARE(Find<QLabel>(editor, "lblCustCompany")->text(), QStringLiteral("<b>Acme</b> & <i>Co</i>"));
            QCOMPARE(Find<QLabel>(editor, "lblCustName")->text(), QStringLiteral("<h1>Big</h1>"));
        });
        OpenStored(502);
        QVERIFY(messages.texts().isEmpty());
    }
};

FENNICK_TEST_MAIN(TestEditorFaults)
#include "test_editorfaults.moc"
