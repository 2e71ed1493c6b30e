#include "services/status_service.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "document/status_panes.h"
#include "support/status_recorder.h"

namespace tessaly {
namespace {

TEST(FormatThousands, GroupsFourToNineDigitsAndNotTheSign) {
    const std::pair<const char*, const char16_t*> rows[] = {{"0", u"0"},
                                                            {"999", u"999"},
                                                            {"1234", u"1,234"},
                                                            {"123456", u"123,456"},
                                                            {"1234567", u"1,234,567"},
                                                            {"123456789", u"123,456,789"},
                                                            {"1234567890", u"1234567890"},
                                                            {"-123", u"-123"},
                                                            {"-1234", u"-1,234"}};
    for (const auto& [digits, grouped] : rows) {
        EXPECT_EQ(FormatThousands(QString::fromLatin1(digits)), QString::fromUtf16(grouped))
            << digits;
    }
    EXPECT_EQ(FormatThousands(qint64{9000}), u"9,000");
}

class RefreshStatusPanesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.AllocateNodeTables()); }

    void AddNode(int centerX, int centerY, int halfWidth, int halfHeight) {
        NodeRecord& node = doc.Node(doc.State().nodeCount++);
        node.centerX = centerX;
        node.centerY = centerY;
        node.halfWidth = halfWidth;
        node.halfHeight = halfHeight;
        node.visible = 1;
    }

    test::StatusRecorder status;
    Document doc;
};

TEST_F(RefreshStatusPanesTest, PanesShowTheCountAndTheMainSelectionsEdgesAndSize) {
    AddNode(100, 80, 30, 20);
    doc.State().nodeCount = 1000;  // records without pictures
    doc.State().mainSelection = 0;
    RefreshStatusPanes(doc);
    EXPECT_EQ(status.Pane(StatusPane::kObject), u"1,000");
    EXPECT_EQ(status.Pane(StatusPane::kPos), u"70, 60");
    EXPECT_EQ(status.Pane(StatusPane::kSize), u"60×40");

    // Cleared, without a main selection, or with a stale one beyond the
    // nodes in use: no position and no size.
    struct Row {
        int mainSelection;
        bool clear;
    };
    for (const Row row : {Row{0, true}, Row{-1, false}, Row{1000, false}}) {
        RefreshStatusPanes(doc);
        doc.State().mainSelection = row.mainSelection;
        RefreshStatusPanes(doc, row.clear);
        EXPECT_EQ(status.Pane(StatusPane::kPos), u"") << row.mainSelection;
        EXPECT_EQ(status.Pane(StatusPane::kSize), u"") << row.mainSelection;
        EXPECT_EQ(status.Pane(StatusPane::kObject), u"1,000");
        doc.State().mainSelection = 0;
    }
}

TEST(StatusServices, CallsBeforeTheStatusBarExistsAreSkipped) {
    Document doc;
    ASSERT_FALSE(HasStatusSink());
    RefreshStatusPanes(doc);
    SetStatusInfo(QStringLiteral("x"));
    StatusProgress progress(10);
    progress.SetPos(3);
}

TEST(StatusServices, ProgressReturnsToZeroHoweverTheOperationEnds) {
    test::StatusRecorder status;
    auto operation = [](int stopAt) {
        StatusProgress progress(100);
        for (int i = 0; i < 100; ++i) {
            if (i == stopAt) return;
            progress.SetPos(i + 1);
        }
    };
    operation(40);
    EXPECT_EQ(status.Range(), (std::pair{0, 100}));
    ASSERT_FALSE(status.ProgressValues().empty());
    EXPECT_EQ(status.ProgressValues().front(), 0);
    EXPECT_EQ(status.ProgressValues()[40], 40);
    EXPECT_EQ(status.ProgressValues().back(), 0);
}

}  // namespace
}  // namespace tessaly
