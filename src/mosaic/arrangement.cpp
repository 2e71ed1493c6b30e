#include "mosaic/arrangement.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "document/document.h"
#include "mosaic/candidate_search.h"
#include "mosaic/cell_sampler.h"
#include "mosaic/colour_features.h"
#include "resources/string_table.h"
#include "services/message_service.h"
#include "services/random_generator.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

int Trunc(float value) {
    return static_cast<int>(value);
}

constexpr int kNoQuota = std::numeric_limits<int>::max();

int CentreSection(int sections) {
    switch (sections) {
        case 9:
            return 4;
        case 16:
            return 5;
        case 25:
            return 12;
        default:
            return 0;
    }
}

// Whether the settings can be laid at all (see ArrangeNodes).
bool LaysCells(const ArrangementSettings& s) {
    if (s.canvasWidth < 1 || s.canvasWidth > kMaxArrangedCanvasSide) return false;
    if (s.canvasHeight < 1 || s.canvasHeight > kMaxArrangedCanvasSide) return false;
    if (s.mosaicType == 1) {
        return s.gridColumns >= 1 && s.gridColumns <= kMaxArrangedGridSide && s.gridRows >= 1 &&
               s.gridRows <= kMaxArrangedGridSide;
    }
    if (s.mosaicType < 2 || s.mosaicType > 7 || s.sizeSteps < 1 || s.layerThickness < 1)
        return false;
    const std::int64_t steps = s.sizeSteps;
    const std::int64_t triangle = steps * (steps + 1) / 2;
    const std::int64_t units = (s.mosaicType <= 5 ? triangle : 2 * triangle) + s.layerThickness - 1;
    return units <= kMaxArrangedUnits;
}

struct Rect {
    int left, top, right, bottom;
    bool Intersects(const Rect& o) const {
        return std::max(left, o.left) < std::min(right, o.right) &&
               std::max(top, o.top) < std::min(bottom, o.bottom);
    }
};

// The rectangles placed so far, found through a coarse grid of buckets.
class PlacedIndex {
public:
    PlacedIndex(int width, int height)
        : columns_(Buckets(width)),
          rows_(Buckets(height)),
          buckets_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {}

    void Add(const Rect& r) {
        ForBuckets(r, [&](std::vector<Rect>& bucket) {
            bucket.push_back(r);
            return false;
        });
    }

    bool Overlaps(const Rect& r) {
        return ForBuckets(r, [&](std::vector<Rect>& bucket) {
            return std::any_of(bucket.begin(), bucket.end(),
                               [&](const Rect& placed) { return placed.Intersects(r); });
        });
    }

private:
    static constexpr int kBucket = 64;

    // Runs `visit` on the buckets under `r` (rectangles beyond the canvas go
    // to its edge buckets) until it returns true.
    template <typename Visit>
    bool ForBuckets(const Rect& r, Visit visit) {
        if (r.right <= r.left || r.bottom <= r.top)
            return false;  // an empty rectangle meets nothing
        const int c0 = std::clamp(FloorDiv(r.left), 0, columns_ - 1);
        const int c1 = std::clamp(FloorDiv(r.right - 1), 0, columns_ - 1);
        const int r0 = std::clamp(FloorDiv(r.top), 0, rows_ - 1);
        const int r1 = std::clamp(FloorDiv(r.bottom - 1), 0, rows_ - 1);
        for (int row = r0; row <= r1; ++row) {
            for (int column = c0; column <= c1; ++column) {
                if (visit(buckets_[static_cast<std::size_t>(row * columns_ + column)])) return true;
            }
        }
        return false;
    }
    static int Buckets(int side) {
        return (std::clamp(side, 1, kMaxArrangedCanvasSide) + kBucket - 1) / kBucket;
    }
    static int FloorDiv(int v) { return v >= 0 ? v / kBucket : -((-v + kBucket - 1) / kBucket); }

    int columns_;
    int rows_;
    std::vector<std::vector<Rect>> buckets_;
};

