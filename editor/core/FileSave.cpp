#include "FileSave.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileSave {

namespace {

// Refuses a file that nobody may write, whoever asks: access() alone lets the
// superuser write anything.
bool MayWrite(const QByteArray& native, const struct stat& st)
{
    return S_ISREG(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::access(native.constData(), W_OK) == 0;
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// The same inode keeps its content's place, so every hard link sees the new
// text. The blocks the new content needs are reserved first: a full disk ends
// the save before any old byte is overwritten.
bool WriteInPlace(const QByteArray& native, const QByteArray& bytes)
{
    const int fd = ::open(native.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = true;
    if (!bytes.isEmpty()) {
        const int rc = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        // A file system that cannot reserve room is written without it.
        ok = rc == 0 || rc == EOPNOTSUPP || rc == EINVAL;
    }
    ok = ok && ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
         ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

// Writes a new file beside target and renames it over target; old, when
// given, is the file being replaced, whose mode, owner and group the new file
// takes.
bool WriteReplacing(const QString& target, const QByteArray& bytes, const struct stat* old)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (old) {
        const int fd = file.handle();
        struct stat now {};
        if (fd < 0 || ::fstat(fd, &now) != 0) {
            file.cancelWriting();
            return false;
        }
        // Owner and group first: changing them may clear the set-id bits,
        // which the mode then puts back. Only the superuser may give a file
        // away and only to a group of one's own, so a refusal is accepted.
        if (now.st_uid != old->st_uid || now.st_gid != old->st_gid) {
            const bool kept = ::fchown(fd, old->st_uid, old->st_gid) == 0 ||
                              ::fchown(fd, static_cast<uid_t>(-1), old->st_gid) == 0;
            Q_UNUSED(kept);   // the file is still saved, as this user's
        }
        if (::fchmod(fd, old->st_mode & 07777) != 0) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

QString g_backupFolder;

// A copy of the file's present content in the backup folder; empty when none
// is made (no folder set) or it could not be made.
QString BackUp(const QString& path)
{
    if (g_backupFolder.isEmpty() || !QDir().mkpath(g_backupFolder))
        return QString();
    const QString copy = QDir(g_backupFolder)
                             .filePath(QStringLiteral("%1.%2.%3.bak")
                                           .arg(QFileInfo(path).fileName())
                                           .arg(::getpid())
                                           .arg(QDateTime::currentMSecsSinceEpoch()));
    return QFile::copy(path, copy) ? copy : QString();
}

bool WriteInPlaceKeepingACopy(const QString& path, const QByteArray& native, const QByteArray& bytes)
{
    const QString copy = BackUp(path);
    if (!g_backupFolder.isEmpty() && copy.isEmpty())
        return false;   // no copy, no overwriting in place
    const bool written = WriteInPlace(native, bytes);
    // The copy stays when the write failed: it is the old content.
    if (written && !copy.isEmpty())
        QFile::remove(copy);
    return written;
}

} // namespace

void SetBackupFolder(const QString& folder)
{
    g_backupFolder = folder;
}

bool IsWritable(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return errno == ENOENT;
    return MayWrite(native, st);
}

bool Write(const QString& path, const QByteArray& bytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        // A new file, or a link to one that does not exist yet.
        return errno == ENOENT && WriteReplacing(path, bytes, nullptr);
    }
    if (!MayWrite(native, st))
        return false;
    // Through symbolic links to the file itself; the links stay as they are.
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return false;
    // A new file beside the old one would split hard links, could not be made
    // in a folder this user may not write, and would belong to this user
    // unless the superuser writes it: such files are written in place.
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const bool folderWritable = ::access(folder.constData(), W_OK | X_OK) == 0;
    const bool ownerKept = ::geteuid() == 0 || st.st_uid == ::geteuid();
    if (st.st_nlink > 1 || !folderWritable || !ownerKept)
        return WriteInPlaceKeepingACopy(target, QFile::encodeName(target), bytes);
    return WriteReplacing(target, bytes, &st);
}

} // namespace FileSave
