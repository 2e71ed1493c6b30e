#include "commands/node_order.h"

#include <vector>

#include "commands/node_visibility.h"
#include "commands/selection_edit_test.h"
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

    // The original index of each record, in table order.
    std::vector<int> Order() const {
        std::vector<int> order;
        for (int i = 0; i < doc.State().nodeCount; ++i)
            order.push_back(doc.Node(i).Left() / 10);
        return order;
    }
    std::vector<int> SelectedMarks() const {
        std::vector<int> marks;
        for (int i = 0; i < doc.State().nodeCount; ++i)
            marks.push_back(doc.Mark(i).selected);
        return marks;
    }
};

TEST_F(NodeOrderTest, SelectedNodesGoToOneEndWithTheirMarks) {
    struct Row {
        StackEnd end;
        std::vector<int> order;
        std::vector<int> marks;
        int main;
    };
    for (const Row& row : {Row{StackEnd::Front, {0, 2, 4, 1, 3}, {0, 0, 0, 1, 1}, 4},
                           Row{StackEnd::Back, {1, 3, 0, 2, 4}, {1, 1, 0, 0, 0}, 0}}) {
        SetUp();
        Select({1, 3}, 1);
        ASSERT_TRUE(RestackSelected(edited, row.end));
        EXPECT_EQ(Order(), row.order);
        EXPECT_EQ(SelectedMarks(), row.marks);
        EXPECT_EQ(doc.State().mainSelection, row.main);
        EXPECT_EQ(edited.UndoCount(), 0);
        EXPECT_TRUE(doc.IsModified());
    }
}

TEST_F(NodeOrderTest, AHiddenNodeStopsTheStackingWithAMessage) {
    Select({1, 3}, 1);
    doc.Node(2).visible = 0;
    for (const StackEnd end : {StackEnd::Front, StackEnd::Back}) {
        EXPECT_FALSE(RestackSelected(edited, end));
        EXPECT_EQ(Order(), (std::vector{0, 1, 2, 3, 4}));
        EXPECT_EQ(doc.State().mainSelection, 1);
    }
    EXPECT_EQ(messages.Texts(),
              (std::vector{LoadString(kMsgSwapFailed), LoadString(kMsgSwapFailed)}));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(NodeOrderTest, SwapNeedsExactlyTwoSelectedAndKeepsTheMainIndex) {
    Select({1, 2, 3}, 3);
    EXPECT_FALSE(SwapSelected(edited));
    EXPECT_EQ(Order(), (std::vector{0, 1, 2, 3, 4}));

    doc.Mark(2).selected = 0;
    ASSERT_TRUE(SwapSelected(edited));
    EXPECT_EQ(Order(), (std::vector{0, 3, 2, 1, 4}));
    EXPECT_EQ(SelectedMarks(), (std::vector{0, 1, 0, 1, 0}));
    EXPECT_EQ(doc.State().mainSelection, 3);  // now the other node
    EXPECT_FALSE(doc.Node(kScratchRecord).picture);
    EXPECT_EQ(edited.UndoCount(), 0);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(NodeOrderTest, HidingKeepsTheMainSelectionAndShowingKeepsTheMarks) {
    Select({1, 3}, 3);
    HideSelected(edited);
    EXPECT_EQ(doc.Node(3).visible, 0);
    EXPECT_EQ(SelectedMarks(), (std::vector{0, 0, 0, 0, 0}));
    EXPECT_EQ(doc.State().mainSelection, 3);

    doc.Mark(0).selected = 1;
    ShowAllNodes(edited);
    EXPECT_EQ(doc.Node(1).visible, 1);
    EXPECT_EQ(doc.Node(3).visible, 1);
    EXPECT_EQ(SelectedMarks(), (std::vector{1, 0, 0, 0, 0}));
    EXPECT_EQ(edited.UndoCount(), 0);
}

}  // namespace
}  // namespace tessaly
