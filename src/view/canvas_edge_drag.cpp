#include "view/canvas_edge_drag.h"

#include <QPainter>
#include <cstdlib>

#include "view/atelier_view.h"
#include "canvas/view_geometry.h"
#include "edits/canvas_resize.h"
#include "document/document.h"
#include "image/ui_font.h"
#include "resources/ui_strings.h"

namespace tessaly {
namespace {

constexpr int kEdgeReach = 4;      // how close to an edge the pointer grabs it
constexpr int kBarHalf = 2;        // the feedback bar is 4 pixels thick
constexpr int kFeedbackSlack = 23;  // room for the size printed beside the bar
constexpr int kClickSlop = 3;       // a shorter drag changes nothing

// The checkerboard of magenta and white the bar is filled with.
QBrush EdgePattern() {
    QImage pattern(2, 2, QImage::Format_RGB32);
    pattern.setPixel(0, 0, qRgb(255, 0, 255));
    pattern.setPixel(1, 1, qRgb(255, 0, 255));
    pattern.setPixel(1, 0, qRgb(255, 255, 255));
    pattern.setPixel(0, 1, qRgb(255, 255, 255));
    return QBrush(pattern);
}

}  // namespace

CanvasEdgeDrag::CanvasEdgeDrag(CAtelierView& view) : view_(view) {}

std::optional<Qt::Orientation> CanvasEdgeDrag::EdgeAt(QPoint p) const {
    const IntRect canvas = CanvasViewRect(view_.Doc().State());
    if (std::abs(p.x() - canvas.right) < kEdgeReach && p.y() < canvas.bottom) return Qt::Horizontal;
    if (p.x() < canvas.right && std::abs(p.y() - canvas.bottom) < kEdgeReach) return Qt::Vertical;
    return std::nullopt;
}

QString CanvasEdgeDrag::ToolTip(Qt::Orientation edge) const {
    const DocState& s = view_.Doc().State();
    const bool width = edge == Qt::Horizontal;
    return (width ? ui_text::kWidthEdgeTip : ui_text::kHeightEdgeTip)
        .toString()
        .arg(width ? s.canvasWidth : s.canvasHeight)
        .arg(kMinCanvasSide)
        .arg(kMaxCanvasSide);
}

bool CanvasEdgeDrag::Press(QPoint p) {
    const auto edge = EdgeAt(p);
    if (!edge) return false;
    active_ = true;
    edge_ = *edge;
    press_ = pointer_ = p;
    view_.FeedbackChanged({}, FeedbackRect());
    return true;
}

int CanvasEdgeDrag::BoundedPosition(int coordinate) const {
    const float zoom = view_.Doc().State().zoom;
    return std::clamp(coordinate, CanvasToView(zoom, kMinCanvasSide),
                      CanvasToView(zoom, kMaxCanvasSide));
}

bool CanvasEdgeDrag::Move(QPoint p) {
    if (!active_) return false;
    const IntRect before = FeedbackRect();
    pointer_ = p;
    view_.FeedbackChanged(before, FeedbackRect());
    return true;
}

IntRect CanvasEdgeDrag::FeedbackRect() const {
    if (!active_) return {};
    const IntRect canvas = CanvasViewRect(view_.Doc().State());
    const QPoint scroll = view_.ScrollPosition();
    IntRect bar;
    if (edge_ == Qt::Horizontal) {
        const int x = BoundedPosition(pointer_.x()) - scroll.x();
        bar = {x - kBarHalf, 0, x + kBarHalf, canvas.bottom - scroll.y()};
    } else {
        const int y = BoundedPosition(pointer_.y()) - scroll.y();
        bar = {-scroll.x(), y - kBarHalf, canvas.right - scroll.x(), y + kBarHalf};
    }
    return {bar.left - kFeedbackSlack, bar.top - kFeedbackSlack, bar.right + kFeedbackSlack,
            bar.bottom + kFeedbackSlack};
}

void CanvasEdgeDrag::DrawFeedback(QPainter& painter) const {
    if (!active_) return;
    const DocState& s = view_.Doc().State();
    const IntRect canvas = CanvasViewRect(s);
    const QPoint scroll = view_.ScrollPosition();
    const QPoint pointer = pointer_ - scroll;
    const bool width = edge_ == Qt::Horizontal;
    const int position = BoundedPosition(width ? pointer_.x() : pointer_.y());
    const int client = position - (width ? scroll.x() : scroll.y());
    IntRect bar = width ? IntRect{client - kBarHalf, 0, client + kBarHalf, canvas.bottom - scroll.y()}
                        : IntRect{-scroll.x(), client - kBarHalf, canvas.right - scroll.x(),
                                  client + kBarHalf};
    painter.fillRect(bar.ToQRect(), EdgePattern());

    painter.setFont(CreateUiFont(painter.device(), {}, 8, false));
    painter.setPen(QColor(224, 85, 78));
    const QString size = QString::number(ViewToCanvas(s.zoom, position));
    if (width) {
        const bool nearBottom = canvas.bottom - pointer_.y() < 50;
        painter.drawText(QPoint(client - 8, pointer.y() + (nearBottom ? -30 : 20)), size);
    } else {
        const bool nearRight = canvas.right - pointer_.x() < 70;
        painter.drawText(QPoint(pointer.x() + (nearRight ? -60 : 30), client - 6), size);
    }
}

bool CanvasEdgeDrag::Release(QPoint p) {
    if (!active_) return false;
    const IntRect feedback = FeedbackRect();
    active_ = false;
    view_.FeedbackChanged(feedback, {});
    const bool width = edge_ == Qt::Horizontal;
    const int moved = width ? p.x() - press_.x() : p.y() - press_.y();
    if (std::abs(moved) < kClickSlop) return true;

    const auto mode = AskCanvasResizeMode(&view_);
    if (!mode) return true;
    const Qt::Orientation axis = width ? Qt::Horizontal : Qt::Vertical;
    ResizeCanvas(view_.Edited(), axis,
                 CanvasSizeForEdge(view_.Doc(), axis, width ? p.x() : p.y(), *mode), *mode);
    return true;
}

}  // namespace tessaly
