// Memory of a document of large photographs: 9000 nodes, each holding its
// own copy of a 1600 x 1200 JPEG made from the photographs python3-skimage
// ships, on a 5000 x 5000 canvas, rendered once at 100 % (RenderCanvasImage
// without the view's marks). Each iteration starts with the decode cache
// emptied, freed memory handed back to the system and the process's peak
// resident size reset to what it holds then.
// The argument is the side the nodes are drawn at:
//   52   the grid an arrangement lays over the whole canvas, every node
//        decoded small;
//   400  nodes drawn large and overlapping, every node decoded at 400 x 300:
//        together far more than the cache may keep.
// Counters, in MiB unless named otherwise:
//   peak            the peak resident size during the render;
//   document        the resident size before it (the encoded streams);
//   render          peak - document: the canvas image, the decoded pictures
//                   kept and what the painter holds;
//   budget          the decode cache's budget;
//   cache           what the cache holds after the render;
//   peak_per_budget, render_per_budget   the ratios.
// TESSALY_BENCH_NODES and TESSALY_BENCH_CANVAS shrink the document.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <QFile>
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include "bench_support.h"
#include "canvas/canvas_image.h"
#include "image/decode_cache.h"
#include "photo_tiles.h"

namespace {

using namespace tessaly;

constexpr QSize kPhotoSize(1600, 1200);
constexpr int kDistinctPhotos = 24;
constexpr double kMiB = 1024.0 * 1024.0;

// A field of /proc/self/status in MiB (VmRSS, VmHWM); -1 when unreadable.
double StatusMiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').front().toDouble() / 1024.0;
    }
    return -1;
}

// Makes the peak resident size start again from the current one.
bool ResetPeakResidentSize() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Photographs cut and stretched to the large size, each a JPEG of its own.
std::vector<QByteArray> LargePhotographs(int count) {
    const std::vector<QImage> photos = bench::Photographs();
    std::mt19937 random(1600u);
    std::vector<QByteArray> streams;
    for (int n = 0; n < count; ++n) {
        const QImage& photo = photos[static_cast<std::size_t>(n) % photos.size()];
        const int width = photo.width() * 3 / 4, height = photo.height() * 3 / 4;
        const int x = static_cast<int>(random() % unsigned(photo.width() - width + 1));
        const int y = static_cast<int>(random() % unsigned(photo.height() - height + 1));
        streams.push_back(EncodeJpeg(
            photo.copy(x, y, width, height).scaled(kPhotoSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
            85));
    }
    return streams;
}

class MemoryFixture {
public:
    // The document for a node side; one document of photographs at a time.
    static MemoryFixture& Get(int side) {
        static std::unique_ptr<MemoryFixture> current;
        if (!current || current->side_ != side) {
            current.reset();
            current.reset(new MemoryFixture(side));
        }
        return *current;
    }

    const Document& Doc() const { return doc_; }
    bool Ready() const { return ready_; }

private:
    explicit MemoryFixture(int side) : side_(side) {
        if (!bench::PrepareBenchDocument(doc_)) return;
        DocState& s = doc_.State();
        const int canvas = bench::BenchCanvasSide();
        s.canvasWidth = s.canvasHeight = canvas;
        const int count = bench::BenchNodeCount();
        const std::vector<QByteArray> streams = LargePhotographs(std::min(count, kDistinctPhotos));
        const int columns = int(std::ceil(std::sqrt(double(count))));
        const int cell = canvas / columns;
        std::mt19937 random(9000u);
        for (int n = 0; n < count; ++n) {
            // A copy of its own, as a document of distinct photographs holds.
            const QByteArray& stream = streams[static_cast<std::size_t>(n) % streams.size()];
            auto picture = ImageBlob::FromEncoded(QByteArray(stream.constData(), stream.size()));
            if (!picture) return;
            NodeRecord& node = doc_.Node(n);
            node = NodeRecord{};
            node.picture = doc_.Pictures().Adopt(*std::move(picture));
            node.halfWidth = side / 2;
            node.halfHeight = side * 3 / 8;
            if (side <= cell) {
                node.centerX = (n % columns) * cell + cell / 2;
                node.centerY = (n / columns) * cell + cell / 2;
            } else {
                node.centerX = static_cast<int>(random() % unsigned(canvas));
                node.centerY = static_cast<int>(random() % unsigned(canvas));
            }
            node.visible = 1;
            s.nodeCount = n + 1;
        }
        ready_ = true;
    }

    int side_;
    Document doc_;
    bool ready_ = false;
};

void BM_DocumentMemory(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    MemoryFixture& fixture = MemoryFixture::Get(side);
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    DecodeCache& cache = DecodeCache::Instance();
    CanvasImageRequest request;
    request.viewMarks = false;
    double document = 0, peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        cache.Clear();
        // Memory freed so far goes back to the system, so that the resident
        // size before the render is what the document holds.
        malloc_trim(0);
        if (!ResetPeakResidentSize()) return state.SkipWithError("the peak resident size cannot be reset");
        document = StatusMiB("VmRSS");
        state.ResumeTiming();
        const QImage canvas = RenderCanvasImage(fixture.Doc(), request);
        if (canvas.isNull()) return state.SkipWithError("the canvas could not be rendered");
        benchmark::DoNotOptimize(canvas.constBits());
        state.PauseTiming();
        peak = std::max(peak, StatusMiB("VmHWM"));
        state.ResumeTiming();
    }
    const double budget = double(cache.Budget()) / kMiB;
    state.counters["peak"] = peak;
    state.counters["document"] = document;
    state.counters["render"] = peak - document;
    state.counters["budget"] = budget;
    state.counters["cache"] = double(cache.UsedBytes()) / kMiB;
    state.counters["peak_per_budget"] = peak / budget;
    state.counters["render_per_budget"] = (peak - document) / budget;
    cache.Clear();
}
BENCHMARK(BM_DocumentMemory)->Arg(52)->Arg(400)->ArgName("side")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
