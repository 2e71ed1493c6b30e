#include "canvas/canvas_image.h"

#include <QPainter>
#include <algorithm>

#include "canvas/background_copy.h"
#include "canvas/canvas_renderer.h"
#include "canvas/view_geometry.h"
#include "document/document.h"

namespace tessaly {
namespace {
// Painting in bands: about this many, none shorter than kMinBandRows.
constexpr int kBands = 20;
constexpr int kMinBandRows = 64;
}  // namespace

QImage RenderCanvasImage(const Document& doc, const CanvasImageRequest& request) {
    const DocState& s = doc.State();
    RenderOptions options;
    options.zoom = ClampZoom(s, request.zoom);
    options.viewMarks = request.viewMarks;
    options.backgroundOnly = request.backgroundOnly;
    const IntRect canvas = {0, 0, CanvasToView(options.zoom, s.canvasWidth),
                            CanvasToView(options.zoom, s.canvasHeight)};
    const IntRect area = request.area.IsEmpty() ? canvas : request.area.Intersected(canvas);
    if (area.IsEmpty()) return {};
    QImage image(area.Width(), area.Height(), QImage::Format_RGB32);
    if (image.isNull()) return image;

    // The copy is only worth making where the renderer will draw it.
    BackgroundCopyCache copies;
    options.backgroundCopy = request.backgroundCopy;
    if (options.backgroundCopy == nullptr && s.backPicture &&
        (s.showBackPicture != 0 || options.backgroundOnly)) {
        options.backgroundCopy = copies.Get(doc);
    }
    QPainter painter(&image);
    painter.translate(-area.left, -area.top);
    if (!request.progress) {
        options.viewArea = area;
        PaintCanvas(painter, doc, options);
        painter.end();
        return image;
    }
    // The renderer clips to its view area, so bands painted one after the
    // other give the same pixels as the whole at once.
    const int rows = std::max(kMinBandRows, (area.Height() + kBands - 1) / kBands);
    const int bands = (area.Height() + rows - 1) / rows;
    for (int band = 0; band < bands; ++band) {
        const int top = area.top + band * rows;
        options.viewArea = {area.left, top, area.right, std::min(area.bottom, top + rows)};
        PaintCanvas(painter, doc, options);
        if (!request.progress(band + 1, bands)) return {};
    }
    painter.end();
    return image;
}

}  // namespace tessaly
