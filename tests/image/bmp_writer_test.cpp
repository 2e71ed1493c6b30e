#include "image/bmp_writer.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QtEndian>

#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

quint32 U32(const QByteArray& bytes, int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
quint16 U16(const QByteArray& bytes, int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }

// Long runs (wider than one run holds), single pixels and a gradient, on an
// odd width.
QImage Mixed(int width, int height) {
    QImage image = test::Gradient(width, height);
    QPainter painter(&image);
    painter.fillRect(0, 0, width, height / 2, QColor(200, 30, 30));
    painter.fillRect(0, 0, width / 3, height / 4, Qt::white);
    for (int x = 0; x < width; x += 2) painter.fillRect(x, height / 4, 1, 3, Qt::black);
    return image;
}

struct LayoutCase {
    int bits;
    BmpCompression compression;
    int width, height;
    quint32 offset, size;
};

TEST(BmpWriterTest, HeadersDescribeTheLayout) {
    const test::ScopedTempDir dir;
    const LayoutCase cases[] = {
        {24, BmpCompression::None, 1000, 1000, 54, 3000054},
        {8, BmpCompression::None, 1000, 1000, 1078, 1001078},
        {1, BmpCompression::None, 33, 2, 62, 62 + 2 * 8},
        {4, BmpCompression::None, 9, 1, 118, 118 + 8},
        {16, BmpCompression::BitFields, 3, 1, 66, 66 + 8},
        {32, BmpCompression::BitFields, 3, 1, 66, 66 + 12},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.bits);
        const QString path = dir.Path() + QStringLiteral("/layout.bmp");
        ASSERT_TRUE(WriteBmpFile(test::Gradient(c.width, c.height), path, c.bits, c.compression));
        const QByteArray bytes = test::ReadFile(path);
        EXPECT_EQ(static_cast<quint32>(bytes.size()), c.size);
        EXPECT_EQ(bytes.left(2), QByteArrayLiteral("BM"));
        EXPECT_EQ(U32(bytes, 2), c.size);
        EXPECT_EQ(U32(bytes, 10), c.offset);
        EXPECT_EQ(U32(bytes, 14), 40u);
        EXPECT_EQ(U16(bytes, 28), c.bits);
        EXPECT_EQ(U32(bytes, 34), c.size - c.offset);
    }
}

TEST(BmpWriterTest, RunLengthFilesMatchTheirUncompressedTwins) {
    const test::ScopedTempDir dir;
    const QImage source = Mixed(301, 40);
    for (const auto& [bits, compression] : {std::pair{4, BmpCompression::Rle4}, std::pair{8, BmpCompression::Rle8}}) {
        SCOPED_TRACE(bits);
        const QString plain = dir.Path() + QStringLiteral("/plain.bmp");
        const QString packed = dir.Path() + QStringLiteral("/packed.bmp");
        ASSERT_TRUE(WriteBmpFile(source, plain, bits, BmpCompression::None));
        ASSERT_TRUE(WriteBmpFile(source, packed, bits, compression));
        const QImage a = QImage(plain).convertToFormat(QImage::Format_RGB32);
        const QImage b = QImage(packed).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(b.isNull());
        EXPECT_EQ(a, b);
        EXPECT_LT(test::ReadFile(packed).size(), test::ReadFile(plain).size());
    }
}

TEST(BmpWriterTest, FailuresNameTheirStep) {
    // 32768 x 16385 pixels of 32 bits need more than the header's sizes can
    // hold: refused before any memory is taken for them.
    const QImage huge(32768, 16385, QImage::Format_Mono);
    const struct {
        QImage image;
        QString path;
        int bits;
        BmpCompression compression;
        QString step;
    } cases[] = {
        {test::Gradient(4, 4), QStringLiteral("/nonexistent-folder/x.bmp"), 24, BmpCompression::None,
         QStringLiteral("ファイルオープンエラー")},
        {test::Gradient(4, 4), QStringLiteral("/tmp/x.bmp"), 24, BmpCompression::Rle8,
         QStringLiteral("BITMAPINFOHEADER取得エラー")},
        {huge, QStringLiteral("/tmp/x.bmp"), 32, BmpCompression::BitFields,
         QStringLiteral("配列確保用領域作成エラー")},
    };
    for (const auto& c : cases) {
        QString step;
        EXPECT_FALSE(WriteBmpFile(c.image, c.path, c.bits, c.compression, &step));
        EXPECT_EQ(step, c.step);
    }
}

}  // namespace
}  // namespace tessaly
