#pragma once

#include <QImage>
#include <QSize>
#include <functional>

#include "image/image_writer.h"

namespace tessaly {

// The bands of a picture being written, painted one at a time in the order
// the file stores its rows: from the top down, or from the bottom up. Every
// band spans the picture's width; the bands lie at the same rows either way
// (the last one from the top may be shorter).
class BandSource {
public:
    BandSource(const ImageWriteRequest& request, bool bottomUp);

    QSize Size() const { return size_; }
    int BandCount() const { return count_; }

    // Paints each band in turn and hands it to `write` (32-bit pixels, the
    // fourth byte to be ignored) with the number of its top row, then asks
    // the progress. False when the writing stopped; Stop() says why:
    // NoMemory (a band could not be painted), Failed (`write` said false, or
    // a band of the wrong size), Cancelled (the progress said stop).
    bool ForEach(const std::function<bool(const QImage& band, int top)>& write);
    WriteResult::Outcome Stop() const { return stop_; }

    // How a writing from these bands ended: written, or why not. A stop of
    // the bands (no memory for a band, a cancel) says it first, then the
    // encoder's lack of memory; anything else is a failure.
    WriteResult Ending(bool written, bool encoderOutOfMemory = false) const;

private:
    QSize size_;
    const BandPainter& paint_;
    const std::function<bool(int, int)>& progress_;
    int rows_ = 1;
    int count_ = 0;
    bool bottomUp_ = false;
    WriteResult::Outcome stop_ = WriteResult::Outcome::Written;
};

// The rows per band when the request leaves the choice: about 16 MiB of
// 32-bit pixels, at least one row, at most the picture's height.
int DefaultBandRows(QSize size);

// Bands taken from a picture in memory. The bands of a 32-bit picture share
// its pixels; others are converted band by band.
BandPainter BandsOf(const QImage& image);

}  // namespace tessaly
