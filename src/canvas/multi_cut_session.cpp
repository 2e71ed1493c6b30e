#include "canvas/multi_cut_session.h"

#include <algorithm>

#include "document/document.h"
#include "services/settings.h"

namespace tessaly {
namespace {

const QString kLast = QStringLiteral("Last");
const QString kOffsetX = QStringLiteral("RectPX");
const QString kOffsetY = QStringLiteral("RectPY");
const QString kWidth = QStringLiteral("RectSX");
const QString kHeight = QStringLiteral("RectSY");

CutPlacement StoredPlacement(const IntRect& node) {
    const CutPlacement defaults = DefaultCutPlacement(node);
    return {GetProfileInt(kLast, kOffsetX, defaults.offsetX),
            GetProfileInt(kLast, kOffsetY, defaults.offsetY),
            GetProfileInt(kLast, kWidth, defaults.width),
            GetProfileInt(kLast, kHeight, defaults.height)};
}

// The index of the node holding `picture`, looked for at `hint` first; -1
// when no node holds it.
int NodeHolding(const Document& doc, PictureRef picture, int hint) {
    if (!doc.HasTables() || !picture) return -1;
    const int count = doc.State().nodeCount;
    if (hint >= 0 && hint < count && doc.Node(hint).picture == picture) return hint;
    for (int i = 0; i < count; ++i) {
        if (doc.Node(i).picture == picture) return i;
    }
    return -1;
}

// `rect` moved and cut back so that it lies inside `node`.
IntRect KeptInside(const IntRect& rect, const IntRect& node) {
    const int width = std::min(rect.Width(), node.Width());
    const int height = std::min(rect.Height(), node.Height());
    const int left = std::clamp(rect.left, node.left, node.right - width);
    const int top = std::clamp(rect.top, node.top, node.bottom - height);
    return {left, top, left + width, top + height};
}

}  // namespace

bool CanCutNode(const Document& doc, int node) {
    if (!doc.HasTables() || node < 0 || node >= doc.State().nodeCount) return false;
    const NodeRecord& record = doc.Node(node);
    const IntRect rect = NodeCanvasRect(record);
    return record.visible != 0 && rect.Width() >= 1 && rect.Height() >= 1 &&
           doc.Picture(record.picture) != nullptr;
}

bool MultiCutSession::HoldsItsNode(const Document& doc) const {
    return IsOn() && doc.HasTables() && node_ < doc.State().nodeCount &&
           doc.Node(node_).picture == picture_ && doc.Picture(picture_) != nullptr;
}

IntRect MultiCutSession::NodeRect(const Document& doc) const {
    return IsOn() ? NodeCanvasRect(doc.Node(node_)) : IntRect{};
}

bool MultiCutSession::Start(Document& doc, AppSettings& grid) {
    const int main = doc.State().mainSelection;
    if (IsOn() || !CanCutNode(doc, main)) return false;
    const IntRect node = NodeCanvasRect(doc.Node(main));
    const std::optional<IntRect> rect = PlaceCutRect(node, StoredPlacement(node));
    if (!rect) return false;
    node_ = main;
    picture_ = doc.Node(main).picture;
    rect_ = *rect;
    highlighted_ = CutPart::RightEdge;
    FitGridAtStart(grid, {rect_, node});
    for (int i = 0; i < doc.State().nodeCount; ++i)
        doc.Mark(i).selected = 0;
    doc.State().mainSelection = -1;
    return true;
}

void MultiCutSession::Stop() {
    node_ = -1;
    picture_ = {};
}

bool MultiCutSession::FollowDocument(const Document& doc) {
    if (!IsOn()) return false;
    const int node = NodeHolding(doc, picture_, node_);
    if (!CanCutNode(doc, node)) {
        Stop();
        return true;
    }
    const bool moved = node != node_;
    node_ = node;
    const IntRect kept = KeptInside(rect_, NodeRect(doc));
    if (kept == rect_) return moved;
    rect_ = kept;
    return true;
}

bool MultiCutSession::SetHighlighted(CutPart part) {
    if (part == highlighted_ || part == CutPart::None) return false;
    highlighted_ = part;
    return true;
}

bool MultiCutSession::CycleHighlight(bool backwards) {
    return IsOn() && SetHighlighted(NextCutPart(highlighted_, backwards));
}

bool MultiCutSession::SetRect(const IntRect& rect, const Document& doc) {
    return Apply(rect, doc);
}

bool MultiCutSession::StepByKey(const Document& doc, int dx, int dy) {
    return IsOn() && Apply(SteppedCutRect(rect_, highlighted_, dx, dy, NodeRect(doc)), doc);
}

bool MultiCutSession::Widen(const Document& doc) {
    return IsOn() && Apply(WidenedCutRect(rect_, NodeRect(doc)), doc);
}

bool MultiCutSession::Narrow(const Document& doc) {
    return IsOn() && Apply(NarrowedCutRect(rect_), doc);
}

bool MultiCutSession::Maximize(const Document& doc) {
    return IsOn() && Apply(NodeRect(doc), doc);
}

bool MultiCutSession::Apply(const std::optional<IntRect>& rect, const Document& doc) {
    if (!IsOn() || !rect || rect->IsEmpty() || *rect == rect_) return false;
    rect_ = *rect;
    StorePlacement(doc);
    return true;
}

void MultiCutSession::StorePlacement(const Document& doc) const {
    const CutPlacement p = PlacementOf(rect_, NodeRect(doc));
    WriteProfileInt(kLast, kOffsetX, p.offsetX);
    WriteProfileInt(kLast, kOffsetY, p.offsetY);
    WriteProfileInt(kLast, kWidth, p.width);
    WriteProfileInt(kLast, kHeight, p.height);
}

}  // namespace tessaly
