#pragma once

#include <bit>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TESSALY_MEAN_SCAN_X86 1
#endif

namespace tessaly {

// The coarse first pass of the candidate search: the images whose mean
// section values all lie within reach of a cell's, found 16 or 32 at a time.

// Column arrays are padded with dead entries to whole groups.
inline constexpr int kMeanScanGroup = 32;

struct MeanColumns {
    const std::uint8_t* alive;      // 0xFF for an image still in the search, 0 otherwise
    const std::uint8_t* means[3];   // per channel
    const std::uint8_t* firsts[3];  // per channel, the first section's value
    int count;                      // a multiple of kMeanScanGroup
};

struct MeanReach {
    std::uint8_t cellMeans[3];
    std::uint8_t cellFirsts[3];
    std::uint8_t means[3];  // the largest difference of the means that passes, per channel
    std::uint8_t firsts;    // the same for the first sections
    bool checkFirsts;
};

enum class ScanStep { kGoOn, kReachChanged, kStop };

namespace detail {

bool CpuHasAvx2();

#if defined(TESSALY_MEAN_SCAN_X86)
inline __m128i Bytes128(std::uint8_t value) {
    return _mm_set1_epi8(static_cast<char>(value));
}

// Lanes of |a - b| at most `limit`, as all-ones bytes.
inline __m128i Within128(__m128i a, __m128i b, __m128i limit) {
    const __m128i d = _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a));
    return _mm_cmpeq_epi8(_mm_subs_epu8(d, limit), _mm_setzero_si128());
}

inline __m128i Load128(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

struct Lanes128 {
    __m128i cellMeans[3], cellFirsts[3], reach[3], firstReach;
};

// The lanes of a group that pass, one bit each.
inline std::uint32_t Passing128(const MeanColumns& c, bool checkFirsts, const Lanes128& l,
                                int group) {
    __m128i pass = Load128(c.alive + group);
    for (int ch = 0; ch < 3; ++ch) {
        pass = _mm_and_si128(pass,
                             Within128(Load128(c.means[ch] + group), l.cellMeans[ch], l.reach[ch]));
        if (checkFirsts) {
            pass = _mm_and_si128(
                pass, Within128(Load128(c.firsts[ch] + group), l.cellFirsts[ch], l.firstReach));
        }
    }
    return static_cast<std::uint32_t>(_mm_movemask_epi8(pass));
}

template <typename Visit>
void ScanMeansSse2(const MeanColumns& c, const MeanReach& r, Visit& visit) {
    Lanes128 lanes;
    for (int ch = 0; ch < 3; ++ch) {
        lanes.cellMeans[ch] = Bytes128(r.cellMeans[ch]);
        lanes.cellFirsts[ch] = Bytes128(r.cellFirsts[ch]);
        lanes.reach[ch] = Bytes128(r.means[ch]);
    }
    lanes.firstReach = Bytes128(r.firsts);
    for (int group = 0; group < c.count; group += 16) {
        for (std::uint32_t mask = Passing128(c, r.checkFirsts, lanes, group); mask != 0;) {
            const int lane = std::countr_zero(mask);
            mask &= mask - 1;
            const ScanStep step = visit(group + lane);
            if (step == ScanStep::kStop) return;
            if (step == ScanStep::kReachChanged) {
                // The rest of the group is held to the new reach.
                for (int ch = 0; ch < 3; ++ch)
                    lanes.reach[ch] = Bytes128(r.means[ch]);
                mask &= Passing128(c, r.checkFirsts, lanes, group);
            }
        }
    }
}

__attribute__((target("avx2"))) inline __m256i Bytes256(std::uint8_t value) {
    return _mm256_set1_epi8(static_cast<char>(value));
}

__attribute__((target("avx2"))) inline __m256i Within256(__m256i a, __m256i b, __m256i limit) {
    const __m256i d = _mm256_or_si256(_mm256_subs_epu8(a, b), _mm256_subs_epu8(b, a));
    return _mm256_cmpeq_epi8(_mm256_subs_epu8(d, limit), _mm256_setzero_si256());
}

__attribute__((target("avx2"))) inline __m256i Load256(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

struct Lanes256 {
    __m256i cellMeans[3], cellFirsts[3], reach[3], firstReach;
};

// The lanes of a group that pass, one bit each.
__attribute__((target("avx2"))) inline std::uint32_t Passing256(const MeanColumns& c,
                                                                bool checkFirsts, const Lanes256& l,
                                                                int group) {
    __m256i pass = Load256(c.alive + group);
    for (int ch = 0; ch < 3; ++ch) {
        pass = _mm256_and_si256(
            pass, Within256(Load256(c.means[ch] + group), l.cellMeans[ch], l.reach[ch]));
        if (checkFirsts) {
            pass = _mm256_and_si256(
                pass, Within256(Load256(c.firsts[ch] + group), l.cellFirsts[ch], l.firstReach));
        }
    }
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(pass));
}

template <typename Visit>
__attribute__((target("avx2"))) void ScanMeansAvx2(const MeanColumns& c, const MeanReach& r,
                                                   Visit& visit) {
    Lanes256 lanes;
    for (int ch = 0; ch < 3; ++ch) {
        lanes.cellMeans[ch] = Bytes256(r.cellMeans[ch]);
        lanes.cellFirsts[ch] = Bytes256(r.cellFirsts[ch]);
        lanes.reach[ch] = Bytes256(r.means[ch]);
    }
    lanes.firstReach = Bytes256(r.firsts);
    for (int group = 0; group < c.count; group += 32) {
        for (std::uint32_t mask = Passing256(c, r.checkFirsts, lanes, group); mask != 0;) {
            const int lane = std::countr_zero(mask);
            mask &= mask - 1;
            const ScanStep step = visit(group + lane);
            if (step == ScanStep::kStop) return;
            if (step == ScanStep::kReachChanged) {
                // The rest of the group is held to the new reach.
                for (int ch = 0; ch < 3; ++ch)
                    lanes.reach[ch] = Bytes256(r.means[ch]);
                mask &= Passing256(c, r.checkFirsts, lanes, group);
            }
        }
    }
}
#endif

template <typename Visit>
void ScanMeansPlain(const MeanColumns& c, const MeanReach& r, Visit& visit);

}  // namespace detail

