// "右へ90度(&R)" with every node of a document selected, through the edit
// path, against the one undo snapshot it writes (WriteSnapshot) in the same
// run: tiles of 64 x 64 cut from photographs, spread over a 5000 x 5000
// canvas. The turn must add exactly one undo step and send exactly one
// documentChanged; the benchmark fails otherwise. Reports the whole turn,
// the snapshot alone and the time per node. 9000 nodes, or as many as
// TESSALY_BENCH_NODES asks.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <random>

#include "bench_support.h"
#include "edits/node_turns.h"
#include "document/edited_document.h"
#include "document/undo_history.h"
#include "photo_tiles.h"

namespace {

using namespace tessaly;
using Clock = std::chrono::steady_clock;

struct TurnFixture {
    TurnFixture() {
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
        Document& doc = edited.Doc();
        if (!bench::PrepareBenchDocument(doc)) return;
        const std::vector<QImage> photos = bench::Photographs();
        std::mt19937 random(20240614u);
        const int count = bench::BenchNodeCount();
        const int columns = 95;  // 52-pixel cells over the canvas
        for (int n = 0; n < count; ++n) {
            NodeRecord& node = doc.Node(n);
            node = NodeRecord{};
            node.picture = bench::AdoptJpeg(doc, bench::Tile(photos, n, random), 85);
            if (!node.picture) return;
            node.halfWidth = node.halfHeight = 24;
            node.centerX = (n % columns) * 52 + 26;
            node.centerY = (n / columns) * 52 + 26;
            node.visible = 1;
            doc.Mark(n).selected = 1;
            doc.State().nodeCount = n + 1;
        }
        doc.State().mainSelection = 0;
        ready = true;
    }

    QTemporaryDir dir;
    EditedDocument edited;
    bool ready = false;
};

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_TurnAllNodes(benchmark::State& state) {
    static TurnFixture fixture;
    if (!fixture.ready) return state.SkipWithError("no document");
    int notices = 0;
    const auto counting = QObject::connect(&fixture.edited, &EditedDocument::documentChanged,
                                           [&notices] { ++notices; });
    double snapshot = 0, whole = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        const QString file = WriteSnapshot(fixture.edited.Doc());
        snapshot += SecondsSince(start);
        if (file.isEmpty()) return state.SkipWithError("no snapshot written");
        QFile::remove(file);

        const int noticesBefore = notices;
        const int stepsBefore = fixture.edited.UndoCount();
        start = Clock::now();
        if (!TurnSelected(fixture.edited, 270)) return state.SkipWithError("nothing turned");
        const double seconds = SecondsSince(start);
        whole += seconds;
        state.SetIterationTime(seconds);
        if (notices - noticesBefore != 1)
            return state.SkipWithError("not exactly one documentChanged");
        // The history keeps nine steps; below that each turn adds exactly one.
        if (stepsBefore < UndoHistory::kMaxSteps && fixture.edited.UndoCount() != stepsBefore + 1)
            return state.SkipWithError("not exactly one undo step");
    }
    QObject::disconnect(counting);
    const double runs = static_cast<double>(state.iterations());
    const int nodes = fixture.edited.Doc().State().nodeCount;
    state.counters["whole_ms"] = whole / runs * 1000;
    state.counters["snapshot_ms"] = snapshot / runs * 1000;
    state.counters["per_node_us"] = whole / runs / nodes * 1e6;
    state.counters["nodes"] = nodes;
}
BENCHMARK(BM_TurnAllNodes)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
