#include "edits/display_edits.h"

#include <gtest/gtest.h>

#include "document/edited_document.h"
#include "support/document_builder.h"

namespace tessaly {
namespace {

class DisplayEditsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.ResetDocument());
        doc.SetModified(false);
        QObject::connect(&edited, &EditedDocument::documentChanged, [this] { ++changed; });
    }

    // Whether the last edit counted: the document modified and notified once.
    void ExpectEdit(bool made) {
        EXPECT_EQ(doc.IsModified(), made);
        EXPECT_EQ(changed, made ? 1 : 0);
        doc.SetModified(false);
        changed = 0;
    }

    EditedDocument edited;
    Document& doc = edited.Doc();
    int changed = 0;
};

// Steps and the track bar stay within 1..7; a step at a bound is no edit.
// None of them can be undone.
TEST_F(DisplayEditsTest, BrightnessStaysWithinItsLevels) {
    const struct {
        int from;
        int step;  // 0: the track bar sets `set`
        int set;
        int stored;
    } cases[] = {{4, -1, 0, 3}, {4, 1, 0, 5}, {1, -1, 0, 1}, {7, 1, 0, 7},
                 {4, 0, 7, 7},  {4, 0, 9, 7}, {4, 0, -3, 1}, {2, 0, 2, 2}};
    for (const auto& c : cases) {
        doc.State().backBrightness = c.from;
        const int stored =
            c.step != 0 ? StepBackBrightness(edited, c.step) : SetBackBrightness(edited, c.set);
        EXPECT_EQ(stored, c.stored) << c.from << " " << c.step << " " << c.set;
        EXPECT_EQ(doc.State().backBrightness, c.stored);
        ExpectEdit(c.stored != c.from);
    }
    EXPECT_EQ(edited.UndoCount(), 0);
}

// Hidden nodes come back at the canvas origin and become the selection, the
// first of them main; shown ones stay where they are and are deselected.
// With nothing hidden the document and the selection are left alone.
TEST_F(DisplayEditsTest, ShowUnplacedBringsBackHiddenNodesAtTheOriginSelected) {
    const int shown = test::AddNode(doc, 300, 200, 20, 10, {});
    const int hidden = test::AddNode(doc, 700, 600, 30, 15, {});
    const int alsoHidden = test::AddNode(doc, 90, 80, 25, 5, {});
    doc.Node(hidden).visible = 0;
    doc.Node(alsoHidden).visible = 0;
    doc.Mark(shown).selected = 1;
    doc.State().mainSelection = shown;
    doc.SetModified(false);

    EXPECT_EQ(ShowUnplacedImages(edited), 2);
    ExpectEdit(true);
    EXPECT_EQ(doc.Node(hidden).visible, 1);
    EXPECT_EQ(doc.Node(hidden).Left(), 0);
    EXPECT_EQ(doc.Node(hidden).Top(), 0);
    EXPECT_EQ(doc.Node(alsoHidden).centerX, 25);
    EXPECT_EQ(doc.Node(alsoHidden).centerY, 5);
    EXPECT_EQ(doc.Node(shown).centerX, 300);
    EXPECT_FALSE(doc.IsSelected(shown));
    EXPECT_TRUE(doc.IsSelected(hidden));
    EXPECT_TRUE(doc.IsSelected(alsoHidden));
    EXPECT_EQ(doc.State().mainSelection, hidden);
    EXPECT_EQ(edited.UndoCount(), 0);

    doc.Mark(hidden).selected = 0;
    EXPECT_EQ(ShowUnplacedImages(edited), 0);
    ExpectEdit(false);
    EXPECT_FALSE(doc.IsSelected(hidden));
    EXPECT_EQ(doc.State().mainSelection, hidden);
}

}  // namespace
}  // namespace tessaly
