// The preview window driven through its tool buttons, and printing (from the
// preview and directly) through Qt's printer path.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitModalRunner.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitModPrintData.h"
#include "printing/unitfrmPrntPreview.h"

#include <QDir>
#include <QGraphicsView>
#include <QScrollBar>
#include <QWheelEvent>
#include <QPrinterInfo>
#include <QToolButton>

namespace {

QToolButton* button(QDialog& dialog, const char* name)
{
    auto* found = dialog.findChild<QToolButton*>(QString::fromLatin1(name));
    if (!found) QTest::qFail(qPrintable(QStringLiteral("no button ") + QString::fromLatin1(name)), __FILE__, __LINE__);
    return found;
}

void setUpDocument(int lineCount)
{
    recCompanyData = {};
    intCurrentInvNumber = 1043;
    blManualInvoice = false;
    intPrintJob = pjDocument;
    recPrintData = {};
    recPrintData.strInvType = QStringLiteral("Invoice");
    ListViewPriceItems.clear();
    txtInvoiceNotes.clear();
    for (int line = 1; line <= lineCount; ++line)
        ListViewPriceItems.append({QStringLiteral("Item %1").arg(line), QStringLiteral("1"), QStringLiteral("0"),
                                   QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0")});
}

// Runs the preview of the current job and hands the window to the check.
void runPreview(const std::function<void(TfrmPrntPreview&)>& check)
{
    bool ran = false;
    ScopedModalRunner runner([&](QDialog& dialog) {
        auto* preview = qobject_cast<TfrmPrntPreview*>(&dialog);
        if (!preview) {
            QTest::qFail("the preview window was not run", __FILE__, __LINE__);
            return 0;
        }
        ran = true;
        check(*preview);
        return 0;
    });
    modPrintData.pPrintPreview();
    QVERIFY(ran);
}

} // namespace

class TestPrintPreview : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        modPrintData.SetPrinterOutputFile(QString());
    }
    void cleanup() { modPrintData.SetPrinterOutputFile(QString()); }

    void toolbarCaptionsHintsAndTitle()
    {
        setUpDocument(1);
        runPreview([](TfrmPrntPreview& preview) {
            QCOMPARE(preview.windowTitle(), QStringLiteral("Preview Invoice 1043"));
            QVERIFY(preview.windowState() & Qt::WindowMaximized);
            const struct {
                const char* name;
                const char* caption;
                const char* hint;
            } expected[] = {{"tlbtnClose", "Close", "Close Print Preview"},
                            {"tlbtnPrint", "Print", "Print document"},
                            {"tlbtnBack", "Back", "Preview Previous document"},
                            {"tlbtnNext", "Next", "Preview Next document"},
                            {"tlbtnZoomIn", "Zoom In", "Zoom in document"},
                            {"tlbtnZoomOut", "Zoom Out", "Zoom out document"},
                            {"tlbtnHelp", "Help", "Open Help"}};
            for (const auto& item : expected) {
                QToolButton* tool = button(preview, item.name);
                QVERIFY(tool);
                QCOMPARE(tool->text(), QString::fromLatin1(item.caption));
                QCOMPARE(tool->toolTip(), QString::fromLatin1(item.hint));
            }
            // One page: neither Back nor Next.
            QCOMPARE(preview.pageCount(), 1);
            QVERIFY(!button(preview, "tlbtnBack")->isEnabled());
            QVERIFY(!button(preview, "tlbtnNext")->isEnabled());
        });
    }

    void titlesPerJob_data()
    {
        QTest::addColumn<int>("job");
        QTest::addColumn<QString>("title");
        QTest::newRow("price sheet") << 2 << "Preview Price Sheet List";
        QTest::newRow("customers") << 3 << "Preview Customer List";
        QTest::newRow("planner") << 4 << "Preview Planner Activities";
        QTest::newRow("contract") << 5 << "Preview Contract";
        QTest::newRow("warranty") << 6 << "Preview Warranty";
        QTest::newRow("reports") << 7 << "Sales and Tax Report";
    }
    void titlesPerJob()
    {
        QFETCH(int, job);
        QFETCH(QString, title);
        recPrintLists = {};
        intPrintJob = job;
        runPreview([&](TfrmPrntPreview& preview) { QCOMPARE(preview.windowTitle(), title); });
    }

