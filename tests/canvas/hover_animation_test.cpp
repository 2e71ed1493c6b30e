#include "canvas/hover_animation.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "services/random_generator.h"
#include "support/canvas_document.h"

namespace tessaly {
namespace {

// The signed turn from a to b about c, clockwise on the screen positive.
double TurnAbout(QPoint c, QPoint a, QPoint b) {
    const double a0 = std::atan2(a.y() - c.y(), a.x() - c.x());
    const double a1 = std::atan2(b.y() - c.y(), b.x() - c.x());
    double d = a1 - a0;
    if (d > std::numbers::pi) d -= 2 * std::numbers::pi;
    if (d <= -std::numbers::pi) d += 2 * std::numbers::pi;
    return d;
}

constexpr IntRect kNowhere{};  // an empty hover rectangle hides nothing

TEST(HoverCometTest, LargeNodesAreCircledAtTheir100PixelCentre) {
    EXPECT_EQ(HoverRect(IntRect{10, 20, 310, 220}), (IntRect{110, 70, 210, 170}));
    EXPECT_EQ(HoverRect(IntRect{0, 0, 101, 101}), (IntRect{0, 0, 100, 100}));
    // Only when both wider and higher.
    EXPECT_EQ(HoverRect(IntRect{10, 20, 310, 100}), (IntRect{10, 20, 310, 100}));
    EXPECT_EQ(HoverRect(IntRect{0, 0, 100, 400}), (IntRect{0, 0, 100, 400}));
}

TEST(HoverCometTest, OrbitCentreIsThePointerXOnTheNodeCentreLine) {
    // Centre line at trunc(100 x 0.5) = 50 view pixels; scrolled by (30, 10).
    EXPECT_EQ(HoverOrbitCentre(QPoint(250, 37), 100, 0.5f, 1000, QPoint(30, 10)), QPoint(220, 40));
    EXPECT_EQ(HoverOrbitCentre(QPoint(250, 95), 100, 0.5f, 1000, QPoint(0, 0)), QPoint(250, 50));
    // The projection is finished in single precision: 251 / 500 x 500 < 251.
    EXPECT_EQ(HoverOrbitCentre(QPoint(251, 0), 100, 0.5f, 1000, QPoint(0, 0)), QPoint(250, 50));
}

TEST(HoverCometTest, TimerPenWidthAndPenColours) {
    // The speed is bounded to 0..4.
    EXPECT_EQ(HoverTimerPeriod(-3), 5);
    EXPECT_EQ(HoverTimerPeriod(2), 25);
    EXPECT_EQ(HoverTimerPeriod(9), 45);
    // trunc(4 x zoom), at least 2.
    EXPECT_EQ(CometPenWidth(0.25f), 2);
    EXPECT_EQ(CometPenWidth(0.75f), 3);
    EXPECT_EQ(CometPenWidth(2.5f), 10);
    // Each pen darker than the one before; comets past the tenth take its colours.
    EXPECT_EQ(CometPenColors(0)[7], QColor(199, 136, 136));
    EXPECT_EQ(CometPenColors(9), CometPenColors(12));
}

TEST(HoverCometTest, DarkeningStopsAtZeroAndBlackBecomesGrey) {
    const ColorRef grey = MakeColorRef(128, 128, 128);
    EXPECT_EQ(DarkerCometColor(MakeColorRef(5, 200, 8)), MakeColorRef(0, 192, 0));
    EXPECT_EQ(DarkerCometColor(MakeColorRef(8, 8, 8)), 0);
    EXPECT_EQ(DarkerCometColor(0), grey);
    EXPECT_EQ(DarkerCometColor(kColorNone), grey);
}

TEST(HoverCometTest, PathRunsClockwiseFromTheLeftEnd) {
    const QPoint c(200, 200);
    const CometPath path = BuildCometPath(c, 40, 30, 0.0, kNowhere);
    EXPECT_EQ(path[0], QPoint(160, 200));   // left end
    EXPECT_EQ(path[30], QPoint(240, 200));  // right end
    // Up the left side, down the right, back along the bottom.
    for (int p = 0; p < 15; ++p)
        EXPECT_LT(path[p].x(), c.x()) << p;
    for (int p = 15; p <= 30; ++p)
        EXPECT_GE(path[p].x(), c.x()) << p;
    for (int p = 0; p <= 30; ++p)
        EXPECT_LE(path[p].y(), c.y()) << p;
    for (int p = 31; p < 60; ++p)
        EXPECT_GE(path[p].y(), c.y()) << p;
    // Never turning back, and once round in 60 steps.
    double total = 0;
    for (int p = 0; p < 60; ++p) {
        const double turn = TurnAbout(c, path[p], path[(p + 1) % 60]);
        EXPECT_GE(turn, 0.0) << p;
        total += turn;
    }
    EXPECT_NEAR(total, 2 * std::numbers::pi, 1e-9);
    // The half axes: 40 across, about 30 up and down.
    const auto [top, bottom] = std::minmax_element(
        path.begin(), path.begin() + 60, [](QPoint a, QPoint b) { return a.y() < b.y(); });
    EXPECT_NEAR(c.y() - top->y(), 30, 1);
    EXPECT_NEAR(bottom->y() - c.y(), 30, 1);
    for (int p = 61; p < kCometPathLength; ++p)
        EXPECT_EQ(path[p], kHiddenCometPoint);
}

TEST(HoverCometTest, TiltTurnsThePathAboutTheCentre) {
    const QPoint c(200, 200);
    const CometPath quarter = BuildCometPath(c, 40, 30, std::numbers::pi / 2, kNowhere);
    EXPECT_EQ(quarter[0], QPoint(200, 160));  // the left end turned to the top
    EXPECT_EQ(quarter[30], QPoint(200, 240));
    // A tilt of 360 degrees is no turn at all.
    EXPECT_EQ(BuildCometPath(c, 40, 30, 2 * std::numbers::pi, kNowhere)[0], QPoint(160, 200));
}

TEST(HoverCometTest, OnlyPointsRightOfTheCentreInsideTheImageAreHidden) {
    const QPoint c(200, 200);
    const IntRect image{150, 150, 250, 250};
    const CometPath open = BuildCometPath(c, 80, 30, 0.3, kNowhere);
    const CometPath behind = BuildCometPath(c, 80, 30, 0.3, image);
    int hidden = 0, keptInside = 0;
    for (int p = 0; p < 60; ++p) {
        SCOPED_TRACE(p);
        const QPoint q = open[p];
        const bool shouldHide = q.x() >= c.x() && image.Contains(q.x(), q.y());
        if (shouldHide) {
            EXPECT_EQ(behind[p], kHiddenCometPoint);
            ++hidden;
        } else {
            EXPECT_EQ(behind[p], q);
            if (image.Contains(q.x(), q.y())) ++keptInside;
        }
    }
    EXPECT_GT(hidden, 0);
    EXPECT_GT(keptInside, 0);  // the left half passes in front
}

TEST(HoverCometTest, PointsExactlyAboveTheCentreCountAsRightOfIt) {
    const QPoint c(200, 200);
    const CometPath path = BuildCometPath(c, 40, 30, 0.0, IntRect{150, 150, 250, 250});
    // The top of the ellipse lies on x = 200, the point before it just left.
    EXPECT_EQ(path[15], kHiddenCometPoint);
    EXPECT_EQ(path[14], QPoint(196, 171));
    EXPECT_EQ(BuildCometPath(c, 40, 30, 0.0, kNowhere)[15], QPoint(200, 171));
}

TEST(HoverCometTest, NoAnimationWithoutRoomForOrbitsOrComets) {
    const IntRect r{100, 100, 200, 200};
    CrtRandom random(1);
    EXPECT_FALSE(BuildCometAnimation(r, {150, 150}, 0.09f, 5, 0, random));  // trunc(0.9) = 0
    EXPECT_FALSE(BuildCometAnimation(r, {150, 150}, 0.0f, 5, 0, random));
    EXPECT_FALSE(BuildCometAnimation(r, {150, 150}, 1.0f, 0, 0, random));
    EXPECT_FALSE(BuildCometAnimation(r, {150, 150}, 1.0f, -2, 0, random));
    EXPECT_TRUE(BuildCometAnimation(r, {150, 150}, 0.1f, 1, 0, random));
}

TEST(HoverCometTest, FixedSeedGivesFixedComets) {
    // Seed 1 draws 41, 18467, 6334, 26500, 19169, 15724, 11478: start angle
    // 41; then one x and one y spread per comet on top of m / 2 = 50.
    const IntRect r{150, 150, 250, 250};
    CrtRandom random(1);
    const auto animation = BuildCometAnimation(r, {200, 200}, 1.0f, 3, 2, random);
    ASSERT_TRUE(animation);
    const auto& comets = animation->Comets();
    ASSERT_EQ(comets.size(), 3u);
    // Tilt, then 50 + 18467 mod 10 and 50 + 6334 mod 50 for the first; 401 less 360.
    const int expected[3][3] = {{41, 57, 84}, {161, 50, 69}, {41, 54, 78}};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(comets[k].tiltDegrees, expected[k][0]) << k;
        EXPECT_EQ(comets[k].halfAxisX, expected[k][1]) << k;
        EXPECT_EQ(comets[k].halfAxisY, expected[k][2]) << k;
        EXPECT_EQ(comets[k].step, 0);
    }
    EXPECT_EQ(animation->PeriodMs(), 25);
    EXPECT_EQ(comets[0].path, BuildCometPath({200, 200}, 57, 84, 41 * std::numbers::pi / 180, r));
    EXPECT_EQ(comets[1].pens, CometPenColors(1));
}

TEST(HoverCometTest, TiltReductionHappensOnceAndCometCountIsCapped) {
    CrtRandom random(1);
    const auto animation =
        BuildCometAnimation(IntRect{150, 150, 250, 250}, {200, 200}, 1.0f, 15, 0, random);
    ASSERT_TRUE(animation);
    ASSERT_EQ(animation->Comets().size(), 10u);
    const int expected[] = {41, 161, 41, 41, 161, 401, 761, 1241, 1841, 2561};
    for (std::size_t k = 0; k < 10; ++k)
        EXPECT_EQ(animation->Comets()[k].tiltDegrees, expected[k]);
}

TEST(HoverCometTest, TinyNodesStillGetProperOrbits) {
    // m = 0: an x spread of 0 would make a zero half axis.
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        CrtRandom random(seed);
        const auto animation =
            BuildCometAnimation(IntRect{50, 50, 50, 51}, {50, 50}, 0.3f, 10, 0, random);
        ASSERT_TRUE(animation);
        for (const Comet& comet : animation->Comets()) {
            EXPECT_GE(comet.halfAxisX, 1);
            EXPECT_GE(comet.halfAxisY, 1);
            for (int p = 0; p < 60; ++p)
                EXPECT_LT(std::abs(comet.path[p].x() - 50), 100);
        }
    }
}

