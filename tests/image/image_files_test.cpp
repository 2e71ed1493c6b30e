#include "image/image_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include "image/jpeg_structure.h"
#include "resources/string_table.h"
#include "support/message_recorder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// True when every luminance quantisation value of the JPEG is 1, which is
// what quality 100 gives.
bool IsQuality100(const QByteArray& jpeg) {
    const qsizetype dqt = jpeg.indexOf(QByteArrayLiteral("\xFF\xDB"));
    if (dqt < 0 || dqt + 5 + 64 > jpeg.size()) return false;
    const QByteArray table = jpeg.mid(dqt + 5, 64);
    return std::all_of(table.begin(), table.end(), [](char v) { return v == 1; });
}

bool Near(QRgb a, QRgb b, int tolerance = 12) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QImage ReadBack(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

class ImageFilesTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        return test::WriteFile(temp.Path(), name, bytes);
    }
    QString PathOf(const QString& name) const { return QDir(temp.Path()).filePath(name); }

    test::ScopedTempDir temp;
    test::MessageRecorder messages;
};

TEST(ImageTypeOf, ExtensionDecidesInAnyCase) {
    EXPECT_EQ(ImageTypeOf(QStringLiteral("/a/b/photo.JPG")), u"jpeg");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.jpeg")), u"jpeg");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.Gif")), u"gif");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.bmp")), u"bmp");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.PNG")), u"png");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.tif")), u"tiff");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.TIFF")), u"tiff");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.jpe")), u"");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo")), u"");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.")), u"");
    EXPECT_EQ(ImageTypeOf(QStringLiteral("photo.jpg.txt")), u"");
}

TEST_F(ImageFilesTest, JpegFileKeepsItsOwnBytes) {
    const QByteArray jpeg = test::JpegBytes(640, 480);
    const LoadedPicture loaded = LoadImageFile(Write(QStringLiteral("写真.jpg"), jpeg), u"JPEG"_qs);
    ASSERT_TRUE(loaded.picture);
    EXPECT_EQ(loaded.picture->Encoded(), jpeg);
    EXPECT_EQ(loaded.size, QSize(640, 480));
    EXPECT_EQ(loaded.fileSize, jpeg.size());
}

TEST_F(ImageFilesTest, TransparentAreasTakeTheTopLeftColour) {
    const QString path = Write(QStringLiteral("clear.png"), test::TransparentRedPng(64, 48));
    const LoadedPicture loaded = LoadImageFile(path, QStringLiteral("png"));
    ASSERT_TRUE(loaded.picture);
    EXPECT_TRUE(loaded.picture->IsJpeg());
    EXPECT_TRUE(IsQuality100(loaded.picture->Encoded()));
    EXPECT_EQ(loaded.size, QSize(64, 48));
    EXPECT_EQ(loaded.fileSize, QFileInfo(path).size());
    const QImage pixels = loaded.picture->Decode();
    EXPECT_TRUE(Near(pixels.pixel(0, 0), qRgb(255, 0, 0)));
    EXPECT_TRUE(Near(pixels.pixel(63, 47), qRgb(255, 0, 0)));
    EXPECT_TRUE(Near(pixels.pixel(32, 24), qRgb(0, 0, 255)));
}

TEST_F(ImageFilesTest, AnimatedGifGivesItsFirstFrame) {
    const QString path =
        Write(QStringLiteral("anim.gif"), test::TwoFrameGif(40, 30, Qt::green, Qt::magenta));
    const LoadedPicture loaded = LoadImageFile(path, QStringLiteral("gif"));
    ASSERT_TRUE(loaded.picture);
    EXPECT_EQ(loaded.size, QSize(40, 30));
    EXPECT_TRUE(Near(loaded.picture->Decode().pixel(20, 15), qRgb(0, 255, 0)));
}

TEST_F(ImageFilesTest, BmpAndTiffBecomeJpegPictures) {
    for (const char* type : {"bmp", "tiff"}) {
        const QImage source = test::Gradient(50, 40);
        const QString path = PathOf(u"g."_qs + QLatin1String(type));
        ASSERT_TRUE(source.save(path, type));
        const LoadedPicture loaded = LoadImageFile(path, QString::fromLatin1(type));
        ASSERT_TRUE(loaded.picture) << type;
        EXPECT_TRUE(loaded.picture->IsJpeg());
        EXPECT_EQ(loaded.size, QSize(50, 40));
    }
    // A top-down BMP stores its height negative (at offset 22).
    QByteArray topDown = test::BmpBytes(test::Gradient(50, 40));
    qToLittleEndian<qint32>(-40, topDown.data() + 22);
    EXPECT_EQ(LoadImageFile(Write(u"top-down.bmp"_qs, topDown), u"bmp"_qs).size, QSize(50, 40));
}