class Engine {
public:
    Engine(const ArrangementSettings& settings, const QImage& surface,
           std::span<NodeRecord> records, std::span<NodeMark> marks, std::uint32_t seed,
           const ArrangementProgress& progress)
        : s_(settings),
          records_(records),
          marks_(marks),
          seed_(seed),
          progress_(progress),
          sections_(SectionGridSide(settings.sectionCount) *
                    SectionGridSide(settings.sectionCount)),
          placed_(settings.canvasWidth, settings.canvasHeight),
          sampler_(surface, settings.sectionCount) {}

    ArrangementStats Run() {
        const int n = static_cast<int>(std::min(records_.size(), marks_.size()));
        if (s_.skipNoSetColor) {
            noSet_[0] = ColorRed(s_.noSetColor);
            noSet_[1] = ColorGreen(s_.noSetColor);
            noSet_[2] = ColorBlue(s_.noSetColor);
        }
        std::vector<std::int32_t> order(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            records_[static_cast<std::size_t>(i)].centerX = 0;
            records_[static_cast<std::size_t>(i)].visible = 0;
            order[static_cast<std::size_t>(i)] = i;
        }
        ShuffleIndices(order, seed_);
        for (int i = 0; i < n; ++i)
            marks_[static_cast<std::size_t>(i)].order = order[static_cast<std::size_t>(i)];
        candidates_.emplace(records_.first(static_cast<std::size_t>(n)),
                            marks_.first(static_cast<std::size_t>(n)), sections_,
                            SectionTolerance(s_.comparePrecision));

        if (LaysCells(s_)) LayCells();
        ArrangementStats stats;
        stats.placedCount = placedCount_;
        stats.placedArea = placedArea_;
        for (int i = 0; i < n; ++i) {
            if (records_[static_cast<std::size_t>(i)].visible == 0) ++stats.unplacedCount;
        }
        const int W = s_.canvasWidth, H = s_.canvasHeight;
        if (W > 0 && H > 0) {
            const float ratio = static_cast<float>(placedArea_ * 100.0) /
                                static_cast<float>(static_cast<double>(W) * static_cast<double>(H));
            stats.areaRatio = std::min(ratio, 100.0f);
        }
        return stats;
    }

private:
    // Lays the cells of settings that LaysCells accepts.
    void LayCells() {
        const int W = s_.canvasWidth, H = s_.canvasHeight;
        if (s_.mosaicType == 1) {
            LayGrids(static_cast<float>(W) / static_cast<float>(s_.gridColumns),
                     static_cast<float>(H) / static_cast<float>(s_.gridRows));
        } else {
            // The sizes are few enough here for the unit count to fit.
            const int Z = s_.sizeSteps, G = s_.layerThickness;
            const int triangle = Z * (Z + 1) / 2;
            const int d = (s_.mosaicType <= 5 ? triangle : 2 * triangle) + G - 1;
            const float u = static_cast<float>(W) / static_cast<float>(d);
            const float v = static_cast<float>(H) / static_cast<float>(d);
            if (s_.mosaicType <= 5) {
                LayBands(u, v);
            } else {
                LayRings(u, v);
            }
        }
    }

    // Sizes whose cells are not positive and finite lay nothing more.
    static bool Usable(float cellWidth, float cellHeight) {
        return std::isfinite(cellWidth) && std::isfinite(cellHeight) && cellWidth > 0 &&
               cellHeight > 0;
    }

    void LayGrids(float u, float v) {
        // Sizes wider or higher than the grid have no cells.
        for (int z = std::min(s_.sizeSteps, std::min(s_.gridColumns, s_.gridRows)); z >= 1; --z) {
            const int columns = s_.gridColumns / z;
            const int rows = s_.gridRows / z;
            const int maxPlaced = columns * rows / z;
            PlaceGrid(maxPlaced, columns, rows, static_cast<float>(z) * u,
                      static_cast<float>(z) * v);
        }
    }

