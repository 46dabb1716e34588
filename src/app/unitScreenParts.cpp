#include "app/unitScreenParts.h"

#include <QAction>
#include <QLabel>
#include <QString>
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

QLabel* MakeCaption(const QString& caption, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}
