#include "edits/node_order.h"

#include <functional>
#include <vector>

#include "edits/node_visibility.h"
#include "edits/selection_edit_test.h"
#include "resources/string_table.h"

namespace tessaly {
namespace {

class NodeOrderTest : public test::SelectionEditTest {
protected:
    // Five nodes told apart by their left edge: node i starts at 10 i.
    void SetUp() override {
        SelectionEditTest::SetUp();
        for (int i = 0; i < 5; ++i)
            Add(10 * i, 0, 10, 10);
    }
    // The original index of each record and its selection mark, in table order.
    std::vector<std::pair<int, int>> Table() const {
        std::vector<std::pair<int, int>> table;
        for (int i = 0; i < doc.State().nodeCount; ++i)
            table.emplace_back(doc.Node(i).Left() / 10, doc.Mark(i).selected);
        return table;
    }
};

TEST_F(NodeOrderTest, SelectedNodesGoToOneEndWithTheirMarksAndASwapExchangesTwo) {
    struct Row {
        std::function<bool()> command;
        std::vector<std::pair<int, int>> table;
        int main;
    };
    const Row rows[] = {
        {[&] { return RestackSelected(edited, StackEnd::Front); },
         {{0, 0}, {2, 0}, {4, 0}, {1, 1}, {3, 1}},
         4},
        {[&] { return RestackSelected(edited, StackEnd::Back); },
         {{1, 1}, {3, 1}, {0, 0}, {2, 0}, {4, 0}},
         0},
        // The main selection keeps its index and so names the other node.
        {[&] { return SwapSelected(edited); }, {{0, 0}, {3, 1}, {2, 0}, {1, 1}, {4, 0}}, 1},
    };
    for (const Row& row : rows) {
        SetUp();
        Select({1, 3}, 1);
        ASSERT_TRUE(row.command());
        EXPECT_EQ(Table(), row.table);
        EXPECT_EQ(doc.State().mainSelection, row.main);
        EXPECT_EQ(edited.UndoCount(), 0);
    }
    EXPECT_FALSE(doc.Node(kScratchRecord).picture);
}

TEST_F(NodeOrderTest, AHiddenNodeStopsTheStackingAndThreeSelectedStopTheSwap) {
    Select({1, 2, 3}, 1);
    EXPECT_FALSE(SwapSelected(edited));
    EXPECT_TRUE(messages.Texts().empty());
    doc.Node(4).visible = 0;
    EXPECT_FALSE(RestackSelected(edited, StackEnd::Front));
    EXPECT_EQ(messages.Texts(), std::vector{LoadString(kMsgSwapFailed)});
    EXPECT_EQ(Table(), (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 0}}));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(NodeOrderTest, HidingKeepsTheMainSelectionAndShowingKeepsTheMarks) {
    Select({1, 3}, 3);
    HideSelected(edited);
    EXPECT_EQ(std::pair(doc.Node(3).visible, doc.State().mainSelection), std::pair(0, 3));
    doc.Mark(0).selected = 1;
    ShowAllNodes(edited);
    EXPECT_EQ(Table(), (std::vector<std::pair<int, int>>{{0, 1}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    EXPECT_EQ(doc.Node(3).visible, 1);
}

}  // namespace
}  // namespace tessaly
