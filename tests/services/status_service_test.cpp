#include "services/status_service.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "support/status_recorder.h"

namespace tessaly {
namespace {

TEST(FormatThousands, GroupsFourToNineDigits) {
    EXPECT_EQ(FormatThousands(QStringLiteral("0")), u"0");
    EXPECT_EQ(FormatThousands(QStringLiteral("999")), u"999");
    EXPECT_EQ(FormatThousands(QStringLiteral("1234")), u"1,234");
    EXPECT_EQ(FormatThousands(QStringLiteral("123456")), u"123,456");
    EXPECT_EQ(FormatThousands(QStringLiteral("1234567")), u"1,234,567");
    EXPECT_EQ(FormatThousands(QStringLiteral("123456789")), u"123,456,789");
    EXPECT_EQ(FormatThousands(QStringLiteral("1234567890")), u"1234567890");
    EXPECT_EQ(FormatThousands(qint64{9000}), u"9,000");
}

TEST(FormatThousands, SignIsNotGroupedAsADigit) {
    EXPECT_EQ(FormatThousands(QStringLiteral("-123")), u"-123");
    EXPECT_EQ(FormatThousands(QStringLiteral("-1234")), u"-1,234");
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

TEST_F(RefreshStatusPanesTest, ObjectPaneGroupsTheNodeCount) {
    for (auto [count, text] : {std::pair{0, u"0"}, std::pair{999, u"999"},
                               std::pair{1000, u"1,000"}, std::pair{9000, u"9,000"}}) {
        doc.State().nodeCount = count;
        RefreshStatusPanes(doc);
        EXPECT_EQ(status.Pane(StatusPane::kObject), text);
    }
}

TEST_F(RefreshStatusPanesTest, MainSelectionShowsItsEdgesAndSize) {
    AddNode(100, 80, 30, 20);
    doc.State().mainSelection = 0;
    RefreshStatusPanes(doc);
    EXPECT_EQ(status.Pane(StatusPane::kPos), u"70, 60");
    EXPECT_EQ(status.Pane(StatusPane::kSize), u"60×40");
}

TEST_F(RefreshStatusPanesTest, ClearOrNoMainSelectionEmptiesPositionAndSize) {
    AddNode(100, 80, 30, 20);
    doc.State().mainSelection = 0;
    RefreshStatusPanes(doc);
    RefreshStatusPanes(doc, true);
    EXPECT_EQ(status.Pane(StatusPane::kPos), u"");
    EXPECT_EQ(status.Pane(StatusPane::kSize), u"");
    EXPECT_EQ(status.Pane(StatusPane::kObject), u"1");

    RefreshStatusPanes(doc);
    doc.State().mainSelection = -1;
    RefreshStatusPanes(doc);
    EXPECT_EQ(status.Pane(StatusPane::kPos), u"");
}

TEST_F(RefreshStatusPanesTest, MainSelectionOutsideTheNodesIsIgnored) {
    doc.State().mainSelection = 5;  // a stale index must not read a record not in use
    RefreshStatusPanes(doc);
    EXPECT_EQ(status.Pane(StatusPane::kPos), u"");
}

TEST(StatusServices, CallsBeforeTheStatusBarExistsAreSkipped) {
    Document doc;
    ASSERT_FALSE(HasStatusSink());
    RefreshStatusPanes(doc);
    SetStatusInfo(QStringLiteral("x"));
    StatusProgress progress(10);
    progress.SetPos(3);
}

TEST(StatusServices, InfoTextReachesTheBar) {
    test::StatusRecorder status;
    SetStatusInfo(QStringLiteral("読み込み中"));
    EXPECT_EQ(status.Info(), u"読み込み中");
    SetStatusInfo({});
    EXPECT_EQ(status.Info(), u"");
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
