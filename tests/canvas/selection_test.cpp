#include "canvas/selection.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <vector>

#include "canvas/view_geometry.h"
#include "support/canvas_document.h"

namespace tessaly {
namespace {

class SelectionTest : public test::CanvasDocumentTest {
protected:
    void SetUp() override {
        CanvasDocumentTest::SetUp();
        State().canvasWidth = 1000;
        State().canvasHeight = 800;
        State().zoom = 1.0f;
        State().nodeCount = 0;
        State().mainSelection = -1;
    }

    // Makes exactly `nodes` marked, `main` the main selection.
    void Select(std::initializer_list<int> nodes, int main) {
        for (int i = 0; i < State().nodeCount; ++i)
            doc.Mark(i).selected = 0;
        for (int i : nodes)
            doc.Mark(i).selected = 1;
        State().mainSelection = main;
    }

    std::vector<int> Selected() const {
        std::vector<int> out;
        for (int i = 0; i < doc.State().nodeCount; ++i)
            if (doc.IsSelected(i)) out.push_back(i);
        return out;
    }
};

using Nodes = std::vector<int>;

TEST_F(SelectionTest, NodeAtPicksTopmostVisibleWithExclusiveFarEdges) {
    const int low = AddNode(100, 100, 50, 50);   // 50..150
    const int high = AddNode(120, 100, 50, 50);  // 70..170
    AddNode(100, 100, 80, 80, false);
    EXPECT_EQ(NodeAt(doc, {100, 100}), high);
    EXPECT_EQ(NodeAt(doc, {60, 100}), low);
    EXPECT_EQ(NodeAt(doc, {50, 50}), low);
    EXPECT_EQ(NodeAt(doc, {169, 100}), high);
    EXPECT_EQ(NodeAt(doc, {170, 100}), -1);
    EXPECT_EQ(NodeAt(doc, {100, 150}), -1);
    // The hidden node covers 20..180 but is never hit.
    EXPECT_EQ(NodeAt(doc, {25, 25}), -1);

    State().zoom = 2.0f;
    EXPECT_EQ(NodeAt(doc, {130, 130}), low);
    EXPECT_EQ(NodeAt(doc, {339, 200}), high);
}

TEST_F(SelectionTest, HandleAtOnlySelectedVisibleNodesTopmostFirstInHandleOrder) {
    const int a = AddNode(100, 100, 50, 50);  // 50..150
    const int b = AddNode(100, 100, 50, 50);  // same rectangle, on top
    const int c = AddNode(300, 300, 20, 20, false);
    EXPECT_FALSE(HandleAt(doc, {50, 50}).IsValid());

    Select({a, c}, a);
    EXPECT_FALSE(HandleAt(doc, {280, 280}).IsValid()) << "hidden nodes have no handles";
    HandleHit hit = HandleAt(doc, {50, 50});
    EXPECT_EQ(hit.node, a);
    EXPECT_EQ(hit.handle, Handle::TopLeft);
    // Hit square: point - 5 inclusive .. point + 5 exclusive.
    EXPECT_EQ(HandleAt(doc, {45, 45}).handle, Handle::TopLeft);
    EXPECT_FALSE(HandleAt(doc, {55, 55}).IsValid());
    EXPECT_EQ(HandleAt(doc, {154, 100}).handle, Handle::Right);
    EXPECT_EQ(HandleAt(doc, {100, 145}).handle, Handle::Bottom);
    EXPECT_EQ(HandleAt(doc, {50, 100}).handle, Handle::Left);
    EXPECT_EQ(HandleAt(doc, {150, 150}).handle, Handle::BottomRight);

    Select({b}, a);
    EXPECT_EQ(HandleAt(doc, {150, 50}).node, b);
    EXPECT_EQ(HandleAt(doc, {150, 50}).handle, Handle::TopRight);

    // On a node small enough, a corner square overlaps a midpoint one: the
    // corner wins by order.
    const int tiny = AddNode(600, 600, 3, 3);
    Select({tiny}, tiny);
    EXPECT_EQ(HandleAt(doc, {600, 597}).node, tiny);
    EXPECT_EQ(HandleAt(doc, {600, 597}).handle, Handle::TopLeft);
}

TEST_F(SelectionTest, ClearSelectionNeedsAMainSelection) {
    const int a = AddNode(100, 100, 10, 10);
    doc.Mark(a).selected = 1;  // a stray mark with no main selection stays
    EXPECT_FALSE(ClearSelection(doc));
    EXPECT_EQ(doc.Mark(a).selected, 1);
    State().mainSelection = a;
    EXPECT_TRUE(ClearSelection(doc));
    EXPECT_EQ(doc.Mark(a).selected, 0);
    EXPECT_EQ(State().mainSelection, -1);
}

TEST_F(SelectionTest, ClickSelectionRules) {
    const int a = AddNode(100, 100, 10, 10);
    const int b = AddNode(200, 100, 10, 10);
    const int c = AddNode(300, 100, 10, 10);

    // Nothing selected: any key selects and starts a move.
    EXPECT_EQ(ClickSelect(doc, a, Qt::ShiftModifier), ClickOutcome::StartMove);
    EXPECT_EQ(Selected(), Nodes({a}));
    EXPECT_EQ(State().mainSelection, a);

    // Ctrl adds without a move.
    EXPECT_EQ(ClickSelect(doc, b, Qt::ControlModifier), ClickOutcome::Nothing);
    EXPECT_EQ(Selected(), Nodes({a, b}));
    EXPECT_EQ(State().mainSelection, b);

    // A plain click on a selected node keeps the selection and moves it.
    EXPECT_EQ(ClickSelect(doc, a, Qt::NoModifier), ClickOutcome::StartMove);
    EXPECT_EQ(Selected(), Nodes({a, b}));
    EXPECT_EQ(State().mainSelection, a);

    // Ctrl+Shift is neither Ctrl nor Shift: a plain click on an unselected
    // node selects only it.
    EXPECT_EQ(ClickSelect(doc, c, Qt::ControlModifier | Qt::ShiftModifier),
              ClickOutcome::StartMove);
    EXPECT_EQ(Selected(), Nodes({c}));

    // Ctrl+Shift on a selected node is no key either: it stays, main, moving.
    Select({a, c}, c);
    EXPECT_EQ(ClickSelect(doc, a, Qt::ControlModifier | Qt::ShiftModifier),
              ClickOutcome::StartMove);
    EXPECT_EQ(Selected(), Nodes({a, c}));
    EXPECT_EQ(State().mainSelection, a);

    // Shift on an unselected node selects only it.
    Select({a, b}, a);
    EXPECT_EQ(ClickSelect(doc, c, Qt::ShiftModifier), ClickOutcome::StartMove);
    EXPECT_EQ(Selected(), Nodes({c}));
    EXPECT_EQ(State().mainSelection, c);
}

TEST_F(SelectionTest, ShiftClickDropsANodeAndPassesMainToTheLowestLeft) {
    const int a = AddNode(100, 100, 10, 10);
    const int b = AddNode(200, 100, 10, 10);
    const int c = AddNode(300, 100, 10, 10);
    Select({a, b, c}, b);
    EXPECT_EQ(ClickSelect(doc, c, Qt::ShiftModifier), ClickOutcome::Nothing);
    EXPECT_EQ(Selected(), Nodes({a, b}));
    EXPECT_EQ(State().mainSelection, b) << "dropping another node keeps the main one";

    EXPECT_EQ(ClickSelect(doc, b, Qt::ShiftModifier), ClickOutcome::Nothing);
    EXPECT_EQ(Selected(), Nodes({a}));
    EXPECT_EQ(State().mainSelection, a);

    // The only selected node: nothing is left, the main selection keeps its value.
    EXPECT_EQ(ClickSelect(doc, a, Qt::ShiftModifier), ClickOutcome::Nothing);
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(State().mainSelection, a);
    EXPECT_FALSE(HandleAt(doc, {90, 90}).IsValid());
}

TEST_F(SelectionTest, SelectAllSkipsHiddenNodesAndMakesNodeZeroMain) {
    EXPECT_FALSE(SelectAll(doc));
    const int hidden = AddNode(100, 100, 10, 10, false);
    EXPECT_FALSE(SelectAll(doc));
    EXPECT_EQ(State().mainSelection, -1);
    const int b = AddNode(200, 100, 10, 10);
    const int c = AddNode(300, 100, 10, 10);
    EXPECT_TRUE(SelectAll(doc));
    EXPECT_EQ(Selected(), Nodes({b, c}));
    EXPECT_EQ(doc.Mark(hidden).selected, 0);
    EXPECT_EQ(State().mainSelection, 0);  // node 0, though hidden
}

TEST_F(SelectionTest, TabMovesToTheNeighbourBothWaysAndWraps) {
    const int a = AddNode(100, 100, 10, 10);
    const int b = AddNode(200, 100, 10, 10);
    const int c = AddNode(300, 100, 10, 10);
    EXPECT_FALSE(SelectNextByTab(doc, false)) << "no main selection";

    Select({a, b}, a);
    EXPECT_TRUE(SelectNextByTab(doc, false));
    EXPECT_EQ(Selected(), Nodes({b}));
    EXPECT_EQ(State().mainSelection, b);

    Select({c}, c);
    EXPECT_TRUE(SelectNextByTab(doc, false));  // wraps to the first
    EXPECT_EQ(State().mainSelection, a);
    EXPECT_TRUE(SelectNextByTab(doc, true));  // and back to the last
    EXPECT_EQ(State().mainSelection, c);
    EXPECT_EQ(Selected(), Nodes({c}));
}

TEST_F(SelectionTest, TabOntoAHiddenNodeLeavesTheSelectionEmpty) {
    const int a = AddNode(100, 100, 10, 10);
    AddNode(200, 100, 10, 10, false);
    Select({a}, a);
    for (int press = 0; press < 2; ++press) {
        EXPECT_TRUE(SelectNextByTab(doc, false));
        EXPECT_TRUE(Selected().empty());
        EXPECT_EQ(State().mainSelection, a);
    }
}

TEST_F(SelectionTest, RubberBandNeedsMoreThanTenPixelsAndWholeVisibleNodes) {
    const int a = AddNode(20, 20, 5, 5);  // 15..25
    const int b = AddNode(40, 20, 5, 5);  // 35..45
    const int hidden = AddNode(30, 20, 5, 5, false);
    const int far = AddNode(200, 200, 5, 5);

    // Exactly 10 pixels on both axes: nothing, even around a whole node.
    EXPECT_FALSE(RubberBandSelect(doc, {14, 14}, {24, 24}));
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(State().mainSelection, -1);

    // Far edges must lie strictly inside: a band ending at 45 misses b.
    EXPECT_EQ(NodesInRubberBand(doc, {10, 10, 45, 30}), Nodes({a}));
    EXPECT_EQ(NodesInRubberBand(doc, {10, 10, 46, 30}), Nodes({a, b}));

    // Dragged up-left, 11 pixels on one axis is enough.
    EXPECT_TRUE(RubberBandSelect(doc, {50, 30}, {10, 10}));
    EXPECT_EQ(Selected(), Nodes({a, b}));
    EXPECT_EQ(doc.Mark(hidden).selected, 0);
    EXPECT_EQ(doc.Mark(far).selected, 0);
    EXPECT_EQ(State().mainSelection, b) << "the highest enclosed index ends as main";

    // A band around nothing leaves no main selection.
    ClearSelection(doc);
    EXPECT_TRUE(RubberBandSelect(doc, {500, 500}, {600, 600}));
    EXPECT_EQ(State().mainSelection, -1);
}

TEST_F(SelectionTest, KeepInsideCanvasByEdgesAndByCentre) {
    // Canvas 1000 x 800 at zoom 1.
    const int left = AddNode(10, 400, 30, 30);
    EXPECT_TRUE(KeepInsideCanvas(doc, left, KeepBy::Edges));
    EXPECT_EQ(doc.Node(left).centerX, 30);
    EXPECT_FALSE(KeepInsideCanvas(doc, left, KeepBy::Edges));

    // Wider than the canvas: the right edge wins.
    const int wide = AddNode(500, 400, 600, 10);
    EXPECT_TRUE(KeepInsideCanvas(doc, wide, KeepBy::Edges));
    EXPECT_EQ(doc.Node(wide).centerX, 400);

    // By centre a node half outside stays; a centre beyond is brought back.
    const int half = AddNode(0, 400, 30, 30);
    EXPECT_FALSE(KeepInsideCanvas(doc, half, KeepBy::Centre));
    const int out = AddNode(1100, -50, 30, 30);
    EXPECT_TRUE(KeepInsideCanvas(doc, out, KeepBy::Centre));
    EXPECT_EQ(doc.Node(out).centerX, 1000);
    EXPECT_EQ(doc.Node(out).centerY, 0);

    // At zoom 2 the view offset is halved back to canvas pixels.
    State().zoom = 2.0f;
    const int zoomed = AddNode(-20, 400, 10, 10);
    EXPECT_TRUE(KeepInsideCanvas(doc, zoomed, KeepBy::Edges));
    EXPECT_EQ(doc.Node(zoomed).centerX, 10);
}

TEST_F(SelectionTest, MoveSelectionMovesSelectedVisibleNodesAndStopsCentresAtTheEdge) {
    const int a = AddNode(100, 100, 40, 40);
    const int b = AddNode(300, 100, 10, 10);
    const int other = AddNode(500, 500, 10, 10);
    const int hidden = AddNode(600, 600, 10, 10, false);
    EXPECT_FALSE(MoveSelection(doc, 5, 5)) << "no main selection";
    Select({a, b, hidden}, a);

    EXPECT_TRUE(MoveSelection(doc, -150, 20));
    EXPECT_EQ(doc.Node(a).centerX, 0) << "stops when the centre reaches x = 0";
    EXPECT_EQ(doc.Node(a).centerY, 120);
    EXPECT_EQ(doc.Node(b).centerX, 150);
    EXPECT_EQ(doc.Node(other).centerX, 500);
    EXPECT_EQ(doc.Node(hidden).centerX, 600);
    EXPECT_EQ(NodeViewRect(doc, a).left, -40) << "half the node may lie outside";

    EXPECT_FALSE(MoveSelection(doc, 0, 0));
    EXPECT_EQ(doc.Node(a).centerY, 120);
}

TEST_F(SelectionTest, ArrowDragAndResizeStepsInCanvasPixels) {
    EXPECT_EQ(ArrowKeyStep(4.0f, true), 1);
    EXPECT_EQ(ArrowKeyStep(4.0f, false), 2);
    EXPECT_EQ(ArrowKeyStep(1.0f, false), 10);
    EXPECT_EQ(ArrowKeyStep(0.5f, true), 2);
    EXPECT_EQ(ViewStepToCanvas(4.0f, -1), -1);
    EXPECT_EQ(ViewStepToCanvas(4.0f, -3), 0);
    EXPECT_EQ(ResizeMinimum(1.0f), 10);
    EXPECT_EQ(ResizeMinimum(2.0f), 20);

    // A drag of 1 pixel is no move; 2 pixels on one axis is.
    EXPECT_EQ(MoveDragToCanvas(1.0f, {100, 100}, {101, 99}), QPoint(0, 0));
    EXPECT_EQ(MoveDragToCanvas(4.0f, {100, 100}, {102, 101}), QPoint(0, 1));
    EXPECT_EQ(MoveDragToCanvas(2.0f, {100, 100}, {80, 140}), QPoint(-10, 20));
}

TEST_F(SelectionTest, ResizedRectKeepsTheOppositeSideAndTheMinimum) {
    const IntRect r{100, 100, 200, 160};
    // The right handle: only the right edge follows.
    EXPECT_EQ(ResizedRect(r, Handle::Right, {300, 999}, 1000, 800, 10, false), (IntRect{100, 100, 300, 160}));
    // The top-left handle pushed past the opposite corner stops at the minimum.
    EXPECT_EQ(ResizedRect(r, Handle::TopLeft, {500, 500}, 1000, 800, 10, false), (IntRect{190, 150, 200, 160}));
    // The bottom-left handle and the pointer bounded to the canvas.
    EXPECT_EQ(ResizedRect(r, Handle::BottomLeft, {-50, 900}, 1000, 800, 10, false), (IntRect{0, 100, 200, 800}));
    // The bottom handle leaves the width alone.
    EXPECT_EQ(ResizedRect(r, Handle::Bottom, {0, 130}, 1000, 800, 10, false), (IntRect{100, 100, 200, 130}));
}

TEST_F(SelectionTest, ResizedRectWithAspectKeptFromTheOppositeCorner) {
    const IntRect r{100, 100, 200, 150};  // 2:1
    // The bottom-right handle dragged mostly sideways: width doubles, height follows.
    EXPECT_EQ(ResizedRect(r, Handle::BottomRight, {300, 160}, 1000, 800, 10, true), (IntRect{100, 100, 300, 200}));
    // The top-left handle: the bottom-right corner stays.
    EXPECT_EQ(ResizedRect(r, Handle::TopLeft, {150, 50}, 1000, 800, 10, true), (IntRect{0, 50, 200, 150}));
    // The right handle: the left side stays and the height grows about its middle.
    EXPECT_EQ(ResizedRect(r, Handle::Right, {300, 0}, 1000, 800, 10, true), (IntRect{100, 75, 300, 175}));
}

// The main node takes the new rectangle; other selected visible nodes keep
// their centre and scale by the same ratios, on the axes that changed.
TEST_F(SelectionTest, ResizeFitsTheMainNodeAndScalesTheOtherSelectedOnes) {
    using Node = std::array<int, 4>;  // centre x, centre y, half width, half height
    using enum Handle;
    const struct {
        float zoom;
        Node main;
        Handle handle;
        IntRect to;
        Node mainAfter;
        int otherHalfWidth, otherHalfHeight;
    } cases[] = {
        // The right handle: only the widths.
        {1.0f, {100, 100, 50, 20}, Right, {50, 80, 250, 120}, {150, 100, 100, 20}, 60, 25},
        // The right handle with the aspect kept changed both axes, so do the others.
        {1.0f, {100, 100, 50, 25}, Right, {50, 50, 250, 150}, {150, 100, 100, 50}, 60, 50},
        // A corner at zoom 2: the view rectangle converts back to canvas pixels.
        {2.0f, {100, 100, 50, 20}, TopLeft, {200, 200, 300, 240}, {125, 110, 25, 10}, 15, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "handle " << int(c.handle) << " zoom " << c.zoom);
        State().nodeCount = 0;
        State().zoom = c.zoom;
        const int main = AddNode(c.main[0], c.main[1], c.main[2], c.main[3]);
        const int other = AddNode(400, 300, 30, 25);
        const int unselected = AddNode(600, 300, 30, 25);
        const int hidden = AddNode(700, 300, 30, 25, false);
        Select({main, other, hidden}, main);
        EXPECT_TRUE(ResizeSelection(doc, c.handle, NodeViewRect(doc, main), c.to));
        const NodeRecord& m = doc.Node(main);
        EXPECT_EQ((Node{m.centerX, m.centerY, m.halfWidth, m.halfHeight}), c.mainAfter);
        EXPECT_EQ(doc.Node(other).halfWidth, c.otherHalfWidth);
        EXPECT_EQ(doc.Node(other).halfHeight, c.otherHalfHeight);
        EXPECT_EQ(doc.Node(other).centerX, 400);
        EXPECT_EQ(doc.Node(unselected).halfWidth, 30);
        EXPECT_EQ(doc.Node(hidden).halfWidth, 30);
    }
}

TEST_F(SelectionTest, ResizeWithoutChangeOrMainSelectionDoesNothing) {
    const int main = AddNode(100, 100, 50, 20);
    const IntRect old = NodeViewRect(doc, main);
    EXPECT_FALSE(ResizeSelection(doc, Handle::BottomRight, old, {0, 0, 500, 500})) << "no main selection";
    Select({main}, main);
    EXPECT_FALSE(ResizeSelection(doc, Handle::BottomRight, old, old));
    EXPECT_EQ(doc.Node(main).halfWidth, 50);
}

}  // namespace
}  // namespace tessaly
