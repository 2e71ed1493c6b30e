#include "image/bmp_writer.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "image/bmp_palette.h"
#include "image/bmp_rle.h"
#include "image/safe_file.h"
#include "resources/ui_strings.h"

namespace tessaly {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
// Compression codes of the information header.
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

struct Layout {
    int bits = 0;
    std::uint32_t compression = kRgb;
    const IndexPalette* palette = nullptr;  // indexed formats
    std::array<std::uint32_t, 3> masks{};   // bit-field formats: red, green, blue
};

// The eight formats this writer knows; nothing for any other combination.
bool LayoutFor(int bits, BmpCompression compression, Layout& layout) {
    layout.bits = bits;
    switch (compression) {
    case BmpCompression::None:
        if (bits == 1) layout.palette = &MonochromePalette();
        else if (bits == 4) layout.palette = &StandardPalette16();
        else if (bits == 8) layout.palette = &Palette256();
        else if (bits != 24) return false;
        return true;
    case BmpCompression::Rle4:
        layout.compression = kRle4;
        layout.palette = &StandardPalette16();
        return bits == 4;
    case BmpCompression::Rle8:
        layout.compression = kRle8;
        layout.palette = &Palette256();
        return bits == 8;
    case BmpCompression::BitFields:
        layout.compression = kBitFields;
        if (bits == 16) {
            layout.masks = {0xF800, 0x07E0, 0x001F};
            return true;
        }
        if (bits == 32) {
            layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
            return true;
        }
        return false;
    }
    return false;
}

void Put16(QByteArray& out, std::uint16_t value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void Put32(QByteArray& out, std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// The information header followed by the colour table or the masks.
QByteArray InfoPart(const QImage& image, const Layout& layout, std::uint32_t pixelBytes) {
    QByteArray info;
    Put32(info, kInfoHeaderSize);
    Put32(info, static_cast<std::uint32_t>(image.width()));
    Put32(info, static_cast<std::uint32_t>(image.height()));  // positive: bottom row first
    Put16(info, 1);
    Put16(info, static_cast<std::uint16_t>(layout.bits));
    Put32(info, layout.compression);
    Put32(info, pixelBytes);
    Put32(info, static_cast<std::uint32_t>(std::max(0, image.dotsPerMeterX())));
    Put32(info, static_cast<std::uint32_t>(std::max(0, image.dotsPerMeterY())));
    Put32(info, 0);  // colours used: the whole table
    Put32(info, 0);  // colours important: all
    if (layout.palette) {
        for (const QRgb colour : layout.palette->Colours()) {
            Put32(info, colour & 0xFFFFFFu);  // blue, green, red, 0 in file order
        }
    }
    if (layout.compression == kBitFields) {
        for (const std::uint32_t mask : layout.masks) Put32(info, mask);
    }
    return info;
}

void MapRow(const QRgb* line, int width, const IndexPalette& palette, std::uint8_t* indexes) {
    for (int x = 0; x < width; ++x) indexes[x] = palette.Nearest(line[x]);
}

// One uncompressed row of `width` pixels into `out`, which is zero-filled.
void PackRow(const QRgb* line, int width, const Layout& layout, std::uint8_t* indexes, char* out) {
    auto* p = reinterpret_cast<std::uint8_t*>(out);
    switch (layout.bits) {
    case 1:
        MapRow(line, width, *layout.palette, indexes);
        for (int x = 0; x < width; ++x) p[x >> 3] |= static_cast<std::uint8_t>(indexes[x] << (7 - (x & 7)));
        break;
    case 4:
        MapRow(line, width, *layout.palette, indexes);
        for (int x = 0; x < width; ++x) p[x >> 1] |= static_cast<std::uint8_t>(indexes[x] << ((x & 1) ? 0 : 4));
        break;
    case 8:
        MapRow(line, width, *layout.palette, p);
        break;
    case 16:
        for (int x = 0; x < width; ++x) {
            const QRgb c = line[x];
            const auto value = static_cast<std::uint16_t>(((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) |
                                                          (qBlue(c) >> 3));
            qToLittleEndian(value, p + 2 * x);
        }
        break;
    case 24:
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(qBlue(line[x]));
            p[1] = static_cast<std::uint8_t>(qGreen(line[x]));
            p[2] = static_cast<std::uint8_t>(qRed(line[x]));
        }
        break;
    case 32:
        for (int x = 0; x < width; ++x) qToLittleEndian(static_cast<std::uint32_t>(line[x] & 0xFFFFFFu), p + 4 * x);
        break;
    }
}

// Run-length coded pixel data, bottom row first. Compressed data is small,
// and its size goes in the headers ahead of it, so it is made in memory.
QByteArray RlePixelData(const QImage& rgb, const Layout& layout) {
    const int width = rgb.width();
    const int height = rgb.height();
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width));
    QByteArray data;
    data.reserve(static_cast<qsizetype>(qint64{width} * height / 4 + 2 * height + 2));
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        MapRow(line, width, *layout.palette, indexes.data());
        AppendRleRow(data, indexes.data(), width, layout.compression == kRle4);
    }
    AppendRleEnd(data);
    return data;
}

