#include "document/document.h"

#include <gtest/gtest.h>

#include <tuple>

#include "resources/string_table.h"
#include "support/message_recorder.h"
#include "support/status_recorder.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

ImageBlob SomePicture() { return *ImageBlob::FromEncoded(test::JpegBytes(8, 8)); }

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.AllocateNodeTables()); }

    int AppendNodeWithPicture() {
        const int i = doc.State().nodeCount++;
        doc.Node(i).picture = doc.Pictures().Adopt(SomePicture());
        doc.Node(i).visible = 1;
        return i;
    }

    Document doc;
};

TEST_F(DocumentTest, NewDocumentHasItsDefaultSettings) {
    const DocState& s = doc.State();
    EXPECT_EQ(std::tuple(s.nodeCount, s.mainSelection, s.zoom, s.canvasWidth, s.canvasHeight,
                         s.backColor, s.canvasLineColor, s.canvasLineWidth),
              std::tuple(0, -1, 1.0f, 1000, 1000, 0xFFFFFF, 0x7B5A48, 1));
    EXPECT_EQ(std::tuple(s.zoomConsoleX, s.zoomConsoleY, s.zoomConsolePinned, s.backBrightness,
                         s.showBackPicture, s.noSetColor, s.noSetRange),
              std::tuple(79, 79, 1, 4, 1, 0xFFFFFF, 5));
    EXPECT_EQ(std::tuple(s.gridColumns, s.gridRows, s.sizeSteps, s.mosaicType, s.sectionCount,
                         s.comparePrecision, s.imageFrameColor, s.gridMode, s.cutLineWidth),
              std::tuple(20, 20, 3, 1, 9, 13, -1, -1, 1));
    EXPECT_FALSE(s.backPicture);
}

TEST_F(DocumentTest, ResetGivesAnEmptyDocumentButKeepsTheHistogramAndReservedBytes) {
    test::StatusRecorder status;
    AppendNodeWithPicture();
    AppendNodeWithPicture();
    DocState& s = doc.State();
    s.backPicture = doc.Pictures().Adopt(SomePicture());
    s.mainSelection = 1;
    s.zoom = 2.5f;
    s.canvasWidth = 4000;
    s.backHistogram[0] = 17;
    s.backHistogram[767] = 42;
    s.reserved[3] = 0xAB;
    doc.Mark(0).selected = 1;
    doc.SetModified();

    ASSERT_TRUE(doc.ResetDocument());
    EXPECT_EQ(s.nodeCount, 0);
    EXPECT_EQ(s.mainSelection, -1);
    EXPECT_FLOAT_EQ(s.zoom, 1.0f);
    EXPECT_EQ(s.canvasWidth, 1000);
    EXPECT_FALSE(s.backPicture);
    EXPECT_EQ(s.backHistogram[0], 17);
    EXPECT_EQ(s.backHistogram[767], 42);
    EXPECT_EQ(s.reserved[3], 0xAB);
    EXPECT_EQ(doc.Pictures().Size(), 0u);
    EXPECT_FALSE(doc.IsModified());
    // Fresh tables hold no leftovers.
    EXPECT_EQ(doc.Node(0).centerX, 0);
    EXPECT_FALSE(doc.Node(0).picture);
    EXPECT_EQ(doc.Mark(0).selected, 0);
    // The status panes show the empty document.
    EXPECT_EQ(status.Pane(StatusPane::kObject), u"0");
    EXPECT_EQ(status.Pane(StatusPane::kPos), u"");
}

TEST_F(DocumentTest, ReleasingAllPicturesKeepsTheNodes) {
    for (const int nodes : {0, 5}) {
        ASSERT_TRUE(doc.ResetDocument());
        for (int i = 0; i < nodes; ++i)
            AppendNodeWithPicture();
        doc.State().backPicture = doc.Pictures().Adopt(SomePicture());
        // A copy parked in the scratch record is released too, not leaked.
        doc.Node(kScratchRecord).picture = doc.Pictures().Adopt(SomePicture());

        doc.ReleaseAllPictures();
        EXPECT_EQ(doc.State().nodeCount, nodes);
        EXPECT_FALSE(doc.State().backPicture) << nodes;
        for (int i = 0; i < nodes; ++i)
            EXPECT_FALSE(doc.Node(i).picture) << i;
        EXPECT_EQ(doc.Pictures().Size(), 0u) << nodes;
        EXPECT_EQ(doc.Picture(doc.Node(kScratchRecord).picture), nullptr);
    }
}

TEST_F(DocumentTest, SelectionCountsOnlyVisibleNodes) {
    const int i = AppendNodeWithPicture();
    doc.Mark(i).selected = 1;
    EXPECT_TRUE(doc.IsSelected(i));
    doc.Node(i).visible = 0;
    EXPECT_FALSE(doc.IsSelected(i));
}

TEST_F(DocumentTest, FailedAllocationReportsAndLeavesAConsistentEmptyDocument) {
    test::MessageRecorder messages;
    AppendNodeWithPicture();
    Document::FailNextAllocationForTesting();
    EXPECT_FALSE(doc.ResetDocument());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgMemoryAllocFailed)});
    EXPECT_EQ(messages.Messages().front().style, kStyleStop);
    EXPECT_FALSE(doc.HasTables());
    EXPECT_EQ(doc.State().nodeCount, 0);
    EXPECT_EQ(doc.Pictures().Size(), 0u);
    // The next attempt succeeds again.
    EXPECT_TRUE(doc.ResetDocument());
    EXPECT_TRUE(doc.HasTables());
}

TEST(PicturePool, StaleReferencesFindNothing) {
    PicturePool pool;
    PictureRef first = pool.Adopt(SomePicture());
    const PictureRef copy = first;
    pool.Release(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(pool.Find(copy), nullptr);
    const PictureRef second = pool.Adopt(SomePicture());
    EXPECT_NE(second, copy);  // never reused
    EXPECT_EQ(pool.Find(copy), nullptr);
    PictureRef none;
    pool.Release(none);  // releasing nothing is harmless
    EXPECT_EQ(pool.Size(), 1u);
}

}  // namespace
}  // namespace tessaly
