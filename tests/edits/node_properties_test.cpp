#include "edits/node_properties.h"

#include "edits/selection_edit_test.h"
#include "resources/string_table.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

TEST(NodePropertyRules, RatiosAndButtonStates) {
    struct Row {
        QSize boxes, shown, picture;
        SizeRatios ratios;
        ImageButtonStates buttons;
    };
    const Row rows[] = {
        {{320, 240}, {320, 240}, {640, 480}, {50, 50}, {true, false, true}},
        {{640, 480}, {640, 480}, {640, 480}, {100, 100}, {false, false, false}},
        {{300, 300}, {300, 300}, {640, 480}, {46, 62}, {true, true, true}},
        // Typed numbers count for the ratios, the node's size for the aspect.
        {{640, 480}, {300, 300}, {640, 480}, {100, 100}, {false, false, false}},
        {{100, 100}, {100, 100}, {0, 0}, {0, 0}, {true, true, true}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(RatiosOf(row.boxes, row.picture), row.ratios) << row.boxes.width();
        EXPECT_EQ(ImageButtonsFor(row.boxes, row.shown, row.picture), row.buttons)
            << row.boxes.width();
    }
}

TEST(NodePropertyRules, ActualAndAspectSizes) {
    const QSize canvas(1000, 1000);
    EXPECT_EQ(ActualSize({640, 480}, canvas), QSize(640, 480));
    EXPECT_EQ(ActualSize({2000, 1500}, canvas), QSize(1000, 1000));
    EXPECT_EQ(ActualSize({4, 1200}, canvas), QSize(10, 1000));

    struct Row {
        QSize shown;
        AspectBasis basis;
        std::optional<QSize> result;
    };
    const Row rows[] = {
        {{300, 300}, AspectBasis::Width, QSize(300, 225)},
        {{300, 300}, AspectBasis::Height, QSize(400, 300)},
        {{320, 240}, AspectBasis::Width, std::nullopt},
        {{0, 240}, AspectBasis::Height, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(AspectSize(row.shown, {640, 480}, row.basis), row.result) << row.shown.width();
    }
}

TEST(NodePropertyRules, OnlyTheCornerOfTheSectionGridHasSwatches) {
    NodeRecord node{};
    for (int k = 0; k < kMaxSections; ++k) node.avgRed[k] = static_cast<std::uint8_t>(k);
    int painted = 0;
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 5; ++column) {
            const std::optional<QRgb> colour = SwatchColour(node, 9, row, column);
            EXPECT_EQ(colour.has_value(), row < 3 && column < 3);
            if (colour) {
                EXPECT_EQ(qRed(*colour), row * 3 + column);
            }
            painted += colour.has_value();
        }
    }
    EXPECT_EQ(painted, 9);
}

class NodePropertiesTest : public test::SelectionEditTest {
protected:
    int AddPictureNode(int width, int height, const QByteArray& encoded) {
        const int i = Add(100, 100, width, height, encoded);
        Select({i}, i);
        return i;
    }
};

TEST_F(NodePropertiesTest, OpeningTakesTheSnapshotBelowTheNodeLimitOnly) {
    struct Row {
        int nodes;
        int undoSteps;
    };
    for (const Row row : {Row{1999, 1}, Row{2000, 0}}) {
        ASSERT_TRUE(doc.ResetDocument());
        edited.ResetHistory();
        AddPictureNode(320, 240, test::JpegBytes(64, 48));
        doc.State().nodeCount = row.nodes;  // empty records above the first
        {
            NodeProperties properties(edited);
            ASSERT_TRUE(properties.IsOpen());
            properties.MoveBy(-1, 0);
            EXPECT_TRUE(doc.IsModified());  // shown at once, before the end
        }
        EXPECT_EQ(edited.UndoCount(), row.undoSteps) << row.nodes;
    }
    // Nothing changed, nothing to undo; no picture, no dialog.
    {
        NodeProperties properties(edited);
    }
    EXPECT_EQ(edited.UndoCount(), 0);
    doc.Pictures().Release(doc.Node(0).picture);
    EXPECT_FALSE(NodeProperties(edited).IsOpen());
}

TEST_F(NodePropertiesTest, ResamplingAndItsUndo) {
    const QByteArray original = test::JpegBytes(64, 48);
    const int i = AddPictureNode(300, 300, original);
    const auto averages = doc.Node(i).avgGreen[0];
    NodeProperties properties(edited);

    EXPECT_EQ(properties.ResampleToShown(AspectBasis::Width, nullptr), QSize(300, 225));
    EXPECT_EQ(properties.PictureSize(), QSize(300, 225));
    EXPECT_EQ(ImageButtonsFor({300, 225}, properties.Shown(), properties.PictureSize()),
              (ImageButtonStates{false, false, false}));
    EXPECT_EQ(doc.Node(i).avgGreen[0], averages);
    ASSERT_TRUE(properties.CanUndoResample());

    EXPECT_TRUE(properties.UndoResample());
    EXPECT_EQ(properties.Picture()->Encoded(), original);
    EXPECT_EQ(properties.Shown(), QSize(300, 224));  // half sizes stay
    EXPECT_FALSE(properties.CanUndoResample());
    EXPECT_FALSE(properties.UndoResample());
}

TEST_F(NodePropertiesTest, AFailedResamplingKeepsThePicture) {
    const int i = AddPictureNode(100, 100, test::PngDeclaringSize(200, 200));
    NodeProperties properties(edited);

    EXPECT_EQ(properties.ResampleToShown(AspectBasis::Width, nullptr), std::nullopt);

    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgImageGetFailed)});
    EXPECT_EQ(properties.PictureSize(), QSize(200, 200));
    EXPECT_EQ(properties.Shown(), QSize(100, 100));
    EXPECT_NE(doc.Picture(doc.Node(i).picture), nullptr);
}

TEST_F(NodePropertiesTest, SizeCommandsKeepTheNodeInsideTheCanvas) {
    const int i = Add(900, 900, 100, 100, test::JpegBytes(640, 480));
    Select({i}, i);
    NodeProperties properties(edited);

    EXPECT_EQ(properties.MakeActualSize(), QSize(640, 480));
    EXPECT_EQ(doc.Node(i).Left(), 360);
    EXPECT_EQ(doc.Node(i).Top(), 520);
    EXPECT_EQ(properties.MatchAspect(AspectBasis::Height), std::nullopt);
}

}  // namespace
}  // namespace tessaly
