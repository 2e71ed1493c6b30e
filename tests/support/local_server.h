#pragma once

#include <QByteArray>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

namespace tessaly::test {

// A web server on 127.0.0.1 that answers every request the same way.
class LocalServer {
public:
    enum class Mode { Answer, Silent, Flood };

    explicit LocalServer(Mode mode, QByteArray body = {}, QByteArray status = "200 OK");

    // The address of `path` on this server.
    QString Url(const QString& path) const;
    int Requests() const { return requests_; }

private:
    void Accept();
    void Respond(QTcpSocket* socket);

    QTcpServer server_;
    Mode mode_;
    QByteArray body_;
    QByteArray status_;
    int requests_ = 0;
};

}  // namespace tessaly::test
