#include "canvas/view_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/canvas_document.h"

namespace tessaly {
namespace {

class ViewGeometryTest : public test::CanvasDocumentTest {
protected:
    void SetCanvas(int width, int height, float zoom = 1.0f) {
        State().canvasWidth = width;
        State().canvasHeight = height;
        State().zoom = zoom;
    }
};

TEST_F(ViewGeometryTest, ConversionsTruncateTowardZeroInSinglePrecision) {
    EXPECT_EQ(CanvasToView(0.3f, 11), 3);
    EXPECT_EQ(CanvasToView(0.3f, -11), -3);  // not floored to -4
    EXPECT_EQ(ViewToCanvas(0.3f, 10), 33);
    EXPECT_EQ(ViewToCanvas(0.3f, -10), -33);
    // 8 x 0.3f is 2.4000001 and 6 x 0.3f is 1.8000001 in floats.
    EXPECT_EQ(CanvasToView(0.3f, 8), 2);
    EXPECT_EQ(CanvasToView(0.3f, 6), 1);

    SetCanvas(1000, 700, 0.3f);
    EXPECT_EQ(CanvasViewRect(State()), (IntRect{0, 0, 300, 210}));
}

TEST_F(ViewGeometryTest, NodeRectTakesItsFarEdgesFromTheTruncatedSize) {
    SetCanvas(1000, 1000, 0.3f);
    // The far edge converted on its own would be trunc(14 x 0.3) = 4.
    const int i = AddNode(11, 11, 3, 3);
    const IntRect r = NodeViewRect(doc, i);
    EXPECT_EQ(r, (IntRect{2, 2, 3, 3}));
    EXPECT_EQ(r.Width(), 1);

    // At 100 % the rectangle is the node itself.
    State().zoom = 1.0f;
    const int j = AddNode(100, 60, 20, 10);
    EXPECT_EQ(NodeViewRect(doc, j), (IntRect{80, 50, 120, 70}));
}

// The range is 0.08..4.0 and neither side may pass 5000 view pixels; the
// size limit never raises a request, and the stricter side decides.
TEST_F(ViewGeometryTest, ZoomIsBoundedToItsRangeAndTo5000ViewPixels) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        int width, height;
        float request, zoom;
    } cases[] = {
        {1000, 1000, 4.0f, 4.0f},
        {1000, 1000, -2.0f, 0.08f},
        {1500, 1000, 4.0f, 5000.0f / 1500.0f},  // "400%" would make 6000 pixels
        {1000, 2500, 4.0f, 2.0f},
        {1200, 600, 4.5f, 4.0f},  // not 5000 / 1200
        {5000, 2000, 4.0f, 1.0f},
        {1000, 1000, nan, 1.0f},
        {1000, 1000, inf, 4.0f},
        {1000, 1000, -inf, 0.08f},
    };
    for (const auto& c : cases) {
        SetCanvas(c.width, c.height);
        EXPECT_EQ(ClampZoom(State(), c.request), c.zoom)
            << c.width << " x " << c.height << " at " << c.request;
    }
}

TEST_F(ViewGeometryTest, ZoomStepsCountFromTheShownWholePercentage) {
    // Percentages read from floats that lie a hair below them, and steps
    // that would pile up float errors, against the clamps.
    const struct {
        int canvasWidth;
        float start;
        int points;
        int times;
        float zoom;
        int shown;
    } cases[] = {
        {1000, 0.6999999f, 0, 0, 0.6999999f, 70},
        {1000, 1.0f, -1, 30, 0.7f, 70},
        {1000, 0.95f, +1, 10, 1.05f, 105},
        {1000, 0.5f, -1, 1, 0.49f, 49},
        {1000, 0.08f, -1, 1, 0.08f, 8},
        {1000, 3.5f, +157, 1, 4.0f, 400},  // a quarter turn of the dial: not 5000 / 1000
        // The size limit leaves 3.3333, shown as 333 and stepped from there.
        {1500, 5000.0f / 1500.0f, +1, 1, 5000.0f / 1500.0f, 333},
        {1500, 5000.0f / 1500.0f, -1, 1, 3.32f, 332},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " + " << c.times << " x " << c.points);
        SetCanvas(c.canvasWidth, 1000, c.start);
        for (int i = 0; i < c.times; ++i)
            State().zoom = ZoomedBy(State(), c.points);
        EXPECT_EQ(State().zoom, c.zoom);
        EXPECT_EQ(ZoomPercent(State().zoom), c.shown);
    }
}

