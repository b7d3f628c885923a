// A web server on 127.0.0.1 for tests: every request gets the same canned
// response (or none, to stand for a server that never answers).
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

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

    // An address on which nothing listens: a port taken and given back.
    static QString RefusedUrl()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        probe.close();
        return QStringLiteral("http://127.0.0.1:%1/ad.html").arg(port);
    }

    int requests = 0;

private:
    QByteArray m_response;
    QByteArray m_request;
};
