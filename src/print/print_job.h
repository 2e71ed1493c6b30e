#pragma once

#include <QImage>
#include <QSizeF>

#include "print/print_layout.h"

class QPagedPaintDevice;
class QPainter;

namespace tessaly {

class Document;

// The canvas painted at `zoom` (view pixels per canvas pixel) on white, for
// the view pixels `area` of it; without the view's marks. Null when the
// pixels cannot be had.
QImage RenderCanvasArea(const Document& doc, float zoom, const QRect& area);

// The whole canvas at `zoom`.
QImage RenderWholeCanvas(const Document& doc, float zoom);

// What one print job prints.
struct PrintRequest {
    PrinterMetrics metrics;
    PageMargins margins;
    // Pixels per inch of the screen: one canvas pixel prints as large as one
    // screen pixel.
    QSizeF screenDpi{96, 96};
    // The whole canvas fitted on one page, whatever the range.
    bool onePage = false;
    // Pages across the tiling grid (PageGridFor).
    int across = 1;
    PageSpan pages;
    // The finest resolution pictures are rendered at for the paper; the
    // printed size does not depend on it.
    int renderDpi = 300;
};

// How a print job ended.
struct PrintOutcome {
    int pages = 0;           // pages printed
    bool cancelled = false;  // the user stopped the job
    bool failed = false;     // the output could not be written
};

// Prints the canvas onto `device` through `painter`, which is active on it
// and whose origin is the paper's corner: each page of the span shows its
// tile of the canvas at screen size inside the margins, or the one fitted
// page with the canvas line around it. The first page is the device's
// current page; further pages are started here. The job is followed page by
// page as "印刷しています..." and ends when the user cancels it; it also stops
// at a page or picture that cannot be had. The caller discards a cancelled
// job.
PrintOutcome PrintCanvas(QPagedPaintDevice& device, QPainter& painter, const Document& doc,
                         const PrintRequest& request);

}  // namespace tessaly
