// PHP's own development server (`php -S 127.0.0.1:PORT -t ROOT`) for a
// site folder: a child of this process in a process group of its own, which
// dies with this process however that ends (a parent-death signal), and is
// stopped with its whole group.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QUrl>

class QProcess;
class QTimer;

class CPreviewServer : public QObject
{
    Q_OBJECT
public:
    // How long a started server has to accept connections.
    static constexpr int kStartTimeoutMs = 10000;

    explicit CPreviewServer(QObject* parent = nullptr);
    ~CPreviewServer() override;

    // The folder to serve for file: the site when file is in it (or when
    // there is no file), the file's own folder otherwise; empty when there
    // is neither.
    static QString RootFor(const QString& file, const QString& site);
    // Whether a server could listen on port of 127.0.0.1 now.
    static bool IsPortFree(int port);
    // A port of 127.0.0.1 nobody listens on; 0 when none could be had.
    static int FreePort();

    // Starts php serving root on port (a free one when 0). A server already
    // running or starting for root is kept as it is. False, and failed()
    // emitted, when it could not be started at all.
    bool Start(const QString& php, const QString& root, int port = 0);
    // Stops the server and everything it started.
    void Stop();

    bool IsStarted() const { return m_pProcess != nullptr; }
    // Started and accepting connections.
    bool IsReady() const { return m_pProcess && m_bReady; }
    QString Root() const { return m_strRoot; }
    int Port() const { return m_nPort; }
    qint64 ProcessId() const;
    // file's address on the server; the root's for a file outside it.
    QUrl AddressOf(const QString& file) const;

signals:
    void ready();
    // What the server writes (its start, each request, PHP's errors).
    void output(const QByteArray& bytes);
    // The one message for a server that could not start, did not answer or
    // ended by itself.
    void failed(const QString& message);
    void stopped();

private:
    void CheckReady();
    void OnFinished(int exitCode);
    // Ends the server and says message.
    void Fail(const QString& message);
    void Kill();

    QProcess* m_pProcess = nullptr;
    QTimer* m_pReadyCheck;
    QElapsedTimer m_started;
    QString m_strRoot;
    int m_nPort = 0;
    bool m_bReady = false;
    // The last bytes the server wrote, for the message when it ends.
    QByteArray m_tail;
};
