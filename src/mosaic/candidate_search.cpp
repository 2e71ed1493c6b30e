#include "mosaic/candidate_search.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

#include "mosaic/mean_scan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessaly {
namespace {

constexpr int kGroup = kMeanScanGroup;

// The bound of a channel's summed difference that every sum passes.
int OpenBound(int sections) {
    return 255 * sections + 1;
}

}  // namespace

int SectionTolerance(int comparePrecision) {
    return static_cast<int>(
        std::clamp<std::int64_t>(10 * std::int64_t(comparePrecision) + 5, -1, kNoTolerance));
}

CandidateSearch::CandidateSearch(std::span<const NodeRecord> records,
                                 std::span<const NodeMark> marks, int sections, int tolerance)
    : count_(static_cast<int>(marks.size())),
      padded_((count_ + kGroup - 1) / kGroup * kGroup),
      sections_(std::clamp(sections, 1, kMaxSections)),
      tolerance_(tolerance),
      remaining_(count_),
      colours_(static_cast<std::size_t>(count_)),
      nodes_(static_cast<std::size_t>(count_)) {
    // The padding up to whole groups reads as removed images.
    for (int channel = 0; channel < 3; ++channel) {
        totals_[channel].assign(static_cast<std::size_t>(padded_), 0);
        means_[channel].assign(static_cast<std::size_t>(padded_), 0);
        firsts_[channel].assign(static_cast<std::size_t>(padded_), 0);
    }
    alive_.assign(static_cast<std::size_t>(padded_), 0);
    for (int j = 0; j < count_; ++j) {
        const auto at = static_cast<std::size_t>(j);
        const int node = marks[at].order;
        nodes_[at] = node;
        const NodeRecord& record = records[static_cast<std::size_t>(node)];
        PaddedColours& c = colours_[at];
        std::memset(&c, 0, sizeof c);
        std::copy_n(record.avgRed, sections_, c.red);
        std::copy_n(record.avgGreen, sections_, c.green);
        std::copy_n(record.avgBlue, sections_, c.blue);
        const std::uint8_t* channels[3] = {c.red, c.green, c.blue};
        for (int channel = 0; channel < 3; ++channel) {
            int total = 0;
            for (int k = 0; k < sections_; ++k)
                total += channels[channel][k];
            totals_[channel][at] = static_cast<std::int16_t>(total);
            means_[channel][at] = static_cast<std::uint8_t>(total / sections_);
            firsts_[channel][at] = channels[channel][0];
        }
        alive_[at] = 0xFF;
    }
    if (tolerance_ >= 0 && tolerance_ <= kBinnedTolerance) BuildBins();
}

std::size_t CandidateSearch::BinOf(int red, int green, int blue) {
    return (static_cast<std::size_t>(red >> kBinShift) * kBinsPerSide +
            static_cast<std::size_t>(green >> kBinShift)) *
               kBinsPerSide +
           static_cast<std::size_t>(blue >> kBinShift);
}

void CandidateSearch::BuildBins() {
    binStarts_.assign(kBinsPerSide * kBinsPerSide * kBinsPerSide + 1, 0);
    auto binOf = [&](int j) {
        const auto at = static_cast<std::size_t>(j);
        return BinOf(firsts_[0][at], firsts_[1][at], firsts_[2][at]);
    };
    for (int j = 0; j < count_; ++j)
        ++binStarts_[binOf(j) + 1];
    for (std::size_t b = 1; b < binStarts_.size(); ++b)
        binStarts_[b] += binStarts_[b - 1];
    binPositions_.resize(static_cast<std::size_t>(count_));
    std::vector<std::int32_t> fill(binStarts_.begin(), binStarts_.end() - 1);
    for (int j = 0; j < count_; ++j)
        binPositions_[static_cast<std::size_t>(fill[binOf(j)]++)] = j;
}

