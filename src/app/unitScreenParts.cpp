#include "app/unitScreenParts.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QString>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

namespace {

// Tool button or command name -> the freedesktop standard icon name the
// desktop theme provides.
struct ThemeIconEntry {
    const char* name;
    const char* iconName;
};
constexpr ThemeIconEntry kThemeIcons[] = {
    {"tlbtnNewInvoice", "document-new"},
    {"tlbtnInvoiceMaintenance", "document-open"},
    {"tlbtnCustomerMaintenance", "x-office-address-book"},
    {"tlbtnPlanner", "x-office-calendar"},
    {"tlbtnReport", "x-office-spreadsheet"},
    {"tlbtnHelp", "help-contents"},
    {"tlbtnClose", "window-close"},
    {"tlbtnSave", "document-save"},
    {"tlbtnPrintPreview", "document-print-preview"},
    {"tlbtnPrint", "document-print"},
    {"tlbtnDelete", "edit-delete"},
    {"tlbtnEmail", "mail-send"},
    {"tlbtnNewCustomer", "contact-new"},
    {"tlbtnNewPriceItem", "list-add"},
    {"tlbtnCancel", "edit-undo"},
    {"tlbtnRtnToCustList", "edit-undo"},
    {"tlbtnBack", "go-previous"},
    {"tlbtnNext", "go-next"},
    {"tlbtnZoomIn", "zoom-in"},
    {"tlbtnZoomOut", "zoom-out"},
};

// Swaps a stand-alone tool button's icon for the theme's one when it first
// shows: screens set that icon after the button is made.
class TThemeIconOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* button = qobject_cast<QToolButton*>(watched)) {
                button->setIcon(ThemedIcon(button->objectName(), button->icon()));
                button->removeEventFilter(this);
            }
        }
        return false;
    }
};

} // namespace

const char* ThemeIconName(const QString& name)
{
    for (const ThemeIconEntry& entry : kThemeIcons)
        if (name == QLatin1String(entry.name)) return entry.iconName;
    return nullptr;
}

QIcon ThemedIcon(const QString& name, const QIcon& fallback)
{
    const char* iconName = ThemeIconName(name);
    if (!iconName) return fallback;
    return QIcon::fromTheme(QLatin1String(iconName), fallback);
}

QWidget* AddToolBarAction(QToolBar* toolBar, QAction* action, const char* name)
{
    const QString buttonName = QLatin1String(name);
    action->setIcon(ThemeIconName(buttonName) ? ThemedIcon(buttonName, action->icon())
                                              : ThemedIcon(action->objectName(), action->icon()));
    toolBar->addAction(action);
    QWidget* button = toolBar->widgetForAction(action);
    button->setObjectName(QLatin1String(name));
    return button;
}

QAction* NewToolBarAction(QToolBar* toolBar, const char* name, const QString& caption)
{
    auto* action = new QAction(caption, toolBar);
    action->setObjectName(QLatin1String(name));
    AddToolBarAction(toolBar, action, name);
    return action;
}

QToolButton* AddToolBarButton(QToolBar* toolBar, const QString& name, Qt::ToolButtonStyle style)
{
    auto* button = new QToolButton(toolBar);
    button->setObjectName(name);
    button->setToolButtonStyle(style);
    button->setAutoRaise(true);
    if (ThemeIconName(name)) button->installEventFilter(new TThemeIconOnShow(button));
    toolBar->addWidget(button);
    return button;
}

QToolBar* NewScreenToolBar(QWidget* parent)
{
    auto* toolBar = new QToolBar(parent);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(32, 32));
    return toolBar;
}

QToolButton* AddStandardIconButton(QToolBar* toolBar, const QString& name, const QString& caption,
                                   QStyle::StandardPixmap icon)
{
    QToolButton* button = AddToolBarButton(toolBar, name, Qt::ToolButtonTextUnderIcon);
    button->setText(caption);
    button->setIcon(toolBar->style()->standardIcon(icon));
    return button;
}

void SetUpRowList(QTableView* view)
{
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSortingEnabled(false);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setSectionsClickable(false);
    view->horizontalHeader()->setHighlightSections(false);
}

QLabel* NewPlainLabel(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QString PlainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text)) return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

QLabel* MakeCaption(const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}
