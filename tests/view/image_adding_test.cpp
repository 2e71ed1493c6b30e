// Adding images to the canvas: the command, dropped files, links and bitmaps.
#include <QMimeData>
#include <QtTest>

#include "view/atelier_view.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/settings.h"
#include "support/document_builder.h"
#include "support/local_server.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

using namespace tessaly;

class ImageAddingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void commandAddsTheChosenFilesShrunkToTheSettings();
    void cancellingTheShrinkQuestionAddsNothing();
    void droppingMoreThanTheLimitAddsTheFirstThreeThousand();
    void foldersAndForeignFilesAreIgnoredSilently();
    void filesDroppedOnANodeReplaceItsImageByTheFirst();
    void linksAreDownloadedAndAddedAtTheDropPoint();
    void aWebPageInsteadOfAnImageAddsNothing();
    void droppedBitmapsBecomeNodesAtTheDropPoint();

private:
    QString ImageFile(const QString& name, QSize size, QColor colour);
    QStringList ImageFiles(int count);
    void DropUrls(const QList<QUrl>& urls, QPoint client);
    std::vector<int> MessageIds() const;

    std::unique_ptr<test::ScopedTempDir> temp_;
    std::unique_ptr<test::MessageRecorder> messages_;
    std::unique_ptr<EditedDocument> edited_;
    Document* doc_ = nullptr;
    std::unique_ptr<CAtelierView> view_;
};

void ImageAddingTest::init() {
    temp_ = std::make_unique<test::ScopedTempDir>();
    UseSettingsFile(QDir(temp_->Path()).filePath(u"settings.ini"_qs));
    messages_ = std::make_unique<test::MessageRecorder>();
    edited_ = std::make_unique<EditedDocument>();
    doc_ = &edited_->Doc();
    QVERIFY(doc_->AllocateNodeTables());
    QVERIFY(doc_->ResetDocument());
    doc_->State().canvasWidth = 1000;
    doc_->State().canvasHeight = 800;
    view_ = std::make_unique<CAtelierView>(*edited_);
    view_->resize(800, 600);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    view_->InitialUpdate(false);
    view_->Images().SetWorkersForTesting(2);
    doc_->SetModified(false);
}

void ImageAddingTest::cleanup() {
    view_.reset();
    doc_ = nullptr;
    edited_.reset();
    messages_.reset();
    UseSettingsFile({});
    temp_.reset();
}

QString ImageAddingTest::ImageFile(const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = QDir(temp_->Path()).filePath(name);
    image.save(path);
    return path;
}

QStringList ImageAddingTest::ImageFiles(int count) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths.append(ImageFile(u"image%1.png"_qs.arg(i), QSize(4 + i % 3, 3), Qt::darkCyan));
    }
    return paths;
}

void ImageAddingTest::DropUrls(const QList<QUrl>& urls, QPoint client) {
    QMimeData data;
    data.setUrls(urls);
    view_->Images().Drop(data, client);
}

std::vector<int> ImageAddingTest::MessageIds() const {
    std::vector<int> ids;
    for (const QString& text : messages_->Texts()) {
        for (int id :
             {kMsgAddSampleImages, kMsgShrinkForMosaic, kMsgTooManyAtOnce, kMsgChangeCurrentImage,
              kMsgDownloadFailed, kMsgImageTypeNotSettable, kMsgNoSampleFolder}) {
            if (text.endsWith(LoadString(id))) ids.push_back(id);
        }
    }
    return ids;
}

void ImageAddingTest::commandAddsTheChosenFilesShrunkToTheSettings() {
    WriteProfileInt(u"SYS"_qs, u"MaxImgW"_qs, 150);  // bounded to 100
    WriteProfileInt(u"SYS"_qs, u"MaxImgH"_qs, 10);   // bounded to 20
    const QStringList files = ImageFiles(3);
    QString offeredFolder = u"unset"_qs;
    view_->Images().SetFileChooserForTesting([&](const QString& folder) {
        offeredFolder = folder;
        return files;
    });
    messages_->QueueAnswer(kResultNo);   // no sample images
    messages_->QueueAnswer(kResultYes);  // shrink
    view_->Images().AddImagesCommand();
    QCOMPARE(offeredFolder, QString());
    QCOMPARE(MessageIds(), (std::vector<int>{kMsgAddSampleImages, kMsgShrinkForMosaic}));
    QCOMPARE(doc_->State().nodeCount, 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(doc_->Node(i).halfWidth, 50);
        QCOMPARE(doc_->Node(i).halfHeight, 10);
    }
    QCOMPARE(doc_->State().mainSelection, 2);
    QVERIFY(doc_->IsModified());
    QCOMPARE(edited_->UndoCount(), 1);
}

void ImageAddingTest::cancellingTheShrinkQuestionAddsNothing() {
    messages_->QueueAnswer(kResultYes);     // sample images: the folder is missing here
    messages_->QueueAnswer(kResultCancel);  // shrink?
    QString offeredFolder;
    view_->Images().SetFileChooserForTesting([&](const QString& folder) {
        offeredFolder = folder;
        return ImageFiles(2);
    });
    view_->Images().AddImagesCommand();
    QVERIFY(offeredFolder.endsWith(u"/images"_qs));
    QCOMPARE(MessageIds(),
             (std::vector<int>{kMsgAddSampleImages, kMsgNoSampleFolder, kMsgShrinkForMosaic}));
    QCOMPARE(doc_->State().nodeCount, 0);
    QCOMPARE(edited_->UndoCount(), 0);
    QVERIFY(!doc_->IsModified());
}

