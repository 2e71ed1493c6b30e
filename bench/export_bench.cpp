// Exporting the canvas, in one run: 9000 tiles cut from photographs spread
// over a 5000 x 5000 canvas with a photographed background.
//   render_ms  RenderCanvasImage alone;
//   png_ms     SaveBitmapFile as PNG;
//   rle8_ms    WriteBmpFile, 8 bits with RLE8;
//   bmp24_ms   WriteBmpFile, 24 bits;
//   qtbmp_ms   QImage::save as "BMP", on the same image, through the same
//              safe write (SafeFile) as ours.
// Reports bmp24 / qtbmp, png / render and rle8 / render. TESSALY_BENCH_NODES
// and TESSALY_BENCH_CANVAS shrink the document.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <random>

#include "bench_support.h"
#include "canvas/canvas_image.h"
#include "image/bmp_writer.h"
#include "image/safe_file.h"
#include "photo_tiles.h"

namespace {

using namespace tessaly;
using Clock = std::chrono::steady_clock;

struct ExportFixture {
    ExportFixture() {
        if (!bench::PrepareBenchDocument(doc)) return;
        DocState& s = doc.State();
        const int side = bench::BenchCanvasSide();
        s.canvasWidth = s.canvasHeight = side;
        const std::vector<QImage> photos = bench::Photographs();
        s.backPicture = bench::AdoptJpeg(doc, photos[photos.size() > 2 ? 2 : 0].scaled(2400, 1500), 90);
        std::mt19937 random(20240613u);
        const int count = bench::BenchNodeCount();
        for (int n = 0; n < count; ++n) {
            NodeRecord& node = doc.Node(n);
            node = NodeRecord{};
            node.picture = bench::AdoptJpeg(doc, bench::Tile(photos, n, random), 85);
            node.halfWidth = node.halfHeight = 20 + static_cast<int>(random() % 60u);
            node.centerX = static_cast<int>(random() % unsigned(side));
            node.centerY = static_cast<int>(random() % unsigned(side));
            node.visible = 1;
            s.nodeCount = n + 1;
            if (!node.picture) return;
        }
        ready = static_cast<bool>(s.backPicture);
    }

    QTemporaryDir dir;
    Document doc;
    bool ready = false;
};

// Qt's own BMP writer, written the way ours is: beside the target, flushed
// to disk and renamed over it, so that the two differ only in encoding.
bool SaveSafely(const QImage& image, const QString& path) {
    SafeFile out(path);
    return out.open(QIODevice::WriteOnly) && image.save(&out, "BMP") && out.Commit();
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_ExportCanvas(benchmark::State& state) {
    static ExportFixture fixture;
    if (!fixture.ready) return state.SkipWithError("no document");
    const QString file = fixture.dir.filePath(QStringLiteral("canvas"));
    double render = 0, png = 0, rle8 = 0, bmp24 = 0, qtbmp = 0;
    const auto timed = [&file](double& total, const auto& write) {
        const auto start = Clock::now();
        const bool written = write();
        total += SecondsSince(start);
        QFile::remove(file);
        return written;
    };
    for (auto _ : state) {
        CanvasImageRequest request;
        request.viewMarks = false;
        auto start = Clock::now();
        const QImage image = RenderCanvasImage(fixture.doc, request);
        render += SecondsSince(start);
        if (image.isNull()) return state.SkipWithError("no image");
        const int w = image.width(), h = image.height();
        if (!timed(png, [&] { return SaveBitmapFile(image, file, w, h, QStringLiteral("png"), 100, false); }) ||
            !timed(rle8, [&] { return WriteBmpFile(image, file, 8, BmpCompression::Rle8); }) ||
            !timed(bmp24, [&] { return WriteBmpFile(image, file, 24, BmpCompression::None); }) ||
            !timed(qtbmp, [&] { return SaveSafely(image, file); }))
            return state.SkipWithError("a file was not written");
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["render_ms"] = render / runs * 1000;
    state.counters["png_ms"] = png / runs * 1000;
    state.counters["rle8_ms"] = rle8 / runs * 1000;
    state.counters["bmp24_ms"] = bmp24 / runs * 1000;
    state.counters["qtbmp_ms"] = qtbmp / runs * 1000;
    state.counters["bmp24_per_qt"] = bmp24 / qtbmp;
    state.counters["png_per_render"] = png / render;
    state.counters["rle8_per_render"] = rle8 / render;
    state.counters["nodes"] = fixture.doc.State().nodeCount;
}
BENCHMARK(BM_ExportCanvas)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
