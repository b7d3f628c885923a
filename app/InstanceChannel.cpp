#include "InstanceChannel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace {
// One request: the files as absolute paths, one UTF-8 line each, then an
// empty line; the running editor answers "ok\n".
QByteArray EncodeRequest(const QStringList& files)
{
    QByteArray data;
    for (const QString& f : files)
        data += QFileInfo(f).absoluteFilePath().toUtf8() + '\n';
    return data + '\n';
}
} // namespace

CInstanceChannel::CInstanceChannel(QObject* parent) : QObject(parent) {}
CInstanceChannel::~CInstanceChannel() = default;

QString CInstanceChannel::ServerName()
{
    const QString name = QStringLiteral("quillet-%1.sock").arg(getuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    return QDir(QDir::tempPath()).filePath(name);
}

bool CInstanceChannel::SendToRunningInstance(const QStringList& files, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(EncodeRequest(files));
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine().trimmed() == "ok";
}

bool CInstanceChannel::Listen()
{
    if (m_pServer && m_pServer->isListening())
        return true;
    delete m_pServer;
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &CInstanceChannel::OnNewConnection);
    const QString name = ServerName();
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
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // The request ends with an empty line; wait until it is all here.
            QByteArray all = socket->property("buffer").toByteArray() + socket->readAll();
            if (!all.endsWith("\n\n") && all != "\n") {
                socket->setProperty("buffer", all);
                return;
            }
            QStringList files;
            for (const QByteArray& line : all.split('\n'))
                if (!line.isEmpty())
                    files << QString::fromUtf8(line);
            socket->write("ok\n");
            socket->flush();
            emit filesReceived(files);
        });
    }
}
