// A main window with the workspace bar docked on its left, its menu and its commands,
// put together the way the main frame does it.
#pragma once

#include <QList>
#include <QMainWindow>
#include <memory>

class CWorkspaceBar;
class QAction;
class QMenu;

struct WorkspaceFrame {
    // Shows the window at a fixed place on the screen and waits until it is exposed.
    WorkspaceFrame();
    ~WorkspaceFrame();

    std::unique_ptr<QMainWindow> frame;
    CWorkspaceBar* bar = nullptr;
    QMenu* menu = nullptr;
    QAction* workspaceAction = nullptr;
    QList<QAction*> pageActions;

    bool Shown() const;
};
