#include "image/image_writer.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <QDir>
#include <QImageReader>
#include <QRandomGenerator>
#include <cerrno>

#include "image/band_writers.h"
#include "support/refusing_folder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

QImage ReadPng(const QString& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, QFile::encodeName(path).constData())) return {};
    png.format = PNG_FORMAT_BGRA;
    QImage image(int(png.width), int(png.height), QImage::Format_ARGB32);
    if (!png_image_finish_read(&png, nullptr, image.bits(), int(image.bytesPerLine()), nullptr))
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage ReadTiff(const QByteArray& path, bool* big = nullptr) {
    TIFF* tiff = TIFFOpen(path.constData(), "r");
    if (tiff == nullptr) return {};
    uint32_t width = 0, height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    QImage image(int(width), int(height), QImage::Format_RGB32);
    auto* raster = reinterpret_cast<uint32_t*>(image.bits());
    const bool read =
        TIFFReadRGBAImageOriented(tiff, width, height, raster, ORIENTATION_TOPLEFT, 0);
    if (big) *big = TIFFIsBigTIFF(tiff);
    TIFFClose(tiff);
    if (!read) return {};
    for (uint32_t i = 0; i < width * height; ++i) {
        raster[i] =
            qRgb(int(TIFFGetR(raster[i])), int(TIFFGetG(raster[i])), int(TIFFGetB(raster[i])));
    }
    return image;
}

QImage ReadBack(const QString& path, OutputFormat::Type type) {
    if (type == OutputFormat::Type::Png) return ReadPng(path);
    if (type == OutputFormat::Type::Tiff) return ReadTiff(QFile::encodeName(path));
    return QImageReader(path).read().convertToFormat(QImage::Format_RGB32);
}

int LargestDifference(const QImage& a, const QImage& b) {
    int most = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return most;
}

// A request painting `picture` band by band and noting each band's top row.
ImageWriteRequest RequestFor(const QImage& picture, const QString& path, OutputFormat format,
                             int bandRows, std::vector<int>* tops) {
    ImageWriteRequest request;
    request.path = path;
    request.format = format;
    request.size = picture.size();
    request.bandRows = bandRows;
    request.paint = [picture, tops](int top, int rows) {
        if (tops) tops->push_back(top);
        return picture.copy(0, top, picture.width(), rows);
    };
    return request;
}

