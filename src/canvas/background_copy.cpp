#include "canvas/background_copy.h"

#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "document/document.h"
#include "image/image_blob.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tessaly {
namespace {

constexpr int kPlainLevel = 4;

int BoundLevel(int level) { return std::clamp(level, 1, 7); }

// The picture decoded at the size the copy has: its own, or narrowed to the
// canvas width with the height in proportion (single precision, as stored
// sizes are computed elsewhere).
QImage DecodeForCanvas(const ImageBlob& picture, int canvasWidth) {
    const QSize size = picture.PixelSize();
    if (size.width() <= canvasWidth) return picture.Decode();
    const float scale = static_cast<float>(canvasWidth) / static_cast<float>(size.width());
    const int height = std::max(static_cast<int>(scale * static_cast<float>(size.height())), 1);
    const QImage narrowed = picture.DecodeForSize(QSize(canvasWidth, height));
    if (narrowed.isNull()) return {};
    return narrowed.scaled(canvasWidth, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Adds `delta` to bytes 0 to 2 of each native 32-bit word of a row, clamped
// to 0..255; the fourth byte (alpha or padding) is left as it is.
void ShiftRow32(const std::uint32_t* from, std::uint32_t* to, int count, int delta) {
    int x = 0;
#if defined(__SSE2__)
    const auto amount = static_cast<std::uint32_t>(std::abs(delta));
    const std::uint32_t word = amount | (amount << 8) | (amount << 16);
    const __m128i add = _mm_set1_epi32(static_cast<int>(word));
    for (; x + 4 <= count; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        const __m128i shifted =
            delta > 0 ? _mm_adds_epu8(pixels, add) : _mm_subs_epu8(pixels, add);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), shifted);
    }
#endif
    for (; x < count; ++x) {
        std::uint32_t pixel = from[x];
        for (int shift = 0; shift < 24; shift += 8) {
            const int byte = static_cast<int>((pixel >> shift) & 0xFF);
            const auto moved = static_cast<std::uint32_t>(std::clamp(byte + delta, 0, 255));
            pixel = (pixel & ~(0xFFu << shift)) | (moved << shift);
        }
        to[x] = pixel;
    }
}

void ShiftRow24(const uchar* from, uchar* to, int count, int delta) {
    for (int i = 0; i < count * 3; ++i) {
        to[i] = static_cast<uchar>(std::clamp(from[i] + delta, 0, 255));
    }
}

// 5-6-5 pixels: `steps` steps of 10 on red and blue and 20 on green, up when
// `brighter`, each field clamped to its range. Steps of one sign clamp the
// same as their sum, so they are applied at once.
void ShiftRow565(const quint16* from, quint16* to, int count, int steps, bool brighter) {
    const int sign = brighter ? 1 : -1;
    const int five = sign * 10 * steps, six = sign * 20 * steps;
    for (int x = 0; x < count; ++x) {
        const int pixel = from[x];
        const int red = std::clamp((pixel >> 11) + five, 0, 31);
        const int green = std::clamp(((pixel >> 5) & 0x3F) + six, 0, 63);
        const int blue = std::clamp((pixel & 0x1F) + five, 0, 31);
        to[x] = static_cast<quint16>((red << 11) | (green << 5) | blue);
    }
}

// A new image for a shifted copy. A copy of the largest canvas is 100 MB, and
// touching that much fresh memory page by page costs more than the shift
// itself, so on Linux the kernel is asked to back it with huge pages.
QImage NewCopyImage(QSize size, QImage::Format format) {
#if defined(__linux__)
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    // Rows padded to whole 32-bit words, as QImage lays them out itself.
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const qsizetype stride = (static_cast<qsizetype>(size.width()) * depth + 31) / 32 * 4;
    const std::size_t bytes =
        static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.height());
    void* pixels = nullptr;
    if (stride > 0 && bytes >= kHugePage &&
        posix_memalign(&pixels, kHugePage, (bytes + kHugePage - 1) / kHugePage * kHugePage) == 0) {
        madvise(pixels, bytes, MADV_HUGEPAGE);  // only advice: fine if refused
        return QImage(
            static_cast<uchar*>(pixels), size.width(), size.height(), stride, format,
            [](void* p) { std::free(p); }, pixels);
    }
#endif
    return QImage(size, format);
}

bool IsNativeWordFormat(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
}

}  // namespace

QImage RebuildBackgroundCopy(const Document& doc) {
    const DocState& s = doc.State();
    const ImageBlob* picture = doc.Picture(s.backPicture);
    if (picture == nullptr) return {};
    const QImage decoded = DecodeForCanvas(*picture, s.canvasWidth);
    if (decoded.isNull()) return {};
    if (!decoded.hasAlphaChannel()) return decoded.convertToFormat(QImage::Format_RGB32);
    QImage copy(decoded.size(), QImage::Format_RGB32);
    if (copy.isNull()) return copy;
    copy.fill(Qt::white);
    QPainter painter(&copy);
    painter.drawImage(0, 0, decoded);
    return copy;
}

int BrightnessDelta(int level) { return (BoundLevel(level) - kPlainLevel) * 32; }

QImage ShiftedCopy(const QImage& plain, int level) {
    const int delta = BrightnessDelta(level);
    if (plain.isNull() || delta == 0 || plain.depth() < 16) return plain;
    if (plain.depth() == 16 && plain.format() != QImage::Format_RGB16) return plain;
    QImage source = plain;
    const QImage::Format format = plain.format();
    const bool known = IsNativeWordFormat(format) || format == QImage::Format_RGB888 ||
                       format == QImage::Format_RGB16;
    if (!known) {
        source = plain.convertToFormat(plain.hasAlphaChannel() ? QImage::Format_ARGB32
                                                               : QImage::Format_RGB32);
        if (source.isNull()) return source;
    }
    QImage shifted = NewCopyImage(source.size(), source.format());
    if (shifted.isNull()) return shifted;
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const uchar* from = source.constScanLine(y);
        uchar* to = shifted.scanLine(y);
        switch (source.format()) {
        case QImage::Format_RGB16:
            ShiftRow565(reinterpret_cast<const quint16*>(from), reinterpret_cast<quint16*>(to),
                        width, std::abs(delta) / 32, delta > 0);
            break;
        case QImage::Format_RGB888:
            ShiftRow24(from, to, width, delta);
            break;
        default:
            ShiftRow32(reinterpret_cast<const std::uint32_t*>(from),
                       reinterpret_cast<std::uint32_t*>(to), width, delta);
            break;
        }
    }
    return shifted;
}

const QImage* BackgroundCopyCache::Get(const Document& doc) {
    const DocState& s = doc.State();
    // Picture references are never reused, so an unchanged one is the same picture.
    if (s.backPicture != plainOf_ || s.canvasWidth != plainWidth_) {
        plain_ = RebuildBackgroundCopy(doc);
        plainOf_ = s.backPicture;
        plainWidth_ = s.canvasWidth;
        shown_ = plain_;
        shownLevel_ = kPlainLevel;
    }
    const int level = BoundLevel(s.backBrightness);
    if (level != shownLevel_) {
        // Always from the plain copy, so that levels never add up.
        shown_ = QImage();  // the old copy's memory goes before the new one is made
        shown_ = ShiftedCopy(plain_, level);
        shownLevel_ = level;
    }
    return shown_.isNull() ? nullptr : &shown_;
}

QImage BackgroundCopy(const Document& doc) {
    BackgroundCopyCache cache;
    const QImage* copy = cache.Get(doc);
    return copy == nullptr ? QImage() : *copy;
}

}  // namespace tessaly
