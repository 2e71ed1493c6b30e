#include "canvas/math_sub.h"

#include <gtest/gtest.h>

#include <numbers>

namespace tessaly {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(MathSubTest, DistanceIsTruncatedAndSymmetric) {
    EXPECT_EQ(CMathSub::Distance({0, 0}, {3, 4}), 5);
    EXPECT_EQ(CMathSub::Distance({0, 0}, {2, 3}), 3);  // 3.61
    EXPECT_EQ(CMathSub::Distance({5, 5}, {6, 6}), 1);  // 1.41
    EXPECT_EQ(CMathSub::Distance({7, -2}, {7, -2}), 0);
    EXPECT_EQ(CMathSub::Distance({2, 3}, {0, 0}), CMathSub::Distance({0, 0}, {2, 3}));
    // Squares beyond the int range still measure correctly.
    EXPECT_EQ(CMathSub::Distance({-40000, 0}, {40000, 0}), 80000);
    EXPECT_EQ(CMathSub::Distance({0, -30000}, {40000, 0}), 50000);
}

TEST(MathSubTest, RotationTurnsClockwiseOnTheScreenAndTruncatesOffsets) {
    const QPoint c(100, 50);
    EXPECT_EQ(CMathSub::RotateAboutCentre({110, 50}, kPi / 2, c), QPoint(100, 60));
    EXPECT_EQ(CMathSub::RotateAboutCentre({110, 50}, kPi, c), QPoint(90, 50));
    EXPECT_EQ(CMathSub::RotateAboutCentre({110, 50}, -kPi / 2, c), QPoint(100, 40));
    // 7.07 on both axes, truncated toward zero on the negative side too.
    EXPECT_EQ(CMathSub::RotateAboutCentre({110, 50}, kPi / 4, c), QPoint(107, 57));
    EXPECT_EQ(CMathSub::RotateAboutCentre({110, 50}, 3 * kPi / 4, c), QPoint(93, 57));
    // The centre stays where it is.
    EXPECT_EQ(CMathSub::RotateAboutCentre(c, 1.0, c), c);
}

TEST(MathSubTest, AFullTurnLeavesThePointExactlyWhereItWas) {
    // Going through the angle and back loses a pixel for this point; a turn
    // of exactly 2 pi must not.
    const QPoint c(0, 0);
    const QPoint p(1, 1);
    EXPECT_EQ(CMathSub::RotateAboutCentre(p, 2 * kPi, c), p);
    EXPECT_EQ(CMathSub::RotateAboutCentre(p, 360.0 * kPi / 180.0, c), p);
    EXPECT_NE(CMathSub::RotateAboutCentre(p, 2 * kPi + 1e-12, c), p);
}

TEST(MathSubTest, PointAlongStepsWholePixelsFromTheStart) {
    EXPECT_EQ(CMathSub::PointAlong({0, 0}, {10, 0}, 3), QPoint(3, 0));
    EXPECT_EQ(CMathSub::PointAlong({0, 0}, {3, 4}, 5), QPoint(3, 4));
    EXPECT_EQ(CMathSub::PointAlong({0, 0}, {3, 4}, 10), QPoint(6, 8));  // past b
    EXPECT_EQ(CMathSub::PointAlong({10, 10}, {20, 10}, -4), QPoint(6, 10));
    EXPECT_EQ(CMathSub::PointAlong({4, 5}, {90, 70}, 0), QPoint(4, 5));
    EXPECT_EQ(CMathSub::PointAlong({4, 5}, {4, 5}, 12), QPoint(4, 5));
}

TEST(MathSubTest, PointAlongMeasuresAgainstTheTruncatedDistanceInFloats) {
    // |b - a| is 3.61 but counts as 3, so 3 pixels reach b itself.
    EXPECT_EQ(CMathSub::PointAlong({0, 0}, {2, 3}, 3), QPoint(2, 3));
    // 251 / 500 x 500 is 250.99998 in single precision.
    EXPECT_EQ(CMathSub::PointAlong({0, 7}, {500, 7}, 251), QPoint(250, 7));
    EXPECT_EQ(CMathSub::PointAlong({0, 7}, {500, 7}, 250), QPoint(250, 7));
}

TEST(MathSubTest, FootOfPerpendicularProjectsOntoTheLine) {
    // A horizontal line: the pointer's x on it.
    EXPECT_EQ(CMathSub::FootOfPerpendicular({120, 3}, {0, 40}, {500, 40}), QPoint(120, 40));
    EXPECT_EQ(CMathSub::FootOfPerpendicular({120, 90}, {0, 40}, {500, 40}), QPoint(120, 40));
    // A vertical line.
    EXPECT_EQ(CMathSub::FootOfPerpendicular({-30, 25}, {10, 0}, {10, 100}), QPoint(10, 25));
    // The diagonal: 7.07 pixels from a, then 7 / trunc(14.14) of the way.
    EXPECT_EQ(CMathSub::FootOfPerpendicular({0, 10}, {0, 0}, {10, 10}), QPoint(5, 5));
    // Before the start of the segment, still on the line.
    EXPECT_EQ(CMathSub::FootOfPerpendicular({-20, 0}, {0, 5}, {100, 5}), QPoint(-20, 5));
    // Single precision of the final step carries through.
    EXPECT_EQ(CMathSub::FootOfPerpendicular({251, 0}, {0, 9}, {500, 9}), QPoint(250, 9));
    // Without a line: its start.
    EXPECT_EQ(CMathSub::FootOfPerpendicular({50, 60}, {3, 4}, {3, 4}), QPoint(3, 4));
}

}  // namespace
}  // namespace tessaly
