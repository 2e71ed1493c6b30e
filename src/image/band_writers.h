#pragma once

#include <QIODevice>
#include <QSize>
#include <optional>

#include "image/band_source.h"
#include "image/image_writer.h"
#include "image/output_format.h"

// The encoders behind WriteImageFile. Each writes the bands it is handed
// onto a device as they come, and reports how the writing ended; the device
// (a SafeFile, or a buffer) is the caller's to commit or discard.

namespace tessaly {

// The longest side a JPEG file can describe.
inline constexpr int kMaxJpegSide = 65500;
// The longest side a GIF file can describe.
inline constexpr int kMaxGifSide = 65535;

// PNG, 8-bit RGB, at a fast compression.
WriteResult WritePngBands(QIODevice& device, BandSource& bands);
// Baseline JPEG of `quality` (1..100).
WriteResult WriteJpegBands(QIODevice& device, BandSource& bands, int quality);
// TIFF, 8-bit RGB, uncompressed strips; BigTIFF (64-bit offsets) with
// `bigTiff`, which NeedsBigTiff decides.
WriteResult WriteTiffBands(QIODevice& device, BandSource& bands, bool bigTiff);
// BMP of the format's depth and compression; `bands` from the bottom up.
WriteResult WriteBmpBands(QIODevice& device, BandSource& bands, const OutputFormat& format);
// GIF: the bands are gathered into one picture, then written whole.
WriteResult WriteGifBands(QIODevice& device, BandSource& bands);

// Why a BMP file of `format` cannot hold a picture of `size`: an unknown
// depth and compression, or pixels beyond what its 32-bit sizes describe.
// Nothing when it can.
std::optional<WriteResult> BmpRefusal(const OutputFormat& format, QSize size);

// An upper bound of the bytes of the classic (32-bit offset) TIFF file that
// WriteTiffBands writes for a picture of width x height.
qint64 ClassicTiffBytes(qint64 width, qint64 height);
// Whether that file would pass 4 GB, so that it has to be a BigTIFF file.
bool NeedsBigTiff(qint64 width, qint64 height);

}  // namespace tessaly
