#include "commands/display_edits.h"

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

// Hidden nodes come back at the canvas origin; shown ones stay where they
// are. With nothing hidden the document is left unmodified.
TEST_F(DisplayEditsTest, ShowUnplacedBringsBackHiddenNodesAtTheOrigin) {
    const int shown = test::AddNode(doc, 300, 200, 20, 10, {});
    const int hidden = test::AddNode(doc, 700, 600, 30, 15, {});
    doc.Node(hidden).visible = 0;
    doc.SetModified(false);

    EXPECT_TRUE(ShowUnplacedImages(edited));
    ExpectEdit(true);
    EXPECT_EQ(doc.Node(hidden).visible, 1);
    EXPECT_EQ(doc.Node(hidden).Left(), 0);
    EXPECT_EQ(doc.Node(hidden).Top(), 0);
    EXPECT_EQ(doc.Node(shown).centerX, 300);
    EXPECT_EQ(edited.UndoCount(), 0);

    EXPECT_FALSE(ShowUnplacedImages(edited));
    ExpectEdit(false);
}

}  // namespace
}  // namespace tessaly
