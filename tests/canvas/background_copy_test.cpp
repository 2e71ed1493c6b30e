#include "canvas/background_copy.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "image/image_blob.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// Two pixels near both ends of the byte range, in each format the shift
// knows by its depth, in a row long enough for the wide path and its tail;
// the alpha byte of a 32-bit pixel is never touched.
TEST(BackgroundCopyTest, ShiftMovesEachColourByteAndClamps) {
    const QRgb first = qRgba(10, 100, 250, 0x80), second = qRgb(200, 50, 96);
    const struct {
        int level;
        QRgb first, second;
    } cases[] = {
        {1, qRgba(0, 4, 154, 0x80), qRgb(104, 0, 0)},
        {3, qRgba(0, 68, 218, 0x80), qRgb(168, 18, 64)},
        {4, first, second},
        {7, qRgba(106, 196, 255, 0x80), qRgb(255, 146, 192)},
        {0, qRgba(0, 4, 154, 0x80), qRgb(104, 0, 0)},  // out of range: the nearest bound
    };
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_RGB888}) {
        QImage plain(7, 1, format);
        for (int x = 0; x < 7; ++x)
            plain.setPixel(x, 0, x % 2 == 0 ? first : second);
        const QImage before = plain.copy();
        const bool alpha = format == QImage::Format_ARGB32;
        for (const auto& c : cases) {
            const QImage shifted = ShiftedCopy(plain, c.level);
            EXPECT_EQ(shifted.format(), format);
            for (int x = 0; x < 7; ++x) {
                const QRgb expected = x % 2 != 0 ? c.second
                                      : alpha    ? c.first
                                                 : (c.first | 0xFF000000u);
                EXPECT_EQ(shifted.pixel(x, 0), expected) << format << " level " << c.level;
            }
        }
        EXPECT_EQ(plain, before);  // the plain copy is never changed
    }
    // Fewer than 16 bits: left as it is.
    const QImage indexed =
        test::Filled(3, 3, qRgb(90, 90, 90)).convertToFormat(QImage::Format_Indexed8);
    EXPECT_EQ(ShiftedCopy(indexed, 7), indexed);
}

// 5-6-5 pixels: |level - 4| steps of 10 on red and blue, 20 on green.
TEST(BackgroundCopyTest, SixteenBitPixelsStepEachField) {
    const auto pack = [](int r, int g, int b) {
        return static_cast<quint16>((r << 11) | (g << 5) | b);
    };
    const struct {
        int level;
        quint16 from, to;
    } cases[] = {
        {5, pack(5, 30, 21), pack(15, 50, 31)}, {6, pack(5, 30, 21), pack(25, 63, 31)},
        {3, pack(15, 30, 9), pack(5, 10, 0)},   {1, pack(31, 63, 31), pack(1, 3, 1)},
        {4, pack(7, 8, 9), pack(7, 8, 9)},
    };
    for (const auto& c : cases) {
        QImage plain(1, 1, QImage::Format_RGB16);
        *reinterpret_cast<quint16*>(plain.scanLine(0)) = c.from;
        const QImage shifted = ShiftedCopy(plain, c.level);
        ASSERT_EQ(shifted.format(), QImage::Format_RGB16);
        EXPECT_EQ(*reinterpret_cast<const quint16*>(shifted.constScanLine(0)), c.to)
            << "level " << c.level;
    }
}

// The cache follows the level from the plain copy each time, so levels never
// add up; a transparent picture lies over white in the opaque copy.
TEST(BackgroundCopyTest, CacheFollowsTheLevelWithoutAccumulating) {
    Document doc;
    ASSERT_TRUE(doc.ResetDocument());
    DocState& s = doc.State();
    BackgroundCopyCache cache;
    EXPECT_EQ(cache.Get(doc), nullptr);
    s.backPicture = doc.Pictures().Adopt(*ImageBlob::FromEncoded(test::TransparentRedPng(40, 40)));
    const struct {
        int level;
        QRgb corner, middle;
    } steps[] = {{7, qRgb(255, 255, 255), qRgb(96, 96, 255)},
                 {1, qRgb(159, 159, 159), qRgb(0, 0, 159)},
                 {1, qRgb(159, 159, 159), qRgb(0, 0, 159)},
                 {4, qRgb(255, 255, 255), qRgb(0, 0, 255)}};
    for (const auto& step : steps) {
        s.backBrightness = step.level;
        const QImage* copy = cache.Get(doc);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->format(), QImage::Format_RGB32);
        EXPECT_EQ(copy->pixel(0, 0), step.corner) << "level " << step.level;
        EXPECT_EQ(copy->pixel(20, 20), step.middle) << "level " << step.level;
        EXPECT_EQ(*copy, BackgroundCopy(doc));
    }
}

}  // namespace
}  // namespace tessaly
