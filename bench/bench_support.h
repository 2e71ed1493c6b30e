#pragma once

#include <QtGlobal>

#include "document/document.h"

namespace tessaly::bench {

// The number of nodes a benchmark document holds: all 9000, or fewer when
// TESSALY_BENCH_NODES asks (quick smoke runs).
inline int BenchNodeCount() {
    return qEnvironmentVariableIsSet("TESSALY_BENCH_NODES")
               ? qBound(1, qEnvironmentVariableIntValue("TESSALY_BENCH_NODES"), kMaxNodes)
               : kMaxNodes;
}

}  // namespace tessaly::bench
