#include "canvas/canvas_image.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "canvas/background_copy.h"
#include "canvas/canvas_renderer.h"
#include "canvas/view_geometry.h"
#include "document/document.h"
#include "image/band_source.h"

namespace tessaly {
namespace {
// Painting in bands: about this many, none shorter than kMinBandRows.
constexpr int kBands = 20;
constexpr int kMinBandRows = 64;

float ZoomOf(const DocState& s, const CanvasImageRequest& request) {
    if (!request.poster) return ClampZoom(s, request.zoom);
    return std::isnan(request.zoom) ? 1.0f : std::clamp(request.zoom, kMinZoom, kMaxZoom);
}

RenderOptions OptionsOf(const Document& doc, const CanvasImageRequest& request) {
    RenderOptions options;
    options.zoom = ZoomOf(doc.State(), request);
    options.viewMarks = request.viewMarks;
    options.backgroundOnly = request.backgroundOnly;
    options.backgroundCopy = request.backgroundCopy;
    return options;
}

IntRect WholeCanvas(const DocState& s, float zoom) {
    return {0, 0, CanvasToView(zoom, s.canvasWidth), CanvasToView(zoom, s.canvasHeight)};
}

// Whether the renderer draws the background picture, so that a copy of it
// is worth making.
bool DrawsBackgroundPicture(const Document& doc, const RenderOptions& options) {
    const DocState& s = doc.State();
    return options.backgroundCopy == nullptr && s.backPicture &&
           (s.showBackPicture != 0 || options.backgroundOnly);
}

}  // namespace

QSize CanvasImageSize(const Document& doc, const CanvasImageRequest& request) {
    const IntRect canvas = WholeCanvas(doc.State(), ZoomOf(doc.State(), request));
    return {canvas.Width(), canvas.Height()};
}

QImage RenderCanvasImage(const Document& doc, const CanvasImageRequest& request) {
    RenderOptions options = OptionsOf(doc, request);
    const IntRect canvas = WholeCanvas(doc.State(), options.zoom);
    const IntRect area = request.area.IsEmpty() ? canvas : request.area.Intersected(canvas);
    if (area.IsEmpty()) return {};
    QImage image(area.Width(), area.Height(), QImage::Format_RGB32);
    if (image.isNull()) return image;

    BackgroundCopyCache copies;
    if (DrawsBackgroundPicture(doc, options)) options.backgroundCopy = copies.Get(doc);
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

BandPainter CanvasBandPainter(const Document& doc, const CanvasImageRequest& request) {
    RenderOptions options = OptionsOf(doc, request);
    const IntRect canvas = WholeCanvas(doc.State(), options.zoom);
    std::shared_ptr<const QImage> copy;
    if (DrawsBackgroundPicture(doc, options)) {
        copy = std::make_shared<const QImage>(BackgroundCopy(doc));
        options.backgroundCopy = copy.get();
    }
    return [&doc, options, canvas, copy](int top, int rows) mutable {
        const IntRect band =
            IntRect{canvas.left, top, canvas.right, top + rows}.Intersected(canvas);
        if (band.IsEmpty()) return QImage();
        QImage image(band.Width(), band.Height(), QImage::Format_RGB32);
        if (image.isNull()) return image;
        QPainter painter(&image);
        painter.translate(-band.left, -band.top);
        options.viewArea = band;
        PaintCanvas(painter, doc, options);
        return image;
    };
}

ImageWriteRequest CanvasWriteRequest(const Document& doc, const CanvasImageRequest& request,
                                     const QString& path, const OutputFormat& format) {
    ImageWriteRequest write;
    write.path = path;
    write.format = format;
    write.size = CanvasImageSize(doc, request);
    write.paint = CanvasBandPainter(doc, request);
    const int evenRows = std::max(kMinBandRows, (write.size.height() + kBands - 1) / kBands);
    write.bandRows = std::min(evenRows, DefaultBandRows(write.size));
    return write;
}

}  // namespace tessaly
