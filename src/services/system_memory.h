#pragma once

#include <QByteArray>
#include <optional>

namespace tessaly {

// How much of the physical memory is in use, in whole percent (truncated),
// read from /proc/meminfo. Nothing when it cannot be told.
std::optional<int> PhysicalMemoryUsedPercent();

// The same worked out from the text of a meminfo file: MemTotal and
// MemAvailable (MemFree + Buffers + Cached on kernels without it).
std::optional<int> MemoryUsedPercentOf(const QByteArray& meminfo);

}  // namespace tessaly
