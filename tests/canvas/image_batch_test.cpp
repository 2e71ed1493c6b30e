#include "canvas/image_batch.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "canvas/node_append.h"
#include "edits/image_edits.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"
#include "support/work_progress_recorder.h"

using namespace tessaly;

namespace {

class ImageBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc_.AllocateNodeTables());
        ASSERT_TRUE(doc_.ResetDocument());
        doc_.State().canvasWidth = 1000;
        doc_.State().canvasHeight = 1000;
    }

    ImageBlob Picture(int width, int height) {
        return *ImageBlob::FromEncoded(test::JpegBytes(width, height));
    }

    // An image file of its own colour, so that nodes can be told apart.
    QString ImageFile(const QString& name, int width, int height, QColor colour) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = QDir(temp_.Path()).filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    std::vector<ImageEntry> Entries(int count) {
        std::vector<ImageEntry> entries;
        for (int i = 0; i < count; ++i) {
            const QString path = ImageFile(u"img%1.png"_qs.arg(i), 40 + i, 30,
                                           QColor::fromHsv((i * 37) % 360, 200, 200));
            entries.push_back({path, u"png"_qs});
        }
        return entries;
    }

    test::ScopedTempDir temp_;
    test::MessageRecorder messages_;
    EditedDocument edited_;
    Document& doc_ = edited_.Doc();
};

TEST_F(ImageBatchTest, AppendKeepsSizesAndShrinksImagesAsLargeAsTheCanvas) {
    ASSERT_TRUE(AppendNode(doc_, {500, 500}, 3000, 2000, Picture(8, 8)));
    EXPECT_EQ(doc_.Node(0).halfWidth, 125);
    EXPECT_EQ(doc_.Node(0).halfHeight, 83);
    ASSERT_TRUE(AppendNode(doc_, {500, 500}, 999, 1500, Picture(8, 8)));
    EXPECT_EQ(doc_.Node(1).halfWidth, 125);
    EXPECT_EQ(doc_.Node(1).halfHeight, 187);
    ASSERT_TRUE(AppendNode(doc_, {500, 500}, 301, 40, Picture(8, 8)));
    EXPECT_EQ(doc_.Node(2).halfWidth, 150);

    // Each new node is selected and main; the ones before stay selected.
    EXPECT_EQ(doc_.State().mainSelection, 2);
    EXPECT_TRUE(doc_.IsSelected(0) && doc_.IsSelected(1) && doc_.IsSelected(2));
    // Pushed inside by its edges.
    ASSERT_TRUE(AppendNode(doc_, {5, 990}, 100, 60, Picture(8, 8)));
    EXPECT_EQ(doc_.Node(3).centerX, 50);
    EXPECT_EQ(doc_.Node(3).centerY, 970);
}

TEST_F(ImageBatchTest, FullDocumentRefusesAndKeepsWhatTheAddAlreadyAppended) {
    doc_.State().nodeCount = kMaxNodes - 2;
    const int added = AddImageFiles(doc_, Entries(3), {});
    EXPECT_EQ(added, 2);
    EXPECT_EQ(doc_.State().nodeCount, kMaxNodes);
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages().front().text,
              u"最大セット件数 9000 個\n"_qs + LoadString(kMsgImageLimitReached));
    EXPECT_FALSE(CanAddNode(doc_));
}

