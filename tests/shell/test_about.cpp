// The about box, opened through the main window's dispatch and driven by its
// widgets: caption, link, hints, the product lines, and the link's click.
#include "common/TestSupport.h"

#include "app/unitAppInfo.h"
#include "app/unitDispatch.h"
#include "shell/unitfrmAbout.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

class TestAbout : public QObject {
    Q_OBJECT

    QList<QUrl> m_opened;

public slots:
    void openUrl(const QUrl& url) { m_opened << url; }

private slots:
    void showsTextsAndOpensTheWebSite()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "openUrl");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
        ScriptedMessages messages;
        bool ran = false;
        ScopedModalRunner runner([&](QDialog& dialog) {
            ran = true;
            auto* about = qobject_cast<TfrmAbout*>(&dialog);
            if (!about) return int(QDialog::Rejected);
            dialog.show();
            auto* link = dialog.findChild<QLabel*>(QStringLiteral("lblAuthorWebsite"));
            auto* info = dialog.findChild<QPlainTextEdit*>(QStringLiteral("txtAboutInfo"));
            auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("btnOK"));
            [&] {
                QVERIFY(link && info && ok);
                QCOMPARE(dialog.windowTitle(), QStringLiteral("About Fennick"));
                QCOMPARE(link->text(), QStringLiteral("Visit Brassgate Software"));
                QCOMPARE(link->toolTip(), QStringLiteral("Click to visit Brassgate Software Website."));
                QCOMPARE(ok->text(), QStringLiteral("OK"));
                QCOMPARE(ok->toolTip(), QStringLiteral("Close"));
                QCOMPARE(info->toPlainText().split('\n'),
                         (QStringList{"Brassgate Software", "", "Product Information:", "Fennick", "Version 4.1"}));
                QVERIFY(info->isReadOnly());
                QVERIFY(link->font().underline() && link->font().bold());
                QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
                QCOMPARE(dialog.focusWidget(), ok);

                QTest::mouseClick(link, Qt::LeftButton);
                QCOMPARE(m_opened, QList<QUrl>{QUrl(GetMakerWebSite())});
            }();
            QTest::mouseClick(ok, Qt::LeftButton);
            return dialog.result();
        });
        OpenAboutBox();
        QVERIFY(ran);
        QCOMPARE(messages.texts(), QStringList());
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
};

FENNICK_TEST_MAIN(TestAbout)
#include "test_about.moc"
