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

#include "bench_support.h"
#include "image/image_files.h"
#include "image/picture_io.h"

namespace {

using namespace tessaly;

using bench::JpegFolder;

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
