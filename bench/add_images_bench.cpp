// Adding a folder of tile images with shrinking, the common heavy case: every
// file is decoded, its colour averages worked out and a shrunk copy encoded.
// The same add runs with the preparation on one thread and on two worker
// threads; the nodes come out the same either way. TESSALY_BENCH_FILES sets
// the number of 640 x 480 JPEG files (1000 by default).

#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "canvas/image_batch.h"
#include "document/document.h"

namespace {

using namespace tessaly;

void BM_AddImages(benchmark::State& state) {
    const QStringList& paths = bench::JpegFolder::Get().Paths();
    std::vector<ImageEntry> entries;
    for (const QString& path : paths)
        entries.push_back({path, QStringLiteral("jpeg")});
    AddImagesRequest request;
    request.windowCentre = {500, 500};
    request.shrinkTo = QSize(40, 40);
    request.workers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = bench::MakeBenchDocument();
        state.ResumeTiming();
        const int added = AddImageFiles(*doc, entries, request);
        if (added != static_cast<int>(entries.size()))
            state.SkipWithError("not every file was added");
    }
    state.counters["files"] = static_cast<double>(entries.size());
}
BENCHMARK(BM_AddImages)
    ->ArgName("workers")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
