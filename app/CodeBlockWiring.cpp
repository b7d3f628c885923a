#include "CodeBlockWiring.h"

#include "CodeLibraryStore.h"
#include "CommandIds.h"
#include "CommandMap.h"
#include "FrameAccess.h"
#include "QuilletEvent.h"
#include "SnippetCommands.h"
#include "WSCodeBlockView.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"

#include <QAction>
#include <QListWidget>
#include <QMainWindow>

CWSCodeBlockView* FindCodeBlockPage(const IFrameAccess* frame)
{
    CWorkspaceBar* bar = frame ? frame->WorkspaceBar() : nullptr;
    return bar ? qobject_cast<CWSCodeBlockView*>(bar->GetView(WorkspacePage::CodeBlock)) : nullptr;
}

void InstallCodeBlockPage(IFrameAccess* frame)
{
    CWSCodeBlockView* page = FindCodeBlockPage(frame);
    CCodeLibraryStore* store = frame->CodeLibraries();
    if (!page || !store)
        return;
    QMainWindow* window = frame->Window();
    page->SetMessageTarget(window);
    page->SetDatabaseSource([frame](int kind) { return frame->GetDatabase(kind); });
    QHash<int, QAction*> commands;
    for (int id : {Cmd::InsertCode, Cmd::NewCode, Cmd::EditCode, Cmd::DeleteCode, Cmd::ImportCode})
        commands.insert(id, frame->Action(id));
    page->SetCommandActions(commands);
    QObject::connect(page, &CWSCodeBlockView::contextMenuOpening, window, [frame] { frame->UpdateCommandStates(); });
    QObject::connect(page->GetCodeList(), &QListWidget::itemSelectionChanged, window, [frame] { frame->RequestUpdate(); });
    QObject::connect(store, &CCodeLibraryStore::codeLibraryChanged, page, &CWSCodeBlockView::FillCodeList);

    auto* snippets = new CSnippetCommands(store, page, window);
    CCommandMap& map = frame->CommandMap();
    // "插入" inserts the selected line as a double click on it does.
    map.On(Cmd::InsertCode,
           [window, page] { CQuilletEvent::Post(window, QuilletEvent::InsertEntry, CWSCodeBlockView::kKind, 0, page->GetCodeList()); },
           [snippets](CCmdUI& ui) { ui.enabled = snippets->CanInsert(); });
    map.On(Cmd::NewCode, [snippets] { snippets->OnNewCode(); },
           [snippets](CCmdUI& ui) { ui.enabled = snippets->CanCreate(); });
    map.On(Cmd::EditCode, [snippets] { snippets->OnEditCode(); },
           [snippets](CCmdUI& ui) { ui.enabled = snippets->CanChange(); });
    map.On(Cmd::DeleteCode, [snippets] { snippets->OnDeleteCode(); },
           [snippets](CCmdUI& ui) { ui.enabled = snippets->CanChange(); });
}

void RegisterCodeLibraryCommands(IFrameAccess* frame)
{
    CCommandMap& map = frame->CommandMap();
    map.On(Cmd::OpenCodeLib, [frame] { frame->CodeLibraries()->OnOpenCodeLib(frame->Window()); });
    map.On(Cmd::NewCodeLib, [frame] { frame->CodeLibraries()->OnNewCodeLib(frame->Window()); });
    map.On(Cmd::ImportCode, [frame] { frame->CodeLibraries()->OnImportCode(frame->Window()); },
           [frame](CCmdUI& ui) { ui.enabled = frame->CodeLibraries()->IsUserLibOpen(); });
}
