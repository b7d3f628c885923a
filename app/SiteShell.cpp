#include "SiteShell.h"

#include <QDesktopServices>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QUrl>

#include "core/DesktopRegistration.h"
#include "DesktopExec.h"

namespace SiteShell {

namespace {
class DesktopLauncher : public Launcher
{
public:
    bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
    bool StartDetached(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

Launcher* g_pLauncher = nullptr;

Launcher& CurrentLauncher()
{
    static DesktopLauncher desktop;
    return g_pLauncher ? *g_pLauncher : desktop;
}

QString DesktopEntryText(const QString& desktopId)
{
    QStringList dirs = {CDesktopRegistration::DataHome()};
    dirs << CDesktopRegistration::DataDirs();
    for (const QString& dir : std::as_const(dirs)) {
        QFile file(dir + QLatin1String("/applications/") + desktopId);
        if (file.open(QIODevice::ReadOnly))
            return QString::fromUtf8(file.readAll());
    }
    return QString();
}
} // namespace

void SetLauncher(Launcher* launcher)
{
    g_pLauncher = launcher;
}

QString DefaultCommandFor(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    QStringList types = {type.name()};
    types << type.allAncestors();
    for (const QString& name : std::as_const(types)) {
        const QString id = CDesktopRegistration::DefaultFor(name);
        if (id.isEmpty())
            continue;
        const QString exec = DesktopExec::ExecOf(DesktopEntryText(id));
        if (!exec.isEmpty())
            return exec;
    }
    return QString();
}

bool OpenAddress(const QUrl& url)
{
    return CurrentLauncher().OpenUrl(url);
}

bool ShellOpen(const QString& path)
{
    Launcher& launcher = CurrentLauncher();
    if (launcher.OpenUrl(QUrl::fromLocalFile(path)))
        return true;
    // The command is cut before its first field code and the file is given
    // as one argument of its own, whatever blanks its name holds.
    QStringList arguments = QProcess::splitCommand(DesktopExec::CutAtFieldCode(DefaultCommandFor(path)));
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    arguments << path;
    return launcher.StartDetached(program, arguments);
}

} // namespace SiteShell
