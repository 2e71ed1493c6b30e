// Exporting the canvas, in one run: 9000 tiles cut from photographs spread
// over a 5000 x 5000 canvas with a photographed background.
//   render_ms  RenderCanvasImage alone;
//   png_ms     SaveBitmapFile as PNG;
//   rle8_ms    WriteBmpFile, 8 bits with RLE8;
//   bmp24_ms   WriteBmpFile, 24 bits;
//   qtbmp_ms   QImage::save as "BMP", on the same image, through the same
//              safe write (SafeFile) as ours.
// Reports bmp24 / qtbmp, png / render and rle8 / render.
//
// Streaming the same canvas, painted band by band as it is written
// (WriteImageFile), painting included:
//   stream_png_ms, stream_bmp24_ms  PNG and 24-bit BMP;
//   png_per_bmp24                   their ratio;
//   png_cpu_ms, bmp_cpu_ms          the processor time of each, all threads
//                                   (PNG is compressed beside the painting);
//   png_kb, qtpng_kb, png_per_qtpng the PNG file against Qt's PNG writer at
//                                   its default settings, on the same pixels.
// TESSALY_BENCH_NODES and TESSALY_BENCH_CANVAS shrink the document.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>
#include <chrono>
#include <ctime>
#include <random>

#include "bench_support.h"
#include "canvas/background_copy.h"
#include "canvas/canvas_image.h"
#include "image/bmp_writer.h"
#include "image/image_writer.h"
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
        s.backPicture =
            bench::AdoptJpeg(doc, photos[photos.size() > 2 ? 2 : 0].scaled(2400, 1500), 90);
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

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
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
        if (!timed(png,
                   [&] {
                       return SaveBitmapFile(image, file, w, h, {OutputFormat::Type::Png}, false);
                   }) ||
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

// Writes the canvas in `format`, each band painted as the writer asks for it.
bool StreamCanvas(const Document& doc, const QString& path, const OutputFormat& format) {
    const QImage background = BackgroundCopy(doc);
    const DocState& s = doc.State();
    ImageWriteRequest request;
    request.path = path;
    request.format = format;
    request.size = QSize(s.canvasWidth, s.canvasHeight);
    request.paint = [&](int top, int rows) {
        CanvasImageRequest band;
        band.viewMarks = false;
        band.backgroundCopy = background.isNull() ? nullptr : &background;
        band.area = IntRect{0, top, s.canvasWidth, top + rows};
        return RenderCanvasImage(doc, band);
    };
    return WriteImageFile(request).Written();
}

void BM_StreamCanvas(benchmark::State& state) {
    static ExportFixture fixture;
    if (!fixture.ready) return state.SkipWithError("no document");
    const QString file = fixture.dir.filePath(QStringLiteral("stream"));
    // Qt's PNG of the same pixels, at its default settings; painting them
    // once also warms the decoded pictures for both timed writers.
    CanvasImageRequest whole;
    whole.viewMarks = false;
    QFile qtFile(file);
    if (!qtFile.open(QIODevice::WriteOnly) ||
        !QImageWriter(&qtFile, "png").write(RenderCanvasImage(fixture.doc, whole))) {
        return state.SkipWithError("no Qt PNG file");
    }
    const double qtBytes = static_cast<double>(qtFile.size());
    qtFile.remove();
    double png = 0, bmp24 = 0;
    qint64 pngBytes = 0;
    double pngCpu = 0, bmpCpu = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        double cpu = CpuSeconds();
        if (!StreamCanvas(fixture.doc, file, OutputFormat::Bmp(24)))
            return state.SkipWithError("no BMP file");
        bmp24 += SecondsSince(start);
        bmpCpu += CpuSeconds() - cpu;
        cpu = CpuSeconds();
        start = Clock::now();
        if (!StreamCanvas(fixture.doc, file, *OutputFormat::ForTypeName(u"png"))) {
            return state.SkipWithError("no PNG file");
        }
        png += SecondsSince(start);
        pngCpu += CpuSeconds() - cpu;
        pngBytes = QFileInfo(file).size();
        QFile::remove(file);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["stream_png_ms"] = png / runs * 1000;
    state.counters["stream_bmp24_ms"] = bmp24 / runs * 1000;
    state.counters["png_per_bmp24"] = png / bmp24;
    state.counters["png_cpu_ms"] = pngCpu / runs * 1000;
    state.counters["bmp_cpu_ms"] = bmpCpu / runs * 1000;
    state.counters["png_kb"] = static_cast<double>(pngBytes) / 1024;
    state.counters["qtpng_kb"] = qtBytes / 1024;
    state.counters["png_per_qtpng"] = static_cast<double>(pngBytes) / qtBytes;
}
BENCHMARK(BM_StreamCanvas)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
