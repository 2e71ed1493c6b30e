#include "print/print_job.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "canvas/background_copy.h"
#include "canvas/canvas_renderer.h"
#include "canvas/colour_ref.h"
#include "canvas/view_geometry.h"
#include "document/document.h"
#include "resources/ui_strings.h"
#include "services/work_progress.h"

namespace tessaly {
namespace {

QRect Scaled(const QRect& r, double k) {
    const int left = static_cast<int>(std::floor(r.left() * k));
    const int top = static_cast<int>(std::floor(r.top() * k));
    return {left, top, std::max(1, static_cast<int>(std::ceil((r.left() + r.width()) * k)) - left),
            std::max(1, static_cast<int>(std::ceil((r.top() + r.height()) * k)) - top)};
}

// One fitted page: the canvas stretched into the print area keeping its
// proportions, framed in the canvas line colour.
bool PrintOnePage(QPainter& painter, const Document& doc, const PrintRequest& request,
                  const QRect& area, float zoom) {
    const DocState& s = doc.State();
    const QSize bitmap(CanvasToView(zoom, s.canvasWidth), CanvasToView(zoom, s.canvasHeight));
    const QRect target = FitRect(bitmap, area);
    if (target.isEmpty()) return false;
    const double fine = static_cast<double>(request.renderDpi) / request.metrics.dpiX;
    const double k = std::min(1.0, fine) * target.width() / s.canvasWidth;
    const QImage picture = RenderWholeCanvas(doc, static_cast<float>(k));
    if (picture.isNull()) return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
    if (s.canvasLineColor != kColorNone) {
        painter.setPen(QPen(QColorOf(s.canvasLineColor), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(target.adjusted(0, 0, -1, -1));
    }
    return true;
}

}  // namespace

QImage RenderCanvasArea(const Document& doc, float zoom, const QRect& area) {
    QImage image(area.size(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.fill(Qt::white);
    const DocState& s = doc.State();
    RenderOptions options;
    options.zoom = zoom;
    options.viewMarks = false;
    BackgroundCopyCache copies;
    if (s.backPicture && s.showBackPicture != 0) options.backgroundCopy = copies.Get(doc);
    options.viewArea = {area.left(), area.top(), area.left() + area.width(),
                        area.top() + area.height()};
    QPainter painter(&image);
    painter.translate(-area.topLeft());
    PaintCanvas(painter, doc, options);
    return image;
}

QImage RenderWholeCanvas(const Document& doc, float zoom) {
    const DocState& s = doc.State();
    return RenderCanvasArea(
        doc, zoom, QRect(0, 0, CanvasToView(zoom, s.canvasWidth), CanvasToView(zoom, s.canvasHeight)));
}

PrintOutcome PrintCanvas(QPagedPaintDevice& device, QPainter& painter, const Document& doc,
                         const PrintRequest& request) {
    PrintOutcome outcome;
    const QRect area = PrintArea(request.metrics, request.margins);
    if (area.isEmpty() || request.screenDpi.width() <= 0) return outcome;
    // Device pixels per canvas pixel.
    const float zoom =
        static_cast<float>(request.metrics.dpiX / request.screenDpi.width());
    const int total =
        request.onePage ? 1 : std::max(0, request.pages.last - request.pages.first + 1);
    WorkProgress progress(ui_text::kPrinting.toString(), total);
    const auto pagePrinted = [&] {
        ++outcome.pages;
        outcome.cancelled = !progress.Advance(outcome.pages);
        return !outcome.cancelled;
    };
    if (request.onePage) {
        if (PrintOnePage(painter, doc, request, area, zoom)) pagePrinted();
        return outcome;
    }

    // Pictures are rendered no finer than renderDpi and stretched to size.
    const double fine =
        std::min(1.0, static_cast<double>(request.renderDpi) / request.metrics.dpiX);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int page = request.pages.first; page <= request.pages.last; ++page) {
        if (outcome.pages > 0 && !device.newPage()) break;
        const QRect source = TileSource(page, request.across, area.size());
        const QImage part =
            RenderCanvasArea(doc, static_cast<float>(zoom * fine), Scaled(source, fine));
        if (part.isNull()) break;
        painter.drawImage(area, part);
        if (!pagePrinted()) break;
    }
    return outcome;
}

}  // namespace tessaly
