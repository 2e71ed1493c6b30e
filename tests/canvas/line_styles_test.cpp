#include "canvas/line_styles.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPolygon>

namespace tessaly {
namespace {

constexpr ColorRef kRed = MakeColorRef(255, 0, 0);
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);

// A horizontal line from (5, 10) to (30, 10) on black, so that the white
// middle of a double line stands out from the ground.
QImage FrameLineImage(ColorRef colour, int style, int width, float zoom) {
    QImage image(40, 21, QImage::Format_RGB32);
    image.fill(kBlackPixel);
    QPainter painter(&image);
    DrawFrameLine(painter, QPolygon({QPoint(5, 10), QPoint(30, 10)}), colour, style, width, zoom);
    painter.end();
    return image;
}

// The pixels of column x from top to bottom, as a string: R red, W white,
// . black, ? anything else.
std::string Column(const QImage& image, int x) {
    std::string column;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb p = image.pixel(x, y);
        column += p == kRedPixel ? 'R' : p == kWhitePixel ? 'W' : p == kBlackPixel ? '.' : '?';
    }
    return column;
}

int CountInColumn(const QImage& image, int x, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

std::string SampleRow(const QImage& sample, int y) {
    std::string row;
    for (int x = 0; x < sample.width(); ++x)
        row += qAlpha(sample.pixel(x, y)) != 0 ? '#' : '.';
    return row;
}

// Every style in range has a name of its own; nothing outside has one.
TEST(LineStyle, EveryStyleHasItsOwnName) {
    QStringList names;
    for (int style = -1; style <= kLineStyleCount; ++style)
        names.append(LineStyleName(style));
    EXPECT_TRUE(names.front().isEmpty() && names.back().isEmpty());
    EXPECT_EQ(names.removeDuplicates(), 1);  // only the second empty one
}

TEST(LineStyle, ListSamplesShowEachPattern) {
    const std::string empty(48, '.');
    const std::string bar(48, '#');

    // Rows top to bottom: # a bar across the whole sample, . nothing.
    const auto rows = [&](const QImage& sample) {
        std::string out;
        for (int y = 0; y < sample.height(); ++y)
            out += SampleRow(sample, y) == bar ? '#' : SampleRow(sample, y) == empty ? '.' : '?';
        return out;
    };
    const QImage solid = LineStyleSample(kLineSolid);
    ASSERT_EQ(solid.size(), QSize(48, 6));
    EXPECT_EQ(rows(solid), "..##..");
    EXPECT_EQ(rows(LineStyleSample(kLineDouble)), ".##.##");  // a 1-pixel gap

    const QImage dashed = LineStyleSample(kLineDash);
    EXPECT_EQ(SampleRow(dashed, 2), "#####...#####...#####...#####...#####...#####...");
    EXPECT_EQ(SampleRow(dashed, 3), SampleRow(dashed, 2));
    EXPECT_EQ(SampleRow(LineStyleSample(kLineDot), 2),
              "#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.#.");
    EXPECT_EQ(SampleRow(LineStyleSample(kLineDashDot), 2),
              "#####...#...#####...#...#####...#...#####...#...");
    EXPECT_EQ(SampleRow(LineStyleSample(kLineDashDotDot), 2),
              "#####...#...#...#####...#...#...#####...#...#...");

    EXPECT_EQ(LineStyleSample(42), solid);
    const QImage blue = LineStyleSample(kLineSolid, QColor(0, 0, 255));
    EXPECT_EQ(blue.pixel(0, 2), qRgb(0, 0, 255));
}

// A double line of width w (q = w / 4, h = w / 2) at zoom z is trunc((2h + q) x z)
// pixels wide, the middle trunc(q x z) of them white, none when that is 0.
TEST(LineStyle, DoubleLinesHaveColouredSidesAroundAWhiteGap) {
    const struct {
        int width;
        float zoom;
        const char* column;
    } cases[] = {
        {1, 1.0f, ".........RWR........."},   // the thinnest
        {8, 1.0f, ".....RRRRWWRRRR......"},   // q = 2, h = 4
        {20, 0.1f, ".........RR.........."},  // trunc(25 x 0.1); trunc(5 x 0.1) = 0
    };
    for (const auto& c : cases) {
        const QImage image = FrameLineImage(kRed, kLineDouble, c.width, c.zoom);
        for (int x : {10, 17, 25})
            EXPECT_EQ(Column(image, x), c.column) << c.width << " at " << c.zoom << ", x " << x;
    }
}

TEST(LineStyle, EveryStyleKeepsAtLeastOnePixelAtTinyZoom) {
    for (int style = 0; style < kLineStyleCount; ++style) {
        const QImage image = FrameLineImage(kRed, style, 1, 0.5f);
        // The first dash or dot of every pattern starts at the first point.
        EXPECT_EQ(Column(image, 5), "..........R..........") << style;
    }
}

TEST(LineStyle, FrameWidthScalesWithZoomAndUsesItsLow16Bits) {
    EXPECT_EQ(Column(FrameLineImage(kRed, kLineSolid, 3, 1.0f), 17), ".........RRR.........");
    EXPECT_EQ(CountInColumn(FrameLineImage(kRed, kLineSolid, 3, 2.0f), 17, kRedPixel), 6);
    EXPECT_EQ(CountInColumn(FrameLineImage(kRed, kLineSolid, 0x10003, 1.0f), 17, kRedPixel), 3);
    EXPECT_EQ(CountInColumn(FrameLineImage(kRed, kLineSolid, 20, 0.08f), 17, kRedPixel), 1);
}

TEST(LineStyle, NoColourDrawsNothingInAnyStyle) {
    for (int style = 0; style < kLineStyleCount; ++style) {
        const QImage image = FrameLineImage(kColorNone, style, 4, 1.0f);
        QImage blank(image.size(), image.format());
        blank.fill(kBlackPixel);
        EXPECT_EQ(image, blank) << style;
    }
}

TEST(LineStyle, BrokenStylesLeaveGapsAndSolidOnesDoNot) {
    const auto row = [](int style) {
        const QImage image = FrameLineImage(kRed, style, 1, 1.0f);
        int on = 0;
        for (int x = 5; x <= 30; ++x)
            on += image.pixel(x, 10) == kRedPixel ? 1 : 0;
        return on;
    };
    EXPECT_EQ(row(kLineSolid), 26);
    for (int style : {kLineDash, kLineDot, kLineDashDot, kLineDashDotDot}) {
        EXPECT_GT(row(style), 5) << style;
        EXPECT_LT(row(style), 22) << style;
    }
    EXPECT_LT(row(kLineDot), row(kLineDash));
}

TEST(LineStyle, StyledLineFollowsEveryPointAndRestoresThePainter) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(kBlackPixel);
    QPainter painter(&image);
    const QPen pen(QColor(0, 255, 0), 7);
    painter.setPen(pen);
    painter.setBrush(QColor(0, 0, 255));
    // An open square: three segments through four points, nothing filled.
    DrawStyledLine(painter, QPolygon({QPoint(5, 5), QPoint(30, 5), QPoint(30, 30), QPoint(5, 30)}),
                   kRed, kLineSolid, 1);
    EXPECT_EQ(painter.pen(), pen);
    EXPECT_EQ(painter.brush().color(), QColor(0, 0, 255));
    painter.end();
    EXPECT_EQ(image.pixel(17, 5), kRedPixel);
    EXPECT_EQ(image.pixel(30, 17), kRedPixel);
    EXPECT_EQ(image.pixel(17, 30), kRedPixel);
    EXPECT_EQ(image.pixel(5, 17), kBlackPixel);   // no closing segment
    EXPECT_EQ(image.pixel(17, 17), kBlackPixel);  // not filled
}

}  // namespace
}  // namespace tessaly
