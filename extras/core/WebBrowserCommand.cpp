#include "WebBrowserCommand.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "DesktopExec.h"
#include "LinkOpening.h"
#include "core/DesktopRegistration.h"

namespace WebBrowserCommand {

namespace {

QString ReadText(const QString& path)
{
    QFile file(path);
    // A desktop entry or mimeapps.list is small; anything larger is not one.
    if (file.size() > 1 << 20 || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

QString RegisteredCommand(const QString& mimeType)
{
    QString id;
    for (const QString& file : CDesktopRegistration::MimeAppsFiles()) {
        id = MimeAppsList::DefaultFor(ReadText(file), mimeType);
        if (!id.isEmpty())
            break;
    }
    if (id.isEmpty() || id.contains(u'/'))
        return {};
    QStringList dirs{CDesktopRegistration::DataHome()};
    dirs << CDesktopRegistration::DataDirs();
    for (const QString& dir : dirs) {
        // "vendor-name.desktop" may also sit at applications/vendor/name.desktop.
        const QString base = dir + QLatin1String("/applications/");
        for (const QString& path : {base + id, base + QString(id).replace(u'-', u'/')}) {
            if (QFileInfo::exists(path))
                return DesktopExec::ExecOf(ReadText(path));
        }
    }
    return {};
}

int Start(const QString& program, const QStringList& arguments)
{
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return LinkOpening::kFileNotFound;
    if (!info.isFile() || !info.isExecutable())
        return LinkOpening::kAccessDenied;
    return QProcess::startDetached(path, arguments) ? LinkOpening::kOpened
                                                    : LinkOpening::kOutOfResources;
}

} // namespace WebBrowserCommand