// Uncompressed rows, bottom row first, packed a stretch of rows at a time
// into one buffer and written as they are made.
bool WriteRows(QIODevice& file, const QImage& rgb, const Layout& layout, qint64 rowBytes) {
    constexpr qint64 kChunkBytes = 1 << 20;
    const int width = rgb.width();
    const qint64 rowsPerChunk = std::max<qint64>(1, kChunkBytes / rowBytes);
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width));
    std::vector<char> chunk(static_cast<std::size_t>(rowsPerChunk * rowBytes));
    for (int y = rgb.height() - 1; y >= 0;) {
        const qint64 rows = std::min<qint64>(rowsPerChunk, y + 1);
        const qint64 bytes = rows * rowBytes;
        std::fill_n(chunk.begin(), bytes, '\0');
        for (qint64 row = 0; row < rows; ++row, --y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            PackRow(line, width, layout, indexes.data(), chunk.data() + row * rowBytes);
        }
        if (file.write(chunk.data(), bytes) != bytes) return false;
    }
    return true;
}

bool Fail(QString* failedStep, QStringView step) {
    if (failedStep) *failedStep = step.toString();
    return false;
}

}  // namespace

bool WriteBmpFile(const QImage& image, const QString& path, int bitsPerPixel, BmpCompression compression,
                  QString* failedStep, WriteWatch* watch) {
    Layout layout;
    if (image.isNull() || !LayoutFor(bitsPerPixel, compression, layout)) {
        return Fail(failedStep, ui_text::kBmpHeaderStep);
    }
    // The uncompressed size also bounds what the header's 32-bit fields can
    // describe; a larger picture is refused instead of written with sizes
    // that wrap around.
    const qint64 rowBytes = (qint64{bitsPerPixel} * image.width() + 31) / 32 * 4;
    if (rowBytes * image.height() > std::numeric_limits<std::int32_t>::max() - 2048) {
        return Fail(failedStep, ui_text::kBmpBufferStep);
    }
    // Every format is made from 32-bit pixels, one row at a time.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) return Fail(failedStep, ui_text::kBmpConvertStep);
    const bool compressed = layout.compression == kRle4 || layout.compression == kRle8;
    QByteArray compressedPixels;
    QByteArray info;
    try {
        if (compressed) compressedPixels = RlePixelData(rgb, layout);
    } catch (const std::bad_alloc&) {
        return Fail(failedStep, ui_text::kBmpBufferStep);
    }
    const qint64 pixelBytes = compressed ? compressedPixels.size() : rowBytes * image.height();
    try {
        info = InfoPart(image, layout, static_cast<std::uint32_t>(pixelBytes));
    } catch (const std::bad_alloc&) {
        return Fail(failedStep, ui_text::kBmpInfoBufferStep);
    }

    const qint64 offset = kFileHeaderSize + info.size();
    QByteArray fileHeader;
    Put16(fileHeader, 0x4D42);  // "BM"
    Put32(fileHeader, static_cast<std::uint32_t>(offset + pixelBytes));
    Put16(fileHeader, 0);
    Put16(fileHeader, 0);
    Put32(fileHeader, static_cast<std::uint32_t>(offset));

    // Replaced whole: a failed write never leaves a damaged file in place of
    // a good one.
    SafeFile file(path);
    file.SetWatch(watch);
    if (!file.open(QIODevice::WriteOnly)) return Fail(failedStep, ui_text::kBmpOpenStep);
    if (file.write(fileHeader) != fileHeader.size()) {
        return Fail(failedStep, ui_text::kBmpFileHeaderWriteStep);
    }
    if (file.write(info) != info.size()) return Fail(failedStep, ui_text::kBmpInfoWriteStep);
    bool written = false;
    try {
        written = compressed ? file.write(compressedPixels) == compressedPixels.size()
                             : WriteRows(file, rgb, layout, rowBytes);
    } catch (const std::bad_alloc&) {
        return Fail(failedStep, ui_text::kBmpBufferStep);
    }
    if (!written || !file.Commit()) return Fail(failedStep, ui_text::kBmpPixelsWriteStep);
    return true;
}

}  // namespace tessaly
