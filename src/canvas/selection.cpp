#include "canvas/selection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "canvas/canvas_renderer.h"
#include "canvas/view_geometry.h"
#include "document/document.h"

namespace tessaly {

namespace {

constexpr int kHandleHitHalf = 5;

void SelectOnly(Document& doc, int node) {
    DocState& s = doc.State();
    for (int i = 0; i < s.nodeCount; ++i)
        doc.Mark(i).selected = 0;
    doc.Mark(node).selected = 1;
    s.mainSelection = node;
}

}  // namespace

int NodeAt(const Document& doc, QPoint p) {
    const float zoom = doc.State().zoom;
    for (int i = doc.State().nodeCount - 1; i >= 0; --i) {
        const NodeRecord& n = doc.Node(i);
        if (n.visible != 0 && NodeViewRect(n, zoom).Contains(p.x(), p.y())) return i;
    }
    return -1;
}

HandleHit HandleAt(const Document& doc, QPoint p) {
    const float zoom = doc.State().zoom;
    for (int i = doc.State().nodeCount - 1; i >= 0; --i) {
        if (!doc.IsSelected(i)) continue;
        const IntRect r = NodeViewRect(doc.Node(i), zoom);
        // Every handle square lies within the rectangle grown by the square's
        // half size, so a point outside it can skip the eight tests.
        const IntRect reach{
            std::min(r.left, r.right) - kHandleHitHalf, std::min(r.top, r.bottom) - kHandleHitHalf,
            std::max(r.left, r.right) + kHandleHitHalf, std::max(r.top, r.bottom) + kHandleHitHalf};
        if (!reach.Contains(p.x(), p.y())) continue;
        const auto points = SelectionHandlePoints(r);
        for (int k = 0; k < kHandleCount; ++k) {
            const QPoint h = points[static_cast<std::size_t>(k)];
            const IntRect square{h.x() - kHandleHitHalf, h.y() - kHandleHitHalf,
                                 h.x() + kHandleHitHalf, h.y() + kHandleHitHalf};
            if (square.Contains(p.x(), p.y())) return {i, static_cast<Handle>(k)};
        }
    }
    return {};
}

bool ClearSelection(Document& doc) {
    DocState& s = doc.State();
    if (s.mainSelection == -1) return false;
    for (int i = 0; i < s.nodeCount; ++i)
        doc.Mark(i).selected = 0;
    s.mainSelection = -1;
    return true;
}

void ResetSelection(Document& doc, bool unmarkNodes) {
    DocState& s = doc.State();
    s.mainSelection = -1;
    if (!unmarkNodes) return;
    for (int i = 0; i < s.nodeCount; ++i)
        doc.Mark(i).selected = 0;
}

bool MakeMainSelection(Document& doc, int node) {
    DocState& s = doc.State();
    const bool changed = s.mainSelection != node;
    s.mainSelection = node;
    return changed;
}

void SelectForPopup(Document& doc, int node) {
    if (!doc.IsSelected(node)) ClearSelection(doc);
    doc.Mark(node).selected = 1;
    doc.State().mainSelection = node;
}

bool KeepInsideCanvas(Document& doc, int i, KeepBy keep) {
    const DocState& s = doc.State();
    const int w = CanvasToView(s.zoom, s.canvasWidth);
    const int h = CanvasToView(s.zoom, s.canvasHeight);
    const IntRect r = NodeViewRect(doc.Node(i), s.zoom);
    int dx = 0, dy = 0;
    if (keep == KeepBy::Edges) {
        if (r.left < 0) dx = -r.left;
        if (r.right > w) dx = w - r.right;
        if (r.top < 0) dy = -r.top;
        if (r.bottom > h) dy = h - r.bottom;
    } else {
        const int cx = (r.left + r.right) / 2;
        const int cy = (r.top + r.bottom) / 2;
        if (cx < 0) dx = -cx;
        if (cx > w) dx = w - cx;
        if (cy < 0) dy = -cy;
        if (cy > h) dy = h - cy;
    }
    if (dx == 0 && dy == 0) return false;
    NodeRecord& n = doc.Node(i);
    n.centerX += ViewToCanvas(s.zoom, dx);
    n.centerY += ViewToCanvas(s.zoom, dy);
    return true;
}

int ViewStepToCanvas(float zoom, int viewStep) {
    const int canvasStep = ViewToCanvas(zoom, viewStep);
    if (canvasStep == 0 && (viewStep == 1 || viewStep == -1)) return viewStep;
    return canvasStep;
}

QPoint MoveDragToCanvas(float zoom, QPoint press, QPoint release) {
    const int dx = release.x() - press.x();
    const int dy = release.y() - press.y();
    if (std::abs(dx) < kMoveDragThreshold && std::abs(dy) < kMoveDragThreshold) return {};
    return {ViewStepToCanvas(zoom, dx), ViewStepToCanvas(zoom, dy)};
}

int ArrowKeyStep(float zoom, bool ctrl) {
    return ViewStepToCanvas(zoom, ctrl ? 1 : 10);
}

bool CanMoveSelection(const Document& doc, int dx, int dy) {
    return doc.State().mainSelection != -1 && (dx != 0 || dy != 0);
}

bool MoveSelection(Document& doc, int dx, int dy) {
    if (!CanMoveSelection(doc, dx, dy)) return false;
    const DocState& s = doc.State();
    for (int i = 0; i < s.nodeCount; ++i) {
        if (!doc.IsSelected(i)) continue;
        doc.Node(i).centerX += dx;
        doc.Node(i).centerY += dy;
        KeepInsideCanvas(doc, i, KeepBy::Centre);
    }
    return true;
}

ClickOutcome ClickSelect(Document& doc, int node, Qt::KeyboardModifiers modifiers) {
    DocState& s = doc.State();
    const bool ctrl = modifiers == Qt::ControlModifier;
    const bool shift = modifiers == Qt::ShiftModifier;
    if (s.mainSelection == -1) {
        SelectOnly(doc, node);
        return ClickOutcome::StartMove;
    }
    if (doc.IsSelected(node)) {
        if (shift) {
            doc.Mark(node).selected = 0;
            if (s.mainSelection == node) {
                // The lowest still selected node takes over; with none left
                // the main selection keeps naming the node just dropped.
                for (int i = 0; i < s.nodeCount; ++i) {
                    if (doc.IsSelected(i)) {
                        s.mainSelection = i;
                        break;
                    }
                }
            }
            return ClickOutcome::Nothing;
        }
        s.mainSelection = node;
        return ClickOutcome::StartMove;
    }
    if (ctrl) {
        doc.Mark(node).selected = 1;
        s.mainSelection = node;
        return ClickOutcome::Nothing;
    }
    ClearSelection(doc);
    SelectOnly(doc, node);
    return ClickOutcome::StartMove;
}

bool SelectAll(Document& doc) {
    DocState& s = doc.State();
    bool any = false;
    for (int i = 0; i < s.nodeCount; ++i) {
        if (doc.Node(i).visible == 0) continue;
        doc.Mark(i).selected = 1;
        any = true;
    }
    if (!any) return false;
    // Node 0 becomes main even when it is hidden and so not selected.
    s.mainSelection = 0;
    return true;
}

bool SelectNextByTab(Document& doc, bool backwards) {
    DocState& s = doc.State();
    if (s.mainSelection == -1 || s.nodeCount < 2) return false;
    const int count = s.nodeCount;
    for (int i = 0; i < count; ++i) doc.Mark(i).selected = 0;
    int candidate = s.mainSelection + (backwards ? -1 : 1);
    if (candidate < 0) candidate = count - 1;
    if (candidate >= count) candidate = 0;
    // A hidden neighbour leaves the selection empty and the main selection
    // where it was, so the next Tab tries the same neighbour again.
    if (doc.Node(candidate).visible == 0) return true;
    SelectOnly(doc, candidate);
    return true;
}

IntRect RubberBandRect(QPoint a, QPoint b) {
    return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
            std::max(a.y(), b.y())};
}

