#include <QDir>
#include <optional>

#include "canvas/multi_cut_geometry.h"
#include "canvas/multi_cut_grid.h"
#include "canvas/multi_cut_session.h"
#include "services/app_settings.h"
#include "services/settings.h"
#include "support/canvas_document.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// A node of 200 x 100 canvas pixels at (100, 100) with a picture, made the
// main selection, and a settings store of the test's own.
class MultiCutTest : public test::CanvasDocumentTest {
protected:
    void SetUp() override {
        CanvasDocumentTest::SetUp();
        test::AddNode(doc, 200, 150, 100, 50, test::JpegBytes(20, 10));
        Restart(0);
    }
    void TearDown() override { UseSettingsFile({}); }

    // The mode off, node 0 the main selection and an empty settings store
    // (number `store`).
    void Restart(int store) {
        session.Stop();
        doc.Mark(0).selected = 1;
        State().mainSelection = 0;
        UseSettingsFile(QDir(temp.Path()).filePath(QStringLiteral("settings%1.ini").arg(store)));
    }

    test::ScopedTempDir temp;
    AppSettings grid;
    MultiCutSession session;
};

TEST_F(MultiCutTest, StartPlacesTheRectangleFromTheStoredPlacement) {
    struct Row {
        const char* key;  // stored in "Last" before the start; null for none
        int value;
        IntRect expected;
    };
    const Row rows[] = {
        {nullptr, 0, {150, 125, 250, 175}},     // offset (50, 25), 100 x 50: centred
        {"RectPX", 201, {105, 125, 205, 175}},  // beyond the node's width: 5
        {"RectPX", 200, {299, 125, 300, 175}},  // at its width: kept, then inside
        {"RectSX", 180, {150, 125, 299, 175}},  // past the far edge: one pixel short
        {"RectPY", -40, {150, 100, 250, 150}},  // never above the node
    };
    int store = 0;
    for (const Row& row : rows) {
        Restart(++store);
        if (row.key) WriteProfileInt(QStringLiteral("Last"), QLatin1String(row.key), row.value);
        ASSERT_TRUE(session.Start(doc, grid));
        EXPECT_EQ(session.Rect(), row.expected) << (row.key ? row.key : "defaults");
        EXPECT_EQ(session.Highlighted(), CutPart::RightEdge);
        EXPECT_EQ(State().mainSelection, -1);
        EXPECT_EQ(doc.Mark(0).selected, 0);
    }
}

TEST_F(MultiCutTest, CountsAreFittedToTheNodeAtTheStart) {
    struct Row {
        int count;
        float gap;
        int expected;
    };
    // cw = 100, ox = 50 on a node 400 wide.
    const Row rows[] = {
        {5, 0.010f, 3},  // 550 > 400: trunc(350 / 100.01)
        {3, 0.010f, 3},  // 350 fits
        {0, 0.010f, 1},  // a stored count out of range
        {2, 150.0f, 2},  // 250 + 150 fills the node exactly
        {3, 200.0f, 1},  // nothing but one cell fits: never 0
    };
    const CutArea area{{50, 0, 150, 10}, {0, 0, 400, 10}};
    for (const Row& row : rows) {
        grid.multiCntX = row.count;
        grid.multiMaX = row.gap;
        FitGridAtStart(grid, area);
        EXPECT_EQ(grid.multiCntX, row.expected) << row.count << " " << row.gap;
    }
}

TEST_F(MultiCutTest, FractionalGapsAddUpAndAreTruncatedPerCell) {
    const int cw = 37;
    const int expected[] = {0, cw, 2 * cw + 1, 3 * cw + 1, 4 * cw + 2};
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(CellStart(j, cw, GapThousandths(0.5f)), expected[j]) << j;
}

TEST_F(MultiCutTest, TabCyclesTheHighlightedPart) {
    using P = CutPart;
    const struct {
        P from;
        bool backwards;
        P to;
    } rows[] = {
        {P::LeftEdge, false, P::TopEdge},     {P::BottomEdge, false, P::LeftEdge},
        {P::TopRight, false, P::TopEdge},     {P::Whole, false, P::LeftEdge},
        {P::LeftEdge, true, P::BottomEdge},   {P::Whole, true, P::BottomEdge},
        {P::BottomLeft, true, P::BottomEdge},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NextCutPart(row.from, row.backwards), row.to) << static_cast<int>(row.from);
}

