// Painting the canvas: a 1920 x 1080 view of a 5000 x 5000 canvas holding
// 9000 visible nodes in a grid, each with its own small JPEG (48 to 96
// pixels a side), over a background picture. Measured at zoom 1 (a part of
// the canvas, some 800 nodes in view) and at the zoom that fits the canvas
// in the view (every node in view, each about 11 pixels), both
//   warm: the pictures already decoded at their drawn size, and
//   cold: the decode cache emptied before each frame.
// "decodes" counts pictures decoded per frame: 0 when warm. The baseline
// draws the same pictures, decoded beforehand, straight into the same
// rectangles: the least any painter can do.
// The argument "fit" is 0 for zoom 1 and 1 for the fitting zoom.
// TESSALY_BENCH_NODES shrinks the document for quick runs.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <cmath>
#include <memory>
#include <vector>

#include "canvas/canvas_renderer.h"
#include "canvas/view_geometry.h"
#include "bench_support.h"
#include "document/document.h"
#include "image/decode_cache.h"
#include "image/image_blob.h"

namespace {

using namespace tessaly;

constexpr int kCanvasSize = bench::kBenchCanvasSize;
constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr float kFitZoom = float(kViewHeight) / float(kCanvasSize);
// The zoom 1 view looks at the middle of the canvas.
const QPoint kScrollAtFullSize(1500, 2000);

QByteArray Jpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(80);
    writer.write(image);
    return bytes;
}

// A picture of its own for node i: a gradient in colours drawn from i with
// a block of another colour, so no two streams are alike.
QImage TilePicture(int i) {
    const int width = 48 + (i * 13) % 49;
    const int height = 48 + (i * 29) % 49;
    QImage image(width, height, QImage::Format_RGB32);
    const int r = (i * 37) % 256, g = (i * 91) % 256, b = (i * 53) % 256;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((r + 2 * x) % 256, (g + 2 * y) % 256, (b + x + y) % 256);
    }
    QPainter painter(&image);
    painter.fillRect(QRect(i % (width / 2), i % (height / 2), width / 3, height / 3),
                     QColor((r + 128) % 256, (g + 64) % 256, b));
    return image;
}

class RenderFixture {
public:
    static RenderFixture& Get() {
        static RenderFixture fixture;
        return fixture;
    }

    const Document& Doc() const { return *doc_; }
    const QImage& BackgroundCopy() const { return background_; }
    bool Ready() const { return ready_; }

private:
    RenderFixture() {
        const int count = bench::BenchNodeCount();
        doc_ = bench::MakeBenchDocument();
        if (!doc_) return;
        DocState& state = doc_->State();

        // Nodes in a square grid over the whole canvas, each shown about 50
        // pixels on its longer side.
        const int columns = int(std::ceil(std::sqrt(double(count))));
        const int cell = kCanvasSize / columns;
        for (int i = 0; i < count; ++i) {
            auto picture = ImageBlob::FromEncoded(Jpeg(TilePicture(i)));
            if (!picture) return;
            const QSize size = picture->PixelSize();
            const int longer = std::max(size.width(), size.height());
            const int half = std::min(25, cell / 2 - 1);
            NodeRecord& node = doc_->Node(i);
            node.halfWidth = std::max(1, half * size.width() / longer);
            node.halfHeight = std::max(1, half * size.height() / longer);
            node.centerX = (i % columns) * cell + cell / 2;
            node.centerY = (i / columns) * cell + cell / 2;
            node.visible = 1;
            node.picture = doc_->Pictures().Adopt(*std::move(picture));
        }
        state.nodeCount = count;

        // A background picture shown through the gaps, as after an arrangement.
        QImage background = TilePicture(7).scaled(1600, 1600);
        state.backPicture = doc_->Pictures().Adopt(*ImageBlob::FromEncoded(Jpeg(background)));
        state.showBackPicture = 1;
        background_ = std::move(background);
        ready_ = true;
    }

    std::unique_ptr<Document> doc_;
    QImage background_;
    bool ready_ = false;
};

// One frame as the view paints it: the canvas and the white beyond it.
void PaintFrame(QImage& target, const RenderFixture& fixture, float zoom, QPoint scroll) {
    RenderOptions options;
    options.zoom = zoom;
    options.backgroundCopy = &fixture.BackgroundCopy();
    options.viewArea = {scroll.x(), scroll.y(), scroll.x() + kViewWidth, scroll.y() + kViewHeight};
    QPainter painter(&target);
    painter.translate(-scroll.x(), -scroll.y());
    PaintCanvas(painter, fixture.Doc(), options);
    const DocState& s = fixture.Doc().State();
    PaintOutsideCanvas(
        painter, {0, 0, CanvasToView(zoom, s.canvasWidth), CanvasToView(zoom, s.canvasHeight)},
        options.viewArea);
}