OutputFormat Of(const char* type) {
    return *OutputFormat::ForTypeName(QString::fromLatin1(type), 90);
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

TEST(ImageWriterTest, EveryTypeIsWrittenBandByBandInItsRowOrder) {
    const test::ScopedTempDir temp;
    const QImage picture = test::Gradient(37, 23);
    const struct {
        OutputFormat format;
        int tolerance;  // of a channel read back
    } cases[] = {
        {Of("png"), 0},
        {Of("tiff"), 0},
        {Of("bmp"), 0},
        {OutputFormat::Bmp(32), 0},
        {OutputFormat::Bmp(16), 7},
        {OutputFormat::Bmp(8, true), 40},
        {Of("jpeg"), 12},
        {Of("gif"), 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format.TypeName().toStdString() + std::to_string(c.format.bmpBits));
        const QString whole = temp.Path() + u"/whole"_qs, banded = temp.Path() + u"/banded"_qs;
        ASSERT_TRUE(WriteImageFile(RequestFor(picture, whole, c.format, 23, nullptr)).Written());
        for (const int bandRows : {5, 1}) {
            std::vector<int> tops;
            ASSERT_TRUE(
                WriteImageFile(RequestFor(picture, banded, c.format, bandRows, &tops)).Written());
            std::vector<int> expected;
            for (int top = 0; top < 23; top += bandRows) expected.push_back(top);
            if (c.format.IsBmp()) std::reverse(expected.begin(), expected.end());
            EXPECT_EQ(tops, expected);
            EXPECT_EQ(test::ReadFile(banded), test::ReadFile(whole));
        }
        const QImage back = ReadBack(banded, c.format.type);
        ASSERT_EQ(back.size(), picture.size());
        EXPECT_LE(LargestDifference(back, picture), c.tolerance);
    }
    EXPECT_EQ(FilesIn(temp.Path()), (QStringList{u"banded"_qs, u"whole"_qs}));
}

TEST(ImageWriterTest, CancelOrAMissingBandKeepsTheEarlierFile) {
    const test::ScopedTempDir temp;
    const QImage picture = test::Gradient(40, 30);
    const QString path = test::WriteFile(temp.Path(), u"picture"_qs, "the earlier picture");
    for (const OutputFormat& format :
         {Of("png"), Of("jpeg"), Of("tiff"), Of("gif"), Of("bmp"), OutputFormat::Bmp(8, true)}) {
        SCOPED_TRACE(format.TypeName().toStdString());
        std::vector<int> tops;
        ImageWriteRequest cancelled = RequestFor(picture, path, format, 7, &tops);
        std::vector<int> reported;
        cancelled.progress = [&reported](int done, int total) {
            reported.push_back(done * 10 + total);
            return done < 2;
        };
        EXPECT_EQ(WriteImageFile(cancelled).outcome, WriteResult::Outcome::Cancelled);
        EXPECT_EQ(tops.size(), 2u);
        EXPECT_EQ(reported, (std::vector<int>{15, 25}));

        ImageWriteRequest missing = RequestFor(picture, path, format, 7, nullptr);
        missing.paint = [&picture](int top, int rows) {
            return top == 14 ? QImage() : picture.copy(0, top, picture.width(), rows);
        };
        EXPECT_EQ(WriteImageFile(missing).outcome, WriteResult::Outcome::NoMemory);
        EXPECT_EQ(test::ReadFile(path), "the earlier picture");
        EXPECT_EQ(FilesIn(temp.Path()), QStringList{u"picture"_qs});
    }
}

TEST(ImageWriterTest, AFileSizeLimitMidBandFailsWithTheReasonAndKeepsTheEarlierFile) {
    const test::ScopedTempDir temp;
    QImage noise(600, 400, QImage::Format_RGB32);
    QRandomGenerator random(3);
    for (int y = 0; y < noise.height(); ++y) {
        random.fillRange(reinterpret_cast<quint32*>(noise.scanLine(y)), noise.width());
    }
    // The limit is half of the earlier file, 200 000 bytes: every type
    // reaches it before its last band is painted.
    const QString path = test::WriteFile(temp.Path(), u"picture"_qs, QByteArray(400000, 'e'));
    for (const OutputFormat& format :
         {Of("png"), *OutputFormat::ForTypeName(u"jpeg"_qs, 100), Of("tiff"), Of("bmp")}) {
        const auto seen = test::InChildProcess(
            [&] { return test::FileSizeLimit(temp.Path(), path); },
            [&] {
                std::vector<int> tops;
                const WriteResult result =
                    WriteImageFile(RequestFor(noise, path, format, 100, &tops));
                return QStringList{QString::number(int(result.outcome)),
                                   QString::number(result.error),
                                   tops.size() < 4 ? u"early"_qs : u"late"_qs,
                                   QString::number(test::ReadFile(path).count('e')),
                                   FilesIn(temp.Path()).join(u' ')};
            });
        ASSERT_TRUE(seen);
        EXPECT_EQ(*seen,
                  (QStringList{QString::number(int(WriteResult::Outcome::Failed)),
                               QString::number(EFBIG), u"early"_qs, u"400000"_qs, u"picture"_qs}))
            << format.TypeName().toStdString();
    }
}

TEST(ImageWriterTest, PicturesBeyondTheTypeAreRefusedBeforePainting) {
    const test::ScopedTempDir temp;
    const struct {
        OutputFormat format;
        QSize size;
        WriteResult::Outcome outcome;
    } cases[] = {
        {Of("gif"), {8192, 8193}, WriteResult::Outcome::TooLarge},  // one row past kMaxGifPixels
        {Of("gif"), {65536, 1}, WriteResult::Outcome::TooLarge},
        {Of("jpeg"), {1, 65501}, WriteResult::Outcome::TooLarge},
        {OutputFormat::Bmp(32), {32768, 16384}, WriteResult::Outcome::TooLarge},
        {OutputFormat{OutputFormat::Type::Bmp, 24, BmpCompression::Rle8},
         {10, 10},
         WriteResult::Outcome::Failed},
    };
    for (const auto& c : cases) {
        int painted = 0;
        ImageWriteRequest request;
        request.path = temp.Path() + u"/big"_qs;
        request.format = c.format;
        request.size = c.size;
        request.paint = [&painted](int, int) { return ++painted, QImage(); };
        EXPECT_EQ(WriteImageFile(request).outcome, c.outcome) << c.size.width();
        EXPECT_EQ(painted, 0);
    }
    EXPECT_TRUE(FilesIn(temp.Path()).isEmpty());
    EXPECT_EQ(qint64{8192} * 8192, kMaxGifPixels);
}

TEST(ImageWriterTest, BigTiffOnlyWhenTheClassicFilePasses4GB) {
    // 65536 pixels a row take a strip each: 21845 rows of pixels alone fit in
    // 4 GB, but not with the strip tables.
    EXPECT_FALSE(NeedsBigTiff(65536, 21844));
    EXPECT_TRUE(NeedsBigTiff(65536, 21845));
    const test::ScopedTempDir temp;
    for (const auto& [size, big] :
         {std::pair{QSize(37, 23), false}, {QSize(100000, 3), false}, {QSize(37, 23), true}}) {
        const QImage picture = test::Gradient(size.width(), size.height());
        QFile file(temp.Path() + u"/t.tiff"_qs);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ImageWriteRequest request = RequestFor(picture, {}, Of("tiff"), 0, nullptr);
        BandSource bands(request, false);
        ASSERT_TRUE(WriteTiffBands(file, bands, big).Written());
        file.close();
        const qint64 bytes = file.size();
        bool readBig = !big;
        EXPECT_EQ(ReadTiff(QFile::encodeName(file.fileName()), &readBig), picture);
        EXPECT_EQ(readBig, big);
        if (!big) {
            EXPECT_LE(bytes, ClassicTiffBytes(size.width(), size.height()));
            EXPECT_GT(bytes + 1024, ClassicTiffBytes(size.width(), size.height()));
        }
    }
}

}  // namespace
}  // namespace tessaly
