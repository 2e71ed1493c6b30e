#include "image/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <cstdio>
#include <jpeglib.h>

#include "support/photographs.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// An Adobe CMYK JPEG of varied colours, as print software writes them.
QByteArray CmykJpeg(int width, int height) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &data, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) {
            const int y = int(cinfo.next_scanline);
            const JSAMPLE pixel[4] = {JSAMPLE(x * 5), JSAMPLE(y * 7), JSAMPLE(x * y),
                                      JSAMPLE(200 + x % 56)};
            std::copy(pixel, pixel + 4, row.begin() + x * 4);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    std::free(data);
    return bytes;
}

QImage QtDecode(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, "jpeg").read();
}

TEST(JpegDecoder, KeepsTheFewestEighthsThatLeaveBothSidesAtLeastTheTarget) {
    struct Row {
        QSize full, target;
        int eighths;
        QSize reduced;
    };
    const Row rows[] = {
        {{1600, 1200}, {800, 600}, 4, {800, 600}},   // exactly half
        {{1600, 1200}, {801, 600}, 5, {1000, 750}},  // one pixel more across
        {{1600, 1200}, {800, 601}, 5, {1000, 750}},  // one pixel more down
        {{1600, 1200}, {64, 48}, 1, {200, 150}},
        {{1600, 1200}, {201, 10}, 2, {400, 300}},
        {{1600, 1200}, {1601, 1}, 8, {1600, 1200}},  // larger than the picture
        {{1603, 1201}, {200, 150}, 1, {201, 151}},   // sides rounded up
        {{1603, 1201}, {}, 8, {1603, 1201}},         // no target: full size
    };
    for (const Row& row : rows) {
        EXPECT_EQ(JpegReductionEighths(row.full, row.target), row.eighths) << row.target.width();
        EXPECT_EQ(JpegReducedSize(row.full, row.eighths), row.reduced) << row.target.width();
    }
}

TEST(JpegDecoder, DecodesAsQtDoesInColourGreyAndCmyk) {
    QImage grey = test::Gradient(120, 80).convertToFormat(QImage::Format_Grayscale8);
    QByteArray greyJpeg;
    QBuffer buffer(&greyJpeg);
    buffer.open(QIODevice::WriteOnly);
    grey.save(&buffer, "jpeg", 90);
    const std::vector<QImage>& photos = test::Photographs();
    const QByteArray photo =
        photos.empty() ? test::JpegBytes(1600, 1200) : test::CameraJpeg(photos[0]);
    int row = 0;
    for (const QByteArray& stream : {photo, greyJpeg, CmykJpeg(90, 70)}) {
        SCOPED_TRACE(row++);
        const DecodedJpeg full = DecodeJpeg(stream);
        const QImage qt = QtDecode(stream);
        ASSERT_FALSE(qt.isNull());
        EXPECT_EQ(full.image.format(), qt.format());
        EXPECT_EQ(full.image, qt);
        EXPECT_EQ(full.rows, qt.height());
        EXPECT_EQ(full.fullSize, qt.size());
        const QImage small = DecodeJpeg(stream, qt.size() / 3).image;
        EXPECT_EQ(small.size(), JpegReducedSize(qt.size(), 3));
        EXPECT_EQ(small.format(), qt.format());
    }
    // Four bytes a pixel with the fourth opaque, as RGB32 requires.
    const QImage small = DecodeJpeg(photo, {64, 48}).image;
    EXPECT_EQ(small.pixel(3, 3) >> 24, 0xFFu);
    EXPECT_EQ(reinterpret_cast<const QRgb*>(small.constScanLine(7))[5] >> 24, 0xFFu);
}

TEST(JpegDecoder, AStreamCutShortKeepsItsDecodedRowsAndFillsTheRest) {
    const std::vector<QImage>& photos = test::Photographs();
    if (photos.empty()) GTEST_SKIP() << "no photographs installed";
    const QByteArray whole = test::CameraJpeg(photos.back());
    const QByteArray cut = whole.left(10000);
    for (const QSize target : {QSize(400, 300), QSize(200, 150)}) {  // quarter, eighth
        const QImage complete = DecodeJpeg(whole, target).image;
        const DecodedJpeg decoded = DecodeJpeg(cut, target);
        const QImage& image = decoded.image;
        ASSERT_EQ(image.size(), complete.size());
        const auto rowIs = [&](int y, auto test) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (!test(x, line[x])) return false;
            }
            return true;
        };
        int kept = 0;
        while (rowIs(kept, [&](int x, QRgb p) { return p == complete.pixel(x, kept); })) ++kept;
        int filled = image.height();
        while (rowIs(filled - 1, [](int, QRgb p) { return p == kJpegFillColour; })) --filled;
        // Whole rows of the photograph, then at most one band of 16 source
        // rows (one row of blocks) where the data ran out, then fill.
        EXPECT_GT(kept, 0) << target.width();
        EXPECT_LE(filled - kept, 16 * image.height() / 1200) << target.width();
        EXPECT_LT(filled, image.height() / 4) << target.width();
    }
}

// A progressive JPEG whose first scan comes `times` times over: the library
// only warns about each repeat.
QByteArray RepeatedScans(int times) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(test::Gradient(64, 48));
    const qsizetype scan = bytes.indexOf(QByteArrayLiteral("\xFF\xDA"));
    qsizetype end = scan + 2;
    while (bytes[end] != char(0xFF) || bytes[end + 1] == 0 ||
           (uchar(bytes[end + 1]) >= 0xD0 && uchar(bytes[end + 1]) <= 0xD7)) {
        ++end;
    }
    return bytes.left(end) + bytes.mid(scan, end - scan).repeated(times) + bytes.mid(end);
}

TEST(JpegDecoder, RefusesHugeSizesEndlessScansAndStreamsWithoutAHeader) {
    QByteArray huge = test::JpegBytes(16, 16);
    const qsizetype frame = huge.indexOf(QByteArrayLiteral("\xFF\xC0"));
    ASSERT_GT(frame, 0);
    // Height and width of 20000 pixels: 400 million pixels.
    huge.replace(frame + 5, 4, QByteArrayLiteral("\x4E\x20\x4E\x20"));
    const DecodedJpeg decoded = DecodeJpeg(huge, {64, 48});
    EXPECT_EQ(decoded.fullSize, QSize(20000, 20000));
    EXPECT_TRUE(decoded.image.isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArrayLiteral("\xFF\xD8\xFF\xE0 not a jpeg")).image.isNull());
    EXPECT_TRUE(DecodeJpeg({}).image.isNull());
    // Thousands of scans are a stream built to keep the decoder busy.
    EXPECT_EQ(DecodeJpeg(RepeatedScans(20)).rows, 48);
    EXPECT_TRUE(DecodeJpeg(RepeatedScans(600)).image.isNull());
}

}  // namespace
}  // namespace tessaly
