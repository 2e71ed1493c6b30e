#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "document/picture_ref.h"

namespace tessaly {

// A colour 0x00BBGGRR, red in the low byte; -1 stands for "automatic" or
// "none" where a field says so.
using ColorRef = std::int32_t;

inline constexpr ColorRef kColorNone = -1;

constexpr ColorRef MakeColorRef(int red, int green, int blue) {
    return static_cast<ColorRef>((blue & 0xFF) << 16 | (green & 0xFF) << 8 | (red & 0xFF));
}
constexpr int ColorRed(ColorRef c) { return c & 0xFF; }
constexpr int ColorGreen(ColorRef c) { return (c >> 8) & 0xFF; }
constexpr int ColorBlue(ColorRef c) { return (c >> 16) & 0xFF; }

// The channel histograms: 256 red, 256 green and 256 blue bins.
inline constexpr int kHistogramBins = 768;
using ColourHistogram = std::array<std::int32_t, kHistogramBins>;

// The document's settings block. The document file stores it byte for byte,
// so its layout is fixed: see the offset checks below.
struct DocState {
    std::int32_t nodeCount;          // records of the node table in use, 0..9000
    std::int32_t mainSelection;      // index of the main selected node, -1 = none
    std::int32_t savedScrollX;       // view scroll position taken when saving
    std::int32_t savedScrollY;
    float zoom;                      // view pixels per canvas pixel
    std::int32_t zoomConsoleX;       // centre of the zoom console, client pixels
    std::int32_t zoomConsoleY;
    std::int32_t zoomConsolePinned;  // 1 = the zoom console is always shown
    std::int32_t canvasWidth;        // 500..5000
    std::int32_t canvasHeight;       // 500..5000
    ColorRef backColor;
    ColorRef canvasLineColor;        // -1 = no line around the canvas
    std::int32_t canvasLineWidth;    // 1..20, low 16 bits used
    std::int32_t canvasLineStyle;    // line-style index, low 16 bits used
    PictureRef backPicture;
    std::int32_t backBrightness;     // 1..7, 4 = unchanged
    std::int32_t backHistogram[kHistogramBins];
    std::int32_t adjustColors;
    std::int32_t mosaicBackground;
    std::int32_t differentColors;
    std::int32_t imageFrames;
    std::int32_t showBackPicture;
    std::int32_t skipNoSetColor;
    ColorRef noSetColor;
    std::int32_t noSetRange;         // 0..100
    std::int32_t gridColumns;        // 20..500
    std::int32_t gridRows;           // 20..500
    std::int32_t layerThickness;     // 1..100
    std::int32_t sizeSteps;          // 1..100
    std::int32_t mosaicType;         // 1..7
    std::int32_t sectionCount;       // 1, 4, 9, 16 or 25
    std::int32_t comparePrecision;   // 1..25
    std::int32_t imageFrameWidth;    // 1..20, low 16 bits used
    std::int32_t imageFrameStyle;    // 0..5
    ColorRef imageFrameColor;        // -1 = the node's section-0 colour
    std::int32_t gridMode;           // 1..4 every 10/40/70/100 px, 5 = centre cross; <0 = off
    std::int32_t gridOnTop;
    ColorRef cutLineColor;
    std::int32_t cutLineWidth;       // 1..5
    std::uint8_t reserved[12];
};

// The values of `gridMode` while the grid is shown; the negated value hides
// the grid and keeps its spacing for when it is shown again.
enum class GridMode : std::int32_t {
    Every10 = 1,
    Every40 = 2,
    Every70 = 3,
    Every100 = 4,
    CentreCross = 5,
};

static_assert(std::is_trivially_copyable_v<DocState>);
static_assert(std::is_standard_layout_v<DocState>);
static_assert(sizeof(DocState) == 3240);
static_assert(offsetof(DocState, nodeCount) == 0x000);
static_assert(offsetof(DocState, mainSelection) == 0x004);
static_assert(offsetof(DocState, savedScrollX) == 0x008);
static_assert(offsetof(DocState, savedScrollY) == 0x00C);
static_assert(offsetof(DocState, zoom) == 0x010);
static_assert(offsetof(DocState, zoomConsoleX) == 0x014);
static_assert(offsetof(DocState, zoomConsoleY) == 0x018);
static_assert(offsetof(DocState, zoomConsolePinned) == 0x01C);
static_assert(offsetof(DocState, canvasWidth) == 0x020);
static_assert(offsetof(DocState, canvasHeight) == 0x024);
static_assert(offsetof(DocState, backColor) == 0x028);
static_assert(offsetof(DocState, canvasLineColor) == 0x02C);
static_assert(offsetof(DocState, canvasLineWidth) == 0x030);
static_assert(offsetof(DocState, canvasLineStyle) == 0x034);
static_assert(offsetof(DocState, backPicture) == 0x038);
static_assert(offsetof(DocState, backBrightness) == 0x040);
static_assert(offsetof(DocState, backHistogram) == 0x044);
static_assert(offsetof(DocState, adjustColors) == 0xC44);
static_assert(offsetof(DocState, mosaicBackground) == 0xC48);
static_assert(offsetof(DocState, differentColors) == 0xC4C);
static_assert(offsetof(DocState, imageFrames) == 0xC50);
static_assert(offsetof(DocState, showBackPicture) == 0xC54);
static_assert(offsetof(DocState, skipNoSetColor) == 0xC58);
static_assert(offsetof(DocState, noSetColor) == 0xC5C);
static_assert(offsetof(DocState, noSetRange) == 0xC60);
static_assert(offsetof(DocState, gridColumns) == 0xC64);
static_assert(offsetof(DocState, gridRows) == 0xC68);
static_assert(offsetof(DocState, layerThickness) == 0xC6C);
static_assert(offsetof(DocState, sizeSteps) == 0xC70);
static_assert(offsetof(DocState, mosaicType) == 0xC74);
static_assert(offsetof(DocState, sectionCount) == 0xC78);
static_assert(offsetof(DocState, comparePrecision) == 0xC7C);
static_assert(offsetof(DocState, imageFrameWidth) == 0xC80);
static_assert(offsetof(DocState, imageFrameStyle) == 0xC84);
static_assert(offsetof(DocState, imageFrameColor) == 0xC88);
static_assert(offsetof(DocState, gridMode) == 0xC8C);
static_assert(offsetof(DocState, gridOnTop) == 0xC90);
static_assert(offsetof(DocState, cutLineColor) == 0xC94);
static_assert(offsetof(DocState, cutLineWidth) == 0xC98);
static_assert(offsetof(DocState, reserved) == 0xC9C);

// Writes the values of a new document. The background histogram and the
// reserved bytes keep what they held.
void ApplyNewDocumentValues(DocState& state);

// Brings settings read from a file into the ranges the program can work with
// (canvas size, zoom, counts and list indexes); values already in range are
// kept as they are.
void ClampToValidRanges(DocState& state);

// The zoom range of the view.
inline constexpr float kMinZoom = 0.08f;
inline constexpr float kMaxZoom = 4.0f;
inline constexpr int kMinCanvasSide = 500;
inline constexpr int kMaxCanvasSide = 5000;

}  // namespace tessaly
