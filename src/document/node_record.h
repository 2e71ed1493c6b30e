#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "document/doc_state.h"
#include "document/picture_ref.h"

namespace tessaly {

// The most comparison sections a picture has (a 5 x 5 grid).
inline constexpr int kMaxSections = 25;

// Per-section channel values, one entry a section; entries past the section
// count are 0.
using SectionValues = std::uint8_t[kMaxSections];

// One node of the canvas. The document file stores it byte for byte, so its
// layout is fixed: see the offset checks below.
struct NodeRecord {
    std::int32_t centerX;  // left edge is centerX - halfWidth
    std::int32_t centerY;  // top edge is centerY - halfHeight
    std::int32_t halfWidth;
    std::int32_t halfHeight;
    PictureRef picture;
    std::uint8_t avgRed[kMaxSections];  // per comparison section
    std::uint8_t avgGreen[kMaxSections];
    std::uint8_t avgBlue[kMaxSections];
    std::uint8_t padding;
    ColorRef cellColor;  // background colour of the cell the arrangement placed it in
    std::int32_t visible;  // 1 = shown, 0 = hidden
    std::uint8_t reserved[12];

    int Left() const { return centerX - halfWidth; }
    int Top() const { return centerY - halfHeight; }
    int Width() const { return halfWidth * 2; }
    int Height() const { return halfHeight * 2; }
};

static_assert(std::is_trivially_copyable_v<NodeRecord>);
static_assert(std::is_standard_layout_v<NodeRecord>);
static_assert(sizeof(NodeRecord) == 120);
static_assert(offsetof(NodeRecord, centerX) == 0);
static_assert(offsetof(NodeRecord, centerY) == 4);
static_assert(offsetof(NodeRecord, halfWidth) == 8);
static_assert(offsetof(NodeRecord, halfHeight) == 12);
static_assert(offsetof(NodeRecord, picture) == 16);
static_assert(offsetof(NodeRecord, avgRed) == 24);
static_assert(offsetof(NodeRecord, avgGreen) == 49);
static_assert(offsetof(NodeRecord, avgBlue) == 74);
static_assert(offsetof(NodeRecord, padding) == 99);
static_assert(offsetof(NodeRecord, cellColor) == 100);
static_assert(offsetof(NodeRecord, visible) == 104);
static_assert(offsetof(NodeRecord, reserved) == 108);

// Per-node state that is not saved, parallel to the node table: entry i
// belongs to record i and moves with it.
struct NodeMark {
    std::int32_t selected;  // 1 = selected
    std::int32_t order;     // scratch index of the arrangement
};

static_assert(sizeof(NodeMark) == 8);
static_assert(offsetof(NodeMark, selected) == 0);
static_assert(offsetof(NodeMark, order) == 4);

}  // namespace tessaly
