#include "view/canvas_cursors.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QTransform>
#include <QtMath>
#include <array>
#include <cmath>
#include <optional>

namespace tessaly {
namespace {

constexpr int kSide = 32;  // every drawn cursor is kSide x kSide pixels
constexpr QPointF kMiddle(kSide / 2.0, kSide / 2.0);
constexpr int kRoleCount = static_cast<int>(CanvasCursor::SizeNwSe) + 1;

// The hand points straight up; its fingertip is the hot spot.
constexpr QPoint kFingertip(12, 2);

const QColor kBlockedRed(214, 38, 38);

struct Picture {
    QPixmap pixmap;
    QPoint hotSpot;
};

std::optional<Qt::CursorShape> PlatformShape(CanvasCursor role) {
    switch (role) {
        case CanvasCursor::Arrow:
            return Qt::ArrowCursor;
        case CanvasCursor::Hand:
            return Qt::PointingHandCursor;
        case CanvasCursor::SplitLeftRight:
            return Qt::SplitHCursor;
        case CanvasCursor::SplitUpDown:
            return Qt::SplitVCursor;
        case CanvasCursor::SizeNorthSouth:
            return Qt::SizeVerCursor;
        case CanvasCursor::SizeWestEast:
            return Qt::SizeHorCursor;
        case CanvasCursor::SizeNeSw:
            return Qt::SizeBDiagCursor;
        case CanvasCursor::SizeNwSe:
            return Qt::SizeFDiagCursor;
        case CanvasCursor::Move:
        case CanvasCursor::Blocked:
        case CanvasCursor::ZoomIn:
        case CanvasCursor::ZoomOut:
        case CanvasCursor::Dial:
            break;
    }
    return std::nullopt;
}

QPainterPath Rounded(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath Triangle(QPointF a, QPointF b, QPointF c) {
    QPainterPath path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

// An arrow head whose tip lies `length` ahead of `base` along the unit
// vector `direction`.
QPainterPath ArrowHead(QPointF base, QPointF direction, qreal length, qreal halfWidth) {
    const QPointF across(-direction.y(), direction.x());
    return Triangle(base + direction * length, base + across * halfWidth,
                    base - across * halfWidth);
}

// Lines of a picture turned into an area that can be filled and outlined.
QPainterPath Thick(const QPainterPath& lines, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(lines);
}

// Solid black with a white rim, like the platform's own arrows.
void DrawInk(QPainter& painter, const QPainterPath& ink) {
    painter.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(ink);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(ink);
}

// A white shape with a black outline and a white rim outside that.
void DrawOutlinedShape(QPainter& painter, const QPainterPath& shape) {
    painter.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape);
    painter.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(shape);
}

// A hand pointing up with its index finger, drawn in the full 32x32 square
// with the fingertip at kFingertip; `placement` moves and scales it while the
// lines keep their width.
void DrawHand(QPainter& painter, const QTransform& placement = {}) {
    QPainterPath hand = Rounded(QRectF(10.0, 1.5, 4.5, 16.0), 2.25);  // index finger
    hand = hand.united(Rounded(QRectF(14.5, 10.0, 4.0, 10.0), 2.0));
    hand = hand.united(Rounded(QRectF(18.5, 11.0, 4.0, 9.0), 2.0));
    hand = hand.united(Rounded(QRectF(22.5, 12.5, 3.5, 8.0), 1.75));
    hand = hand.united(Rounded(QRectF(10.0, 15.0, 16.0, 10.0), 3.0));  // palm
    hand = hand.united(Rounded(QRectF(11.5, 21.0, 13.0, 8.5), 2.0));   // wrist
    QTransform toThumb;
    toThumb.translate(11.5, 22.5);
    toThumb.rotate(210.0);
    hand = hand.united(toThumb.map(Rounded(QRectF(0.0, -2.25, 9.0, 4.5), 2.25)));
    DrawOutlinedShape(painter, placement.map(hand));

    // The gaps between the folded fingers.
    QPainterPath gaps;
    gaps.moveTo(14.5, 12.0);
    gaps.lineTo(14.5, 16.5);
    gaps.moveTo(18.5, 13.0);
    gaps.lineTo(18.5, 17.0);
    gaps.moveTo(22.5, 14.5);
    gaps.lineTo(22.5, 17.5);
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(placement.map(gaps));
}

// The round badge of the zoom cursors, beside the raised finger.
void DrawZoomBadge(QPainter& painter, bool plus) {
    const QPointF centre(24.5, 7.0);
    constexpr qreal kRadius = 6.0;
    constexpr qreal kArm = 3.5;
    QPainterPath badge;
    badge.addEllipse(centre, kRadius, kRadius);
    DrawOutlinedShape(painter, badge);
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(centre - QPointF(kArm, 0.0), centre + QPointF(kArm, 0.0));
    if (plus) painter.drawLine(centre - QPointF(0.0, kArm), centre + QPointF(0.0, kArm));
}

void DrawMove(QPainter& painter) {
    constexpr qreal kReach = 14.5;  // centre to arrow tip
    constexpr qreal kHead = 5.5;
    QPainterPath stems;
    stems.moveTo(kMiddle.x(), kMiddle.y() - kReach + kHead);
    stems.lineTo(kMiddle.x(), kMiddle.y() + kReach - kHead);
    stems.moveTo(kMiddle.x() - kReach + kHead, kMiddle.y());
    stems.lineTo(kMiddle.x() + kReach - kHead, kMiddle.y());
    QPainterPath ink = Thick(stems, 2.5);
    for (const QPointF direction : {QPointF(0, -1), QPointF(1, 0), QPointF(0, 1), QPointF(-1, 0)}) {
        const QPointF base = kMiddle + direction * (kReach - kHead);
        ink = ink.united(ArrowHead(base, direction, kHead, 4.5));
    }
    DrawInk(painter, ink);

    // A small hand over the crossing, between the arrow heads.
    constexpr qreal kScale = 0.52;
    QTransform toMiddle;
    toMiddle.translate(kMiddle.x() - 15.0 * kScale, kMiddle.y() - 15.5 * kScale);
    toMiddle.scale(kScale, kScale);
    DrawHand(painter, toMiddle);
}

void DrawBlocked(QPainter& painter) {
    constexpr qreal kOuter = 12.0;
    constexpr qreal kInner = 8.0;
    QPainterPath ring;
    ring.addEllipse(kMiddle, kOuter, kOuter);
    QPainterPath hole;
    hole.addEllipse(kMiddle, kInner, kInner);
    QTransform diagonal;
    diagonal.translate(kMiddle.x(), kMiddle.y());
    diagonal.rotate(45.0);
    const QRectF across(-kInner - 1.0, -2.0, 2.0 * kInner + 2.0, 4.0);  // reaches into the ring
    const QPainterPath bar = diagonal.map(Rounded(across, 0.5));
    const QPainterPath sign = ring.subtracted(hole).united(bar);

    painter.setPen(QPen(Qt::white, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(sign);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBlockedRed);
    painter.drawPath(sign);
}

// An arrow running clockwise round the centre, open at the top, its head at
// the upper left pointing into the gap.
void DrawDial(QPainter& painter) {
    constexpr qreal kRadius = 10.0;
    constexpr qreal kStart = 60.0;  // degrees, counter-clockwise from three o'clock
    constexpr qreal kSweep = -300.0;
    const QRectF circle(kMiddle - QPointF(kRadius, kRadius), QSizeF(2 * kRadius, 2 * kRadius));
    QPainterPath arc;
    arc.arcMoveTo(circle, kStart);
    arc.arcTo(circle, kStart, kSweep);

    const qreal end = qDegreesToRadians(kStart + kSweep);
    const QPointF endPoint = kMiddle + kRadius * QPointF(std::cos(end), -std::sin(end));
    // Clockwise travel on screen, where y grows downwards.
    const QPointF heading(std::sin(end), std::cos(end));
    const QPainterPath head = ArrowHead(endPoint - heading * 1.5, heading, 7.0, 5.0);
    DrawInk(painter, Thick(arc, 3.0).united(head));
}

Picture Draw(CanvasCursor role) {
    QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPoint hotSpot = kMiddle.toPoint();
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        switch (role) {
            case CanvasCursor::Move:
                DrawMove(painter);
                break;
            case CanvasCursor::Blocked:
                DrawBlocked(painter);
                break;
            case CanvasCursor::ZoomIn:
            case CanvasCursor::ZoomOut:
                DrawHand(painter);
                DrawZoomBadge(painter, role == CanvasCursor::ZoomIn);
                hotSpot = kFingertip;
                break;
            case CanvasCursor::Dial:
                DrawDial(painter);
                break;
            default:
                break;
        }
    }
    return {QPixmap::fromImage(image), hotSpot};
}

QCursor MakeCursor(CanvasCursor role) {
    if (const std::optional<Qt::CursorShape> shape = PlatformShape(role)) return QCursor(*shape);
    const Picture picture = Draw(role);
    return QCursor(picture.pixmap, picture.hotSpot.x(), picture.hotSpot.y());
}

}  // namespace

const QCursor& CursorFor(CanvasCursor role) {
    Q_ASSERT_X(qGuiApp != nullptr, "CursorFor", "cursors need a QGuiApplication");
    static const std::array<QCursor, kRoleCount> cursors = [] {
        std::array<QCursor, kRoleCount> made;
        for (int i = 0; i < kRoleCount; ++i) {
            made[i] = MakeCursor(static_cast<CanvasCursor>(i));
        }
        return made;
    }();
    const int index = static_cast<int>(role);
    if (index < 0 || index >= kRoleCount) return cursors[static_cast<int>(CanvasCursor::Arrow)];
    return cursors[index];
}

CanvasCursor HandleCursor(Handle handle) {
    switch (handle) {
        case Handle::TopLeft:
        case Handle::BottomRight:
            return CanvasCursor::SizeNwSe;
        case Handle::TopRight:
        case Handle::BottomLeft:
            return CanvasCursor::SizeNeSw;
        case Handle::Top:
        case Handle::Bottom:
            return CanvasCursor::SizeNorthSouth;
        case Handle::Right:
        case Handle::Left:
            return CanvasCursor::SizeWestEast;
    }
    return CanvasCursor::Arrow;
}

}  // namespace tessaly
