#include "image/bmp_palette.h"

#include <limits>
#include <utility>

namespace tessaly {

IndexPalette::IndexPalette(QVector<QRgb> colours) : colours_(std::move(colours)) {
    for (int key = 0; key < 32768; ++key) {
        // The middle of the cell of colours this key stands for.
        const int r = ((key >> 10) << 3) | 4;
        const int g = (((key >> 5) & 31) << 3) | 4;
        const int b = ((key & 31) << 3) | 4;
        int best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (int i = 0; i < colours_.size(); ++i) {
            const int dr = r - qRed(colours_[i]);
            const int dg = g - qGreen(colours_[i]);
            const int db = b - qBlue(colours_[i]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        lookup_[static_cast<std::size_t>(key)] = static_cast<std::uint8_t>(best);
    }
}

const IndexPalette& MonochromePalette() {
    static const IndexPalette palette({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    return palette;
}

const IndexPalette& StandardPalette16() {
    static const IndexPalette palette({
        qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0),
        qRgb(0, 0, 128), qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0),
        qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    });
    return palette;
}

namespace {

QVector<QRgb> CubeAndGreys() {
    QVector<QRgb> colours;
    colours.reserve(256);
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) colours.append(qRgb(r * 51, g * 51, b * 51));
        }
    }
    // Eight greys inside each of the five steps of 51 between the cube's greys.
    for (int step = 0; step < 5; ++step) {
        for (int i = 1; i <= 8; ++i) {
            const int level = step * 51 + (i * 51 + 4) / 9;
            colours.append(qRgb(level, level, level));
        }
    }
    return colours;
}

}  // namespace

const IndexPalette& Palette256() {
    static const IndexPalette palette(CubeAndGreys());
    return palette;
}

}  // namespace tessaly
