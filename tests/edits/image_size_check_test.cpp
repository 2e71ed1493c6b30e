#include "edits/image_size_check.h"

#include <QDir>

#include "edits/selection_edit_test.h"
#include "resources/string_table.h"
#include "services/settings.h"
#include "support/status_recorder.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

class ImageSizeCheckTest : public test::SelectionEditTest {
protected:
    void SetUp() override {
        SelectionEditTest::SetUp();
        UseSettingsFile(QDir(temp.Path()).filePath(u"settings.ini"_qs));
    }
    void TearDown() override { UseSettingsFile({}); }

    QSize PictureSize(int node) const { return doc.Picture(doc.Node(node).picture)->PixelSize(); }
    QSize NodeSize(int node) const { return {doc.Node(node).Width(), doc.Node(node).Height()}; }
};

TEST_F(ImageSizeCheckTest, TheStoredMaximumIsKeptWithinTwentyToAHundred) {
    EXPECT_EQ(PhotomosaicMaximumSize(), QSize(40, 40));
    WriteProfileInt(u"SYS"_qs, u"MaxImgW"_qs, 500);
    WriteProfileInt(u"SYS"_qs, u"MaxImgH"_qs, 10);
    EXPECT_EQ(PhotomosaicMaximumSize(), QSize(100, 20));
}

TEST_F(ImageSizeCheckTest, OnlyPicturesBeyondTheMaximumAreResampledToExactlyIt) {
    struct Row {
        QByteArray encoded;
        QSize picture;  // afterwards
        QSize node;     // afterwards
    };
    const Row rows[] = {
        {test::JpegBytes(40, 40), {40, 40}, {100, 100}},  // exactly the maximum
        {test::JpegBytes(41, 10), {40, 40}, {40, 40}},    // aspect ratio not kept
        {test::JpegBytes(30, 90), {40, 40}, {40, 40}},
        // A picture that cannot be decoded keeps its picture and its size.
        {test::PngDeclaringSize(200, 200), {200, 200}, {100, 100}},
    };
    for (const Row& row : rows) Add(0, 0, 100, 100, row.encoded);
    const auto averages = doc.Node(1).avgRed[0];
    test::StatusRecorder status;
    messages.QueueAnswer(kResultYes);

    CheckImageSizes(edited, nullptr);

    const QString leading = u"環境設定で設定されているサイズ : 幅 40 高さ 40\n"_qs;
    EXPECT_EQ(messages.Texts(), std::vector<QString>{leading + LoadString(kMsgOversizedImages)});
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(PictureSize(i), rows[i].picture) << i;
        EXPECT_EQ(NodeSize(i), rows[i].node) << i;
    }
    EXPECT_EQ(doc.Node(1).avgRed[0], averages);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(edited.UndoCount(), 0);
    EXPECT_EQ(status.ProgressValues().back(), 0);  // reset at the end
    EXPECT_TRUE(status.Info().isEmpty());
}

TEST_F(ImageSizeCheckTest, NothingChangesWithoutOversizedPicturesOrAfterNo) {
    struct Row {
        QByteArray encoded;
        int answer;
        int message;
    };
    const Row rows[] = {
        {test::JpegBytes(40, 20), kResultYes, kMsgNothingToAdjust},
        {test::JpegBytes(60, 20), kResultNo, kMsgOversizedImages},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(doc.ResetDocument());
        Add(0, 0, 100, 100, row.encoded);
        const QSize before = PictureSize(0);
        messages.Clear();
        messages.QueueAnswer(row.answer);
        CheckImageSizes(edited, nullptr);
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_TRUE(messages.Texts()[0].endsWith(LoadString(row.message))) << row.message;
        EXPECT_EQ(PictureSize(0), before);
        EXPECT_FALSE(doc.IsModified());
    }
}

}  // namespace
}  // namespace tessaly
