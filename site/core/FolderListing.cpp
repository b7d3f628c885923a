#include "FolderListing.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace FolderListing {

namespace {
constexpr QDir::Filters kEverything =
    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
} // namespace

Listing ReadFolder(const QString& path, bool showFiles)
{
    Listing listing;
    QStringList folders;
    QDirIterator it(path, kEverything);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir())
            folders << info.fileName();
        else if (showFiles)
            listing.files << info.fileName();
    }
    SortNoCase(folders);
    SortNoCase(listing.files);
    listing.folders.reserve(folders.size());
    for (const QString& name : std::as_const(folders))
        listing.folders.append({name, HasEntries(Join(path, name), showFiles)});
    return listing;
}

bool HasEntries(const QString& path, bool showFiles)
{
    QDirIterator it(path, kEverything);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir())
            return true;
        if (showFiles && !info.isHidden())
            return true;
    }
    return false;
}

void SortNoCase(QStringList& names)
{
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
}

QString WithoutTrailingSeparators(const QString& path)
{
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == u'/')
        --end;
    return path.left(end);
}

QString GetLeafName(const QString& path)
{
    QString p = path;
    if (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    if (p == QLatin1String("/"))
        return p;
    const qsizetype slash = p.lastIndexOf(u'/');
    return slash < 0 ? p : p.mid(slash + 1);
}

QString Join(const QString& folder, const QString& name)
{
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace FolderListing