TEST_F(ImageFilesTest, JpegWithoutItsEndMarkerKeepsItsBytesAndContentBeatsTheExtension) {
    const QByteArray jpeg = test::JpegBytes(64, 48).chopped(2);
    const LoadedPicture cut = LoadImageFile(Write(u"no-end.jpg"_qs, jpeg), u"jpeg"_qs);
    ASSERT_TRUE(cut.picture);
    EXPECT_EQ(cut.picture->Encoded(), jpeg);

    // A real PNG named .jpg still loads, as a JPEG picture.
    const QString path = Write(u"really-png.jpg"_qs, test::PngBytes(test::Gradient(30, 20)));
    const LoadedPicture loaded = LoadImageFile(path, QStringLiteral("jpeg"));
    ASSERT_TRUE(loaded.picture);
    EXPECT_TRUE(loaded.picture->IsJpeg());
    EXPECT_EQ(loaded.size, QSize(30, 20));
}

TEST_F(ImageFilesTest, BadFilesGiveNoPicture) {
    const QByteArray jpeg = test::JpegBytes(64, 48);
    QDir(temp.Path()).mkdir(QStringLiteral("folder.jpg"));
    const std::pair<QString, QString> cases[] = {
        {Write(QStringLiteral("empty.jpg"), {}), u"jpeg"_qs},
        {Write(QStringLiteral("cut.jpg"), jpeg.left(jpeg.indexOf("\xFF\xDA"))), u"jpeg"_qs},
        {Write(QStringLiteral("text.jpg"), "this is not an image"), u"jpeg"_qs},
        {Write(QStringLiteral("text.png"), "this is not an image either"), u"png"_qs},
        {Write(QStringLiteral("huge.png"), test::PngDeclaringSize(30000, 30000)), u"png"_qs},
        {PathOf(QStringLiteral("missing.png")), u"png"_qs},
        {PathOf(QStringLiteral("folder.jpg")), u"jpeg"_qs},
        {PathOf(QStringLiteral("fifo.png")), u"png"_qs},
    };
    // A FIFO is refused at once instead of waiting for a writer.
    ASSERT_EQ(mkfifo(QFile::encodeName(PathOf(u"fifo.png"_qs)).constData(), 0600), 0);
    for (const auto& [path, type] : cases) {
        const LoadedPicture loaded = LoadImageFile(path, type);
        EXPECT_FALSE(loaded.picture) << path.toStdString();
        EXPECT_EQ(loaded.size, QSize(0, 0)) << path.toStdString();
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ImageFilesTest, UnreadableFileGivesNoPicture) {
    const QString path = Write(QStringLiteral("locked.jpg"), test::JpegBytes(16, 16));
    QFile::setPermissions(path, QFileDevice::Permissions());
    if (QFile(path).open(QIODevice::ReadOnly)) GTEST_SKIP() << "permissions do not bind (root)";
    EXPECT_FALSE(LoadImageFile(path, u"jpeg"_qs).picture);
}

TEST_F(ImageFilesTest, ResizedPictureIsAQuality100JpegOfThatSizeOrTheOriginal) {
    const auto picture = ImageBlob::FromEncoded(test::JpegBytes(640, 480));
    ASSERT_TRUE(picture);
    const ImageBlob resized = ResizePicture(*picture, 40, 30);
    EXPECT_EQ(resized.PixelSize(), QSize(40, 30));
    EXPECT_TRUE(resized.IsJpeg());
    EXPECT_TRUE(IsQuality100(resized.Encoded()));
    EXPECT_EQ(resized.Decode().size(), QSize(40, 30));

    // A resize that fails keeps the original.
    const ImageBlob same = ResizePicture(*picture, 0, 30);
    EXPECT_EQ(same.Encoded(), picture->Encoded());
    EXPECT_EQ(messages.Texts(), std::vector<QString>{LoadString(kMsgMemoryAllocFailed)});
}

TEST_F(ImageFilesTest, BitmapIsSavedInEveryType) {
    const QImage bitmap = test::Gradient(80, 60);
    for (const char* type : {"jpeg", "png", "bmp", "tiff", "gif"}) {
        const QString path = PathOf(QStringLiteral("out.") + QLatin1String(type));
        ASSERT_TRUE(SaveBitmapFile(bitmap, path, 40, 30,
                                   *OutputFormat::ForTypeName(QString::fromLatin1(type), 90), false))
            << type;
        const QImage back = ReadBack(path);
        EXPECT_EQ(back.size(), QSize(40, 30)) << type;
        EXPECT_EQ(QImageReader(path).format(), type) << type;
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ImageFilesTest, GifKeepsTheColoursOfAFewColourPicture) {
    QImage bitmap = test::Filled(64, 64, qRgb(10, 200, 30));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) bitmap.setPixel(x, y, qRgb(250, 240, 5));
    }
    const QString path = PathOf(QStringLiteral("few.gif"));
    ASSERT_TRUE(SaveBitmapFile(bitmap, path, 64, 64, {OutputFormat::Type::Gif}, false));
    const QImage back = ReadBack(path);
    EXPECT_TRUE(Near(back.pixel(5, 5), qRgb(250, 240, 5), 8));
    EXPECT_TRUE(Near(back.pixel(5, 60), qRgb(10, 200, 30), 8));
}

