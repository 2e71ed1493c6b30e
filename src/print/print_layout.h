#pragma once

#include <QRect>
#include <QSize>

namespace tessaly {

// What printing needs to know of the printer, in device pixels: the
// resolution, the unprintable strip at the paper's left and top edges, and
// the whole sheet.
struct PrinterMetrics {
    int dpiX = 0;
    int dpiY = 0;
    int offX = 0;
    int offY = 0;
    int paperWidth = 0;
    int paperHeight = 0;

    bool IsValid() const { return dpiX > 0 && dpiY > 0 && paperWidth > 0 && paperHeight > 0; }
};

// Distances of the print area from the paper's edges, in mm.
struct PageMargins {
    int left = 25;
    int right = 10;
    int top = 25;
    int bottom = 10;
};

inline constexpr int kMaxMarginMm = 50;

// Which pages a print job prints.
enum class PageRangeKind { kAll = 1, kCurrent = 2, kSpan = 3 };

struct PaperMm {
    float width = 0.0f;
    float height = 0.0f;
};

// The sheet's size in mm.
PaperMm PaperSizeMm(const PrinterMetrics& m);
// The smallest margins the printer allows, whole mm: width for left and
// right, height for top and bottom.
QSize MinimumMarginsMm(const PrinterMetrics& m);

// The tiling grid: how many pages across and down the canvas takes when one
// canvas pixel is printed as large as one screen pixel (`screenDpi`). A
// canvas exactly as wide as the print area still takes two pages across.
// One page when `onePage` or when the margins leave no print area.
struct PageGrid {
    int across = 1;
    int down = 1;
    int Count() const { return across * down; }
    friend bool operator==(const PageGrid&, const PageGrid&) = default;
};
PageGrid PageGridFor(QSize canvas, QSizeF screenDpi, PaperMm paper, const PageMargins& margins,
                     bool onePage);

// The sheet drawn in a preview area: the paper's proportions, 28 pixels
// smaller than the area, centred in it.
QRect PreviewPageRect(const QRect& area, PaperMm paper);
// Preview pixels per screen pixel of the sheet drawn `pageWidth` wide.
float PreviewScale(int pageWidth, float screenDpiX, PaperMm paper);
// The margins in preview pixels at scale `s`.
PageMargins PreviewMargins(const PageMargins& mm, float s, QSizeF screenDpi);
// The box inside `page` the margins leave.
QRect MarginBox(const QRect& page, const PageMargins& margins);

// A preview margin of `pixels` back in whole mm; 49 becomes 50, so that
// dragging a line to its outermost place gives the largest margin.
int PreviewPixelsToMm(int pixels, float s, float screenDpi);
// A margin of `mm` in preview pixels.
int MmToPreviewPixels(int mm, float s, float screenDpi);

// The print area of a sheet in device pixels, measured from the paper's
// corner. Empty when the margins leave nothing.
QRect PrintArea(const PrinterMetrics& m, const PageMargins& margins);

// `image` scaled into `box` keeping its proportions and centred along the
// loose side.
QRect FitRect(QSize image, const QRect& box);

// The part of the tiled picture that page `page` (1-based) shows: pages run
// left to right, then top to bottom, each `tile` large.
QRect TileSource(int page, int across, QSize tile);

// The first and last page a job prints; both within 1..pageCount.
struct PageSpan {
    int first = 1;
    int last = 1;
};
PageSpan PagesToPrint(PageRangeKind kind, int current, int start, int end, int pageCount);

}  // namespace tessaly
