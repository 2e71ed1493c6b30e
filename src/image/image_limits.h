#pragma once

#include <QImageReader>
#include <QSize>
#include <QtGlobal>

namespace tessaly {

// Bounds that keep hostile or absurd images from exhausting memory. A picture
// beyond them is treated as one that cannot be read.
inline constexpr qint64 kMaxEncodedBytes = 256LL * 1024 * 1024;
inline constexpr int kMaxPictureSide = 65535;
inline constexpr qint64 kMaxPicturePixels = 100'000'000;
// Upper bound, in MiB, for one decoded image (four bytes a pixel, rounded up).
inline constexpr int kDecodeAllocationLimitMiB = 400;

inline bool IsAcceptablePictureSize(QSize size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxPictureSide &&
           size.height() <= kMaxPictureSide &&
           qint64(size.width()) * size.height() <= kMaxPicturePixels;
}

// The size an image header declares, as Qt's reader reports it. A top-down
// BMP stores a negative height and the reader passes it on; the picture is
// as tall as its magnitude.
inline QSize HeaderSize(const QImageReader& reader) {
    const QSize size = reader.size();
    return QSize(qAbs(size.width()), qAbs(size.height()));
}

}  // namespace tessaly
