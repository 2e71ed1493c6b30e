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

// The group loop, written once for both lane widths. `Lanes` keeps its
// vectors to itself: the loop sees only bit masks, so no vector value ever
// passes between functions built for different instruction sets.
template <typename Lanes, typename Visit>
__attribute__((always_inline)) inline void ScanGroups(const MeanColumns& c, const MeanReach& r,
                                                      Visit& visit) {
    Lanes lanes(r);
    for (int group = 0; group < c.count; group += Lanes::kWidth) {
        for (std::uint32_t mask = lanes.Passing(c, r.checkFirsts, group); mask != 0;) {
            const int lane = std::countr_zero(mask);
            mask &= mask - 1;
            const ScanStep step = visit(group + lane);
            if (step == ScanStep::kStop) return;
            if (step == ScanStep::kReachChanged) {
                // The rest of the group is held to the new reach.
                lanes.SetReach(r);
                mask &= lanes.Passing(c, r.checkFirsts, group);
            }
        }
    }
}

#if defined(TESSALY_MEAN_SCAN_X86)
// The vectors of one lane width and the operations on them, named by the
// arguments; everything that takes or returns a vector carries `Target`.
#define TESSALY_MEAN_LANES(Name, Target, Vec, Set1, Load, SubsEpu8, Or, And, CmpEq, Zero,        \
                           Movemask, Width)                                                      \
    struct Name {                                                                                \
        static constexpr int kWidth = Width;                                                     \
        Vec cellMeans[3], cellFirsts[3], reach[3], firstReach;                                   \
                                                                                                 \
        Target explicit Name(const MeanReach& r) {                                               \
            for (int ch = 0; ch < 3; ++ch) {                                                     \
                cellMeans[ch] = Set1(static_cast<char>(r.cellMeans[ch]));                        \
                cellFirsts[ch] = Set1(static_cast<char>(r.cellFirsts[ch]));                      \
            }                                                                                    \
            firstReach = Set1(static_cast<char>(r.firsts));                                      \
            SetReach(r);                                                                         \
        }                                                                                        \
        Target void SetReach(const MeanReach& r) {                                               \
            for (int ch = 0; ch < 3; ++ch)                                                       \
                reach[ch] = Set1(static_cast<char>(r.means[ch]));                                \
        }                                                                                        \
        /* Lanes of |a - b| at most `limit`, as all-ones bytes. */                               \
        Target static Vec Within(Vec a, Vec b, Vec limit) {                                      \
            const Vec d = Or(SubsEpu8(a, b), SubsEpu8(b, a));                                    \
            return CmpEq(SubsEpu8(d, limit), Zero());                                            \
        }                                                                                        \
        Target static Vec At(const std::uint8_t* p) {                                            \
            return Load(reinterpret_cast<const Vec*>(p));                                        \
        }                                                                                        \
        /* The lanes of a group that pass, one bit each. */                                      \
        Target std::uint32_t Passing(const MeanColumns& c, bool checkFirsts, int group) const {  \
            Vec pass = At(c.alive + group);                                                      \
            for (int ch = 0; ch < 3; ++ch) {                                                     \
                pass = And(pass, Within(At(c.means[ch] + group), cellMeans[ch], reach[ch]));     \
                if (checkFirsts) {                                                               \
                    pass =                                                                       \
                        And(pass, Within(At(c.firsts[ch] + group), cellFirsts[ch], firstReach)); \
                }                                                                                \
            }                                                                                    \
            return static_cast<std::uint32_t>(Movemask(pass));                                   \
        }                                                                                        \
    };

#define TESSALY_NO_TARGET
#define TESSALY_AVX2_TARGET __attribute__((target("avx2")))
TESSALY_MEAN_LANES(Lanes128, TESSALY_NO_TARGET, __m128i, _mm_set1_epi8, _mm_loadu_si128,
                   _mm_subs_epu8, _mm_or_si128, _mm_and_si128, _mm_cmpeq_epi8, _mm_setzero_si128,
                   _mm_movemask_epi8, 16)
TESSALY_MEAN_LANES(Lanes256, TESSALY_AVX2_TARGET, __m256i, _mm256_set1_epi8, _mm256_loadu_si256,
                   _mm256_subs_epu8, _mm256_or_si256, _mm256_and_si256, _mm256_cmpeq_epi8,
                   _mm256_setzero_si256, _mm256_movemask_epi8, 32)
#undef TESSALY_MEAN_LANES

template <typename Visit>
void ScanMeansSse2(const MeanColumns& c, const MeanReach& r, Visit& visit) {
    ScanGroups<Lanes128>(c, r, visit);
}

template <typename Visit>
TESSALY_AVX2_TARGET void ScanMeansAvx2(const MeanColumns& c, const MeanReach& r, Visit& visit) {
    ScanGroups<Lanes256>(c, r, visit);
}
#undef TESSALY_NO_TARGET
#undef TESSALY_AVX2_TARGET
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
        if (r.checkFirsts && !within(c.firsts[ch][position], r.cellFirsts[ch], r.firsts))
            return false;
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
