#include "SaveJournal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FileSave.h"
#include "RecoveryFiles.h"

namespace SaveJournal {

namespace {
const QByteArray kMagic = "QUILLET-SAVE 1\n";
constexpr int kMaxOffers = 2;

QByteArray HeaderOf(const Record& r)
{
    QList<QPair<QByteArray, QByteArray>> fields = {{"path", QUrl::toPercentEncoding(r.strPath)},
                                                   {"kind", r.bInPlace ? "in-place" : "replacing"},
                                                   {"offers", QByteArray::number(r.nOffers)}};
    if (r.bInPlace)
        fields += {{"old-size", QByteArray::number(r.nOldSize)},
                   {"new-size", QByteArray::number(r.nNewSize)},
                   {"new-sha1", r.newHash.toHex()}};
    return RecoveryFiles::EncodeHeader(kMagic, fields);
}

// Whether fd's content from its start hashes to hash.
bool HashesTo(int fd, qint64 size, const QByteArray& hash)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    return RecoveryFiles::ReadBody(fd, 0, size,
                                   [&](const char* p, qint64 n) { h.addData(QByteArrayView(p, n)); return true; }) &&
           h.result() == hash;
}

// Whether fd's content from its start equals the record's body.
bool EqualsOld(int fd, const Record& r)
{
    const int body = RecoveryFiles::OpenRegular(r.strFile);
    if (body < 0)
        return false;
    qint64 at = 0;
    QByteArray mine;
    const bool same = RecoveryFiles::ReadBody(body, r.nOldOffset, r.nOldSize, [&](const char* p, qint64 n) {
        mine.resize(static_cast<qsizetype>(n));
        qint64 got = 0;
        while (got < n) {
            const ssize_t k = ::pread(fd, mine.data() + got, static_cast<size_t>(n - got), at + got);
            if (k <= 0)
                return false;
            got += k;
        }
        at += n;
        return memcmp(mine.constData(), p, static_cast<size_t>(n)) == 0;
    });
    ::close(body);
    return same;
}
} // namespace

bool WriteInPlace(const QString& file, const QString& path, const QByteArray& old, const QByteArray& next)
{
    Record r;
    r.strPath = path;
    r.bInPlace = true;
    r.nOldSize = old.size();
    r.nNewSize = next.size();
    r.newHash = QCryptographicHash::hash(next, QCryptographicHash::Sha1);
    return RecoveryFiles::WriteWhole(file, {HeaderOf(r), old});
}

bool WriteReplacing(const QString& file, const QString& path)
{
    // Not flushed: it only matters after a kill, when the system still has
    // it; a record cut short is removed like a whole one.
    Record r;
    r.strPath = path;
    const QByteArray head = HeaderOf(r);
    const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          0600);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, head.constData(), static_cast<size_t>(head.size())) == head.size();
    return ::close(fd) == 0 && written;
}

std::optional<Record> Read(const QString& file)
{
    const int fd = RecoveryFiles::OpenRegular(file);
    if (fd < 0)
        return std::nullopt;
    const std::optional<RecoveryFiles::Header> h = RecoveryFiles::ReadHeader(fd, kMagic);
    ::close(fd);
    if (!h)
        return std::nullopt;
    Record r;
    r.strFile = file;
    r.strPath = QUrl::fromPercentEncoding(h->Value("path"));
    r.bInPlace = h->Value("kind") == "in-place";
    r.nOffers = h->Value("offers").toInt();
    r.nOldOffset = h->bodyOffset;
    r.nOldSize = h->Value("old-size").toLongLong();
    r.nNewSize = h->Value("new-size").toLongLong();
    r.newHash = QByteArray::fromHex(h->Value("new-sha1"));
    if (r.strPath.isEmpty() || (r.bInPlace && (r.nOldSize != h->bodySize || r.newHash.isEmpty())))
        return std::nullopt;
    return r;
}

State StateOf(const Record& r)
{
    const int fd = ::open(QFile::encodeName(r.strPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return State::Neither;
    struct stat st {};
    State state = State::Neither;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        if (st.st_size == r.nOldSize && EqualsOld(fd, r))
            state = State::Old;
        else if (st.st_size == r.nNewSize && HashesTo(fd, st.st_size, r.newHash))
            state = State::New;
    }
    ::close(fd);
    return state;
}

bool PutBackOld(const Record& r)
{
    const int fd = RecoveryFiles::OpenRegular(r.strFile);
    if (fd < 0)
        return false;
    QByteArray old;
    old.reserve(static_cast<qsizetype>(r.nOldSize));
    const bool read = RecoveryFiles::ReadBody(fd, r.nOldOffset, r.nOldSize, [&](const char* p, qint64 n) {
        old.append(p, static_cast<qsizetype>(n));
        return true;
    });
    ::close(fd);
    return read && old.size() == r.nOldSize && FileSave::Write(r.strPath, old);
}

void Decline(const Record& r)
{
    Record next = r;
    if (++next.nOffers >= kMaxOffers)
        QFile::remove(r.strFile);
    else
        RecoveryFiles::RewriteHeader(r.strFile, HeaderOf(next), r.nOldOffset, r.bInPlace ? r.nOldSize : 0);
}

QString TemporaryBase(const QString& path)
{
    const QFileInfo info(path);
    return QDir(info.absolutePath()).filePath(QStringLiteral(".%1.quillet-save").arg(info.fileName()));
}

void RemoveTemporaries(const QString& path, qint64 beforeMsecs)
{
    const QFileInfo base(TemporaryBase(path));
    const QDir dir = base.dir();
    const QString stem = base.fileName();
    for (const QString& name : dir.entryList({stem + QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (!RecoveryFiles::IsTemporaryOf(name, stem))
            continue;
        const QByteArray native = QFile::encodeName(dir.filePath(name));
        struct stat st {};
        if (::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000 < beforeMsecs)
            ::unlink(native.constData());
    }
}

} // namespace SaveJournal
