#pragma once

#include <QRgb>
#include <QVector>
#include <array>
#include <cstdint>

namespace tessaly {

// A colour table of an indexed BMP together with a nearest-colour lookup.
// Colours are looked up by their top five bits per channel, so mapping a
// pixel costs one table read.
class IndexPalette {
public:
    explicit IndexPalette(QVector<QRgb> colours);

    const QVector<QRgb>& Colours() const { return colours_; }
    std::uint8_t Nearest(QRgb colour) const {
        return lookup_[((qRed(colour) >> 3) << 10) | ((qGreen(colour) >> 3) << 5) | (qBlue(colour) >> 3)];
    }

private:
    QVector<QRgb> colours_;
    std::array<std::uint8_t, 32768> lookup_{};
};

// Black and white, for 1 bit per pixel.
const IndexPalette& MonochromePalette();
// The sixteen standard colours, for 4 bits per pixel.
const IndexPalette& StandardPalette16();
// A 6 x 6 x 6 colour cube and 40 greys between its grey steps, for 8 bits.
const IndexPalette& Palette256();

}  // namespace tessaly
