#include "edits/canvas_resize.h"

#include <gtest/gtest.h>

#include "document/edited_document.h"
#include "resources/string_table.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"

namespace tessaly {
namespace {

class CanvasResizeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.ResetDocument());
        doc.State().canvasWidth = 1000;
        doc.State().canvasHeight = 800;
        a = test::AddNode(doc, 400, 300, 100, 50, {});
        b = test::AddNode(doc, 333, 700, 7, 9, {});
        doc.Node(b).visible = 0;
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    EditedDocument edited;
    Document& doc = edited.Doc();
    int a = -1;
    int b = -1;
};

TEST_F(CanvasResizeTest, ScalingFollowsOneAxisAndIsOneUndoableEdit) {
    const NodeRecord beyond = doc.Node(doc.State().nodeCount);
    ASSERT_TRUE(ResizeCanvas(edited, Qt::Horizontal, 750, CanvasResizeMode::ScaleNodes));
    EXPECT_EQ(doc.State().canvasWidth, 750);
    EXPECT_EQ(doc.Node(a).centerX, 300);
    EXPECT_EQ(doc.Node(a).halfWidth, 75);
    EXPECT_EQ(doc.Node(b).centerX, 249);  // 249.75 truncated, hidden nodes too
    EXPECT_EQ(doc.Node(b).halfWidth, 5);  // 5.25
    EXPECT_EQ(doc.Node(a).centerY, 300);  // the other axis is untouched
    EXPECT_EQ(doc.Node(doc.State().nodeCount).centerX, beyond.centerX);

    // Growing does not clamp: the node may now reach past the canvas.
    ASSERT_TRUE(ResizeCanvas(edited, Qt::Vertical, 1200, CanvasResizeMode::ScaleNodes));
    EXPECT_EQ(doc.Node(b).centerY, 1050);
    EXPECT_EQ(doc.Node(b).halfHeight, 13);  // 13.5
    EXPECT_EQ(edited.UndoCount(), 2);

    ASSERT_TRUE(edited.Undo());
    EXPECT_EQ(doc.State().canvasHeight, 800);
    EXPECT_EQ(doc.Node(b).centerY, 700);
}

TEST_F(CanvasResizeTest, MarginOnlyMovesNoNodeAndTheSameSizeIsNoEdit) {
    ASSERT_TRUE(ResizeCanvas(edited, Qt::Horizontal, 600, CanvasResizeMode::MarginOnly));
    EXPECT_EQ(doc.Node(a).centerX, 400);
    doc.SetModified(false);
    EXPECT_FALSE(ResizeCanvas(edited, Qt::Horizontal, 600, CanvasResizeMode::ScaleNodes));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(edited.UndoCount(), 1);
}

TEST_F(CanvasResizeTest, EdgeSizeIsBoundedAndKeepsNodesWholeWhenOnlyTheMarginChanges) {
    doc.State().zoom = 2.0f;
    struct Row {
        Qt::Orientation axis;
        int viewExtent;
        CanvasResizeMode mode;
        int size;
    };
    // Node a reaches x = 500 and node b y = 709 in canvas pixels.
    for (const Row& row : {
             Row{Qt::Horizontal, 1500, CanvasResizeMode::ScaleNodes, 750},
             Row{Qt::Horizontal, 10, CanvasResizeMode::ScaleNodes, 500},
             Row{Qt::Horizontal, 20000, CanvasResizeMode::ScaleNodes, 5000},
             Row{Qt::Horizontal, 1001, CanvasResizeMode::MarginOnly, 500},
             Row{Qt::Vertical, 1000, CanvasResizeMode::MarginOnly, 709},
             Row{Qt::Vertical, 1000, CanvasResizeMode::ScaleNodes, 500},
         }) {
        EXPECT_EQ(CanvasSizeForEdge(doc, row.axis, row.viewExtent, row.mode), row.size)
            << row.viewExtent;
    }
    // Nodes beyond the largest canvas never lift the size past it.
    doc.Node(a).centerX = 6000;
    EXPECT_EQ(CanvasSizeForEdge(doc, Qt::Horizontal, 100, CanvasResizeMode::MarginOnly), 5000);
}

TEST_F(CanvasResizeTest, TheQuestionAnswersTheMode) {
    for (const auto& [answer, mode] :
         {std::pair{kResultYes, std::optional{CanvasResizeMode::ScaleNodes}},
          std::pair{kResultNo, std::optional{CanvasResizeMode::MarginOnly}},
          std::pair{kResultCancel, std::optional<CanvasResizeMode>{}}}) {
        messages.QueueAnswer(answer);
        EXPECT_EQ(AskCanvasResizeMode(nullptr), mode);
    }
    EXPECT_EQ(messages.Texts().back(), LoadString(kMsgAutoAdjustPositions));
}

}  // namespace
}  // namespace tessaly
