#pragma once

#include <QImage>
#include <cstdint>
#include <span>

#include "document/node_record.h"
#include "mosaic/arrangement.h"
#include "mosaic/colour_features.h"

namespace tessaly::reference {

// The arrangement written out loop by loop, without shortcuts, as the measure
// the optimised tessaly::ArrangeNodes is compared with in tests and timed
// against in benchmarks. Same contract as ArrangeNodes (without progress);
// the surface is read as 32-bit pixels, as MakeSamplingSurface makes it.
//
// Where a literal run would divide by zero, read out of bounds, convert an
// out-of-range float or never end, it does the following instead:
//  - the node count is the smaller of records.size() and marks.size();
//  - sections compared are those SampleBackgroundCell fills: s * s with
//    s = SectionGridSide(sectionCount);
//  - no cells are laid (every node ends hidden) when the canvas sides are
//    outside 1..kMaxSide, the type is outside 1..7, a type-1 grid side is
//    outside 1..kMaxGridSide, or for types 2..7 when sizeSteps or
//    layerThickness is below 1 or the unit count across the canvas exceeds
//    kMaxUnits;
//  - the repeated smallest size stops once a pass grows neither sum;
//  - a type-1 size places at most maxPlaced cells, so none when it is 0.
ArrangementStats ArrangeNodesReference(const ArrangementSettings& settings, const QImage& surface,
                                       std::span<NodeRecord> records, std::span<NodeMark> marks,
                                       std::uint32_t seed);

// The shuffle the reference uses, open for tests: the generator seeded with
// `seed`, then n times two values modulo n pick two entries to swap.
void ShuffleIndicesReference(std::span<std::int32_t> indices, std::uint32_t seed);

// The sampling the reference uses: each section's pixels read one at a time,
// those off the surface as white.
void SampleBackgroundCellReference(const QImage& surface, int sectionCount, int x, int y,
                                   float cellWidth, float cellHeight, SectionValues& red,
                                   SectionValues& green, SectionValues& blue);

inline constexpr int kMaxSide = kMaxArrangedCanvasSide;
inline constexpr int kMaxGridSide = kMaxArrangedGridSide;
inline constexpr std::int64_t kMaxUnits = kMaxArrangedUnits;

}  // namespace tessaly::reference
