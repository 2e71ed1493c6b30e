#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <utility>

#include "document/document.h"
#include "print/print_job.h"
#include "print/print_layout.h"
#include "support/document_builder.h"

namespace tessaly {
namespace {

// A4 at 300 dpi with no unprintable strip.
constexpr PrinterMetrics kA4{300, 300, 0, 0, 2480, 3508};

TEST(PrintLayout, PageGrid) {
    const PaperMm a4{210.0f, 297.0f};
    const PageMargins margins;  // 25, 10, 25, 10: a box of 175 x 262 mm
    struct Case {
        QSize canvas;
        bool onePage;
        PageGrid expected;
    };
    const Case cases[] = {
        {{1000, 3000}, false, {2, 4}},
        {{661, 990}, false, {1, 1}},  // 174.9 mm wide, 261.9 mm high
        {{662, 991}, false, {2, 2}},  // exactly as wide as the box, and as high
        {{5000, 5000}, true, {1, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageGridFor(c.canvas, {96, 96}, a4, margins, c.onePage), c.expected)
            << c.canvas.width() << "x" << c.canvas.height();
    }
    // Margins that leave no print area give one page instead of a division by zero.
    EXPECT_EQ(PageGridFor({1000, 1000}, {96, 96}, {90, 90}, {50, 50, 50, 50}, false), PageGrid{});
}

TEST(PrintLayout, PaperAndMargins) {
    const PaperMm paper = PaperSizeMm(kA4);
    EXPECT_NEAR(paper.width, 209.97f, 0.01f);
    EXPECT_EQ(MinimumMarginsMm({600, 600, 100, 50, 4960, 7016}), QSize(4, 2));
    EXPECT_EQ(PrintArea(kA4, {}), QRect(295, 295, 2480 - 295 - 118, 3508 - 295 - 118));
}

TEST(PrintLayout, PreviewGeometry) {
    // Portrait paper is limited by the area's height, landscape paper by its width.
    EXPECT_EQ(PreviewPageRect({0, 0, 600, 400}, {210, 297}), QRect(168, 14, 263, 372));
    EXPECT_EQ(PreviewPageRect({0, 0, 400, 600}, {297, 210}), QRect(14, 168, 372, 263));
    // Four different margins on a screen of 96 x 120 dpi: 18, 26, 51 and 61 pixels.
    EXPECT_EQ(MarginBox({0, 0, 400, 600}, PreviewMargins({5, 7, 11, 13}, 1.0f, {96, 120})),
              QRect(18, 51, 356, 488));
    // Dragging a line to its outermost place gives 50 mm, not 49.
    const float s = 0.5f;
    EXPECT_EQ(PreviewPixelsToMm(MmToPreviewPixels(50, s, 96) - 1, s, 96), 50);
    EXPECT_EQ(PreviewPixelsToMm(MmToPreviewPixels(20, s, 96) + 1, s, 96), 20);
    // The line's end stop on previews of other scales and screens.
    for (const auto& [scale, dpi] : {std::pair{0.25f, 96.0f}, {0.8f, 96.0f}, {0.5f, 120.0f}, {1.0f, 144.0f}}) {
        EXPECT_EQ(PreviewPixelsToMm(MmToPreviewPixels(50, scale, dpi), scale, dpi), 50) << scale << " " << dpi;
    }
}

TEST(PrintLayout, FitAndTiles) {
    EXPECT_EQ(FitRect({200, 100}, {10, 10, 100, 100}), QRect(10, 35, 100, 50));
    EXPECT_EQ(FitRect({100, 200}, {10, 10, 100, 100}), QRect(35, 10, 50, 100));
    EXPECT_EQ(TileSource(5, 2, {100, 50}), QRect(0, 100, 100, 50));
    struct Case {
        PageRangeKind kind;
        int current, start, end;
        int first, last;
    };
    const Case cases[] = {
        {PageRangeKind::kAll, 3, 2, 2, 1, 4},
        {PageRangeKind::kCurrent, 3, 1, 1, 3, 3},
        {PageRangeKind::kSpan, 1, 2, 9, 2, 4},  // the end is kept to the page count
        {PageRangeKind::kSpan, 1, 3, 2, 3, 3},
    };
    for (const Case& c : cases) {
        const PageSpan span = PagesToPrint(c.kind, c.current, c.start, c.end, 4);
        EXPECT_EQ(span.first, c.first);
        EXPECT_EQ(span.last, c.last);
    }
}

int PrintedPages(const Document& doc, const PrintRequest& request) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(kA4.dpiX);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins({});
        QPainter painter(&writer);
        EXPECT_EQ(PrintCanvas(writer, painter, doc, request).pages, request.onePage ? 1 : 4);
    }
    return static_cast<int>(
        pdf.data().count(QByteArrayView("/Type /Page\n")) +
        pdf.data().count(QByteArrayView("/Type /Page ")));
}

TEST(PrintJob, PdfPageCount) {
    Document doc;
    ASSERT_TRUE(doc.AllocateNodeTables());
    test::FillDocument(doc, 3);
    doc.State().canvasWidth = 1000;
    doc.State().canvasHeight = 1000;
    PrintRequest request;
    request.metrics = kA4;
    request.renderDpi = 100;
    request.across = 2;
    request.pages = {1, 4};
    EXPECT_EQ(PrintedPages(doc, request), 4);
    request.onePage = true;
    EXPECT_EQ(PrintedPages(doc, request), 1);
}

}  // namespace
}  // namespace tessaly
