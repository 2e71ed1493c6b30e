#include "edits/canvas_resize.h"

#include <algorithm>

#include "canvas/view_geometry.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {

std::optional<CanvasResizeMode> AskCanvasResizeMode(QObject* owner) {
    switch (ShowMessage(owner, {}, kMsgAutoAdjustPositions, kStyleYesNoCancel)) {
        case kResultYes:
            return CanvasResizeMode::ScaleNodes;
        case kResultNo:
            return CanvasResizeMode::MarginOnly;
        default:
            return std::nullopt;
    }
}

int CanvasSizeForEdge(const Document& doc, Qt::Orientation axis, int viewExtent,
                      CanvasResizeMode mode) {
    const float zoom = doc.State().zoom;
    const bool width = axis == Qt::Horizontal;
    int lower = CanvasToView(zoom, kMinCanvasSide);
    if (mode == CanvasResizeMode::MarginOnly) {
        const IntRect nodes = NodeBoundingBox(doc);
        lower = std::max(lower, width ? nodes.right : nodes.bottom);
    }
    const int upper = CanvasToView(zoom, kMaxCanvasSide);
    // With nodes beyond the largest canvas the upper limit still wins.
    return ViewToCanvas(zoom, std::min(std::max(viewExtent, lower), upper));
}

int CanvasSizeForRequest(const Document& doc, Qt::Orientation axis, int requested,
                         CanvasResizeMode mode) {
    if (mode != CanvasResizeMode::MarginOnly) return requested;
    // An edge dragged all the way in stops at the smallest size that keeps
    // the nodes whole.
    return std::max(requested, CanvasSizeForEdge(doc, axis, 0, mode));
}

bool ResizeCanvas(EditedDocument& edited, Qt::Orientation axis, int newSize,
                  CanvasResizeMode mode) {
    DocState& s = edited.Doc().State();
    int& size = axis == Qt::Horizontal ? s.canvasWidth : s.canvasHeight;
    if (newSize == size) return false;
    EditScope edit(edited, SnapshotRule::Always);
    const int oldSize = size;
    size = newSize;
    if (mode == CanvasResizeMode::ScaleNodes) ScaleNodesAlongAxis(edit.Doc(), axis, oldSize);
    return edit.Commit();
}

void ScaleNodesAlongAxis(Document& doc, Qt::Orientation axis, int oldSize) {
    if (oldSize <= 0) return;
    const DocState& s = doc.State();
    const int newSize = axis == Qt::Horizontal ? s.canvasWidth : s.canvasHeight;
    const float f = static_cast<float>(newSize) / static_cast<float>(oldSize);
    for (int i = 0; i < s.nodeCount; ++i) {
        NodeRecord& n = doc.Node(i);
        if (axis == Qt::Horizontal) {
            n.centerX = static_cast<int>(f * static_cast<float>(n.centerX));
            n.halfWidth = static_cast<int>(f * static_cast<float>(n.halfWidth));
        } else {
            n.centerY = static_cast<int>(f * static_cast<float>(n.centerY));
            n.halfHeight = static_cast<int>(f * static_cast<float>(n.halfHeight));
        }
    }
}

}  // namespace tessaly