    void backNextAndZoom()
    {
        setUpDocument(60);   // three pages
        runPreview([](TfrmPrntPreview& preview) {
            QCOMPARE(preview.pageCount(), 3);
            QToolButton* back = button(preview, "tlbtnBack");
            QToolButton* next = button(preview, "tlbtnNext");
            QCOMPARE(preview.currentPage(), 1);
            QVERIFY(!back->isEnabled());
            QVERIFY(next->isEnabled());
            next->click();
            QCOMPARE(preview.currentPage(), 2);
            QVERIFY(back->isEnabled());
            QVERIFY(next->isEnabled());
            next->click();
            QCOMPARE(preview.currentPage(), 3);
            QVERIFY(back->isEnabled());
            QVERIFY(!next->isEnabled());
            back->click();
            back->click();
            QCOMPARE(preview.currentPage(), 1);
            QVERIFY(!back->isEnabled());

            QCOMPARE(preview.zoomPercent(), 100);
            button(preview, "tlbtnZoomIn")->click();
            QCOMPARE(preview.zoomPercent(), 110);
            QToolButton* zoomOut = button(preview, "tlbtnZoomOut");
            for (int click = 0; click < 10; ++click) zoomOut->click();
            QCOMPARE(preview.zoomPercent(), 10);
            zoomOut->click();   // the floor holds
            QCOMPARE(preview.zoomPercent(), 10);
            for (int click = 0; click < 30; ++click) button(preview, "tlbtnZoomIn")->click();
            QCOMPARE(preview.zoomPercent(), 310);   // no upper limit of its own
        });
    }

    void mouseWheelDoesNothing()
    {
        setUpDocument(60);
        runPreview([](TfrmPrntPreview& preview) {
            preview.resize(600, 500);
            preview.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            auto* view = preview.findChild<QGraphicsView*>();
            QVERIFY(view);
            QScrollBar* bar = view->verticalScrollBar();
            QVERIFY(bar->maximum() > 0);
            const int before = bar->value();
            const QPoint centre = view->viewport()->rect().center();
            QWheelEvent wheel(centre, view->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, -480), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &wheel);
            QCOMPARE(bar->value(), before);
            QCOMPARE(preview.currentPage(), 1);
            preview.hide();
        });
    }

    void printFromThePreviewRunsTheJobAgain()
    {
        setUpDocument(40);   // two pages
        const QString printed = QDir(GetTempFolder()).filePath(QStringLiteral("printed.pdf"));
        modPrintData.SetPrinterOutputFile(printed);
        runPreview([&](TfrmPrntPreview& preview) {
            // What the print record holds when Print is pressed is what prints.
            ListViewPriceItems.append({QStringLiteral("Added later"), QStringLiteral("1"), QStringLiteral("0"),
                                       QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0")});
            button(preview, "tlbtnPrint")->click();
        });
        const QList<PdfPageWords> pages = ReadPdfWords(printed);
        QCOMPARE(pages.size(), 2);
        QVERIFY(PageContains(pages[0], QStringLiteral("Page 1 of\u2019 2")));
        QVERIFY(PageContains(pages[1], QStringLiteral("Added later")));
    }

    void noDefaultPrinterGivesAClearMessage()
    {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("this machine has a default printer");
        setUpDocument(1);
        try {
            modPrintData.pPrint();
            QFAIL("no error");
        } catch (const AppError& error) {
            QVERIFY(error.message().contains(QStringLiteral("no default printer")));
        }
        // From the preview the message is shown and the preview stays open.
        ScriptedMessages messages;
        runPreview([](TfrmPrntPreview& preview) {
            button(preview, "tlbtnPrint")->click();
            QVERIFY(preview.findChild<QToolButton*>(QStringLiteral("tlbtnClose")));
        });
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().front().kind, MessageKind::Error);
        QVERIFY(messages.shown().front().text.contains(QStringLiteral("no default printer")));
    }
};

FENNICK_TEST_MAIN(TestPrintPreview)
#include "test_printpreview.moc"
