#include "app/unitScreenParts.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QString>
#include <QTableView>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

QWidget* AddToolBarAction(QToolBar* toolBar, QAction* action, const char* name)
{
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
    toolBar->addWidget(button);
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
