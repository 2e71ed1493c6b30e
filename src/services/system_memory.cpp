#include "services/system_memory.h"

#include <QFile>
#include <QList>
#include <algorithm>
#include <cmath>
#include <map>

namespace tessaly {
namespace {

struct MemoryFigures {
    double totalKiB = 0;
    double availableKiB = 0;  // within 0..totalKiB
};

std::optional<MemoryFigures> FiguresOf(const QByteArray& meminfo) {
    std::map<QByteArray, double> kilobytes;
    for (const QByteArray& line : meminfo.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) continue;
        bool ok = false;
        const QByteArray value = line.mid(colon + 1).trimmed().split(' ').front();
        const double amount = value.toDouble(&ok);
        if (ok) kilobytes[line.left(colon)] = amount;
    }
    const auto total = kilobytes.find("MemTotal");
    if (total == kilobytes.end() || total->second <= 0) return std::nullopt;
    double available = 0;
    if (const auto found = kilobytes.find("MemAvailable"); found != kilobytes.end()) {
        available = found->second;
    } else {
        for (const char* key : {"MemFree", "Buffers", "Cached"}) {
            if (const auto part = kilobytes.find(key); part != kilobytes.end())
                available += part->second;
        }
    }
    return MemoryFigures{total->second, std::clamp(available, 0.0, total->second)};
}

QByteArray ReadMeminfo() {
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace

std::optional<int> MemoryUsedPercentOf(const QByteArray& meminfo) {
    const auto figures = FiguresOf(meminfo);
    if (!figures) return std::nullopt;
    return static_cast<int>(
        std::trunc((figures->totalKiB - figures->availableKiB) / figures->totalKiB * 100.0));
}

std::optional<int> PhysicalMemoryUsedPercent() { return MemoryUsedPercentOf(ReadMeminfo()); }

std::optional<qint64> AvailableMemoryBytes() {
    const auto figures = FiguresOf(ReadMeminfo());
    if (!figures) return std::nullopt;
    return static_cast<qint64>(figures->availableKiB) * 1024;
}

}  // namespace tessaly
