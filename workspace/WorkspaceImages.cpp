#include "WorkspaceImages.h"

#include <QPixmap>

// The images are compiled into this static library; registering them here makes the
// linker keep them whenever the images are asked for.
static void InitWorkspaceResources()
{
    Q_INIT_RESOURCE(workspace);
}

namespace WorkspaceImages {

namespace {

QList<QIcon> Load(std::initializer_list<const char*> names)
{
    InitWorkspaceResources();
    QList<QIcon> icons;
    for (const char* name : names)
        icons.append(QIcon(QPixmap(QStringLiteral(":/workspace/%1.png").arg(QLatin1String(name)))));
    return icons;
}

} // namespace

QList<QIcon> TabImages()
{
    return Load({"tab-php", "tab-css", "tab-html", "tab-javascript", "tab-codeblock", "tab-localsite"});
}

QList<QIcon> CaptionButtonImages()
{
    return Load({"caption-hide", "caption-menu-down", "caption-menu-right"});
}

} // namespace WorkspaceImages
