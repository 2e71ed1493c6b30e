#pragma once

#include <QRect>
#include <algorithm>

namespace tessaly {

// A rectangle by its edges, the far ones exclusive: right = left + width.
// Geometry of the canvas is stated this way; QRect's right() is one less,
// so conversions go through ToQRect only.
struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    IntRect Translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // The smallest rectangle holding both; an empty one adds nothing.
    IntRect United(const IntRect& other) const {
        if (other.IsEmpty()) return *this;
        if (IsEmpty()) return other;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }

    // The part both cover; empty (IsEmpty) when they do not meet.
    IntRect Intersected(const IntRect& other) const {
        return {std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    }

    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }

    friend bool operator==(const IntRect&, const IntRect&) = default;
};

}  // namespace tessaly
