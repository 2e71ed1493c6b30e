#pragma once

#include <QRgb>
#include <QtGlobal>
#include <cstdint>

namespace tessaly {

struct ChannelSums {
    std::int64_t red = 0;
    std::int64_t green = 0;
    std::int64_t blue = 0;
};

// Adds up the channels of `columns` runs of four-byte pixels on each image row
// from `top` to `bottom`: run c starts at pixel lefts[c] and is widths[c]
// pixels long, and its sums go to sums[c]. One sweep per row across all runs
// reads the image in long stretches.
void SumPixelRuns(const uchar* bits, qsizetype stride, std::int64_t top, std::int64_t bottom,
                  int columns, const int* lefts, const int* widths, ChannelSums* sums);

}  // namespace tessaly