    void PlaceGrid(int maxPlaced, int columns, int rows, float cellWidth, float cellHeight) {
        if (columns <= 0 || rows <= 0 || !Usable(cellWidth, cellHeight)) return;
        try {
            std::vector<std::int32_t> order(static_cast<std::size_t>(columns) *
                                            static_cast<std::size_t>(rows));
            for (std::size_t c = 0; c < order.size(); ++c)
                order[c] = static_cast<std::int32_t>(c);
            ShuffleIndices(order, seed_);
            batch_.clear();
            batch_.reserve(order.size());
            for (const std::int32_t c : order) {
                batch_.push_back({Trunc(static_cast<float>(c % columns) * cellWidth),
                                  Trunc(static_cast<float>(c / columns) * cellHeight), cellWidth,
                                  cellHeight});
            }
        } catch (const std::bad_alloc&) {
            ShowMessage(kMsgMemoryAllocFailed, kStyleStop);  // the run goes on with the next size
            return;
        }
        PlaceBatch(maxPlaced);
    }

    // Sizes from the largest down: each lays one band or ring and moves the
    // running sums on; the smallest size repeats while `more` says so.
    template <typename Place, typename More>
    void LaySizes(float u, float v, Place place, More more) {
        float sumW = 0, sumH = 0;
        for (int z = s_.sizeSteps; z >= 1; --z) {
            float cellWidth = static_cast<float>(z) * u;
            float cellHeight = static_cast<float>(z) * v;
            do {
                if (!Usable(cellWidth, cellHeight)) return;
                const float before = sumW + sumH;
                place(sumW, sumH, cellWidth, cellHeight);
                sumW += cellWidth;
                sumH += cellHeight;
                if (sumW + sumH <= before) return;  // the sums no longer grow
            } while (z == 1 && more(sumW, sumH));
        }
    }

    void LayBands(float u, float v) {
        const int W = s_.canvasWidth, H = s_.canvasHeight;
        LaySizes(
            u, v,
            [this](float sumW, float sumH, float& cw, float& ch) {
                PlaceLayers(sumW, sumH, cw, ch);
            },
            [W, H](float sumW, float sumH) { return Trunc(sumW) < W || Trunc(sumH) < H; });
    }

    void PlaceLayers(float sumW, float sumH, float& cellWidth, float& cellHeight) {
        const int W = s_.canvasWidth, H = s_.canvasHeight;
        const int type = s_.mosaicType;
        if (type == 2 || type == 3) {
            const int n = Trunc(static_cast<float>(W) / cellWidth);
            if (n > 0) cellWidth = static_cast<float>(W) / static_cast<float>(n);
            const int y = type == 2 ? H - Trunc(cellHeight + sumH) : Trunc(sumH);
            for (int i = 0; i < n; ++i) {
                const int x = Trunc(static_cast<float>(i) * cellWidth);
                if (x >= W) continue;
                batch_.push_back({x, y, cellWidth, cellHeight});
            }
        } else {
            const int n = Trunc(static_cast<float>(H) / cellHeight);
            if (n > 0) cellHeight = static_cast<float>(H) / static_cast<float>(n);
            const int x = type == 4 ? W - Trunc(sumW + cellWidth) : Trunc(sumW);
            for (int i = 0; i < n; ++i) {
                const int y = Trunc(static_cast<float>(i) * cellHeight);
                if (y >= H) continue;
                batch_.push_back({x, y, cellWidth, cellHeight});
            }
        }
        PlaceBatch(kNoQuota);
    }

    void LayRings(float u, float v) {
        const bool inward = s_.mosaicType == 7;
        const int W = s_.canvasWidth, H = s_.canvasHeight;
        LaySizes(
            u, v,
            [this, inward](float sumW, float sumH, float& cw, float& ch) {
                PlaceRing(inward, sumW, sumH, cw, ch);
            },
            [W, H](float sumW, float sumH) { return Trunc(2 * sumW) < W && Trunc(2 * sumH) < H; });
    }

