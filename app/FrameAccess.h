// What the command modules need of the main frame, so that they reach it
// without knowing it: the window that parents their dialogs and panes, the
// frame's command map, the active view, an action by id, the workspace bar,
// the documents, the status panes, the databases, and the command route and update pass.
#pragma once

class CAdoDatabase;
class CCodeLibraryStore;
class CCommandMap;
class CDocTemplate;
class CQuilletView;
class CStatusIndicators;
class CWorkspaceBar;
class QAction;
class QMainWindow;

class IFrameAccess
{
public:
    virtual QMainWindow* Window() = 0;
    // The handlers of the frame's link of the command route.
    virtual CCommandMap& CommandMap() = 0;
    virtual CQuilletView* ActiveView() const = 0;
    virtual QAction* Action(int id) const = 0;
    // Null until the frame has built it.
    virtual CWorkspaceBar* WorkspaceBar() const = 0;
    virtual CDocTemplate* DocTemplate() const = 0;
    // The status bar's panes (caret position, lock keys, the lasting message).
    virtual CStatusIndicators* StatusPanes() const = 0;
    virtual CCodeLibraryStore* CodeLibraries() const = 0;
    // 1 reference, 2 standard code library, 3 user code library; null when
    // that one is not available.
    virtual CAdoDatabase* GetDatabase(int kind) const = 0;
    // Runs command id along the route: active view, its document, the frame, the application.
    virtual bool RouteCommand(int id) = 0;
    // Sets every action's enabled and checked state now, or once the current event is handled.
    virtual void UpdateCommandStates() = 0;
    virtual void RequestUpdate() = 0;

protected:
    ~IFrameAccess() = default;
};
