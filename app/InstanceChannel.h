// Lets a second start hand its files to the running editor over a local
// socket in a folder only this user owns, spoken to only by this user.
#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class CInstanceChannel : public QObject
{
    Q_OBJECT
public:
    // What one request may hold: longer paths or more of them end the
    // connection without opening anything.
    static constexpr int kMaxPathBytes = 4096;
    static constexpr int kMaxPaths = 256;
    static constexpr int kMaxConnections = 16;

    explicit CInstanceChannel(QObject* parent = nullptr);
    ~CInstanceChannel() override;

    // The socket's path, in the user's runtime directory or else in a folder
    // of /tmp made for this user (mode 0700, owner checked); empty when no
    // such folder can be had, and then every start is an editor of its own.
    static QString ServerName();

    // Sends files to a running editor; true when one took them.
    static bool SendToRunningInstance(const QStringList& files, int timeoutMs = 3000);

    // Starts listening; a stale socket left by a crashed editor is removed
    // first. False when another editor is listening already.
    bool Listen();
    bool IsListening() const;

    // How long a connection may stay silent before it is closed.
    void SetIdleTimeoutMs(int ms) { m_nIdleTimeoutMs = ms; }
    int OpenConnections() const { return static_cast<int>(m_buffers.size()); }

signals:
    void filesReceived(const QStringList& files);

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);
    void Drop(QLocalSocket* socket);

    QLocalServer* m_pServer = nullptr;
    QHash<QLocalSocket*, QByteArray> m_buffers;
    int m_nIdleTimeoutMs = 5000;
};