    void PlaceRing(bool inward, float sumW, float sumH, float& cellWidth, float& cellHeight) {
        const int W = s_.canvasWidth, H = s_.canvasHeight;
        int columns = 0, rows = 0;
        if (inward) {
            const float availableW = static_cast<float>(W) - 2 * sumW;
            const float availableH = static_cast<float>(H) - 2 * sumH;
            columns = Trunc(availableW / cellWidth);
            rows = Trunc(availableH / cellHeight);
            if (columns > 0) cellWidth = availableW / static_cast<float>(columns);
            if (rows > 0) cellHeight = availableH / static_cast<float>(rows);
        } else {
            columns = Trunc(2 * sumW / cellWidth) + 2;
            rows = Trunc(2 * sumH / cellHeight) + 2;
            if (columns > 2) cellWidth = 2 * sumW / static_cast<float>(columns - 2);
            if (rows > 2) cellHeight = 2 * sumH / static_cast<float>(rows - 2);
        }
        for (const bool upper : {true, false}) {
            for (int i = 0; i < columns; ++i) {
                int x = 0, y = 0;
                if (inward) {
                    y = upper ? Trunc(sumH) : H - Trunc(sumH + cellHeight);
                    x = Trunc(static_cast<float>(i) * cellWidth + sumW);
                } else {
                    y = upper ? H / 2 - Trunc(sumH + cellHeight) : H / 2 + Trunc(sumH);
                    x = Trunc(static_cast<float>(i) * cellWidth) - Trunc(cellWidth + sumW) + W / 2;
                }
                if (x >= W) continue;
                batch_.push_back({x, y, cellWidth, cellHeight});
            }
        }
        for (const bool left : {true, false}) {
            for (int i = 0; i < rows; ++i) {
                int x = 0, y = 0;
                if (inward) {
                    x = left ? Trunc(sumW) : W - Trunc(sumW + cellWidth);
                    y = Trunc(static_cast<float>(i) * cellHeight + sumH);
                } else {
                    x = left ? W / 2 - Trunc(sumW + cellWidth) : W / 2 + Trunc(sumW);
                    y = Trunc(static_cast<float>(i) * cellHeight) - Trunc(cellHeight + sumH) +
                        H / 2;
                }
                if (y >= H) continue;
                batch_.push_back({x, y, cellWidth, cellHeight});
            }
        }
        PlaceBatch(kNoQuota);
    }

    // Offers the cells of `batch_` in order, until `quota` of them have taken
    // an image or no image is left.
    void PlaceBatch(int quota) {
        if (!candidates_->Empty() && quota > 0) {
            sampler_.Start(batch_);
            int placed = 0;
            for (std::size_t i = 0; i < batch_.size(); ++i) {
                if (placed >= quota || candidates_->Empty()) break;
                if (TryPlaceCell(batch_[i], static_cast<int>(i))) ++placed;
            }
            sampler_.Finish();
        }
        batch_.clear();
    }

    bool TryPlaceCell(const LaidCell& laid, int index) {
        const int x = laid.x, y = laid.y;
        const float cellWidth = laid.width, cellHeight = laid.height;
        // The overlap test has no side effects, so asking it first gives the
        // same outcome and spares sampling and searching for covered cells.
        const Rect rect{x, y, x + Trunc(cellWidth), y + Trunc(cellHeight)};
        if (placed_.Overlaps(rect)) return false;
        const PaddedColours& cell = sampler_.At(index);
        if (s_.skipNoSetColor && IsNoSetCell(cell)) return false;
        const int position = candidates_->FindBest(cell, s_.differentColors);
        if (position < 0) return false;

        NodeRecord& node = records_[static_cast<std::size_t>(candidates_->NodeAt(position))];
        node.halfWidth = Trunc(cellWidth * 0.5f);
        node.centerX = x + node.halfWidth;
        node.halfHeight = Trunc(cellHeight * 0.5f);
        node.centerY = y + node.halfHeight;
        const int centre = CentreSection(s_.sectionCount);
        node.cellColor = MakeColorRef(cell.red[centre], cell.green[centre], cell.blue[centre]);
        node.visible = 1;
        candidates_->Remove(position);
        placed_.Add({node.centerX - node.halfWidth, node.centerY - node.halfHeight,
                     node.centerX + node.halfWidth, node.centerY + node.halfHeight});
        ++placedCount_;
        placedArea_ += static_cast<double>(cellWidth * cellHeight);
        if (progress_) progress_(placedCount_);
        return true;
    }