TEST_F(MultiCutTest, KeyStepsStayInTheNodeAndNeverCollapse) {
    using P = CutPart;
    const IntRect node{0, 0, 100, 100};
    const struct {
        IntRect rect;
        P part;
        int dx, dy;
        std::optional<IntRect> expected;
    } rows[] = {
        {{10, 10, 20, 20}, P::Whole, 10, 0, IntRect{20, 10, 30, 20}},
        {{85, 10, 95, 20}, P::Whole, 10, 0, std::nullopt},  // would leave the node
        {{10, 10, 15, 20}, P::LeftEdge, 10, 0, IntRect{14, 10, 15, 20}},
        {{10, 10, 20, 13}, P::BottomEdge, 0, -10, IntRect{10, 10, 20, 11}},
        {{10, 10, 11, 20}, P::RightEdge, -1, 0, std::nullopt},  // one pixel wide already
        {{10, 10, 20, 20}, P::LeftEdge, 0, 10, std::nullopt},  // not its axis
        {{5, 5, 20, 20}, P::TopLeft, -10, -10, IntRect{0, 0, 20, 20}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SteppedCutRect(row.rect, row.part, row.dx, row.dy, node), row.expected)
            << static_cast<int>(row.part);
}

TEST_F(MultiCutTest, RangeCommands) {
    const IntRect node{0, 0, 100, 100};
    EXPECT_EQ(NarrowedCutRect({0, 0, 9, 30}), std::nullopt);
    EXPECT_EQ(NarrowedCutRect({0, 0, 10, 10}), (IntRect{1, 1, 9, 9}));
    EXPECT_EQ(WidenedCutRect({0, 5, 20, 30}, node), (IntRect{0, 4, 21, 31}));
    EXPECT_EQ(WidenedCutRect(node, node), std::nullopt);
}

TEST_F(MultiCutTest, HitTestAndDrag) {
    const IntRect d{100, 100, 200, 150};
    using P = CutPart;
    const std::pair<QPoint, P> hits[] = {
        {{103, 103}, P::TopLeft}, {{198, 152}, P::BottomRight}, {{96, 120}, P::LeftEdge},
        {{150, 104}, P::TopEdge}, {{150, 120}, P::Whole},       {{150, 160}, P::None},
        {{103, 104}, P::LeftEdge},  // 5 pixels from the corner: no longer the corner
    };
    for (const auto& [p, part] : hits)
        EXPECT_EQ(CutPartAt(p, d), part) << p.x() << "," << p.y();

    // At zoom 2 a drag of the right edge far left keeps 10 display pixels.
    const IntRect node{0, 0, 300, 300};
    EXPECT_EQ(DraggedCutRect({50, 50, 150, 100}, P::RightEdge, {-400, 0}, 2.0f, node),
              (IntRect{50, 50, 55, 100}));
    EXPECT_EQ(DraggedCutRect({50, 50, 150, 100}, P::Whole, {1000, -40}, 2.0f, node),
              (IntRect{200, 30, 300, 80}));
}

TEST_F(MultiCutTest, GridChangesFollowTheFittingRule) {
    // cw = ch = 100, offset 0, node 350 x 350.
    const CutArea area{{0, 0, 100, 100}, {0, 0, 350, 350}};
    const struct {
        int columnsBefore;
        GridValue which;
        float value;
        bool on;
        bool accepted;
        int columns;
        float gapX;
    } rows[] = {
        {2, GridValue::Columns, 3, true, true, 3, 0.0f},
        {2, GridValue::Columns, 4, true, false, 3, 0.0f},        // corrected to what fits
        {2, GridValue::Columns, 4, false, false, 4, 0.0f},       // mode off: kept
        {2, GridValue::GapX, -1.0f, true, false, 2, 0.0f},       // ignored
        {2, GridValue::GapX, 80.0f, true, true, 2, 50.0f},       // bounded to 50
        {3, GridValue::GapX, 30.0f, true, false, 3, 50.0f / 3},  // 360 > 350: fitted
    };
    for (const auto& row : rows) {
        grid.multiCntX = row.columnsBefore;
        grid.multiMaX = 0.0f;
        grid.multiMaY = 0.0f;
        const bool accepted =
            ChangeGrid(grid, row.which, row.value, row.on ? std::optional(area) : std::nullopt) ==
            GridChange::Accepted;
        EXPECT_EQ(accepted, row.accepted) << row.value;
        EXPECT_EQ(grid.multiCntX, row.columns) << row.value;
        EXPECT_FLOAT_EQ(grid.multiMaX, row.gapX) << row.value;
    }
}

TEST_F(MultiCutTest, TheModeEndsWhenItsNodeGoes) {
    ASSERT_TRUE(session.Start(doc, grid));
    State().nodeCount = 0;  // as after an undo of the node's addition
    EXPECT_TRUE(session.FollowDocument(doc));
    EXPECT_FALSE(session.IsOn());
}

}  // namespace
}  // namespace tessaly
