#pragma once

#include <QColor>
#include <QPoint>
#include <array>
#include <optional>
#include <vector>

#include "canvas/int_rect.h"
#include "document/doc_state.h"

class QPainter;

namespace tessaly {

class CrtRandom;

// The hover animation: up to ten comets circle the image under the pointer on
// tilted ellipses, passing behind its right half. Everything is in client
// pixels. This file holds the geometry and the per-tick state; the view owns
// the timer and the save-under rectangle and calls DrawComets on the window.

inline constexpr int kMaxComets = 10;
inline constexpr int kCometPathLength = 64;
// Positions 0..59 of a path are shown; the comets wrap over them.
inline constexpr int kCometPathUsed = 60;
// Dots drawn per comet and tick, from the faint tail to the dark head.
inline constexpr int kCometDots = 8;
// Stands in a path for a point hidden behind the image; never drawn.
inline constexpr QPoint kHiddenCometPoint{-1, -1};

using CometPath = std::array<QPoint, kCometPathLength>;

// The part of a node the comets circle: its client rectangle, or the
// 100 x 100 square at its centre when it is both wider and higher than that.
IntRect HoverRect(const IntRect& nodeClientRect);

// The centre of the orbits: the pointer's x on the node's horizontal centre
// line. `pointer` is in view pixels, the result in client pixels.
QPoint HoverOrbitCentre(QPoint pointer, int nodeCenterY, float zoom, int canvasWidth,
                        QPoint scroll);

// Milliseconds between ticks for the "SpeedAnime" setting 0..4 (0 fastest).
int HoverTimerPeriod(int speed);

// Width of one comet dot at a zoom: 4 x zoom, at least 2.
int CometPenWidth(float zoom);

// The colour of comet k (0..9), and the next darker shade of a colour: 8 less
// in every channel, down to 0. Black and "none" give grey instead, so a comet
// never vanishes.
ColorRef CometBaseColor(int k);
ColorRef DarkerCometColor(ColorRef c);
// The eight pens of comet k, its own colour first, each one darker.
std::array<QColor, kCometDots> CometPenColors(int k);

// The path of one comet around `centre`: an ellipse with half axes
// `halfAxisX` and `halfAxisY`, turned by `tilt` radians about the centre,
// ordered clockwise on the screen from the left end (before the turn).
// Points at or right of the centre's x that fall inside `hoverRect` become
// kHiddenCometPoint. Positions 61..63 are unused and hold kHiddenCometPoint.
CometPath BuildCometPath(QPoint centre, int halfAxisX, int halfAxisY, double tilt,
                         const IntRect& hoverRect);

struct Comet {
    CometPath path{};
    int step = 0;         // path position of the head, 0..59
    int tiltDegrees = 0;  // the turn of the ellipse
    int halfAxisX = 0;    // before the turn
    int halfAxisY = 0;
    std::array<QColor, kCometDots> pens{};
};

struct CometDot {
    QPoint at;
    QColor colour;
    bool Hidden() const { return at == kHiddenCometPoint; }
};

class CometAnimation {
public:
    CometAnimation(std::vector<Comet> comets, const IntRect& bounds, int periodMs);

    const std::vector<Comet>& Comets() const { return comets_; }
    // Holds every dot the animation can draw, pen width included: the
    // rectangle to save under and restore on each tick.
    const IntRect& Bounds() const { return bounds_; }
    int PeriodMs() const { return periodMs_; }

    // The dots of this tick, per comet: tail first in the comet's own colour,
    // the head last and darkest. Hidden dots are included and must be skipped.
    std::vector<std::array<CometDot, kCometDots>> DotsToDraw() const;

    // Moves on one tick: even-numbered comets go forward, odd ones back,
    // both wrapping over positions 0..59.
    void Tick();

private:
    std::vector<Comet> comets_;
    IntRect bounds_;
    int periodMs_ = 0;
};

// Builds the animation for the hover rectangle `hoverRect` (see HoverRect)
// and the orbit centre, or nothing when the zoom is too small for orbits or
// `cometCount` is 0 or less. At most ten comets are made. `random` should
// have been seeded by the caller (from the clock in the editor); the same
// seed gives the same comets.
std::optional<CometAnimation> BuildCometAnimation(const IntRect& hoverRect, QPoint orbitCentre,
                                                  float zoom, int cometCount, int speed,
                                                  CrtRandom& random);

// Draws this tick's dots as round dots of `penWidth` pixels.
void DrawComets(QPainter& painter, const CometAnimation& animation, int penWidth);

}  // namespace tessaly
