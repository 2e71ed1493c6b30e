#include "mosaic/colour_features.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "document/document.h"
#include "image/image_blob.h"
#include "support/document_builder.h"
#include "support/photographs.h"
#include "support/status_recorder.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

using test::Filled;

ImageBlob Picture(const QImage& image) {
    return *ImageBlob::FromEncoded(test::PngBytes(image));
}

// A PNG with a sound header, so it becomes a picture, and garbage pixel data.
QByteArray UndecodablePng() {
    QByteArray bytes = test::PngBytes(test::Gradient(8, 8));
    const qsizetype data = bytes.indexOf("IDAT") + 4;
    for (qsizetype i = data; i < data + 12; ++i)
        bytes[i] = char(0xFF);
    return bytes;
}

struct Sections {
    SectionValues red, green, blue;

    explicit Sections(std::uint8_t fill = 0xAB) {
        std::fill(std::begin(red), std::end(red), fill);
        std::fill(std::begin(green), std::end(green), fill);
        std::fill(std::begin(blue), std::end(blue), fill);
    }
    QRgb At(int k) const { return qRgb(red[k], green[k], blue[k]); }
    bool Averages(const ImageBlob& picture, int sectionCount) {
        return ComputeSectionAverages(picture, sectionCount, red, green, blue);
    }
};

Sections Sample(const QImage& surface, int sectionCount, int x, int y, double w, double h) {
    Sections out;
    SampleBackgroundCell(surface, sectionCount, x, y, w, h, out.red, out.green, out.blue);
    return out;
}

TEST(SectionAverages, NineSectionsAreWholeThirdsAndLeftoverEdgesAreIgnored) {
    // 10 x 7 in a 3 x 3 grid: 3 x 2 sections; column 9 and row 6 are white.
    QImage image = Filled(10, 7, qRgb(255, 255, 255));
    auto colour = [](int k) { return qRgb(k * 20, 100 + k, 200 - k * 10); };
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 9; ++x)
            image.setPixel(x, y, colour(y / 2 * 3 + x / 3));
    }
    Sections out;
    ASSERT_TRUE(out.Averages(Picture(image), 9));
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(out.At(k), colour(k)) << k;
    for (int k = 9; k < kMaxSections; ++k)
        EXPECT_EQ(out.At(k), qRgb(0, 0, 0)) << k;
}

TEST(SectionAverages, OneSectionAveragesTheWholePictureTruncating) {
    // Red sums to 1009 over ten pixels (100.9), green to 1005 (100.5).
    QImage image = Filled(5, 2, qRgb(100, 100, 7));
    image.setPixel(0, 0, qRgb(109, 105, 7));
    Sections out;
    ASSERT_TRUE(out.Averages(Picture(image), 1));
    EXPECT_EQ(out.At(0), qRgb(100, 100, 7));

    // Narrower than the grid: sections of no pixels.
    ASSERT_TRUE(out.Averages(Picture(Filled(2, 9, qRgb(50, 60, 70))), 9));
    EXPECT_EQ(out.At(0), qRgb(0, 0, 0));
}

TEST(SectionAverages, TransparentPixelsCountAsBlack) {
    // Transparent red around an opaque blue square: each 4 x 4 quarter holds
    // 2 x 2 blue pixels.
    Sections out;
    ASSERT_TRUE(out.Averages(*ImageBlob::FromEncoded(test::TransparentRedPng(8, 8)), 4));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(out.At(k), qRgb(0, 0, 63)) << k;
}

TEST(SectionAverages, UnusualSectionCountsStayWithinTheArrays) {
    const ImageBlob picture = Picture(Filled(20, 20, qRgb(10, 20, 30)));
    for (auto [stored, used] :
         {std::pair{0, 1}, {-7, 1}, {10, 9}, {26, 25}, {std::numeric_limits<int>::max(), 25}}) {
        Sections out;
        EXPECT_TRUE(out.Averages(picture, stored));
        EXPECT_EQ(std::count(std::begin(out.red), std::end(out.red), 10), used) << stored;
    }
}

