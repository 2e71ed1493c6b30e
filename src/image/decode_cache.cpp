#include "image/decode_cache.h"

namespace tessaly {
namespace {
constexpr qint64 kDefaultBudgetBytes = 512LL * 1024 * 1024;

DecodeCache::Key MakeKey(quint64 serial, QSize size) {
    return {serial, {size.width(), size.height()}};
}
}  // namespace

DecodeCache& DecodeCache::Instance() {
    static DecodeCache cache(kDefaultBudgetBytes);
    return cache;
}

DecodeCache::DecodeCache(qint64 budgetBytes) : budget_(budgetBytes) {}

QImage DecodeCache::Find(quint64 serial, QSize size) {
    const auto it = index_.find(MakeKey(serial, size));
    if (it == index_.end()) return {};
    recent_.splice(recent_.begin(), recent_, it->second);
    return it->second->image;
}

void DecodeCache::Insert(quint64 serial, QSize size, const QImage& image) {
    const Key key = MakeKey(serial, size);
    if (const auto it = index_.find(key); it != index_.end()) {
        used_ -= it->second->image.sizeInBytes();
        recent_.erase(it->second);
        index_.erase(it);
    }
    // An image larger than the whole budget is handed out but not kept.
    if (image.isNull() || image.sizeInBytes() > budget_) return;
    recent_.push_front(Entry{key, image});
    index_.emplace(key, recent_.begin());
    used_ += image.sizeInBytes();
    EvictToBudget();
}

void DecodeCache::SetBudget(qint64 budgetBytes) {
    budget_ = budgetBytes;
    EvictToBudget();
}

void DecodeCache::Clear() {
    recent_.clear();
    index_.clear();
    used_ = 0;
}

void DecodeCache::EvictToBudget() {
    while (used_ > budget_ && !recent_.empty()) {
        const Entry& oldest = recent_.back();
        used_ -= oldest.image.sizeInBytes();
        index_.erase(oldest.key);
        recent_.pop_back();
    }
}

}  // namespace tessaly
