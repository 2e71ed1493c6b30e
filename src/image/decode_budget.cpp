#include "image/decode_budget.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>

#include "image/image_limits.h"
#include "image/regular_file.h"
#include "services/system_memory.h"

namespace tessaly {
namespace {

constexpr qint64 kMaxDecodeBudget = 512LL * 1024 * 1024;

}  // namespace

DecodeBudget::DecodeBudget(qint64 limitBytes) : limit_(std::max<qint64>(limitBytes, 1)) {}

qint64 DecodeBudget::DefaultLimit() {
    const auto available = AvailableMemoryBytes();
    return available ? std::clamp<qint64>(*available / 4, 1, kMaxDecodeBudget) : kMaxDecodeBudget;
}

void DecodeBudget::Acquire(qint64 bytes) {
    bytes = std::max<qint64>(bytes, 0);
    std::unique_lock lock(mutex_);
    const quint64 ticket = nextTicket_++;
    released_.wait(lock, [&] {
        return ticket == serving_ && (inFlight_ == 0 || inFlight_ + bytes <= limit_);
    });
    ++serving_;
    inFlight_ += bytes;
    peak_ = std::max(peak_, inFlight_);
    lock.unlock();
    // The next request may fit as well.
    released_.notify_all();
}

void DecodeBudget::Release(qint64 bytes) {
    {
        std::lock_guard lock(mutex_);
        inFlight_ -= std::max<qint64>(bytes, 0);
    }
    released_.notify_all();
}

qint64 DecodeBudget::PeakInFlight() const {
    std::lock_guard lock(mutex_);
    return peak_;
}

qint64 DecodedBytesOf(const QString& path) {
    QFile file(path);
    if (!OpenRegularFile(file)) return 0;
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QSize size = HeaderSize(reader);
    if (size.isEmpty()) return 0;
    return qint64(size.width()) * size.height() * 4;
}

}  // namespace tessaly
