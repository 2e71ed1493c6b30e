#include "canvas/histogram_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace tessaly {
namespace {

// A 537 x 470 panel at (10, 5): graphs 512 wide from x = 22, 170 high.
const QRect kPanel(10, 5, 537, 470);
constexpr int kGraphLeft = 22, kGraphHeight = 170;
const QRgb kUpperGround = qRgb(255, 255, 240);
const QRgb kLowerGround = qRgb(255, 255, 225);

struct Painted {
    QImage image;
    HistogramGraphs graphs;
};

// A graph without its outline.
QRect Inner(const QRect& graph) {
    return graph.adjusted(2, 2, -2, -2);
}

Painted Paint(const std::int32_t (*background)[kHistogramBins], const ColourHistogram& images) {
    Painted out{QImage(560, 490, QImage::Format_RGB32), {}};
    out.image.fill(Qt::white);
    QPainter painter(&out.image);
    out.graphs = PaintHistogramPanel(painter, kPanel, background, images, 1.0);
    return out;
}

int CountIn(const QImage& image, const QRect& rect, QRgb colour) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

TEST(HistogramPainter, WithoutBackgroundThePanelIsOnlyBlack) {
    const Painted p = Paint(nullptr, ColourHistogram{});
    EXPECT_EQ(CountIn(p.image, kPanel, qRgb(0, 0, 0)), kPanel.width() * kPanel.height());
    EXPECT_EQ(p.image.pixel(kPanel.right() + 1, kPanel.top()), qRgb(255, 255, 255));
    EXPECT_TRUE(p.graphs.upper.isEmpty() && p.graphs.lower.isEmpty());
}

// Graphs of zeros: the grounds at the stated places, unbroken inside the
// outlines, with the flat curves hidden under the bottom lines.
TEST(HistogramPainter, ZeroHistogramsLeaveTheGroundsInPlace) {
    const std::int32_t background[kHistogramBins] = {};
    const Painted p = Paint(&background, ColourHistogram{});
    EXPECT_EQ(p.graphs.upper, QRect(kGraphLeft, 65, 512, kGraphHeight));
    EXPECT_EQ(p.graphs.lower, QRect(kGraphLeft, 265, 512, kGraphHeight));
    const int insideOutline = 508 * (kGraphHeight - 4);
    EXPECT_EQ(CountIn(p.image, Inner(p.graphs.upper), kUpperGround), insideOutline);
    EXPECT_EQ(CountIn(p.image, Inner(p.graphs.lower), kLowerGround), insideOutline);
    EXPECT_EQ(p.image.pixel(kGraphLeft + 256, p.graphs.lower.bottom()), qRgb(0, 0, 0));
}

// The largest value reaches the top of its graph: the red curve covers its
// column from top to bottom, while beside the peak the ground shows.
TEST(HistogramPainter, TheLargestValueReachesTheTop) {
    const std::int32_t background[kHistogramBins] = {};
    ColourHistogram images{};
    images[100] = 5000;  // red 100
    const Painted p = Paint(&background, images);
    const QRect lower = p.graphs.lower;
    const int peakX = kGraphLeft + 200;
    EXPECT_EQ(p.image.pixel(peakX, lower.top() + 2), qRgb(255, 0, 0));
    EXPECT_EQ(CountIn(p.image, QRect(peakX, lower.top() + 2, 1, kGraphHeight - 4), kLowerGround),
              0);
    EXPECT_EQ(p.image.pixel(peakX + 20, lower.top() + 2), kLowerGround);
}

}  // namespace
}  // namespace tessaly
