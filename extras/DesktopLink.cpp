#include "DesktopLink.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/WebBrowserCommand.h"

namespace DesktopLink {

namespace {

const LinkOpening::Launcher* g_pLauncher = nullptr;

LinkOpening::Launcher MakeDesktopLauncher()
{
    LinkOpening::Launcher launcher;
    launcher.openUrl = [](const QString& address) {
        const QUrl url = QUrl::fromUserInput(address);
        return url.isValid() && QDesktopServices::openUrl(url);
    };
    launcher.webPageCommand = [] { return WebBrowserCommand::RegisteredCommand(); };
    launcher.start = &WebBrowserCommand::Start;
    return launcher;
}

} // namespace

const LinkOpening::Launcher& Current()
{
    static const LinkOpening::Launcher desktop = MakeDesktopLauncher();
    return g_pLauncher ? *g_pLauncher : desktop;
}

void SetLauncher(const LinkOpening::Launcher* launcher)
{
    g_pLauncher = launcher;
}

int Open(const QString& address)
{
    return LinkOpening::Open(address, Current());
}

} // namespace DesktopLink
