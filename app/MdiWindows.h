// The editor windows' arrangement (cascade, tile, arrange), the Window menu's
// commands and its list of open windows.
#pragma once

#include <QList>

class IFrameAccess;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace MdiWindows {

// Shows the area's windows in their normal state at the given places, the
// active window last so that it stays on top.
void Cascade(QMdiArea* area);
void Tile(QMdiArea* area);
// Lines the minimised windows up along the bottom; the others stay put.
void Arrange(QMdiArea* area);

// Registers the Window menu's commands (new window, cascade, tile, arrange,
// next and previous window) on frame, whose editor windows are in area.
void RegisterCommands(IFrameAccess* frame, QMdiArea* area);

// Replaces the window list at the end of menu (the actions in items, which
// are deleted) with one line per open window: "1 title", "2 title", ..., the
// active one checked; choosing a line activates its window.
void FillWindowList(QMenu* menu, QMdiArea* area, QList<QAction*>& items);

} // namespace MdiWindows