TEST_F(ImageBatchTest, WithoutAStartPointTheFirstGoesMidWindowThenTheCornerCascade) {
    AddImagesRequest request;
    request.windowCentre = {500, 400};
    ASSERT_EQ(AddImageFiles(doc_, Entries(3), request), 3);
    EXPECT_EQ(QPoint(doc_.Node(0).centerX, doc_.Node(0).centerY), QPoint(500, 400));
    // View points (10, 10) and (20, 20), pushed inside by their edges.
    EXPECT_EQ(QPoint(doc_.Node(1).centerX, doc_.Node(1).centerY), QPoint(20, 15));
    EXPECT_EQ(QPoint(doc_.Node(2).centerX, doc_.Node(2).centerY), QPoint(21, 20));

    // A start point cascades from there, divided by the zoom.
    doc_.State().zoom = 2.0f;
    request.start = {400, 600};
    ASSERT_EQ(AddImageFiles(doc_, Entries(2), request), 2);
    EXPECT_EQ(QPoint(doc_.Node(3).centerX, doc_.Node(3).centerY), QPoint(200, 300));
    EXPECT_EQ(QPoint(doc_.Node(4).centerX, doc_.Node(4).centerY), QPoint(205, 305));
}

TEST_F(ImageBatchTest, ShrunkNodesTakeTheShrinkSizeWhateverTheirShape) {
    AddImagesRequest request;
    request.shrinkTo = QSize(100, 20);
    ASSERT_EQ(AddImageFiles(doc_, Entries(2), request), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(doc_.Node(i).halfWidth, 50);
        EXPECT_EQ(doc_.Node(i).halfHeight, 10);
        EXPECT_EQ(doc_.Picture(doc_.Node(i).picture)->PixelSize(), QSize(100, 20));
    }
    // The colour averages are those of the picture before it was shrunk.
    EXPECT_NE(doc_.Node(0).avgRed[0] + doc_.Node(0).avgGreen[0] + doc_.Node(0).avgBlue[0], 0);
}

TEST_F(ImageBatchTest, UnreadableImageStopsTheAddAndOneUndoTakesItAllBack) {
    std::vector<ImageEntry> entries = Entries(3);
    test::WriteFile(temp_.Path(), u"img1.png"_qs, "not an image");
    EXPECT_EQ(AddImages(edited_, entries, {}), 1);
    EXPECT_EQ(doc_.State().nodeCount, 1);
    EXPECT_EQ(messages_.Texts(), std::vector<QString>{LoadString(kMsgImageTypeNotSettable)});
    EXPECT_EQ(edited_.UndoCount(), 1);
    ASSERT_TRUE(edited_.Undo());
    EXPECT_EQ(doc_.State().nodeCount, 0);
}

TEST_F(ImageBatchTest, WorkerThreadsGiveExactlyTheSingleThreadedResult) {
    const std::vector<ImageEntry> entries = Entries(12);
    Document other;
    ASSERT_TRUE(other.AllocateNodeTables());
    ASSERT_TRUE(other.ResetDocument());
    other.State() = doc_.State();
    AddImagesRequest request;
    request.windowCentre = {300, 300};
    request.shrinkTo = QSize(40, 40);
    request.workers = 1;
    ASSERT_EQ(AddImageFiles(doc_, entries, request), 12);
    request.workers = 3;
    ASSERT_EQ(AddImageFiles(other, entries, request), 12);
    for (int i = 0; i < 12; ++i) {
        const NodeRecord& a = doc_.Node(i);
        const NodeRecord& b = other.Node(i);
        EXPECT_EQ(a.centerX, b.centerX);
        EXPECT_EQ(a.centerY, b.centerY);
        EXPECT_TRUE(std::equal(std::begin(a.avgRed), std::end(a.avgRed), std::begin(b.avgRed)));
        EXPECT_TRUE(std::equal(std::begin(a.avgBlue), std::end(a.avgBlue), std::begin(b.avgBlue)));
        EXPECT_EQ(doc_.Picture(a.picture)->Encoded(), other.Picture(b.picture)->Encoded());
    }
}

