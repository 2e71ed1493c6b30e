#include "commands/random_positions.h"

#include <optional>

#include "commands/selection_edit_test.h"
#include "services/random_generator.h"

namespace tessaly {
namespace {

using RandomPositionsTest = test::SelectionEditTest;

TEST_F(RandomPositionsTest, TheSnapshotStopsAtTheNodeLimit) {
    for (const int nodes : {kSnapshotNodeLimit - 1, kSnapshotNodeLimit}) {
        SetUp();
        for (int i = 0; i < nodes; ++i)
            Add(0, 0, 10, 10);
        Select({0}, 0);
        const int before = edited.UndoCount();
        CrtRandom random(7);
        ASSERT_TRUE(ScatterSelected(edited, random));
        EXPECT_EQ(edited.UndoCount() - before, nodes < kSnapshotNodeLimit ? 1 : 0) << nodes;
    }
}

TEST_F(RandomPositionsTest, NodesLandOnTheCanvasAndOversizedOnesAtItsEdge) {
    doc.State().canvasWidth = 600;
    struct Row {
        int width, height;
        std::optional<int> left, top;  // expected; none for anywhere on the canvas
    };
    const Row rows[] = {
        {100, 100, {}, {}},   {598, 100, {}, {}},  // room for two places
        {600, 100, 0, {}},                         // as wide as the canvas: the left edge
        {800, 100, -200, {}},  // wider: the right edge holds, as keeping on the canvas says
        {100, 1000, {}, 0},   {100, 1400, {}, -400},
    };
    for (const Row& row : rows) {
        for (const std::uint32_t seed : {1u, 2u, 12345u}) {
            SetUp();
            doc.State().canvasWidth = 600;
            const int i = Add(3, 3, row.width, row.height);
            Select({i}, i);
            CrtRandom random(seed);
            ASSERT_TRUE(ScatterSelected(edited, random));
            const NodeRecord& n = doc.Node(i);
            if (row.left) {
                EXPECT_EQ(n.Left(), *row.left);
            } else {
                EXPECT_TRUE(n.Left() >= 0 && n.Left() + n.Width() <= 600) << n.Left();
            }
            if (row.top) {
                EXPECT_EQ(n.Top(), *row.top);
            } else {
                EXPECT_TRUE(n.Top() >= 0 && n.Top() + n.Height() <= 1000) << n.Top();
            }
            EXPECT_EQ(n.Width(), row.width);
        }
    }
}

TEST_F(RandomPositionsTest, NothingMovesWithoutAMainSelection) {
    Add(3, 3, 10, 10);
    CrtRandom random;
    EXPECT_FALSE(ScatterSelected(edited, random));
    EXPECT_EQ(doc.Node(0).Left(), 3);
    EXPECT_EQ(random.State(), 1u);
}

}  // namespace
}  // namespace tessaly
