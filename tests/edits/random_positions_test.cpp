#include "edits/random_positions.h"

#include <algorithm>
#include <optional>

#include "edits/selection_edit_test.h"
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
    struct Row {
        int width, height;
        std::optional<int> left, top;  // none: anywhere wholly on the 600 x 1000 canvas
    };
    const Row rows[] = {
        {598, 100, {}, {}},    // room for two places
        {600, 100, 0, {}},     // as wide as the canvas: the left edge
        {800, 100, -200, {}},  // wider: the right edge holds, as keeping on the canvas says
        {100, 1400, {}, -400},
    };
    for (const Row& row : rows) {
        for (const std::uint32_t seed : {1u, 12345u}) {
            SetUp();
            doc.State().canvasWidth = 600;
            Select({Add(3, 3, row.width, row.height)}, 0);
            CrtRandom random(seed);
            ASSERT_TRUE(ScatterSelected(edited, random));
            const NodeRecord& n = doc.Node(0);
            EXPECT_EQ(n.Left(), row.left.value_or(std::clamp(n.Left(), 0, 600 - n.Width())));
            EXPECT_EQ(n.Top(), row.top.value_or(std::clamp(n.Top(), 0, 1000 - n.Height())));
        }
    }
}

}  // namespace
}  // namespace tessaly
