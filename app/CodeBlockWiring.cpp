#include "CodeBlockWiring.h"

#include "CodeLibraryStore.h"
#include "CommandIds.h"
#include "MainFrame.h"
#include "QuilletEvent.h"
#include "SnippetCommands.h"
#include "WSCodeBlockView.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"

#include <QAction>
#include <QListWidget>

CWSCodeBlockView* FindCodeBlockPage(const CMainFrame* frame)
{
    CWorkspaceBar* bar = frame ? frame->WorkspaceBar() : nullptr;
    return bar ? qobject_cast<CWSCodeBlockView*>(bar->GetView(WorkspacePage::CodeBlock)) : nullptr;
}

void InstallCodeBlockPage(CMainFrame* frame)
{
    CWSCodeBlockView* page = FindCodeBlockPage(frame);
    CCodeLibraryStore* store = frame->CodeLibraries();
    if (!page || !store)
        return;
    page->SetMessageTarget(frame);
    page->SetDatabaseSource([frame](int kind) { return frame->GetDatabase(kind); });
    QHash<int, QAction*> commands;
    for (int id : {Cmd::InsertCode, Cmd::NewCode, Cmd::EditCode, Cmd::DeleteCode, Cmd::ImportCode})
        commands.insert(id, frame->Action(id));
    page->SetCommandActions(commands);
    QObject::connect(page, &CWSCodeBlockView::contextMenuOpening, frame, &CMainFrame::UpdateCommandStates);
    QObject::connect(page->GetCodeList(), &QListWidget::itemSelectionChanged, frame, &CMainFrame::RequestUpdate);
    QObject::connect(store, &CCodeLibraryStore::codeLibraryChanged, page, &CWSCodeBlockView::FillCodeList);

    auto* snippets = new CSnippetCommands(store, page, frame);
    CCommandMap& map = frame->Commands();
    // "插入" inserts the selected line as a double click on it does.
    map.On(Cmd::InsertCode,
           [frame, page] { CQuilletEvent::Post(frame, QuilletEvent::InsertEntry, CWSCodeBlockView::kKind, 0, page->GetCodeList()); },
           [snippets](CCmdUI& ui) { ui.enabled = snippets->CanInsert(); });
    map.On(Cmd::NewCode, [snippets] { snippets->OnNewCode(); },
           [snippets](CCmdUI& ui) { ui.enabled = snippets->CanCreate(); });
    map.On(Cmd::EditCode, [snippets] { snippets->OnEditCode(); },
           [snippets](CCmdUI& ui) { ui.enabled = snippets->CanChange(); });
    map.On(Cmd::DeleteCode, [snippets] { snippets->OnDeleteCode(); },
           [snippets](CCmdUI& ui) { ui.enabled = snippets->CanChange(); });
}
