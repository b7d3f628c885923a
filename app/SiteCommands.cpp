#include "SiteCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QSettings>

#include "ChildFrame.h"
#include "CommandIds.h"
#include "FindInFilesCommand.h"
#include "DocTemplate.h"
#include "LocalSiteTreeCtrl.h"
#include "FrameAccess.h"
#include "NameDlg.h"
#include "OpenSiteDlg.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "SiteShell.h"
#include "UserPrompt.h"
#include "WSLocalSiteView.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"
#include "core/FolderListing.h"
#include "core/SiteFileOps.h"
#include "core/SiteMemory.h"
#include "core/SiteOpenRules.h"

CSiteCommands::CSiteCommands(IFrameAccess* frame, CDocTemplate* docTemplate)
    : QObject(frame->Window()),
      m_strSiteExtensions(QString::fromLatin1(SiteOpenRules::kSiteExtensions)),
      m_pFrame(frame),
      m_pDocTemplate(docTemplate)
{
    setObjectName(QStringLiteral("siteCommands"));
    CCommandMap& commands = frame->CommandMap();
    commands.On(Cmd::OpenSite, [this] { OnOpenSite(); });
    commands.On(Cmd::SiteOpenFile, [this] { OnOpenSiteFile(); });
    commands.On(Cmd::SiteDeleteFile, [this] { OnDeleteSiteFile(); });
    commands.On(Cmd::SiteNewFolder, [this] { OnNewSiteFolder(); });
    commands.On(Cmd::SiteDeleteFolder, [this] { OnDeleteSiteFolder(); });
    commands.On(Cmd::SiteNewFile, [this] { OnNewSiteFile(); });
    // Find in files offers the open site first, and searches a folder of it
    // from the folder menu.
    if (auto* find = frame->Window()->findChild<CFindInFilesCommand*>()) {
        find->SetSiteFolderProvider([this] {
            CLocalSiteTreeCtrl* tree = Tree();
            QTreeWidgetItem* root = tree ? tree->topLevelItem(0) : nullptr;
            return root && tree->topLevelItemCount() == 1 ? tree->GetItemPath(root) : QString();
        });
        commands.On(Cmd::SiteFindInFolder, [this, find] {
            QTreeWidgetItem* item = SelectedItem();
            CLocalSiteTreeCtrl* tree = Tree();
            if (item && tree && tree->IsFolderItem(item))
                find->Run(tree->GetItemPath(item));
        });
    }
}

CWSLocalSiteView* CSiteCommands::CreatePage()
{
    auto* page = new CWSLocalSiteView(m_pFrame->Window());
    page->GetTreeCtrl()->SetActionLookup([this](int id) { return m_pFrame->Action(id); });
    // Posted: the double click is over before the file opens.
    connect(page, &CWSLocalSiteView::commandRequested, m_pFrame->Window(),
            [this](int id) { m_pFrame->RouteCommand(id); }, Qt::QueuedConnection);
    page->OpenLastSite();
    return page;
}

CWSLocalSiteView* CSiteCommands::Page() const
{
    CWorkspaceBar* bar = m_pFrame->WorkspaceBar();
    return bar ? qobject_cast<CWSLocalSiteView*>(bar->GetView(WorkspacePage::LocalSite)) : nullptr;
}

CLocalSiteTreeCtrl* CSiteCommands::Tree() const
{
    CWSLocalSiteView* page = Page();
    return page ? page->GetTreeCtrl() : nullptr;
}

QTreeWidgetItem* CSiteCommands::SelectedItem() const
{
    CLocalSiteTreeCtrl* tree = Tree();
    QTreeWidgetItem* item = tree ? tree->selectedItems().value(0) : nullptr;
    return CFolderTreeCtrl::IsPlaceholder(item) ? nullptr : item;
}

void CSiteCommands::OnOpenSite()
{
    COpenSiteDlg dlg(m_pFrame->Window(), SiteMemory::StartFolder(QSettings()));
    if (dlg.exec() != QDialog::Accepted)
        return;
    CWSLocalSiteView* page = Page();
    if (!page)
        return;
    page->OpenSite(dlg.SitePath());
    // The site is shown at once, whichever page was in front.
    CWorkspaceBar* bar = m_pFrame->WorkspaceBar();
    bar->setVisible(true);
    bar->SetActiveView(WorkspacePage::LocalSite);
}

CQuilletView* CSiteCommands::FindOpenView(const QString& path) const
{
    for (CQuilletDoc* doc : m_pDocTemplate->Documents())
        if (doc->GetPathName() == path)
            return doc->FirstView();
    return nullptr;
}