TEST_F(ViewGeometryTest, FitToWindowAsksForTheSmallerRatio) {
    SetCanvas(500, 500);
    const float fit = FitZoom(State(), QSize(2400, 1200));
    EXPECT_EQ(fit, 2.4f);
    EXPECT_EQ(ClampZoom(State(), fit), 2.4f);

    SetCanvas(5000, 5000);
    const float tiny = FitZoom(State(), QSize(300, 200));
    EXPECT_EQ(tiny, 0.04f);
    EXPECT_EQ(ClampZoom(State(), tiny), 0.08f);
}

// Zoom in and out go through the console's levels, with the smallest zoom
// below the first; at the ends of the range, and at a canvas's own limit,
// the zoom stays.
TEST_F(ViewGeometryTest, ZoomKeysStepThroughTheLevelsWithinTheRange) {
    const struct {
        int canvasWidth;
        float start;
        int direction;
        float zoom;
    } cases[] = {
        {1000, 1.0f, +1, 2.0f},
        {1000, 1.0f, -1, 0.5f},
        {1000, 0.49f, +1, 0.5f},
        {1000, 0.51f, -1, 0.5f},
        {1000, 0.6999999f, -1, 0.5f},
        {1000, 0.1f, -1, 0.08f},
        {1000, 0.08f, -1, 0.08f},
        {1000, 0.08f, +1, 0.1f},
        {1000, 3.0f, +1, 4.0f},
        {1000, 4.0f, +1, 4.0f},
        {1000, 4.0f, -1, 3.0f},
        {1500, 3.0f, +1, 5000.0f / 1500.0f},
        {1500, 5000.0f / 1500.0f, +1, 5000.0f / 1500.0f},
        {1500, 5000.0f / 1500.0f, -1, 3.0f},
        {5000, 1.0f, +1, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.canvasWidth << " " << c.start << " " << c.direction);
        SetCanvas(c.canvasWidth, 1000, c.start);
        EXPECT_EQ(SteppedZoom(State(), c.direction), c.zoom);
    }
}

// The canvas point under the pointer stays under it: at 100 % the pointer
// (300, 200) with the scroll (40, 10) is over canvas (340, 210), which at
// 200 % lies at view (680, 420).
TEST_F(ViewGeometryTest, WheelZoomKeepsThePointUnderThePointer) {
    EXPECT_EQ(ScrollKeepingPoint({300, 200}, {40, 10}, 1.0f, 2.0f), QPoint(380, 220));
    EXPECT_EQ(ScrollKeepingPoint({300, 200}, {380, 220}, 2.0f, 1.0f), QPoint(40, 10));
    // Canvas (1000, 500) at 25 % is view (250, 125); at 50 % it is (500, 250).
    EXPECT_EQ(ScrollKeepingPoint({250, 75}, {0, 50}, 0.25f, 0.5f), QPoint(250, 175));
    EXPECT_EQ(ScrollKeepingPoint({300, 200}, {40, 10}, 1.0f, 1.0f), QPoint(40, 10));
}

TEST_F(ViewGeometryTest, VisibleCentreIsTheClientCentreOnTheCanvasKeptInside) {
    SetCanvas(2000, 2000, 2.0f);
    // (801 / 2 + 100) / 2 and (600 / 2 + 50) / 2 with integer halving.
    EXPECT_EQ(VisibleCentreOnCanvas(State(), IntRect{0, 0, 801, 600}, QPoint(100, 50)),
              QPoint(250, 175));

    // Scrolled into the margin beyond the right and bottom edges.
    SetCanvas(500, 500, 1.0f);
    EXPECT_EQ(VisibleCentreOnCanvas(State(), IntRect{0, 0, 1200, 1000}, QPoint(0, 0)),
              QPoint(500, 500));
    EXPECT_EQ(VisibleCentreOnCanvas(State(), IntRect{0, 0, 400, 300}, QPoint(200, 300)),
              QPoint(400, 450));
}