TEST_F(ImageFilesTest, FlipTurnsTheBitmapUpsideDown) {
    QImage bitmap = test::Filled(20, 20, qRgb(255, 255, 255));
    for (int x = 0; x < 20; ++x) bitmap.setPixel(x, 0, qRgb(0, 0, 0));
    const QString path = PathOf(QStringLiteral("flip.png"));
    ASSERT_TRUE(SaveBitmapFile(bitmap, path, 20, 20, {OutputFormat::Type::Png}, true));
    const QImage back = ReadBack(path);
    EXPECT_EQ(back.pixel(10, 19), qRgb(0, 0, 0));
    EXPECT_EQ(back.pixel(10, 0), qRgb(255, 255, 255));
}

TEST_F(ImageFilesTest, JpegQualityIsApplied) {
    const QImage bitmap = test::Gradient(200, 200);
    const QString low = PathOf(QStringLiteral("low.jpg"));
    const QString high = PathOf(QStringLiteral("high.jpg"));
    ASSERT_TRUE(SaveBitmapFile(bitmap, low, 200, 200, OutputFormat::Jpeg(10), false));
    ASSERT_TRUE(SaveBitmapFile(bitmap, high, 200, 200, OutputFormat::Jpeg(100), false));
    EXPECT_LT(QFileInfo(low).size(), QFileInfo(high).size());
    EXPECT_TRUE(IsQuality100(test::ReadFile(high)));
}

TEST_F(ImageFilesTest, UnknownTypeOrUnwritablePlaceFailsQuietlyAndLeavesFilesAlone) {
    const QImage bitmap = test::Gradient(10, 10);
    const QString existing = Write(QStringLiteral("keep.png"), "precious");
    EXPECT_FALSE(OutputFormat::ForTypeName(u"xyz"));
    EXPECT_FALSE(OutputFormat::ForTypeName(QString()));
    EXPECT_EQ(OutputFormat::ForTypeName(u"GIF")->type, OutputFormat::Type::Gif);
    EXPECT_EQ(OutputFormat::ForTypeName(u"bmp"), OutputFormat::Bmp(24));
    EXPECT_FALSE(SaveBitmapFile(bitmap, PathOf(u"no/such/dir/x.png"_qs), 10, 10,
                                {OutputFormat::Type::Png}, false));
    EXPECT_EQ(test::ReadFile(existing), "precious");
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ImageFilesTest, ScaledPictureIsWrittenToFileAndBitmapsBecomeJpegPictures) {
    const auto picture = ImageBlob::FromEncoded(test::JpegBytes(300, 200));
    ASSERT_TRUE(picture);
    const QString path = PathOf(QStringLiteral("tile.png"));
    SaveScaledPicture(*picture, 30, 20, path, {OutputFormat::Type::Png});
    EXPECT_EQ(ReadBack(path).size(), QSize(30, 20));

    const auto bitmap = BitmapToPicture(test::Gradient(90, 70), 45, 35);
    ASSERT_TRUE(bitmap);
    EXPECT_TRUE(bitmap->IsJpeg());
    EXPECT_EQ(bitmap->PixelSize(), QSize(45, 35));
    EXPECT_FALSE(BitmapToPicture(QImage(), 10, 10));
}

}  // namespace
}  // namespace tessaly
