#include "SiteFileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "FolderListing.h"

namespace SiteFileOps {

bool IsPlainEntryName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(u'/') && !name.contains(QChar(0));
}

bool EntryExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

namespace {
// The trash lives in the data folder; without that folder there would be no
// trash and the entry would be deleted for good.
bool MoveToTrash(const QString& path)
{
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return QFile::moveToTrash(path);
}
} // namespace

Result CreateNewFile(const QString& folder, const QString& name)
{
    if (!IsPlainEntryName(name))
        return Result::BadName;
    const QString path = FolderListing::Join(folder, name);
    if (EntryExists(path))
        return Result::Exists;
    // Created only when nothing of that name appeared in the meantime.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return EntryExists(path) ? Result::Exists : Result::Failed;
    file.close();
    return Result::Done;
}

Result CreateNewFolder(const QString& folder, const QString& name)
{
    if (!IsPlainEntryName(name))
        return Result::BadName;
    const QString path = FolderListing::Join(folder, name);
    if (EntryExists(path))
        return Result::Exists;
    return QDir(folder).mkdir(name) ? Result::Done : Result::Failed;
}

Result DeleteFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return Result::Failed;
    if (!EntryExists(path))
        return Result::Failed;
    if (MoveToTrash(path))
        return Result::Done;
    return QFile::remove(path) ? Result::Done : Result::Failed;
}

bool IsEmptyFolder(const QString& path)
{
    return QFileInfo(path).isDir() &&
           QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

Result DeleteEmptyFolder(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir() || info.isSymLink())
        return Result::Failed;
    if (!IsEmptyFolder(path))
        return Result::NotEmpty;
    if (MoveToTrash(path))
        return Result::Done;
    return QDir().rmdir(path) ? Result::Done : Result::Failed;
}

} // namespace SiteFileOps