// Whether one image lies within reach (see ScanMeans).
inline bool WithinReach(const MeanColumns& c, const MeanReach& r, int position) {
    auto within = [](int a, int b, int limit) { return (a > b ? a - b : b - a) <= limit; };
    if (c.alive[position] == 0) return false;
    for (int ch = 0; ch < 3; ++ch) {
        if (!within(c.means[ch][position], r.cellMeans[ch], r.means[ch])) return false;
        if (r.checkFirsts && !within(c.firsts[ch][position], r.cellFirsts[ch], r.firsts)) return false;
    }
    return true;
}

namespace detail {

template <typename Visit>
void ScanMeansPlain(const MeanColumns& c, const MeanReach& r, Visit& visit) {
    for (int position = 0; position < c.count; ++position) {
        if (WithinReach(c, r, position) && visit(position) == ScanStep::kStop) return;
    }
}

}  // namespace detail

// Calls visit(position) in increasing order for every live image whose means
// (and, when asked, first sections) lie within reach of the cell's. visit
// returns kReachChanged after changing `reach`, which then applies to the
// rest of the scan, or kStop to end it.
template <typename Visit>
void ScanMeans(const MeanColumns& columns, const MeanReach& reach, Visit&& visit) {
#if defined(TESSALY_MEAN_SCAN_X86)
    if (detail::CpuHasAvx2()) return detail::ScanMeansAvx2(columns, reach, visit);
    return detail::ScanMeansSse2(columns, reach, visit);
#else
    return detail::ScanMeansPlain(columns, reach, visit);
#endif
}

}  // namespace tessaly
