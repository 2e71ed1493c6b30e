#include "image/safe_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <cerrno>
#include <functional>

#include "image/bmp_writer.h"
#include "image/image_files.h"
#include "support/refusing_folder.h"
#include "support/temp_env.h"
#include "support/test_images.h"

namespace tessaly {
namespace {

// Noise, which no encoder makes small: each file below is larger than the
// 4 KiB left on the disk, yet small enough to sit whole in a write buffer.
QImage Noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = random.generate() | 0xFF000000u;
    }
    return image;
}

struct Writer {
    const char* extension;
    std::function<bool(const QImage&, const QString&, WriteWatch*)> write;
};

bool Encode(const QImage& image, const QString& path, const QString& type, WriteWatch* watch) {
    return SaveBitmapFile(image, path, image.width(), image.height(),
                          *OutputFormat::ForTypeName(type), false, watch);
}

TEST(SafeFileTest, EveryWriterOnAFullDiskFailsAndKeepsTheEarlierFile) {
    const Writer writers[] = {
        {"png", [](auto& image, auto& path, auto* watch) { return Encode(image, path, u"png"_qs, watch); }},
        {"jpeg", [](auto& image, auto& path, auto* watch) { return Encode(image, path, u"jpeg"_qs, watch); }},
        {"gif", [](auto& image, auto& path, auto* watch) { return Encode(image, path, u"gif"_qs, watch); }},
        {"bmp", [](auto& image, auto& path, auto* watch) {
             return WriteBmpFile(image, path, 24, BmpCompression::None, nullptr, watch);
         }},
    };
    const test::ScopedTempDir temp;
    const QString folder = QDir(temp.Path()).filePath(u"disk"_qs);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QImage image = Noise(80, 60);
    for (const Writer& writer : writers) {
        const QString name = u"picture."_qs + QString::fromLatin1(writer.extension);
        const QString path = test::WriteFile(folder, name, "the earlier picture");
        const auto seen = test::InChildProcess(
            [&] { return test::NearlyFullFolder(folder, path); },
            [&] {
                WriteWatch watch;
                const bool written = writer.write(image, path, &watch);
                QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
                left.removeAll(u"filler"_qs);
                return QStringList{written ? u"written"_qs : u"refused"_qs,
                                   watch.error == ENOSPC ? u"no space"_qs : QString::number(watch.error),
                                   QString::fromLatin1(test::ReadFile(path)), left.join(u' ')};
            });
        if (!seen) GTEST_SKIP() << "no small file system can be mounted here";
        EXPECT_EQ(*seen, (QStringList{u"refused"_qs, u"no space"_qs, u"the earlier picture"_qs, name}))
            << writer.extension;
        QFile::remove(path);
    }
}

}  // namespace
}  // namespace tessaly
