#include "edits/align_nodes.h"

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

#include "canvas/view_geometry.h"
#include "edits/selected_nodes.h"
#include "document/edited_document.h"
#include "resources/string_table.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

// One axis of the canvas: where a node starts and how far it reaches in view
// pixels, and the stored values a move along it changes.
struct Axis {
    bool vertical;

    int Start(const IntRect& r) const { return vertical ? r.top : r.left; }
    int End(const IntRect& r) const { return vertical ? r.bottom : r.right; }
    int Extent(const IntRect& r) const { return End(r) - Start(r); }
    std::int32_t& Centre(NodeRecord& n) const { return vertical ? n.centerY : n.centerX; }
    int CanvasExtent(const DocState& s) const { return vertical ? s.canvasHeight : s.canvasWidth; }
};

// Moves every selected node but the main one so that one of its edges lies on
// the same edge of the main selection; sizes stay.
void AlignEdges(Document& doc, Alignment edge) {
    const NodeRecord& main = doc.Node(doc.State().mainSelection);
    const int target = edge == Alignment::Left    ? main.Left()
                       : edge == Alignment::Right ? main.centerX + main.halfWidth
                       : edge == Alignment::Top   ? main.Top()
                                                  : main.centerY + main.halfHeight;
    for (const int i : SelectedNodes(doc)) {
        if (i == doc.State().mainSelection) continue;
        NodeRecord& n = doc.Node(i);
        switch (edge) {
            case Alignment::Left:
                n.centerX = target + n.halfWidth;
                break;
            case Alignment::Right:
                n.centerX = target - n.halfWidth;
                break;
            case Alignment::Top:
                n.centerY = target + n.halfHeight;
                break;
            default:
                n.centerY = target - n.halfHeight;
                break;
        }
    }
}

// Moves the selected nodes together so that their bounding box is centred
// on the canvas along the axis.
void CentreOnCanvas(Document& doc, Axis axis) {
    const std::vector<int> selected = SelectedNodes(doc);
    if (selected.empty()) return;
    const float zoom = doc.State().zoom;
    // The true extremes, so that a group lying wholly before the canvas's
    // origin is centred like any other.
    int first = INT_MAX;
    int last = INT_MIN;
    for (const int i : selected) {
        const IntRect r = NodeViewRect(doc, i);
        first = std::min(first, axis.Start(r));
        last = std::max(last, axis.End(r));
    }
    const int extent = CanvasToView(zoom, axis.CanvasExtent(doc.State()));
    const int shift = (extent + first - last) / 2 - first;
    const int move = ViewToCanvas(zoom, shift);
    for (const int i : selected)
        axis.Centre(doc.Node(i)) += move;
}

// Spreads the selected nodes along the axis with equal gaps; the first and the
// last stay. False when there are fewer than three.
bool SpaceEvenly(Document& doc, Axis axis) {
    std::vector<int> order = SelectedNodes(doc);
    const int count = static_cast<int>(order.size());
    if (count < 3) return false;
    const float zoom = doc.State().zoom;
    std::vector<IntRect> rects(doc.State().nodeCount);
    int extents = 0;
    for (const int i : order) {
        rects[static_cast<std::size_t>(i)] = NodeViewRect(doc, i);
        extents += axis.Extent(rects[static_cast<std::size_t>(i)]);
    }
    // Nodes that start at the same place keep their index order.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return axis.Start(rects[static_cast<std::size_t>(a)]) <
               axis.Start(rects[static_cast<std::size_t>(b)]);
    });
    const IntRect& firstRect = rects[static_cast<std::size_t>(order.front())];
    const IntRect& lastRect = rects[static_cast<std::size_t>(order.back())];
    const int span = axis.End(lastRect) - axis.Start(firstRect);
    const int gap =
        static_cast<int>(static_cast<float>(span - extents) / static_cast<float>(count - 1));

    // Every shift is measured from where the nodes were before any moved.
    std::vector<int> shifts(static_cast<std::size_t>(count), 0);
    int position = axis.End(firstRect) + gap;
    for (int k = 1; k < count - 1; ++k) {
        const IntRect& r = rects[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])];
        shifts[static_cast<std::size_t>(k)] = ViewToCanvas(zoom, position - axis.Start(r));
        position += axis.Extent(r) + gap;
    }
    for (int k = 1; k < count - 1; ++k) {
        axis.Centre(doc.Node(order[static_cast<std::size_t>(k)])) +=
            shifts[static_cast<std::size_t>(k)];
    }
    return true;
}

// Gives every selected node but the main one the main selection's width
// and/or height; each keeps its left and top edges.
void MatchSize(Document& doc, bool width, bool height) {
    const NodeRecord& main = doc.Node(doc.State().mainSelection);
    const int newWidth = main.Width();
    const int newHeight = main.Height();
    for (const int i : SelectedNodes(doc)) {
        if (i == doc.State().mainSelection) continue;
        NodeRecord& n = doc.Node(i);
        if (width) {
            n.centerX = n.Left() + newWidth / 2;
            n.halfWidth = newWidth / 2;
        }
        if (height) {
            n.centerY = n.Top() + newHeight / 2;
            n.halfHeight = newHeight / 2;
        }
    }
}

void Align(Document& doc, Alignment alignment) {
    switch (alignment) {
        case Alignment::Left:
        case Alignment::Right:
        case Alignment::Top:
        case Alignment::Bottom:
            AlignEdges(doc, alignment);
            break;
        case Alignment::CentreVertical:
            CentreOnCanvas(doc, Axis{true});
            break;
        case Alignment::CentreHorizontal:
            CentreOnCanvas(doc, Axis{false});
            break;
        case Alignment::SpaceVertical:
            SpaceEvenly(doc, Axis{true});
            break;
        case Alignment::SpaceHorizontal:
            SpaceEvenly(doc, Axis{false});
            break;
        case Alignment::SameWidth:
            MatchSize(doc, true, false);
            break;
        case Alignment::SameHeight:
            MatchSize(doc, false, true);
            break;
        case Alignment::SameSize:
            MatchSize(doc, true, true);
            break;
    }
}

}  // namespace

bool AlignSelected(EditedDocument& edited, Alignment alignment) {
    if (!HasMainSelection(edited.Doc())) return false;
    EditScope edit(edited, SnapshotRule::Always);
    try {
        Align(edit.Doc(), alignment);
    } catch (const std::bad_alloc&) {
        // Nothing has moved yet: the lists are all made before the first move.
        ShowMessage(kMsgMemoryAllocFailed, kStyleStop);
        return false;
    }
    return edit.Commit();
}

}  // namespace tessaly
