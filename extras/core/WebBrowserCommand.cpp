#include "WebBrowserCommand.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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

QString Unescape(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar c = value[++i];
        out += c == u's' ? QChar(u' ') : c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t')
             : c == u'r' ? QChar(u'\r') : c;
    }
    return out;
}

} // namespace

QString ExecOf(const QString& desktopEntryText)
{
    bool inEntry = false;
    for (const QString& raw : desktopEntryText.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (inEntry && line.startsWith(QLatin1String("Exec"))) {
            const QString rest = line.mid(4).trimmed();
            if (rest.startsWith(u'='))
                return Unescape(rest.mid(1).trimmed());
        }
    }
    return {};
}

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
                return ExecOf(ReadText(path));
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
