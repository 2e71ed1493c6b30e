#pragma once

#include <QPoint>
#include <Qt>
#include <vector>

#include "canvas/int_rect.h"

namespace tessaly {

class Document;

// Selection and mouse editing without a widget: hit tests, the selection
// rules of clicks, keys and the rubber band, and the edits of a move or a
// resize. Points and rectangles are in view pixels (the canvas corner at
// the origin) unless a name says canvas. Only visible nodes count as
// selected (Document::IsSelected).

// A rubber band must pass this distance on one axis to select anything.
inline constexpr int kRubberBandThreshold = 10;
// A move drag shorter than this on both axes moves nothing.
inline constexpr int kMoveDragThreshold = 2;

// The topmost visible node whose rectangle holds the point, or -1.
int NodeAt(const Document& doc, QPoint viewPoint);

// The eight resize handles of a selected node: the corners from the top-left
// clockwise, then the side midpoints from the top clockwise.
enum class Handle : int {
    TopLeft,
    TopRight,
    BottomRight,
    BottomLeft,
    Top,
    Right,
    Bottom,
    Left,
};
inline constexpr int kHandleCount = 8;

inline bool IsCorner(Handle handle) { return static_cast<int>(handle) < 4; }
// Whether dragging the handle changes the width (the height).
inline bool ChangesWidth(Handle h) { return h != Handle::Top && h != Handle::Bottom; }
inline bool ChangesHeight(Handle h) { return h != Handle::Left && h != Handle::Right; }

struct HandleHit {
    int node = -1;
    Handle handle = Handle::TopLeft;
    bool IsValid() const { return node >= 0; }
};

// The handle under the point: selected nodes from the topmost down, each
// handle tested in the order TopLeft..Left with a 10 x 10 square around its
// point.
HandleHit HandleAt(const Document& doc, QPoint viewPoint);

// Clears every mark and the main selection. False when there was no main
// selection (nothing is touched then).
bool ClearSelection(Document& doc);

// A document starting in the view has no main selection; with
// `unmarkNodes` (a document read from a file) no node is marked either.
void ResetSelection(Document& doc, bool unmarkNodes);

// Makes node `node` the main selection, its mark left as it is. Returns
// whether the main selection changed.
bool MakeMainSelection(Document& doc, int node);

// The selection rule of a right click on node `node`: the selection is
// cleared unless the node is in it, then the node is marked and made main.
void SelectForPopup(Document& doc, int node);

enum class KeepBy { Edges, Centre };

// Moves node i back inside the canvas, by its edges (the right and bottom
// edge win when the node is larger than the canvas) or by its centre.
// Returns whether it moved.
bool KeepInsideCanvas(Document& doc, int i, KeepBy keep);

// A view-pixel offset as canvas pixels: truncated, except that a step of
// one view pixel always moves one canvas pixel.
int ViewStepToCanvas(float zoom, int viewStep);

// The canvas offset of a move drag from press to release, or (0, 0) when
// the pointer moved less than kMoveDragThreshold on both axes.
QPoint MoveDragToCanvas(float zoom, QPoint pressPoint, QPoint releasePoint);

// The canvas pixels an arrow key moves the selection: 10 view pixels, 1 with
// Ctrl.
int ArrowKeyStep(float zoom, bool ctrl);

// Whether MoveSelection would move anything: there is a main selection and
// the offset is not zero.
bool CanMoveSelection(const Document& doc, int dx, int dy);

// Moves every selected node by (dx, dy) canvas pixels and keeps each centre
// inside the canvas. False, changing nothing, unless CanMoveSelection.
bool MoveSelection(Document& doc, int dx, int dy);

enum class ClickOutcome {
    Nothing,    // the press only changed the selection
    StartMove,  // the selection changed (or stayed); a move drag begins
};

// The selection rules of a left click on node `node`. The keys are compared
// as a whole: Ctrl means Ctrl alone, Shift means Shift alone; any other
// combination counts as no key.
ClickOutcome ClickSelect(Document& doc, int node, Qt::KeyboardModifiers modifiers);

// Selects every visible node and makes node 0 main (even when it is hidden).
// False when no node is visible.
bool SelectAll(Document& doc);

// Tab: clears the selection and makes the node after the main selection (the
// one before it when `backwards`), wrapping around, the only selected node
// and main. When that node is hidden the selection stays empty. False when
// nothing changed (no main selection or fewer than two nodes).
bool SelectNextByTab(Document& doc, bool backwards);

// The visible nodes whose rectangle lies wholly inside `viewRect` (right and
// bottom exclusive), in index order.
std::vector<int> NodesInRubberBand(const Document& doc, const IntRect& viewRect);

// The rectangle a rubber band from `start` to `end` encloses.
IntRect RubberBandRect(QPoint start, QPoint end);

// The release of a rubber band: when it passed kRubberBandThreshold on one
// axis, selects the enclosed visible nodes (the highest index becomes main).
// The press already cleared the selection. Returns whether it selected.
bool RubberBandSelect(Document& doc, QPoint start, QPoint end);

// The new rectangle of a node while handle `handle` is dragged to `pointer`:
// the pointer is bounded to the canvas (`canvasRight`, `canvasBottom`), the
// opposite side or corner stays fixed and neither side gets shorter than
// `minSize`. With `keepAspect` the rectangle keeps its proportions: a corner
// follows the axis that grew most, a side handle scales the other axis about
// its middle.
IntRect ResizedRect(const IntRect& old, Handle handle, QPoint pointer, int canvasRight,
                    int canvasBottom, int minSize, bool keepAspect);

// The smallest side of a resize in view pixels: 10 canvas pixels.
int ResizeMinimum(float zoom);

// Whether ResizeSelection would change anything: there is a main selection
// and the rectangle changed.
bool CanResizeSelection(const Document& doc, const IntRect& oldRect, const IntRect& newRect);

// Applies a resize of the main selection from `oldRect` to `newRect` (view
// pixels). The main node takes the new rectangle; every other selected node
// keeps its centre and scales by the same ratios, along the width only for
// the left and right handles, the height only for the top and bottom ones,
// both for the corners and for a side handle whose resize kept the aspect
// (both sides changed). Nodes are not moved back inside the canvas. False,
// changing nothing, unless CanResizeSelection.
bool ResizeSelection(Document& doc, Handle handle, const IntRect& oldRect, const IntRect& newRect);

}  // namespace tessaly
