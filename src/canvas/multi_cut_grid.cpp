#include "canvas/multi_cut_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "services/app_settings.h"

namespace tessaly {
namespace {

// Far beyond any canvas, yet far from the ends of an int.
constexpr float kTruncationLimit = 1.0e9f;

// trunc(v) for a value of single precision, bounded; no number gives 0.
std::int64_t Truncated(float v) {
    if (std::isnan(v)) return 0;
    return static_cast<std::int64_t>(std::clamp(v, -kTruncationLimit, kTruncationLimit));
}

int& CountOf(AppSettings& grid, GridValue which) {
    return which == GridValue::Columns || which == GridValue::GapX ? grid.multiCntX
                                                                   : grid.multiCntY;
}

float& GapOf(AppSettings& grid, GridValue which) {
    return which == GridValue::Columns || which == GridValue::GapX ? grid.multiMaX : grid.multiMaY;
}

bool IsCount(GridValue which) {
    return which == GridValue::Columns || which == GridValue::Rows;
}

}  // namespace

int GapThousandths(float gap) {
    return static_cast<int>(Truncated(gap * 1000.0f));
}

int CellStart(int index, int cell, int gapThousandths) {
    const std::int64_t start = static_cast<std::int64_t>(index) * cell +
                               static_cast<std::int64_t>(index) * gapThousandths / 1000;
    return static_cast<int>(std::clamp<std::int64_t>(start, -kTruncationLimit, kTruncationLimit));
}

IntRect CutCell(const IntRect& first, int column, int row, const AppSettings& grid) {
    const int left = first.left + CellStart(column, first.Width(), GapThousandths(grid.multiMaX));
    const int top = first.top + CellStart(row, first.Height(), GapThousandths(grid.multiMaY));
    return {left, top, left + first.Width(), top + first.Height()};
}

bool AxisFits(const CutAxis& a) {
    const std::int64_t reach = static_cast<std::int64_t>(a.count) * a.cell +
                               Truncated(static_cast<float>(a.count - 1) * a.gap) + a.offset;
    return reach <= a.nodeSize;
}

int FittedCount(const CutAxis& a) {
    const float fitted =
        static_cast<float>(a.nodeSize - a.offset) / (static_cast<float>(a.cell) + a.gap);
    return static_cast<int>(std::clamp<std::int64_t>(Truncated(fitted), 1, kMaxCutCount));
}

float FittedGap(const CutAxis& a) {
    const int count = std::max(a.count, 1);
    return static_cast<float>(a.nodeSize - count * a.cell - a.offset) / static_cast<float>(count);
}

CutAxis HorizontalAxis(const AppSettings& grid, const CutArea& area) {
    return {grid.multiCntX, grid.multiMaX, area.rect.Width(), area.rect.left - area.node.left,
            area.node.Width()};
}

CutAxis VerticalAxis(const AppSettings& grid, const CutArea& area) {
    return {grid.multiCntY, grid.multiMaY, area.rect.Height(), area.rect.top - area.node.top,
            area.node.Height()};
}

void FitGridAtStart(AppSettings& grid, const CutArea& area) {
    grid.multiCntX = std::clamp(grid.multiCntX, 1, kMaxCutCount);
    grid.multiCntY = std::clamp(grid.multiCntY, 1, kMaxCutCount);
    if (const CutAxis x = HorizontalAxis(grid, area); !AxisFits(x)) {
        grid.multiCntX = FittedCount(x);
    }
    if (const CutAxis y = VerticalAxis(grid, area); !AxisFits(y)) {
        grid.multiCntY = FittedCount(y);
    }
}

float GridValueOf(const AppSettings& grid, GridValue which) {
    switch (which) {
        case GridValue::Columns:
            return static_cast<float>(grid.multiCntX);
        case GridValue::Rows:
            return static_cast<float>(grid.multiCntY);
        case GridValue::GapX:
            return grid.multiMaX;
        case GridValue::GapY:
            return grid.multiMaY;
    }
    return 0.0f;
}

GridChange ChangeGrid(AppSettings& grid, GridValue which, float value,
                      const std::optional<CutArea>& area) {
    if (IsCount(which)) {
        const int count =
            static_cast<int>(std::clamp<std::int64_t>(Truncated(value), 1, kMaxCutCount));
        if (count == CountOf(grid, which)) return GridChange::Unchanged;
        CountOf(grid, which) = count;
    } else {
        if (std::isnan(value) || value <= -1.0f) return GridChange::Unchanged;
        const float gap = std::clamp(value, 0.0f, kMaxCutGap);
        if (gap == GapOf(grid, which)) return GridChange::Unchanged;
        GapOf(grid, which) = gap;
    }
    if (!area) return GridChange::Kept;

    const std::pair<GridValue, CutAxis> axes[] = {
        {IsCount(which) ? GridValue::Columns : GridValue::GapX, HorizontalAxis(grid, *area)},
        {IsCount(which) ? GridValue::Rows : GridValue::GapY, VerticalAxis(grid, *area)},
    };
    for (const auto& [corrected, axis] : axes) {
        if (AxisFits(axis)) continue;
        if (IsCount(which)) {
            CountOf(grid, corrected) = FittedCount(axis);
        } else {
            GapOf(grid, corrected) = FittedGap(axis);
        }
        return GridChange::Fitted;
    }
    return GridChange::Accepted;
}

}  // namespace tessaly