void ImageAddingTest::droppingMoreThanTheLimitAddsTheFirstThreeThousand() {
    const QString one = ImageFile(u"one.png"_qs, QSize(2, 2), Qt::red);
    QList<QUrl> urls;
    for (int i = 0; i <= kMaxAddEntries; ++i)
        urls.append(QUrl::fromLocalFile(one));
    messages_->QueueAnswer(kResultOk);  // the limit
    messages_->QueueAnswer(kResultNo);  // no shrinking
    DropUrls(urls, {100, 100});
    QCOMPARE(MessageIds(), (std::vector<int>{kMsgTooManyAtOnce, kMsgShrinkForMosaic}));
    QCOMPARE(doc_->State().nodeCount, kMaxAddEntries);
    // Cascading from the drop point.
    QCOMPARE(doc_->Node(1).centerX, 110);
}

void ImageAddingTest::foldersAndForeignFilesAreIgnoredSilently() {
    QDir(temp_->Path()).mkdir(u"photos.jpg"_qs);
    const QString text = test::WriteFile(temp_->Path(), u"notes.txt"_qs, "x");
    DropUrls({QUrl::fromLocalFile(QDir(temp_->Path()).filePath(u"photos.jpg"_qs)),
              QUrl::fromLocalFile(text)},
             {100, 100});
    QVERIFY(messages_->Messages().empty());
    QCOMPARE(doc_->State().nodeCount, 0);
}

void ImageAddingTest::filesDroppedOnANodeReplaceItsImageByTheFirst() {
    test::AddNode(*doc_, 200, 200, 40, 30, test::JpegBytes(16, 16));
    test::AddNode(*doc_, 500, 200, 40, 30, test::JpegBytes(16, 16));
    doc_->Mark(1).selected = 1;
    doc_->State().mainSelection = 1;
    const QString first = ImageFile(u"first.png"_qs, QSize(30, 20), Qt::red);
    const QString second = ImageFile(u"second.png"_qs, QSize(50, 50), Qt::blue);
    messages_->QueueAnswer(kResultYes);
    DropUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}, {200, 200});
    QCOMPARE(MessageIds(), std::vector<int>{kMsgChangeCurrentImage});
    QCOMPARE(doc_->State().nodeCount, 2);
    QCOMPARE(doc_->State().mainSelection, 0);
    QVERIFY(!doc_->IsSelected(1));
    QCOMPARE(doc_->Picture(doc_->Node(0).picture)->PixelSize(), QSize(30, 20));
    QCOMPARE(doc_->Node(0).halfWidth, 40);   // the rectangle stays
    QVERIFY(doc_->Node(0).avgRed[0] > 200);  // averages of the new red picture
    QCOMPARE(edited_->UndoCount(), 1);

    // "No" leaves the node as it is.
    messages_->QueueAnswer(kResultNo);
    DropUrls({QUrl::fromLocalFile(second)}, {200, 200});
    QCOMPARE(doc_->Picture(doc_->Node(0).picture)->PixelSize(), QSize(30, 20));
}

void ImageAddingTest::linksAreDownloadedAndAddedAtTheDropPoint() {
    QImage green(24, 12, QImage::Format_RGB32);
    green.fill(Qt::green);
    test::LocalServer server(test::LocalServer::Mode::Answer, test::PngBytes(green));
    const QString search = u"https://search.example/imgres?imgurl="_qs +
                           QString::fromLatin1(QUrl::toPercentEncoding(server.Url(u"cat.png"_qs))) +
                           u"&w=1"_qs;
    QMimeData data;
    data.setUrls({QUrl(search)});
    data.setText(search);
    view_->Images().Drop(data, {300, 250});
    QVERIFY(messages_->Messages().empty());
    QCOMPARE(doc_->State().nodeCount, 1);
    QCOMPARE(QPoint(doc_->Node(0).centerX, doc_->Node(0).centerY), QPoint(300, 250));
    QCOMPARE(doc_->Node(0).halfWidth, 12);
    QCOMPARE(doc_->State().mainSelection, 0);
    QVERIFY(QFile::exists(QDir(temp_->WorkingFolderPath()).filePath(u"tmp.png"_qs)));
}

void ImageAddingTest::aWebPageInsteadOfAnImageAddsNothing() {
    test::LocalServer server(test::LocalServer::Mode::Answer, "<html>moved</html>");
    DropUrls({QUrl(server.Url(u"photo.JPG"_qs))}, {300, 250});
    QCOMPARE(MessageIds(), std::vector<int>{kMsgDownloadFailed});
    QCOMPARE(doc_->State().nodeCount, 0);
}

void ImageAddingTest::droppedBitmapsBecomeNodesAtTheDropPoint() {
    test::AddNode(*doc_, 600, 500, 20, 20, test::JpegBytes(8, 8));
    doc_->Mark(0).selected = 1;
    doc_->State().mainSelection = 0;
    QImage bitmap(60, 40, QImage::Format_RGB32);
    bitmap.fill(Qt::yellow);
    QMimeData data;
    data.setImageData(bitmap);
    view_->Images().Drop(data, {150, 120});
    QCOMPARE(doc_->State().nodeCount, 2);
    QCOMPARE(QPoint(doc_->Node(1).centerX, doc_->Node(1).centerY), QPoint(150, 120));
    QCOMPARE(doc_->Node(1).halfWidth, 30);
    QVERIFY(!doc_->IsSelected(0));  // the selection was cleared first
    QCOMPARE(doc_->State().mainSelection, 1);
    QVERIFY(doc_->IsModified());
}

QTEST_MAIN(ImageAddingTest)
#include "image_adding_test.moc"
