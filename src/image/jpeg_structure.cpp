#include "image/jpeg_structure.h"

namespace tessaly {
namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kSoi = 0xD8;
constexpr unsigned char kEoi = 0xD9;
constexpr unsigned char kSos = 0xDA;

// Start-of-frame markers carry the picture size: C0..CF except DHT (C4),
// JPG (C8) and DAC (CC).
bool IsStartOfFrame(unsigned char m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// Markers that stand alone, without a length field.
bool IsStandalone(unsigned char m) { return m == 0x01 || (m >= 0xD0 && m <= 0xD7); }

int Read16(QByteArrayView d, qsizetype at) {
    return (static_cast<unsigned char>(d[at]) << 8) | static_cast<unsigned char>(d[at + 1]);
}

bool HasEndOfImageAfter(QByteArrayView d, qsizetype from) {
    // Scan data stuffs every 0xFF byte as FF 00, so FF D9 in it is the real end.
    for (qsizetype i = d.size() - 2; i >= from; --i) {
        if (static_cast<unsigned char>(d[i]) == kMarker &&
            static_cast<unsigned char>(d[i + 1]) == kEoi) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool LooksLikeJpeg(QByteArrayView d) {
    return d.size() >= 3 && static_cast<unsigned char>(d[0]) == kMarker &&
           static_cast<unsigned char>(d[1]) == kSoi &&
           static_cast<unsigned char>(d[2]) == kMarker;
}

JpegStructure ReadJpegStructure(QByteArrayView d) {
    JpegStructure result;
    if (!LooksLikeJpeg(d)) return result;

    qsizetype at = 2;
    while (at + 1 < d.size()) {
        if (static_cast<unsigned char>(d[at]) != kMarker) return result;
        // Any number of fill bytes may precede a marker.
        while (at + 1 < d.size() && static_cast<unsigned char>(d[at + 1]) == kMarker) ++at;
        if (at + 1 >= d.size()) return result;
        const unsigned char marker = static_cast<unsigned char>(d[at + 1]);
        at += 2;
        if (marker == kEoi || marker == kSoi) return result;  // no scan before the end
        if (IsStandalone(marker)) continue;
        if (at + 2 > d.size()) return result;
        const int length = Read16(d, at);
        if (length < 2 || at + length > d.size()) return result;
        if (IsStartOfFrame(marker)) {
            if (length < 8) return result;
            const int height = Read16(d, at + 3);
            const int width = Read16(d, at + 5);
            if (width == 0 || height == 0) return result;
            result.size = QSize(width, height);
            result.components = static_cast<unsigned char>(d[at + 7]);
        }
        if (marker == kSos) {
            result.scanned = result.size.isValid();
            result.complete = result.scanned && HasEndOfImageAfter(d, at + length);
            return result;
        }
        at += length;
    }
    return result;
}

}  // namespace tessaly
