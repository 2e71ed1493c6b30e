// The console's "再配置" as the editor runs it, against its two parts, in one
// run: 9000 tiles cut from photographs on a 5000 x 5000 canvas, type 1 with
// a 500 x 500 grid of one size, 25 sections, tolerance 25.
//   engine    Rearrange on a copy of the document (surface_ms: its first
//             step, the background stretched over the canvas, alone);
//   snapshot  the undo snapshot the edit writes first (WriteSnapshot);
//   whole     RearrangeNodes through the edit path, which must send exactly
//             one documentChanged (the view repaints once for it).
// Reports whole / (engine + snapshot). Tiles come from the photographs
// python3-skimage ships, as tests/cli/photo_tiles.py cuts them, or from
// drawn gradients when they are missing. TESSALY_BENCH_NODES shrinks the
// document.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <random>
#include <vector>

#include "bench_support.h"
#include "photo_tiles.h"
#include "edits/rearrange_nodes.h"
#include "document/edited_document.h"
#include "document/undo_history.h"
#include "image/image_blob.h"
#include "image/image_files.h"
#include "mosaic/colour_features.h"

namespace {

using namespace tessaly;
using Clock = std::chrono::steady_clock;
using bench::AdoptJpeg;
using bench::kTileSide;
using bench::Photographs;
using bench::Tile;

constexpr std::uint32_t kSeed = 13;
// The settings block and the node table of `from` in `to`, each picture
// shared with its own reference in `to`'s pool.
void CopyDocument(const Document& from, Document& to) {
    to.State() = from.State();
    const auto share = [&](PictureRef ref) {
        const ImageBlob* picture = from.Picture(ref);
        return picture ? to.Pictures().Adopt(*picture) : PictureRef{};
    };
    to.State().backPicture = share(from.State().backPicture);
    for (int i = 0; i < from.State().nodeCount; ++i) {
        to.Node(i) = from.Node(i);
        to.Node(i).picture = share(from.Node(i).picture);
    }
}

// The edited document and the engine's copy, made once. Snapshots go to a
// working folder inside a temporary folder of the run.
struct RearrangeFixture {
    RearrangeFixture() {
        qputenv("TMPDIR", QFile::encodeName(dir.path()));
        Document& doc = edited.Doc();
        if (!bench::PrepareBenchDocument(doc) || !copy.AllocateNodeTables()) return;
        DocState& s = doc.State();
        s.mosaicType = 1;
        s.gridColumns = s.gridRows = 500;
        s.sizeSteps = 1;
        s.sectionCount = 25;
        s.comparePrecision = 25;

        const std::vector<QImage> photos = Photographs();
        s.backPicture = AdoptJpeg(doc, photos[photos.size() > 2 ? 2 : 0].scaled(2400, 1500), 90);
        std::mt19937 random(20240613u);
        const int count = bench::BenchNodeCount();
        for (int n = 0; n < count; ++n) {
            NodeRecord& node = doc.Node(n);
            node = NodeRecord{};
            node.picture = AdoptJpeg(doc, Tile(photos, n, random), 85);
            node.halfWidth = node.halfHeight = kTileSide / 2;
            node.centerX = node.centerY = kTileSide / 2;
            node.visible = 1;
            s.nodeCount = n + 1;
            if (!node.picture || !ComputeNodeSectionAverages(doc, n)) return;
        }
        CopyDocument(doc, copy);
        ready = static_cast<bool>(s.backPicture);
    }

    QTemporaryDir dir;
    EditedDocument edited;
    Document copy;
    bool ready = false;
};

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_RearrangeCommand(benchmark::State& state) {
    static RearrangeFixture fixture;
    if (!fixture.ready) return state.SkipWithError("no document");
    int notices = 0;
    const auto counting = QObject::connect(&fixture.edited, &EditedDocument::documentChanged,
                                           [&notices] { ++notices; });
    double engine = 0, snapshot = 0, whole = 0;
    // The engine's first step on its own: the background stretched over the
    // canvas.
    auto start = Clock::now();
    benchmark::DoNotOptimize(MakeSamplingSurface(fixture.copy));
    const double surface = SecondsSince(start);
    for (auto _ : state) {
        start = Clock::now();
        if (!Rearrange(fixture.copy, kSeed)) return state.SkipWithError("the engine did not run");
        engine += SecondsSince(start);

        start = Clock::now();
        const QString file = WriteSnapshot(fixture.edited.Doc());
        snapshot += SecondsSince(start);
        if (file.isEmpty()) return state.SkipWithError("no snapshot written");
        QFile::remove(file);

        const int before = notices;
        start = Clock::now();
        if (!RearrangeNodes(fixture.edited, kSeed)) return state.SkipWithError("nothing arranged");
        const double seconds = SecondsSince(start);
        whole += seconds;
        state.SetIterationTime(seconds);
        if (notices - before != 1) return state.SkipWithError("not exactly one documentChanged");
    }
    QObject::disconnect(counting);
    const double runs = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = engine / runs * 1000;
    state.counters["surface_ms"] = surface * 1000;
    state.counters["snapshot_ms"] = snapshot / runs * 1000;
    state.counters["whole_ms"] = whole / runs * 1000;
    state.counters["ratio"] = whole / (engine + snapshot);
    state.counters["nodes"] = fixture.edited.Doc().State().nodeCount;
}
BENCHMARK(BM_RearrangeCommand)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
