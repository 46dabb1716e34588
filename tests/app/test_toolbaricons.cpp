// Tool bar icons: the desktop theme's icon where the theme has one for the
// command, the screen's own icon otherwise, for actions and stand-alone buttons.
#include "common/TestSupport.h"

#include "app/unitScreenParts.h"

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

namespace {

// A one-colour icon of the screen's own, told apart by its cache key.
QIcon ownIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

} // namespace

class TestToolBarIcons : public QObject {
    Q_OBJECT

    QTemporaryDir m_themes;

    void writeThemeIcon(const QString& iconName)
    {
        const QString folder = m_themes.path() + QStringLiteral("/FennickTest/32x32/actions");
        QVERIFY(QDir().mkpath(folder));
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(folder + '/' + iconName + QStringLiteral(".png")));
    }

private slots:
    void initTestCase()
    {
        // A small theme of its own with two icons: document-save, mail-send.
        QFile index(m_themes.path() + QStringLiteral("/FennickTest/index.theme"));
        QVERIFY(QDir().mkpath(m_themes.path() + QStringLiteral("/FennickTest")));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=FennickTest\nDirectories=32x32/actions\n\n"
                    "[32x32/actions]\nSize=32\nContext=Actions\nType=Fixed\n");
        index.close();
        writeThemeIcon(QStringLiteral("document-save"));
        writeThemeIcon(QStringLiteral("mail-send"));
        QIcon::setThemeSearchPaths({m_themes.path()});
    }

    void init() { QIcon::setThemeName(QStringLiteral("FennickTest")); }

    void actionTakesThemeIconWhereThemeHasOne_data()
    {
        QTest::addColumn<QByteArray>("buttonName");
        QTest::addColumn<QString>("expectedTheme");
        QTest::newRow("in table and theme") << QByteArray("tlbtnSave") << QStringLiteral("document-save");
        QTest::newRow("in table, not in theme") << QByteArray("tlbtnPrint") << QString();
        QTest::newRow("not in table") << QByteArray("tlbtnSomething") << QString();
    }

    void actionTakesThemeIconWhereThemeHasOne()
    {
        QFETCH(QByteArray, buttonName);
        QFETCH(QString, expectedTheme);
        QToolBar toolBar;
        const QIcon own = ownIcon();
        auto* action = new QAction(own, QStringLiteral("Caption"), &toolBar);
        QWidget* widget = AddToolBarAction(&toolBar, action, buttonName.constData());

        QCOMPARE(widget->objectName(), QString::fromLatin1(buttonName));
        QCOMPARE(action->icon().name(), expectedTheme);
        if (expectedTheme.isEmpty()) QCOMPARE(action->icon().cacheKey(), own.cacheKey());
        auto* button = qobject_cast<QToolButton*>(widget);
        QVERIFY(button);
        QCOMPARE(button->icon().name(), expectedTheme);
    }

    void commandNameFindsThemeIconWhenButtonNameHasNone()
    {
        // The editor's e-mail command is named for its menu entry; a button
        // name outside the table falls back to the command's own name.
        QToolBar toolBar;
        auto* action = new QAction(ownIcon(), QStringLiteral("Email"), &toolBar);
        action->setObjectName(QStringLiteral("tlbtnEmail"));
        AddToolBarAction(&toolBar, action, "tlbtnSendIt");
        QCOMPARE(action->icon().name(), QStringLiteral("mail-send"));
    }

    void newToolBarActionWithoutOwnIconTakesThemeIcon()
    {
        QToolBar toolBar;
        QAction* save = NewToolBarAction(&toolBar, "tlbtnSave", QStringLiteral("Save"));
        QAction* close = NewToolBarAction(&toolBar, "tlbtnClose", QStringLiteral("Close"));
        QCOMPARE(save->icon().name(), QStringLiteral("document-save"));
        QVERIFY(close->icon().isNull());
    }

    void standaloneButtonSwapsIconSetAfterItWasMadeWhenShown()
    {
        QWidget window;
        auto* toolBar = new QToolBar(&window);
        QToolButton* save = AddToolBarButton(toolBar, QStringLiteral("tlbtnSave"), Qt::ToolButtonTextUnderIcon);
        QToolButton* close = AddToolBarButton(toolBar, QStringLiteral("tlbtnClose"), Qt::ToolButtonTextUnderIcon);
        const QIcon own = ownIcon();
        save->setIcon(own);
        close->setIcon(own);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(save->icon().name(), QStringLiteral("document-save"));
        QCOMPARE(close->icon().cacheKey(), own.cacheKey());
    }

    void withoutAnyThemeEveryButtonKeepsItsOwnIcon()
    {
        QIcon::setThemeName(QStringLiteral("NoSuchTheme"));
        QToolBar toolBar;
        const QIcon own = ownIcon();
        for (const char* name : {"tlbtnSave", "tlbtnEmail", "tlbtnNewInvoice", "tlbtnHelp"}) {
            auto* action = new QAction(own, QString::fromLatin1(name), &toolBar);
            AddToolBarAction(&toolBar, action, name);
            QCOMPARE(action->icon().cacheKey(), own.cacheKey());
            QVERIFY(!action->icon().pixmap(32, 32).isNull());
        }
    }
};

FENNICK_TEST_MAIN(TestToolBarIcons)
#include "test_toolbaricons.moc"