TEST(SectionAverages, APhotographDecodedReducedMeasuresWithinALevelOfItsFullDecode) {
    const std::vector<QImage>& photos = test::Photographs();
    if (photos.empty()) GTEST_SKIP() << "no photographs installed";
    for (std::size_t n = 0; n < photos.size(); ++n) {
        const ImageBlob picture = *ImageBlob::FromEncoded(test::CameraJpeg(photos[n]));
        const QImage full = RasterisePicture(picture);
        // Reduced to an eighth (200 x 150) and to a quarter (400 x 300).
        for (const QSize shrinkTo : {QSize(64, 48), QSize(300, 300)}) {
            const QImage reduced = RasterisePicture(picture, shrinkTo);
            ASSERT_LT(reduced.width(), full.width() / 2);
            for (const int count : {1, 4, 9, 16, 25}) {
                Sections exact, seen;
                ComputeSectionAverages(full, count, exact.red, exact.green, exact.blue);
                ComputeSectionAverages(reduced, picture.PixelSize(), count, seen.red, seen.green,
                                       seen.blue);
                for (int k = 0; k < kMaxSections; ++k) {
                    EXPECT_LE(std::abs(exact.red[k] - seen.red[k]), 1) << n << " " << count;
                    EXPECT_LE(std::abs(exact.green[k] - seen.green[k]), 1) << n << " " << count;
                    EXPECT_LE(std::abs(exact.blue[k] - seen.blue[k]), 1) << n << " " << count;
                }
            }
        }
    }
}

TEST(UndecodablePicture, ChangesNothingAndMeasuresNothing) {
    const ImageBlob picture = *ImageBlob::FromEncoded(UndecodablePng());
    Sections out(0x5C);
    EXPECT_FALSE(out.Averages(picture, 9));
    for (int k = 0; k < kMaxSections; ++k)
        EXPECT_EQ(out.At(k), qRgb(0x5C, 0x5C, 0x5C)) << k;

    std::int32_t histogram[kHistogramBins];
    std::fill(std::begin(histogram), std::end(histogram), 42);
    EXPECT_FALSE(ComputeBackgroundHistogram(picture, histogram));
    EXPECT_EQ(std::count(std::begin(histogram), std::end(histogram), 42), kHistogramBins);
    EXPECT_EQ(MeasureContentRate(picture, MakeColorRef(0, 0, 0)), 0.0f);
}

TEST(SectionAverages, RecomputingAllKeepsNodesWithoutUsablePictures) {
    Document doc;
    ASSERT_TRUE(doc.AllocateNodeTables());
    doc.State().nodeCount = 0;
    doc.State().sectionCount = 4;
    const int good = test::AddNode(doc, 50, 50, 9, 9, test::PngBytes(Filled(6, 6, qRgb(9, 8, 7))));
    const int bare = test::AddNode(doc, 50, 50, 9, 9, {});
    const int broken = test::AddNode(doc, 50, 50, 9, 9, UndecodablePng());
    for (int i : {good, bare, broken})
        doc.Node(i).avgRed[3] = doc.Node(i).avgRed[4] = 0x77;

    test::StatusRecorder status;
    RecomputeAllSectionAverages(doc);
    EXPECT_EQ(doc.Node(good).avgRed[3], 9);
    EXPECT_EQ(doc.Node(good).avgRed[4], 0);
    EXPECT_EQ(doc.Node(bare).avgRed[3], 0x77);
    EXPECT_EQ(doc.Node(broken).avgRed[3], 0x77);
    EXPECT_TRUE(status.Info().isEmpty());
    EXPECT_EQ(status.Range(), std::make_pair(0, 3));
    EXPECT_EQ(status.ProgressValues(), (std::vector<int>{0, 0, 1, 2, 0}));
    EXPECT_FALSE(ComputeNodeSectionAverages(doc, kNodeTableCapacity));
}

TEST(BackgroundCell, SurfaceIsTheCanvasWhiteOrTheStretchedBackground) {
    Document doc;
    doc.State().canvasWidth = 600;
    doc.State().canvasHeight = 500;
    EXPECT_EQ(MakeSamplingSurface(doc).pixel(599, 499), qRgb(255, 255, 255));

    QImage back = Filled(2, 1, qRgb(255, 0, 0));
    back.setPixel(1, 0, qRgb(0, 0, 255));
    doc.State().backPicture = doc.Pictures().Adopt(Picture(back));
    const QImage surface = MakeSamplingSurface(doc);
    ASSERT_EQ(surface.size(), QSize(600, 500));
    EXPECT_EQ(surface.pixel(0, 499), qRgb(255, 0, 0));
    EXPECT_EQ(surface.pixel(599, 0), qRgb(0, 0, 255));
}

