#pragma once

#include <QImage>
#include <functional>

#include "canvas/int_rect.h"
#include "image/image_writer.h"

namespace tessaly {

class Document;

// What a picture of the whole canvas is made of.
struct CanvasImageRequest {
    // View pixels per canvas pixel; clamped as the view clamps it.
    float zoom = 1.0f;
    // A poster: the zoom is only kept within kMinZoom..kMaxZoom, beyond the
    // view's 5000 pixels a side, so a 5000 x 5000 canvas gives up to
    // 20000 x 20000 pixels: one to paint in bands (CanvasBandPainter).
    bool poster = false;
    // The grid and the handles of selected nodes, as the view shows them.
    // Exported and printed pictures leave them out.
    bool viewMarks = true;
    // The background picture prepared for drawing, stretched over the canvas
    // where the document shows its background picture. Null: the copy is made
    // for this picture (BackgroundCopy), at the document's brightness.
    const QImage* backgroundCopy = nullptr;
    // Only the background and the canvas frame, as the view's background
    // preview shows them.
    bool backgroundOnly = false;
    // The part of the canvas wanted, in pixels at the zoom; empty for all of
    // it. It is clipped to the canvas.
    IntRect area;
    // When set, the picture is painted in bands of rows, and this is called
    // after each with the bands done and their number; false stops the
    // painting, and the result is then a null image.
    std::function<bool(int done, int total)> progress;
};

// The canvas painted by the view's renderer into an image of the canvas's
// size at the zoom: trunc(canvasWidth x zoom) x trunc(canvasHeight x zoom),
// or of the requested area's size holding the same pixels as that part of
// the whole. The document is only read. A null image when the pixels cannot
// be allocated, the area lies outside the canvas or the progress said stop.
QImage RenderCanvasImage(const Document& doc, const CanvasImageRequest& request);

// The size of the picture of the whole canvas the request asks for.
QSize CanvasImageSize(const Document& doc, const CanvasImageRequest& request);

// The picture of the whole canvas as bands of rows, for WriteImageFile: each
// band holds the same pixels as that part of RenderCanvasImage's picture.
// The background copy is made once, here; the document must stay as it is
// while the painter is used.
BandPainter CanvasBandPainter(const Document& doc, const CanvasImageRequest& request);

// Writing the canvas picture the request asks for into `path` as `format`:
// its size, its band painter, and about twenty bands (none shorter than 64
// rows nor larger than the writer's own choice), so that progress moves
// evenly. The caller adds the progress and the watch.
ImageWriteRequest CanvasWriteRequest(const Document& doc, const CanvasImageRequest& request,
                                     const QString& path, const OutputFormat& format);

}  // namespace tessaly
