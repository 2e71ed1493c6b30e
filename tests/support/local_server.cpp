#include "support/local_server.h"

#include <QTcpSocket>

namespace tessaly::test {

LocalServer::LocalServer(Mode mode, QByteArray body, QByteArray status)
    : mode_(mode), body_(std::move(body)), status_(std::move(status)) {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
}

QString LocalServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(path);
}

void LocalServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (!socket->readAll().contains("\r\n\r\n")) return;
            ++requests_;
            Respond(socket);
        });
    }
}

void LocalServer::Respond(QTcpSocket* socket) {
    switch (mode_) {
        case Mode::Silent:
            return;
        case Mode::Flood:
            // No length given; far more than any limit the tests set.
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r\n");
            socket->write(QByteArray(64 * 1024, 'x'));
            return;
        case Mode::Answer:
            socket->write("HTTP/1.1 " + status_ +
                          "\r\nContent-Length: " + QByteArray::number(body_.size()) +
                          "\r\nConnection: close\r\n\r\n" + body_);
            socket->disconnectFromHost();
            return;
    }
}

}  // namespace tessaly::test
