#include "view/multi_cut_drag.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "canvas/multi_cut_session.h"
#include "view/atelier_view.h"
#include "view/canvas_cursors.h"
#include "canvas/view_geometry.h"
#include "document/document.h"

namespace tessaly {
namespace {

const QColor kProposedColour(255, 23, 208);

// The outline of the proposed rectangle is as wide as one canvas pixel.
int FeedbackPenWidth(float zoom) {
    return std::max(1, static_cast<int>(zoom));
}

CanvasCursor CursorOf(CutPart part) {
    switch (part) {
        case CutPart::TopLeft:
        case CutPart::BottomRight:
            return CanvasCursor::SizeNwSe;
        case CutPart::TopRight:
        case CutPart::BottomLeft:
            return CanvasCursor::SizeNeSw;
        case CutPart::LeftEdge:
        case CutPart::RightEdge:
            return CanvasCursor::SplitLeftRight;
        case CutPart::TopEdge:
        case CutPart::BottomEdge:
            return CanvasCursor::SplitUpDown;
        case CutPart::Whole:
            return CanvasCursor::Hand;
        case CutPart::None:
            break;
    }
    return CanvasCursor::Arrow;
}

}  // namespace

MultiCutDrag::MultiCutDrag(CAtelierView& view, MultiCutSession& session)
    : view_(view), session_(session) {}

QPoint MultiCutDrag::ToView(QPoint client) const {
    return view_.ClientToView(client);
}

CutPart MultiCutDrag::PartAt(QPoint client) const {
    if (!session_.IsOn()) return CutPart::None;
    return CutPartAt(ToView(client), CutDisplayRect(session_.Rect(), view_.Doc().State().zoom));
}

bool MultiCutDrag::Press(QPoint client) {
    const CutPart part = PartAt(client);
    if (part == CutPart::None) return false;
    Cancel();
    part_ = part;
    originView_ = ToView(client);
    if (session_.SetHighlighted(part)) view_.InvalidateCanvas();
    return true;
}

bool MultiCutDrag::Move(QPoint client) {
    if (!IsActive()) return false;
    if (!session_.IsOn()) {
        Cancel();
        return true;
    }
    const Document& doc = view_.Doc();
    SetProposed(DraggedCutRect(session_.Rect(), part_, ToView(client) - originView_,
                               doc.State().zoom, session_.NodeRect(doc)));
    return true;
}

bool MultiCutDrag::Release(QPoint) {
    if (!IsActive()) return false;
    const std::optional<IntRect> proposed = proposed_;
    Cancel();
    if (proposed && session_.SetRect(*proposed, view_.Doc())) view_.CutRectChanged();
    return true;
}

void MultiCutDrag::Cancel() {
    SetProposed(std::nullopt);
    part_ = CutPart::None;
}

bool MultiCutDrag::Hover(QPoint client) {
    const CutPart part = PartAt(client);
    if (part == CutPart::None) return false;
    view_.SetCanvasCursor(CursorOf(part));
    return true;
}

IntRect MultiCutDrag::FeedbackRect() const {
    if (!proposed_) return {};
    const float zoom = view_.Doc().State().zoom;
    const QPoint scroll = view_.ScrollPosition();
    const IntRect r = CutDisplayRect(*proposed_, zoom).Translated(-scroll.x(), -scroll.y());
    const int reach = FeedbackPenWidth(zoom) / 2 + 1;
    return {r.left - reach, r.top - reach, r.right + reach + 1, r.bottom + reach + 1};
}

void MultiCutDrag::SetProposed(std::optional<IntRect> rect) {
    const IntRect before = FeedbackRect();
    proposed_ = rect;
    view_.FeedbackChanged(before, FeedbackRect());
}

void MultiCutDrag::DrawFeedback(QPainter& painter) const {
    if (!proposed_) return;
    const float zoom = view_.Doc().State().zoom;
    const QPoint scroll = view_.ScrollPosition();
    const IntRect r = CutDisplayRect(*proposed_, zoom).Translated(-scroll.x(), -scroll.y());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kProposedColour, FeedbackPenWidth(zoom), Qt::SolidLine, Qt::SquareCap));
    painter.drawPolyline(
        QPolygon({QPoint(r.left, r.top), QPoint(r.right, r.top), QPoint(r.right, r.bottom),
                  QPoint(r.left, r.bottom), QPoint(r.left, r.top)}));
    painter.restore();
}

}  // namespace tessaly
