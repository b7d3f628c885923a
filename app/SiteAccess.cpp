#include "SiteAccess.h"

#include "FrameAccess.h"
#include "LocalSiteTreeCtrl.h"
#include "WSLocalSiteView.h"
#include "WorkspaceBar.h"
#include "WorkspaceSetup.h"

namespace SiteAccess {

CWSLocalSiteView* Page(IFrameAccess* frame)
{
    CWorkspaceBar* bar = frame->WorkspaceBar();
    return bar ? qobject_cast<CWSLocalSiteView*>(bar->GetView(WorkspacePage::LocalSite)) : nullptr;
}

QString Folder(IFrameAccess* frame)
{
    CWSLocalSiteView* page = Page(frame);
    CLocalSiteTreeCtrl* tree = page ? page->GetTreeCtrl() : nullptr;
    QTreeWidgetItem* root = tree && tree->topLevelItemCount() == 1 ? tree->topLevelItem(0) : nullptr;
    return root ? tree->GetItemPath(root) : QString();
}

} // namespace SiteAccess