TEST_F(ViewGeometryTest, BoundingBoxCoversHiddenNodesAndSkipsEmptyOnes) {
    SetCanvas(1000, 1000, 0.5f);
    EXPECT_TRUE(NodeBoundingBox(doc).IsEmpty());

    AddNode(100, 100, 20, 20);                     // view 40..60
    AddNode(600, 300, 50, 10, /*visible=*/false);  // view 275..325 x 145..155
    AddNode(900, 900, 0, 30);                      // no width: adds nothing
    AddNode(1, 1, 1, 1);                           // trunc(2 x 0.5) = 1 wide: counts
    EXPECT_EQ(NodeBoundingBox(doc), (IntRect{0, 0, 325, 155}));

    // Records past the node count are not part of the document.
    doc.Node(State().nodeCount) = doc.Node(0);
    doc.Node(State().nodeCount).centerX = 1900;
    EXPECT_EQ(NodeBoundingBox(doc).right, 325);
}

TEST_F(ViewGeometryTest, ScrollingToAPointCentresItUnlessEverythingFits) {
    const QPoint current(30, 40);
    EXPECT_EQ(ScrollToShow(QPoint(900, 700), current, QSize(800, 600), QSize(800, 600), true, true),
              current);
    EXPECT_EQ(
        ScrollToShow(QPoint(900, 700), current, QSize(800, 600), QSize(1600, 1200), true, true),
        QPoint(500, 400));
    // Only a vertical bar: the horizontal position goes to 0.
    EXPECT_EQ(
        ScrollToShow(QPoint(900, 700), current, QSize(800, 600), QSize(800, 1200), false, true),
        QPoint(0, 400));
    // Too high but not too wide still scrolls.
    EXPECT_EQ(ScrollToShow(QPoint(10, 20), current, QSize(800, 600), QSize(700, 1200), false, true),
              QPoint(0, -280));
}

TEST_F(ViewGeometryTest, ScrollSizeIncludesTheEdgeMarginAtTheZoom) {
    SetCanvas(1000, 800, 0.5f);
    EXPECT_EQ(ScrollSizes(State()), QSize(525, 425));
    SetCanvas(5000, 500, 0.3f);
    EXPECT_EQ(ScrollSizes(State()), QSize(1515, 165));
}

TEST_F(ViewGeometryTest, WheelStepDependsOnTheWholeKeyAndButtonState) {
    struct Case {
        Qt::KeyboardModifiers keys;
        Qt::MouseButtons buttons;
        int step;
        bool sideways;
    };
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const Case cases[] = {
        {Qt::NoModifier, Qt::NoButton, 10, false},
        {Qt::ControlModifier, Qt::NoButton, 1, false},
        {ctrlShift, Qt::NoButton, -1, true},
        {Qt::ShiftModifier, Qt::NoButton, 10, true},
        {Qt::NoModifier, Qt::RightButton, -10, true},
        // Anything combined counts as "anything else".
        {Qt::ControlModifier, Qt::RightButton, 10, false},
        {Qt::ShiftModifier, Qt::RightButton, 10, false},
        {Qt::ControlModifier, Qt::LeftButton, 10, false},
        {Qt::NoModifier, Qt::RightButton | Qt::LeftButton, 10, false},
        {Qt::NoModifier, Qt::LeftButton, 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "keys " << c.keys.toInt() << " buttons " << c.buttons.toInt());
        EXPECT_EQ(WheelStep(c.keys, c.buttons, false), c.step);
        EXPECT_EQ(WheelStep(c.keys, c.buttons, true), -c.step);
        EXPECT_EQ(WheelScrollsHorizontally(c.keys, c.buttons), c.sideways);
    }
    // Alt alone zooms; with another key or a button it does not.
    EXPECT_TRUE(WheelZooms(Qt::AltModifier, Qt::NoButton));
    EXPECT_TRUE(WheelZooms(Qt::AltModifier | Qt::KeypadModifier, Qt::NoButton));
    EXPECT_FALSE(WheelZooms(Qt::ControlModifier, Qt::NoButton));
    EXPECT_FALSE(WheelZooms(Qt::AltModifier | Qt::ControlModifier, Qt::NoButton));
    EXPECT_FALSE(WheelZooms(Qt::AltModifier, Qt::RightButton));
}

}  // namespace
}  // namespace tessaly
