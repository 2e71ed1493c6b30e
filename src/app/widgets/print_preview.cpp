#include "app/widgets/print_preview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace tessaly {
namespace {

const QColor kBackdrop(247, 247, 247);
const QColor kShadow(128, 128, 128);
const QColor kSheetOutline(192, 192, 192);
const QColor kDragLine(198, 198, 198);
constexpr int kHitPixels = 3;

bool IsVertical(int side) { return side == PrintPreview::kLeft || side == PrintPreview::kRight; }

}  // namespace

PrintPreview::PrintPreview(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(200, 200);
}

void PrintPreview::SetPage(Page page) {
    page_ = std::move(page);
    update();
}

void PrintPreview::SetShowMargins(bool show) {
    showMargins_ = show;
    if (!show) {
        dragging_ = kNone;
        unsetCursor();
    }
    update();
}

void PrintPreview::SetDragLimits(int minimumX, int minimumY, int maximumX, int maximumY) {
    minX_ = minimumX;
    minY_ = minimumY;
    maxX_ = maximumX;
    maxY_ = maximumY;
}

QRect PrintPreview::Box() const { return MarginBox(page_.sheet, page_.margins); }

void PrintPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackdrop);
    if (page_.sheet.isEmpty()) return;
    painter.fillRect(page_.sheet.translated(5, 5), kShadow);
    painter.fillRect(page_.sheet, Qt::white);
    painter.setPen(kSheetOutline);
    painter.drawRect(page_.sheet.adjusted(0, 0, -1, -1));

    const QRect box = Box();
    if (!page_.picture.isNull() && !box.isEmpty()) {
        painter.save();
        painter.setClipRect(box);
        if (page_.onePage) {
            const QSize size = page_.picture.size();
            painter.drawImage(QPoint(box.left() + (box.width() - size.width()) / 2,
                                     box.top() + (box.height() - size.height()) / 2),
                              page_.picture);
        } else {
            const QRect source = TileSource(page_.page, page_.across, box.size());
            painter.drawImage(box.topLeft(), page_.picture, source);
        }
        painter.restore();
    }
    if (!showMargins_) return;
    const QRect& sheet = page_.sheet;
    // Silver rather than the backdrop's grey, which would vanish on the white sheet.
    painter.setPen(QPen(kSheetOutline, 1, Qt::DotLine));
    const int right = box.left() + box.width();
    const int bottom = box.top() + box.height();
    painter.drawLine(box.left(), sheet.top(), box.left(), sheet.bottom());
    painter.drawLine(right, sheet.top(), right, sheet.bottom());
    painter.drawLine(sheet.left(), box.top(), sheet.right(), box.top());
    painter.drawLine(sheet.left(), bottom, sheet.right(), bottom);
    if (dragging_ != kNone) {
        painter.setPen(QPen(kDragLine.darker(150), 1, Qt::DotLine));
        const int d = dragPixels_;
        switch (dragging_) {
            case kLeft:
                painter.drawLine(sheet.left() + d, sheet.top(), sheet.left() + d, sheet.bottom());
                break;
            case kRight:
                painter.drawLine(sheet.right() + 1 - d, sheet.top(), sheet.right() + 1 - d, sheet.bottom());
                break;
            case kTop:
                painter.drawLine(sheet.left(), sheet.top() + d, sheet.right(), sheet.top() + d);
                break;
            default:
                painter.drawLine(sheet.left(), sheet.bottom() + 1 - d, sheet.right(), sheet.bottom() + 1 - d);
                break;
        }
    }
}

PrintPreview::Side PrintPreview::HitSide(QPoint p) const {
    const QRect box = Box();
    if (!showMargins_ || box.isEmpty() || !page_.sheet.contains(p)) return kNone;
    if (std::abs(p.x() - box.left()) < kHitPixels) return kLeft;
    if (std::abs(p.y() - box.top()) < kHitPixels) return kTop;
    if (std::abs(p.x() - (box.left() + box.width())) < kHitPixels) return kRight;
    if (std::abs(p.y() - (box.top() + box.height())) < kHitPixels) return kBottom;
    return kNone;
}

int PrintPreview::DragDistance(QPoint p) const {
    const QRect& sheet = page_.sheet;
    int d = 0;
    switch (dragging_) {
        case kLeft: d = p.x() - sheet.left(); break;
        case kRight: d = sheet.right() + 1 - p.x(); break;
        case kTop: d = p.y() - sheet.top(); break;
        default: d = sheet.bottom() + 1 - p.y(); break;
    }
    return IsVertical(dragging_) ? std::clamp(d, minX_, std::max(minX_, maxX_))
                                 : std::clamp(d, minY_, std::max(minY_, maxY_));
}

void PrintPreview::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (dragging_ != kNone) {
        dragPixels_ = DragDistance(p);
        update();
        return;
    }
    const Side side = HitSide(p);
    if (side == kNone) {
        unsetCursor();
    } else {
        setCursor(IsVertical(side) ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    }
}

void PrintPreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = HitSide(event->position().toPoint());
    if (dragging_ != kNone) dragPixels_ = DragDistance(event->position().toPoint());
}

void PrintPreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragging_ == kNone) return;
    const int side = dragging_;
    const int pixels = DragDistance(event->position().toPoint());
    dragging_ = kNone;
    update();
    Q_EMIT marginDragged(side, pixels);
}

}  // namespace tessaly
