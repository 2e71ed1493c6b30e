#include "image/jpeg_structure.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>

#include "support/test_images.h"

namespace tessaly {
namespace {

TEST(JpegStructure, BaselineAndProgressiveStreamsAreCompleteWithTheirSize) {
    for (const bool progressive : {false, true}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(progressive);
        ASSERT_TRUE(writer.write(test::Gradient(123, 77)));
        const JpegStructure jpeg = ReadJpegStructure(bytes);
        EXPECT_TRUE(jpeg.complete) << progressive;
        EXPECT_EQ(jpeg.size, QSize(123, 77)) << progressive;
        // Data after the end marker is allowed.
        EXPECT_TRUE(ReadJpegStructure(bytes + QByteArray(100, '\0') + "trailer").complete);
    }
}

TEST(JpegStructure, StreamCutAnywhereIsIncomplete) {
    const QByteArray bytes = test::JpegBytes(64, 48);
    for (qsizetype length : {qsizetype(0), qsizetype(2), qsizetype(20), bytes.size() / 2,
                             bytes.size() - 2, bytes.size() - 1}) {
        EXPECT_FALSE(ReadJpegStructure(bytes.left(length)).complete) << length;
    }
}

TEST(JpegStructure, LyingSegmentLengthsAreRefused) {
    QByteArray bytes = test::JpegBytes(64, 48);
    // The first segment after SOI claims to run far past the end.
    ASSERT_EQ(static_cast<unsigned char>(bytes[2]), 0xFF);
    bytes[4] = char(0xFF);
    bytes[5] = char(0xF0);
    EXPECT_FALSE(ReadJpegStructure(bytes.left(1000)).complete);
    // A length below two would make the walk stand still.
    QByteArray stuck = test::JpegBytes(64, 48);
    stuck[4] = 0;
    stuck[5] = 1;
    EXPECT_FALSE(ReadJpegStructure(stuck).complete);
}

TEST(JpegStructure, OtherDataIsNotJpeg) {
    EXPECT_FALSE(LooksLikeJpeg(QByteArrayLiteral("GIF89a")));
    EXPECT_FALSE(ReadJpegStructure(QByteArrayLiteral("\xFF\xD8")).complete);
    EXPECT_FALSE(ReadJpegStructure(test::PngBytes(test::Gradient(4, 4))).complete);
}

}  // namespace
}  // namespace tessaly
