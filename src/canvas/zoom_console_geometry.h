#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

#include "canvas/int_rect.h"

namespace tessaly {

// Geometry of the zoom console: a round 130 x 130 widget floating over the
// canvas view at a fixed client position, with a ring of dots around it while
// its dial is shown. Everything here is in client pixels and free of widgets,
// so the view and its tests share one set of rules.

inline constexpr int kConsoleSize = 130;
inline constexpr int kConsoleRadius = 65;
// Kept free between the console and the window edges.
inline constexpr int kConsoleWindowMargin = 5;
// The dial ring zone, inclusive at both ends.
inline constexpr int kDialInnerRadius = 65;
inline constexpr int kDialOuterRadius = 73;
// The dots drawn for the dial ring.
inline constexpr int kDialDotCircleRadius = 69;
inline constexpr int kDialDotCount = 68;
inline constexpr int kDialDotSize = 5;
// A console drag shorter than this in both directions is a click and moves
// nothing.
inline constexpr int kConsoleClickSlop = 4;
// Where the console sits in a new document and after "show at top left".
inline constexpr int kConsoleHomeX = 79;
inline constexpr int kConsoleHomeY = 79;

// The digit strip: ten glyphs "0".."9" side by side.
inline constexpr int kDigitGlyphWidth = 32;
inline constexpr int kDigitGlyphHeight = 50;
inline constexpr int kDigitGlyphPitch = 34;
inline constexpr int kDigitGlyphTop = 40;

// Keeps the console inside `client` with a 5-pixel margin. When the window is
// too small for that, the left and top bounds win.
QPoint ClampConsoleCentre(QPoint centre, const IntRect& client);

// The 130 x 130 square the console covers.
IntRect ConsoleRect(QPoint centre);

enum class ConsoleZone { Outside, Body, Plus, Minus };

// What a client point `q` hits on a console centred at `centre`. The dial
// ring is not a zone of its own: callers ask InDialRing first while it shows.
ConsoleZone ConsoleZoneAt(QPoint q, QPoint centre);

// Whether `q` is on the dial ring (65..73 pixels from the centre).
bool InDialRing(QPoint q, QPoint centre);

// The zoom change, in percentage points, of one pointer move during a dial
// drag: the angle turned about the centre times 100, truncated. Turning
// clockwise on the screen zooms in. The turn is taken the short way round, so
// crossing the left of the centre (where the angle wraps from pi to -pi) is a
// small step like any other.
int DialZoomDelta(QPoint last, QPoint now, QPoint centre);

// Whether a console drag from `press` to `release` was only a click.
bool IsConsoleClick(QPoint press, QPoint release);

// The x of the first glyph for a text of `digitCount` digits, so that 1 to 3
// digits stay centred on the face.
int ConsoleDigitsX(int digitCount);

// One glyph of the percentage (ZoomPercent of the zoom): which part of the
// digit strip goes where on the console's work surface.
struct ConsoleGlyph {
    int digit = 0;
    QRect source;  // in the digit strip
    QRect target;  // on the 130 x 130 work surface
};
std::vector<ConsoleGlyph> ConsoleGlyphs(int percent);

// Dot j (1..68) of the dial ring, clockwise from just below the right end,
// and its colour, from dark olive to bright yellow.
QPoint DialDotCentre(QPoint centre, int j);
QColor DialDotColor(int j);

}  // namespace tessaly
