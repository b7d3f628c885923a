// How the main frame puts the workspace bar together: the six pages in their
// order, the page commands, the bar's context menu and the View menu's check marks.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CWorkspaceBar;
class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace WorkspacePage {
enum : int { PHP = 0, CSS, Html, JavaScript, CodeBlock, LocalSite, Count };

// "PHP", "CSS", "Html", "JavaScript", "CodeBlock", "LocalSite".
const QStringList& Titles();

// The command that activates page index (32774, 32779, 32775, 32776, 32777, 113), 0 for none.
int CommandOf(int index);
// The page a command activates, -1 when it is not a page command.
int FromCommand(int command);
} // namespace WorkspacePage

// Builds the workspace bar of frame: titled "Workspace", 220 x 200, with our tab and
// button images, the six pages in order (pages[i] for page i; an empty placeholder
// page where pages has none or nullptr), menu as its context menu, docked at the
// left edge. The bar is a child of frame.
CWorkspaceBar* CreateWorkspaceBar(QMainWindow* frame, const QList<QWidget*>& pages = {},
                                  QMenu* menu = nullptr);

// Fills the bar's context menu: the six page commands in page order, then the
// show-workspace command. The actions stay the caller's.
void FillWorkspaceMenu(QMenu* menu, const QList<QAction*>& pageActions, QAction* workspaceAction);

// Binds the commands to the bar: workspaceAction shows the bar when it is hidden
// and hides it otherwise, and is checked exactly while the bar is shown, however
// it was hidden; pageActions[i] activates page i and is checked exactly while
// page i is active, however it was chosen. The actions are made checkable.
void BindWorkspaceCommands(CWorkspaceBar* bar, QAction* workspaceAction, const QList<QAction*>& pageActions);
