#include "WorkspaceWiring.h"

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QTreeWidget>

#include "CodeBlockWiring.h"
#include "CodeLibraryStore.h"
#include "ComboToolBar.h"
#include "CommandIds.h"
#include "CommandMap.h"
#include "ContextHelpDlg.h"
#include "EditorHost.h"
#include "FrameAccess.h"
#include "QuilletEvent.h"
#include "QuilletView.h"
#include "ReferenceLoad.h"
#include "ReferenceText.h"
#include "ReferenceTreeCtrl.h"
#include "SiteCommands.h"
#include "WSCSSView.h"
#include "WSCodeBlockView.h"
#include "WSHtmlView.h"
#include "WSJavaScriptView.h"
#include "WSLocalSiteView.h"
#include "WSPHPView.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"

CWorkspaceWiring::CWorkspaceWiring(IFrameAccess* frame, CComboToolBar* toolBar, CDocTemplate* docTemplate)
    : QObject(frame->Window()), m_pFrame(frame), m_pToolBar(toolBar)
{
    CreateHelpList();
    CreateBar(docTemplate);
}

void CWorkspaceWiring::CreateHelpList()
{
    IFrameAccess* frame = m_pFrame;
    m_pHelpList = new CContextHelpDlg(frame->Window());
    EditorHost::SetHelpList(m_pHelpList);
    // Insert (Ctrl+I) is enabled exactly while the list shows.
    connect(m_pHelpList, &CContextHelpDlg::listShown, frame->Window(), [frame] { frame->RequestUpdate(); });
    connect(m_pHelpList, &CContextHelpDlg::entryChosen, frame->Window(), [frame] { frame->RouteCommand(Cmd::EditInsert); });
    frame->CommandMap().On(Cmd::ViewContextHelp,
                           [this] { m_pHelpList->SetContextHelpEnabled(!m_pHelpList->IsContextHelpEnabled()); },
                           [this](CCmdUI& ui) { ui.checked = m_pHelpList->IsContextHelpEnabled(); });
    EditorHost::SetEntryTextReader([frame](int kind, qint32 id) {
        return ReadEntryText(frame->GetDatabase(CCodeLibraryStore::ReferenceDb),
                             frame->GetDatabase(CCodeLibraryStore::StdLib),
                             frame->GetDatabase(CCodeLibraryStore::UserLib), kind, id);
    });
}

void CWorkspaceWiring::CreateBar(CDocTemplate* docTemplate)
{
    IFrameAccess* frame = m_pFrame;
    QMainWindow* window = frame->Window();
    // Menu 143: the page commands and "工作空间", the bar's context menu.
    QList<QAction*> pageActions;
    for (int i = 0; i < WorkspacePage::Count; ++i)
        pageActions << frame->Action(WorkspacePage::CommandOf(i));
    m_pMenu = new QMenu(window);
    FillWorkspaceMenu(m_pMenu, pageActions, frame->Action(Cmd::ViewWorkspace));
    connect(m_pMenu, &QMenu::aboutToShow, window, [frame] { frame->UpdateCommandStates(); });
    // The reference pages, CodeBlock and LocalSite.
    const QList<QWidget*> pages = {new CWSPHPView(window), new CWSCSSView(window), new CWSHtmlView(window),
                                   new CWSJavaScriptView(window), new CWSCodeBlockView(window)};
    QList<QWidget*> allPages = pages;
    allPages.resize(WorkspacePage::Count);
    allPages[WorkspacePage::LocalSite] = (new CSiteCommands(frame, docTemplate))->CreatePage();
    m_pBar = ::CreateWorkspaceBar(window, allPages, m_pMenu);
    m_pBar->setProperty("ctrlId", CtrlId::WorkspaceBar);
    // The check marks follow the bar however it was shown, hidden or paged.
    connect(m_pBar, &CDockingBar::shownChanged, window, [frame] { frame->RequestUpdate(); });
    connect(m_pBar, &CWorkspaceBar::activeViewChanged, window, [frame] { frame->RequestUpdate(); });

    CCommandMap& commands = frame->CommandMap();
    commands.On(Cmd::ViewWorkspace, [this] { m_pBar->setVisible(!m_pBar->IsShown()); },
                [this](CCmdUI& ui) { ui.checked = m_pBar->IsShown(); });
    for (int i = 0; i < WorkspacePage::Count; ++i) {
        commands.On(WorkspacePage::CommandOf(i), [this, i] { m_pBar->SetActiveView(i); },
                    [this, i](CCmdUI& ui) { ui.checked = m_pBar->GetActiveIndex() == i; });
    }
}

bool CWorkspaceWiring::HandleMessage(QEvent* event)
{
    if (event->type() != QuilletEvent::ShowPrototypes && event->type() != QuilletEvent::PageSelection &&
        event->type() != QuilletEvent::InsertEntry)
        return false;
    auto* e = static_cast<CQuilletEvent*>(event);
    const int kind = static_cast<int>(e->wParam());
    if (event->type() == QuilletEvent::ShowPrototypes)
        OnShowPrototypes(kind, static_cast<qint32>(e->lParam()));
    else if (event->type() == QuilletEvent::PageSelection)
        OnPageSelection(kind, e->control());
    else
        OnInsertEntry(kind, e->control());
    return true;
}

void CWorkspaceWiring::LoadDeferred()
{
    LoadReferencePages([this](int tab) { return m_pBar->GetView(tab); },
                       [this] { return m_pFrame->GetDatabase(CCodeLibraryStore::ReferenceDb); });
    if (CWSCodeBlockView* codeBlock = FindCodeBlockPage(m_pFrame))
        codeBlock->FillCodeList();
    m_pHelpList->FillContextListOnFirstUse(0, m_pFrame->GetDatabase(CCodeLibraryStore::ReferenceDb));
}

void CWorkspaceWiring::OnShowPrototypes(int kind, qint32 id)
{
    if (id < 0) {   // an entry of the user's own code
        m_pToolBar->SetComboText(m_pHelpList->ExtraPrototype(id));
        return;
    }
    if (const std::optional<QString> text = ReadPrototypes(m_pFrame->GetDatabase(CCodeLibraryStore::ReferenceDb), kind, id))
        m_pToolBar->SetComboText(*text);
}

void CWorkspaceWiring::OnPageSelection(int kind, QObject* control)
{
    if (kind < 0 || kind > 3)
        return;
    if (QTreeWidgetItem* item = CReferenceTreeCtrl::SelectedItem(qobject_cast<QTreeWidget*>(control)))
        CQuilletEvent::Post(m_pFrame->Window(), QuilletEvent::ShowPrototypes, kind, CReferenceTreeCtrl::ItemData(item));
}

void CWorkspaceWiring::OnInsertEntry(int kind, QObject* control)
{
    CQuilletView* view = m_pFrame->ActiveView();
    if (!view)
        return;
    if (kind >= 0 && kind <= 3) {
        if (QTreeWidgetItem* item = CReferenceTreeCtrl::SelectedItem(qobject_cast<QTreeWidget*>(control)))
            CQuilletEvent::Post(view, QuilletEvent::InsertEntry, kind, CReferenceTreeCtrl::ItemData(item));
    } else if (kind == 4) {
        // The code list's selected line: its data is the snippet id and library.
        if (QListWidgetItem* item = CWSCodeBlockView::SelectedItem(qobject_cast<QListWidget*>(control)))
            CQuilletEvent::Post(view, QuilletEvent::InsertEntry, 4, CWSCodeBlockView::ItemData(item));
    }
}
