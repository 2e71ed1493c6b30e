// A step of the background brightness on a 5000 x 5000 background picture:
// the level stored through the edit path and the copy the canvas draws made
// again from the plain copy, as the view does on each press of − or +. The
// baseline shifts a fresh copy with a plain loop over QImage::pixel and
// QImage::setPixel. Both alternate between levels 1 and 7, so every step
// moves each colour byte by 96.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <memory>

#include "bench_support.h"
#include "canvas/background_copy.h"
#include "edits/display_edits.h"
#include "document/edited_document.h"
#include "image/image_blob.h"

namespace {

using namespace tessaly;

QByteArray Bmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "bmp").write(image);
    return bytes;
}

// An edited document on the largest canvas whose background picture fills it.
struct BrightnessFixture {
    BrightnessFixture() {
        Document& doc = edited.Doc();
        if (!bench::PrepareBenchDocument(doc)) return;
        const int side = bench::kBenchCanvasSize;
        QImage picture(side, side, QImage::Format_RGB32);
        for (int y = 0; y < side; ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < side; ++x)
                line[x] = qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
        }
        auto blob = ImageBlob::FromEncoded(Bmp(picture));
        if (!blob) return;
        doc.State().backPicture = doc.Pictures().Adopt(*std::move(blob));
        doc.State().backBrightness = 4;
        plain = RebuildBackgroundCopy(doc);
    }

    EditedDocument edited;
    QImage plain;
};

BrightnessFixture& Fixture() {
    static BrightnessFixture fixture;
    return fixture;
}

void BM_BrightnessStep(benchmark::State& state) {
    BrightnessFixture& fixture = Fixture();
    if (fixture.plain.isNull()) return state.SkipWithError("no background picture");
    BackgroundCopyCache cache;
    cache.Get(fixture.edited.Doc());  // the plain copy, made when the picture is set
    int level = 1;
    for (auto _ : state) {
        SetBackBrightness(fixture.edited, level);
        benchmark::DoNotOptimize(cache.Get(fixture.edited.Doc()));
        level = 8 - level;
    }
    state.counters["megapixels"] = fixture.plain.width() * fixture.plain.height() / 1e6;
}
BENCHMARK(BM_BrightnessStep)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BrightnessStepPerPixel(benchmark::State& state) {
    BrightnessFixture& fixture = Fixture();
    if (fixture.plain.isNull()) return state.SkipWithError("no background picture");
    int delta = -96;
    for (auto _ : state) {
        QImage copy = fixture.plain.copy();
        for (int y = 0; y < copy.height(); ++y) {
            for (int x = 0; x < copy.width(); ++x) {
                const QRgb p = copy.pixel(x, y);
                copy.setPixel(
                    x, y,
                    qRgb(std::clamp(qRed(p) + delta, 0, 255), std::clamp(qGreen(p) + delta, 0, 255),
                         std::clamp(qBlue(p) + delta, 0, 255)));
            }
        }
        benchmark::DoNotOptimize(copy);
        delta = -delta;
    }
}
BENCHMARK(BM_BrightnessStepPerPixel)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
