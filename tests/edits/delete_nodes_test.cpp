#include "edits/delete_nodes.h"

#include <vector>

#include "edits/selection_edit_test.h"
#include "resources/string_table.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

class DeleteNodesTest : public test::SelectionEditTest {
protected:
    // Five nodes told apart by their left edge (10 i), each with a picture
    // of its own width (8 + i).
    void SetUp() override {
        SelectionEditTest::SetUp();
        for (int i = 0; i < 5; ++i)
            Add(10 * i, 0, 10, 10, test::JpegBytes(8 + i, 8));
    }
    std::vector<int> Lefts() const {
        std::vector<int> lefts;
        for (int i = 0; i < doc.State().nodeCount; ++i)
            lefts.push_back(doc.Node(i).Left());
        return lefts;
    }
    // Asks, then deletes on Yes, as the command does.
    void DeleteAnswering(int answer) {
        messages.QueueAnswer(answer);
        if (AskDeleteSelected(doc)) DeleteSelected(edited);
    }
};

TEST_F(DeleteNodesTest, TheQuestionComesFirstAndNoLeavesEverything) {
    struct Row {
        int answer;
        bool hidden;  // the selected nodes are hidden: none counts as selected
        std::vector<int> lefts;
        int undoSteps;
    };
    for (const Row& row :
         {Row{kResultNo, false, {0, 10, 20, 30, 40}, 0},
          Row{kResultYes, true, {0, 10, 20, 30, 40}, 1}, Row{kResultYes, false, {0, 20, 40}, 1}}) {
        SetUp();
        messages.Clear();
        Select({1, 3}, 3);
        for (const int i : {1, 3})
            doc.Node(i).visible = row.hidden ? 0 : 1;
        const int before = edited.UndoCount();
        DeleteAnswering(row.answer);
        EXPECT_EQ(messages.Texts(), std::vector{LoadString(kMsgConfirmDelete)});
        EXPECT_EQ(Lefts(), row.lefts);
        EXPECT_EQ(edited.UndoCount() - before, row.undoSteps);
    }
}

TEST_F(DeleteNodesTest, KeptNodesCloseUpInOrderWithPicturesOfTheirOwn) {
    // Node 4 shares node 2's picture.
    doc.Pictures().Release(doc.Node(4).picture);
    doc.Node(4).picture = doc.Node(2).picture;
    Select({0, 3}, 0);
    DeleteAnswering(kResultYes);

    EXPECT_EQ(Lefts(), (std::vector{10, 20, 40}));
    EXPECT_EQ(doc.Pictures().Size(), 3u);
    const int widths[] = {9, 10, 10};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(doc.Picture(doc.Node(i).picture), nullptr);
        EXPECT_EQ(doc.Picture(doc.Node(i).picture)->PixelSize().width(), widths[i]);
        EXPECT_EQ(doc.Mark(i).selected, 0);
    }
    EXPECT_NE(doc.Node(1).picture, doc.Node(2).picture);
    EXPECT_EQ(doc.State().mainSelection, -1);
    ASSERT_TRUE(edited.Undo());
    EXPECT_EQ(Lefts(), (std::vector{0, 10, 20, 30, 40}));
}

}  // namespace
}  // namespace tessaly
