#include "canvas/line_styles.h"

#include <QLineF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygon>
#include <QRectF>
#include <algorithm>
#include <array>

namespace tessaly {
namespace {

// Run lengths of a list picture, on and off in turn, repeated across; no
// runs is a solid bar.
struct SampleRuns {
    std::array<int, 6> runs;
    int count;
};

struct StyleEntry {
    const char16_t* name;
    Qt::PenStyle pen;
    SampleRuns sample;
};

// One row per style value, in list order.
const std::array<StyleEntry, kLineStyleCount> kStyles = {{
    {u"実線", Qt::SolidLine, {{}, 0}},
    {u"破線", Qt::DashLine, {{5, 3}, 2}},
    {u"点線", Qt::DotLine, {{1, 1}, 2}},
    {u"1点破線", Qt::DashDotLine, {{5, 3, 1, 3}, 4}},
    {u"2点破線", Qt::DashDotDotLine, {{5, 3, 1, 3, 1, 3}, 6}},
    {u"2重線", Qt::SolidLine, {{}, 0}},
}};

bool IsStyle(int style) {
    return style >= 0 && style < kLineStyleCount;
}

QColor ToQColor(ColorRef c) {
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

// Fills rows top..top+height-1 of the sample along the on-runs of `sample`.
void FillRuns(QPainter& painter, const SampleRuns& sample, int top, int height, const QColor& ink) {
    if (sample.count == 0) {
        painter.fillRect(QRect(0, top, kLineSampleWidth, height), ink);
        return;
    }
    for (int x = 0, k = 0; x < kLineSampleWidth; ++k) {
        const int run = sample.runs[static_cast<std::size_t>(k % sample.count)];
        if (k % 2 == 0) {
            painter.fillRect(QRect(x, top, std::min(run, kLineSampleWidth - x), height), ink);
        }
        x += run;
    }
}

// The part of the painter's surface that can show anything, in its logical
// coordinates, widened to whole pixels and by `margin`.
QRectF VisibleLogicalRect(const QPainter& painter, int margin) {
    const QPaintDevice* device = painter.device();
    QRectF visible =
        painter.transform().inverted().mapRect(QRectF(0, 0, device->width(), device->height()));
    if (painter.hasClipping()) visible = visible.intersected(painter.clipBoundingRect());
    return QRectF(visible.adjusted(-margin, -margin, margin, margin).toAlignedRect());
}

// The parameter range [t0, t1] of `segment` inside `rect`; false when none.
bool ClipSegment(const QLineF& segment, const QRectF& rect, double& t0, double& t1) {
    t0 = 0.0;
    t1 = 1.0;
    const double dx = segment.dx(), dy = segment.dy();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {segment.x1() - rect.left(), rect.right() - segment.x1(),
                         segment.y1() - rect.top(), rect.bottom() - segment.y1()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    return true;
}

// Strokes a dashed polyline one segment at a time, each cut down to what the
// painter can show and started at its place in the dash pattern. Qt restarts
// the pattern where it clips a thin line at the edge of the surface, so an
// uncut line would show its dashes at places that depend on the scroll
// position; cutting it first keeps them fixed to the canvas, and also spares
// generating dashes nobody sees.
void StrokeBrokenPolyline(QPainter& painter, const QPolygon& points, QPen pen) {
    const int width = std::max(pen.width(), 1);
    const QRectF visible = VisibleLogicalRect(painter, width > 1 ? width : 0);
    double travelled = 0.0;  // pixels along the line before the current segment
    for (int i = 0; i + 1 < points.size(); ++i) {
        const QLineF segment(points[i], points[i + 1]);
        const double length = segment.length();
        double t0 = 0.0, t1 = 0.0;
        if (ClipSegment(segment, visible, t0, t1)) {
            pen.setDashOffset((travelled + t0 * length) / width);
            painter.setPen(pen);
            painter.drawLine(QLineF(segment.pointAt(t0), segment.pointAt(t1)));
        }
        travelled += length;
    }
}

}  // namespace

QString LineStyleName(int style) {
    if (!IsStyle(style)) return {};
    return QString::fromUtf16(kStyles[static_cast<std::size_t>(style)].name);
}

QImage LineStyleSample(int style, QColor ink) {
    QImage sample(kLineSampleWidth, kLineSampleHeight, QImage::Format_ARGB32_Premultiplied);
    sample.fill(Qt::transparent);
    QPainter painter(&sample);
    if (style == kLineDouble) {
        FillRuns(painter, SampleRuns{{}, 0}, 1, 2, ink);
        FillRuns(painter, SampleRuns{{}, 0}, 4, 2, ink);
    } else {
        const int row = IsStyle(style) ? style : kLineSolid;
        FillRuns(painter, kStyles[static_cast<std::size_t>(row)].sample, 2, 2, ink);
    }
    return sample;
}

void DrawStyledLine(QPainter& painter, const QPolygon& points, ColorRef colour, int style,
                    int width) {
    if (points.size() < 2 || colour == kColorNone) return;  // an invisible pen leaves no mark
    const Qt::PenStyle penStyle =
        IsStyle(style) ? kStyles[static_cast<std::size_t>(style)].pen : Qt::SolidLine;
    const int w = std::max(width, 1);
    QPen pen(ToQColor(colour), w, penStyle, Qt::RoundCap, Qt::RoundJoin);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    // Puts the edges of the stroke on pixel boundaries: a line of odd width
    // spreads evenly to both sides of the pixels its points name.
    if (w % 2 == 1) painter.translate(0.5, 0.5);
    if (penStyle == Qt::SolidLine) {
        painter.setPen(pen);
        painter.drawPolyline(points);
    } else {
        StrokeBrokenPolyline(painter, points, pen);
    }
    painter.restore();
}

void DrawFrameLine(QPainter& painter, const QPolygon& points, ColorRef colour, int style, int width,
                   float zoom) {
    const int w = width & 0xFFFF;
    const auto toView = [zoom](int v) { return static_cast<int>(static_cast<float>(v) * zoom); };
    if ((style & 0xFFFF) != kLineDouble || colour == kColorNone) {
        DrawStyledLine(painter, points, colour, style & 0xFFFF, std::max(toView(w), 1));
        return;
    }
    const int q = std::max(w / 4, 1);
    const int h = std::max(w / 2, 1);
    DrawStyledLine(painter, points, colour, kLineSolid, std::max(toView(q + 2 * h), 1));
    if (const int inner = toView(q); inner > 0) {
        DrawStyledLine(painter, points, MakeColorRef(255, 255, 255), kLineSolid, inner);
    }
}

}  // namespace tessaly
