#include "canvas/canvas_image.h"

#include <QPainter>
#include <algorithm>

#include "canvas/canvas_renderer.h"
#include "canvas/view_geometry.h"
#include "document/document.h"
#include "image/image_blob.h"

namespace tessaly {

QImage PlainBackgroundCopy(const Document& doc) {
    const DocState& s = doc.State();
    const ImageBlob* picture = doc.Picture(s.backPicture);
    if (picture == nullptr) return {};
    const QSize size = picture->PixelSize();
    if (size.width() <= s.canvasWidth) return picture->Decode();
    const float scale = static_cast<float>(s.canvasWidth) / static_cast<float>(size.width());
    const int height = std::max(static_cast<int>(scale * static_cast<float>(size.height())), 1);
    const QImage narrowed = picture->DecodeForSize(QSize(s.canvasWidth, height));
    if (narrowed.isNull()) return {};
    return narrowed.scaled(s.canvasWidth, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage RenderCanvasImage(const Document& doc, const CanvasImageRequest& request) {
    const DocState& s = doc.State();
    RenderOptions options;
    options.zoom = ClampZoom(s, request.zoom);
    options.viewMarks = request.viewMarks;
    const IntRect canvas = {0, 0, CanvasToView(options.zoom, s.canvasWidth),
                            CanvasToView(options.zoom, s.canvasHeight)};
    QImage image(canvas.Width(), canvas.Height(), QImage::Format_RGB32);
    if (image.isNull()) return image;

    // The copy is only worth making where the renderer will draw it.
    QImage plainCopy;
    options.backgroundCopy = request.backgroundCopy;
    if (options.backgroundCopy == nullptr && s.backPicture && s.showBackPicture != 0) {
        plainCopy = PlainBackgroundCopy(doc);
        if (!plainCopy.isNull()) options.backgroundCopy = &plainCopy;
    }
    options.viewArea = canvas;
    QPainter painter(&image);
    PaintCanvas(painter, doc, options);
    painter.end();
    return image;
}

}  // namespace tessaly
