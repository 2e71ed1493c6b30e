#include "image/link_download.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include "resources/string_table.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace tessaly;

namespace {

// A web server on 127.0.0.1 that answers every request the same way.
class LocalServer {
public:
    enum class Mode { Answer, Silent, Flood };

    explicit LocalServer(Mode mode, QByteArray body = {}, QByteArray status = "200 OK")
        : mode_(mode), body_(std::move(body)), status_(std::move(status)) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
    }

    QString Url(const QString& path) const {
        return u"http://127.0.0.1:%1/%2"_qs.arg(server_.serverPort()).arg(path);
    }
    int Requests() const { return requests_; }

private:
    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                if (!socket->readAll().contains("\r\n\r\n")) return;
                ++requests_;
                Respond(socket);
            });
        }
    }

    void Respond(QTcpSocket* socket) {
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

    QTcpServer server_;
    Mode mode_;
    QByteArray body_;
    QByteArray status_;
    int requests_ = 0;
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(LinkDownloadTest, ImageLandsInTheWorkingFolderUnderItsType) {
    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    const QByteArray jpeg = test::JpegBytes(32, 24);
    LocalServer server(LocalServer::Mode::Answer, jpeg);
    const QString path = DownloadLink(server.Url(u"photo.JPG"_qs), u"jpeg"_qs);
    EXPECT_EQ(QFileInfo(path).fileName(), u"tmp.jpeg"_qs);
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(temp.WorkingFolderPath()).absolutePath());
    EXPECT_EQ(FileBytes(path), jpeg);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(LinkDownloadTest, FailuresSayTheDownloadFailedAndKeepTheOldFile) {
    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    const QString target = test::WriteFile(temp.Path(), u"tmp.png"_qs, "previous");

    LocalServer page(LocalServer::Mode::Answer, "<!DOCTYPE html><html></html>");
    EXPECT_EQ(DownloadToFile(page.Url(u"a.png"_qs), target), DownloadOutcome::WebPage);
    LocalServer missing(LocalServer::Mode::Answer, "not here", "404 Not Found");
    EXPECT_EQ(DownloadToFile(missing.Url(u"a.png"_qs), target), DownloadOutcome::Failed);
    EXPECT_EQ(FileBytes(target), QByteArray("previous"));

    EXPECT_TRUE(DownloadLink(page.Url(u"a.png"_qs), u"png"_qs).isEmpty());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgDownloadFailed)});
    EXPECT_EQ(messages.Messages().front().style, int(kStyleInformation));
}

TEST(LinkDownloadTest, OnlyWebAddressesAreFetched) {
    test::ScopedTempDir temp;
    const QString target = QDir(temp.Path()).filePath(u"tmp.png"_qs);
    const QString local = test::WriteFile(temp.Path(), u"secret.png"_qs, test::JpegBytes(8, 8));
    for (const QString& link : {u"file://"_qs + local, u"ftp://127.0.0.1/a.png"_qs,
                                u"javascript:alert(1).png"_qs, u"http:///a.png"_qs}) {
        EXPECT_EQ(DownloadToFile(link, target), DownloadOutcome::Refused) << link.toStdString();
    }
    EXPECT_FALSE(QFile::exists(target));
}

TEST(LinkDownloadTest, SilentAndFloodingServersAreCutOff) {
    test::ScopedTempDir temp;
    const QString target = QDir(temp.Path()).filePath(u"tmp.jpeg"_qs);
    DownloadLimits limits;
    limits.timeoutMs = 300;
    limits.maxBytes = 10'000;

    LocalServer silent(LocalServer::Mode::Silent);
    EXPECT_EQ(DownloadToFile(silent.Url(u"a.jpg"_qs), target, limits), DownloadOutcome::TimedOut);
    EXPECT_EQ(silent.Requests(), 1);

    LocalServer flood(LocalServer::Mode::Flood);
    EXPECT_EQ(DownloadToFile(flood.Url(u"a.jpg"_qs), target, limits), DownloadOutcome::TooLarge);

    LocalServer declared(LocalServer::Mode::Answer, QByteArray(20'000, 'x'));
    EXPECT_EQ(DownloadToFile(declared.Url(u"a.jpg"_qs), target, limits), DownloadOutcome::TooLarge);
    EXPECT_FALSE(QFile::exists(target));
}

TEST(LinkDownloadTest, TheWaitCanBeCancelledWithoutAMessage) {
    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    LocalServer silent(LocalServer::Mode::Silent);
    int asked = 0;
    const QString path = DownloadLink(silent.Url(u"a.jpg"_qs), u"jpeg"_qs, {},
                                      [&](qint64, qint64) { return ++asked < 3; });
    EXPECT_TRUE(path.isEmpty());
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(messages.Messages().empty());
}
