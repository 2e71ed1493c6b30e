#include "canvas/zoom_console_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "canvas/math_sub.h"

namespace tessaly {

QPoint ClampConsoleCentre(QPoint centre, const IntRect& client) {
    const int left = client.left + kConsoleWindowMargin;
    const int top = client.top + kConsoleWindowMargin;
    const int right = client.right - kConsoleWindowMargin;
    const int bottom = client.bottom - kConsoleWindowMargin;
    // min first, then max: in a window too small for the console the left
    // and top bounds decide.
    int x = std::min(centre.x(), right - kConsoleRadius);
    x = std::max(x, left + kConsoleRadius);
    int y = std::min(centre.y(), bottom - kConsoleRadius);
    y = std::max(y, top + kConsoleRadius);
    return {x, y};
}

IntRect ConsoleRect(QPoint centre) {
    const int left = centre.x() - kConsoleRadius;
    const int top = centre.y() - kConsoleRadius;
    return {left, top, left + kConsoleSize, top + kConsoleSize};
}

ConsoleZone ConsoleZoneAt(QPoint q, QPoint centre) {
    if (CMathSub::Distance(q, centre) > kConsoleRadius) return ConsoleZone::Outside;
    // (u, v): the point on the 130 x 130 face.
    const int u = q.x() - centre.x() + kConsoleRadius;
    const int v = q.y() - centre.y() + kConsoleRadius;
    const bool plusBar = 59 <= u && u < 71 && 5 <= v && v < 35;
    const bool plusCross = 50 <= u && u < 80 && 14 <= v && v < 26;
    if (plusBar || plusCross) return ConsoleZone::Plus;
    if (50 <= u && u < 80 && 104 <= v && v < 116) return ConsoleZone::Minus;
    return ConsoleZone::Body;
}

bool InDialRing(QPoint q, QPoint centre) {
    const int d = CMathSub::Distance(q, centre);
    return kDialInnerRadius <= d && d <= kDialOuterRadius;
}

int DialZoomDelta(QPoint last, QPoint now, QPoint centre) {
    const double a0 = std::atan2(static_cast<double>(last.y() - centre.y()),
                                 static_cast<double>(last.x() - centre.x()));
    const double a1 = std::atan2(static_cast<double>(now.y() - centre.y()),
                                 static_cast<double>(now.x() - centre.x()));
    double turn = a1 - a0;
    // Both angles lie in (-pi, pi]; without this a tiny clockwise move across
    // the left of the centre would read as almost a full turn backwards and
    // throw the zoom to its minimum.
    if (turn > std::numbers::pi) {
        turn -= 2.0 * std::numbers::pi;
    } else if (turn <= -std::numbers::pi) {
        turn += 2.0 * std::numbers::pi;
    }
    return static_cast<int>(turn * 100.0);
}

bool IsConsoleClick(QPoint press, QPoint release) {
    return std::abs(release.x() - press.x()) < kConsoleClickSlop &&
           std::abs(release.y() - press.y()) < kConsoleClickSlop;
}

int ConsoleDigitsX(int digitCount) {
    if (digitCount <= 1) return 49;
    if (digitCount == 2) return 31;
    return 15;
}

std::vector<ConsoleGlyph> ConsoleGlyphs(int percent) {
    const QString text = QString::number(percent);
    std::vector<ConsoleGlyph> glyphs;
    const int x0 = ConsoleDigitsX(static_cast<int>(text.size()));
    for (qsizetype k = 0; k < text.size(); ++k) {
        // A minus sign (never produced by a clamped zoom) has no glyph.
        const int digit = text.at(k).digitValue();
        if (digit < 0) continue;
        const int x = x0 + kDigitGlyphPitch * static_cast<int>(k);
        glyphs.push_back({digit,
                          QRect(digit * kDigitGlyphWidth, 0, kDigitGlyphWidth, kDigitGlyphHeight),
                          QRect(x, kDigitGlyphTop, kDigitGlyphWidth, kDigitGlyphHeight)});
    }
    return glyphs;
}

QPoint DialDotCentre(QPoint centre, int j) {
    // 69 divisions for 68 dots: the missing one leaves the gap at the right
    // end that shows where the ring starts.
    const double angle = 2.0 * std::numbers::pi * j / 69.0;
    return {centre.x() + static_cast<int>(std::cos(angle) * kDialDotCircleRadius),
            centre.y() + static_cast<int>(std::sin(angle) * kDialDotCircleRadius)};
}

QColor DialDotColor(int j) {
    const int level = std::clamp(98 + 2 * j, 0, 255);
    return QColor(level, level, 0);
}

}  // namespace tessaly
