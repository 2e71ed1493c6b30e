#include "canvas/canvas_image.h"

#include <QPainter>

#include "canvas/background_copy.h"
#include "canvas/canvas_renderer.h"
#include "canvas/view_geometry.h"
#include "document/document.h"

namespace tessaly {

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
    options.viewArea = area;
    QPainter painter(&image);
    painter.translate(-area.left, -area.top);
    PaintCanvas(painter, doc, options);
    painter.end();
    return image;
}

}  // namespace tessaly
