#include "mosaic/similar_images.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "canvas/section_averages.h"
#include "document/document.h"
#include "image/image_blob.h"
#include "image/image_limits.h"
#include "image/jpeg_decoder.h"
#include "mosaic/candidate_search.h"

namespace tessaly {
namespace {

// The console's distance of a node from the cell: the average section
// difference of each channel, added; -1 when a section lies beyond the
// tolerance on any channel.
int DistanceFromCell(const NodeRecord& node, const SectionValues (&cell)[3], int sections,
                     int tolerance) {
    const std::uint8_t* own[3] = {node.avgRed, node.avgGreen, node.avgBlue};
    int distance = 0;
    for (int ch = 0; ch < 3; ++ch) {
        int sum = 0;
        for (int k = 0; k < sections; ++k) {
            const int d = std::abs(int(cell[ch][k]) - int(own[ch][k]));
            if (tolerance != kNoTolerance && d > tolerance) return -1;
            sum += d;
        }
        distance += sum / sections;
    }
    return distance;
}

}  // namespace

BackgroundUnderNodes::BackgroundUnderNodes(const Document& doc) {
    const DocState& state = doc.State();
    canvasWidth_ = std::clamp(state.canvasWidth, 0, kMaxCanvasSide);
    canvasHeight_ = std::clamp(state.canvasHeight, 0, kMaxCanvasSide);
    const ImageBlob* back = doc.Picture(state.backPicture);
    if (back == nullptr || canvasWidth_ == 0 || canvasHeight_ == 0) return;
    if (back->IsJpeg() && IsAcceptablePictureSize(back->PixelSize())) {
        jpeg_ = *back;
    } else {
        decoded_ = RasterisePicture(*back);
    }
}

QImage BackgroundUnderNodes::PixelsFor(qint64 top, qint64 bottom) const {
    if (!jpeg_) return decoded_;
    // The picture's rows the stretched rows top..bottom - 1 are drawn from,
    // with room for the smoothing's neighbours and for rounding.
    const qint64 rows = jpeg_->PixelSize().height();
    const qint64 margin = 2 + (rows + canvasHeight_ - 1) / canvasHeight_;
    const auto pictureRow = [&](qint64 canvasRow) { return canvasRow * rows / canvasHeight_; };
    const auto first = static_cast<int>(std::clamp<qint64>(pictureRow(top) - margin, 0, rows));
    const auto last = static_cast<int>(std::clamp<qint64>(pictureRow(bottom) + margin, 0, rows));
    QImage band = DecodeJpegRows(jpeg_->Encoded(), first, last).image;
    if (band.format() == QImage::Format_Grayscale8) band.convertTo(QImage::Format_RGB32);
    return band;
}

void BackgroundUnderNodes::Sample(const NodeRecord& node, int sectionCount, SectionValues& red,
                                  SectionValues& green, SectionValues& blue) const {
    // Read in 64 bits: a stored rectangle may reach past the range of int.
    const std::int64_t left = std::int64_t(node.centerX) - node.halfWidth;
    const std::int64_t top = std::int64_t(node.centerY) - node.halfHeight;
    const std::int64_t width = std::max<std::int64_t>(2 * std::int64_t(node.halfWidth), 0);
    const std::int64_t height = std::max<std::int64_t>(2 * std::int64_t(node.halfHeight), 0);
    const auto within = [](std::int64_t v, int side) {
        return static_cast<int>(std::clamp<std::int64_t>(v, 0, side));
    };
    const QRect under(QPoint(within(left, canvasWidth_), within(top, canvasHeight_)),
                      QPoint(within(left + width, canvasWidth_) - 1,
                             within(top + height, canvasHeight_) - 1));
    // Only the part of the stretched background the node covers is drawn;
    // drawn alone at its offset it holds the pixels the whole canvas would.
    QImage surface;
    const QImage pixels = under.isEmpty() ? QImage() : PixelsFor(under.top(), under.bottom() + 1);
    if (!pixels.isNull()) {
        surface = QImage(under.size(), QImage::Format_RGB32);
        surface.fill(Qt::white);
        QPainter painter(&surface);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(-under.topLeft());
        painter.drawImage(QRect(0, 0, canvasWidth_, canvasHeight_), pixels);
    }
    // Offsets past a quarter of the int range sample as white all the same.
    constexpr std::int64_t kFar = std::int64_t(1) << 29;
    SampleBackgroundCell(surface, sectionCount,
                         static_cast<int>(std::clamp(left - under.left(), -kFar, kFar)),
                         static_cast<int>(std::clamp(top - under.top(), -kFar, kFar)),
                         double(width), double(height), red, green, blue);
}

std::vector<SimilarImage> FindSimilarImages(const Document& doc,
                                            const BackgroundUnderNodes& background, int node,
                                            int count) {
    const DocState& state = doc.State();
    if (!background.Valid() || node < 0 || node >= state.nodeCount || count <= 0) return {};
    const int side = SectionGridSide(state.sectionCount);
    SectionValues cell[3];
    background.Sample(doc.Node(node), state.sectionCount, cell[0], cell[1], cell[2]);
    const int tolerance = SectionTolerance(state.comparePrecision);

    std::vector<SimilarImage> found;
    for (int i = 0; i < state.nodeCount; ++i) {
        const NodeRecord& other = doc.Node(i);
        if (i == node || !other.picture) continue;
        const int distance = DistanceFromCell(other, cell, side * side, tolerance);
        if (distance >= 0) found.push_back({i, distance, other.visible != 0});
    }
    const auto closer = [](const SimilarImage& a, const SimilarImage& b) {
        return a.distance != b.distance ? a.distance < b.distance : a.node < b.node;
    };
    const std::size_t kept = std::min(found.size(), static_cast<std::size_t>(count));
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(),
                      closer);
    found.resize(kept);
    return found;
}

}  // namespace tessaly
