// The main window: the editor windows, menus, toolbar, status bar, and the
// receiver of the private messages and of every command.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include "CommandMap.h"
#include "FrameAccess.h"
#include "FrameCommands.h"
#include "SlotFormat.h"

class CAdoDatabase;
class CChildFrame;
class CCodeLibraryStore;
class CComboToolBar;
class CContextHelpDlg;
class CDocTemplate;
class CQuilletDoc;
class CQuilletView;
class CRecentFileList;
class CStatusIndicators;
class CWorkspaceBar;
class CWorkspaceWiring;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;

class CMainFrame : public QMainWindow, public CCmdTarget, public IFrameAccess
{
    Q_OBJECT
public:
    CMainFrame(CDocTemplate* docTemplate, CCmdTarget* appTarget, CRecentFileList* recentFiles,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the frame's pieces in order; false ends the start-up.
    bool Create();

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    CComboToolBar* ToolBar() const { return m_wndToolBar; }
    CStatusIndicators* StatusPanes() const override { return m_pStatus; }
    QAction* Action(int id) const override { return m_actions.value(id); }
    const QString& StartDir() const { return m_strStartDir; }
    CContextHelpDlg* GetHelpList() const;
    CDocTemplate* DocTemplate() const override { return m_pDocTemplate; }
    QMainWindow* Window() override { return this; }
    CCommandMap& CommandMap() override { return Commands(); }

    // The three databases: 1 reference, 2 standard code library, 3 user code
    // library; null when that one is not available.
    CAdoDatabase* GetDatabase(int kind) const override;
    // The character format of a colouring slot (0 is a new editor's default).
    CSlotFormat GetSlotFormat(int slot) const;
    CCodeLibraryStore* CodeLibraries() const override { return m_pCodeLibraries; }
    CWorkspaceBar* WorkspaceBar() const override;
    QMenu* WorkspaceMenu() const;

    // Whether the menu bar shows the menus with documents (129) or without (128).
    bool HasDocumentMenus() const { return m_bDocumentMenus; }

    CQuilletView* ActiveView() const override;
    // Runs command id along the route: active view, its document, this frame, the application.
    bool RouteCommand(int id) override;
    // Sends id to view, then its document (the way a command sent to a window travels).
    static bool SendToView(CQuilletView* view, int id);
    // Sets every action's enabled and checked state.
    void UpdateCommandStates() override;
    // Asks for an update pass once the current event is handled.
    void RequestUpdate() override;

    // The template's window factory: a child frame with a new view of doc.
    CQuilletView* CreateChildFrame(CQuilletDoc* doc, CQuilletView* source);

    void OnSaveAll();
    void OnCloseAll();

    int DeferredLoadCount() const { return m_nDeferredLoads; }

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateToolBar();
    void CreateStatusBar();
    void RegisterCommands();
    void UpdateMenuBar();
    void OnSubWindowActivated(QMdiSubWindow* window);
    // "Quillet - [title]" for the active editor window, "Quillet" without one.
    // Qt also writes the frame's title while an editor window is maximised,
    // and not at every change, so the title is checked once each change of
    // title or window has settled.
    void RequestTitleCheck();
    void UpdateFrameTitle();

    CDocTemplate* m_pDocTemplate;
    CCmdTarget* m_pAppTarget;
    CRecentFileList* m_pRecentFiles;
    QMdiArea* m_pMdiArea = nullptr;
    CComboToolBar* m_wndToolBar = nullptr;
    CStatusIndicators* m_pStatus = nullptr;
    CCodeLibraryStore* m_pCodeLibraries = nullptr;
    CWorkspaceWiring* m_pWorkspace = nullptr;
    QHash<int, QAction*> m_actions;
    FrameCommands::MenuBars m_menus;
    QList<QAction*> m_recentActions;
    QList<QAction*> m_windowListActions;
    // The editor window the user last worked in: it stays the active one while
    // the focus is in the workspace bar, the toolbar or a menu.
    QPointer<QMdiSubWindow> m_pLastActive;
    QString m_strStartDir;
    bool m_bDocumentMenus = false;
    bool m_bUpdatePending = false;
    bool m_bTitleCheckPending = false;
    QTimer* m_pDiskCheck = nullptr;
    int m_nDeferredLoads = 0;
    int m_nChildFrames = 0;
    bool m_bDestroying = false;
};
