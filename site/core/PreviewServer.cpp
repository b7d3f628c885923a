#include "PreviewServer.h"

#include "ProcessGroup.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kReadyPollMs = 50;
constexpr qint64 kSilentStartMs = 1500;
constexpr qsizetype kTailBytes = 4096;

// A TCP socket of 127.0.0.1:port; -1 on failure.
int LoopbackSocket(sockaddr_in& address, int port)
{
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

// A socket bound to port (0: any free one) as the server would bind it;
// the port bound, or 0.
int BindPort(int port)
{
    sockaddr_in address;
    const int fd = LoopbackSocket(address, port);
    if (fd < 0)
        return 0;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    int bound = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        bound = ntohs(address.sin_port);
    ::close(fd);
    return bound;
}

// Whether something accepts connections on port; on the loopback the answer
// is immediate.
bool Answers(int port)
{
    sockaddr_in address;
    const int fd = LoopbackSocket(address, port);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

QString LastLine(const QByteArray& bytes)
{
    const QList<QByteArray> lines = bytes.trimmed().split('\n');
    return QString::fromUtf8(lines.isEmpty() ? QByteArray() : lines.constLast().trimmed());
}
} // namespace

CPreviewServer::CPreviewServer(QObject* parent) : QObject(parent), m_pReadyCheck(new QTimer(this))
{
    m_pReadyCheck->setInterval(kReadyPollMs);
    connect(m_pReadyCheck, &QTimer::timeout, this, &CPreviewServer::CheckReady);
}

CPreviewServer::~CPreviewServer()
{
    Kill();
}

QString CPreviewServer::RootFor(const QString& file, const QString& site)
{
    const QString siteDir = site.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(site).absoluteFilePath());
    if (file.isEmpty())
        return siteDir;
    const QString path = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    if (!siteDir.isEmpty() && path.startsWith(siteDir == QLatin1String("/") ? siteDir : siteDir + u'/'))
        return siteDir;
    return QFileInfo(path).absolutePath();
}

bool CPreviewServer::IsPortFree(int port)
{
    return port > 0 && BindPort(port) == port;
}

int CPreviewServer::FreePort()
{
    return BindPort(0);
}

qint64 CPreviewServer::ProcessId() const
{
    return m_pProcess ? m_pProcess->processId() : 0;
}

QUrl CPreviewServer::AddressOf(const QString& file) const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(m_nPort);
    const QString relative = file.isEmpty() ? QString() : QDir(m_strRoot).relativeFilePath(file);
    url.setPath(u'/' + (relative.startsWith(QLatin1String("..")) ? QString() : relative), QUrl::DecodedMode);
    return url;
}

bool CPreviewServer::Start(const QString& php, const QString& root, int port)
{
    if (m_pProcess && m_strRoot == root)
        return true;
    Stop();
    if (php.isEmpty()) {
        emit failed(QStringLiteral("找不到 PHP 解释器，无法启动预览服务器。请安装 PHP，"
                                   "或在设置文件的 [Settings] 中用 PhpPath 写明它的位置。"));
        return false;
    }
    if (!QFileInfo(root).isDir()) {
        emit failed(QStringLiteral("文件夹 %1 不存在，无法启动预览服务器。").arg(QDir::toNativeSeparators(root)));
        return false;
    }
    if (port > 0 && !IsPortFree(port)) {
        emit failed(QStringLiteral("端口 %1 已被占用，无法启动预览服务器。").arg(port));
        return false;
    }
    m_nPort = port > 0 ? port : FreePort();
    if (m_nPort == 0) {
        emit failed(QStringLiteral("找不到空闲的端口，无法启动预览服务器。"));
        return false;
    }
    m_strRoot = root;
    m_bReady = false;
    m_tail.clear();
    m_pProcess = new QProcess(this);
    m_pProcess->setProcessChannelMode(QProcess::MergedChannels);
    m_pProcess->setWorkingDirectory(root);
    // One process that serves every request: nothing forked that could
    // outlive it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("PHP_CLI_SERVER_WORKERS"));
    m_pProcess->setProcessEnvironment(environment);
    // In the child, before php runs: a process group of its own (stopped as
    // a whole), and killed when this process ends, even by a crash or
    // SIGKILL. A parent gone before the signal was armed ends it at once.
    const pid_t parent = ::getpid();
    m_pProcess->setChildProcessModifier([parent] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
    });
    connect(m_pProcess, &QProcess::readyRead, this, [this] {
        const QByteArray bytes = m_pProcess->readAll();
        m_tail = (m_tail + bytes).right(kTailBytes);
        emit output(bytes);
    });
    connect(m_pProcess, &QProcess::finished, this, &CPreviewServer::OnFinished);
    connect(m_pProcess, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Fail(QStringLiteral("无法启动 PHP 解释器：%1").arg(m_pProcess->errorString()));
    });
    m_pProcess->start(php, {QStringLiteral("-S"), QStringLiteral("127.0.0.1:%1").arg(m_nPort), QStringLiteral("-t"),
                            root});
    m_started.start();
    m_pReadyCheck->start();
    return true;
}

void CPreviewServer::CheckReady()
{
    if (!m_pProcess || m_bReady)
        return;
    // php says when it listens; without that line (another version's
    // wording, or flooded out) the port is tried after a while, which php
    // then logs as a connection without a request.
    const bool said = m_tail.contains("Development Server (") && m_tail.contains(") started");
    const bool tryPort = m_started.elapsed() > kSilentStartMs;
    if (m_pProcess->state() == QProcess::Running && (said || (tryPort && Answers(m_nPort)))) {
        m_bReady = true;
        m_pReadyCheck->stop();
        emit ready();
    } else if (m_started.elapsed() > kStartTimeoutMs) {
        Fail(QStringLiteral("预览服务器在 %1 秒内没有应答，已停止。").arg(kStartTimeoutMs / 1000));
    }
}

void CPreviewServer::OnFinished(int exitCode)
{
    if (!m_pProcess)
        return;
    m_tail = (m_tail + m_pProcess->readAll()).right(kTailBytes);
    const QString last = LastLine(m_tail);
    if (m_tail.contains("Address already in use"))
        Fail(QStringLiteral("端口 %1 已被占用，无法启动预览服务器。").arg(m_nPort));
    else
        Fail(QStringLiteral("预览服务器已退出（退出码 %1）。%2").arg(exitCode).arg(last));
}

void CPreviewServer::Fail(const QString& message)
{
    Kill();
    emit failed(message);
    emit stopped();
}

void CPreviewServer::Stop()
{
    if (!m_pProcess)
        return;
    Kill();
    emit stopped();
}

void CPreviewServer::Kill()
{
    m_pReadyCheck->stop();
    m_bReady = false;
    if (!m_pProcess)
        return;
    QProcess* process = m_pProcess;
    m_pProcess = nullptr;
    process->disconnect(this);
    EndProcessGroup(process);
}
