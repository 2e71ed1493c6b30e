#include "image/jpeg_decoder.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "support/photographs.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// An Adobe CMYK JPEG, as print software writes them.
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
    for (int y = 0; y < height; ++y) {
        for (int i = 0; i < width * 4; ++i) row[std::size_t(i)] = JSAMPLE(i * (y + 3) + 150);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    std::free(data);
    return bytes;
}

QByteArray Photograph() {
    const auto& photos = test::Photographs();
    return photos.empty() ? test::JpegBytes(1600, 1200) : test::CameraJpeg(photos.front());
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
    const QImage grey = test::Gradient(120, 80).convertToFormat(QImage::Format_Grayscale8);
    for (const QByteArray& stream : {Photograph(), test::JpegOf(grey), CmykJpeg(90, 70)}) {
        QBuffer buffer;
        buffer.setData(stream);
        const QImage qt = QImageReader(&buffer, "jpeg").read();
        const DecodedJpeg full = DecodeJpeg(stream);
        EXPECT_EQ(full.image, qt);  // pixels, format and colour space
        EXPECT_EQ(full.rows, qt.height());
        const QImage third = DecodeJpeg(stream, qt.size() / 3).image;
        EXPECT_EQ(third.size(), JpegReducedSize(qt.size(), 3));
        EXPECT_EQ(third.format(), qt.format());
        // Opaque, as RGB32 must be.
        EXPECT_TRUE(third.depth() != 32 || third.constBits()[3] == 0xFF);
        // A band of rows that starts and ends inside blocks: its rows as the
        // full decode has them, nothing above or below it.
        const int first = qt.height() / 3 + 5, last = qt.height() / 2 + 3;
        const DecodedJpeg band = DecodeJpegRows(stream, first, last);
        ASSERT_EQ(band.image.size(), qt.size());
        EXPECT_EQ(band.rows, last);
        for (int y : {first - 1, first, last - 1, last}) {
            const bool inside = y >= first && y < last;
            const auto row = [y](const QImage& image) {
                return QByteArray(reinterpret_cast<const char*>(image.constScanLine(y)),
                                  image.bytesPerLine());
            };
            EXPECT_EQ(row(band.image) == row(qt), inside) << y;
            if (!inside) {
                EXPECT_EQ(row(band.image).count('\0'), band.image.bytesPerLine()) << y;
            }
        }
    }
}

TEST(JpegDecoder, AStreamCutShortKeepsItsDecodedRowsAndFillsTheRest) {
    const QByteArray whole = Photograph();
    for (const QSize target : {QSize(400, 300), QSize(200, 150)}) {  // a quarter, an eighth
        const QImage complete = DecodeJpeg(whole, target).image;
        const QImage cut = DecodeJpeg(whole.left(10000), target).image;
        ASSERT_EQ(cut.size(), complete.size());
        const auto rowIs = [&](int y, const QImage& as) {  // null: the fill
            for (int x = 0; x < cut.width(); ++x) {
                if (cut.pixel(x, y) != (as.isNull() ? kJpegFillColour : as.pixel(x, y)))
                    return false;
            }
            return true;
        };
        int kept = 0, filled = cut.height();
        while (rowIs(kept, complete)) ++kept;
        while (rowIs(filled - 1, QImage())) --filled;
        // The photograph's rows, at most one row of blocks (16 rows of the
        // source) where the data ran out, then the fill.
        EXPECT_GT(kept, 0) << target.width();
        EXPECT_LE(filled - kept, 16 * cut.height() / 1200) << target.width();
        EXPECT_LT(filled, cut.height() / 4) << target.width();
    }
}

TEST(JpegDecoder, RefusesHugeSizesEndlessScansAndStreamsWithoutAHeader) {
    QByteArray huge = test::JpegBytes(16, 16);
    const qsizetype frame = huge.indexOf(QByteArrayLiteral("\xFF\xC0"));
    huge.replace(frame + 5, 4, QByteArrayLiteral("\x4E\x20\x4E\x20"));  // 20000 x 20000
    EXPECT_EQ(DecodeJpeg(huge, {64, 48}).fullSize, QSize(20000, 20000));
    EXPECT_TRUE(DecodeJpeg(huge, {64, 48}).image.isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArrayLiteral("\xFF\xD8\xFF\xE0 not a jpeg")).image.isNull());

    // The first scan of a progressive stream over and over: the library only
    // warns about each repeat, yet thousands keep it busy for nothing.
    QByteArray stream;
    QBuffer buffer(&stream);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(test::Gradient(64, 48));
    const qsizetype scan = stream.indexOf(QByteArrayLiteral("\xFF\xDA"));
    const qsizetype next = stream.indexOf(QByteArrayLiteral("\xFF\xC4"), scan);
    ASSERT_GT(next, scan);  // the next scan's Huffman table
    const auto repeated = [&](int times) {
        return stream.left(next) + stream.mid(scan, next - scan).repeated(times) + stream.mid(next);
    };
    EXPECT_EQ(DecodeJpeg(repeated(20)).rows, 48);
    EXPECT_TRUE(DecodeJpeg(repeated(600)).image.isNull());
}

}  // namespace
}  // namespace tessaly
