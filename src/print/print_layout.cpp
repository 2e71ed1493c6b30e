#include "print/print_layout.h"

#include <algorithm>

namespace tessaly {
namespace {

constexpr float kMmPerInch = 25.4f;

int Trunc(float v) { return static_cast<int>(v); }

}  // namespace

PaperMm PaperSizeMm(const PrinterMetrics& m) {
    if (!m.IsValid()) return {};
    return {static_cast<float>(m.paperWidth) / static_cast<float>(m.dpiX) * kMmPerInch,
            static_cast<float>(m.paperHeight) / static_cast<float>(m.dpiY) * kMmPerInch};
}

QSize MinimumMarginsMm(const PrinterMetrics& m) {
    if (!m.IsValid()) return {};
    return {Trunc(static_cast<float>(m.offX) / static_cast<float>(m.dpiX) * kMmPerInch),
            Trunc(static_cast<float>(m.offY) / static_cast<float>(m.dpiY) * kMmPerInch)};
}

PageGrid PageGridFor(QSize canvas, QSizeF screenDpi, PaperMm paper, const PageMargins& margins,
                     bool onePage) {
    const float boxW = paper.width - static_cast<float>(margins.left + margins.right);
    const float boxH = paper.height - static_cast<float>(margins.top + margins.bottom);
    if (onePage || boxW <= 0.0f || boxH <= 0.0f || screenDpi.width() <= 0 ||
        screenDpi.height() <= 0) {
        return {};
    }
    const float canvasW =
        static_cast<float>(canvas.width()) / static_cast<float>(screenDpi.width()) * kMmPerInch;
    const float canvasH =
        static_cast<float>(canvas.height()) / static_cast<float>(screenDpi.height()) * kMmPerInch;
    return {Trunc(canvasW / boxW) + 1, Trunc(canvasH / boxH) + 1};
}

QRect PreviewPageRect(const QRect& area, PaperMm paper) {
    const int aw = area.width();
    const int ah = area.height();
    int l = aw - 28;
    int m = ah - 28;
    if (paper.width <= 0.0f || paper.height <= 0.0f || l <= 0 || m <= 0) return {};
    if (paper.height > paper.width) {
        const float ratio = paper.height / paper.width;
        const int o = Trunc(static_cast<float>(l) * ratio);
        if (o < m) {
            m = o;
        } else {
            l = Trunc(static_cast<float>(m) / ratio);
        }
    } else {
        const float ratio = paper.width / paper.height;
        const int o = Trunc(static_cast<float>(m) * ratio);
        if (o < l) {
            l = o;
        } else {
            m = Trunc(static_cast<float>(l) / ratio);
        }
    }
    return {area.left() + (aw - l) / 2, area.top() + (ah - m) / 2, l, m};
}

float PreviewScale(int pageWidth, float screenDpiX, PaperMm paper) {
    if (paper.width <= 0.0f || screenDpiX <= 0.0f) return 0.0f;
    return static_cast<float>(pageWidth) / screenDpiX * kMmPerInch / paper.width;
}

int MmToPreviewPixels(int mm, float s, float screenDpi) {
    return Trunc(static_cast<float>(Trunc(static_cast<float>(mm) * screenDpi / kMmPerInch)) * s);
}

PageMargins PreviewMargins(const PageMargins& mm, float s, QSizeF screenDpi) {
    const auto dx = static_cast<float>(screenDpi.width());
    const auto dy = static_cast<float>(screenDpi.height());
    return {MmToPreviewPixels(mm.left, s, dx), MmToPreviewPixels(mm.right, s, dx),
            MmToPreviewPixels(mm.top, s, dy), MmToPreviewPixels(mm.bottom, s, dy)};
}

QRect MarginBox(const QRect& page, const PageMargins& margins) {
    return {page.left() + margins.left, page.top() + margins.top,
            page.width() - margins.left - margins.right,
            page.height() - margins.top - margins.bottom};
}

int PreviewPixelsToMm(int pixels, float s, float screenDpi) {
    if (s <= 0.0f || screenDpi <= 0.0f) return 0;
    const int mm = Trunc(static_cast<float>(pixels) / s / screenDpi * kMmPerInch);
    return mm == kMaxMarginMm - 1 ? kMaxMarginMm : mm;
}

QRect PrintArea(const PrinterMetrics& m, const PageMargins& margins) {
    if (!m.IsValid()) return {};
    const auto px = [](int mm, int dpi) {
        return Trunc(static_cast<float>(mm) * static_cast<float>(dpi) / kMmPerInch);
    };
    const int l = px(margins.left, m.dpiX);
    const int r = px(margins.right, m.dpiX);
    const int t = px(margins.top, m.dpiY);
    const int b = px(margins.bottom, m.dpiY);
    const QRect area(l, t, m.paperWidth - l - r, m.paperHeight - t - b);
    return area.isValid() ? area : QRect();
}

QRect FitRect(QSize image, const QRect& box) {
    if (image.isEmpty() || box.isEmpty()) return {};
    const float kx = static_cast<float>(box.width()) / static_cast<float>(image.width());
    const float ky = static_cast<float>(box.height()) / static_cast<float>(image.height());
    if (kx > ky) {
        const int w = Trunc(static_cast<float>(image.width()) * ky);
        return {box.left() + (box.width() - w) / 2, box.top(), w, box.height()};
    }
    const int h = Trunc(kx * static_cast<float>(image.height()));
    return {box.left(), box.top() + (box.height() - h) / 2, box.width(), h};
}

QRect TileSource(int page, int across, QSize tile) {
    const int k = std::max(page, 1) - 1;
    const int a = std::max(across, 1);
    return {tile.width() * (k % a), tile.height() * (k / a), tile.width(), tile.height()};
}

PageSpan PagesToPrint(PageRangeKind kind, int current, int start, int end, int pageCount) {
    const int count = std::max(pageCount, 1);
    const auto clamp = [count](int page) { return std::clamp(page, 1, count); };
    switch (kind) {
        case PageRangeKind::kCurrent:
            return {clamp(current), clamp(current)};
        case PageRangeKind::kSpan: {
            const int first = clamp(start);
            return {first, std::max(first, clamp(end))};
        }
        case PageRangeKind::kAll:
        default:
            return {1, count};
    }
}

}  // namespace tessaly
