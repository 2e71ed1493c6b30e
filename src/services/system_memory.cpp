#include "services/system_memory.h"

#include <QFile>
#include <QList>
#include <cmath>
#include <map>

namespace tessaly {

std::optional<int> MemoryUsedPercentOf(const QByteArray& meminfo) {
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
    available = std::clamp(available, 0.0, total->second);
    return static_cast<int>(std::trunc((total->second - available) / total->second * 100.0));
}

std::optional<int> PhysicalMemoryUsedPercent() {
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return MemoryUsedPercentOf(file.readAll());
}

}  // namespace tessaly
