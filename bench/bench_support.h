#pragma once

#include <QtGlobal>
#include <memory>

#include "document/document.h"

namespace tessaly::bench {

// The number of nodes a benchmark document holds: all 9000, or fewer when
// TESSALY_BENCH_NODES asks (quick smoke runs).
inline int BenchNodeCount() {
    return qEnvironmentVariableIsSet("TESSALY_BENCH_NODES")
               ? qBound(1, qEnvironmentVariableIntValue("TESSALY_BENCH_NODES"), kMaxNodes)
               : kMaxNodes;
}

// The side of the benchmark canvas: the largest there is.
inline constexpr int kBenchCanvasSize = 5000;

// An empty document on the largest canvas, its tables allocated; null when
// they cannot be.
inline std::unique_ptr<Document> MakeBenchDocument() {
    auto doc = std::make_unique<Document>();
    if (!doc->AllocateNodeTables()) return nullptr;
    doc->State().canvasWidth = kBenchCanvasSize;
    doc->State().canvasHeight = kBenchCanvasSize;
    return doc;
}

}  // namespace tessaly::bench
