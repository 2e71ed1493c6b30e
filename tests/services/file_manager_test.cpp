#include "services/file_manager.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include "support/message_recorder.h"

namespace tessaly {
namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void Open(const QUrl& url) { opened.append(url); }
};

TEST(OpenInExplorer, ShowsTheFolderThatHoldsTheFile) {
    test::MessageRecorder messages;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    EXPECT_TRUE(OpenInExplorer(QStringLiteral("/tmp/出力/mosaic.jpg")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.front().toLocalFile(), u"/tmp/出力");
    EXPECT_TRUE(messages.Messages().empty());
}

}  // namespace
}  // namespace tessaly

#include "file_manager_test.moc"
