// A web server on 127.0.0.1 for tests: every request gets the same canned
// response (or none, to stand for a server that never answers).
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class CCannedHttpServer : public QTcpServer
{
public:
    explicit CCannedHttpServer(QByteArray response) : m_response(std::move(response))
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n") || m_response.isEmpty())
                        return;
                    ++requests;
                    socket->write(m_response);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    static QByteArray Page(const QByteArray& body, const QByteArray& contentType = "text/html; charset=utf-8")
    {
        return "HTTP/1.1 200 OK\r\nContent-Type: " + contentType + "\r\nContent-Length: " +
               QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

    QString Url(const QString& path = QStringLiteral("/ad.html")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }

    int requests = 0;

private:
    QByteArray m_response;
    QByteArray m_request;
};

// An address that refuses connections for as long as this object lives: a
// port bound but not listening, which nobody else can take meanwhile.
class CRefusedPort
{
public:
    CRefusedPort() : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in addr {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof(addr);
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 &&
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            m_port = ntohs(addr.sin_port);
    }
    ~CRefusedPort() { ::close(m_fd); }
    CRefusedPort(const CRefusedPort&) = delete;
    CRefusedPort& operator=(const CRefusedPort&) = delete;

    bool IsBound() const { return m_port != 0; }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/ad.html").arg(m_port); }

private:
    int m_fd;
    quint16 m_port = 0;
};
