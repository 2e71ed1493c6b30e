#pragma once

#include <QImage>
#include <QPoint>
#include <array>
#include <functional>

#include "canvas/int_rect.h"

class QPainter;

namespace tessaly {

class Document;

struct RenderOptions {
    float zoom = 1.0f;
    // Background preview: only the background and the canvas frame.
    bool backgroundOnly = false;
    // The view's own marks: the grid and the handles of selected nodes. An
    // exported or printed canvas leaves both out.
    bool viewMarks = true;
    // The node being cut in multi-cut mode; -1 when the mode is off.
    int multiCutNode = -1;
    // The background picture prepared for drawing, stretched over the canvas
    // when the document shows its background picture; may be null.
    const QImage* backgroundCopy = nullptr;
    // The view pixels to paint. Nodes, marks and grid lines wholly outside it
    // are skipped before their pictures are touched. Empty: the whole canvas.
    IntRect viewArea;
    // Drawn over the node being cut, right after it and its frames.
    std::function<void(QPainter&)> multiCutOverlay;
};

// Paints the canvas in view pixels (the caller translates the painter by the
// scroll position): the background colour or picture, the canvas frame, the
// grid, the nodes in stacking order with their frames, and the selection
// marks; grid and marks only with `viewMarks`. Nothing is painted outside the
// canvas rectangle; PaintOutsideCanvas covers the rest of the window.
void PaintCanvas(QPainter& painter, const Document& doc, const RenderOptions& options);

// Paints white the part of `area` right of and below `canvas` (view pixels).
void PaintOutsideCanvas(QPainter& painter, const IntRect& canvas, const IntRect& area);

// The eight handle points of a node rectangle: the corners top-left,
// top-right, bottom-right, bottom-left, then the midpoints of the top, right,
// bottom and left sides. Corners take the rectangle's far edges as they are.
std::array<QPoint, 8> SelectionHandlePoints(const IntRect& rect);

// The square drawn for handle `index` (0..7) at `point`: 8 x 8 pixels around
// a corner, 6 x 6 around a side midpoint.
IntRect SelectionHandleRect(int index, QPoint point);

}  // namespace tessaly