float ZoomOf(const benchmark::State& state) {
    return state.range(0) == 0 ? 1.0f : kFitZoom;
}
QPoint ScrollOf(const benchmark::State& state) {
    return state.range(0) == 0 ? kScrollAtFullSize : QPoint(0, 0);
}

int NodesInView(const Document& doc, float zoom, QPoint scroll) {
    const IntRect view{scroll.x(), scroll.y(), scroll.x() + kViewWidth, scroll.y() + kViewHeight};
    int inView = 0;
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        const IntRect r = NodeViewRect(doc.Node(i), zoom);
        inView +=
            r.left < view.right && view.left < r.right && r.top < view.bottom && view.top < r.bottom
                ? 1
                : 0;
    }
    return inView;
}

void AddCounters(benchmark::State& state, const RenderFixture& fixture, quint64 decodes) {
    state.counters["decodes"] =
        benchmark::Counter(double(decodes), benchmark::Counter::kAvgIterations);
    state.counters["nodesInView"] = NodesInView(fixture.Doc(), ZoomOf(state), ScrollOf(state));
}

void BM_RenderWarm(benchmark::State& state) {
    RenderFixture& fixture = RenderFixture::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    QImage target(kViewWidth, kViewHeight, QImage::Format_RGB32);
    const float zoom = ZoomOf(state);
    const QPoint scroll = ScrollOf(state);
    PaintFrame(target, fixture, zoom, scroll);  // decodes what the view shows
    const quint64 before = PictureDecodeCount();
    for (auto _ : state) {
        PaintFrame(target, fixture, zoom, scroll);
        benchmark::DoNotOptimize(target.constBits());
    }
    AddCounters(state, fixture, PictureDecodeCount() - before);
}
BENCHMARK(BM_RenderWarm)->Arg(0)->Arg(1)->ArgName("fit")->Unit(benchmark::kMillisecond);

void BM_RenderCold(benchmark::State& state) {
    RenderFixture& fixture = RenderFixture::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    QImage target(kViewWidth, kViewHeight, QImage::Format_RGB32);
    const float zoom = ZoomOf(state);
    const QPoint scroll = ScrollOf(state);
    const quint64 before = PictureDecodeCount();
    for (auto _ : state) {
        state.PauseTiming();
        DecodeCache::Instance().Clear();
        state.ResumeTiming();
        PaintFrame(target, fixture, zoom, scroll);
        benchmark::DoNotOptimize(target.constBits());
    }
    AddCounters(state, fixture, PictureDecodeCount() - before);
}
BENCHMARK(BM_RenderCold)->Arg(0)->Arg(1)->ArgName("fit")->Unit(benchmark::kMillisecond);

// The same pictures decoded beforehand at the size they are drawn, drawn
// into the same rectangles over the same background; no culling, no frame.
void BM_RenderBaseline_DrawImages(benchmark::State& state) {
    RenderFixture& fixture = RenderFixture::Get();
    if (!fixture.Ready()) return state.SkipWithError("fixture not made");
    const Document& doc = fixture.Doc();
    const float zoom = ZoomOf(state);
    const QPoint scroll = ScrollOf(state);
    const QRect view(scroll, QSize(kViewWidth, kViewHeight));
    std::vector<std::pair<QRect, QImage>> pictures;
    for (int i = 0; i < doc.State().nodeCount; ++i) {
        const QRect r = NodeViewRect(doc.Node(i), zoom).ToQRect();
        if (!r.intersects(view)) continue;
        pictures.emplace_back(r, doc.Picture(doc.Node(i).picture)->DecodeForSize(r.size()));
    }
    QImage target(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.translate(-scroll.x(), -scroll.y());
        painter.setClipRect(view);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(
            QRect(0, 0, CanvasToView(zoom, kCanvasSize), CanvasToView(zoom, kCanvasSize)),
            fixture.BackgroundCopy());
        for (const auto& [rect, image] : pictures)
            painter.drawImage(rect, image);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["nodesInView"] = double(pictures.size());
}
BENCHMARK(BM_RenderBaseline_DrawImages)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("fit")
    ->Unit(benchmark::kMillisecond);

}  // namespace
