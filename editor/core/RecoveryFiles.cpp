#include "RecoveryFiles.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RecoveryFiles {

namespace {
bool AllDigits(QStringView text)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool WriteAll(int fd, const char* p, qint64 left)
{
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

int CreateBeside(const QString& path, QString* made, int mode)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = path + u'.';
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
        const int fd = ::open(QFile::encodeName(name).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            *made = name;
            return fd;
        }
    }
    return -1;
}

namespace {
// Writes through write to a new file beside path and renames it over path.
bool Replace(const QString& path, const std::function<bool(int fd)>& write)
{
    QString temp;
    const int fd = CreateBeside(path, &temp);
    if (fd < 0)
        return false;
    const bool written = write(fd) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    ::unlink(QFile::encodeName(temp).constData());
    return false;
}
} // namespace

bool IsSession(QStringView text)
{
    const qsizetype dash = text.indexOf(u'-');
    return dash > 0 && AllDigits(text.left(dash)) && AllDigits(text.mid(dash + 1));
}

std::optional<Name> Parse(QStringView fileName, QStringView suffix)
{
    if (!fileName.endsWith(suffix))
        return std::nullopt;
    const QStringView stem = fileName.chopped(suffix.size());
    const qsizetype dash = stem.lastIndexOf(u'-');
    if (dash <= 0 || !IsSession(stem.left(dash)) || !AllDigits(stem.mid(dash + 1)))
        return std::nullopt;
    return Name{stem.left(dash).toString(), stem.mid(dash + 1).toLongLong()};
}

bool IsTemporaryOf(QStringView name, QStringView file)
{
    if (name.size() != file.size() + 7 || !name.startsWith(file) || name.at(file.size()) != u'.')
        return false;
    for (QChar c : name.mid(file.size() + 1))
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) || c.unicode() > 127)
            return false;
    return true;
}

QStringList RegularFiles(const QString& folder)
{
    QStringList out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        struct stat st {};
        if (::lstat(QFile::encodeName(dir.filePath(name)).constData(), &st) == 0 && S_ISREG(st.st_mode))
            out << name;
    }
    return out;
}

int OpenRegular(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

QByteArray Header::Value(const QByteArray& key) const
{
    for (const auto& [k, v] : fields)
        if (k == key)
            return v;
    return QByteArray();
}

std::optional<Header> ReadHeader(int fd, const QByteArray& magic)
{
    // A header is a few lines; one far longer is no header of ours.
    constexpr qint64 kMaxHeader = 64 * 1024;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    QByteArray head(static_cast<qsizetype>(std::min<qint64>(st.st_size, kMaxHeader)), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < head.size()) {
        const ssize_t n = ::pread(fd, head.data() + got, static_cast<size_t>(head.size() - got), got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    head.truncate(got);
    if (!head.startsWith(magic))
        return std::nullopt;
    const qsizetype end = head.indexOf("\n\n", magic.size() - 1);
    if (end < 0)
        return std::nullopt;
    Header h;
    for (const QByteArray& line : head.mid(magic.size(), end - magic.size()).split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        if (colon >= 0)
            h.fields.append({line.left(colon), line.mid(colon + 2)});
    }
    h.bodyOffset = end + 2;
    h.bodySize = st.st_size - h.bodyOffset;
    return h;
}

QByteArray EncodeHeader(const QByteArray& magic, const QList<QPair<QByteArray, QByteArray>>& fields)
{
    QByteArray head = magic;
    for (const auto& [k, v] : fields)
        head += k + ": " + v + '\n';
    return head + '\n';
}

bool ReadBody(int fd, qint64 offset, qint64 size, const std::function<bool(const char*, qint64)>& sink)
{
    constexpr qint64 kPiece = qint64{4} << 20;
    QByteArray piece(static_cast<qsizetype>(std::min(kPiece, std::max<qint64>(size, 1))), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, piece.data(), static_cast<size_t>(std::min<qint64>(piece.size(), size - done)),
                                  offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || !sink(piece.constData(), n))
            return false;
        done += n;
    }
    return true;
}

bool RewriteHeader(const QString& file, const QByteArray& header, qint64 offset, qint64 size)
{
    const int in = OpenRegular(file);
    if (in < 0)
        return false;
    const bool ok = Replace(file, [&](int out) {
        return WriteAll(out, header.constData(), header.size()) &&
               ReadBody(in, offset, size, [out](const char* p, qint64 n) { return WriteAll(out, p, n); });
    });
    ::close(in);
    return ok;
}

bool WriteWhole(const QString& path, const QList<QByteArray>& parts)
{
    return Replace(path, [&](int fd) {
        for (const QByteArray& part : parts)
            if (!WriteAll(fd, part.constData(), part.size()))
                return false;
        return true;
    });
}

} // namespace RecoveryFiles
