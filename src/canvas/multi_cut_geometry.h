#pragma once

#include <QPoint>
#include <optional>

#include "canvas/int_rect.h"

namespace tessaly {

struct NodeRecord;

// Geometry of the cut rectangle, the first (top-left) cell of the grid that
// multi-cut lays over one node. Rectangles are in canvas pixels unless a name
// says display (canvas pixels times the zoom, as the view draws them).

// The parts of the cut rectangle that the keys and the mouse act on. The
// numbers are the ones the hit test and the highlight use.
enum class CutPart : int {
    None = -1,
    LeftEdge = 0,
    TopEdge = 1,
    RightEdge = 2,
    BottomEdge = 3,
    TopLeft = 4,
    TopRight = 5,
    BottomRight = 6,
    BottomLeft = 7,
    Whole = 9,
};

inline bool IsCutCorner(CutPart part) {
    return part >= CutPart::TopLeft && part <= CutPart::BottomLeft;
}
inline bool IsCutEdge(CutPart part) {
    return part >= CutPart::LeftEdge && part <= CutPart::BottomEdge;
}

// Which edges of the rectangle a part moves.
struct CutEdges {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};
CutEdges EdgesOf(CutPart part);

// A node's rectangle on the canvas.
IntRect NodeCanvasRect(const NodeRecord& node);

// The cut rectangle as the settings keep it: offset from the node's left and
// top edge, width and height.
struct CutPlacement {
    int offsetX = 0;
    int offsetY = 0;
    int width = 0;
    int height = 0;
};

// The placement used when none is stored: a quarter of the node in from its
// left and top edge, half its width and height.
CutPlacement DefaultCutPlacement(const IntRect& node);

// The cut rectangle a stored placement gives on `node`: an offset beyond the
// node's size becomes 5, a size reaching past the far edge ends one pixel
// short of it. Whatever was stored, the result lies inside the node and is
// at least one pixel wide and high; nothing when the node itself is empty.
std::optional<IntRect> PlaceCutRect(const IntRect& node, CutPlacement stored);

// The placement of `rect` on `node`, for storing.
CutPlacement PlacementOf(const IntRect& rect, const IntRect& node);

// The display rectangle: corner and size each converted on their own, so
// that every cell of the grid has the same display size.
IntRect CutDisplayRect(const IntRect& rect, float zoom);

// The part of the display rectangle under a view point: a corner within 5
// pixels (truncated distance), else an edge less than 5 pixels away, else
// the inside; None elsewhere.
CutPart CutPartAt(QPoint viewPoint, const IntRect& display);

// Tab moves the highlight to the next edge (left, top, right, bottom and
// round again), Shift+Tab to the previous one; from the whole rectangle they
// go to the left and the bottom edge, from a corner to the edge that starts
// there.
CutPart NextCutPart(CutPart part, bool backwards);

// The rectangle a mouse drag of `part` by `viewOffset` proposes: the offset
// in canvas pixels moves the whole rectangle or the part's edges. It stays
// inside the node, and an edge never comes closer than 10 display pixels to
// the opposite one (nor moves further in when the rectangle is smaller).
IntRect DraggedCutRect(const IntRect& start, CutPart part, QPoint viewOffset, float zoom,
                       const IntRect& node);

// The rectangle after an arrow key step of (dx, dy) canvas pixels on `part`.
// The whole rectangle moves only when it stays inside the node (nothing
// otherwise); an edge moves along its own axis, a corner moves its two
// edges. Edges stay inside the node and at least one pixel from the opposite
// edge. Nothing when the step changes nothing.
std::optional<IntRect> SteppedCutRect(const IntRect& rect, CutPart part, int dx, int dy,
                                      const IntRect& node);

// The range commands: one pixel more on every side (kept inside the node);
// one pixel less on every side, only from 10 pixels wide and high; the whole
// node. Nothing when the rectangle would not change.
std::optional<IntRect> WidenedCutRect(const IntRect& rect, const IntRect& node);
std::optional<IntRect> NarrowedCutRect(const IntRect& rect);

}  // namespace tessaly
