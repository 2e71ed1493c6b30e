#include "image/image_blob.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <cmath>

#include "image/decode_cache.h"
#include "image/image_limits.h"
#include "image/jpeg_structure.h"

namespace tessaly {
namespace {

std::atomic<quint64> g_nextSerial{1};
std::atomic<quint64> g_decodeCount{0};

// Reads format and size from the header of a stream that is not JPEG.
std::optional<std::pair<QByteArray, QSize>> ReadOtherHeader(const QByteArray& encoded) {
    QBuffer buffer;
    buffer.setData(encoded);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) return std::nullopt;
    const QByteArray format = reader.format().toLower();
    const QSize size = HeaderSize(reader);
    if (format.isEmpty() || !size.isValid()) return std::nullopt;
    return std::make_pair(format, size);
}

// Whether a JPEG stream decodes to a picture of its declared size.
bool Decodes(const QByteArray& encoded, QSize size) {
    if (!IsAcceptablePictureSize(size)) return false;
    QBuffer buffer;
    buffer.setData(encoded);
    if (!buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer, "jpeg");
    reader.setAllocationLimit(kDecodeAllocationLimitMiB);
    return reader.read().size() == size;
}

// The image Qt's JPEG reader decodes into, filled with a defined colour
// beforehand: a damaged stream leaves the rows it does not supply as they
// were. The reader keeps an image of the size and format it would make; for
// a reduced decode that is the library's eighths, as the reader picks them.
QImage PrefilledJpegTarget(const QByteArray& encoded, QSize full, QSize target) {
    const JpegStructure jpeg = ReadJpegStructure(encoded);
    QSize size = full;
    if (target != full) {
        const double factor = std::min(double(full.width()) / target.width(),
                                       double(full.height()) / target.height());
        const int eighths = std::clamp(int(std::ceil(8 / factor)), 1, 8);
        size = QSize((full.width() * eighths + 7) / 8, (full.height() * eighths + 7) / 8);
    }
    QImage image(size, jpeg.components == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (!image.isNull()) image.fill(Qt::white);
    return image;
}

}  // namespace

std::optional<ImageBlob> ImageBlob::FromEncoded(QByteArray encoded) {
    if (encoded.isEmpty() || encoded.size() > kMaxEncodedBytes) return std::nullopt;
    QByteArray format;
    QSize size;
    if (LooksLikeJpeg(encoded)) {
        const JpegStructure jpeg = ReadJpegStructure(encoded);
        // A stream cut short after its scan began is a picture when it
        // decodes: many cameras and editors leave out the end marker.
        if (!jpeg.complete && !(jpeg.scanned && Decodes(encoded, jpeg.size))) return std::nullopt;
        format = QByteArrayLiteral("jpeg");
        size = jpeg.size;
    } else {
        auto header = ReadOtherHeader(encoded);
        if (!header) return std::nullopt;
        std::tie(format, size) = *header;
    }
    if (!IsAcceptablePictureSize(size)) return std::nullopt;
    return ImageBlob(std::move(encoded), std::move(format), size);
}

ImageBlob::ImageBlob(QByteArray encoded, QByteArray format, QSize size)
    : encoded_(std::move(encoded)),
      format_(std::move(format)),
      size_(size),
      serial_(g_nextSerial.fetch_add(1, std::memory_order_relaxed)) {}

bool ImageBlob::IsJpeg() const { return format_ == "jpeg"; }

QImage ImageBlob::Decode() const { return DecodeAt(size_); }

QImage ImageBlob::DecodeForSize(QSize target) const {
    QSize size = size_;
    while (size.width() / 2 >= target.width() && size.height() / 2 >= target.height() &&
           size.width() / 2 > 0 && size.height() / 2 > 0) {
        size /= 2;
    }
    return DecodeAt(size);
}

QImage ImageBlob::DecodeAt(QSize size) const {
    DecodeCache& cache = DecodeCache::Instance();
    if (QImage cached = cache.Find(serial_, size); !cached.isNull()) return cached;

    QBuffer buffer;
    buffer.setData(encoded_);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer, format_);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kDecodeAllocationLimitMiB);
    if (size != size_) reader.setScaledSize(size);
    // A stream damaged after its first rows reports failure yet gives the
    // rows it holds, as Qt's reader returns them; the rest keep the fill.
    QImage image = IsJpeg() ? PrefilledJpegTarget(encoded_, size_, size) : QImage();
    if (!reader.read(&image) && !IsJpeg()) image = QImage();
    g_decodeCount.fetch_add(1, std::memory_order_relaxed);
    if (image.isNull()) return {};
    if (image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    cache.Insert(serial_, size, image);
    return image;
}

void ImageBlob::Draw(QPainter& painter, const QRect& target) const {
    if (target.isEmpty()) return;
    const QRect device = painter.transform().mapRect(target);
    const QImage image = DecodeForSize(device.size());
    if (image.isNull()) return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    painter.restore();
}

quint64 PictureDecodeCount() { return g_decodeCount.load(std::memory_order_relaxed); }

}  // namespace tessaly
