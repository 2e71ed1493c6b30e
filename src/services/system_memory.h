#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

namespace tessaly {

// How much of the physical memory is in use, in whole percent (truncated),
// read from /proc/meminfo. Nothing when it cannot be told.
std::optional<int> PhysicalMemoryUsedPercent();

// The physical memory available to programs in bytes (MemAvailable, or its
// stand-in on older kernels). Nothing when it cannot be told.
std::optional<qint64> AvailableMemoryBytes();

// The used share worked out from the text of a meminfo file: MemTotal and
// MemAvailable (MemFree + Buffers + Cached on kernels without it).
std::optional<int> MemoryUsedPercentOf(const QByteArray& meminfo);

}  // namespace tessaly
