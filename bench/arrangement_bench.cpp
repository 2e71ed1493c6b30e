// The arrangement on the scenarios users run most and the slowest ones the
// console allows, each timed for the engine and for the plain transcription
// kept beside the tests, in the same run. The engine's benchmark checks that
// both give the same records and reports how many times faster it is.
//   a: type 1, 5000 x 5000, grid 500 x 500, Z = 1, N = 25, P = 25, 9000 nodes
//   b: the same with P = 1
//   c: type 6, Z = 10, G = 5, N = 9, P = 13, 9000 nodes
//   d: the defaults (20 x 20, Z = 3, N = 9, P = 13), 500 nodes
// TESSALY_BENCH_NODES caps the node counts for quick runs.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstring>
#include <map>
#include <vector>

#include "bench_support.h"
#include "mosaic/arrangement.h"
#include "mosaic/arrangement_reference.h"
#include "mosaic/colour_features.h"
#include "services/random_generator.h"

namespace {

using namespace tessaly;

struct Scenario {
    ArrangementSettings settings;
    int nodes;
};

Scenario ScenarioFor(char name) {
    Scenario s;
    s.nodes = 9000;
    ArrangementSettings& a = s.settings;
    switch (name) {
        case 'a':
        case 'b':
            a.canvasWidth = a.canvasHeight = 5000;
            a.gridColumns = a.gridRows = 500;
            a.sizeSteps = 1;
            a.sectionCount = 25;
            a.comparePrecision = name == 'a' ? 25 : 1;
            break;
        case 'c':
            a.canvasWidth = a.canvasHeight = 5000;
            a.mosaicType = 6;
            a.sizeSteps = 10;
            a.layerThickness = 5;
            a.sectionCount = 9;
            a.comparePrecision = 13;
            break;
        default:
            s.nodes = 500;
            break;
    }
    s.nodes = std::min(s.nodes, bench::BenchNodeCount());
    return s;
}

// A background with broad colour regions and fine detail, like a photograph.
QImage Surface(int width, int height) {
    QImage image = NewSamplingSurface(width, height);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = qRgb((x * 255 / width + (y / 7) % 16) & 0xFF, (y * 255 / height) & 0xFF,
                           ((x + y) * 127 / (width + height) + (x / 5) % 32) & 0xFF);
        }
    }
    return image;
}

// Nodes whose averages spread over the colour space, the same on every call.
std::vector<NodeRecord> Nodes(int count, int sections) {
    std::vector<NodeRecord> nodes(static_cast<std::size_t>(count));
    CrtRandom random(12345);
    for (NodeRecord& node : nodes) {
        node = NodeRecord{};
        const int r = random.Next() % 256, g = random.Next() % 256, b = random.Next() % 256;
        for (int k = 0; k < sections; ++k) {
            node.avgRed[k] = static_cast<std::uint8_t>(std::clamp(r + random.Next() % 41 - 20, 0, 255));
            node.avgGreen[k] = static_cast<std::uint8_t>(std::clamp(g + random.Next() % 41 - 20, 0, 255));
            node.avgBlue[k] = static_cast<std::uint8_t>(std::clamp(b + random.Next() % 41 - 20, 0, 255));
        }
        node.halfWidth = node.halfHeight = 20;
        node.visible = 1;
    }
    return nodes;
}

struct Outcome {
    std::vector<NodeRecord> records;
    double seconds = 0;
};

using Arrange = ArrangementStats (*)(const ArrangementSettings&, const QImage&,
                                     std::span<NodeRecord>, std::span<NodeMark>, std::uint32_t,
                                     const ArrangementProgress&);

ArrangementStats ReferenceArrange(const ArrangementSettings& settings, const QImage& surface,
                                  std::span<NodeRecord> records, std::span<NodeMark> marks,
                                  std::uint32_t seed, const ArrangementProgress&) {
    return reference::ArrangeNodesReference(settings, surface, records, marks, seed);
}

Outcome RunOnce(const Scenario& scenario, const QImage& surface, Arrange arrange) {
    Outcome outcome;
    outcome.records = Nodes(scenario.nodes, scenario.settings.sectionCount);
    std::vector<NodeMark> marks(outcome.records.size());
    const auto start = std::chrono::steady_clock::now();
    arrange(scenario.settings, surface, outcome.records, marks, 7, {});
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

const QImage& SurfaceFor(const Scenario& scenario) {
    static std::map<std::pair<int, int>, QImage> surfaces;
    const auto key = std::make_pair(scenario.settings.canvasWidth, scenario.settings.canvasHeight);
    auto found = surfaces.find(key);
    if (found == surfaces.end()) found = surfaces.emplace(key, Surface(key.first, key.second)).first;
    return found->second;
}

// The reference's result and time per scenario, measured once.
const Outcome& ReferenceOutcome(char name) {
    static std::map<char, Outcome> outcomes;
    auto found = outcomes.find(name);
    if (found == outcomes.end()) {
        const Scenario scenario = ScenarioFor(name);
        found = outcomes.emplace(name, RunOnce(scenario, SurfaceFor(scenario), ReferenceArrange)).first;
    }
    return found->second;
}

bool SameRecords(const std::vector<NodeRecord>& a, const std::vector<NodeRecord>& b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(NodeRecord)) == 0;
}

void BM_ArrangeEngine(benchmark::State& state, char name) {
    const Scenario scenario = ScenarioFor(name);
    const QImage& surface = SurfaceFor(scenario);
    const Outcome& reference = ReferenceOutcome(name);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const Outcome outcome = RunOnce(scenario, surface, ArrangeNodes);
        if (!SameRecords(outcome.records, reference.records)) {
            state.SkipWithError("the engine and the reference disagree");
            return;
        }
        state.SetIterationTime(outcome.seconds);
        total += outcome.seconds;
        ++runs;
    }
    state.counters["reference_s"] = reference.seconds;
    state.counters["speedup"] = runs > 0 ? reference.seconds / (total / runs) : 0;
}

void BM_ArrangeReference(benchmark::State& state, char name) {
    for (auto _ : state) state.SetIterationTime(ReferenceOutcome(name).seconds);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ArrangeReference, a, 'a')->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArrangeEngine, a, 'a')->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArrangeReference, b, 'b')->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArrangeEngine, b, 'b')->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArrangeReference, c, 'c')->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArrangeEngine, c, 'c')->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArrangeReference, d, 'd')->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ArrangeEngine, d, 'd')->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
