// Sampling the background: every cell of a 5000 x 5000 surface, as an
// arrangement with cells of the given side does, against sampling with the
// plain per-pixel loop of the reference and reading the pixels in one sweep.

#include <benchmark/benchmark.h>

#include <QImage>

#include "bench_support.h"
#include "mosaic/arrangement_reference.h"
#include "mosaic/colour_features.h"

namespace {

using namespace tessaly;

const QImage& BenchSurface() {
    static const QImage surface = [] {
        QImage image = NewSamplingSurface(bench::kBenchCanvasSize, bench::kBenchCanvasSize);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
        }
        return image;
    }();
    return surface;
}

// Every cell of the given side with nine sections, row by row.
template <typename Sample>
void SampleEveryCell(benchmark::State& state, Sample sample) {
    const QImage& surface = BenchSurface();
    const int side = static_cast<int>(state.range(0));
    SectionValues red, green, blue;
    for (auto _ : state) {
        for (int y = 0; y + side <= surface.height(); y += side) {
            for (int x = 0; x + side <= surface.width(); x += side) {
                sample(surface, 9, x, y, side, side, red, green, blue);
                benchmark::DoNotOptimize(red);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(surface.width()) * surface.height());
}

void BM_SampleCells(benchmark::State& state) {
    SampleEveryCell(state, SampleBackgroundCell);
}

void BM_SampleCellsPlain(benchmark::State& state) {
    SampleEveryCell(state, reference::SampleBackgroundCellReference);
}

// The whole surface as a single section: the speed of the sweep alone.
void BM_SampleWholeSurface(benchmark::State& state) {
    const QImage& surface = BenchSurface();
    SectionValues red, green, blue;
    for (auto _ : state) {
        SampleBackgroundCell(surface, 1, 0, 0, surface.width(), surface.height(), red, green, blue);
        benchmark::DoNotOptimize(red);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(surface.width()) * surface.height());
}

}  // namespace

BENCHMARK(BM_SampleCells)->Arg(10)->Arg(44)->Arg(440)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleCellsPlain)->Arg(10)->Arg(44)->Arg(440)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleWholeSurface)->Unit(benchmark::kMillisecond);
