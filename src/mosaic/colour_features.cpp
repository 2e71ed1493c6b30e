#include "mosaic/colour_features.h"

#include <QPainter>
#include <QStringView>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "document/document.h"
#include "image/image_blob.h"
#include "image/image_limits.h"
#include "services/status_service.h"

namespace tessaly {
namespace {

constexpr QStringView kUpdatingSectionsText =
    u"各イメージの区画情報更新中です。このままお待ちください...";

constexpr QRgb kRgbMask = 0x00FFFFFF;

// Shows a note across the status bar while it lives.
class StatusNote {
public:
    explicit StatusNote(QStringView text) { SetStatusInfo(text.toString()); }
    ~StatusNote() { SetStatusInfo({}); }
    StatusNote(const StatusNote&) = delete;
    StatusNote& operator=(const StatusNote&) = delete;
};

}  // namespace

bool ComputeNodeSectionAverages(Document& doc, int node) {
    if (!doc.HasTables() || node < 0 || node >= kNodeTableCapacity) return false;
    NodeRecord& record = doc.Node(node);
    const ImageBlob* picture = doc.Picture(record.picture);
    if (!picture) return false;
    return ComputeSectionAverages(*picture, doc.State().sectionCount, record.avgRed,
                                  record.avgGreen, record.avgBlue);
}

void RecomputeAllSectionAverages(Document& doc) {
    if (!doc.HasTables()) return;
    const StatusNote note(kUpdatingSectionsText);
    const int nodes = std::clamp(doc.State().nodeCount, 0, kMaxNodes);
    StatusProgress progress(nodes);
    for (int i = 0; i < nodes; ++i) {
        progress.SetPos(i);
        ComputeNodeSectionAverages(doc, i);
    }
}

QImage NewSamplingSurface(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxCanvasSide || height > kMaxCanvasSide) return {};
#if defined(__linux__)
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
    void* pixels = nullptr;
    if (posix_memalign(&pixels, kHugePage, (bytes + kHugePage - 1) / kHugePage * kHugePage) == 0) {
        madvise(pixels, bytes, MADV_HUGEPAGE);  // only advice: fine if refused
        return QImage(
            static_cast<uchar*>(pixels), width, height, width * 4, QImage::Format_RGB32,
            [](void* p) { std::free(p); }, pixels);
    }
#endif
    return QImage(width, height, QImage::Format_RGB32);
}

QImage MakeSamplingSurface(const Document& doc) {
    const DocState& state = doc.State();
    const int width = std::clamp(state.canvasWidth, 0, kMaxCanvasSide);
    const int height = std::clamp(state.canvasHeight, 0, kMaxCanvasSide);
    if (width == 0 || height == 0) return {};
    QImage surface = NewSamplingSurface(width, height);
    if (surface.isNull()) return {};
    surface.fill(Qt::white);
    if (const ImageBlob* back = doc.Picture(state.backPicture)) {
        const QImage pixels = RasterisePicture(*back);
        if (!pixels.isNull()) {
            QPainter painter(&surface);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(0, 0, width, height), pixels);
        }
    }
    return surface;
}

bool ComputeBackgroundHistogram(const ImageBlob& picture,
                                std::int32_t (&histogram)[kHistogramBins]) {
    const QImage image = RasterisePicture(picture);
    if (image.isNull()) return false;
    std::array<std::int64_t, kHistogramBins> counts{};
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            ++counts[std::size_t(qRed(line[x]))];
            ++counts[std::size_t(256 + qGreen(line[x]))];
            ++counts[std::size_t(512 + qBlue(line[x]))];
        }
    }
    const double pixels = double(image.width()) * double(image.height());
    for (int i = 0; i < kHistogramBins; ++i) {
        histogram[i] = static_cast<std::int32_t>(double(counts[std::size_t(i)]) * 10000.0 / pixels);
    }
    return true;
}

void AdoptBackgroundPicture(Document& doc, ImageBlob picture) {
    DocState& state = doc.State();
    doc.Pictures().Release(state.backPicture);
    ComputeBackgroundHistogram(picture, state.backHistogram);
    state.backPicture = doc.Pictures().Adopt(std::move(picture));
}

ColourHistogram ComputeImagesHistogram(const Document& doc) {
    ColourHistogram histogram{};
    if (!doc.HasTables()) return histogram;
    const int nodes = std::clamp(doc.State().nodeCount, 0, kMaxNodes);
    const int s = SectionGridSide(doc.State().sectionCount);
    const int sections = s * s;
    StatusProgress progress(nodes);
    for (int i = 0; i < nodes; ++i) {
        progress.SetPos(i);
        const NodeRecord& node = doc.Node(i);
        for (int k = 0; k < sections; ++k) {
            ++histogram[node.avgRed[k]];
            ++histogram[256 + std::size_t(node.avgGreen[k])];
            ++histogram[512 + std::size_t(node.avgBlue[k])];
        }
    }
    if (nodes == 0) return histogram;
    const float total = static_cast<float>(sections * nodes);
    for (std::int32_t& bin : histogram) {
        bin = static_cast<std::int32_t>(static_cast<float>(bin) * 10000.0f / total);
    }
    return histogram;
}

float MeasureContentRate(const ImageBlob& picture, ColorRef colour) {
    if (colour < 0) return 0.0f;
    const QImage image = RasterisePicture(picture);
    if (image.isNull()) return 0.0f;
    const QRgb wanted = qRgb(ColorRed(colour), ColorGreen(colour), ColorBlue(colour)) & kRgbMask;
    std::int64_t matching = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & kRgbMask) == wanted) ++matching;
        }
    }
    if (matching == 0) return 0.0f;
    const float pixels = static_cast<float>(std::int64_t(image.width()) * image.height());
    return static_cast<float>(matching) * 100.0f / pixels;
}

}  // namespace tessaly
