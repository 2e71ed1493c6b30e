#include "image/picture_io.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QtEndian>

#include "support/test_images.h"

namespace tessaly {
namespace {

TEST(PictureIo, BlobWithLengthIsBigEndianLengthThenTheBytes) {
    const QByteArray jpeg = test::JpegBytes(20, 10);
    const auto picture = ImageBlob::FromEncoded(jpeg);
    ASSERT_TRUE(picture);
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(SaveImageBlob(buffer, *picture, true));
    ASSERT_TRUE(SaveImageBlob(buffer, *picture, false));
    EXPECT_EQ(qFromBigEndian<quint32>(file.constData()), static_cast<quint32>(jpeg.size()));
    EXPECT_EQ(file.mid(4, jpeg.size()), jpeg);
    EXPECT_EQ(file.mid(4 + jpeg.size()), jpeg);
    EXPECT_EQ(EncodedSize(&*picture), jpeg.size());
}

TEST(PictureIo, ReadsBackExactlyTheBytesWritten) {
    const QByteArray jpeg = test::JpegBytes(33, 17);
    QByteArray file = QByteArrayLiteral("head") + jpeg + QByteArrayLiteral("tail");
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(4);
    const auto picture = LoadImageBlob(buffer, jpeg.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Encoded(), jpeg);
    EXPECT_EQ(buffer.pos(), 4 + jpeg.size());
    EXPECT_EQ(PixelSize(&*picture), QSize(33, 17));
}

TEST(PictureIo, LengthBeyondTheFileGivesNoPicture) {
    QByteArray file = test::JpegBytes(16, 16);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(LoadImageBlob(buffer, file.size() + 1));
    EXPECT_FALSE(LoadImageBlob(buffer, 0x7FFFFFFF));
    EXPECT_FALSE(LoadImageBlob(buffer, -5));
    EXPECT_FALSE(LoadImageBlob(buffer, 0));
}

TEST(PictureIo, NoPictureHasNoSizeAndNoStream) {
    EXPECT_EQ(PixelSize(nullptr), QSize(0, 0));
    EXPECT_EQ(EncodedSize(nullptr), 0);
}

}  // namespace
}  // namespace tessaly
