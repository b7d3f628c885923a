#include "LocalPage.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LocalPage {

Result Read(const QString& path, qint64 maxBytes)
{
    Result result;
    // Without O_NONBLOCK opening a FIFO would wait for a writer; the file is
    // looked at through the descriptor, so nothing can be swapped in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return result;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.status = ::fstat(fd, &st) == 0 ? Result::NotAFile : Result::Failed;
        ::close(fd);
        return result;
    }
    QByteArray bytes;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return result;
        }
        if (n == 0)
            break;
        if (bytes.size() + n > maxBytes) {
            ::close(fd);
            result.status = Result::TooLarge;
            return result;
        }
        bytes.append(buffer, n);
    }
    ::close(fd);
    result.status = Result::Read;
    result.bytes = std::move(bytes);
    return result;
}

} // namespace LocalPage
