#include "canvas/zoom_console_face.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

#include "canvas/zoom_console_geometry.h"

namespace tessaly {
namespace {

// The seven segments of a glyph: top, upper right, lower right, bottom, lower
// left, upper left, middle.
constexpr std::array<unsigned char, 10> kSegmentsOfDigit{
    0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110,
    0b1101101, 0b1111101, 0b0000111, 0b1111111, 0b1101111,
};

// One segment as a six-sided bar in a glyph box of 32 x 50.
QPolygonF Segment(int index) {
    constexpr double w = 32, h = 50, t = 6, m = 3;  // size, thickness, margin
    const double mid = h / 2;
    auto horizontal = [&](double y) {
        return QPolygonF({{m + t / 2, y}, {m + t, y - t / 2}, {w - m - t, y - t / 2},
                          {w - m - t / 2, y}, {w - m - t, y + t / 2}, {m + t, y + t / 2}});
    };
    auto vertical = [&](double x, double y0, double y1) {
        return QPolygonF({{x, y0 + t / 2}, {x + t / 2, y0 + t}, {x + t / 2, y1 - t},
                          {x, y1 - t / 2}, {x - t / 2, y1 - t}, {x - t / 2, y0 + t}});
    };
    switch (index) {
        case 0: return horizontal(m + t / 2);
        case 1: return vertical(w - m - t / 2, m + t / 2, mid);
        case 2: return vertical(w - m - t / 2, mid, h - m - t / 2);
        case 3: return horizontal(h - m - t / 2);
        case 4: return vertical(m + t / 2, mid, h - m - t / 2);
        case 5: return vertical(m + t / 2, m + t / 2, mid);
        default: return horizontal(mid);
    }
}

}  // namespace

QImage DrawConsoleFace() {
    QImage face(kConsoleSize, kConsoleSize, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    QPainter p(&face);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(kConsoleRadius, kConsoleRadius);
    QRadialGradient body(centre * 0.8, kConsoleRadius);
    body.setColorAt(0.0, QColor(92, 132, 176));
    body.setColorAt(1.0, QColor(24, 48, 84));
    p.setPen(QPen(QColor(12, 24, 44), 2));
    p.setBrush(body);
    p.drawEllipse(centre, kConsoleRadius - 1, kConsoleRadius - 1);

    // The window the percentage is printed in.
    QLinearGradient glass(0, 36, 0, 94);
    glass.setColorAt(0.0, QColor(16, 28, 20));
    glass.setColorAt(1.0, QColor(36, 56, 40));
    p.setPen(QPen(QColor(150, 180, 210), 1));
    p.setBrush(glass);
    p.drawRoundedRect(QRectF(11.5, 36.5, 107, 57), 6, 6);

    // Plus at the top, minus at the bottom, where their zones are.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 242, 250));
    p.drawRoundedRect(QRectF(59, 6, 12, 28), 2, 2);
    p.drawRoundedRect(QRectF(51, 14, 28, 12), 2, 2);
    p.drawRoundedRect(QRectF(51, 104, 28, 12), 2, 2);
    return face;
}

QImage DrawDigitStrip() {
    QImage strip(10 * kDigitGlyphWidth, kDigitGlyphHeight, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 255, 150));
    for (int digit = 0; digit < 10; ++digit) {
        p.save();
        p.translate(digit * kDigitGlyphWidth, 0);
        for (int segment = 0; segment < 7; ++segment) {
            if (kSegmentsOfDigit[static_cast<std::size_t>(digit)] & (1 << segment)) {
                p.drawPolygon(Segment(segment));
            }
        }
        p.restore();
    }
    return strip;
}

QImage ComposeConsole(const QImage& face, const QImage& digitStrip, int percent) {
    QImage work = face.copy();
    QPainter p(&work);
    for (const ConsoleGlyph& glyph : ConsoleGlyphs(percent)) {
        p.drawImage(glyph.target, digitStrip, glyph.source);
    }
    return work;
}

}  // namespace tessaly
