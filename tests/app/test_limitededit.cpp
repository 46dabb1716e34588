// Typing limits of text boxes and memos: what does not fit is left out in
// whole characters, so an emoji, a flag or a letter with its accent is never
// cut in two; a longer stored text is shown whole and may not grow.
#include "common/TestSupport.h"

#include "app/unitLimitedEdit.h"
#include "customers/unitLimitedMemo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

namespace {

const QString kThumbsUp = QString::fromUtf8("\U0001F44D");                   // two UTF-16 units
const QString kThumbsUpToned = QString::fromUtf8("\U0001F44D\U0001F3FD");    // four, one character
const QString kFlag = QString::fromUtf8("\U0001F1E9\U0001F1EA");             // four, one character
const QString kAccented = QString::fromUtf8("e\u0301");                      // two, one character

bool HasLoneSurrogate(const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())) return true;
        if (text[i].isLowSurrogate() && (i == 0 || !text[i - 1].isHighSurrogate())) return true;
    }
    return false;
}

} // namespace

class TestLimitedEdit : public QObject {
    Q_OBJECT

private slots:
    // A box of five: what is inserted goes in as far as whole characters fit.
    void insertionsKeepWholeCharacters_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("after");
        QTest::newRow("emoji fits") << "abc" << kThumbsUp << "abc" + kThumbsUp;
        QTest::newRow("emoji one unit short") << "abcd" << kThumbsUp << "abcd";
        QTest::newRow("letters then an emoji") << "ab" << "cd" + kThumbsUp << "abcd";
        QTest::newRow("toned emoji is one character") << "ab" << kThumbsUpToned << "ab";
        QTest::newRow("flag is one character") << "ab" << "c" + kFlag << "abc";
        QTest::newRow("accent stays with its letter") << "abc" << "d" + kAccented << "abcd";
        QTest::newRow("plain text is cut as before") << "" << "abcdefgh" << "abcde";
    }
    void insertionsKeepWholeCharacters()
    {
        QFETCH(QString, before);
        QFETCH(QString, inserted);
        QFETCH(QString, after);
        QWidget parent;
        QLineEdit* box = NewLimitedEdit(&parent, QStringLiteral("txtBox"), 5);
        box->setText(before);
        box->setCursorPosition(int(before.size()));
        box->insert(inserted);   // as a paste or a composed text arrives
        QCOMPARE(box->text(), after);
        QVERIFY(!HasLoneSurrogate(box->text()));
        QCOMPARE(TypedLimit(box), 5);
    }

    // Typed keys: a key whose text does not fit whole is refused, without
    // a change signal; one that fits goes in.
    void typedKeysAtTheLimit()
    {
        QWidget parent;
        QLineEdit* box = NewLimitedEdit(&parent, QStringLiteral("txtBox"), 5);
        int changes = 0;
        connect(box, &QLineEdit::textChanged, box, [&changes] { ++changes; });
        QTest::keyClicks(box, QStringLiteral("abcd"));
        changes = 0;
        QKeyEvent emoji(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, kThumbsUp);
        QCoreApplication::sendEvent(box, &emoji);
        QCOMPARE(box->text(), QStringLiteral("abcd"));
        QCOMPARE(changes, 0);
        QTest::keyClick(box, Qt::Key_E);
        QCOMPARE(box->text(), QStringLiteral("abcde"));
        // In the middle of a full box nothing goes in either.
        box->setCursorPosition(2);
        QTest::keyClick(box, Qt::Key_X);
        QCOMPARE(box->text(), QStringLiteral("abcde"));
        QVERIFY(box->isUndoAvailable());   // a refused key leaves the undo history alone
    }

    // A longer stored text is shown whole: it may be changed, not made longer;
    // emptied, the box takes its typing limit again.
    void storedTextIsShownWhole()
    {
        QWidget parent;
        QLineEdit* box = NewLimitedEdit(&parent, QStringLiteral("txtBox"), 5);
        ShowStoredText(box, QStringLiteral("stored long"));
        QCOMPARE(box->text(), QStringLiteral("stored long"));
        box->setCursorPosition(int(box->text().size()));
        box->insert(QStringLiteral("er"));
        QCOMPARE(box->text(), QStringLiteral("stored long"));
        box->backspace();
        box->insert(kThumbsUp);   // two units in the room of one
        QCOMPARE(box->text(), QStringLiteral("stored lon"));
        ClearToTypedLimit(box);
        box->insert(QStringLiteral("abcdefgh"));
        QCOMPARE(box->text(), QStringLiteral("abcde"));
    }

    // A memo's paste keeps whole characters too.
    void memoPasteKeepsWholeCharacters()
    {
        TLimitedMemo memo(5);
        memo.setPlainText(QStringLiteral("abc"));
        memo.moveCursor(QTextCursor::End);
        QGuiApplication::clipboard()->setText(QStringLiteral("d") + kThumbsUp + QStringLiteral("x"));
        memo.paste();
        QCOMPARE(memo.toPlainText(), QStringLiteral("abcd"));
        QCOMPARE(WholeCharactersThatFit(QStringLiteral("ab") + kFlag, 5), QStringLiteral("ab"));
        QCOMPARE(WholeCharactersThatFit(QStringLiteral("ab") + kFlag, 6), QStringLiteral("ab") + kFlag);
    }
};

FENNICK_TEST_MAIN(TestLimitedEdit)
#include "test_limitededit.moc"
