#include "image/link_download.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "resources/string_table.h"
#include "support/local_server.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace tessaly;

namespace {

class LinkDownloadTest : public ::testing::Test {
protected:
    test::ScopedTempDir temp;
    test::MessageRecorder messages;
};

}  // namespace

TEST_F(LinkDownloadTest, ImageLandsInTheWorkingFolderUnderItsType) {
    const QByteArray jpeg = test::JpegBytes(32, 24);
    test::LocalServer server(test::LocalServer::Mode::Answer, jpeg);
    const QString path = DownloadLink(server.Url(u"photo.JPG"_qs), u"jpeg"_qs);
    EXPECT_EQ(QFileInfo(path).fileName(), u"tmp.jpeg"_qs);
    EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(temp.WorkingFolderPath()).absolutePath());
    EXPECT_EQ(test::ReadFile(path), jpeg);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(LinkDownloadTest, FailuresSayTheDownloadFailedAndKeepTheOldFile) {
    const QString target = test::WriteFile(temp.Path(), u"tmp.png"_qs, "previous");

    test::LocalServer page(test::LocalServer::Mode::Answer, "<!DOCTYPE html><html></html>");
    EXPECT_EQ(DownloadToFile(page.Url(u"a.png"_qs), target), DownloadOutcome::WebPage);
    test::LocalServer missing(test::LocalServer::Mode::Answer, "not here", "404 Not Found");
    EXPECT_EQ(DownloadToFile(missing.Url(u"a.png"_qs), target), DownloadOutcome::Failed);
    EXPECT_EQ(test::ReadFile(target), QByteArray("previous"));

    EXPECT_TRUE(DownloadLink(page.Url(u"a.png"_qs), u"png"_qs).isEmpty());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgDownloadFailed)});
    EXPECT_EQ(messages.Messages().front().style, int(kStyleInformation));
}

TEST_F(LinkDownloadTest, OnlyWebAddressesAreFetched) {
    const QString target = QDir(temp.Path()).filePath(u"tmp.png"_qs);
    const QString local = test::WriteFile(temp.Path(), u"secret.png"_qs, test::JpegBytes(8, 8));
    for (const QString& link : {u"file://"_qs + local, u"ftp://127.0.0.1/a.png"_qs,
                                u"javascript:alert(1).png"_qs, u"http:///a.png"_qs}) {
        EXPECT_EQ(DownloadToFile(link, target), DownloadOutcome::Refused) << link.toStdString();
    }
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(LinkDownloadTest, SilentAndFloodingServersAreCutOff) {
    const QString target = QDir(temp.Path()).filePath(u"tmp.jpeg"_qs);
    DownloadLimits limits;
    limits.timeoutMs = 300;
    limits.maxBytes = 10'000;

    test::LocalServer silent(test::LocalServer::Mode::Silent);
    EXPECT_EQ(DownloadToFile(silent.Url(u"a.jpg"_qs), target, limits), DownloadOutcome::TimedOut);
    EXPECT_EQ(silent.Requests(), 1);

    test::LocalServer flood(test::LocalServer::Mode::Flood);
    EXPECT_EQ(DownloadToFile(flood.Url(u"a.jpg"_qs), target, limits), DownloadOutcome::TooLarge);

    test::LocalServer declared(test::LocalServer::Mode::Answer, QByteArray(20'000, 'x'));
    EXPECT_EQ(DownloadToFile(declared.Url(u"a.jpg"_qs), target, limits), DownloadOutcome::TooLarge);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(LinkDownloadTest, TheWaitCanBeCancelledWithoutAMessage) {
    test::LocalServer silent(test::LocalServer::Mode::Silent);
    int asked = 0;
    const QString path = DownloadLink(silent.Url(u"a.jpg"_qs), u"jpeg"_qs, {},
                                      [&](qint64, qint64) { return ++asked < 3; });
    EXPECT_TRUE(path.isEmpty());
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(messages.Messages().empty());
}
