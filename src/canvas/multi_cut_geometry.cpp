#include "canvas/multi_cut_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "canvas/math_sub.h"
#include "canvas/view_geometry.h"
#include "document/node_record.h"

namespace tessaly {
namespace {

// How near (display pixels) a corner or an edge must be to be hit.
constexpr int kHitReach = 5;
// The offset a stored placement beyond the node's size is replaced by.
constexpr int kFallbackOffset = 5;
// The least distance (display pixels) a drag leaves between opposite edges.
constexpr int kDragMinimum = 10;

// The smallest canvas size that is kDragMinimum display pixels at `zoom`.
int DragMinimumOnCanvas(float zoom) {
    return std::max(1, static_cast<int>(std::ceil(static_cast<float>(kDragMinimum) / zoom)));
}

// Moves the edges of `part` by (dx, dy), each one along its own axis.
IntRect MoveEdges(IntRect r, CutPart part, int dx, int dy) {
    const CutEdges edges = EdgesOf(part);
    if (edges.left) r.left += dx;
    if (edges.right) r.right += dx;
    if (edges.top) r.top += dy;
    if (edges.bottom) r.bottom += dy;
    return r;
}

// A dragged left or top edge: moved by d, but not closer than `minimum` to
// the opposite edge (nor further in when it is already closer), nor past `limit`.
int DragNearEdge(int edge, int opposite, int d, int minimum, int limit) {
    return std::max(limit, std::min(edge + d, std::max(opposite - minimum, edge)));
}

// A dragged right or bottom edge, likewise.
int DragFarEdge(int edge, int opposite, int d, int minimum, int limit) {
    return std::min(limit, std::max(edge + d, std::min(opposite + minimum, edge)));
}

bool Inside(const IntRect& r, const IntRect& node) {
    return r.left >= node.left && r.top >= node.top && r.right <= node.right &&
           r.bottom <= node.bottom;
}

}  // namespace

CutEdges EdgesOf(CutPart part) {
    switch (part) {
        case CutPart::LeftEdge:
            return {true, false, false, false};
        case CutPart::TopEdge:
            return {false, true, false, false};
        case CutPart::RightEdge:
            return {false, false, true, false};
        case CutPart::BottomEdge:
            return {false, false, false, true};
        case CutPart::TopLeft:
            return {true, true, false, false};
        case CutPart::TopRight:
            return {false, true, true, false};
        case CutPart::BottomRight:
            return {false, false, true, true};
        case CutPart::BottomLeft:
            return {true, false, false, true};
        case CutPart::Whole:
            return {true, true, true, true};
        case CutPart::None:
            break;
    }
    return {};
}

IntRect NodeCanvasRect(const NodeRecord& node) {
    return {node.Left(), node.Top(), node.Left() + node.Width(), node.Top() + node.Height()};
}

CutPlacement DefaultCutPlacement(const IntRect& node) {
    return {node.Width() / 4, node.Height() / 4, node.Width() / 2, node.Height() / 2};
}

std::optional<IntRect> PlaceCutRect(const IntRect& node, CutPlacement p) {
    const int w = node.Width();
    const int h = node.Height();
    if (w < 1 || h < 1) return std::nullopt;
    if (p.offsetX > w) p.offsetX = kFallbackOffset;
    if (p.offsetY > h) p.offsetY = kFallbackOffset;
    if (p.width + p.offsetX > w) p.width = w - p.offsetX - 1;
    if (p.height + p.offsetY > h) p.height = h - p.offsetY - 1;
    // A tiny node, or negative stored values, could still leave the node:
    // the rectangle is brought back inside with at least one pixel.
    p.offsetX = std::clamp(p.offsetX, 0, w - 1);
    p.offsetY = std::clamp(p.offsetY, 0, h - 1);
    p.width = std::clamp(p.width, 1, w - p.offsetX);
    p.height = std::clamp(p.height, 1, h - p.offsetY);
    const int left = node.left + p.offsetX;
    const int top = node.top + p.offsetY;
    return IntRect{left, top, left + p.width, top + p.height};
}

CutPlacement PlacementOf(const IntRect& rect, const IntRect& node) {
    return {rect.left - node.left, rect.top - node.top, rect.Width(), rect.Height()};
}

IntRect CutDisplayRect(const IntRect& rect, float zoom) {
    const int left = CanvasToView(zoom, rect.left);
    const int top = CanvasToView(zoom, rect.top);
    return {left, top, left + CanvasToView(zoom, rect.Width()),
            top + CanvasToView(zoom, rect.Height())};
}

CutPart CutPartAt(QPoint p, const IntRect& d) {
    const std::pair<QPoint, CutPart> corners[] = {
        {{d.left, d.top}, CutPart::TopLeft},
        {{d.right, d.top}, CutPart::TopRight},
        {{d.right, d.bottom}, CutPart::BottomRight},
        {{d.left, d.bottom}, CutPart::BottomLeft},
    };
    for (const auto& [corner, part] : corners) {
        if (CMathSub::Distance(p, corner) < kHitReach) return part;
    }
    const bool betweenTopAndBottom = p.y() > d.top && p.y() < d.bottom;
    const bool betweenLeftAndRight = p.x() > d.left && p.x() < d.right;
    if (betweenTopAndBottom && std::abs(p.x() - d.left) < kHitReach) return CutPart::LeftEdge;
    if (betweenLeftAndRight && std::abs(p.y() - d.top) < kHitReach) return CutPart::TopEdge;
    if (betweenTopAndBottom && std::abs(p.x() - d.right) < kHitReach) return CutPart::RightEdge;
    if (betweenLeftAndRight && std::abs(p.y() - d.bottom) < kHitReach) return CutPart::BottomEdge;
    if (d.Contains(p.x(), p.y())) return CutPart::Whole;
    return CutPart::None;
}

CutPart NextCutPart(CutPart part, bool backwards) {
    if (IsCutCorner(part)) return static_cast<CutPart>(static_cast<int>(part) - 4);
    if (IsCutEdge(part)) {
        const int edge = static_cast<int>(part);
        return static_cast<CutPart>(backwards ? (edge + 3) % 4 : (edge + 1) % 4);
    }
    return backwards ? CutPart::BottomEdge : CutPart::LeftEdge;
}

IntRect DraggedCutRect(const IntRect& start, CutPart part, QPoint viewOffset, float zoom,
                       const IntRect& node) {
    const int dx = ViewToCanvas(zoom, viewOffset.x());
    const int dy = ViewToCanvas(zoom, viewOffset.y());
    if (part == CutPart::Whole) {
        const int left = std::clamp(start.left + dx, node.left, node.right - start.Width());
        const int top = std::clamp(start.top + dy, node.top, node.bottom - start.Height());
        return {left, top, left + start.Width(), top + start.Height()};
    }
    const int minimum = DragMinimumOnCanvas(zoom);
    const CutEdges edges = EdgesOf(part);
    IntRect r = start;
    if (edges.left) r.left = DragNearEdge(start.left, start.right, dx, minimum, node.left);
    if (edges.top) r.top = DragNearEdge(start.top, start.bottom, dy, minimum, node.top);
    if (edges.right) r.right = DragFarEdge(start.right, start.left, dx, minimum, node.right);
    if (edges.bottom) r.bottom = DragFarEdge(start.bottom, start.top, dy, minimum, node.bottom);
    return r;
}

std::optional<IntRect> SteppedCutRect(const IntRect& rect, CutPart part, int dx, int dy,
                                      const IntRect& node) {
    IntRect r = MoveEdges(rect, part, dx, dy);
    if (part == CutPart::Whole) {
        if (!Inside(r, node)) return std::nullopt;
    } else {
        // An edge stops at the node's edge and one pixel short of the
        // opposite edge, so the rectangle never collapses.
        r.left = std::clamp(r.left, node.left, rect.right - 1);
        r.top = std::clamp(r.top, node.top, rect.bottom - 1);
        r.right = std::clamp(r.right, r.left + 1, node.right);
        r.bottom = std::clamp(r.bottom, r.top + 1, node.bottom);
    }
    if (r == rect) return std::nullopt;
    return r;
}

std::optional<IntRect> WidenedCutRect(const IntRect& rect, const IntRect& node) {
    const IntRect r{std::max(rect.left - 1, node.left), std::max(rect.top - 1, node.top),
                    std::min(rect.right + 1, node.right), std::min(rect.bottom + 1, node.bottom)};
    if (r == rect) return std::nullopt;
    return r;
}

std::optional<IntRect> NarrowedCutRect(const IntRect& rect) {
    constexpr int kNarrowMinimum = 10;
    if (rect.Width() < kNarrowMinimum || rect.Height() < kNarrowMinimum) return std::nullopt;
    return IntRect{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
}

}  // namespace tessaly
