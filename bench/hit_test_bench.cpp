// Hit tests under the pointer: 10,000 NodeAt and 10,000 HandleAt calls per
// iteration on a 5000 x 5000 canvas holding 9000 visible nodes in a grid,
// every one selected so that HandleAt tests all eight handles of each. The
// points are spread over the canvas, most of them between nodes or low in
// the table, so the scans mostly run to the end. The baseline scans the same
// rectangles, computed beforehand, with a plain loop: the least any hit test
// can do. TESSALY_BENCH_NODES shrinks the document for quick runs.

#include <benchmark/benchmark.h>

#include <QPoint>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "bench_support.h"
#include "canvas/int_rect.h"
#include "canvas/selection.h"
#include "canvas/view_geometry.h"
#include "document/document.h"

namespace {

using namespace tessaly;

constexpr int kCanvasSize = bench::kBenchCanvasSize;
constexpr int kQueries = 10000;

class HitFixture {
public:
    static HitFixture& Get() {
        static HitFixture fixture;
        return fixture;
    }
    const Document& Doc() const { return *doc_; }
    const std::vector<QPoint>& Points() const { return points_; }
    const std::vector<IntRect>& Rects() const { return rects_; }
    bool Ready() const { return ready_; }

private:
    HitFixture() {
        const int count = bench::BenchNodeCount();
        doc_ = bench::MakeBenchDocument();
        if (!doc_) return;
        DocState& state = doc_->State();
        state.zoom = 1.0f;
        const int columns = int(std::ceil(std::sqrt(double(count))));
        const int cell = kCanvasSize / columns;
        const int half = std::max(1, cell / 2 - 10);
        for (int i = 0; i < count; ++i) {
            NodeRecord& node = doc_->Node(i);
            node.centerX = (i % columns) * cell + cell / 2;
            node.centerY = (i / columns) * cell + cell / 2;
            node.halfWidth = half;
            node.halfHeight = half;
            node.visible = 1;
            doc_->Mark(i).selected = 1;
        }
        state.nodeCount = count;
        state.mainSelection = 0;
        for (int i = 0; i < count; ++i)
            rects_.push_back(NodeViewRect(*doc_, i));

        std::uint32_t seed = 12345;
        const auto next = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return static_cast<int>((seed >> 8) % kCanvasSize);
        };
        for (int q = 0; q < kQueries; ++q) {
            const int x = next();
            points_.emplace_back(x, next());
        }
        ready_ = true;
    }

    std::unique_ptr<Document> doc_;
    std::vector<QPoint> points_;
    std::vector<IntRect> rects_;
    bool ready_ = false;
};

void Finish(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kQueries);
    state.counters["nodes"] = HitFixture::Get().Doc().State().nodeCount;
}

void BM_HitNodeAt(benchmark::State& state) {
    const HitFixture& f = HitFixture::Get();
    if (!f.Ready()) return state.SkipWithError("fixture failed");
    for (auto _ : state) {
        int hits = 0;
        for (const QPoint& p : f.Points())
            hits += NodeAt(f.Doc(), p) >= 0;
        benchmark::DoNotOptimize(hits);
    }
    Finish(state);
}
BENCHMARK(BM_HitNodeAt)->Unit(benchmark::kMillisecond);

void BM_HitHandleAt(benchmark::State& state) {
    const HitFixture& f = HitFixture::Get();
    if (!f.Ready()) return state.SkipWithError("fixture failed");
    for (auto _ : state) {
        int hits = 0;
        for (const QPoint& p : f.Points())
            hits += HandleAt(f.Doc(), p).IsValid();
        benchmark::DoNotOptimize(hits);
    }
    Finish(state);
}
BENCHMARK(BM_HitHandleAt)->Unit(benchmark::kMillisecond);

void BM_HitBaseline_RectLoop(benchmark::State& state) {
    const HitFixture& f = HitFixture::Get();
    if (!f.Ready()) return state.SkipWithError("fixture failed");
    const std::vector<IntRect>& rects = f.Rects();
    for (auto _ : state) {
        int hits = 0;
        for (const QPoint& p : f.Points()) {
            for (auto i = rects.size(); i-- > 0;) {
                if (rects[i].Contains(p.x(), p.y())) {
                    ++hits;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(hits);
    }
    Finish(state);
}
BENCHMARK(BM_HitBaseline_RectLoop)->Unit(benchmark::kMillisecond);

}  // namespace
