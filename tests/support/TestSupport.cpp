#include "TestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace QuilletTest {

void UseTemporaryHome(const QString& dir)
{
    QDir d(dir);
    for (const char* sub : {".config", ".local/share", ".cache", "runtime"})
        d.mkpath(QString::fromLatin1(sub));
    qputenv("HOME", dir.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", d.filePath(".config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", d.filePath(".local/share").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", d.filePath(".cache").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", d.filePath("runtime").toLocal8Bit());
    QFile::setPermissions(d.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool WaitFor(const std::function<bool()>& pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // Outside a running event loop deleteLater() waits for this.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(1);
    }
    return true;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

std::optional<bool> AsUnprivileged(const std::function<bool()>& what)
{
    if (::geteuid() != 0)
        return what();
    constexpr int kCannotDrop = 77;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kUnprivilegedUid) != 0 || ::setuid(kUnprivilegedUid) != 0)
            ::_exit(kCannotDrop);
        ::_exit(what() ? 0 : 1);
    }
    int status = 0;
    if (child <= 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return false;
    if (WEXITSTATUS(status) == kCannotDrop)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

void GiveToUnprivileged(const QString& path)
{
    if (::geteuid() != 0)
        return;
    [[maybe_unused]] const int rc = ::chown(QFile::encodeName(path).constData(), kUnprivilegedUid, kUnprivilegedUid);
}

} // namespace QuilletTest
