// Lets a second start hand its files to the running editor over a local
// socket that only the same user can open.
#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

class CInstanceChannel : public QObject
{
    Q_OBJECT
public:
    explicit CInstanceChannel(QObject* parent = nullptr);
    ~CInstanceChannel() override;

    // The socket's path: in the user's runtime directory when there is one.
    static QString ServerName();

    // Sends files to a running editor; true when one took them.
    static bool SendToRunningInstance(const QStringList& files, int timeoutMs = 3000);

    // Starts listening; a stale socket left by a crashed editor is removed
    // first. False when another editor is listening already.
    bool Listen();
    bool IsListening() const;

signals:
    void filesReceived(const QStringList& files);

private:
    void OnNewConnection();

    QLocalServer* m_pServer = nullptr;
};
