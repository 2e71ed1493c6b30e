#include "canvas/histogram_painter.h"

#include <QColor>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <span>

#include "canvas/line_styles.h"
#include "image/ui_font.h"

namespace tessaly {
namespace {

using Bins = std::span<const std::int32_t, kHistogramBins>;

constexpr int kGraphWidth = 512;
constexpr int kChannelBins = 256;

struct Channel {
    int first;  // index of the channel's bin 0 in the histogram
    QColor fill;
    QColor line;
};

// Drawn in this order, so red lies on top.
constexpr Channel kChannels[] = {
    {2 * kChannelBins, QColor(200, 200, 255), QColor(0, 0, 255)},
    {1 * kChannelBins, QColor(200, 255, 200), QColor(0, 128, 0)},
    {0 * kChannelBins, QColor(255, 200, 200), QColor(255, 0, 0)},
};

// The curve of one channel: from the bottom-left corner along the 256
// values, two pixels apart, to the bottom-right corner.
QPolygon ChannelCurve(Bins bins, const Channel& channel, const QRect& graph, float scale) {
    const int bottom = graph.y() + graph.height();
    QPolygon curve;
    curve.reserve(kChannelBins + 2);
    curve << QPoint(graph.x(), bottom);
    for (int v = 0; v < kChannelBins; ++v) {
        const int value = std::max(bins[static_cast<std::size_t>(channel.first + v)], 0);
        curve << QPoint(graph.x() + 2 * v, bottom - static_cast<int>(value * scale));
    }
    curve << QPoint(graph.x() + kGraphWidth, bottom);
    return curve;
}

void PaintGraph(QPainter& painter, const QRect& graph, const QColor& ground, Bins bins,
                double zoom) {
    painter.fillRect(graph, ground);
    const std::int32_t largest = *std::max_element(bins.begin(), bins.end());
    // A graph of zeros keeps scale 0: flat lines along the bottom.
    const float scale =
        largest > 0 ? static_cast<float>(graph.height()) / static_cast<float>(largest) : 0.0f;
    QPolygon curves[3];
    for (int c = 0; c < 3; ++c)
        curves[c] = ChannelCurve(bins, kChannels[c], graph, scale);

    painter.save();
    painter.setPen(Qt::NoPen);
    for (int c = 0; c < 3; ++c) {
        painter.setBrush(kChannels[c].fill);
        painter.drawPolygon(curves[c]);
    }
    painter.setBrush(Qt::NoBrush);
    for (int c = 0; c < 3; ++c) {
        painter.setPen(QPen(kChannels[c].line, 1));
        painter.drawPolyline(curves[c]);
    }
    painter.restore();

    // A black line with a white one of the zoom's whole part along its middle.
    const int right = graph.x() + graph.width();
    const int bottom = graph.y() + graph.height();
    const QPolygon outline{QPoint(graph.x(), graph.y()), QPoint(right, graph.y()),
                           QPoint(right, bottom), QPoint(graph.x(), bottom),
                           QPoint(graph.x(), graph.y())};
    DrawStyledLine(painter, outline, MakeColorRef(0, 0, 0), kLineSolid,
                   std::max(1, static_cast<int>(3 * zoom)));
    if (const int inner = static_cast<int>(zoom); inner != 0) {
        DrawStyledLine(painter, outline, MakeColorRef(255, 255, 255), kLineSolid, inner);
    }
}

void PaintCaption(QPainter& painter, const QRect& box, const QString& text, int points, bool bold,
                  const QColor& colour, Qt::Alignment vertical) {
    painter.setFont(CreateUiFont(painter.device(), QStringLiteral("MS UI Gothic"), points, bold));
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignHCenter | vertical | Qt::TextSingleLine, text);
}

}  // namespace

HistogramGraphs PaintHistogramPanel(QPainter& painter, const QRect& panel,
                                    const std::int32_t (*background)[kHistogramBins],
                                    const ColourHistogram& images, double zoom) {
    painter.save();
    painter.setClipRect(panel, Qt::IntersectClip);
    painter.fillRect(panel, Qt::black);
    HistogramGraphs graphs;
    if (background == nullptr) {
        painter.restore();
        return graphs;
    }
    const int left = panel.x(), top = panel.y();
    const int right = left + panel.width(), bottom = top + panel.height();
    const int gx = left + (right - left - kGraphWidth) / 2;
    // A panel too low for both graphs gets graphs of no height.
    const int gh = std::max((bottom - top - 130) / 2, 0);
    graphs.upper = QRect(gx, top + 60, kGraphWidth, gh);
    graphs.lower = QRect(gx, top + gh + 90, kGraphWidth, gh);

    PaintGraph(painter, graphs.upper, QColor(255, 255, 240), Bins(*background), zoom);
    PaintGraph(painter, graphs.lower, QColor(255, 255, 225), Bins(images), zoom);

    const QColor captionColour(142, 255, 142);
    const int upperBottom = top + 60 + gh, lowerBottom = top + 2 * gh + 90;
    PaintCaption(painter, QRect(left, top, right - left, 55),
                 QStringLiteral("カラーヒストグラム比較"), 22, true, QColor(255, 255, 200),
                 Qt::AlignBottom);
    PaintCaption(painter, QRect(left, upperBottom + 5, right - left, 25),
                 QStringLiteral("背景イメージ"), 12, false, captionColour, Qt::AlignVCenter);
    PaintCaption(painter, QRect(left, lowerBottom + 5, right - left, bottom - lowerBottom - 5),
                 QStringLiteral("構成イメージ"), 12, false, captionColour, Qt::AlignVCenter);
    painter.restore();
    return graphs;
}

}  // namespace tessaly
