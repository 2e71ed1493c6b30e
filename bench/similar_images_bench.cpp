// "似た色のイメージと入れ替え" on the largest document: 9000 nodes of 52
// pixels on a 5000 x 5000 canvas, a 2400 x 1500 JPEG photograph as the
// background, 25 sections and tolerance 25, so every image is compared in
// full. What the window waits for before it shows, the eight closest found:
//   middle   for the node in the middle of the canvas;
//   bottom   for the last node, at the bottom, the most rows to skip;
//   whole    the background decoded whole alone, as drawing and the
//            arrangement decode it.
// Reports each in ms (the target is 50 ms) and middle / whole, bottom /
// whole: what reading only the node's rows saves.

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>

#include "bench_support.h"
#include "photo_tiles.h"
#include "canvas/section_averages.h"
#include "mosaic/similar_images.h"

namespace {

using namespace tessaly;
using Clock = std::chrono::steady_clock;

// The nodes in a grid of 52-pixel cells, all showing one small picture, with
// averages of their own.
struct SimilarFixture {
    SimilarFixture() {
        doc = bench::MakeBenchDocument();
        if (!doc) return;
        DocState& s = doc->State();
        s.sectionCount = 25;
        s.comparePrecision = 25;
        const std::vector<QImage> photos = bench::Photographs();
        s.backPicture =
            bench::AdoptJpeg(*doc, photos[photos.size() > 2 ? 2 : 0].scaled(2400, 1500), 90);
        const PictureRef tile = bench::AdoptJpeg(*doc, photos[0].scaled(64, 64), 85);
        std::mt19937 random(20261210u);
        constexpr int kCell = 52, kColumns = bench::kBenchCanvasSize / kCell;
        const int count = bench::BenchNodeCount();
        for (int n = 0; n < count; ++n) {
            NodeRecord& node = doc->Node(n);
            node = NodeRecord{};
            node.picture = doc->Pictures().Adopt(*doc->Picture(tile));
            node.halfWidth = node.halfHeight = kCell / 2;
            node.centerX = (n % kColumns) * kCell + kCell / 2;
            node.centerY = (n / kColumns) * kCell + kCell / 2;
            node.visible = n % 10 != 0;
            for (std::uint8_t* channel : {node.avgRed, node.avgGreen, node.avgBlue}) {
                for (int k = 0; k < kMaxSections; ++k) channel[k] = std::uint8_t(random());
            }
        }
        s.nodeCount = count;
        ready = static_cast<bool>(s.backPicture) && static_cast<bool>(tile);
    }

    std::unique_ptr<Document> doc;
    bool ready = false;
};

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Milliseconds to find the candidates for `node`, the background read anew.
double Answer(const Document& doc, int node, std::size_t& found) {
    const auto start = Clock::now();
    const BackgroundUnderNodes background(doc);
    found = FindSimilarImages(doc, background, node).size();
    return MillisecondsSince(start);
}

void BM_SimilarImages(benchmark::State& state) {
    static SimilarFixture fixture;
    if (!fixture.ready) return state.SkipWithError("no document");
    const Document& doc = *fixture.doc;
    const int count = doc.State().nodeCount;
    double middle = 0, bottom = 0, whole = 0;
    for (auto _ : state) {
        std::size_t found = 0, foundAtBottom = 0;
        const double ms = Answer(doc, count / 2, found);
        middle += ms;
        state.SetIterationTime(ms / 1000);
        bottom += Answer(doc, count - 1, foundAtBottom);
        if (found != kSimilarImagesShown || foundAtBottom != kSimilarImagesShown) {
            return state.SkipWithError("too few candidates");
        }
        const auto start = Clock::now();
        benchmark::DoNotOptimize(RasterisePicture(*doc.Picture(doc.State().backPicture)).isNull());
        whole += MillisecondsSince(start);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["middle_ms"] = middle / runs;
    state.counters["bottom_ms"] = bottom / runs;
    state.counters["whole_ms"] = whole / runs;
    state.counters["middle_per_whole"] = middle / whole;
    state.counters["bottom_per_whole"] = bottom / whole;
    state.counters["nodes"] = count;
}
BENCHMARK(BM_SimilarImages)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
