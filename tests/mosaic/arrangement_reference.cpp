#include "arrangement_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "mosaic/colour_features.h"
#include "services/random_generator.h"

namespace tessaly::reference {
namespace {

// Truncation toward zero; the guards keep every value well inside int.
int Trunc(float value) {
    return static_cast<int>(value);
}

struct Rect {
    int left, top, right, bottom;
};

// True when the two rectangles share some area; touching edges do not count,
// and an empty rectangle overlaps nothing.
bool Intersects(const Rect& a, const Rect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

class Run {
public:
    Run(const ArrangementSettings& settings, const QImage& surface, std::span<NodeRecord> records,
        std::span<NodeMark> marks, std::uint32_t seed)
        : s_(settings),
          surface_(surface),
          records_(records),
          marks_(marks),
          seed_(seed),
          nodeCount_(static_cast<int>(std::min(records.size(), marks.size()))) {
        const int side = SectionGridSide(settings.sectionCount);
        sections_ = side * side;
    }

    ArrangementStats Go();

private:
    void PlaceGridType();
    void PlaceGrid(int maxPlaced, int columns, int rows, float cellWidth, float cellHeight);
    void PlaceLayersType(float u, float v);
    void PlaceLayers(float sumW, float sumH, float* cellWidth, float* cellHeight);
    void PlaceRingsType(float u, float v);
    void PlaceRing(bool inward, float sumW, float sumH, float* cellWidth, float* cellHeight);
    bool TryPlaceCell(int x, int y, float cellWidth, float cellHeight);
    int FindBestImage(const SectionValues& red, const SectionValues& green,
                      const SectionValues& blue) const;
    bool OverlapsPlaced(const Rect& rect) const;
    bool LaysCells() const;

    const ArrangementSettings& s_;
    const QImage& surface_;
    std::span<NodeRecord> records_;
    std::span<NodeMark> marks_;
    std::uint32_t seed_;
    int nodeCount_;
    int sections_ = 1;
    int noSetRed_ = 0, noSetGreen_ = 0, noSetBlue_ = 0;
    int placedCount_ = 0;
    double placedArea_ = 0;
};

ArrangementStats Run::Go() {
    if (s_.skipNoSetColor) {
        noSetRed_ = ColorRed(s_.noSetColor);
        noSetGreen_ = ColorGreen(s_.noSetColor);
        noSetBlue_ = ColorBlue(s_.noSetColor);
    }

    for (int i = 0; i < nodeCount_; ++i) {
        records_[std::size_t(i)].centerX = 0;
        records_[std::size_t(i)].visible = 0;
        marks_[std::size_t(i)].order = i;
    }
    std::vector<std::int32_t> order(static_cast<std::size_t>(nodeCount_));
    for (int i = 0; i < nodeCount_; ++i)
        order[std::size_t(i)] = marks_[std::size_t(i)].order;
    ShuffleIndicesReference(order, seed_);
    for (int i = 0; i < nodeCount_; ++i)
        marks_[std::size_t(i)].order = order[std::size_t(i)];

    placedCount_ = 0;
    placedArea_ = 0;

    if (LaysCells()) {
        const int type = s_.mosaicType;
        const std::int64_t steps = s_.sizeSteps;
        const std::int64_t triangle = steps * (steps + 1) / 2;
        if (type == 1) {
            PlaceGridType();
        } else if (type >= 2 && type <= 5) {
            const std::int64_t units = triangle + s_.layerThickness - 1;
            PlaceLayersType(float(s_.canvasWidth) / float(units),
                            float(s_.canvasHeight) / float(units));
        } else {
            const std::int64_t units = 2 * triangle + s_.layerThickness - 1;
            PlaceRingsType(float(s_.canvasWidth) / float(units),
                           float(s_.canvasHeight) / float(units));
        }
    }

    ArrangementStats stats;
    stats.placedCount = placedCount_;
    stats.placedArea = placedArea_;
    for (int i = 0; i < nodeCount_; ++i)
        if (records_[std::size_t(i)].visible == 0) ++stats.unplacedCount;
    if (s_.canvasWidth > 0 && s_.canvasHeight > 0) {
        const float canvasArea = float(s_.canvasWidth) * float(s_.canvasHeight);
        stats.areaRatio = std::min(float(placedArea_ * 100.0) / canvasArea, 100.0f);
    }
    return stats;
}

bool Run::LaysCells() const {
    if (s_.canvasWidth < 1 || s_.canvasWidth > kMaxSide) return false;
    if (s_.canvasHeight < 1 || s_.canvasHeight > kMaxSide) return false;
    if (s_.mosaicType == 1) {
        return s_.gridColumns >= 1 && s_.gridColumns <= kMaxGridSide && s_.gridRows >= 1 &&
               s_.gridRows <= kMaxGridSide;
    }
    if (s_.mosaicType < 2 || s_.mosaicType > 7) return false;
    if (s_.sizeSteps < 1 || s_.layerThickness < 1) return false;
    const std::int64_t steps = s_.sizeSteps;
    const std::int64_t triangle = steps * (steps + 1) / 2;
    const std::int64_t units =
        (s_.mosaicType <= 5 ? triangle : 2 * triangle) + s_.layerThickness - 1;
    return units <= kMaxUnits;
}

// Type 1: a grid of gridColumns x gridRows units; size z uses cells of z x z
// units at random free grid positions, at most (columns * rows) / z of them.
void Run::PlaceGridType() {
    const float u = float(s_.canvasWidth) / float(s_.gridColumns);
    const float v = float(s_.canvasHeight) / float(s_.gridRows);
    for (int z = s_.sizeSteps; z >= 1; --z) {
        const int columns = s_.gridColumns / z;
        const int rows = s_.gridRows / z;
        const int maxPlaced = (columns * rows) / z;
        PlaceGrid(maxPlaced, columns, rows, float(z) * u, float(z) * v);
    }
}

void Run::PlaceGrid(int maxPlaced, int columns, int rows, float cellWidth, float cellHeight) {
    if (columns <= 0 || rows <= 0) return;
    std::vector<std::int32_t> cells(std::size_t(columns) * std::size_t(rows));
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = static_cast<std::int32_t>(i);
    ShuffleIndicesReference(cells, seed_);
    int placed = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (placed >= maxPlaced) break;
        const int c = cells[i];
        const int x = Trunc(float(c % columns) * cellWidth);
        const int y = Trunc(float(c / columns) * cellHeight);
        if (TryPlaceCell(x, y, cellWidth, cellHeight)) ++placed;
    }
}

// Types 2..5: bands from one edge of the canvas, the largest size first; the
// smallest size repeats until the bands reach the far edge.
void Run::PlaceLayersType(float u, float v) {
    float sumW = 0;
    float sumH = 0;
    for (int z = s_.sizeSteps; z >= 1; --z) {
        float cellWidth = float(z) * u;
        float cellHeight = float(z) * v;
        if (z > 1) {
            PlaceLayers(sumW, sumH, &cellWidth, &cellHeight);
            sumW += cellWidth;
            sumH += cellHeight;
            continue;
        }
        bool more = true;
        do {
            const float lastW = sumW;
            const float lastH = sumH;
            PlaceLayers(sumW, sumH, &cellWidth, &cellHeight);
            sumW += cellWidth;
            sumH += cellHeight;
            more = Trunc(sumW) < s_.canvasWidth || Trunc(sumH) < s_.canvasHeight;
            // A pass that grows neither sum would repeat for ever.
            if (sumW == lastW && sumH == lastH) more = false;
        } while (more);
    }
}

void Run::PlaceLayers(float sumW, float sumH, float* cellWidth, float* cellHeight) {
    const int type = s_.mosaicType;
    const int width = s_.canvasWidth;
    const int height = s_.canvasHeight;
    if (type == 2 || type == 3) {
        const int n = Trunc(float(width) / *cellWidth);
        if (n > 0) *cellWidth = float(width) / float(n);
        const int y = type == 2 ? height - Trunc(*cellHeight + sumH) : Trunc(sumH);
        for (int i = 0; i < n; ++i) {
            const int x = Trunc(float(i) * *cellWidth);
            if (x >= width) continue;
            TryPlaceCell(x, y, *cellWidth, *cellHeight);
        }
    } else {
        const int n = Trunc(float(height) / *cellHeight);
        if (n > 0) *cellHeight = float(height) / float(n);
        const int x = type == 4 ? width - Trunc(sumW + *cellWidth) : Trunc(sumW);
        for (int i = 0; i < n; ++i) {
            const int y = Trunc(float(i) * *cellHeight);
            if (y >= height) continue;
            TryPlaceCell(x, y, *cellWidth, *cellHeight);
        }
    }
}

// Types 6 and 7: rings of cells, growing from the centre (6) or shrinking
// from the canvas edge (7).
void Run::PlaceRingsType(float u, float v) {
    const bool inward = s_.mosaicType == 7;
    float sumW = 0;
    float sumH = 0;
    for (int z = s_.sizeSteps; z >= 1; --z) {
        float cellWidth = float(z) * u;
        float cellHeight = float(z) * v;
        if (z > 1) {
            PlaceRing(inward, sumW, sumH, &cellWidth, &cellHeight);
            sumW += cellWidth;
            sumH += cellHeight;
            continue;
        }
        bool more = true;
        do {
            const float lastW = sumW;
            const float lastH = sumH;
            PlaceRing(inward, sumW, sumH, &cellWidth, &cellHeight);
            sumW += cellWidth;
            sumH += cellHeight;
            more = Trunc(2 * sumW) < s_.canvasWidth && Trunc(2 * sumH) < s_.canvasHeight;
            // A pass that grows neither sum would repeat for ever.
            if (sumW == lastW && sumH == lastH) more = false;
        } while (more);
    }
}

void Run::PlaceRing(bool inward, float sumW, float sumH, float* cellWidth, float* cellHeight) {
    const int width = s_.canvasWidth;
    const int height = s_.canvasHeight;
    const int halfW = width / 2;
    const int halfH = height / 2;

    int columns = 0;
    int rows = 0;
    if (inward) {
        const float availableW = float(width) - 2 * sumW;
        const float availableH = float(height) - 2 * sumH;
        columns = Trunc(availableW / *cellWidth);
        rows = Trunc(availableH / *cellHeight);
        if (columns > 0) *cellWidth = availableW / float(columns);
        if (rows > 0) *cellHeight = availableH / float(rows);
    } else {
        columns = Trunc(2 * sumW / *cellWidth) + 2;
        rows = Trunc(2 * sumH / *cellHeight) + 2;
        if (columns > 2) *cellWidth = 2 * sumW / float(columns - 2);
        if (rows > 2) *cellHeight = 2 * sumH / float(rows - 2);
    }
    const float cw = *cellWidth;
    const float ch = *cellHeight;

    // Upper strip, then lower strip.
    for (int lower = 0; lower < 2; ++lower) {
        int y = 0;
        if (inward)
            y = lower ? height - Trunc(sumH + ch) : Trunc(sumH);
        else
            y = lower ? halfH + Trunc(sumH) : halfH - Trunc(sumH + ch);
        for (int i = 0; i < columns; ++i) {
            const int x = inward ? Trunc(float(i) * cw + sumW)
                                 : Trunc(float(i) * cw) - Trunc(cw + sumW) + halfW;
            if (x >= width) continue;
            TryPlaceCell(x, y, cw, ch);
        }
    }
    // Left strip, then right strip.
    for (int right = 0; right < 2; ++right) {
        int x = 0;
        if (inward)
            x = right ? width - Trunc(sumW + cw) : Trunc(sumW);
        else
            x = right ? halfW + Trunc(sumW) : halfW - Trunc(sumW + cw);
        for (int i = 0; i < rows; ++i) {
            const int y = inward ? Trunc(float(i) * ch + sumH)
                                 : Trunc(float(i) * ch) - Trunc(ch + sumH) + halfH;
            if (y >= height) continue;
            TryPlaceCell(x, y, cw, ch);
        }
    }
}

bool Run::TryPlaceCell(int x, int y, float cellWidth, float cellHeight) {
    SectionValues red, green, blue;
    SampleBackgroundCellReference(surface_, s_.sectionCount, x, y, cellWidth, cellHeight, red,
                                  green, blue);

    if (s_.skipNoSetColor) {
        bool allNoSet = true;
        for (int k = 0; k < sections_; ++k) {
            if (std::abs(red[k] - noSetRed_) > s_.noSetRange ||
                std::abs(green[k] - noSetGreen_) > s_.noSetRange ||
                std::abs(blue[k] - noSetBlue_) > s_.noSetRange) {
                allNoSet = false;
            }
        }
        if (allNoSet) return false;
    }

    const int best = FindBestImage(red, green, blue);
    if (best < 0) return false;

    const Rect rect{x, y, x + Trunc(cellWidth), y + Trunc(cellHeight)};
    if (OverlapsPlaced(rect)) return false;

    NodeRecord& node = records_[std::size_t(best)];
    node.halfWidth = Trunc(cellWidth * 0.5f);
    node.centerX = x + node.halfWidth;
    node.halfHeight = Trunc(cellHeight * 0.5f);
    node.centerY = y + node.halfHeight;
    int c = 0;
    if (sections_ == 9)
        c = 4;
    else if (sections_ == 16)
        c = 5;
    else if (sections_ == 25)
        c = 12;
    node.cellColor = MakeColorRef(red[c], green[c], blue[c]);
    node.visible = 1;

    ++placedCount_;
    placedArea_ += double(cellWidth * cellHeight);
    return true;
}

int Run::FindBestImage(const SectionValues& red, const SectionValues& green,
                       const SectionValues& blue) const {
    const int tolerance = 10 * s_.comparePrecision + 5;
    const bool different = s_.differentColors;
    int bestR = different ? 0 : 255 * sections_;
    int bestG = bestR;
    int bestB = bestR;
    int best = -1;

    for (int j = 0; j < nodeCount_; ++j) {
        const int node = marks_[std::size_t(j)].order;
        const NodeRecord& record = records_[std::size_t(node)];
        if (record.visible == 1) continue;

        int sumR = 0, sumG = 0, sumB = 0;
        bool rejected = false;
        for (int k = 0; k < sections_; ++k) {
            const int dR = std::abs(red[k] - record.avgRed[k]);
            const int dG = std::abs(green[k] - record.avgGreen[k]);
            const int dB = std::abs(blue[k] - record.avgBlue[k]);
            if (tolerance != 255 && (dR > tolerance || dG > tolerance || dB > tolerance)) {
                rejected = true;
                break;
            }
            sumR += dR;
            sumG += dG;
            sumB += dB;
        }
        if (rejected) continue;

        const int avgR = sumR / sections_;
        const int avgG = sumG / sections_;
        const int avgB = sumB / sections_;
        const bool better = different ? (avgR > bestR && avgG > bestG && avgB > bestB)
                                      : (avgR < bestR && avgG < bestG && avgB < bestB);
        if (better) {
            best = node;
            bestR = avgR;
            bestG = avgG;
            bestB = avgB;
        }
    }
    return best;
}

bool Run::OverlapsPlaced(const Rect& rect) const {
    for (int i = 0; i < nodeCount_; ++i) {
        const NodeRecord& r = records_[std::size_t(i)];
        // Every node was hidden at the start, so the visible ones are those
        // placed in this run, wherever their centre lies.
        if (r.visible == 0) continue;
        const Rect placed{r.centerX - r.halfWidth, r.centerY - r.halfHeight,
                          r.centerX + r.halfWidth, r.centerY + r.halfHeight};
        if (Intersects(placed, rect)) return true;
    }
    return false;
}

}  // namespace

namespace {

// trunc(side / s); 0 below one pixel, and capped so that absurd sizes stay
// countable, as the product's sampling does.
std::int64_t SectionSide(double side, int s) {
    const double section = side / s;
    if (!(section >= 1.0)) return 0;
    return static_cast<std::int64_t>(std::min(section, double(1 << 24)));
}

}  // namespace

// The cell's section averages read one pixel at a time; pixels off the
// surface read as white.
void SampleBackgroundCellReference(const QImage& surface, int sectionCount, int x, int y,
                                   float cellWidth, float cellHeight, SectionValues& red,
                                   SectionValues& green, SectionValues& blue) {
    const int s = SectionGridSide(sectionCount);
    const std::int64_t sw = SectionSide(cellWidth, s);
    const std::int64_t sh = SectionSide(cellHeight, s);
    for (int k = 0; k < kMaxSections; ++k)
        red[k] = green[k] = blue[k] = 0;
    if (sw * sh == 0) return;
    for (int k = 0; k < s * s; ++k) {
        std::int64_t sumR = 0, sumG = 0, sumB = 0;
        const std::int64_t left = x + sw * (k % s);
        const std::int64_t top = y + sh * (k / s);
        for (std::int64_t py = top; py < top + sh; ++py) {
            const bool rowInside = py >= 0 && py < surface.height();
            const auto* line =
                rowInside ? reinterpret_cast<const QRgb*>(surface.constScanLine(int(py))) : nullptr;
            for (std::int64_t px = left; px < left + sw; ++px) {
                if (rowInside && px >= 0 && px < surface.width()) {
                    sumR += qRed(line[px]);
                    sumG += qGreen(line[px]);
                    sumB += qBlue(line[px]);
                } else {
                    sumR += 255;
                    sumG += 255;
                    sumB += 255;
                }
            }
        }
        const float pixels = float(sw * sh);
        red[k] = std::uint8_t(float(sumR) / pixels);
        green[k] = std::uint8_t(float(sumG) / pixels);
        blue[k] = std::uint8_t(float(sumB) / pixels);
    }
}

void ShuffleIndicesReference(std::span<std::int32_t> indices, std::uint32_t seed) {
    const std::size_t n = indices.size();
    if (n == 0) return;
    CrtRandom rng(seed);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t a = std::size_t(rng.Next()) % n;
        const std::size_t b = std::size_t(rng.Next()) % n;
        if (a != b) std::swap(indices[a], indices[b]);
    }
}

ArrangementStats ArrangeNodesReference(const ArrangementSettings& settings, const QImage& surface,
                                       std::span<NodeRecord> records, std::span<NodeMark> marks,
                                       std::uint32_t seed) {
    Run run(settings, surface, records, marks, seed);
    return run.Go();
}

}  // namespace tessaly::reference
