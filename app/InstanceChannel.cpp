#include "InstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder that only this user can enter: its own, not a link, no access for
// group or others. A folder made by someone else is never used.
bool IsPrivateFolder(const QByteArray& path, bool mendMode)
{
    struct stat st {};
    if (lstat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return false;
    if ((st.st_mode & 077) == 0)
        return true;
    return mendMode && chmod(path.constData(), 0700) == 0;
}

QString PrivateFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && IsPrivateFolder(runtime, false))
        return QString::fromLocal8Bit(runtime);
    const QByteArray own = QDir(QDir::tempPath()).filePath(QStringLiteral("quillet-%1").arg(getuid())).toLocal8Bit();
    mkdir(own.constData(), 0700);   // fails harmlessly when it is there already
    return IsPrivateFolder(own, true) ? QString::fromLocal8Bit(own) : QString();
}

// The other end of a connection must be this user.
bool PeerIsThisUser(const QLocalSocket& socket)
{
    struct ucred cred {};
    socklen_t len = sizeof(cred);
    const auto fd = static_cast<int>(socket.socketDescriptor());
    return fd >= 0 && getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == getuid();
}

// One request: every file as an absolute UTF-8 path ended by a NUL byte (a
// path may hold any other byte, line breaks too), then one more NUL; the
// running editor answers "ok\n".
QByteArray EncodeRequest(const QStringList& files)
{
    QByteArray data;
    for (const QString& f : files)
        data += QFileInfo(f).absoluteFilePath().toUtf8() + '\0';
    return data + '\0';
}

} // namespace

CInstanceChannel::CInstanceChannel(QObject* parent) : QObject(parent) {}
CInstanceChannel::~CInstanceChannel() = default;

QString CInstanceChannel::ServerName()
{
    const QString folder = PrivateFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("quillet-%1.sock").arg(getuid()));
}

bool CInstanceChannel::SendToRunningInstance(const QStringList& files, int timeoutMs)
{
    const QString name = ServerName();
    if (name.isEmpty() || files.size() > kMaxPaths)
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs) || !PeerIsThisUser(socket))
        return false;
    socket.write(EncodeRequest(files));
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine(8).trimmed() == "ok";
}

bool CInstanceChannel::Listen()
{
    if (m_pServer && m_pServer->isListening())
        return true;
    const QString name = ServerName();
    if (name.isEmpty())
        return false;
    delete m_pServer;
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    m_pServer->setMaxPendingConnections(kMaxConnections);
    connect(m_pServer, &QLocalServer::newConnection, this, &CInstanceChannel::OnNewConnection);
    // With access options Qt puts the new socket in place of whatever is at
    // the path, so ask first whether an editor answers there.
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500)) {
        probe.abort();
        return false;
    }
    // Nobody does: a socket left there was left by an editor that crashed.
    QLocalServer::removeServer(name);
    return m_pServer->listen(name);
}

bool CInstanceChannel::IsListening() const
{
    return m_pServer && m_pServer->isListening();
}

void CInstanceChannel::OnNewConnection()
{
    while (QLocalSocket* socket = m_pServer->nextPendingConnection()) {
        if (m_buffers.size() >= kMaxConnections || !PeerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_buffers.insert(socket, QByteArray());
        // A connection that says nothing for a while is closed.
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, this, [this, socket] { Drop(socket); });
        idle->start(m_nIdleTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, idle] {
            idle->start(m_nIdleTimeoutMs);
            OnReadyRead(socket);
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Drop(socket); });
        if (socket->bytesAvailable() > 0)
            OnReadyRead(socket);
    }
}

void CInstanceChannel::Drop(QLocalSocket* socket)
{
    if (!m_buffers.remove(socket))
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void CInstanceChannel::OnReadyRead(QLocalSocket* socket)
{
    auto it = m_buffers.find(socket);
    if (it == m_buffers.end())
        return;
    QByteArray& buffer = it.value();
    constexpr qsizetype kMaxRequest = qsizetype(kMaxPaths) * (kMaxPathBytes + 1) + 1;
    const qsizetype scanFrom = buffer.size();
    buffer += socket->read(kMaxRequest + 1 - buffer.size());
    if (buffer.size() > kMaxRequest) {
        Drop(socket);
        return;
    }
    // The request ends at the first empty path: two NULs, or a lone NUL at
    // the start. Only the bytes that just came need looking at.
    qsizetype end = -1;
    for (qsizetype i = std::max<qsizetype>(scanFrom, 0); i < buffer.size(); ++i) {
        if (buffer.at(i) == '\0' && (i == 0 || buffer.at(i - 1) == '\0')) {
            end = i;
            break;
        }
    }
    if (end < 0)
        return;
    QStringList files;
    bool valid = true;
    for (const QByteArray& path : buffer.left(end).split('\0')) {
        if (path.isEmpty())
            continue;
        if (path.size() > kMaxPathBytes || files.size() >= kMaxPaths) {
            valid = false;
            break;
        }
        files << QString::fromUtf8(path);
    }
    if (!valid) {
        Drop(socket);
        return;
    }
    socket->write("ok\n");
    socket->flush();
    m_buffers.remove(socket);
    socket->disconnect(this);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromServer();
    emit filesReceived(files);
}
