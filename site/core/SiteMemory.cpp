#include "SiteMemory.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include "FolderListing.h"

namespace SiteMemory {

QString LastSite(const QSettings& settings)
{
    const QString folder = settings.value(QLatin1String(kLastSiteKey)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void Remember(QSettings& settings, const QString& folder)
{
    settings.setValue(QLatin1String(kLastSiteKey), folder);
    settings.sync();
}

QString StartFolder(const QSettings& settings)
{
    const QString last = LastSite(settings);
    return last.isEmpty() ? QDir::homePath() : last;
}

QString FromTyped(const QString& text)
{
    QString path = text.trimmed();
    if (path.size() >= 2 && (path.front() == u'"' || path.front() == u'\'') && path.back() == path.front())
        path = path.mid(1, path.size() - 2).trimmed();
    if (path.isEmpty())
        return QString();
    if (path.startsWith(QLatin1String("file:")))
        path = QUrl(path).toLocalFile();
    if (path == QLatin1String("~"))
        path = QDir::homePath();
    else if (path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    if (!QDir::isAbsolutePath(path))
        path = QDir::homePath() + u'/' + path;
    return FolderListing::WithoutTrailingSeparators(QDir::cleanPath(path));
}

} // namespace SiteMemory