void CandidateSearch::GatherNear(const PaddedColours& cell) const {
    gathered_.clear();
    const std::uint8_t first[3] = {cell.red[0], cell.green[0], cell.blue[0]};
    int low[3], high[3];
    for (int channel = 0; channel < 3; ++channel) {
        low[channel] = std::max(0, first[channel] - tolerance_) >> kBinShift;
        high[channel] = std::min(255, first[channel] + tolerance_) >> kBinShift;
    }
    for (int r = low[0]; r <= high[0]; ++r) {
        for (int g = low[1]; g <= high[1]; ++g) {
            const std::size_t row = BinOf(r << kBinShift, g << kBinShift, 0);
            const auto begin =
                binPositions_.begin() + binStarts_[row + static_cast<std::size_t>(low[2])];
            const auto end =
                binPositions_.begin() + binStarts_[row + static_cast<std::size_t>(high[2]) + 1];
            gathered_.insert(gathered_.end(), begin, end);
        }
    }
    std::sort(gathered_.begin(), gathered_.end());
}

void CandidateSearch::Remove(int position) {
    if (Removed(position)) return;
    alive_[static_cast<std::size_t>(position)] = 0;
    --remaining_;
}

int CandidateSearch::FindBest(const PaddedColours& cell, bool different) const {
    if (tolerance_ < 0) return -1;  // no difference is that small
    return different ? FindMostDifferent(cell) : FindClosest(cell);
}

// The channel sums of the absolute differences; false when a section differs
// by more than the tolerance on any channel.
bool CandidateSearch::Differences(const PaddedColours& cell, int position, int (&sums)[3]) const {
    const PaddedColours& image = colours_[static_cast<std::size_t>(position)];
#if defined(__SSE2__)
    const int chunks = sections_ > 16 ? 2 : 1;
    const __m128i limit = _mm_set1_epi8(
        static_cast<char>(static_cast<std::uint8_t>(std::min(tolerance_, kNoTolerance))));
    __m128i excess = _mm_setzero_si128();
    auto channel = [&](const std::uint8_t* x, const std::uint8_t* y) {
        __m128i sad = _mm_setzero_si128();
        for (int c = 0; c < chunks; ++c) {
            const __m128i p = _mm_load_si128(reinterpret_cast<const __m128i*>(x + 16 * c));
            const __m128i q = _mm_load_si128(reinterpret_cast<const __m128i*>(y + 16 * c));
            const __m128i diff = _mm_or_si128(_mm_subs_epu8(p, q), _mm_subs_epu8(q, p));
            excess = _mm_or_si128(excess, _mm_subs_epu8(diff, limit));
            sad = _mm_add_epi64(sad, _mm_sad_epu8(p, q));
        }
        return _mm_cvtsi128_si32(sad) + _mm_cvtsi128_si32(_mm_srli_si128(sad, 8));
    };
    sums[0] = channel(cell.red, image.red);
    sums[1] = channel(cell.green, image.green);
    sums[2] = channel(cell.blue, image.blue);
    if (tolerance_ >= kNoTolerance) return true;
    return _mm_movemask_epi8(_mm_cmpeq_epi8(excess, _mm_setzero_si128())) == 0xFFFF;
#else
    const bool tolerant = tolerance_ >= kNoTolerance;
    sums[0] = sums[1] = sums[2] = 0;
    for (int k = 0; k < sections_; ++k) {
        const int d[3] = {std::abs(cell.red[k] - image.red[k]),
                          std::abs(cell.green[k] - image.green[k]),
                          std::abs(cell.blue[k] - image.blue[k])};
        for (int channel = 0; channel < 3; ++channel) {
            if (!tolerant && d[channel] > tolerance_) return false;
            sums[channel] += d[channel];
        }
    }
    return true;
#endif
}

bool CandidateSearch::WithinBounds(int position, const int (&cellTotals)[3],
                                   const int (&bounds)[3]) const {
    const auto at = static_cast<std::size_t>(position);
    for (int channel = 0; channel < 3; ++channel) {
        if (std::abs(totals_[channel][at] - cellTotals[channel]) >= bounds[channel]) return false;
    }
    return true;
}

