#include "edits/console_run.h"

#include <gtest/gtest.h>

#include "edits/console_values.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "support/document_builder.h"
#include "support/message_recorder.h"
#include "support/status_recorder.h"
#include "support/temp_env.h"

namespace tessaly {
namespace {

TEST(ConsoleValues, EditBoxReadsDigitsClampsAndSaysWhenToRewrite) {
    const struct {
        const char16_t* text;
        int min, max, value;
        bool rewrite;
    } cases[] = {{u"700", 20, 500, 500, true}, {u"abc", 20, 500, 20, true},
                 {u"2", 20, 500, 20, true},    {u"300", 20, 500, 300, false},
                 {u"500", 20, 500, 500, false}, {u"12ab", 1, 100, 12, true},
                 {u"", 0, 100, 0, true},        {u"-5", 0, 100, 0, true},
                 {u"99999999999", 1, 20, 20, true}};
    for (const auto& c : cases) {
        const EditBoxValue read = ReadEditBox(QStringView(c.text), c.min, c.max);
        EXPECT_EQ(read.value, c.value) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(read.rewrite, c.rewrite) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(ConsoleValues, ElapsedTimeWrapsMinutesAtAnHour) {
    EXPECT_EQ(FormatElapsed(75'123), u"01:15 123ms");
    EXPECT_EQ(FormatElapsed(0), u"00:00 000ms");
    EXPECT_EQ(FormatElapsed(3'661'007), u"01:01 007ms");
}

class ConsoleRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.ResetDocument());
        QObject::connect(&edited, &EditedDocument::documentChanged, [this] { ++changed; });
    }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
    test::StatusRecorder status;
    EditedDocument edited;
    Document& doc = edited.Doc();
    int changed = 0;
};

// Type 1 asks before more than 10 sizes, the other types before fewer than
// 10. A run that is not asked about goes on (and here finds no background),
// having stored the display settings.
TEST_F(ConsoleRunTest, SlowSettingsAreAskedAbout) {
    const struct {
        int type, sizes, asked;
    } cases[] = {{1, 11, kMsgLongRunContinue}, {1, 10, kMsgNoBackgroundImage},
                 {3, 9, kMsgSizeStepsAtLeast10}, {3, 10, kMsgNoBackgroundImage}};
    for (const auto& c : cases) {
        ASSERT_TRUE(doc.ResetDocument());
        messages.Clear();
        ConsoleSettings settings;
        settings.mosaicType = c.type;
        settings.sizeSteps = c.sizes;
        settings.display.adjustColors = true;
        RunRearrange(edited, settings, 1);
        ASSERT_FALSE(messages.Messages().empty());
        EXPECT_EQ(messages.Texts().front(), LoadString(c.asked)) << c.type << " " << c.sizes;
        EXPECT_EQ(doc.State().adjustColors, c.asked == kMsgNoBackgroundImage ? 1 : 0);
    }
}

// "No" keeps what was stored before the question, and nothing else.
TEST_F(ConsoleRunTest, NoStoresTheLayoutOnly) {
    test::FillDocument(doc, 4);
    const NodeRecord before = doc.Node(2);
    doc.SetModified(false);
    ConsoleSettings settings;
    settings.gridColumns = 40;
    settings.gridRows = 700;  // kept to 500
    settings.differentColors = true;
    settings.sizeSteps = 11;
    settings.noSetRange = 50;
    settings.display.adjustColors = true;

    const ConsoleRunResult result = RunRearrange(edited, settings, 1);
    EXPECT_FALSE(result.confirmed);
    const DocState& s = doc.State();
    EXPECT_EQ(s.gridColumns, 40);
    EXPECT_EQ(s.gridRows, 500);
    EXPECT_EQ(s.differentColors, 1);
    EXPECT_EQ(s.sizeSteps, 11);
    EXPECT_EQ(s.noSetRange, 5);
    EXPECT_EQ(s.adjustColors, 0);
    EXPECT_EQ(edited.UndoCount(), 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.Node(2).centerX, before.centerX);
    EXPECT_EQ(doc.Node(2).visible, before.visible);
}

// The − button at 1 section and + at 25 do nothing; a track bar put back to
// its position recomputes nothing.
TEST_F(ConsoleRunTest, SectionsChangeOnlyWhenTheCountDoes) {
    const struct {
        int from, step, set, stored;
    } cases[] = {{25, 1, 0, 25}, {1, -1, 0, 1}, {9, 0, 3, 9}, {9, 1, 0, 16}, {4, 0, 5, 25}};
    for (const auto& c : cases) {
        doc.State().sectionCount = c.from;
        changed = 0;
        const std::size_t notes = status.InfoTexts().size();
        if (c.step != 0) StepSectionPosition(edited, c.step);
        else SetSectionPosition(edited, c.set);
        EXPECT_EQ(doc.State().sectionCount, c.stored) << c.from << " " << c.step;
        EXPECT_EQ(changed, c.stored != c.from ? 1 : 0);
        EXPECT_EQ(status.InfoTexts().size() > notes, c.stored != c.from);
    }
}

TEST_F(ConsoleRunTest, ContentRateWithoutBackgroundSaysSo) {
    EXPECT_FALSE(ShowContentRate(doc, 0xFFFFFF));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Texts().front(), LoadString(kMsgNoBackgroundToMeasure));
    EXPECT_EQ(messages.Messages().front().style, int(kStyleStop));
}

}  // namespace
}  // namespace tessaly
