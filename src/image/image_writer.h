#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

#include "image/output_format.h"
#include "image/safe_file.h"

namespace tessaly {

// Paints rows top .. top + rows - 1 of the picture being written into an
// image of the picture's width and `rows` rows (32 bits, alpha ignored).
// A null image means the rows could not be made (no memory); the writing
// then stops. A writer may still be reading a band while the next one is
// painted, so each band is an image of its own, never a view of memory the
// painter paints again.
using BandPainter = std::function<QImage(int top, int rows)>;

// A picture written to a file band by band, as it is painted: only a band of
// rows is held at a time, so a picture far larger than memory can be
// written, except GIF, which is made whole and refused beyond
// kMaxGifPixels.
struct ImageWriteRequest {
    QString path;
    OutputFormat format;
    QSize size;  // of the whole picture, in pixels
    BandPainter paint;
    // Asked after each band with the bands written and their number; false
    // cancels, and the earlier file stays as it was.
    std::function<bool(int done, int total)> progress;
    // Follows the writing and learns why it failed; may be null.
    WriteWatch* watch = nullptr;
    // Rows per band; 0 lets the writer choose.
    int bandRows = 0;
};

// The largest GIF picture written, in pixels: GIF pictures are made whole
// with one 8-bit palette.
inline constexpr qint64 kMaxGifPixels = 64LL * 1024 * 1024;

struct WriteResult {
    enum class Outcome {
        Written,
        Cancelled,  // the progress said stop
        NoMemory,   // a band could not be painted or the encoder's memory failed
        TooLarge,   // beyond what the file type can hold (GIF, BMP sizes)
        Failed,     // the file could not be written; `error` says why
    };
    Outcome outcome = Outcome::Failed;
    int error = 0;       // the system's error number of a failed write
    QString failedStep;  // BMP: the text of the step that failed

    bool Written() const { return outcome == Outcome::Written; }
};

// Writes the picture into `request.path` through SafeFile: after any
// failure or a cancel no partial file is left and the earlier file is as it
// was. PNG through libpng at a fast compression, JPEG through libjpeg
// (baseline, the format's quality), TIFF through libtiff in strips (BigTIFF
// when the file would pass 4 GB), BMP as the BMP writer lays it out (bottom
// row first, so bands are painted from the bottom up).
WriteResult WriteImageFile(const ImageWriteRequest& request);

// The same for a picture already in memory.
WriteResult WriteImageFile(const QImage& image, const QString& path, const OutputFormat& format,
                           WriteWatch* watch = nullptr);

}  // namespace tessaly