void CSiteCommands::OnOpenSiteFile()
{
    QTreeWidgetItem* item = SelectedItem();
    // Only regular files: a pipe or device would hold up the editor.
    if (!item || !Tree()->IsFileItem(item))
        return;
    const QString path = Tree()->GetItemPath(item);
    if (CQuilletView* view = FindOpenView(path)) {
        if (auto* frame = qobject_cast<CChildFrame*>(view->parentWidget()))
            frame->ActivateFrame();
        view->setFocus();
        return;
    }
    if (SiteOpenRules::OpensInEditor(path, m_strSiteExtensions)) {
        if (CQuilletDoc* doc = m_pDocTemplate->OpenDocumentFile(path))
            if (CQuilletView* view = doc->FirstView())
                view->setFocus();
        return;
    }
    SiteShell::ShellOpen(path);
}

QString CSiteCommands::DeleteQuestion(const QString& kind, const QString& path)
{
    // "确实要删除文件:" or "确实要删除文件夹:", and, where no trash can be had
    // and the entry would be deleted for good, a line saying so before it.
    const QString question = QStringLiteral("确实要删除%1:").arg(kind) + path;
    if (SiteFileOps::HasTrash(path))
        return question;
    return QStringLiteral("该%1所在的磁盘上没有回收站，删除后将无法恢复。\n").arg(kind) + question;
}

void CSiteCommands::OnDeleteSiteFile()
{
    CLocalSiteTreeCtrl* tree = Tree();
    QTreeWidgetItem* item = SelectedItem();
    if (!item || !item->parent() || tree->IsFolderItem(item))
        return;
    const QString path = tree->GetItemPath(item);
    if (!UserPrompt::AskYesNo(m_pFrame->Window(), DeleteQuestion(QStringLiteral("文件"), path)))
        return;
    // A file that is still there keeps its place in the tree.
    SiteFileOps::DeleteFile(path);
    if (!SiteFileOps::EntryExists(path))
        tree->DeleteItem(item);
}

void CSiteCommands::OnDeleteSiteFolder()
{
    CLocalSiteTreeCtrl* tree = Tree();
    QTreeWidgetItem* item = SelectedItem();
    // The site folder itself is never deleted from here.
    if (!item || !item->parent())
        return;
    const QString path = tree->GetItemPath(item);
    if (!tree->IsFolderItem(item))
        return;
    // Hidden entries give a folder no expand button, yet it is not empty.
    if (item->childCount() > 0 || !SiteFileOps::IsEmptyFolder(path)) {
        UserPrompt::ShowMessage(m_pFrame->Window(), QStringLiteral("不能删除一个非空的文件夹!"), QMessageBox::Critical);
        return;
    }
    if (!UserPrompt::AskYesNo(m_pFrame->Window(), DeleteQuestion(QStringLiteral("文件夹"), path)))
        return;
    const SiteFileOps::Result result = SiteFileOps::DeleteEmptyFolder(path);
    if (result == SiteFileOps::Result::NotEmpty)
        UserPrompt::ShowMessage(m_pFrame->Window(), QStringLiteral("不能删除一个非空的文件夹!"), QMessageBox::Critical);
    else if (!SiteFileOps::EntryExists(path))
        tree->DeleteItem(item);
}

void CSiteCommands::OnNewSiteFolder()
{
    NewEntry(CNameDlg::NewFolder);
}

void CSiteCommands::OnNewSiteFile()
{
    NewEntry(CNameDlg::NewFile);
}

void CSiteCommands::NewEntry(int mode)
{
    CLocalSiteTreeCtrl* tree = Tree();
    QTreeWidgetItem* item = SelectedItem();
    if (!item || !tree->IsFolderItem(item))
        return;
    CNameDlg dlg(mode, m_pFrame->Window());
    if (dlg.exec() != QDialog::Accepted)
        return;
    const QString folder = tree->GetItemPath(item);
    const QString name = dlg.GetName();
    // Names that would reach outside the folder, or name no new entry,
    // create nothing; an existing file keeps its content.
    const SiteFileOps::Result result = mode == CNameDlg::NewFolder ? SiteFileOps::CreateNewFolder(folder, name)
                                                                   : SiteFileOps::CreateNewFile(folder, name);
    if (result != SiteFileOps::Result::Done && result != SiteFileOps::Result::Exists)
        return;
    // The folder is read again, open, and the new entry (or the one that
    // has the name) is selected in its sorted place.
    const QString path = FolderListing::Join(folder, name);
    tree->ReadAgain(item);
    tree->RevealPath(path);
    if (result == SiteFileOps::Result::Exists) {
        UserPrompt::ShowMessage(m_pFrame->Window(), ExistsText() + path, QMessageBox::Warning);
        return;
    }
    if (mode == CNameDlg::NewFile && SiteOpenRules::OpensInEditor(path, m_strSiteExtensions))
        if (CQuilletDoc* doc = m_pDocTemplate->OpenDocumentFile(path))
            if (CQuilletView* view = doc->FirstView())
                view->setFocus();
}

QString CSiteCommands::ExistsText()
{
    return QStringLiteral("已经有同名的文件或文件夹:");
}
