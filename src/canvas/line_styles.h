#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include "document/doc_state.h"

class QPainter;
class QPolygon;

namespace tessaly {

// The frame-line styles of the canvas frame and the image frames. The value
// is what the document stores (canvasLineStyle, imageFrameStyle) and the
// position of the entry in both style lists.
enum LineStyle : int {
    kLineSolid = 0,
    kLineDash = 1,
    kLineDot = 2,
    kLineDashDot = 3,
    kLineDashDotDot = 4,
    kLineDouble = 5,
};
inline constexpr int kLineStyleCount = 6;

// The name a list shows for a style; empty for a value that is no style.
QString LineStyleName(int style);

// Size of the picture that stands beside each name in the style lists.
inline constexpr int kLineSampleWidth = 48;
inline constexpr int kLineSampleHeight = 6;

// The 48 x 6 picture of a style in `ink` on a transparent ground: a 2-pixel
// bar for solid, 5-pixel dashes with gaps of 3, alternate single pixels,
// dash-dot, dash-dot-dot, and two 2-pixel bars 1 pixel apart for the double
// line. A value that is no style gives the solid picture.
QImage LineStyleSample(int style, QColor ink = QColor(0, 0, 0));

// Draws the polyline through `points` (n points give n - 1 segments) with a
// pen of the colour (kColorNone gives an invisible pen), the style's dash
// pattern and `width` pixels; round caps and joins, nothing filled. The width
// is already in device pixels. Style 5 and unknown values draw solid here;
// the double line is DrawFrameLine's business. The painter's pen and brush
// are left as they were.
void DrawStyledLine(QPainter& painter, const QPolygon& points, ColorRef colour, int style,
                    int width);

// Draws a frame line whose width is given in canvas pixels (its low 16 bits)
// at `zoom`: at least one pixel wide. The double line is a coloured line of
// width q + 2h with a white line of width q along its middle, where
// q = max(width / 4, 1) and h = max(width / 2, 1); when the white line would
// be thinner than one pixel only the coloured line is drawn.
void DrawFrameLine(QPainter& painter, const QPolygon& points, ColorRef colour, int style, int width,
                   float zoom);

}  // namespace tessaly