int CandidateSearch::FindClosest(const PaddedColours& cell) const {
    const int n = sections_;
    const bool tolerant = tolerance_ >= kNoTolerance;
    const std::uint8_t* cellChannels[3] = {cell.red, cell.green, cell.blue};
    int cellTotals[3] = {0, 0, 0};
    for (int channel = 0; channel < 3; ++channel) {
        for (int k = 0; k < n; ++k)
            cellTotals[channel] += cellChannels[channel][k];
    }

    // An image must bring each channel's summed difference below its limit:
    // the best's average times N, at first 255 times N (averages, at most
    // 255, pass that unless N is 1).
    int limits[3];
    std::fill(std::begin(limits), std::end(limits), std::min(255 * n * n, OpenBound(n)));
    // Within the tolerance every section differs by at most T, the total by N T.
    const int toleranceBound = tolerant ? OpenBound(n) : n * tolerance_ + 1;
    int bounds[3];
    auto setBounds = [&] {
        for (int channel = 0; channel < 3; ++channel)
            bounds[channel] = std::min(limits[channel], toleranceBound);
    };
    setBounds();
    int best = -1;

    // Looks at one image in full; true when it becomes the best.
    auto consider = [&](int position) {
        int sums[3];
        if (!Differences(cell, position, sums)) return false;
        if (sums[0] >= limits[0] || sums[1] >= limits[1] || sums[2] >= limits[2]) return false;
        best = position;
        for (int channel = 0; channel < 3; ++channel)
            limits[channel] = sums[channel] / n * n;
        return true;
    };

    // A total within its bound puts the mean within (bound + N - 2) / N of
    // the cell's, and within the tolerance the first section is within T of
    // the cell's; images found that way are checked against the exact bounds
    // of the totals and then considered in their order.
    MeanReach reach{};
    auto setReach = [&] {
        for (int channel = 0; channel < 3; ++channel) {
            reach.means[channel] =
                static_cast<std::uint8_t>(std::min((bounds[channel] + n - 2) / n, 255));
        }
    };
    for (int channel = 0; channel < 3; ++channel) {
        reach.cellMeans[channel] = static_cast<std::uint8_t>(cellTotals[channel] / n);
        reach.cellFirsts[channel] = cellChannels[channel][0];
    }
    setReach();
    reach.firsts = static_cast<std::uint8_t>(std::min(tolerance_, kNoTolerance));
    reach.checkFirsts = !tolerant;
    const MeanColumns columns{alive_.data(),
                              {means_[0].data(), means_[1].data(), means_[2].data()},
                              {firsts_[0].data(), firsts_[1].data(), firsts_[2].data()},
                              padded_};
    auto visit = [&](int position) {
        if (!WithinBounds(position, cellTotals, bounds) || !consider(position)) {
            return ScanStep::kGoOn;
        }
        setBounds();
        // A limit of 0 leaves nothing that can beat the best.
        if (std::min({bounds[0], bounds[1], bounds[2]}) <= 0) return ScanStep::kStop;
        setReach();
        return ScanStep::kReachChanged;
    };
    if (binPositions_.empty()) {
        ScanMeans(columns, reach, visit);
    } else {
        // A small tolerance leaves only the images whose first section lies
        // in the bins around the cell's.
        GatherNear(cell);
        for (const std::int32_t position : gathered_) {
            if (WithinReach(columns, reach, position) && visit(position) == ScanStep::kStop) break;
        }
    }
    return best;
}

int CandidateSearch::FindMostDifferent(const PaddedColours& cell) const {
    const int n = sections_;
    // An image must bring each channel's summed difference to at least its
    // limit: one above the best's average, times N; at first 1 times N.
    int limits[3] = {n, n, n};
    int best = -1;
    for (int position = 0; position < count_; ++position) {
        int sums[3];
        if (Removed(position) || !Differences(cell, position, sums)) continue;
        if (sums[0] < limits[0] || sums[1] < limits[1] || sums[2] < limits[2]) continue;
        best = position;
        for (int channel = 0; channel < 3; ++channel)
            limits[channel] = (sums[channel] / n + 1) * n;
    }
    return best;
}

}  // namespace tessaly
