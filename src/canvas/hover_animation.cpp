#include "canvas/hover_animation.h"

#include <QPainter>
#include <QPen>
#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "canvas/math_sub.h"
#include "canvas/view_geometry.h"
#include "services/random_generator.h"

namespace tessaly {
namespace {

constexpr int kHoverSquare = 100;
constexpr ColorRef kGrey = MakeColorRef(128, 128, 128);

constexpr std::array<ColorRef, kMaxComets> kCometColors = {
    MakeColorRef(255, 192, 192), MakeColorRef(247, 192, 255), MakeColorRef(123, 192, 247),
    MakeColorRef(255, 165, 165), MakeColorRef(247, 192, 192), MakeColorRef(128, 165, 247),
    MakeColorRef(255, 123, 123), MakeColorRef(247, 192, 123), MakeColorRef(128, 243, 247),
    MakeColorRef(255, 173, 243),
};

// Points per quarter of the ellipse.
constexpr int kQuarterPoints = 16;

int Wrap(int position) {
    const int p = position % kCometPathUsed;
    return p < 0 ? p + kCometPathUsed : p;
}

QColor ToQColor(ColorRef c) {
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

}  // namespace

IntRect HoverRect(const IntRect& r) {
    if (r.Width() <= kHoverSquare || r.Height() <= kHoverSquare) return r;
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    const int half = kHoverSquare / 2;
    return {cx - half, cy - half, cx + half, cy + half};
}

QPoint HoverOrbitCentre(QPoint pointer, int nodeCenterY, float zoom, int canvasWidth,
                        QPoint scroll) {
    const int y0 = CanvasToView(zoom, nodeCenterY);
    const QPoint foot = CMathSub::FootOfPerpendicular(pointer, QPoint(0, y0),
                                                      QPoint(CanvasToView(zoom, canvasWidth), y0));
    return foot - scroll;
}

int HoverTimerPeriod(int speed) {
    return 10 * std::clamp(speed, 0, 4) + 5;
}

int CometPenWidth(float zoom) {
    return std::max(2, static_cast<int>(4.0f * zoom));
}

ColorRef CometBaseColor(int k) {
    return kCometColors[static_cast<std::size_t>(std::clamp(k, 0, kMaxComets - 1))];
}

ColorRef DarkerCometColor(ColorRef c) {
    if (c == 0 || c == kColorNone) return kGrey;
    const auto darker = [](int channel) { return channel < 8 ? 0 : channel - 8; };
    return MakeColorRef(darker(ColorRed(c)), darker(ColorGreen(c)), darker(ColorBlue(c)));
}

std::array<QColor, kCometDots> CometPenColors(int k) {
    std::array<QColor, kCometDots> pens;
    ColorRef c = CometBaseColor(k);
    for (int j = 0; j < kCometDots; ++j) {
        pens[static_cast<std::size_t>(j)] = ToQColor(c);
        c = DarkerCometColor(c);
    }
    return pens;
}

CometPath BuildCometPath(QPoint centre, int halfAxisX, int halfAxisY, double tilt,
                         const IntRect& hoverRect) {
    // The four quarters, each from the end of the horizontal axis (index 0)
    // towards the end of the vertical one (index 15).
    std::array<QPoint, kQuarterPoints> upperLeft, upperRight, lowerLeft, lowerRight;
    const auto place = [&](int offsetX, int offsetY) {
        const QPoint p = CMathSub::RotateAboutCentre(
            QPoint(centre.x() + offsetX, centre.y() + offsetY), tilt, centre);
        // Behind the right half of the image.
        if (p.x() >= centre.x() && hoverRect.Contains(p.x(), p.y())) return kHiddenCometPoint;
        return p;
    };
    const double a = halfAxisX;
    const double b = halfAxisY;
    // Tenths of a pixel, stepped around the ellipse a tenth of a radian at a
    // time, the new y feeding the new x so the orbit closes.
    double x = 10.0 * a;
    double y = 0.0;
    for (std::size_t i = 0; i < kQuarterPoints; ++i) {
        const int dx = static_cast<int>(x / 10.0);
        const int dy = static_cast<int>(y / 10.0);
        upperLeft[i] = place(-dx, -dy);
        upperRight[i] = place(dx, -dy);
        lowerLeft[i] = place(-dx, dy);
        lowerRight[i] = place(dx, dy);
        y = y + x * b / a / 10.0;
        x = x - y * a / b / 10.0;
    }

    CometPath path;
    path.fill(kHiddenCometPoint);
    // Clockwise on the screen: up the left, down the right, back along the
    // bottom. The quarters meet at the top and bottom without repeating the
    // shared point.
    for (std::size_t i = 0; i < 15; ++i)
        path[i] = upperLeft[i];  // 0..14
    for (std::size_t i = 0; i < 16; ++i)
        path[15 + i] = upperRight[15 - i];  // 15..30
    for (std::size_t i = 0; i < 15; ++i)
        path[31 + i] = lowerRight[i];  // 31..45
    for (std::size_t i = 0; i < 15; ++i)
        path[46 + i] = lowerLeft[15 - i];  // 46..60
    return path;
}

CometAnimation::CometAnimation(std::vector<Comet> comets, const IntRect& bounds, int periodMs)
    : comets_(std::move(comets)), bounds_(bounds), periodMs_(periodMs) {}

std::vector<std::array<CometDot, kCometDots>> CometAnimation::DotsToDraw() const {
    std::vector<std::array<CometDot, kCometDots>> dots;
    dots.reserve(comets_.size());
    for (const Comet& comet : comets_) {
        std::array<CometDot, kCometDots> one;
        for (int j = 0; j < kCometDots; ++j) {
            // Wrapped into 0..59 also when the head is near position 0.
            const int position = Wrap(comet.step + j - (kCometDots - 1));
            one[static_cast<std::size_t>(j)] = {comet.path[static_cast<std::size_t>(position)],
                                                comet.pens[static_cast<std::size_t>(j)]};
        }
        dots.push_back(one);
    }
    return dots;
}

void CometAnimation::Tick() {
    for (std::size_t k = 0; k < comets_.size(); ++k) {
        Comet& comet = comets_[k];
        comet.step = Wrap(k % 2 == 0 ? comet.step + 1 : comet.step - 1);
    }
}

std::optional<CometAnimation> BuildCometAnimation(const IntRect& hoverRect, QPoint orbitCentre,
                                                  float zoom, int cometCount, int speed,
                                                  CrtRandom& random) {
    const int m = std::min(hoverRect.Width(), hoverRect.Height());
    const int start = random.Next() % 359;
    const int spreadX = static_cast<int>(10.0f * zoom);
    const int spreadY = static_cast<int>(50.0f * zoom);
    if (spreadX <= 0 || spreadY <= 0 || cometCount <= 0) return std::nullopt;
    const int n = std::min(cometCount, kMaxComets);

    std::vector<Comet> comets(static_cast<std::size_t>(n));
    int tilt = start;
    for (int k = 0; k < n; ++k) {
        Comet& comet = comets[static_cast<std::size_t>(k)];
        // A node only a pixel or two across can draw 0; an axis of 0 would
        // divide by zero in the path.
        comet.halfAxisX = std::max(1, m / 2 + random.Next() % spreadX);
        comet.halfAxisY = std::max(1, m / 2 + random.Next() % spreadY);
        if (k > 0) {
            tilt += 120 * k;
            if (tilt > 359) tilt -= 360;
        }
        comet.tiltDegrees = tilt;
        comet.path =
            BuildCometPath(orbitCentre, comet.halfAxisX, comet.halfAxisY,
                           static_cast<double>(tilt) * std::numbers::pi / 180.0, hoverRect);
        comet.pens = CometPenColors(k);
    }

    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const Comet& comet : comets) {
        for (int p = 0; p < kCometPathUsed; ++p) {
            const QPoint q = comet.path[static_cast<std::size_t>(p)];
            if (q == kHiddenCometPoint) continue;
            left = std::min(left, q.x());
            top = std::min(top, q.y());
            right = std::max(right, q.x() + 1);
            bottom = std::max(bottom, q.y() + 1);
        }
    }
    IntRect bounds;
    if (left <= right) {
        // Room for a whole dot around every point: trunc(4 x zoom), but never
        // less than the dot width, or small zooms would leave dot edges
        // behind when the rectangle is restored.
        const int grow = std::max(static_cast<int>(4.0f * zoom), CometPenWidth(zoom));
        bounds = {left - grow, top - grow, right + grow, bottom + grow};
    }
    return CometAnimation(std::move(comets), bounds, HoverTimerPeriod(speed));
}

void DrawComets(QPainter& painter, const CometAnimation& animation, int penWidth) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const auto& comet : animation.DotsToDraw()) {
        for (const CometDot& dot : comet) {
            if (dot.Hidden()) continue;
            painter.setPen(QPen(dot.colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPoint(dot.at);
        }
    }
    painter.restore();
}

}  // namespace tessaly
