#pragma once

#include <QPoint>
#include <QSize>
#include <Qt>
#include <array>

#include "canvas/int_rect.h"

namespace tessaly {

class Document;
struct DocState;
struct NodeRecord;

// The three coordinate spaces of the canvas view:
//   canvas pixels  what is stored (node centres and sizes, canvas size);
//   view pixels    canvas pixels times the zoom, origin at the canvas corner;
//   client pixels  view pixels minus the scroll position.
// Conversions between canvas and view pixels are made in single precision
// and truncated toward zero, here and nowhere else.

inline int CanvasToView(float zoom, int v) { return static_cast<int>(static_cast<float>(v) * zoom); }
inline int ViewToCanvas(float zoom, int v) { return static_cast<int>(static_cast<float>(v) / zoom); }

// The canvas in view pixels: (0, 0) to its zoomed width and height.
IntRect CanvasViewRect(const DocState& state);

// A node's rectangle in view pixels. Right and bottom come from the truncated
// width and height, never from the far edge converted on its own: drawing,
// hit tests, handles and drag feedback all use this one rectangle.
IntRect NodeViewRect(const NodeRecord& node, float zoom);
IntRect NodeViewRect(const Document& doc, int index);

// The canvas point at the centre of the client area, kept inside the canvas.
QPoint VisibleCentreOnCanvas(const DocState& state, const IntRect& client, QPoint scroll);

// The union of every record's view rectangle, hidden ones included.
IntRect NodeBoundingBox(const Document& doc);

// The scroll position that brings view point `p` to the middle of the client
// area, or `current` when everything fits. The caller bounds it to its range.
QPoint ScrollToShow(QPoint p, QPoint current, QSize client, QSize total, bool hasHorizontalBar,
                    bool hasVerticalBar);

// The total scroll size: the canvas plus a 50-pixel margin for grabbing its
// edges, in view pixels.
QSize ScrollSizes(const DocState& state);

// The zoom `requested` becomes: 0.08 to 4.0, and never more than 5000 view
// pixels a side.
float ClampZoom(const DocState& state, float requested);

// The zoom in whole per cent, as the console shows it and as steps count
// from: rounded to the nearest point, since a float zoom of 70 % or 105 %
// may lie a hair below its value.
int ZoomPercent(float zoom);

// The zoom after a step of `points` percentage points from the current one,
// clamped (the plus and minus zones, the dial and the wheel). The step starts
// from the shown percentage, so steps never drift from what the console shows.
float ZoomedBy(const DocState& state, int points);

// The zoom that shows the whole canvas in the client area (before clamping).
float FitZoom(const DocState& state, QSize client);

// The fixed zoom levels of the console's menu, smallest first.
inline constexpr std::array<float, 7> kZoomLevels = {0.1f, 0.25f, 0.5f, 1.0f, 2.0f, 3.0f, 4.0f};

// The zoom one step in (`direction` > 0) or out (< 0) from the current one:
// the next of the zoom levels, or the smallest zoom below the first level,
// clamped. Levels are compared by their shown whole percentage. At either
// end of the range the zoom stays.
float SteppedZoom(const DocState& state, int direction);

// The scroll position that keeps the canvas point under client point
// `client` there when the zoom changes from `before` to `after`. The caller
// bounds it to its range.
QPoint ScrollKeepingPoint(QPoint client, QPoint scroll, float before, float after);

// The wheel step for the keys and buttons held (compared as a whole) and the
// direction: Ctrl 1, Ctrl+Shift -1, right button -10, anything else 10; the
// sign turns when the wheel rolls away from the user.
int WheelStep(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool awayFromUser);

// Whether a wheel scroll with these keys and buttons goes sideways.
bool WheelScrollsHorizontally(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

// Whether the wheel zooms around the pointer instead of scrolling: Alt alone,
// no button held (Ctrl and Shift already choose the fine and sideways steps).
bool WheelZooms(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

}  // namespace tessaly
