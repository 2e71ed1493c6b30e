#include "image/image_blob.h"

#include <gtest/gtest.h>

#include <QPainter>

#include "image/decode_cache.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

TEST(ImageBlob, KeepsTheExactBytesInAnyFormatAndReadsTheSizeWithoutDecoding) {
    for (const auto& [bytes, format] :
         {std::pair{test::JpegBytes(640, 480), "jpeg"},
          std::pair{test::PngBytes(test::Gradient(640, 480)), "png"}}) {
        const quint64 decodes = PictureDecodeCount();
        const auto picture = ImageBlob::FromEncoded(bytes);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Encoded(), bytes);
        EXPECT_EQ(picture->PixelSize(), QSize(640, 480));
        EXPECT_EQ(picture->Format(), format);
        EXPECT_EQ(picture->IsJpeg(), picture->Format() == "jpeg");
        EXPECT_EQ(PictureDecodeCount(), decodes);
    }
}

TEST(ImageBlob, RefusesWhatIsNotAWholePicture) {
    const QByteArray jpeg = test::JpegBytes(64, 48);
    EXPECT_FALSE(ImageBlob::FromEncoded({}));
    EXPECT_FALSE(ImageBlob::FromEncoded(jpeg.left(jpeg.indexOf("\xFF\xDA"))));  // no scan
    EXPECT_FALSE(ImageBlob::FromEncoded(QByteArrayLiteral("not a picture at all")));
}

TEST(ImageBlob, JpegCutShortThatDecodesIsAPicture) {
    const QByteArray whole = test::JpegBytes(64, 48);
    for (const QByteArray& cut : {whole.chopped(2), whole.left(whole.size() * 2 / 3)}) {
        const auto picture = ImageBlob::FromEncoded(cut);
        ASSERT_TRUE(picture) << cut.size();
        EXPECT_EQ(picture->Encoded(), cut);
        EXPECT_EQ(picture->PixelSize(), QSize(64, 48));
    }
}

TEST(ImageBlob, RefusesSizesBeyondEitherLimitWithoutDecoding) {
    const quint64 decodes = PictureDecodeCount();
    EXPECT_FALSE(ImageBlob::FromEncoded(test::PngDeclaringSize(30000, 30000)));  // pixels
    EXPECT_FALSE(ImageBlob::FromEncoded(test::PngDeclaringSize(1, 70000)));      // side
    EXPECT_TRUE(ImageBlob::FromEncoded(test::PngDeclaringSize(1, 65535)));
    EXPECT_EQ(PictureDecodeCount(), decodes);
}

TEST(ImageBlob, DecodesOnceAndSharesThePixelsWithCopiesAndDrawing) {
    const auto picture = ImageBlob::FromEncoded(test::JpegBytes(100, 60));
    ASSERT_TRUE(picture);
    const quint64 decodes = PictureDecodeCount();
    const QImage first = picture->Decode();
    const ImageBlob copy = *picture;
    const QImage second = copy.Decode();
    EXPECT_EQ(first.size(), QSize(100, 60));
    EXPECT_EQ(first, second);
    EXPECT_EQ(PictureDecodeCount(), decodes + 1);

    // Drawing reduced, again and again, decodes at most once more.
    QImage canvas(200, 200, QImage::Format_RGB32);
    QPainter painter(&canvas);
    for (int i = 0; i < 10; ++i)
        copy.Draw(painter, QRect(0, 0, 45, 27));
    EXPECT_LE(PictureDecodeCount(), decodes + 2);
}

TEST(ImageBlob, DecodesReducedForSmallDrawing) {
    const auto picture = ImageBlob::FromEncoded(test::JpegBytes(640, 480));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->DecodeForSize(QSize(100, 100)).size(), QSize(160, 120));
    EXPECT_EQ(picture->DecodeForSize(QSize(640, 480)).size(), QSize(640, 480));
    EXPECT_EQ(picture->DecodeForSize(QSize(2000, 2000)).size(), QSize(640, 480));
}

TEST(ImageBlob, DrawsScaledIntoItsRectangle) {
    const auto picture =
        ImageBlob::FromEncoded(test::PngBytes(test::Filled(40, 40, qRgb(0, 200, 0))));
    ASSERT_TRUE(picture);

    QImage canvas = test::Filled(100, 100, qRgb(255, 255, 255));
    QPainter painter(&canvas);
    picture->Draw(painter, QRect(10, 20, 30, 50));
    painter.end();
    EXPECT_EQ(canvas.pixel(25, 45), qRgb(0, 200, 0));
    EXPECT_EQ(canvas.pixel(9, 45), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(25, 70), qRgb(255, 255, 255));
}

TEST(ImageBlob, UndecodableStreamDrawsNothing) {
    // A complete marker structure around scan data that is nonsense.
    QByteArray bytes = test::JpegBytes(32, 32);
    const qsizetype sos = bytes.indexOf(QByteArrayLiteral("\xFF\xDA"));
    ASSERT_GT(sos, 0);
    bytes = bytes.left(sos) + QByteArrayLiteral("\xFF\xDA\x00\x02") + QByteArray(64, 'x') +
            QByteArrayLiteral("\xFF\xD9");
    const auto picture = ImageBlob::FromEncoded(bytes);
    if (!picture) return;  // refused up front is just as good
    QImage canvas(50, 50, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    picture->Draw(painter, QRect(0, 0, 50, 50));
    SUCCEED();
}

}  // namespace
}  // namespace tessaly
