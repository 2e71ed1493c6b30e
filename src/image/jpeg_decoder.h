#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>

namespace tessaly {

// Decoding JPEG streams with the JPEG library itself, which can reduce a
// picture by eighths while decoding it: a 1600 x 1200 photograph wanted at
// 64 x 48 is decoded at 200 x 150, skipping most of the work.

// The colour of rows a damaged stream does not supply: mid grey, which is
// also what the library makes of a scan whose data ran out.
inline constexpr QRgb kJpegFillColour = 0xFF808080;

// The eighths (1 to 8) the library keeps of a picture of `full` pixels so
// that neither side falls below `target`: the fewest that do, 8 when only
// the full size does. An empty `target` asks for the full size.
int JpegReductionEighths(QSize full, QSize target);

// The size the library makes of `full` kept at `eighths` eighths: each side
// times eighths / 8, rounded up.
QSize JpegReducedSize(QSize full, int eighths);

struct DecodedJpeg {
    // Format_RGB32, or Format_Grayscale8 for a stream of one component;
    // null when the stream gave no row at all.
    QImage image;
    QSize fullSize;  // as the frame header declares it
    int rows = 0;    // rows supplied from the top; the rest are kJpegFillColour
};

// Decodes a JPEG stream reduced by JpegReductionEighths(its size, target).
// A stream cut short gives what its data holds; an error in the middle stops
// the decoding and keeps the rows decoded before it. Streams declaring a
// size beyond the picture limits (image_limits.h), or more scans than any
// real encoder writes, are refused. CMYK and YCCK streams are read as
// Adobe's inverted CMYK, as Qt reads them. Safe to run on any thread.
DecodedJpeg DecodeJpeg(QByteArrayView stream, QSize target = {});

// The same at full size for rows first..last - 1 only: the library skips
// the work it can on the rows above and stops after the band. The image has
// the picture's full size; rows outside the band are zero, and `rows` tells
// how far the decoding reached.
DecodedJpeg DecodeJpegRows(QByteArrayView stream, int first, int last);

}  // namespace tessaly
