#include "mosaic/cell_sampler.h"

#include <algorithm>
#include <cstring>

#include "mosaic/colour_features.h"

namespace tessaly {
namespace {

// Below this much sampling in a run, a helper costs more than it saves.
constexpr double kPixelsWorthAHelper = 1 << 18;

double Pixels(std::span<const LaidCell> cells) {
    double pixels = 0;
    for (const LaidCell& cell : cells)
        pixels += double(cell.width) * double(cell.height);
    return pixels;
}

}  // namespace

CellSampler::CellSampler(const QImage& surface, int sectionCount)
    : surface_(surface), sectionCount_(sectionCount) {}

CellSampler::~CellSampler() {
    Finish();
    if (!helper_.joinable()) return;
    quit_.store(true);
    run_.fetch_add(1);
    run_.notify_one();
    helper_.join();
}

void CellSampler::Start(std::span<const LaidCell> cells) {
    Finish();
    cells_ = cells;
    if (cells.size() > capacity_) {
        samples_.reset(new PaddedColours[cells.size()]);
        states_.reset(new std::atomic<std::uint8_t>[cells.size()]);
        capacity_ = cells.size();
    }
    for (std::size_t i = 0; i < cells.size(); ++i)
        states_[i].store(kFree, std::memory_order_relaxed);
    helped_ = cells.size() > 1 && std::thread::hardware_concurrency() > 1 &&
              Pixels(cells) >= kPixelsWorthAHelper;
    if (!helped_) return;
    wanted_.store(0, std::memory_order_relaxed);
    notified_ = 0;
    if (!helper_.joinable()) helper_ = std::thread([this] { Help(); });
    run_.fetch_add(1, std::memory_order_release);
    run_.notify_one();
}

void CellSampler::Finish() {
    if (!helped_) return;
    helped_ = false;
    wanted_.store(static_cast<int>(cells_.size()));  // past every cell: the helper lets go
    wanted_.notify_one();
    const int run = run_.load();
    for (int done = done_.load(std::memory_order_acquire); done != run;
         done = done_.load(std::memory_order_acquire)) {
        done_.wait(done, std::memory_order_acquire);
    }
}

const PaddedColours& CellSampler::At(int i) {
    const auto at = static_cast<std::size_t>(i);
    if (helped_) {
        wanted_.store(i, std::memory_order_release);
        // The helper sleeps once it is a full stretch ahead; wake it when
        // half of that stretch is used, not on every cell.
        if (i - notified_ >= kAhead / 2) {
            notified_ = i;
            wanted_.notify_one();
        }
    }
    if (!Claim(i)) {
        // The helper is on this cell: sample cells further on meanwhile.
        const int end = std::min(static_cast<int>(cells_.size()), i + kAhead);
        int spare = i + 1;
        while (states_[at].load(std::memory_order_acquire) != kReady) {
            while (spare < end && !Claim(spare))
                ++spare;
            if (spare == end) std::this_thread::yield();
        }
    }
    return samples_[at];
}

bool CellSampler::Claim(int i) {
    std::uint8_t expected = kFree;
    const auto at = static_cast<std::size_t>(i);
    if (!states_[at].compare_exchange_strong(expected, kBusy, std::memory_order_acq_rel))
        return false;
    Sample(i);
    states_[at].store(kReady, std::memory_order_release);
    return true;
}

void CellSampler::Help() {
    int seen = 0;
    while (true) {
        run_.wait(seen, std::memory_order_acquire);
        seen = run_.load(std::memory_order_acquire);
        if (quit_.load()) return;
        const int count = static_cast<int>(cells_.size());
        int next = 0;
        while (true) {
            const int wanted = wanted_.load(std::memory_order_acquire);
            // Keep off the cell the placement is at: it samples that one
            // itself when the helper has fallen behind.
            next = std::max(next, wanted + 1);
            if (next >= count) break;
            if (next - wanted >= kAhead) {
                wanted_.wait(wanted, std::memory_order_acquire);
                continue;
            }
            Claim(next);
            ++next;
        }
        done_.store(seen, std::memory_order_release);
        done_.notify_one();
    }
}

void CellSampler::Sample(int i) {
    const LaidCell& cell = cells_[static_cast<std::size_t>(i)];
    SectionValues red, green, blue;
    SampleBackgroundCell(surface_, sectionCount_, cell.x, cell.y, cell.width, cell.height, red,
                         green, blue);
    PaddedColours& sample = samples_[static_cast<std::size_t>(i)];
    std::memset(&sample, 0, sizeof sample);
    std::copy(std::begin(red), std::end(red), sample.red);
    std::copy(std::begin(green), std::end(green), sample.green);
    std::copy(std::begin(blue), std::end(blue), sample.blue);
}

}  // namespace tessaly
