// Joins the workspace bar, its pages and the context-help list to the main
// frame: builds them, registers their commands, and carries the private
// messages of the pages and the list (show prototypes, page selection,
// insert entry) and the deferred load of the reference data.
#pragma once

#include <QObject>

class CComboToolBar;
class CContextHelpDlg;
class CDocTemplate;
class CWorkspaceBar;
class IFrameAccess;
class QEvent;
class QMenu;

class CWorkspaceWiring : public QObject
{
    Q_OBJECT
public:
    // Builds the help list, then the workspace menu (143), the pages and the
    // bar on frame, which owns this object; toolBar's combo box shows the
    // prototypes of a selected entry.
    CWorkspaceWiring(IFrameAccess* frame, CComboToolBar* toolBar, CDocTemplate* docTemplate);

    CWorkspaceBar* Bar() const { return m_pBar; }
    QMenu* Menu() const { return m_pMenu; }
    CContextHelpDlg* HelpList() const { return m_pHelpList; }

    // Handles a show-prototypes, page-selection or insert-entry message; false
    // for any other event.
    bool HandleMessage(QEvent* event);
    // Fills the reference pages, the code list and the help list.
    void LoadDeferred();

private:
    void CreateHelpList();
    void CreateBar(CDocTemplate* docTemplate);
    void OnShowPrototypes(int kind, qint32 id);
    void OnPageSelection(int kind, QObject* control);
    void OnInsertEntry(int kind, QObject* control);

    IFrameAccess* m_pFrame;
    CComboToolBar* m_pToolBar;
    CContextHelpDlg* m_pHelpList = nullptr;
    QMenu* m_pMenu = nullptr;
    CWorkspaceBar* m_pBar = nullptr;
};
