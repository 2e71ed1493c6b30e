#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "document/node_record.h"

namespace tessaly {

// The per-section tolerance of a comparison precision P: 10 P + 5, kept
// within -1 (nothing passes) and kNoTolerance (nothing is checked).
inline constexpr int kNoTolerance = 255;
int SectionTolerance(int comparePrecision);

// Section values padded to 32 bytes, zero past the section count, so that a
// whole channel is compared in two 16-byte steps.
inline constexpr int kPaddedSections = 32;
struct alignas(16) PaddedColours {
    std::uint8_t red[kPaddedSections];
    std::uint8_t green[kPaddedSections];
    std::uint8_t blue[kPaddedSections];
};

// The images an arrangement has not placed yet, in the order the shuffle gave
// them, and the search for the one a cell takes.
//
// The search gives exactly what a plain scan in that order gives: an image
// becomes the best when it passes the tolerance (every section within it on
// every channel, unless the tolerance is 255) and its three channel averages
// of the differences are all strictly below the best's (strictly above when
// looking for the most different image); the last image to become the best is
// the answer. To find it fast, the difference of an image's channel total
// (the sum over its sections) and the cell's is used as a lower bound of the
// summed section differences. The totals, and the mean values they give,
// are kept side by side, and 16 or 32 images at a time are ruled out by their
// means before any section is compared; at small tolerances only the images
// whose first section is near the cell's are looked at.
class CandidateSearch {
public:
    CandidateSearch(std::span<const NodeRecord> records, std::span<const NodeMark> marks,
                    int sections, int tolerance);

    bool Empty() const { return remaining_ == 0; }
    void Remove(int position);
    int NodeAt(int position) const { return nodes_[static_cast<std::size_t>(position)]; }

    // The position of the best image for a cell, or -1 when none passes.
    // Not for use from two threads at once.
    int FindBest(const PaddedColours& cell, bool different) const;

private:
    int FindClosest(const PaddedColours& cell) const;
    int FindMostDifferent(const PaddedColours& cell) const;
    bool Differences(const PaddedColours& cell, int position, int (&sums)[3]) const;
    bool WithinBounds(int position, const int (&cellTotals)[3], const int (&bounds)[3]) const;
    void BuildBins();
    void GatherNear(const PaddedColours& cell) const;
    static std::size_t BinOf(int red, int green, int blue);
    bool Removed(int position) const { return alive_[static_cast<std::size_t>(position)] == 0; }

    int count_;
    int padded_;  // count_ rounded up to whole groups of the mean scan
    int sections_;
    int tolerance_;
    int remaining_;
    std::vector<PaddedColours> colours_;
    std::vector<int> nodes_;
    std::vector<std::int16_t> totals_[3];  // per channel, the sum over the sections
    std::vector<std::uint8_t> means_[3];   // per channel, the total over N
    std::vector<std::uint8_t> firsts_[3];  // per channel, the first section
    std::vector<std::uint8_t> alive_;      // 0xFF for an image not yet placed

    // Up to this tolerance the images are also kept in bins of their first
    // section's colour, 16 levels a side, and a cell looks only in the bins
    // its tolerance reaches.
    static constexpr int kBinnedTolerance = 45;
    static constexpr int kBinShift = 4;
    static constexpr std::size_t kBinsPerSide = 256 >> kBinShift;
    std::vector<std::int32_t> binStarts_;     // where each bin begins in binPositions_
    std::vector<std::int32_t> binPositions_;  // positions by bin, ascending within each
    mutable std::vector<std::int32_t> gathered_;
};

}  // namespace tessaly
