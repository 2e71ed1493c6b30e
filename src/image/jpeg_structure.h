#pragma once

#include <QByteArrayView>
#include <QSize>

namespace tessaly {

// What the marker structure of a JPEG stream says, read without decoding.
struct JpegStructure {
    bool complete = false;  // SOI, frame header, scan and end-of-image marker all present
    bool scanned = false;   // SOI, frame header and the start of a scan present
    QSize size;             // from the frame header; invalid when there is none
    int components = 0;     // colour components of the frame: 1 grey, 3 colour, 4 CMYK
};

// Walks the marker segments of `data`. A stream that is cut short (no
// end-of-image marker after the scan) or whose segment lengths run past the
// end is reported as not complete.
JpegStructure ReadJpegStructure(QByteArrayView data);

// True when `data` begins with the JPEG start-of-image marker.
bool LooksLikeJpeg(QByteArrayView data);

}  // namespace tessaly
