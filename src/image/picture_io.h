#pragma once

#include <QSize>
#include <optional>

#include "image/image_blob.h"

class QIODevice;

namespace tessaly {

// Reads `length` bytes from `file` and makes a picture of them. Nothing when
// the bytes cannot be read or are not a picture.
std::optional<ImageBlob> LoadImageBlob(QIODevice& file, qint64 length);

// Writes the picture's encoded stream to `file`, preceded, with `withLength`,
// by its length as four bytes big-endian. Writes nothing and fails for an
// empty stream.
bool SaveImageBlob(QIODevice& file, const ImageBlob& picture, bool withLength);

// The number of bytes SaveImageBlob writes for the stream, or 0 without a picture.
qint64 EncodedSize(const ImageBlob* picture);

// The picture's size in pixels; (0, 0) without a picture.
QSize PixelSize(const ImageBlob* picture);

}  // namespace tessaly
