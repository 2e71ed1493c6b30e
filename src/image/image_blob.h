#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

class QPainter;
class QRect;

namespace tessaly {

// A picture: the encoded image stream it was made from, kept byte for byte,
// and its pixel size, read from the stream's header. Pixels are decoded only
// when the picture is drawn or measured, through a bounded shared cache.
// Copies share the bytes and the cached pixels; a picture never changes.
class ImageBlob {
public:
    // Makes a picture of an encoded stream, reading only its header. Returns
    // nothing for an empty, unknown, truncated or oversized stream.
    static std::optional<ImageBlob> FromEncoded(QByteArray encoded);

    const QByteArray& Encoded() const { return encoded_; }
    QSize PixelSize() const { return size_; }
    // The stream's format in lower case: "jpeg", "png", "gif", "bmp", "tiff"...
    const QByteArray& Format() const { return format_; }
    bool IsJpeg() const;

    // The pixels at full size. A null image if the stream cannot be decoded.
    QImage Decode() const;
    // The pixels reduced for drawing into at most `target` pixels: the full
    // size halved as long as it stays at least as large as `target`.
    QImage DecodeForSize(QSize target) const;
    // The pixels as small as the decoder makes them cheaply while both sides
    // stay at least `atLeast`: a JPEG stream reduced by the eighths its
    // decoder offers, any other format at full size. Past the decode cache
    // and not counted, for work that goes through many pictures once; safe
    // on any thread. A null image if the stream cannot be decoded.
    QImage DecodeReduced(QSize atLeast) const;

    // Draws the picture scaled into `target`, smoothly.
    void Draw(QPainter& painter, const QRect& target) const;

    // Identifies the stream in the decode cache.
    quint64 Serial() const { return serial_; }

private:
    ImageBlob(QByteArray encoded, QByteArray format, QSize size);

    QImage DecodeAt(QSize size) const;

    QByteArray encoded_;
    QByteArray format_;
    QSize size_;
    quint64 serial_ = 0;
};

// How many times any picture has actually been decoded (cache misses).
quint64 PictureDecodeCount();

}  // namespace tessaly
