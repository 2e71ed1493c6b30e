// Loading many JPEG files into pictures and reading their pixel sizes, as
// adding a folder of tile images does. The picture keeps the file's bytes and
// reads the size from the header; the baseline decodes every file in full.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <memory>

#include "image/image_files.h"
#include "image/picture_io.h"

namespace {

using namespace tessaly;

// 1000 files of 640 x 480, made once for the whole run.
class JpegFolder {
public:
    static const JpegFolder& Get() {
        static const JpegFolder folder;
        return folder;
    }

    const QStringList& Paths() const { return paths_; }

private:
    JpegFolder() {
        const int count = qEnvironmentVariableIsSet("TESSALY_BENCH_FILES")
                              ? qEnvironmentVariableIntValue("TESSALY_BENCH_FILES")
                              : 1000;
        for (int i = 0; i < count; ++i) {
            QImage image(640, 480, QImage::Format_RGB32);
            for (int y = 0; y < 480; ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < 640; ++x) line[x] = qRgb((x + i) % 256, (y * 2 + i) % 256, (x ^ y) % 256);
            }
            const QString path = QDir(dir_.path()).filePath(QStringLiteral("tile%1.jpg").arg(i));
            QImageWriter writer(path, "jpeg");
            writer.setQuality(85);
            writer.write(image);
            paths_.append(path);
        }
    }

    QTemporaryDir dir_;
    QStringList paths_;
};

void BM_PictureLoad_HeaderSize(benchmark::State& state) {
    const QStringList& paths = JpegFolder::Get().Paths();
    const quint64 decodesBefore = PictureDecodeCount();
    for (auto _ : state) {
        qint64 area = 0;
        for (const QString& path : paths) {
            const LoadedPicture loaded = LoadImageFile(path, QStringLiteral("jpeg"));
            const QSize size = PixelSize(loaded.picture ? &*loaded.picture : nullptr);
            area += qint64(size.width()) * size.height();
        }
        benchmark::DoNotOptimize(area);
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
    // Loading must not decode: pixels are decoded only when drawn.
    state.counters["decodes"] = double(PictureDecodeCount() - decodesBefore);
}
BENCHMARK(BM_PictureLoad_HeaderSize)->Unit(benchmark::kMillisecond);

void BM_PictureLoad_FullDecodeBaseline(benchmark::State& state) {
    const QStringList& paths = JpegFolder::Get().Paths();
    for (auto _ : state) {
        qint64 area = 0;
        for (const QString& path : paths) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            const QByteArray bytes = file.readAll();
            const QImage image = QImage::fromData(bytes, "jpeg");
            area += qint64(image.width()) * image.height();
        }
        benchmark::DoNotOptimize(area);
    }
    state.SetItemsProcessed(state.iterations() * paths.size());
}
BENCHMARK(BM_PictureLoad_FullDecodeBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
