#include "image/pixel_sums.h"

#include <algorithm>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tessaly {
namespace {

#if defined(__SSE2__)
// One run's pending sums: four pixels at a time go into 16-bit lanes, blue
// and red in one register, green and alpha in the other, which take 256 steps
// of 255 before they are widened into the 64-bit sums.
struct Lanes {
    static constexpr int kStepsPerWiden = 256;

    __m128i blueRed = _mm_setzero_si128();
    __m128i greenAlpha = _mm_setzero_si128();
    int steps = 0;

    void Add(const QRgb* pixels, int count, ChannelSums& sums) {
        const __m128i lowBytes = _mm_set1_epi16(0x00FF);
        const int whole = count & ~3;
        int x = 0;
        while (x < whole) {
            const int end = std::min(whole, x + 4 * (kStepsPerWiden - steps));
            steps += (end - x) / 4;
            for (; x < end; x += 4) {
                const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + x));
                blueRed = _mm_add_epi16(blueRed, _mm_and_si128(p, lowBytes));
                greenAlpha = _mm_add_epi16(greenAlpha, _mm_srli_epi16(p, 8));
            }
            if (steps == kStepsPerWiden) Widen(sums);
        }
        for (; x < count; ++x) {
            sums.red += qRed(pixels[x]);
            sums.green += qGreen(pixels[x]);
            sums.blue += qBlue(pixels[x]);
        }
    }

    void Widen(ChannelSums& sums) {
        const __m128i zero = _mm_setzero_si128();
        alignas(16) std::uint32_t lanes[4];
        _mm_store_si128(
            reinterpret_cast<__m128i*>(lanes),
            _mm_add_epi32(_mm_unpacklo_epi16(blueRed, zero), _mm_unpackhi_epi16(blueRed, zero)));
        sums.blue += lanes[0] + lanes[2];
        sums.red += lanes[1] + lanes[3];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes),
                        _mm_add_epi32(_mm_unpacklo_epi16(greenAlpha, zero),
                                      _mm_unpackhi_epi16(greenAlpha, zero)));
        sums.green += lanes[0] + lanes[2];
        blueRed = greenAlpha = zero;
        steps = 0;
    }
};

// The sweep for a fixed number of runs, so that every run's lanes stay in
// registers.
template <std::size_t... Run>
void SumRuns(const uchar* bits, qsizetype stride, std::int64_t top, std::int64_t bottom,
             const int* lefts, const int* widths, ChannelSums* sums, std::index_sequence<Run...>) {
    Lanes lanes[sizeof...(Run)];
    // Rows lie a stride apart, too far for the hardware to see the pattern:
    // the runs of a few rows ahead are asked for early.
    constexpr int kRowsAhead = 8;
    const char* first = reinterpret_cast<const char*>(bits) + std::int64_t(lefts[0]) * 4;
    const std::int64_t runBytes = std::int64_t(lefts[sizeof...(Run) - 1] + widths[sizeof...(Run) - 1] - lefts[0]) * 4;
    for (std::int64_t y = top; y < bottom; ++y) {
        if (y + kRowsAhead < bottom) {
            const char* ahead = first + (y + kRowsAhead) * stride;
            for (std::int64_t b = 0; b < runBytes; b += 64) _mm_prefetch(ahead + b, _MM_HINT_T0);
        }
        const auto* line = reinterpret_cast<const QRgb*>(bits + y * stride);
        (lanes[Run].Add(line + lefts[Run], widths[Run], sums[Run]), ...);
    }
    (lanes[Run].Widen(sums[Run]), ...);
}
#endif

}  // namespace

void SumPixelRuns(const uchar* bits, qsizetype stride, std::int64_t top, std::int64_t bottom,
                  int columns, const int* lefts, const int* widths, ChannelSums* sums) {
#if defined(__SSE2__)
    // Section grids are at most five across.
    switch (columns) {
        case 1:
            return SumRuns(bits, stride, top, bottom, lefts, widths, sums,
                           std::make_index_sequence<1>{});
        case 2:
            return SumRuns(bits, stride, top, bottom, lefts, widths, sums,
                           std::make_index_sequence<2>{});
        case 3:
            return SumRuns(bits, stride, top, bottom, lefts, widths, sums,
                           std::make_index_sequence<3>{});
        case 4:
            return SumRuns(bits, stride, top, bottom, lefts, widths, sums,
                           std::make_index_sequence<4>{});
        case 5:
            return SumRuns(bits, stride, top, bottom, lefts, widths, sums,
                           std::make_index_sequence<5>{});
        default:
            break;
    }
#endif
    for (std::int64_t y = top; y < bottom; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(bits + y * stride);
        for (int c = 0; c < columns; ++c) {
            for (int x = lefts[c]; x < lefts[c] + widths[c]; ++x) {
                sums[c].red += qRed(line[x]);
                sums[c].green += qGreen(line[x]);
                sums[c].blue += qBlue(line[x]);
            }
        }
    }
}

}  // namespace tessaly
