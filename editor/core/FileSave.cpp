#include "FileSave.h"

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

} // namespace

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
    if (st.st_nlink > 1)
        return WriteInPlace(native, bytes);
    // Through symbolic links to the file itself, which is replaced; the links
    // stay as they are.
    const QString target = QFileInfo(path).canonicalFilePath();
    return !target.isEmpty() && WriteReplacing(target, bytes, &st);
}

} // namespace FileSave
