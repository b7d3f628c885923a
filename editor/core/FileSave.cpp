#include "FileSave.h"

#include "RecoveryFiles.h"
#include "SaveJournal.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <limits>
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

bool WriteAll(int fd, const char* p, qsizetype left, qsizetype* done = nullptr)
{
    const char* const begin = p;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        p += n;
        left -= n;
    }
    if (done)
        *done = p - begin;
    return left == 0;
}

bool WriteAll(int fd, const QByteArray& bytes, qsizetype* done = nullptr)
{
    return WriteAll(fd, bytes.constData(), bytes.size(), done);
}

// The whole content of fd, read from its start.
bool ReadAll(int fd, QByteArray& out)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    out.resize(static_cast<qsizetype>(st.st_size));
    qsizetype got = 0;
    for (;;) {
        if (got == out.size())
            out.resize(got + 65536);   // grown since the fstat
        const ssize_t n = ::pread(fd, out.data() + got, static_cast<size_t>(out.size() - got), got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    out.truncate(got);
    return true;
}

// The same inode keeps its content's place, so every hard link sees the new
// text. The blocks the new content needs are reserved first: a full disk ends
// the save before any old byte is overwritten. touched: how many bytes from
// the start may no longer be what they were.
bool WriteInPlace(int fd, const QByteArray& bytes, qsizetype* touched)
{
    *touched = 0;
    if (!bytes.isEmpty()) {
        const int rc = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        // A file system that cannot reserve room is written without it.
        if (rc != 0 && rc != EOPNOTSUPP && rc != EINVAL)
            return false;
    }
    if (::lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, bytes, touched))
        return false;
    // Cut to the new length, the old bytes after it are gone too.
    *touched = std::numeric_limits<qsizetype>::max();
    return ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// Puts old back over a file whose write in place failed: the bytes that were
// overwritten and the old length. Only the overwritten part is written, so a
// failure that set in at some offset does not stop the old bytes before it.
bool PutBack(int fd, const QByteArray& old, qsizetype touched)
{
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, old.constData(), qMin(touched, old.size())) &&
           ::ftruncate(fd, static_cast<off_t>(old.size())) == 0 && ::fsync(fd) == 0;
}

bool WriteInPlaceKeepingACopy(const QString& path, const QByteArray& bytes);

QString g_backupFolder;
QString g_backupOwner;
int g_nextRecord = 1;
thread_local bool t_backupFailed = false;
// Leftovers of saves killed before this run began are older than this.
const qint64 g_started = QDateTime::currentMSecsSinceEpoch();

// A new record of a save in the backup folder; empty when there is no folder.
QString NextRecord()
{
    if (g_backupFolder.isEmpty() || !QDir().mkpath(g_backupFolder))
        return QString();
    if (g_backupOwner.isEmpty())
        g_backupOwner = QStringLiteral("%1-%2").arg(::getpid()).arg(g_started);
    return QDir(g_backupFolder).filePath(QStringLiteral("%1-%2%3").arg(g_backupOwner).arg(g_nextRecord++).arg(SaveJournal::kSuffix));
}

// Writes a new file beside target and renames it over target; old, when
// given, is the file being replaced, whose mode, owner and group the new file
// takes. The new file has a name of its own (SaveJournal::TemporaryBase), so
// that what a killed save left is told from the user's files and removed: at
// the next save of target here, and at the next start from the save's record.
// When the old owner and group cannot be given to the new file, target is
// written in place instead, so that it never changes hands.
bool WriteReplacing(const QString& target, const QByteArray& bytes, const struct stat* old)
{
    SaveJournal::RemoveTemporaries(target, g_started);
    const QString record = NextRecord();
    if (!record.isEmpty() && !SaveJournal::WriteReplacing(record, target))
        QFile::remove(record);   // a save with no record only misses the tidying at the next start
    QString temp;
    const int fd = RecoveryFiles::CreateBeside(SaveJournal::TemporaryBase(target), &temp, 0666);
    bool ok = fd >= 0 && WriteAll(fd, bytes);
    if (ok && old) {
        struct stat now {};
        ok = ::fstat(fd, &now) == 0;
        // Owner and group first: changing them may clear the set-id bits,
        // which the mode then puts back. Only the superuser may give a file
        // away, and only to a group of one's own: a file that would change
        // hands keeps them by being written in place.
        if (ok && (now.st_uid != old->st_uid || now.st_gid != old->st_gid) &&
            ::fchown(fd, old->st_uid, old->st_gid) != 0) {
            ::close(fd);
            ::unlink(QFile::encodeName(temp).constData());
            if (!record.isEmpty())
                QFile::remove(record);
            return WriteInPlaceKeepingACopy(target, bytes);
        }
        ok = ok && ::fchmod(fd, old->st_mode & 07777) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) == 0;
    if (!ok && fd >= 0)
        ::unlink(QFile::encodeName(temp).constData());
    if (!record.isEmpty())
        QFile::remove(record);
    return ok;
}

// The record of an in-place save (its old content and what the new one will
// be) in the backup folder, on disk before anything overwrites the file;
// empty when none is made (no folder set) or it could not be made.
QString BackUp(const QString& path, const QByteArray& old, const QByteArray& next)
{
    const QString record = NextRecord();
    if (record.isEmpty() || !SaveJournal::WriteInPlace(record, path, old, next))
        return QString();
    return record;
}

// A write in place that fails puts the old content back; its copy in the
// backup folder is removed once the file holds a whole version again, and
// kept (for the user to find there) when even that fails.
bool WriteInPlaceKeepingACopy(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    QByteArray old;
    if (!ReadAll(fd, old)) {
        ::close(fd);
        return false;
    }
    const QString copy = BackUp(path, old, bytes);
    if (!g_backupFolder.isEmpty() && copy.isEmpty()) {
        ::close(fd);
        t_backupFailed = true;
        return false;   // no copy, no overwriting in place
    }
    qsizetype touched = 0;
    bool written = WriteInPlace(fd, bytes, &touched);
    const bool whole = written || PutBack(fd, old, touched);
    written = ::close(fd) == 0 && written;
    if (whole && !copy.isEmpty())
        QFile::remove(copy);
    return written;
}
// A new file beside the old one would split hard links, could not be made in
// a folder this user may not write, and would belong to this user unless the
// superuser writes it: such files are written in place.
bool InPlace(const QString& target, const struct stat& st)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const bool folderWritable = ::access(folder.constData(), W_OK | X_OK) == 0;
    const bool ownerKept = ::geteuid() == 0 || st.st_uid == ::geteuid();
    return st.st_nlink > 1 || !folderWritable || !ownerKept;
}
} // namespace

bool WritesInPlace(const QString& path)
{
    struct stat st {};
    const QString target = QFileInfo(path).canonicalFilePath();
    return !target.isEmpty() && ::stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
           InPlace(target, st);
}

void SetBackupFolder(const QString& folder, const QString& owner)
{
    g_backupFolder = folder;
    g_backupOwner = owner;
}

bool BackupFailed()
{
    return t_backupFailed;
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
    t_backupFailed = false;
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        // A new file, or a link to one that does not exist yet (written
        // where the link leads).
        if (errno != ENOENT)
            return false;
        const QFileInfo link(path);
        return WriteReplacing(link.isSymLink() ? link.symLinkTarget() : path, bytes, nullptr);
    }
    if (!MayWrite(native, st))
        return false;
    // Through symbolic links to the file itself; the links stay as they are.
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return false;
    if (InPlace(target, st))
        return WriteInPlaceKeepingACopy(target, bytes);
    return WriteReplacing(target, bytes, &st);
}

} // namespace FileSave
