// Manual forms: each printed blank form takes the next document number, prints
// it and is recorded as a stored document; a form that cannot be printed is
// neither recorded nor numbered.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "maintenance/MaintenanceFixture.h"
#include "printing/PdfText.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "company/unitCompanyData.h"
#include "documents/unitDocumentStore.h"
#include "maintenance/unitManualForms.h"
#include "maintenance/unitfrmManualInvoice.h"
#include "printing/unitModPrintData.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTimer>
#include <qpa/qwindowsysteminterface.h>
#include <QSpinBox>

namespace {

void setCounter(int next)
{
    DbConnection connection;
    connection.execute(QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = ? WHERE intCompInvDataID = 1;"), {next});
}

int storedCount()
{
    DbConnection connection;
    return connection.countRows(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader;"));
}

template <typename T>
T* child(QWidget& parent, const char* name)
{
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    if (!widget) qFatal("no widget %s", name);
    return widget;
}

// The screen with its choices set, Print clicked; the forms go to `pdf`.
void printForms(TfrmManualInvoice& screen, const QString& type, int copies, const QString& pdf)
{
    modPrintData.SetPrinterOutputFile(pdf);
    child<QComboBox>(screen, "cmbInvoiceType")->setCurrentText(type);
    child<QSpinBox>(screen, "SpinEditNumOfManualInvToPrint")->setValue(copies);
    child<QPushButton>(screen, "btnPrint")->click();
}

} // namespace

class TestManualForms : public QObject {
    Q_OBJECT

    QString pdfPath() const { return QDir(GetTempFolder()).filePath(QStringLiteral("manual.pdf")); }

private slots:
    void init()
    {
        CreateTestDatabase();
        recCmpnyInvData.intNumEstDays = 0;
        for (QString& term : recCmpnyInvData.strInvTerms) term.clear();
        setCounter(120);
    }
    void cleanup()
    {
        modPrintData.SetPrinterOutputFile(QString());
        blManualInvoice = false;
    }

    void screenTextsAndLists()
    {
        blInvoiceEditExisting = true;
        recCmpnyInvData.strInvTerms[2] = QStringLiteral("Net 30");
        recCmpnyInvData.strInvTerms[7] = QStringLiteral("Due on receipt");
        TfrmManualInvoice screen;
        QVERIFY(blManualInvoice);
        QVERIFY(!blInvoiceEditExisting);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QCOMPARE(screen.windowTitle(), QStringLiteral("Print Manual Forms"));
        auto* type = child<QComboBox>(screen, "cmbInvoiceType");
        QCOMPARE(type->count(), 6);
        QCOMPARE(type->currentText(), QStringLiteral("Estimate"));
        QCOMPARE(type->toolTip(), QStringLiteral("Select Invoice Type"));
        auto* terms = child<QComboBox>(screen, "cmbPaymentTerms");
        QCOMPARE(terms->count(), 3);
        QCOMPARE(terms->itemText(0), QStringLiteral("No Payment Terms"));
        QCOMPARE(terms->itemText(1), QStringLiteral("Net 30"));
        QCOMPARE(terms->itemText(2), QStringLiteral("Due on receipt"));
        auto* notes = child<QComboBox>(screen, "cmbFootNotes");
        QCOMPARE(notes->count(), 4);
        QCOMPARE(notes->itemText(3), QStringLiteral("Foot Note 3"));
        auto* copies = child<QSpinBox>(screen, "SpinEditNumOfManualInvToPrint");
        QCOMPARE(copies->minimum(), 1);
        QCOMPARE(copies->maximum(), 25);
        QCOMPARE(copies->value(), 1);
        QCOMPARE(copies->toolTip(), QStringLiteral("Select number of Invoices to print"));
        QCOMPARE(child<QCheckBox>(screen, "ckbxAddSignatureLine")->text(), QStringLiteral("Add Signature Line"));
        QCOMPARE(child<QPushButton>(screen, "btnCancel")->text(), QStringLiteral("Close"));
        {
            // Closing and destroying the screen ends the manual layout.
            TfrmManualInvoice other;
            QVERIFY(blManualInvoice);
        }
        QVERIFY(!blManualInvoice);

        const QStringList labels = {"Number of Estimates to print",      "Number of Work Orders to print",
                                    "Number of Change Orders to print",  "Number of Invoices to print",
                                    "Number of Credits to print",        "Number of Past Due Notices to print"};
        auto* label = child<QLabel>(screen, "lblNumOfInvToPrint");
        for (int index = 5; index >= 0; --index) {
            type->setCurrentIndex(index);
            QCOMPARE(label->text(), labels[index]);
        }
    }

    // With no company terms the list holds only "No Payment Terms", and the
    // form prints no terms.
    void noCompanyTerms()
    {
        QCOMPARE(ManualFormPaymentTerms(recCmpnyInvData), QStringList{"No Payment Terms"});
        const TManualFormTexts texts = ManualFormTexts({QStringLiteral("Invoice"), QString(), 2, true}, 30);
        QVERIFY(texts.strCustPmtTerms.isEmpty());
        QCOMPARE(texts.strInvValidFor, QString());   // only an estimate has a validity
        QCOMPARE(texts.strTotalHdng, QStringLiteral("Invoice Total"));
        QCOMPARE(texts.strInvDate, QStringLiteral("Date:____/____/________"));
        QCOMPARE(texts.intFootNote, 2);
        QVERIFY(texts.blSignatureLine);
    }

    // Three invoices with the counter at 120: Invoice 120, 121 and 122, each
    // stored as an "Invoice" with no customer, no lines and zero amounts; the
    // counter stands at 123.
    void threeInvoicesTakeThreeNumbers()
    {
        recCmpnyInvData.strInvTerms[1] = QStringLiteral("Net 15");
        TfrmManualInvoice screen;
        screen.show();
        child<QComboBox>(screen, "cmbPaymentTerms")->setCurrentIndex(1);
        child<QComboBox>(screen, "cmbFootNotes")->setCurrentIndex(2);
        printForms(screen, QStringLiteral("Invoice"), 3, pdfPath());

        QCOMPARE(GetNextInvNumber(), 123);
        QCOMPARE(storedCount(), 3);
        for (int number : {120, 121, 122}) {
            const TLoadedDocument loaded = LoadDocument(number);
            QCOMPARE(loaded.document.header.strInvName, QStringLiteral("Invoice"));
            QCOMPARE(loaded.document.header.strInvTerms, QStringLiteral("Net 15"));
            QCOMPARE(loaded.document.header.intInvFootNotes, 2);
            QVERIFY(loaded.document.header.strCustFullName.isEmpty());
            QVERIFY(loaded.document.lines.isEmpty());
            QCOMPARE(loaded.document.header.dbInvTotal, 0.0);
            QCOMPARE(loaded.document.header.strInvDate, DateToStr(QDate::currentDate()));
        }
        // The last form printed is Invoice 122, blank, with the chosen terms.
        const PdfPageWords page = ReadPdfWords(pdfPath()).value(0);
        QVERIFY(PageContains(page, QStringLiteral("Invoice 122")));
        QVERIFY(PageContains(page, QStringLiteral("Net 15")));
        QVERIFY(PageContains(page, QStringLiteral("Date:____/____/________")));
        QVERIFY(PageContains(page, QStringLiteral("Invoice Total")));
        QVERIFY(child<QPushButton>(screen, "btnPrint")->isEnabled());
    }

    // The run hands each copy its own number, in order.
    void runNumbersEachCopy()
    {
        QList<int> numbers;
        QList<int> current;
        const int printed = RunManualForms({QStringLiteral("Work Order"), QString(), 0, false}, 4, {}, [&](int number) {
            numbers << number;
            current << intCurrentInvNumber;
        });
        QCOMPARE(printed, 4);
        QCOMPARE(numbers, (QList<int>{120, 121, 122, 123}));
        QCOMPARE(current, numbers);
        QCOMPARE(GetNextInvNumber(), 124);
        QCOMPARE(StoredText(QStringLiteral("SELECT strInvName FROM tblInvDataHeader WHERE intInvNumber = 123;")),
                 QStringLiteral("Work Order"));
    }

    void estimateValidity_data()
    {
        QTest::addColumn<int>("days");
        QTest::addColumn<bool>("printed");
        QTest::newRow("30 days") << 30 << true;
        QTest::newRow("no validity") << 0 << false;
    }
    void estimateValidity()
    {
        QFETCH(int, days);
        QFETCH(bool, printed);
        recCmpnyInvData.intNumEstDays = days;
        TfrmManualInvoice screen;
        screen.show();
        printForms(screen, QStringLiteral("Estimate"), 1, pdfPath());
        const PdfPageWords page = ReadPdfWords(pdfPath()).value(0);
        QVERIFY(PageContains(page, QStringLiteral("Date:____/____/________")));
        QCOMPARE(PageContains(page, QStringLiteral("Estimate Valid for 30 days")), printed);
        QCOMPARE(PageHasText(page, QStringLiteral("Valid")), printed);
        QCOMPARE(StoredText(QStringLiteral("SELECT strInvName FROM tblInvDataHeader WHERE intInvNumber = 120;")),
                 QStringLiteral("Estimate"));
    }

    // No printer, or a printer that fails: the run stops with the print
    // error, nothing is stored and the counter does not move.
    void unprintableFormIsNotRecorded_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("no printer") << QString() << "There is no default printer";
        QTest::newRow("printer fails") << "no/such/folder/out.pdf" << "The printer";
    }
    void unprintableFormIsNotRecorded()
    {
        QFETCH(QString, output);
        QFETCH(QString, message);
        if (output.isEmpty() && !QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a default printer");
        ScriptedMessages messages;
        TfrmManualInvoice screen;
        screen.show();
        printForms(screen, QStringLiteral("Invoice"), 3,
                   output.isEmpty() ? QString() : QDir(GetTempFolder()).filePath(output));
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts()[0].startsWith(message), qPrintable(messages.texts()[0]));
        QCOMPARE(storedCount(), 0);
        QCOMPARE(GetNextInvNumber(), 120);
        QVERIFY(child<QPushButton>(screen, "btnPrint")->isEnabled());
    }

    // A failure on the second copy keeps the first, recorded with its number,
    // and leaves the second's number free.
    void failureMidRunKeepsWhatWasPrinted()
    {
        int calls = 0;
        bool threw = false;
        try {
            RunManualForms({QStringLiteral("Credit"), QString(), 0, false}, 3, {}, [&](int) {
                if (++calls == 2) throw AppError(QStringLiteral("Paper jam"));
            });
        } catch (const AppError&) {
            threw = true;
        }
        QVERIFY(threw);
        QCOMPARE(storedCount(), 1);
        QCOMPARE(GetNextInvNumber(), 121);
        QCOMPARE(StoredText(QStringLiteral("SELECT strInvName FROM tblInvDataHeader WHERE intInvNumber = 120;")),
                 QStringLiteral("Credit"));
    }

    // A form that cannot be recorded is never printed: printed, its number
    // would be given again to the next document.
    void unrecordableFormIsNotPrinted()
    {
        {
            DbConnection connection;
            if (connection.isServer()) {
                connection.execute(QStringLiteral("CREATE FUNCTION refuse_forms() RETURNS trigger LANGUAGE plpgsql AS "
                                                  "$f$ BEGIN RAISE EXCEPTION 'disk I/O error'; END $f$;"));
                connection.execute(QStringLiteral("CREATE TRIGGER refuse_forms BEFORE INSERT ON tblInvDataHeader "
                                                  "FOR EACH ROW EXECUTE FUNCTION refuse_forms();"));
            } else {
                connection.execute(QStringLiteral("CREATE TRIGGER refuse_forms BEFORE INSERT ON tblInvDataHeader "
                                                  "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END;"));
            }
        }
        int printed = 0;
        QString error;
        try {
            RunManualForms({QStringLiteral("Invoice"), QString(), 0, false}, 2, {}, [&](int) { ++printed; });
        } catch (const AppError& failure) {
            error = failure.message();
        }
        QVERIFY2(error.contains(QStringLiteral("disk I/O error")), qPrintable(error));
        QCOMPARE(printed, 0);
        QCOMPARE(storedCount(), 0);
        QCOMPARE(GetNextInvNumber(), 120);
    }

    // "Close" clicked while a form prints (the print notice takes no clicks, so
    // the click waits in the window system's queue) stops the run before its
    // next form: the form being printed is finished and recorded, no other.
    void closeClickedDuringAPrintStopsTheRun()
    {
        TfrmManualInvoice screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        auto* close = child<QPushButton>(screen, "btnCancel");
        bool clicked = false;
        QTimer whilePrinting;
        whilePrinting.setInterval(0);
        QObject::connect(&whilePrinting, &QTimer::timeout, [&] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            const bool printing = std::any_of(windows.begin(), windows.end(), [](QWidget* window) {
                return window->objectName() == QStringLiteral("frmReportStatus") && window->isVisible();
            });
            if (!printing) return;
            whilePrinting.stop();
            // A person's click: queued as the window system delivers it, not sent at once.
            const QPointF local = close->mapTo(&screen, close->rect().center());
            const QPointF global = screen.mapToGlobal(local);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
                    screen.windowHandle(), local, global,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type);
            clicked = true;
        });
        whilePrinting.start();
        printForms(screen, QStringLiteral("Invoice"), 5, pdfPath());
        QVERIFY(clicked);
        QVERIFY(!screen.isVisible());
        QCOMPARE(storedCount(), 1);
        QCOMPARE(GetNextInvNumber(), 121);
    }

    // The stop flag ends the run before the next copy.
    void stopEndsTheRunBeforeTheNextCopy()
    {
        int calls = 0;
        const int printed = RunManualForms({QStringLiteral("Invoice"), QString(), 0, false}, 5,
                                           [&] { return calls >= 2; }, [&](int) { ++calls; });
        QCOMPARE(printed, 2);
        QCOMPARE(GetNextInvNumber(), 122);
    }
};

FENNICK_TEST_MAIN(TestManualForms)
#include "test_manualforms.moc"
