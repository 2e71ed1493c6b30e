#pragma once

#include <QPoint>

namespace tessaly {

// Integer-point geometry shared by the zoom console and the hover animation.
// Each operation keeps the precision it has always had (double or single),
// because callers rely on the exact truncated results.
class CMathSub {
public:
    // trunc(|b - a|), in double precision.
    static int Distance(QPoint a, QPoint b);

    // `p` turned by `angle` radians about `c` (clockwise on the screen for a
    // positive angle, since y grows downwards), each offset truncated toward
    // zero. A turn of exactly 2 pi returns `p` itself.
    static QPoint RotateAboutCentre(QPoint p, double angle, QPoint c);

    // The point `d` whole pixels from `a` towards `b` (behind `a` for a
    // negative `d`), in single precision; `a` when d is 0 or a equals b.
    // The step is measured against the truncated Distance(b, a).
    static QPoint PointAlong(QPoint a, QPoint b, int d);

    // The projection of `p` onto the line through `a` and `b`, found as the
    // PointAlong at the truncated signed distance from `a`. `a` when a
    // equals b, where there is no line.
    static QPoint FootOfPerpendicular(QPoint p, QPoint a, QPoint b);
};

}  // namespace tessaly