IntRect BoundsOfShownPoints(const CometAnimation& animation) {
    IntRect box;
    for (const Comet& comet : animation.Comets()) {
        for (int p = 0; p < kCometPathUsed; ++p) {
            const QPoint q = comet.path[p];
            if (q != kHiddenCometPoint) box = box.United({q.x(), q.y(), q.x() + 1, q.y() + 1});
        }
    }
    return box;
}

TEST(HoverCometTest, BoundsHoldEveryShownPointWithRoomForTheDot) {
    const IntRect r{150, 150, 250, 250};
    CrtRandom random(7);
    // Grown by trunc(4 x zoom) on each side, but at 20 % (where that is 0)
    // by the 2-pixel pen; hidden points do not count.
    for (const auto& [zoom, grow] : {std::pair{2.0f, 8}, std::pair{0.2f, 2}}) {
        const auto animation = BuildCometAnimation(r, {200, 200}, zoom, 4, 0, random);
        ASSERT_TRUE(animation);
        const IntRect p = BoundsOfShownPoints(*animation);
        EXPECT_EQ(animation->Bounds(),
                  (IntRect{p.left - grow, p.top - grow, p.right + grow, p.bottom + grow}))
            << zoom;
        EXPECT_GT(animation->Bounds().left, 0);
    }
}