    bool IsNoSetCell(const PaddedColours& cell) const {
        const int range = s_.noSetRange;
        for (int k = 0; k < sections_; ++k) {
            if (std::abs(cell.red[k] - noSet_[0]) > range ||
                std::abs(cell.green[k] - noSet_[1]) > range ||
                std::abs(cell.blue[k] - noSet_[2]) > range) {
                return false;
            }
        }
        return true;
    }

    const ArrangementSettings& s_;
    std::span<NodeRecord> records_;
    std::span<NodeMark> marks_;
    std::uint32_t seed_;
    const ArrangementProgress& progress_;
    int sections_;
    int noSet_[3] = {0, 0, 0};
    std::optional<CandidateSearch> candidates_;
    PlacedIndex placed_;
    std::vector<LaidCell> batch_;  // the cells of the size being laid
    CellSampler sampler_;
    int placedCount_ = 0;
    double placedArea_ = 0;
};

}  // namespace

ArrangementSettings ArrangementSettings::From(const DocState& state) {
    ArrangementSettings s;
    s.canvasWidth = state.canvasWidth;
    s.canvasHeight = state.canvasHeight;
    s.mosaicType = state.mosaicType;
    s.gridColumns = state.gridColumns;
    s.gridRows = state.gridRows;
    s.sizeSteps = state.sizeSteps;
    s.layerThickness = state.layerThickness;
    s.sectionCount = state.sectionCount;
    s.comparePrecision = state.comparePrecision;
    s.differentColors = state.differentColors != 0;
    s.skipNoSetColor = state.skipNoSetColor != 0;
    s.noSetColor = state.noSetColor;
    s.noSetRange = state.noSetRange;
    return s;
}

void ShuffleIndices(std::span<std::int32_t> indices, std::uint32_t seed) {
    const int n = static_cast<int>(indices.size());
    if (n == 0) return;
    CrtRandom random(seed);
    for (int i = 0; i < n; ++i) {
        const int a = random.Next() % n;
        const int b = random.Next() % n;
        if (a != b)
            std::swap(indices[static_cast<std::size_t>(a)], indices[static_cast<std::size_t>(b)]);
    }
}

ArrangementStats ArrangeNodes(const ArrangementSettings& settings, const QImage& surface,
                              std::span<NodeRecord> records, std::span<NodeMark> marks,
                              std::uint32_t seed, const ArrangementProgress& progress) {
    return Engine(settings, surface, records, marks, seed, progress).Run();
}

bool Rearrange(Document& doc, std::uint32_t seed, ArrangementStats* stats) {
    DocState& state = doc.State();
    if (!doc.Picture(state.backPicture)) {
        ShowMessage(kMsgNoBackgroundImage, kStyleStop);
        return false;
    }
    if (!doc.HasTables()) return false;
    const QImage surface = MakeSamplingSurface(doc);
    if (surface.isNull()) return false;
    const int n = std::clamp(state.nodeCount, 0, kMaxNodes);
    ArrangementStats result;
    {
        StatusProgress progress(n);  // back to 0 when the run is over
        result = ArrangeNodes(ArrangementSettings::From(state), surface,
                              std::span<NodeRecord>(&doc.Node(0), static_cast<std::size_t>(n)),
                              std::span<NodeMark>(doc.Marks(), static_cast<std::size_t>(n)), seed,
                              [&progress](int placed) { progress.SetPos(placed); });
    }
    for (int i = 0; i < n; ++i)
        doc.Mark(i).selected = 0;
    if (stats) *stats = result;
    return true;
}

QString FormatUnplaced(int count) {
    return FormatThousands(count) + QStringLiteral(" 個");
}

QString FormatAreaRatio(float percent) {
    return QString::asprintf("%.1f%%", static_cast<double>(std::min(percent, 100.0f)));
}

}  // namespace tessaly
