#include "image/image_blob.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <atomic>

#include "image/decode_cache.h"
#include "image/image_limits.h"
#include "image/jpeg_decoder.h"
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

// Whether a JPEG stream decodes to rows of a picture of its declared size.
// Errors do not depend on the scale, so the smallest decode tells.
bool Decodes(const QByteArray& encoded, QSize size) {
    if (!IsAcceptablePictureSize(size)) return false;
    const DecodedJpeg decoded = DecodeJpeg(encoded, QSize(1, 1));
    return !decoded.image.isNull() && decoded.fullSize == size;
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

QImage ImageBlob::DecodeReduced(QSize atLeast) const {
    // A damaged JPEG stream gives the rows it holds; the rest are defined.
    if (IsJpeg()) return DecodeJpeg(encoded_, atLeast).image;
    QBuffer buffer;
    buffer.setData(encoded_);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer, format_);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kDecodeAllocationLimitMiB);
    return reader.read();
}

QImage ImageBlob::DecodeAt(QSize size) const {
    DecodeCache& cache = DecodeCache::Instance();
    if (QImage cached = cache.Find(serial_, size); !cached.isNull()) return cached;

    QImage image = DecodeReduced(size);
    g_decodeCount.fetch_add(1, std::memory_order_relaxed);
    if (image.isNull()) return {};
    if (image.size() != size) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (image.isNull()) return {};
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
