#include "image/band_source.h"

#include <algorithm>

namespace tessaly {
namespace {

constexpr qint64 kBandBytes = 16LL << 20;

bool IsThirtyTwoBits(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
}

}  // namespace

int DefaultBandRows(QSize size) {
    const qint64 rowBytes = std::max<qint64>(1, 4LL * size.width());
    return static_cast<int>(
        std::clamp<qint64>(kBandBytes / rowBytes, 1, std::max(1, size.height())));
}

BandSource::BandSource(const ImageWriteRequest& request, bool bottomUp)
    : size_(request.size), paint_(request.paint), progress_(request.progress), bottomUp_(bottomUp) {
    rows_ = request.bandRows > 0 ? std::min(request.bandRows, std::max(1, size_.height()))
                                 : DefaultBandRows(size_);
    count_ = size_.height() <= 0 ? 0 : (size_.height() + rows_ - 1) / rows_;
}

bool BandSource::ForEach(const std::function<bool(const QImage& band, int top)>& write) {
    for (int done = 0; done < count_; ++done) {
        const int index = bottomUp_ ? count_ - 1 - done : done;
        const int top = index * rows_;
        const int rows = std::min(rows_, size_.height() - top);
        QImage band = paint_ ? paint_(top, rows) : QImage();
        if (!band.isNull() && !IsThirtyTwoBits(band.format())) {
            band = band.convertToFormat(QImage::Format_RGB32);
        }
        if (band.isNull()) {
            stop_ = WriteResult::Outcome::NoMemory;
            return false;
        }
        if (band.size() != QSize(size_.width(), rows) || !write(band, top)) {
            stop_ = WriteResult::Outcome::Failed;
            return false;
        }
        if (progress_ && !progress_(done + 1, count_)) {
            stop_ = WriteResult::Outcome::Cancelled;
            return false;
        }
    }
    return true;
}

WriteResult BandSource::Ending(bool written, bool encoderOutOfMemory) const {
    WriteResult result;
    if (written) result.outcome = WriteResult::Outcome::Written;
    else if (stop_ == WriteResult::Outcome::NoMemory || stop_ == WriteResult::Outcome::Cancelled)
        result.outcome = stop_;
    else if (encoderOutOfMemory) result.outcome = WriteResult::Outcome::NoMemory;
    else result.outcome = WriteResult::Outcome::Failed;
    return result;
}

BandPainter BandsOf(const QImage& image) {
    return [image](int top, int rows) -> QImage {
        if (IsThirtyTwoBits(image.format())) {
            // Shares the rows: a read-only view of the picture's own pixels.
            return QImage(image.constScanLine(top), image.width(), rows, image.bytesPerLine(),
                          image.format());
        }
        return image.copy(0, top, image.width(), rows).convertToFormat(QImage::Format_RGB32);
    };
}

}  // namespace tessaly
