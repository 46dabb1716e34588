// A user's text is shown as typed, never as markup: in the message boxes (a
// price item "<h1>Big</h1>" in the Remove question), in labels made for user
// text, and in tool tips.
#include "common/TestSupport.h"

#include "app/unitDialogs.h"
#include "app/unitScreenParts.h"

#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>
#include <QTimer>
#include <functional>

Q_DECLARE_METATYPE(std::function<void()>)

class TestPlainText : public QObject {
    Q_OBJECT

private slots:
    // The real message boxes, with no answerer installed.
    void messageBoxesShowTextAsTyped_data()
    {
        QTest::addColumn<std::function<void()>>("show");
        QTest::addColumn<QString>("text");
        QTest::newRow("question") << std::function<void()>([] { AskYesNoCancel(QStringLiteral("Remove <h1>Big</h1>?")); })
                                  << "Remove <h1>Big</h1>?";
        QTest::newRow("information") << std::function<void()>([] { ShowInformation(QStringLiteral("<b>Acme</b> & <i>Co</i>")); })
                                     << "<b>Acme</b> & <i>Co</i>";
        QTest::newRow("error") << std::function<void()>([] { ShowErrorBox(QStringLiteral("<u>Gone</u>")); })
                               << "<u>Gone</u>.";
    }
    void messageBoxesShowTextAsTyped()
    {
        QFETCH(std::function<void()>, show);
        QFETCH(QString, text);
        SetMessageAnswerer({});
        Qt::TextFormat format = Qt::AutoText;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            format = box->textFormat();
            shown = box->text();
            box->reject();
            if (box->isVisible()) box->done(0);
        });
        show();
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shown, text);
    }

    void plainLabelAndToolTip()
    {
        QWidget parent;
        QLabel* label = NewPlainLabel(&parent, QStringLiteral("<b>Acme</b> & <i>Co</i>"));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), QStringLiteral("<b>Acme</b> & <i>Co</i>"));
        // A plain tool tip shows the tags: it is either free of markup or escaped.
        QCOMPARE(PlainToolTip(QStringLiteral("Pat Jones")), QStringLiteral("Pat Jones"));
        const QString tip = PlainToolTip(QStringLiteral("<h1>Big</h1>"));
        QVERIFY(Qt::mightBeRichText(tip));
        QVERIFY(tip.contains(QStringLiteral("&lt;h1&gt;Big&lt;/h1&gt;")));
    }
};

FENNICK_TEST_MAIN(TestPlainText)
#include "test_plaintext.moc"
