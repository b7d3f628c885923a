// The main frame's commands: one QAction per command id, and the two menu bars.
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>

class QAction;
class QMenu;
class QObject;
class QWidget;

namespace FrameCommands {

struct Info
{
    int id;
    const char* text;              // menu text (UTF-8)
    QList<QKeySequence> keys;      // the first is the one the menu shows
    const char* statusTip;         // prompt shown in the message pane, or nullptr
};

// Every command of the menus, in no particular order.
const QList<Info>& Table();

// One action per command, owned by owner; each action's data() is its id.
QHash<int, QAction*> CreateActions(QObject* owner);

// The pop-up menus of the menu bar without documents (128) and with at least
// one (129); the recent-file items are filled into mruMenuPlace's position by
// the frame. Menus are owned by parent.
struct MenuBars
{
    QList<QMenu*> noDocument;   // File, Site, View, Help
    QList<QMenu*> withDocument; // File, Edit, View, Settings, Window, Help
    QMenu* fileNoDoc = nullptr;
    QMenu* fileWithDoc = nullptr;
    QMenu* window = nullptr;
};
MenuBars BuildMenus(QWidget* parent, const QHash<int, QAction*>& actions);

// The toolbar's commands in order; 0 is a separator.
QList<int> ToolbarOrder();

} // namespace FrameCommands
