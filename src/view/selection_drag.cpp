#include "view/selection_drag.h"

#include <QPainter>
#include <QPolygon>
#include <cstdlib>

#include "view/atelier_view.h"
#include "view/canvas_cursors.h"
#include "canvas/view_geometry.h"
#include "edits/selection_edits.h"
#include "document/document.h"
#include "resources/ui_strings.h"

namespace tessaly {
namespace {

constexpr int kAutoScrollZone = 50;
constexpr int kAutoScrollStep = 10;
constexpr int kOutlineSlack = 2;  // the widest pen reaches this far beyond the corners

const QColor kRubberBandColour(70, 70, 70);
const QColor kResizeColour(100, 100, 180);
// The move outline: a wide light pen under narrower, darker ones.
constexpr std::pair<int, QRgb> kMovePens[] = {
    {3, qRgb(243, 247, 250)}, {2, qRgb(229, 235, 242)}, {1, qRgb(215, 223, 234)}};

QPolygon Corners(const IntRect& r) {
    return QPolygon({QPoint(r.left, r.top), QPoint(r.right, r.top), QPoint(r.right, r.bottom),
                     QPoint(r.left, r.bottom), QPoint(r.left, r.top)});
}

}  // namespace

SelectionDrag::SelectionDrag(CAtelierView& view) : view_(view) {}

QPoint SelectionDrag::ToView(QPoint client) const {
    return view_.ClientToView(client);
}

IntRect SelectionDrag::MainNodeViewRect() const {
    const Document& doc = view_.Doc();
    return NodeViewRect(doc, doc.State().mainSelection);
}

void SelectionDrag::BeginRubberBand(QPoint client) {
    Cancel();
    kind_ = Kind::RubberBand;
    pressView_ = ToView(client);
}

void SelectionDrag::BeginMove(int node, QPoint client) {
    Cancel();
    const Document& doc = view_.Doc();
    const float zoom = doc.State().zoom;
    const NodeRecord& n = doc.Node(node);
    const QPoint centre =
        view_.ViewToClient({CanvasToView(zoom, n.centerX), CanvasToView(zoom, n.centerY)});
    kind_ = Kind::Move;
    pressView_ = ToView(client);
    grabOffset_ = client - centre;
    view_.SetCanvasCursor(CanvasCursor::Move);
}

void SelectionDrag::BeginResize(const HandleHit& hit, QPoint client) {
    Cancel();
    kind_ = Kind::Resize;
    handle_ = hit.handle;
    pressView_ = ToView(client);
    startRect_ = MainNodeViewRect();
    pending_.reset();
}

bool SelectionDrag::Move(QPoint client, Qt::KeyboardModifiers keys) {
    switch (kind_) {
        case Kind::None:
            return false;
        case Kind::RubberBand:
            MoveRubberBand(client);
            break;
        case Kind::Move:
            MoveOutline(client);
            break;
        case Kind::Resize:
            MoveResize(client, keys);
            break;
    }
    return true;
}

bool SelectionDrag::Release(QPoint client) {
    const Kind kind = kind_;
    SetOutline(std::nullopt);
    kind_ = Kind::None;
    switch (kind) {
        case Kind::None:
            return false;
        case Kind::RubberBand:
            ReleaseRubberBand(client);
            break;
        case Kind::Move:
            ReleaseMove(client);
            break;
        case Kind::Resize:
            ReleaseResize();
            break;
    }
    pending_.reset();
    return true;
}

void SelectionDrag::Cancel() {
    SetOutline(std::nullopt);
    kind_ = Kind::None;
    pending_.reset();
}

void SelectionDrag::MoveRubberBand(QPoint client) {
    const QPoint q = ToView(client);
    if (std::abs(q.x() - pressView_.x()) < kRubberBandThreshold &&
        std::abs(q.y() - pressView_.y()) < kRubberBandThreshold) {
        SetOutline(std::nullopt);
        return;
    }
    SetOutline(IntRect{std::min(q.x(), pressView_.x()), std::min(q.y(), pressView_.y()),
                       std::max(q.x(), pressView_.x()), std::max(q.y(), pressView_.y())});
}

bool SelectionDrag::AutoScroll(QPoint q) {
    const IntRect r = view_.ClientRect();
    QPoint step;
    if (q.x() > 0 && q.x() < r.left + kAutoScrollZone) {
        step.setX(-kAutoScrollStep);
    } else if (q.x() > r.right - kAutoScrollZone && q.x() < r.right) {
        step.setX(kAutoScrollStep);
    } else if (q.y() > 0 && q.y() < r.top + kAutoScrollZone) {
        step.setY(-kAutoScrollStep);
    } else if (q.y() > r.bottom - kAutoScrollZone && q.y() < r.bottom) {
        step.setY(kAutoScrollStep);
    }
    const QPoint before = view_.ScrollPosition();
    if (step.isNull()) return false;
    view_.ScrollTo(before + step);
    return view_.ScrollPosition() != before;
}

void SelectionDrag::MoveOutline(QPoint client) {
    AutoScroll(client);
    const Document& doc = view_.Doc();
    const DocState& s = doc.State();
    if (s.mainSelection < 0 || s.mainSelection >= s.nodeCount) return;
    const IntRect canvas = CanvasViewRect(s);
    const IntRect node = MainNodeViewRect();
    const QPoint centre{CanvasToView(s.zoom, doc.Node(s.mainSelection).centerX),
                        CanvasToView(s.zoom, doc.Node(s.mainSelection).centerY)};
    const QPoint wanted = ToView(client) - grabOffset_;
    const QPoint bounded{std::clamp(wanted.x(), 0, std::max(0, canvas.right)),
                         std::clamp(wanted.y(), 0, std::max(0, canvas.bottom))};
    const QPoint shift = bounded - centre;
    SetOutline(node.Translated(shift.x(), shift.y()));
    view_.ShowGuide(ui_text::kMoveDragGuide);
}

void SelectionDrag::MoveResize(QPoint client, Qt::KeyboardModifiers keys) {
    const Document& doc = view_.Doc();
    const DocState& s = doc.State();
    if (s.mainSelection < 0 || s.mainSelection >= s.nodeCount) return;
    const QPoint q = ToView(client);
    const IntRect canvas = CanvasViewRect(s);
    view_.SetCanvasCursor(canvas.Contains(q.x(), q.y()) ? CanvasCursor::Move
                                                        : CanvasCursor::Blocked);
    const bool hasPicture = static_cast<bool>(doc.Node(s.mainSelection).picture);
    if (hasPicture) view_.ShowGuide(ui_text::kResizeDragGuide);
    const bool keepAspect = hasPicture && IsCorner(handle_) && !(keys & Qt::ControlModifier);
    pending_ = ResizedRect(startRect_, handle_, q, canvas.right, canvas.bottom,
                           ResizeMinimum(s.zoom), keepAspect);
    SetOutline(pending_);
}

void SelectionDrag::ReleaseRubberBand(QPoint client) {
    if (RubberBandSelect(view_.Doc(), pressView_, ToView(client))) view_.SelectionChanged();
}

void SelectionDrag::ReleaseMove(QPoint client) {
    view_.ShowGuide({});
    const QPoint offset =
        MoveDragToCanvas(view_.Doc().State().zoom, pressView_, ToView(client));
    view_.StopHoverAnimation();
    MoveSelected(view_.Edited(), offset.x(), offset.y());
    view_.ShowGuide(ui_text::kAfterMoveGuide);
}

void SelectionDrag::ReleaseResize() {
    if (pending_) ResizeSelected(view_.Edited(), handle_, startRect_, *pending_);
}

void SelectionDrag::SetOutline(std::optional<IntRect> outlineView) {
    const IntRect before = FeedbackRect();
    outline_ = outlineView;
    view_.FeedbackChanged(before, FeedbackRect());
}

IntRect SelectionDrag::FeedbackRect() const {
    if (!outline_) return {};
    const QPoint scroll = view_.ScrollPosition();
    const IntRect r = outline_->Translated(-scroll.x(), -scroll.y());
    return {r.left - kOutlineSlack, r.top - kOutlineSlack, r.right + kOutlineSlack + 1,
            r.bottom + kOutlineSlack + 1};
}

void SelectionDrag::DrawFeedback(QPainter& painter) const {
    if (!outline_) return;
    const QPoint scroll = view_.ScrollPosition();
    const QPolygon corners = Corners(outline_->Translated(-scroll.x(), -scroll.y()));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    switch (kind_) {
        case Kind::RubberBand:
            painter.setPen(QPen(kRubberBandColour, 1, Qt::DotLine));
            painter.drawPolyline(corners);
            break;
        case Kind::Move:
            for (const auto& [width, colour] : kMovePens) {
                painter.setPen(QPen(QColor(colour), width, Qt::SolidLine, Qt::SquareCap));
                painter.drawPolyline(corners);
            }
            break;
        case Kind::Resize:
            painter.setPen(QPen(kResizeColour, 1));
            painter.drawPolyline(corners);
            break;
        case Kind::None:
            break;
    }
    painter.restore();
}

}  // namespace tessaly
