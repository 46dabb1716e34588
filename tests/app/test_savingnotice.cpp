// The progress notice: one at a time, the close-request rule at 70 ticks and
// the self-close at 100, driven tick by tick (and once by its real timer).
#include "common/TestSupport.h"

#include "app/unitfrmSaving.h"

#include <QProgressBar>
#include <QTimer>

namespace {

int openNotices()
{
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<TfrmSaving*>(widget) && widget->isVisible()) ++count;
    return count;
}

void ticks(TfrmSaving* notice, int count)
{
    for (int i = 0; i < count; ++i) notice->tick();
}

int barValue(TfrmSaving* notice)
{
    return notice->findChild<QProgressBar*>(QStringLiteral("prgbarSaving"))->value();
}

} // namespace

class TestSavingNotice : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        // Ticks are driven by hand; the real timer stays out of the way.
        SetSavingNoticeTickMs(600000);
    }

    void cleanup()
    {
        while (TfrmSaving* notice = CurrentSavingNotice()) notice->tick();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(openNotices(), 0);
    }

    void secondShowKeepsTheFirstNotice()
    {
        ShowSavingNotice(QStringLiteral("A"));
        TfrmSaving* first = CurrentSavingNotice();
        QVERIFY(first && first->isVisible());
        ShowSavingNotice(QStringLiteral("B"));
        QCOMPARE(CurrentSavingNotice(), first);
        QCOMPARE(first->windowTitle(), QStringLiteral("A"));
        QCOMPARE(openNotices(), 1);
    }

    void lookAndTimer()
    {
        ShowSavingNotice(QStringLiteral("Saving Customer Information..."));
        TfrmSaving* notice = CurrentSavingNotice();
        QVERIFY(notice->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(notice->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!notice->isModal());
        auto* bar = notice->findChild<QProgressBar*>(QStringLiteral("prgbarSaving"));
        QVERIFY(bar);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        auto* timer = notice->findChild<QTimer*>(QStringLiteral("tmrFrmSaving"));
        QVERIFY(timer && timer->isActive());
    }

    void closeRequestNeedsSeventyTicks()
    {
        ShowSavingNotice(QStringLiteral("Saving"));
        TfrmSaving* notice = CurrentSavingNotice();
        QCOMPARE(notice->ticks(), 0);
        CloseSavingNotice();                       // right after showing: refused
        QVERIFY(notice->isVisible());
        ticks(notice, 69);
        QCOMPARE(barValue(notice), 69);
        CloseSavingNotice();                       // 69: still refused
        QCOMPARE(CurrentSavingNotice(), notice);
        QVERIFY(notice->isVisible());
        notice->tick();
        CloseSavingNotice();                       // 70: accepted
        QVERIFY(!CurrentSavingNotice());
        QVERIFY(!notice->isVisible());
    }

    void escapeDoesNotClose()
    {
        ShowSavingNotice(QStringLiteral("Saving"));
        TfrmSaving* notice = CurrentSavingNotice();
        QTest::keyClick(notice, Qt::Key_Escape);
        QVERIFY(notice->isVisible());
        QCOMPARE(CurrentSavingNotice(), notice);
    }

    void closesItselfAtHundred()
    {
        ShowSavingNotice(QStringLiteral("A"));
        TfrmSaving* notice = CurrentSavingNotice();
        ticks(notice, 99);
        QVERIFY(notice->isVisible());
        QCOMPARE(barValue(notice), 99);
        notice->tick();
        QVERIFY(!CurrentSavingNotice());
        QCOMPARE(openNotices(), 0);

        // The next notice is a new one with its own caption and a fresh counter.
        ShowSavingNotice(QStringLiteral("B"));
        QVERIFY(CurrentSavingNotice());
        QCOMPARE(CurrentSavingNotice()->windowTitle(), QStringLiteral("B"));
        QCOMPARE(CurrentSavingNotice()->ticks(), 0);
    }

    void closeWithNoneOpenDoesNothing()
    {
        QVERIFY(!CurrentSavingNotice());
        CloseSavingNotice();
        QVERIFY(!CurrentSavingNotice());
        QCOMPARE(openNotices(), 0);
    }

    void realTimerRunsTheNoticeOut()
    {
        SetSavingNoticeTickMs(1);
        ShowSavingNotice(QStringLiteral("Cleaning Database..."));
        CloseSavingNotice();
        QVERIFY(CurrentSavingNotice());
        QVERIFY(WaitUntil([] { return CurrentSavingNotice() == nullptr; }, 10000));
    }

    void messageBoxOutlivesTheNotice()
    {
        // An error box shown while a notice runs out must not belong to the
        // notice, which goes away by itself in the middle of the box's run.
        SetSavingNoticeTickMs(1);
        ShowSavingNotice(QStringLiteral("Saving"));
        bool noticeGoneWhileBoxOpen = false;
        QTimer::singleShot(0, [&] {
            QVERIFY(WaitUntil([] { return CurrentSavingNotice() == nullptr; }, 10000));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QWidget* box = QApplication::activeModalWidget();
            noticeGoneWhileBoxOpen = box && box->isVisible();
            if (box) box->close();
        });
        ShowErrorBox(QStringLiteral("SQLite Error 1 - boom"));
        QVERIFY(noticeGoneWhileBoxOpen);
    }

    void defaultTickIsAboutFifteenMilliseconds()
    {
        SetSavingNoticeTickMs(15);
        ShowSavingNotice(QStringLiteral("A"));
        QCOMPARE(CurrentSavingNotice()->findChild<QTimer*>(QStringLiteral("tmrFrmSaving"))->interval(), 15);
    }
};

FENNICK_TEST_MAIN(TestSavingNotice)
#include "test_savingnotice.moc"
