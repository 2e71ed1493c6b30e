#include "canvas/canvas_renderer.h"

#include <QPainter>
#include <QPolygon>
#include <QTransform>
#include <algorithm>
#include <vector>

#include "canvas/line_styles.h"
#include "canvas/view_geometry.h"
#include "document/document.h"
#include "image/image_blob.h"

namespace tessaly {
namespace {

const QColor kMainHandleOutline(64, 128, 192);
const QColor kMainHandleFill(0, 64, 128);
const QColor kOtherHandleOutline(255, 132, 132);
const QColor kOtherHandleFill(255, 68, 68);
const ColorRef kMultiCutFrame = MakeColorRef(192, 192, 192);

QColor ToQColor(ColorRef c) {
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

bool Meets(const IntRect& a, const IntRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

IntRect Inflated(const IntRect& r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

QPolygon Outline(const IntRect& r) {
    return QPolygon({QPoint(r.left, r.top), QPoint(r.right, r.top), QPoint(r.right, r.bottom),
                     QPoint(r.left, r.bottom), QPoint(r.left, r.top)});
}

struct GridColours {
    ColorRef minor;
    ColorRef major;
};

// Darker shades of the background so the grid shows on any colour; on black
// (or no colour) both are grey.
GridColours GridColoursFor(ColorRef back) {
    if (back == 0 || back == kColorNone) {
        return {MakeColorRef(128, 128, 128), MakeColorRef(128, 128, 128)};
    }
    const auto shade = [](int c, int by) { return c >= by ? c - by : 0; };
    const int r = ColorRed(back), g = ColorGreen(back), b = ColorBlue(back);
    return {MakeColorRef(shade(r, 64), shade(g, 64), shade(b, 64)),
            MakeColorRef(shade(r, 128), shade(g, 128), shade(b, 128))};
}

struct GridLine {
    QPoint from;
    QPoint to;
};

void DrawGridLines(QPainter& painter, const std::vector<GridLine>& lines, ColorRef colour,
                   int style) {
    for (const GridLine& line : lines) {
        DrawStyledLine(painter, QPolygon({line.from, line.to}), colour, style, 1);
    }
}

// Grid lines at a fixed spacing in view pixels, whatever the zoom: every
// fifth line dashed and every tenth solid in the major colour, the others
// dotted in the minor colour; dotted first, solid last. Only the lines that
// cross `area` are drawn.
void PaintGrid(QPainter& painter, const DocState& s, int width, int height, const IntRect& area) {
    const int mode = s.gridMode;
    // Negative modes are switched off and keep their spacing for later; 0 has
    // no spacing at all.
    if (mode <= 0) return;
    const GridColours colours = GridColoursFor(s.backColor);
    if (mode >= 5) {
        DrawGridLines(painter,
                      {{QPoint(width / 2, 0), QPoint(width / 2, height)},
                       {QPoint(0, height / 2), QPoint(width, height / 2)}},
                      colours.minor, kLineDot);
        return;
    }
    const int spacing = 30 * mode - 20;
    std::vector<GridLine> dotted, dashed, solid;
    const auto add = [&](int k, GridLine line) {
        if (k % 10 == 0) {
            solid.push_back(line);
        } else if (k % 5 == 0) {
            dashed.push_back(line);
        } else {
            dotted.push_back(line);
        }
    };
    for (int k = 1; k < width && k * spacing <= width; ++k) {
        const int x = k * spacing;
        if (x >= area.left && x < area.right) add(k, {QPoint(x, 0), QPoint(x, height)});
    }
    for (int k = 1; k < height && k * spacing <= height; ++k) {
        const int y = k * spacing;
        if (y >= area.top && y < area.bottom) add(k, {QPoint(0, y), QPoint(width, y)});
    }
    DrawGridLines(painter, dotted, colours.minor, kLineDot);
    DrawGridLines(painter, dashed, colours.major, kLineDash);
    DrawGridLines(painter, solid, colours.major, kLineSolid);
}

void PaintBackground(QPainter& painter, const DocState& s, const RenderOptions& options,
                     const IntRect& canvas) {
    const QImage* copy = options.backgroundCopy;
    const bool showPicture = s.backPicture && copy != nullptr && !copy->isNull() &&
                             (options.backgroundOnly || s.showBackPicture != 0);
    if (showPicture) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(canvas.ToQRect(), *copy);
        painter.restore();
    } else {
        // No colour at all paints the canvas white rather than an undefined one.
        const ColorRef back = s.backColor == kColorNone ? MakeColorRef(255, 255, 255) : s.backColor;
        painter.fillRect(canvas.ToQRect(), ToQColor(back));
    }
    if (s.canvasLineColor != kColorNone) {
        const QPolygon frame({QPoint(0, 0), QPoint(canvas.right - 1, 0),
                              QPoint(canvas.right - 1, canvas.bottom - 1),
                              QPoint(0, canvas.bottom - 1), QPoint(0, 0)});
        DrawFrameLine(painter, frame, s.canvasLineColor, s.canvasLineStyle, s.canvasLineWidth,
                      options.zoom);
    }
}

// Pixels a frame line of the node may reach beyond the node's rectangle.
int FrameReach(const DocState& s, float zoom, bool multiCut) {
    int reach = 0;
    if (s.imageFrames != 0) {
        const int w = s.imageFrameWidth & 0xFFFF;
        // The double line is the widest: q + 2h is at most 1.25 w + 1.
        reach = CanvasToView(zoom, 2 * w + 2) / 2;
    }
    if (multiCut) reach = std::max(reach, CanvasToView(zoom, 1) / 2);
    return reach + 2;
}

void PaintNodeFrames(QPainter& painter, const DocState& s, const NodeRecord& node,
                     const IntRect& rect, float zoom, bool multiCut) {
    if (!multiCut && s.imageFrames == 0) return;
    const QPolygon outline = Outline(rect);
    if (multiCut) {
        DrawStyledLine(painter, outline, kMultiCutFrame, kLineSolid,
                       std::max(CanvasToView(zoom, 1), 1));
    }
    if (s.imageFrames != 0) {
        const ColorRef colour =
            s.imageFrameColor != kColorNone
                ? s.imageFrameColor
                : MakeColorRef(node.avgRed[0], node.avgGreen[0], node.avgBlue[0]);
        DrawFrameLine(painter, outline, colour, s.imageFrameStyle, s.imageFrameWidth, zoom);
    }
}

// Draws a picture scaled into `target`, decoded through the shared cache at
// the size it covers on the surface, as ImageBlob::Draw does, but without
// saving and restoring the painter for each of thousands of nodes: the
// caller turns smooth scaling on once.
void DrawPicture(QPainter& painter, const ImageBlob& picture, const QRect& target) {
    if (target.isEmpty()) return;
    const QTransform& transform = painter.transform();
    const QSize onSurface = transform.type() <= QTransform::TxTranslate
                                ? target.size()
                                : transform.mapRect(target).size();
    const QImage image = picture.DecodeForSize(onSurface);
    if (!image.isNull()) painter.drawImage(target, image);
}

// The nodes from the bottom of the stack up. The plain path draws each
// picture straight into its rectangle. The colour-adjusting path (and every
// node in multi-cut mode) combines the picture with what lies beneath by a
// bitwise AND, so white leaves the picture as it is and a coloured ground
// tints it; with the mosaic background the ground is first the node's cell
// colour.
void PaintNodes(QPainter& painter, const Document& doc, const RenderOptions& options,
                const IntRect& area, int count) {
    const DocState& s = doc.State();
    const float zoom = options.zoom;
    const bool multiCut = options.multiCutNode >= 0;
    const bool combine = multiCut || s.adjustColors != 0;
    const bool fillCell = !multiCut && s.adjustColors != 0 && s.mosaicBackground != 0;
    const int reach = FrameReach(s, zoom, multiCut);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    for (int i = 0; i < count; ++i) {
        const NodeRecord& node = doc.Node(i);
        if (node.visible == 0 || !node.picture) continue;
        const IntRect rect = NodeViewRect(node, zoom);
        const bool isCut = multiCut && i == options.multiCutNode;
        if (!isCut && !Meets(Inflated(rect, reach), area)) continue;
        const ImageBlob* picture = doc.Picture(node.picture);
        if (picture == nullptr) continue;

        if (Meets(rect, area)) {
            const QRect target = rect.ToQRect();
            if (combine) {
                if (fillCell && node.cellColor != kColorNone) {
                    painter.fillRect(target, ToQColor(node.cellColor));
                }
                painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                DrawPicture(painter, *picture, target);
                painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            } else {
                DrawPicture(painter, *picture, target);
            }
        }
        PaintNodeFrames(painter, s, node, rect, zoom, multiCut);
        if (isCut && options.multiCutOverlay) options.multiCutOverlay(painter);
    }
}

void PaintHandle(QPainter& painter, const IntRect& square, const QColor& outline,
                 const QColor& fill) {
    painter.fillRect(square.ToQRect(), outline);
    painter.fillRect(Inflated(square, -1).ToQRect(), fill);
}

// Handles of every selected node, hidden ones never, in index order; a node
// without a picture still gets them.
void PaintSelectionMarks(QPainter& painter, const Document& doc, float zoom, const IntRect& area,
                         int count) {
    const int mainIndex = doc.State().mainSelection;
    for (int i = 0; i < count; ++i) {
        if (!doc.IsSelected(i)) continue;
        const IntRect rect = NodeViewRect(doc.Node(i), zoom);
        if (!Meets(Inflated(rect, 5), area)) continue;
        const bool isMain = i == mainIndex;
        const auto points = SelectionHandlePoints(rect);
        for (int k = 0; k < 8; ++k) {
            PaintHandle(painter, SelectionHandleRect(k, points[static_cast<std::size_t>(k)]),
                        isMain ? kMainHandleOutline : kOtherHandleOutline,
                        isMain ? kMainHandleFill : kOtherHandleFill);
        }
    }
}

}  // namespace

std::array<QPoint, 8> SelectionHandlePoints(const IntRect& r) {
    const auto middle = [](int a, int b) {
        const int low = std::min(a, b), high = std::max(a, b);
        return low + (high - low) / 2;
    };
    const QPoint tl(r.left, r.top), tr(r.right, r.top), br(r.right, r.bottom), bl(r.left, r.bottom);
    return {tl,
            tr,
            br,
            bl,
            QPoint(middle(tl.x(), tr.x()), tl.y()),
            QPoint(tr.x(), middle(tr.y(), br.y())),
            QPoint(middle(br.x(), bl.x()), br.y()),
            QPoint(bl.x(), middle(bl.y(), tl.y()))};
}

IntRect SelectionHandleRect(int index, QPoint p) {
    const int half = index < 4 ? 4 : 3;
    return {p.x() - half, p.y() - half, p.x() + half, p.y() + half};
}

void PaintCanvas(QPainter& painter, const Document& doc, const RenderOptions& options) {
    const DocState& s = doc.State();
    const IntRect canvas = {0, 0, CanvasToView(options.zoom, s.canvasWidth),
                            CanvasToView(options.zoom, s.canvasHeight)};
    const IntRect area =
        options.viewArea.IsEmpty() ? canvas : options.viewArea.Intersected(canvas);
    if (area.IsEmpty()) return;

    painter.save();
    painter.setClipRect(area.ToQRect(), Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    PaintBackground(painter, s, options, canvas);
    if (!options.backgroundOnly) {
        const int count = doc.HasTables() ? std::clamp(s.nodeCount, 0, kMaxNodes) : 0;
        const bool marks = options.viewMarks;
        if (marks && s.gridOnTop == 0) PaintGrid(painter, s, canvas.right, canvas.bottom, area);
        if (count > 0) {
            PaintNodes(painter, doc, options, area, count);
            if (marks) PaintSelectionMarks(painter, doc, options.zoom, area, count);
        }
        if (marks && s.gridOnTop != 0) PaintGrid(painter, s, canvas.right, canvas.bottom, area);
    }
    painter.restore();
}

void PaintOutsideCanvas(QPainter& painter, const IntRect& canvas, const IntRect& area) {
    const QColor white(255, 255, 255);
    const IntRect right = {std::max(canvas.right, area.left), area.top, area.right, area.bottom};
    const IntRect below = {area.left, std::max(canvas.bottom, area.top),
                           std::min(canvas.right, area.right), area.bottom};
    if (!right.IsEmpty()) painter.fillRect(right.ToQRect(), white);
    if (!below.IsEmpty()) painter.fillRect(below.ToQRect(), white);
}

}  // namespace tessaly
