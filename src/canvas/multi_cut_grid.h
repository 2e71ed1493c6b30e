#pragma once

#include <optional>

#include "canvas/int_rect.h"

namespace tessaly {

struct AppSettings;

// The grid that multi-cut lays over a node: the cut rectangle is its first
// cell, and the application settings hold the number of cells across and
// down and the gaps between them ("MultiCntX", "MultiCntY", "MultiMaX",
// "MultiMaY"). Gaps are fractions of a canvas pixel; cells are placed with
// the gap in thousandths, so fractional gaps add up and each cell's place is
// truncated on its own.

inline constexpr int kMaxCutCount = 100;
// The widest gap the settings dialog takes.
inline constexpr float kMaxCutGap = 50.0f;

// A gap in thousandths of a pixel: trunc(gap x 1000), bounded so that no
// stored value can overflow the cell arithmetic.
int GapThousandths(float gap);

// Where cell `index` starts, counted from the first cell: index x cell +
// trunc(index x gap / 1000) with the gap in thousandths.
int CellStart(int index, int cell, int gapThousandths);

// Cell (column, row) of the grid whose first cell is `first`.
IntRect CutCell(const IntRect& first, int column, int row, const AppSettings& grid);

// One axis of the grid over the node: the count and the gap of the settings,
// the cell size, the first cell's offset from the node's edge and the node's
// size, all in canvas pixels.
struct CutAxis {
    int count = 1;
    float gap = 0.0f;
    int cell = 1;
    int offset = 0;
    int nodeSize = 0;
};

// Whether count x cell + trunc((count - 1) x gap) + offset stays within the node.
bool AxisFits(const CutAxis& axis);
// The count that fits: trunc((nodeSize - offset) / (cell + gap)), at least 1.
int FittedCount(const CutAxis& axis);
// The gap that fits the count: (nodeSize - count x cell - offset) / count.
float FittedGap(const CutAxis& axis);

// The cut rectangle and the node while the mode is on.
struct CutArea {
    IntRect rect;
    IntRect node;
};

CutAxis HorizontalAxis(const AppSettings& grid, const CutArea& area);
CutAxis VerticalAxis(const AppSettings& grid, const CutArea& area);

// When the mode starts: counts outside 1..100 are brought into it, and a count
// whose cells would not fit in the node is reduced to the count that fits.
void FitGridAtStart(AppSettings& grid, const CutArea& area);

// The four values the settings dialog changes.
enum class GridValue { Columns, Rows, GapX, GapY };

float GridValueOf(const AppSettings& grid, GridValue which);

// What became of a new grid value.
enum class GridChange {
    Unchanged,  // the same value, or a gap of -1 or less: nothing happened
    Kept,       // the mode is off: stored without a check
    Accepted,   // the grid fits with it: the view shows the new grid
    Fitted,     // the grid did not fit: set to what fits instead
};

// A new value for one grid value from the settings dialog. A gap of -1 or
// less (or no number at all) is ignored, other gaps are bounded to 0..50 and
// counts to 1..100. Without `area` (the mode is off) the value is kept as it
// is. Otherwise it is kept and the grid is checked across, then down: when
// it does not fit, the count of that axis (after a count change) or its gap
// (after a gap change) is set to what fits.
GridChange ChangeGrid(AppSettings& grid, GridValue which, float value,
                      const std::optional<CutArea>& area);

}  // namespace tessaly
