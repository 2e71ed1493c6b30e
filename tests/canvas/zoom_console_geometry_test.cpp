#include "canvas/zoom_console_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tessaly {
namespace {

// A point on the console face, by its face coordinates (u, v) 0..129.
QPoint OnFace(QPoint centre, int u, int v) {
    return {centre.x() - kConsoleRadius + u, centre.y() - kConsoleRadius + v};
}

QPoint OnCircle(QPoint centre, double radius, double angle) {
    return {centre.x() + static_cast<int>(std::lround(std::cos(angle) * radius)),
            centre.y() + static_cast<int>(std::lround(std::sin(angle) * radius))};
}

TEST(ZoomConsoleGeometryTest, CentreIsKeptFiveAndSixtyFivePixelsFromTheEdges) {
    const IntRect client{0, 0, 800, 600};
    EXPECT_EQ(ClampConsoleCentre({300, 200}, client), QPoint(300, 200));
    EXPECT_EQ(ClampConsoleCentre({790, 590}, client), QPoint(730, 530));
    EXPECT_EQ(ClampConsoleCentre({-50, 10}, client), QPoint(70, 70));
    EXPECT_EQ(ClampConsoleCentre({730, 530}, client), QPoint(730, 530));
    EXPECT_EQ(ClampConsoleCentre({731, 531}, client), QPoint(730, 530));
    // A client area that does not start at 0.
    EXPECT_EQ(ClampConsoleCentre({0, 0}, IntRect{20, 30, 400, 400}), QPoint(90, 100));
    // The console is the 130-pixel square around its centre.
    EXPECT_EQ(ConsoleRect({79, 79}), (IntRect{14, 14, 144, 144}));
}

TEST(ZoomConsoleGeometryTest, WindowTooSmallForTheConsoleKeepsItAtTheLeftAndTop) {
    const IntRect narrow{0, 0, 100, 90};
    for (int x : {-10, 0, 50, 70, 139, 500}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(ClampConsoleCentre({x, x}, narrow), QPoint(70, 70));
    }
    // 139 pixels still is too narrow; 140 is just enough.
    EXPECT_EQ(ClampConsoleCentre({200, 70}, IntRect{0, 0, 139, 400}).x(), 70);
    EXPECT_EQ(ClampConsoleCentre({200, 70}, IntRect{0, 0, 140, 400}).x(), 70);
    EXPECT_EQ(ClampConsoleCentre({200, 70}, IntRect{0, 0, 141, 400}).x(), 71);
}

TEST(ZoomConsoleGeometryTest, OutsideStartsBeyondSixtyFiveWholePixels) {
    const QPoint c(200, 150);
    EXPECT_EQ(ConsoleZoneAt(c, c), ConsoleZone::Body);
    EXPECT_EQ(ConsoleZoneAt({c.x() + 65, c.y()}, c), ConsoleZone::Body);
    EXPECT_EQ(ConsoleZoneAt({c.x() + 66, c.y()}, c), ConsoleZone::Outside);
    EXPECT_EQ(ConsoleZoneAt({c.x(), c.y() - 66}, c), ConsoleZone::Outside);
    // 65.76 away still counts as 65.
    EXPECT_EQ(ConsoleZoneAt({c.x() - 47, c.y() + 46}, c), ConsoleZone::Body);
    EXPECT_EQ(ConsoleZoneAt({c.x() - 47, c.y() + 47}, c), ConsoleZone::Outside);
}

TEST(ZoomConsoleGeometryTest, PlusIsACrossAtTheTopAndMinusABarAtTheBottom) {
    const QPoint c(200, 150);
    struct Case {
        int u, v;
        ConsoleZone zone;
    };
    const Case cases[] = {
        // the upright bar of the plus: 59..70 x 5..34
        {59, 5, ConsoleZone::Plus},
        {70, 34, ConsoleZone::Plus},
        {58, 5, ConsoleZone::Body},
        {71, 5, ConsoleZone::Body},
        {65, 4, ConsoleZone::Body},
        {65, 35, ConsoleZone::Body},
        // its crossbar: 50..79 x 14..25
        {50, 14, ConsoleZone::Plus},
        {79, 25, ConsoleZone::Plus},
        {49, 20, ConsoleZone::Body},
        {80, 20, ConsoleZone::Body},
        {50, 13, ConsoleZone::Body},
        {50, 26, ConsoleZone::Body},
        // the minus: 50..79 x 104..115
        {50, 104, ConsoleZone::Minus},
        {79, 115, ConsoleZone::Minus},
        {49, 110, ConsoleZone::Body},
        {80, 110, ConsoleZone::Body},
        {65, 103, ConsoleZone::Body},
        {65, 116, ConsoleZone::Body},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "u " << k.u << " v " << k.v);
        EXPECT_EQ(ConsoleZoneAt(OnFace(c, k.u, k.v), c), k.zone);
    }
}

