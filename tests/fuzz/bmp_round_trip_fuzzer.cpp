// Turns arbitrary bytes into a picture, writes it as a run-length coded BMP
// (RLE4 or RLE8) and reads the file back with Qt's BMP reader: every pixel
// must come back as the colour of the table the writer mapped it to.
//
// The input: the first byte's lowest bit picks RLE4 (1) or RLE8 (0); its
// other bits and the second byte give the width (1 to 512), the third the
// height (1 to 64); every further byte is one pixel, a colour of the table
// taken by its index, row by row from the top. A short input is repeated
// to fill the picture, which gives long runs as well as short ones.
#include <QDir>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "image/bmp_palette.h"
#include "image/bmp_writer.h"

using namespace tessaly;

namespace {

constexpr int kHeaderBytes = 3;
constexpr int kMaxWidth = 512;
constexpr int kMaxHeight = 64;

struct Picture {
    QImage image;
    BmpCompression compression;
    const IndexPalette* palette;
};

Picture PictureOf(const std::uint8_t* data, std::size_t size) {
    const bool fourBits = data[0] & 1;
    const IndexPalette& palette = fourBits ? StandardPalette16() : Palette256();
    const int width = 1 + (((data[0] >> 1) << 8) | data[1]) % kMaxWidth;
    const int height = 1 + data[2] % kMaxHeight;
    const std::uint8_t* pixels = data + kHeaderBytes;
    const std::size_t count = size - kHeaderBytes;
    const auto& colours = palette.Colours();

    QImage image(width, height, QImage::Format_RGB32);
    std::size_t next = 0;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, ++next) {
            const std::uint8_t index = count ? pixels[next % count] : 0;
            line[x] = colours[index % colours.size()] | 0xFF000000u;
        }
    }
    return {image, fourBits ? BmpCompression::Rle4 : BmpCompression::Rle8, &palette};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::InitializeFuzzEnvironment(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderBytes) return 0;
    const Picture picture = PictureOf(data, size);
    const int bits = picture.compression == BmpCompression::Rle4 ? 4 : 8;
    static const QString path = QDir(fuzz::FuzzTempRoot()).filePath(QStringLiteral("round-trip.bmp"));

    QString failedStep;
    if (!WriteBmpFile(picture.image, path, bits, picture.compression, &failedStep)) {
        fuzz::FuzzFailure("the BMP writer failed", failedStep);
    }
    const QImage read(path, "BMP");
    if (read.size() != picture.image.size()) {
        fuzz::FuzzFailure("Qt read the file back at another size",
                          QStringLiteral("%1x%2").arg(read.width()).arg(read.height()));
    }
    const auto& colours = picture.palette->Colours();
    for (int y = 0; y < read.height(); ++y) {
        for (int x = 0; x < read.width(); ++x) {
            const QRgb written = colours[picture.palette->Nearest(picture.image.pixel(x, y))];
            if (((read.pixel(x, y) ^ written) & 0xFFFFFFu) != 0) {
                fuzz::FuzzFailure("a pixel came back with another colour",
                                  QStringLiteral("(%1, %2)").arg(x).arg(y));
            }
        }
    }
    return 0;
}
