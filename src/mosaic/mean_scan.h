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
// The byte operations of the scan on 16 lanes (SSE2, always present on x86-64)
// and on 32 lanes (AVX2). Each lane is one image of a group.
struct Sse2Lanes {
    using Vector = __m128i;
    static constexpr int kWidth = 16;

    static Vector Bytes(std::uint8_t value) { return _mm_set1_epi8(static_cast<char>(value)); }
    static Vector Load(const std::uint8_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }
    static Vector And(Vector a, Vector b) { return _mm_and_si128(a, b); }
    // Lanes of |a - b| at most `limit`, as all-ones bytes.
    static Vector Within(Vector a, Vector b, Vector limit) {
        const __m128i d = _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a));
        return _mm_cmpeq_epi8(_mm_subs_epu8(d, limit), _mm_setzero_si128());
    }
    static std::uint32_t Bits(Vector v) { return static_cast<std::uint32_t>(_mm_movemask_epi8(v)); }
};

struct Avx2Lanes {
    using Vector = __m256i;
    static constexpr int kWidth = 32;

    __attribute__((target("avx2"))) static Vector Bytes(std::uint8_t value) {
        return _mm256_set1_epi8(static_cast<char>(value));
    }
    __attribute__((target("avx2"))) static Vector Load(const std::uint8_t* p) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    }
    __attribute__((target("avx2"))) static Vector And(Vector a, Vector b) {
        return _mm256_and_si256(a, b);
    }
    __attribute__((target("avx2"))) static Vector Within(Vector a, Vector b, Vector limit) {
        const __m256i d = _mm256_or_si256(_mm256_subs_epu8(a, b), _mm256_subs_epu8(b, a));
        return _mm256_cmpeq_epi8(_mm256_subs_epu8(d, limit), _mm256_setzero_si256());
    }
    __attribute__((target("avx2"))) static std::uint32_t Bits(Vector v) {
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(v));
    }
};

// The vector scan, written once for both lane widths. Its bodies are always
// inlined, even unoptimised, into the entry point of their width, so 256-bit
// values only pass between functions compiled for AVX2: a generic body
// called on its own would hand them over by another convention than the
// AVX2 operations use. That is also why GCC's ABI note does not apply.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

template <typename L>
struct ScanLanes {
    typename L::Vector cellMeans[3], cellFirsts[3], reach[3], firstReach;
};

// The lanes of the group starting at `group` that pass, one bit each.
template <typename L>
__attribute__((always_inline)) inline std::uint32_t Passing(const MeanColumns& c, bool checkFirsts, const ScanLanes<L>& l,
                             int group) {
    typename L::Vector pass = L::Load(c.alive + group);
    for (int ch = 0; ch < 3; ++ch) {
        pass = L::And(pass, L::Within(L::Load(c.means[ch] + group), l.cellMeans[ch], l.reach[ch]));
        if (checkFirsts) {
            pass = L::And(pass,
                          L::Within(L::Load(c.firsts[ch] + group), l.cellFirsts[ch], l.firstReach));
        }
    }
    return L::Bits(pass);
}

template <typename L, typename Visit>
__attribute__((always_inline)) inline void ScanMeansVector(const MeanColumns& c, const MeanReach& r, Visit& visit) {
    ScanLanes<L> lanes;
    for (int ch = 0; ch < 3; ++ch) {
        lanes.cellMeans[ch] = L::Bytes(r.cellMeans[ch]);
        lanes.cellFirsts[ch] = L::Bytes(r.cellFirsts[ch]);
        lanes.reach[ch] = L::Bytes(r.means[ch]);
    }
    lanes.firstReach = L::Bytes(r.firsts);
    for (int group = 0; group < c.count; group += L::kWidth) {
        for (std::uint32_t mask = Passing(c, r.checkFirsts, lanes, group); mask != 0;) {
            const int lane = std::countr_zero(mask);
            mask &= mask - 1;
            const ScanStep step = visit(group + lane);
            if (step == ScanStep::kStop) return;
            if (step == ScanStep::kReachChanged) {
                // The rest of the group is held to the new reach.
                for (int ch = 0; ch < 3; ++ch)
                    lanes.reach[ch] = L::Bytes(r.means[ch]);
                mask &= Passing(c, r.checkFirsts, lanes, group);
            }
        }
    }
}

template <typename Visit>
void ScanMeansSse2(const MeanColumns& c, const MeanReach& r, Visit& visit) {
    ScanMeansVector<Sse2Lanes>(c, r, visit);
}

template <typename Visit>
__attribute__((target("avx2"), flatten)) void ScanMeansAvx2(const MeanColumns& c,
                                                             const MeanReach& r, Visit& visit) {
    ScanMeansVector<Avx2Lanes>(c, r, visit);
}

#pragma GCC diagnostic pop
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
