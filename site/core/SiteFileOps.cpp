#include "SiteFileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include <sys/stat.h>
#include <unistd.h>

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
QString DataFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir().mkpath(folder);
    return folder;
}

bool MoveToTrash(const QString& path)
{
    DataFolder();
    return QFile::moveToTrash(path);
}

bool StatOf(const QString& path, struct stat& st)
{
    return ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

// folder as a trash folder: there already, or made now (the desktop's trash
// rules ask for it to be made without a word), with its "files" and "info".
bool MakeTrashFolder(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists() && !QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    dir.mkdir(QStringLiteral("files"));
    dir.mkdir(QStringLiteral("info"));
    return QFileInfo(dir.filePath(QStringLiteral("files"))).isDir() &&
           QFileInfo(dir.filePath(QStringLiteral("info"))).isDir();
}

// The trash the desktop's rules pick for path: on another file system than
// the home folder, the file system's own ($topdir/.Trash/$uid under a sticky
// .Trash that is no link, else $topdir/.Trash-$uid); failing that, or on the
// home folder's file system, the user's own in the data folder. Empty when
// none can be had.
QString TrashFolderFor(const QString& path)
{
    const QStorageInfo storage(path);
    if (storage.isValid() && storage != QStorageInfo(QDir::home())) {
        const QString top = storage.rootPath() == u"/" ? QString() : storage.rootPath();
        const QString uid = QString::number(::getuid());
        const QString shared = top + QStringLiteral("/.Trash");
        struct stat st {};
        if (::lstat(QFile::encodeName(shared).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
            (st.st_mode & S_ISVTX) && MakeTrashFolder(shared + u'/' + uid))
            return shared + u'/' + uid;
        if (MakeTrashFolder(shared + u'-' + uid))
            return shared + u'-' + uid;
    }
    const QString own = DataFolder() + QStringLiteral("/Trash");
    return MakeTrashFolder(own) ? own : QString();
}
} // namespace

bool HasTrash(const QString& path)
{
    // Moving to the trash is a rename: it works only within one file system.
    const QString trash = TrashFolderFor(QFileInfo(path).absoluteFilePath());
    struct stat entryFolder {};
    struct stat trashFolder {};
    return !trash.isEmpty() && StatOf(QFileInfo(path).absolutePath(), entryFolder) &&
           StatOf(trash + QStringLiteral("/files"), trashFolder) && entryFolder.st_dev == trashFolder.st_dev;
}

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