std::vector<int> NodesInRubberBand(const Document& doc, const IntRect& band) {
    std::vector<int> found;
    const float zoom = doc.State().zoom;
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        const NodeRecord& n = doc.Node(i);
        if (n.visible == 0) continue;
        const IntRect r = NodeViewRect(n, zoom);
        if (band.Contains(r.left, r.top) && band.Contains(r.right, r.top) &&
            band.Contains(r.right, r.bottom) && band.Contains(r.left, r.bottom))
            found.push_back(i);
    }
    return found;
}

bool RubberBandSelect(Document& doc, QPoint start, QPoint end) {
    DocState& s = doc.State();
    if (std::abs(end.x() - start.x()) <= kRubberBandThreshold &&
        std::abs(end.y() - start.y()) <= kRubberBandThreshold)
        return false;
    if (s.nodeCount <= 0) return false;
    s.mainSelection = -1;
    for (int i : NodesInRubberBand(doc, RubberBandRect(start, end))) {
        doc.Mark(i).selected = 1;
        s.mainSelection = i;
    }
    return true;
}

int ResizeMinimum(float zoom) {
    return static_cast<int>(10.0f * zoom);
}

IntRect ResizedRect(const IntRect& old, Handle handle, QPoint pointer, int canvasRight,
                    int canvasBottom, int m, bool keepAspect) {
    const int left = old.left, top = old.top, right = old.right, bottom = old.bottom;
    int x = std::clamp(pointer.x(), 0, std::max(0, canvasRight));
    int y = std::clamp(pointer.y(), 0, std::max(0, canvasBottom));
    using enum Handle;
    const bool movesLeft = handle == TopLeft || handle == BottomLeft || handle == Left;
    const bool movesRight = handle == TopRight || handle == BottomRight || handle == Right;
    const bool movesTop = handle == TopLeft || handle == TopRight || handle == Top;
    const bool movesBottom = handle == BottomRight || handle == BottomLeft || handle == Bottom;
    if (movesLeft) x = std::min(x, right - m);
    if (movesRight) x = std::max(x, left + m);
    if (movesTop) y = std::min(y, bottom - m);
    if (movesBottom) y = std::max(y, top + m);

    int w = old.Width(), h = old.Height();
    if (movesLeft) w = right - x;
    if (movesRight) w = x - left;
    if (movesTop) h = bottom - y;
    if (movesBottom) h = y - top;

    const bool horizontal = movesLeft || movesRight;
    const bool vertical = movesTop || movesBottom;
    if (keepAspect && old.Width() > 0 && old.Height() > 0) {
        const double rw = double(w) / old.Width();
        const double rh = double(h) / old.Height();
        const double scale = horizontal && vertical ? std::max(rw, rh) : (horizontal ? rw : rh);
        w = std::max(m, static_cast<int>(std::lround(old.Width() * scale)));
        h = std::max(m, static_cast<int>(std::lround(old.Height() * scale)));
    }

    IntRect r;
    r.left = movesLeft ? right - w : left;
    r.top = movesTop ? bottom - h : top;
    // A side handle with the aspect kept grows the other axis about its middle.
    if (keepAspect && !horizontal) r.left = left + (old.Width() - w) / 2;
    if (keepAspect && !vertical) r.top = top + (old.Height() - h) / 2;
    r.right = r.left + w;
    r.bottom = r.top + h;
    return r;
}