TEST(ZoomConsoleGeometryTest, DialRingSpansSixtyFiveToSeventyThreePixels) {
    const QPoint c(300, 300);
    EXPECT_FALSE(InDialRing({c.x() + 64, c.y()}, c));
    EXPECT_TRUE(InDialRing({c.x() + 65, c.y()}, c));
    EXPECT_TRUE(InDialRing({c.x(), c.y() - 73}, c));
    EXPECT_TRUE(InDialRing({c.x() + 73, c.y() + 5}, c));  // 73.17
    EXPECT_FALSE(InDialRing({c.x() - 74, c.y()}, c));
    EXPECT_FALSE(InDialRing(c, c));
    // Every dot of the ring is drawn inside its zone.
    for (int j = 1; j <= kDialDotCount; ++j)
        EXPECT_TRUE(InDialRing(DialDotCentre(c, j), c)) << j;
}

TEST(ZoomConsoleGeometryTest, DialTurnsClockwiseToZoomIn) {
    const QPoint c(300, 300);
    // A quarter circle in one move: trunc(pi / 2 x 100).
    EXPECT_EQ(DialZoomDelta({370, 300}, {300, 370}, c), 157);
    EXPECT_EQ(DialZoomDelta({300, 370}, {370, 300}, c), -157);
    EXPECT_EQ(DialZoomDelta({370, 300}, {370, 300}, c), 0);
}

TEST(ZoomConsoleGeometryTest, SmallDialMovesLoseTheirFractions) {
    const QPoint c(300, 300);
    int total = 0;
    QPoint last = OnCircle(c, 70, 0.0);
    for (int degree = 1; degree <= 90; ++degree) {
        const QPoint now = OnCircle(c, 70, degree * std::numbers::pi / 180.0);
        total += DialZoomDelta(last, now, c);
        last = now;
    }
    EXPECT_GT(total, 0);
    EXPECT_LT(total, 157);
}

TEST(ZoomConsoleGeometryTest, DialMoveAcrossTheLeftIsASmallStep) {
    // Below-left to above-left is clockwise; the angle jumps from +3.07 to
    // -3.07 there, which must not read as a turn of almost a full circle.
    const QPoint c(300, 300);
    EXPECT_EQ(DialZoomDelta({230, 305}, {230, 295}, c), 14);
    EXPECT_EQ(DialZoomDelta({230, 295}, {230, 305}, c), -14);
}

TEST(ZoomConsoleGeometryTest, ClickMeansLessThanFourPixelsBothWays) {
    const QPoint press(100, 100);
    EXPECT_TRUE(IsConsoleClick(press, press));
    EXPECT_TRUE(IsConsoleClick(press, {103, 103}));
    EXPECT_TRUE(IsConsoleClick(press, {97, 97}));
    EXPECT_FALSE(IsConsoleClick(press, {104, 100}));
    EXPECT_FALSE(IsConsoleClick(press, {100, 96}));
    EXPECT_FALSE(IsConsoleClick(press, {103, 104}));
}

TEST(ZoomConsoleGeometryTest, PercentDigitsAreCentredOnTheFace) {
    // 32 x 50 digits from one strip, 34 pixels apart, the text centred.
    const struct { int percent, firstX; } cases[] = {{8, 49}, {49, 31}, {100, 15}};
    for (const auto& c : cases) {
        const auto glyphs = ConsoleGlyphs(c.percent);
        const QString digits = QString::number(c.percent);
        ASSERT_EQ(glyphs.size(), static_cast<std::size_t>(digits.size())) << c.percent;
        for (std::size_t k = 0; k < glyphs.size(); ++k) {
            SCOPED_TRACE(testing::Message() << c.percent << " digit " << k);
            EXPECT_EQ(glyphs[k].digit, digits[static_cast<int>(k)].digitValue());
            EXPECT_EQ(glyphs[k].source, QRect(32 * glyphs[k].digit, 0, 32, 50));
            EXPECT_EQ(glyphs[k].target, QRect(c.firstX + 34 * static_cast<int>(k), 40, 32, 50));
        }
    }
    // The largest text still fits the 130-pixel face.
    EXPECT_LE(ConsoleGlyphs(400).back().target.right(), kConsoleSize - 1);
}

TEST(ZoomConsoleGeometryTest, DialDotsRunClockwiseFromDarkOliveToYellow) {
    const QPoint c(100, 100);
    EXPECT_EQ(DialDotColor(1), QColor(100, 100, 0));
    EXPECT_EQ(DialDotColor(68), QColor(234, 234, 0));
    // Just below the right end, then the bottom, the left, and just above
    // the right end.
    EXPECT_EQ(DialDotCentre(c, 1), QPoint(168, 106));
    EXPECT_EQ(DialDotCentre(c, 17), QPoint(101, 168));
    EXPECT_EQ(DialDotCentre(c, 34), QPoint(32, 103));
    EXPECT_EQ(DialDotCentre(c, 35), QPoint(32, 97));
    EXPECT_EQ(DialDotCentre(c, 68), QPoint(168, 94));
}

}  // namespace
}  // namespace tessaly
