#pragma once
// Small building blocks the screens share while they create their controls:
// tool bars whose buttons can be found by name and show the desktop's icons,
// and captions that carry a buddy for their access key.
#include <QString>
#include <QStyle>
#include <Qt>

class QAction;
class QIcon;
class QLabel;
class QString;
class QTableView;
class QToolBar;
class QToolButton;
class QWidget;

// Tool buttons show the icon of the desktop's icon theme for their command
// where the theme has one (document-save for tlbtnSave, ...), with the icon
// the screen gave them as fall-back. ThemeIconName gives the theme's icon name
// for a tool button or command name of the table in unitScreenParts.cpp, or
// nullptr; names without one keep their own icon.
const char* ThemeIconName(const QString& name);
QIcon ThemedIcon(const QString& name, const QIcon& fallback);

// Puts `action` on the tool bar and names the tool button that shows it, so the
// command is reachable by the name of its button. The action takes the theme's
// icon for that name, or for its own object name.
QWidget* AddToolBarAction(QToolBar* toolBar, QAction* action, const char* name);

// A new command with `caption` on the tool bar; the command and its button both
// carry `name`.
QAction* NewToolBarAction(QToolBar* toolBar, const char* name, const QString& caption);

// A flat tool button of its own (not backed by an action) at the end of the
// tool bar. The icon the screen sets on it is swapped for the theme's icon for
// its name when the button first shows.
QToolButton* AddToolBarButton(QToolBar* toolBar, const QString& name, Qt::ToolButtonStyle style);

// A screen's tool bar "ToolBar1": captions under 32-pixel icons.
QToolBar* NewScreenToolBar(QWidget* parent);

// AddToolBarButton with a caption under the style's standard icon `icon`.
QToolButton* AddStandardIconButton(QToolBar* toolBar, const QString& name, const QString& caption,
                                   QStyle::StandardPixmap icon);

// A read-only list of whole rows, one selected at a time, no grid, no sorting
// by header click, and fixed row heights, so a list of any length stays cheap
// to lay out.
void SetUpRowList(QTableView* view);

// A caption whose access key moves the focus to `buddy`.
QLabel* MakeCaption(const QString& caption, QWidget* buddy, QWidget* parent);

// A label for text that may have been typed by a user (a name, an address, a
// note): shown exactly as typed, never read as markup. Every label that shows a
// user's text is made plain, through this or setTextFormat(Qt::PlainText).
QLabel* NewPlainLabel(QWidget* parent, const QString& text = QString());

// A tool tip text that shows `text` exactly as typed: a tool tip that looks like
// markup would otherwise be drawn as markup.
QString PlainToolTip(const QString& text);