TEST(BackgroundCell, SectionsAreTruncatedFractionsOfTheCell) {
    // A 8.9 x 6.5 cell in a 2 x 2 grid has 4 x 3 sections; the surface holds
    // one 4 x 3 colour block per section.
    QImage surface = Filled(20, 20, qRgb(255, 255, 255));
    const QRgb colours[4] = {qRgb(10, 0, 0), qRgb(0, 20, 0), qRgb(0, 0, 30), qRgb(40, 50, 60)};
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x)
            surface.setPixel(2 + x, 1 + y, colours[y / 3 * 2 + x / 4]);
    }
    const Sections out = Sample(surface, 4, 2, 1, 8.9, 6.5);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(out.At(k), colours[k]) << k;
    for (int k = 4; k < kMaxSections; ++k)
        EXPECT_EQ(out.At(k), qRgb(0, 0, 0)) << k;
}

TEST(BackgroundCell, WhatLiesOffTheSurfaceIsWhite) {
    const QImage black = Filled(10, 10, qRgb(0, 0, 0));
    // Half of a 4 x 2 cell over each edge in turn: 127.5 truncates.
    for (auto [x, y] : {std::pair{8, 0}, {-2, 3}, {3, 9}, {3, -1}}) {
        EXPECT_EQ(Sample(black, 1, x, y, 4, 2).At(0), qRgb(127, 127, 127)) << x << "," << y;
    }
    EXPECT_EQ(Sample(black, 4, 50, 50, 6, 6).At(3), qRgb(255, 255, 255));
    EXPECT_EQ(Sample(QImage(), 9, 0, 0, 9, 9).At(8), qRgb(255, 255, 255));
    // 100 black pixels in a million.
    EXPECT_EQ(Sample(black, 1, -500, -500, 1000, 1000).At(0), qRgb(254, 254, 254));
    EXPECT_EQ(Sample(black, 1, std::numeric_limits<int>::max(), 0, 1e300, 1e300).At(0),
              qRgb(255, 255, 255));
    EXPECT_EQ(Sample(black, 9, 0, 0, 2.9, 9).At(0), qRgb(0, 0, 0));  // under a pixel wide
}

TEST(Histograms, BackgroundBinsAreSharesInTenThousandthsTruncated) {
    Document doc;
    std::int32_t(&histogram)[kHistogramBins] = doc.State().backHistogram;
    ASSERT_TRUE(ComputeBackgroundHistogram(Picture(Filled(5, 3, qRgb(7, 8, 9))), histogram));
    EXPECT_EQ(histogram[7] + histogram[256 + 8] + histogram[512 + 9], 30000);
    EXPECT_EQ(std::count(std::begin(histogram), std::end(histogram), 0), kHistogramBins - 3);

    QImage thirds = Filled(3, 1, qRgb(255, 0, 0));
    thirds.setPixel(0, 0, qRgb(0, 0, 0));
    ASSERT_TRUE(ComputeBackgroundHistogram(Picture(thirds), histogram));
    EXPECT_EQ(histogram[0], 3333);
    EXPECT_EQ(histogram[255], 6666);
}

TEST(Histograms, ImagesBinsAreSharesOfAllSectionsInUse) {
    Document doc;
    ASSERT_TRUE(doc.AllocateNodeTables());
    doc.State().nodeCount = 0;
    doc.State().sectionCount = 1;
    test::StatusRecorder status;
    const ColourHistogram none = ComputeImagesHistogram(doc);
    EXPECT_EQ(std::count(none.begin(), none.end(), 0), kHistogramBins);

    auto add = [&](std::uint8_t red, std::uint8_t blue) {
        NodeRecord& node = doc.Node(test::AddNode(doc, 50, 50, 9, 9, {}));
        std::fill(std::begin(node.avgRed), std::end(node.avgRed), red);
        std::fill(std::begin(node.avgGreen), std::end(node.avgGreen), std::uint8_t{20});
        std::fill(std::begin(node.avgBlue), std::end(node.avgBlue), blue);
    };
    add(10, 30);
    add(11, 31);
    ColourHistogram histogram = ComputeImagesHistogram(doc);
    EXPECT_EQ(histogram[10], 5000);
    EXPECT_EQ(histogram[11], 5000);
    EXPECT_EQ(histogram[256 + 20], 10000);
    EXPECT_EQ(histogram[512 + 31], 5000);
    EXPECT_EQ(status.Range(), std::make_pair(0, 2));
    EXPECT_EQ(status.ProgressValues().back(), 0);

    // Four sections of three nodes: one of twelve, truncated; section 4 unused.
    doc.State().sectionCount = 4;
    add(10, 30);
    doc.Node(1).avgRed[4] = 77;
    histogram = ComputeImagesHistogram(doc);
    EXPECT_EQ(histogram[10], 6666);
    EXPECT_EQ(histogram[11], 3333);
    EXPECT_EQ(histogram[77], 0);
}

