// The open site as the command modules see it: the LocalSite page and its folder.
#pragma once

#include <QString>

class CWSLocalSiteView;
class IFrameAccess;

namespace SiteAccess {

// Null until the workspace bar has built its pages.
CWSLocalSiteView* Page(IFrameAccess* frame);
// The site folder shown on the LocalSite page; empty when no site is open.
QString Folder(IFrameAccess* frame);

} // namespace SiteAccess
