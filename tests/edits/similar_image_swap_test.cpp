#include "edits/similar_image_swap.h"

#include <array>
#include <vector>

#include "edits/selection_edit_test.h"

namespace tessaly {
namespace {

// Node 0 holds the place; node 1 is placed elsewhere with another size and
// cell colour, node 2 is unplaced (hidden, centre x 0).
class SimilarImageSwapTest : public test::SelectionEditTest {
protected:
    void SetUp() override {
        SelectionEditTest::SetUp();
        Add(80, 40, 40, 20);    // place (100, 50), 20 x 10 half
        Add(285, 175, 30, 50);  // place (300, 200), 15 x 25 half
        Add(0, 0, 10, 12);
        doc.Node(2).centerX = 0;
        doc.Node(2).centerY = 77;
        doc.Node(2).visible = 0;
        Select({0}, 0);
    }

    // Per node: centre x, centre y, half width, half height, shown, cell colour, selected.
    using Place = std::array<int, 7>;
    std::vector<Place> Places() const {
        std::vector<Place> places;
        for (int i = 0; i < 3; ++i) {
            const NodeRecord& n = doc.Node(i);
            places.push_back({n.centerX, n.centerY, n.halfWidth, n.halfHeight, n.visible,
                              int(n.cellColor), doc.Mark(i).selected});
        }
        return places;
    }
};

TEST_F(SimilarImageSwapTest, EachTryIsOneUndoStepAndTheEarlierCandidateGoesBack) {
    std::vector<Place> start = Places();
    const Place cell = start[0], elsewhere = start[1], unplaced = start[2];
    // The unplaced node takes the place, shown and selected; node 0 is hidden
    // in its stead. The selection marks go with the places.
    ASSERT_TRUE(TrySimilarImage(edited, 0, -1, 2));
    std::vector<Place> withUnplaced = {unplaced, elsewhere, cell};
    EXPECT_EQ(Places(), withUnplaced);
    EXPECT_EQ(doc.State().mainSelection, 2);

    // Node 2 goes back where it was before node 1 takes the place.
    ASSERT_TRUE(TrySimilarImage(edited, 0, 2, 1));
    EXPECT_EQ(Places(), (std::vector<Place>{elsewhere, cell, unplaced}));
    EXPECT_EQ(doc.State().mainSelection, 1);
    EXPECT_EQ(edited.UndoCount(), 2);

    // Nothing to do: the candidate is already in the place, or out of the table.
    EXPECT_FALSE(TrySimilarImage(edited, 0, 1, 1));
    EXPECT_FALSE(TrySimilarImage(edited, 0, 1, 3));
    EXPECT_EQ(edited.UndoCount(), 2);

    edited.Undo();  // which leaves nothing selected
    withUnplaced[2][6] = start[0][6] = 0;
    EXPECT_EQ(Places(), withUnplaced);

    // Giving the place back to node 0 restores the start.
    ASSERT_TRUE(TrySimilarImage(edited, 0, 2, 0));
    EXPECT_EQ(Places(), start);
}

}  // namespace
}  // namespace tessaly
