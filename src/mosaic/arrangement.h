#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <span>

#include "document/doc_state.h"
#include "document/node_record.h"

namespace tessaly {

class Document;

// The photomosaic arrangement: cells are laid over the canvas in one of seven
// layouts, each cell is compared by colour with every image not yet placed,
// and the best image is moved into the cell and sized to it. Images that find
// no cell stay hidden.

// The mosaic type a setting names: 2..7 as they are, anything else the grid (1).
constexpr int KnownMosaicType(int type) { return type >= 2 && type <= 7 ? type : 1; }

// The settings a run reads, taken from the document's settings block.
struct ArrangementSettings {
    int canvasWidth = 1000;    // W
    int canvasHeight = 1000;   // H
    int mosaicType = 1;        // 1..7
    int gridColumns = 20;      // type 1
    int gridRows = 20;
    int sizeSteps = 3;         // Z: how many cell sizes, largest first
    int layerThickness = 1;    // G: extra unit layers for the smallest size
    int sectionCount = 9;      // N
    int comparePrecision = 13; // P: per-section tolerance 10 P + 5
    bool differentColors = false;
    bool skipNoSetColor = false;
    ColorRef noSetColor = 0xFFFFFF;
    int noSetRange = 5;

    static ArrangementSettings From(const DocState& state);
};

// Settings beyond these cannot come from the console; a run given them lays
// no cells rather than exhaust memory or time.
inline constexpr int kMaxArrangedCanvasSide = 1 << 16;
inline constexpr int kMaxArrangedGridSide = 1 << 10;
inline constexpr std::int64_t kMaxArrangedUnits = std::int64_t(1) << 16;

// What a run did.
struct ArrangementStats {
    int placedCount = 0;
    double placedArea = 0;  // canvas pixels squared
    int unplacedCount = 0;  // nodes left hidden
    float areaRatio = 0;    // percent of the canvas covered, at most 100
};

// Told the placed count after every placement (for a progress bar).
using ArrangementProgress = std::function<void(int placed)>;

// The arrangement over a table of nodes. `records` and `marks` have one entry
// per node; the run reads each record's section averages and writes its
// geometry, `cellColor` and `visible`, and writes a random permutation into
// the marks' `order` (the `selected` flags are left alone). `surface` is the
// background stretched to the canvas (MakeSamplingSurface). Every shuffle of
// the run starts the generator from `seed`. The run does not fail; settings
// that cannot be laid (a canvas side outside 1..kMaxArrangedCanvasSide, a type
// outside 1..7, a grid side outside 1..kMaxArrangedGridSide, no sizes or
// layers, more than kMaxArrangedUnits units across) leave every node hidden.
ArrangementStats ArrangeNodes(const ArrangementSettings& settings, const QImage& surface,
                              std::span<NodeRecord> records, std::span<NodeMark> marks,
                              std::uint32_t seed, const ArrangementProgress& progress = {});

// The shuffle of the arrangement: the generator is seeded with `seed`, then
// n times two values modulo n pick two entries to swap. Only the first 32768
// entries can move.
void ShuffleIndices(std::span<std::int32_t> indices, std::uint32_t seed);

// The console's run on a document: says so and changes nothing without a
// background picture; otherwise arranges every node and clears the selection
// marks. Drives the status-bar progress.
// False when nothing ran.
bool Rearrange(Document& doc, std::uint32_t seed, ArrangementStats* stats = nullptr);

// The console's statistics texts: "1,234 個" and "87.5%".
QString FormatUnplaced(int count);
QString FormatAreaRatio(float percent);

}  // namespace tessaly
