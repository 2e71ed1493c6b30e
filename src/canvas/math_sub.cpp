#include "canvas/math_sub.h"

#include <climits>
#include <cmath>
#include <numbers>

namespace tessaly {
namespace {

// Truncation toward zero that stays defined for values no int can hold.
int TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

double SquaredDistance(QPoint a, QPoint b) {
    const double dx = static_cast<double>(b.x()) - a.x();
    const double dy = static_cast<double>(b.y()) - a.y();
    return dx * dx + dy * dy;
}

}  // namespace

int CMathSub::Distance(QPoint a, QPoint b) {
    return TruncToInt(std::sqrt(SquaredDistance(a, b)));
}

QPoint CMathSub::RotateAboutCentre(QPoint p, double angle, QPoint c) {
    if (angle == 2.0 * std::numbers::pi) return p;
    const double dx = static_cast<double>(p.x()) - c.x();
    const double dy = static_cast<double>(p.y()) - c.y();
    const double r = std::sqrt(dx * dx + dy * dy);
    const double theta = std::atan2(dy, dx) + angle;
    return {c.x() + TruncToInt(std::cos(theta) * r), c.y() + TruncToInt(std::sin(theta) * r)};
}

QPoint CMathSub::PointAlong(QPoint a, QPoint b, int d) {
    if (d == 0 || a == b) return a;
    // Two distinct integer points are at least 1 apart, so the divisor is
    // never 0 here.
    const float t = static_cast<float>(d) / static_cast<float>(Distance(b, a));
    const float x = t * static_cast<float>(b.x() - a.x());
    const float y = t * static_cast<float>(b.y() - a.y());
    return {a.x() + TruncToInt(x), a.y() + TruncToInt(y)};
}

QPoint CMathSub::FootOfPerpendicular(QPoint p, QPoint a, QPoint b) {
    if (a == b) return a;
    const double f = SquaredDistance(a, b) + SquaredDistance(p, a) - SquaredDistance(p, b);
    const double g = std::sqrt(SquaredDistance(a, b));
    return PointAlong(a, b, TruncToInt(f / (2.0 * g)));
}

}  // namespace tessaly
