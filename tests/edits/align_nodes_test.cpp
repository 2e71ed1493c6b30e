#include "edits/align_nodes.h"

#include <array>
#include <vector>

#include "edits/selection_edit_test.h"

namespace tessaly {
namespace {

using Box = std::array<int, 4>;  // left, top, width, height
using AlignNodesTest = test::SelectionEditTest;

TEST_F(AlignNodesTest, EveryNodeMovesOrGrowsAsItsCommandSays) {
    struct Row {
        Alignment alignment;
        std::vector<Box> nodes;  // all selected, the first is main
        std::vector<Box> expected;
        float zoom = 1.0f;
    };
    const Row rows[] = {
        // Edges: one axis changes, whatever the old position.
        {Alignment::Left,
         {{100, 0, 100, 50}, {470, 33, 60, 20}},
         {{100, 0, 100, 50}, {100, 33, 60, 20}}},
        {Alignment::Bottom,
         {{100, 10, 100, 50}, {470, 33, 60, 20}},
         {{100, 10, 100, 50}, {470, 40, 60, 20}}},
        // Centring: 100..400 on a canvas 1000 high moves both down by 250; at
        // zoom 0.5 the canvas is 500 view pixels and 50..150 becomes 200..300.
        {Alignment::CentreVertical,
         {{0, 100, 50, 300}, {60, 150, 50, 100}},
         {{0, 350, 50, 300}, {60, 400, 50, 100}}},
        {Alignment::CentreHorizontal, {{100, 0, 200, 10}}, {{400, 0, 200, 10}}, 0.5f},
        // Equal spacing: gap (100 + 400 - 300 - 0) / 2 = 100; the ends stay.
        {Alignment::SpaceVertical,
         {{0, 400, 10, 100}, {0, 0, 10, 100}, {0, 50, 10, 100}},
         {{0, 400, 10, 100}, {0, 0, 10, 100}, {0, 200, 10, 100}}},
        // Equal starts keep index order: node 1 (after node 0) is the one that moves.
        {Alignment::SpaceHorizontal,
         {{0, 0, 100, 10}, {0, 0, 100, 10}, {400, 0, 100, 10}},
         {{0, 0, 100, 10}, {200, 0, 100, 10}, {400, 0, 100, 10}}},
        // Nodes wholly above the canvas are spaced like any others.
        {Alignment::SpaceVertical,
         {{0, -300, 10, 50}, {0, -250, 10, 50}, {0, -100, 10, 50}},
         {{0, -300, 10, 50}, {0, -200, 10, 50}, {0, -100, 10, 50}}},
        // Sizes keep the left and top edges: 10 + 80 / 2 gives the centre 50.
        {Alignment::SameWidth,
         {{0, 0, 80, 40}, {10, 5, 30, 30}},
         {{0, 0, 80, 40}, {10, 5, 80, 30}}},
        {Alignment::SameSize, {{0, 0, 80, 40}, {10, 5, 30, 30}}, {{0, 0, 80, 40}, {10, 5, 80, 40}}},
    };
    for (const Row& row : rows) {
        SetUp();
        doc.State().zoom = row.zoom;
        for (const Box& b : row.nodes)
            Select({Add(b[0], b[1], b[2], b[3])}, 0);
        ASSERT_TRUE(AlignSelected(edited, row.alignment));
        for (std::size_t i = 0; i < row.expected.size(); ++i) {
            const NodeRecord& n = doc.Node(static_cast<int>(i));
            EXPECT_EQ((Box{n.Left(), n.Top(), n.Width(), n.Height()}), row.expected[i])
                << static_cast<int>(row.alignment) << " node " << i;
        }
    }
}

TEST_F(AlignNodesTest, TheSnapshotNeedsAMainSelectionButNoChange) {
    const int a = Add(0, 0, 10, 10);
    const int b = Add(50, 50, 10, 10);
    EXPECT_FALSE(AlignSelected(edited, Alignment::Left));
    EXPECT_EQ(edited.UndoCount(), 0);
    Select({a}, a);
    EXPECT_TRUE(AlignSelected(edited, Alignment::SpaceVertical));  // too few to space
    EXPECT_TRUE(AlignSelected(edited, Alignment::Left));
    EXPECT_EQ(doc.Node(b).Left(), 50);  // not selected
    EXPECT_EQ(edited.UndoCount(), 2);
}

}  // namespace
}  // namespace tessaly