TEST(ContentRate, IsThePercentageOfExactlyEqualPixels) {
    QImage image = Filled(4, 2, qRgb(200, 20, 30));
    QPainter(&image).fillRect(0, 0, 2, 2, QColor(1, 2, 3));  // the left half
    const ImageBlob picture = Picture(image);
    EXPECT_FLOAT_EQ(MeasureContentRate(picture, MakeColorRef(200, 20, 30)), 50.0f);
    EXPECT_EQ(MeasureContentRate(picture, MakeColorRef(201, 20, 30)), 0.0f);
    EXPECT_EQ(MeasureContentRate(picture, MakeColorRef(200, 20, 29)), 0.0f);
    EXPECT_EQ(MeasureContentRate(picture, MakeColorRef(30, 20, 200)), 0.0f);
    // "No colour" is not white, though its low bytes are all ones.
    EXPECT_EQ(MeasureContentRate(Picture(Filled(2, 2, qRgb(255, 255, 255))), kColorNone), 0.0f);
}

}  // namespace

TEST(SectionAverages, WideSectionsAndWhiteRowsSumWithoutOverflow) {
    // Rows far longer than the sums' short lanes hold, at full brightness.
    const QImage white = Filled(5000, 3, qRgb(255, 255, 255));
    Sections out;
    SampleBackgroundCell(white, 1, 0, 0, 5000, 3, out.red, out.green, out.blue);
    EXPECT_EQ(out.At(0), qRgb(255, 255, 255));

    // Odd widths and offsets, against a plain sum.
    QImage noise(2111, 40, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 7 + y) % 256, (x * x + y) % 256, (x ^ y) % 256));
    }
    for (const int sections : {1, 4, 25}) {
        const int s = SectionGridSide(sections);
        const int left = 3, top = 1, width = 2101, height = 37;
        const Sections got = Sample(noise, sections, left, top, width, height);
        const int sw = width / s, sh = height / s;
        for (int k = 0; k < s * s; ++k) {
            std::int64_t r = 0, g = 0, b = 0;
            for (int y = top + (k / s) * sh; y < top + (k / s + 1) * sh; ++y) {
                for (int x = left + (k % s) * sw; x < left + (k % s + 1) * sw; ++x) {
                    r += qRed(noise.pixel(x, y));
                    g += qGreen(noise.pixel(x, y));
                    b += qBlue(noise.pixel(x, y));
                }
            }
            const float pixels = float(sw * sh);
            EXPECT_EQ(got.At(k), qRgb(int(float(r) / pixels), int(float(g) / pixels), int(float(b) / pixels)))
                << sections << " " << k;
        }
    }
}

TEST(SamplingSurface, NewSurfacesAreWritableAndBounded) {
    QImage surface = NewSamplingSurface(501, 333);
    ASSERT_FALSE(surface.isNull());
    EXPECT_EQ(surface.size(), QSize(501, 333));
    EXPECT_EQ(surface.format(), QImage::Format_RGB32);
    surface.fill(Qt::white);
    surface.setPixel(500, 332, qRgb(1, 2, 3));
    EXPECT_EQ(surface.pixel(500, 332), qRgb(1, 2, 3));
    EXPECT_TRUE(NewSamplingSurface(0, 10).isNull());
    EXPECT_TRUE(NewSamplingSurface(10, -1).isNull());
    EXPECT_TRUE(NewSamplingSurface(kMaxCanvasSide + 1, 10).isNull());
}

}  // namespace tessaly