TEST_F(ImageBatchTest, WorkersHoldNoMoreDecodedPicturesThanTheBudgetYetLoadEveryOne) {
    struct Row {
        const char* what;
        std::vector<int> widths;  // pictures of width x 100 pixels, 400 bytes a column
        qint64 budget;
    };
    const Row rows[] = {
        {"two and a half pictures", {100, 101, 102, 103, 104, 105, 106, 107}, 100'000},
        {"one larger than the budget goes alone", {100, 101, 300, 102, 103, 104}, 100'000},
    };
    for (const Row& row : rows) {
        Document doc;
        ASSERT_TRUE(doc.AllocateNodeTables());
        ASSERT_TRUE(doc.ResetDocument());
        doc.State().canvasWidth = 1000;
        doc.State().canvasHeight = 1000;
        std::vector<ImageEntry> entries;
        for (int width : row.widths) {
            const QString path = ImageFile(u"w%1.png"_qs.arg(width), width, 100, Qt::gray);
            entries.push_back({path, u"png"_qs});
        }
        DecodeBudget budget(row.budget);
        AddImagesRequest request;
        request.workers = 4;
        request.budget = &budget;
        ASSERT_EQ(AddImageFiles(doc, entries, request), int(entries.size())) << row.what;
        for (std::size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(doc.Node(int(i)).halfWidth, row.widths[i] / 2) << row.what;
        const qint64 largest = *std::max_element(row.widths.begin(), row.widths.end()) * 400LL;
        EXPECT_LE(budget.PeakInFlight(), std::max(row.budget, largest)) << row.what;
        EXPECT_GE(budget.PeakInFlight(), largest) << row.what;
    }
}

TEST_F(ImageBatchTest, StoppingTheWorkKeepsTheImagesAddedSoFarAsOneEdit) {
    for (int k : {1, 3}) {
        ASSERT_TRUE(doc_.ResetDocument());
        edited_.ResetHistory();
        test::WorkProgressRecorder progress(k);
        AddImagesRequest request;
        request.workers = 2;
        EXPECT_EQ(AddImages(edited_, Entries(5), request), k);
        EXPECT_EQ(doc_.State().nodeCount, k);
        ASSERT_EQ(progress.Works().size(), 1u);
        EXPECT_EQ(progress.Works().front().label, ui_text::kAddingImages.toString());
        EXPECT_EQ(progress.Works().front().total, 5);
        EXPECT_EQ(progress.Works().front().steps.size(), std::size_t(k));
        EXPECT_TRUE(progress.Works().front().ended);
        EXPECT_EQ(edited_.UndoCount(), 1);
        ASSERT_TRUE(edited_.Undo());
        EXPECT_EQ(doc_.State().nodeCount, 0);
    }
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(ImageBatchTest, CollectingSkipsFoldersMissingAndForeignFiles) {
    const QString image = ImageFile(u"a.PNG"_qs, 4, 4, Qt::red);
    const QString text = test::WriteFile(temp_.Path(), u"notes.txt"_qs, "x");
    QDir(temp_.Path()).mkdir(u"folder.png"_qs);
    const QStringList paths = {text, QDir(temp_.Path()).filePath(u"folder.png"_qs),
                               QDir(temp_.Path()).filePath(u"missing.jpg"_qs), image};
    const CollectedEntries dropped = CollectImageEntries(paths, true);
    ASSERT_EQ(dropped.entries.size(), 1u);
    EXPECT_EQ(dropped.entries.front().path, image);
    EXPECT_EQ(dropped.entries.front().type, u"png"_qs);
    // The file dialog's list is taken by its names alone.
    EXPECT_EQ(CollectImageEntries(paths, false).entries.size(), 3u);

    QStringList many;
    for (int i = 0; i < kMaxAddEntries + 1; ++i)
        many.append(u"/pictures/%1.jpg"_qs.arg(i));
    const CollectedEntries chosen = CollectImageEntries(many, false);
    EXPECT_EQ(chosen.entries.size(), size_t(kMaxAddEntries));
    EXPECT_TRUE(chosen.overflowed);
    EXPECT_FALSE(CollectImageEntries(many.mid(0, kMaxAddEntries), false).overflowed);
    const CollectedEntries first = CollectImageEntries(many, false, 1);
    EXPECT_EQ(first.entries.size(), 1u);
    EXPECT_FALSE(first.overflowed);
}

}  // namespace
