#include "canvas/multi_cut_overlay.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cstdint>

#include "canvas/colour_ref.h"
#include "canvas/line_styles.h"
#include "canvas/multi_cut_grid.h"
#include "canvas/view_geometry.h"
#include "services/app_settings.h"

namespace tessaly {
namespace {

constexpr int kHighlightDarkening = 64;
constexpr int kHandleReach = 2;  // the corner squares span the corner -2..+1

QPolygon Outline(const IntRect& r) {
    return QPolygon({QPoint(r.left, r.top), QPoint(r.right, r.top), QPoint(r.right, r.bottom),
                     QPoint(r.left, r.bottom), QPoint(r.left, r.top)});
}

// Where cell `index` starts on the screen, from the first cell: the gap is
// converted at the zoom before it is spread over the cells.
int DisplayCellStart(int index, int displayCell, int gapThousandths, float zoom) {
    const auto gap = static_cast<std::int64_t>(static_cast<float>(gapThousandths) * zoom);
    return static_cast<int>(static_cast<std::int64_t>(index) * displayCell + gap * index / 1000);
}

void PaintOtherCells(QPainter& painter, const IntRect& first, const AppSettings& grid,
                     ColorRef colour, int width, float zoom) {
    if (grid.multiCntX == 1 && grid.multiCntY == 1) return;
    const int gx = GapThousandths(grid.multiMaX);
    const int gy = GapThousandths(grid.multiMaY);
    for (int row = 0; row < grid.multiCntY; ++row) {
        const int dy = DisplayCellStart(row, first.Height(), gy, zoom);
        for (int column = 0; column < grid.multiCntX; ++column) {
            if (row == 0 && column == 0) continue;
            const int dx = DisplayCellStart(column, first.Width(), gx, zoom);
            DrawStyledLine(painter, Outline(first.Translated(dx, dy)), colour, kLineSolid, width);
        }
    }
}

void PaintHighlight(QPainter& painter, const IntRect& r, CutPart part, ColorRef colour, int width) {
    if (part == CutPart::Whole) {
        DrawStyledLine(painter, Outline(r), colour, kLineSolid, width);
        return;
    }
    const CutEdges edges = EdgesOf(part);
    const std::pair<bool, QPolygon> lines[] = {
        {edges.left, QPolygon({QPoint(r.left, r.top), QPoint(r.left, r.bottom)})},
        {edges.top, QPolygon({QPoint(r.left, r.top), QPoint(r.right, r.top)})},
        {edges.right, QPolygon({QPoint(r.right, r.top), QPoint(r.right, r.bottom)})},
        {edges.bottom, QPolygon({QPoint(r.left, r.bottom), QPoint(r.right, r.bottom)})},
    };
    for (const auto& [drawn, line] : lines) {
        if (drawn) DrawStyledLine(painter, line, colour, kLineSolid, width);
    }
}

void PaintCornerHandles(QPainter& painter, const IntRect& r, ColorRef colour) {
    if (colour == kColorNone) return;
    for (const QPoint corner : {QPoint(r.left, r.top), QPoint(r.right, r.top),
                                QPoint(r.right, r.bottom), QPoint(r.left, r.bottom)}) {
        painter.fillRect(QRect(corner.x() - kHandleReach, corner.y() - kHandleReach,
                               2 * kHandleReach, 2 * kHandleReach),
                         QColorOf(colour));
    }
}

}  // namespace

ColorRef HighlightColour(ColorRef c) {
    if (c == 0 || c == kColorNone) return MakeColorRef(128, 128, 128);
    const auto darker = [](int channel) { return std::max(channel - kHighlightDarkening, 0); };
    return MakeColorRef(darker(ColorRed(c)), darker(ColorGreen(c)), darker(ColorBlue(c)));
}

void PaintCutOverlay(QPainter& painter, const CutOverlay& overlay, const AppSettings& grid,
                     float zoom) {
    const IntRect first = CutDisplayRect(overlay.rect, zoom);
    const int width = std::max(1, CanvasToView(zoom, overlay.lineWidth));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    PaintOtherCells(painter, first, grid, overlay.lineColour, width, zoom);

    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.fillRect(first.ToQRect(), Qt::black);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    DrawStyledLine(painter, Outline(first), overlay.lineColour, kLineDot, width);

    PaintHighlight(painter, first, overlay.highlighted, HighlightColour(overlay.lineColour), width);
    PaintCornerHandles(painter, first, overlay.lineColour);
    painter.restore();
}

}  // namespace tessaly
