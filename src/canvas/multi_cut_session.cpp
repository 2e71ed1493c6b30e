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

bool CanBeCut(const Document& doc, int node) {
    return doc.HasTables() && node >= 0 && node < doc.State().nodeCount &&
           doc.Node(node).visible != 0 && doc.Picture(doc.Node(node).picture) != nullptr;
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

IntRect MultiCutSession::NodeRect(const Document& doc) const {
    return IsOn() ? NodeCanvasRect(doc.Node(node_)) : IntRect{};
}

bool MultiCutSession::Start(Document& doc, AppSettings& grid) {
    const int main = doc.State().mainSelection;
    if (IsOn() || !CanBeCut(doc, main)) return false;
    const IntRect node = NodeCanvasRect(doc.Node(main));
    const std::optional<IntRect> rect = PlaceCutRect(node, StoredPlacement(node));
    if (!rect) return false;
    node_ = main;
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
}

bool MultiCutSession::FollowDocument(const Document& doc) {
    if (!IsOn()) return false;
    if (!CanBeCut(doc, node_)) {
        Stop();
        return true;
    }
    const IntRect node = NodeRect(doc);
    if (node.Width() < 1 || node.Height() < 1) {
        Stop();
        return true;
    }
    const IntRect kept = KeptInside(rect_, node);
    if (kept == rect_) return false;
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
