#include "canvas/view_geometry.h"

#include <algorithm>
#include <cmath>

#include "document/document.h"

namespace tessaly {

IntRect CanvasViewRect(const DocState& s) {
    return {0, 0, CanvasToView(s.zoom, s.canvasWidth), CanvasToView(s.zoom, s.canvasHeight)};
}

IntRect NodeViewRect(const NodeRecord& n, float zoom) {
    const int left = CanvasToView(zoom, n.centerX - n.halfWidth);
    const int top = CanvasToView(zoom, n.centerY - n.halfHeight);
    const int width = CanvasToView(zoom, 2 * n.halfWidth);
    const int height = CanvasToView(zoom, 2 * n.halfHeight);
    return {left, top, left + width, top + height};
}

IntRect NodeViewRect(const Document& doc, int index) {
    return NodeViewRect(doc.Node(index), doc.State().zoom);
}

QPoint VisibleCentreOnCanvas(const DocState& s, const IntRect& client, QPoint scroll) {
    const int x = ViewToCanvas(s.zoom, (client.left + client.right) / 2 + scroll.x());
    const int y = ViewToCanvas(s.zoom, (client.top + client.bottom) / 2 + scroll.y());
    return {std::min(x, s.canvasWidth), std::min(y, s.canvasHeight)};
}

IntRect NodeBoundingBox(const Document& doc) {
    IntRect box;
    for (int i = 0; i < doc.State().nodeCount; ++i) box = box.United(NodeViewRect(doc, i));
    return box;
}

QPoint ScrollToShow(QPoint p, QPoint current, QSize client, QSize total, bool hasHorizontalBar,
                    bool hasVerticalBar) {
    if (client.width() >= total.width() && client.height() >= total.height()) return current;
    return {hasHorizontalBar ? p.x() - client.width() / 2 : 0,
            hasVerticalBar ? p.y() - client.height() / 2 : 0};
}

QSize ScrollSizes(const DocState& s) {
    return {CanvasToView(s.zoom, s.canvasWidth + 50), CanvasToView(s.zoom, s.canvasHeight + 50)};
}

float ClampZoom(const DocState& s, float r) {
    // An unreadable request falls back to 100 %, as a damaged file does.
    if (std::isnan(r)) r = 1.0f;
    if (r > kMaxZoom) {
        r = kMaxZoom;
    } else if (r < kMinZoom) {
        r = kMinZoom;
    }
    // The 5000-pixel limit only ever lowers the zoom, and both sides must
    // keep to it: raising the zoom to 5000 / side would pass 4.0 on small
    // canvases, and letting the height decide alone would leave a wide
    // canvas far beyond 5000 pixels.
    if (CanvasToView(r, s.canvasWidth) > kMaxCanvasSide) {
        r = std::min(r, static_cast<float>(kMaxCanvasSide) / static_cast<float>(s.canvasWidth));
    }
    if (CanvasToView(r, s.canvasHeight) > kMaxCanvasSide) {
        r = std::min(r, static_cast<float>(kMaxCanvasSide) / static_cast<float>(s.canvasHeight));
    }
    return r;
}

int ZoomPercent(float zoom) {
    return static_cast<int>(std::lround(zoom * 100.0f));
}

float ZoomedBy(const DocState& s, int points) {
    return ClampZoom(s, static_cast<float>(ZoomPercent(s.zoom) + points) / 100.0f);
}

float FitZoom(const DocState& s, QSize client) {
    return std::min(static_cast<float>(client.width()) / static_cast<float>(s.canvasWidth),
                    static_cast<float>(client.height()) / static_cast<float>(s.canvasHeight));
}

float SteppedZoom(const DocState& s, int direction) {
    const int now = ZoomPercent(s.zoom);
    float next = s.zoom;
    if (direction > 0) {
        const auto level = std::find_if(kZoomLevels.begin(), kZoomLevels.end(),
                                        [now](float z) { return ZoomPercent(z) > now; });
        if (level != kZoomLevels.end()) next = *level;
    } else if (direction < 0) {
        const auto level = std::find_if(kZoomLevels.rbegin(), kZoomLevels.rend(),
                                        [now](float z) { return ZoomPercent(z) < now; });
        next = level != kZoomLevels.rend() ? *level : kMinZoom;
    }
    // The canvas's own limit may hold the zoom below a level: the step then
    // leaves it where it is rather than going the wrong way.
    const float clamped = ClampZoom(s, next);
    return (direction > 0 && clamped < s.zoom) || (direction < 0 && clamped > s.zoom) ? s.zoom
                                                                                      : clamped;
}

QPoint ScrollKeepingPoint(QPoint client, QPoint scroll, float before, float after) {
    const auto keep = [before, after](int clientAt, int scrolled) {
        const float canvas = static_cast<float>(clientAt + scrolled) / before;
        return static_cast<int>(std::lround(canvas * after)) - clientAt;
    };
    return {keep(client.x(), scroll.x()), keep(client.y(), scroll.y())};
}

int WheelStep(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool awayFromUser) {
    const Qt::KeyboardModifiers keys = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    int step = 10;
    if (buttons == Qt::NoButton && keys == Qt::ControlModifier) {
        step = 1;
    } else if (buttons == Qt::NoButton && keys == (Qt::ControlModifier | Qt::ShiftModifier)) {
        step = -1;
    } else if (buttons == Qt::RightButton && keys == Qt::NoModifier) {
        step = -10;
    }
    return awayFromUser ? -step : step;
}

bool WheelScrollsHorizontally(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    const Qt::KeyboardModifiers keys = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    if (buttons == Qt::NoButton) {
        return keys == Qt::ShiftModifier || keys == (Qt::ControlModifier | Qt::ShiftModifier);
    }
    return buttons == Qt::RightButton && keys == Qt::NoModifier;
}

bool WheelZooms(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    const Qt::KeyboardModifiers keys =
        modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    return buttons == Qt::NoButton && keys == Qt::AltModifier;
}

}  // namespace tessaly