TEST(HoverCometTest, EvenCometsGoForwardAndOddOnesBackWrappingBothWays) {
    CrtRandom random(3);
    auto animation =
        BuildCometAnimation(IntRect{150, 150, 250, 250}, {200, 200}, 1.0f, 3, 0, random);
    ASSERT_TRUE(animation);
    animation->Tick();
    EXPECT_EQ(animation->Comets()[0].step, 1);
    EXPECT_EQ(animation->Comets()[1].step, 59);
    EXPECT_EQ(animation->Comets()[2].step, 1);
    for (int i = 1; i < 59; ++i)
        animation->Tick();
    EXPECT_EQ(animation->Comets()[0].step, 59);
    EXPECT_EQ(animation->Comets()[1].step, 1);
    animation->Tick();
    EXPECT_EQ(animation->Comets()[0].step, 0);
    EXPECT_EQ(animation->Comets()[1].step, 0);
}

TEST(HoverCometTest, DotsTrailBehindTheHeadAndWrapBelowZero) {
    CrtRandom random(3);
    auto animation =
        BuildCometAnimation(IntRect{150, 150, 250, 250}, {200, 200}, 1.0f, 2, 0, random);
    ASSERT_TRUE(animation);
    const auto& first = animation->Comets()[0];
    auto dots = animation->DotsToDraw();
    ASSERT_EQ(dots.size(), 2u);
    // Head at step 0, tail reaching back over the wrap to position 53.
    EXPECT_EQ(dots[0][7].at, first.path[0]);
    EXPECT_EQ(dots[0][6].at, first.path[59]);
    EXPECT_EQ(dots[0][0].at, first.path[53]);
    EXPECT_EQ(dots[0][0].colour, QColor(255, 192, 192));  // the tail in the base colour
    EXPECT_EQ(dots[0][7].colour, QColor(199, 136, 136));  // the darkest head

    animation->Tick();
    dots = animation->DotsToDraw();
    EXPECT_EQ(dots[0][7].at, first.path[1]);
    EXPECT_EQ(dots[1][7].at, animation->Comets()[1].path[59]);
    EXPECT_EQ(dots[1][0].at, animation->Comets()[1].path[52]);
}

TEST(HoverCometTest, DrawingStaysInsideTheBoundsAndSkipsHiddenPoints) {
    for (float zoom : {0.2f, 1.0f, 2.5f}) {
        SCOPED_TRACE(zoom);
        const IntRect r{150, 150, 250, 250};
        CrtRandom random(11);
        auto animation = BuildCometAnimation(r, {200, 200}, zoom, 10, 0, random);
        ASSERT_TRUE(animation);
        QImage image(400, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            for (int tick = 0; tick < 60; ++tick) {
                DrawComets(painter, *animation, CometPenWidth(zoom));
                animation->Tick();
            }
        }
        const IntRect bounds = animation->Bounds();
        int drawn = 0, outside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == qRgb(255, 255, 255)) continue;
                ++drawn;
                if (!bounds.Contains(x, y)) ++outside;
            }
        }
        EXPECT_GT(drawn, 0);
        EXPECT_EQ(outside, 0);
        // The hidden marker is never painted at the window corner.
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    }
}

}  // namespace
}  // namespace tessaly