bool CanResizeSelection(const Document& doc, const IntRect& oldRect, const IntRect& newRect) {
    const int main = doc.State().mainSelection;
    return main >= 0 && main < doc.State().nodeCount && oldRect != newRect && !oldRect.IsEmpty();
}

bool ResizeSelection(Document& doc, Handle handle, const IntRect& oldRect,
                     const IntRect& newRect) {
    if (!CanResizeSelection(doc, oldRect, newRect)) return false;
    DocState& s = doc.State();
    const int main = s.mainSelection;
    const float zoom = s.zoom;
    const int w = newRect.Width(), h = newRect.Height();
    const float widthRatio = static_cast<float>(w) / static_cast<float>(oldRect.Width());
    const float heightRatio = static_cast<float>(h) / static_cast<float>(oldRect.Height());

    NodeRecord& m = doc.Node(main);
    m.centerX = ViewToCanvas(zoom, (2 * newRect.left + w) / 2);
    m.centerY = ViewToCanvas(zoom, (2 * newRect.top + h) / 2);
    m.halfWidth = ViewToCanvas(zoom, w / 2);
    m.halfHeight = ViewToCanvas(zoom, h / 2);

    // A side handle scales its own axis; the other one changes only when the
    // aspect was kept, and then the other nodes follow on both axes too.
    const bool scalesWidth = ChangesWidth(handle) || newRect.Width() != oldRect.Width();
    const bool scalesHeight = ChangesHeight(handle) || newRect.Height() != oldRect.Height();
    for (int i = 0; i < s.nodeCount; ++i) {
        if (i == main || !doc.IsSelected(i)) continue;
        NodeRecord& n = doc.Node(i);
        if (scalesWidth)
            n.halfWidth = static_cast<int>(static_cast<float>(n.halfWidth) * widthRatio);
        if (scalesHeight)
            n.halfHeight = static_cast<int>(static_cast<float>(n.halfHeight) * heightRatio);
    }
    return true;
}

}  // namespace tessaly
