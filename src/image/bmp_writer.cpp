#include "image/bmp_writer.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "image/band_writers.h"
#include "image/bmp_palette.h"
#include "image/bmp_rle.h"
#include "image/image_writer.h"
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

// A picture made here carries 72 dots per inch.
constexpr std::uint32_t kDotsPerMeter = 2835;

// The information header followed by the colour table or the masks.
QByteArray InfoPart(QSize size, const Layout& layout, std::uint32_t pixelBytes) {
    QByteArray info;
    Put32(info, kInfoHeaderSize);
    Put32(info, static_cast<std::uint32_t>(size.width()));
    Put32(info, static_cast<std::uint32_t>(size.height()));  // positive: bottom row first
    Put16(info, 1);
    Put16(info, static_cast<std::uint16_t>(layout.bits));
    Put32(info, layout.compression);
    Put32(info, pixelBytes);
    Put32(info, kDotsPerMeter);
    Put32(info, kDotsPerMeter);
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

QByteArray FileHeader(std::uint32_t infoBytes, std::uint32_t pixelBytes) {
    const std::uint32_t offset = kFileHeaderSize + infoBytes;
    QByteArray header;
    Put16(header, 0x4D42);  // "BM"
    Put32(header, offset + pixelBytes);
    Put16(header, 0);
    Put16(header, 0);
    Put32(header, offset);
    return header;
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

qint64 RowBytes(int bits, int width) { return (qint64{bits} * width + 31) / 32 * 4; }

WriteResult Stopped(const BandSource& bands, QStringView writeStep) {
    WriteResult result = bands.Ending(false);
    if (result.outcome == WriteResult::Outcome::NoMemory)
        result.failedStep = ui_text::kBmpConvertStep.toString();
    else if (result.outcome == WriteResult::Outcome::Failed)
        result.failedStep = writeStep.toString();
    return result;
}

WriteResult Failure(WriteResult::Outcome outcome, QStringView step) {
    WriteResult result;
    result.outcome = outcome;
    result.failedStep = step.toString();
    return result;
}

bool WriteAll(QIODevice& file, const QByteArray& bytes) {
    return file.write(bytes) == bytes.size();
}

// The file header, then the information: the step that failed, if any.
std::optional<WriteResult> WriteHeaders(QIODevice& file, QSize size, const Layout& layout,
                                        qint64 pixelBytes) {
    const QByteArray info = InfoPart(size, layout, static_cast<std::uint32_t>(pixelBytes));
    if (!WriteAll(file, FileHeader(static_cast<std::uint32_t>(info.size()),
                                   static_cast<std::uint32_t>(pixelBytes)))) {
        return Failure(WriteResult::Outcome::Failed, ui_text::kBmpFileHeaderWriteStep);
    }
    if (!WriteAll(file, info))
        return Failure(WriteResult::Outcome::Failed, ui_text::kBmpInfoWriteStep);
    return std::nullopt;
}

// Uncompressed rows, bottom row first: each band's rows from its bottom up,
// packed a stretch of rows at a time into one buffer and written as they
// are made.
WriteResult WriteUncompressed(QIODevice& file, BandSource& bands, const Layout& layout) {
    constexpr qint64 kChunkBytes = 1 << 20;
    const int width = bands.Size().width();
    const qint64 rowBytes = RowBytes(layout.bits, width);
    const qint64 rowsPerChunk = std::max<qint64>(1, kChunkBytes / rowBytes);
    if (auto failed = WriteHeaders(file, bands.Size(), layout, rowBytes * bands.Size().height()))
        return *failed;
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width));
    std::vector<char> chunk(static_cast<std::size_t>(rowsPerChunk * rowBytes));
    const auto writeBand = [&](const QImage& band, int) {
        for (int y = band.height() - 1; y >= 0;) {
            const qint64 rows = std::min<qint64>(rowsPerChunk, y + 1);
            const qint64 bytes = rows * rowBytes;
            std::fill_n(chunk.begin(), bytes, '\0');
            for (qint64 row = 0; row < rows; ++row, --y) {
                const auto* line = reinterpret_cast<const QRgb*>(band.constScanLine(y));
                PackRow(line, width, layout, indexes.data(), chunk.data() + row * rowBytes);
            }
            if (file.write(chunk.data(), bytes) != bytes) return false;
        }
        return true;
    };
    if (!bands.ForEach(writeBand)) return Stopped(bands, ui_text::kBmpPixelsWriteStep);
    return bands.Ending(true);
}

// Run-length coded rows, bottom row first. Compressed data is small, and its
// size goes in the headers ahead of it, so it is made in memory band by band
// and written once complete.
WriteResult WriteRunLengths(QIODevice& file, BandSource& bands, const Layout& layout) {
    const QSize size = bands.Size();
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(size.width()));
    QByteArray data;
    data.reserve(
        static_cast<qsizetype>(qint64{size.width()} * size.height() / 4 + 2 * size.height() + 2));
    const auto codeBand = [&](const QImage& band, int) {
        for (int y = band.height() - 1; y >= 0; --y) {
            const auto* line = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            MapRow(line, size.width(), *layout.palette, indexes.data());
            AppendRleRow(data, indexes.data(), size.width(), layout.compression == kRle4);
        }
        return true;
    };
    if (!bands.ForEach(codeBand)) return Stopped(bands, ui_text::kBmpBufferStep);
    AppendRleEnd(data);
    // Runs of single pixels code larger than the pixels themselves.
    if (data.size() > std::numeric_limits<std::int32_t>::max() - 2048) {
        return Failure(WriteResult::Outcome::TooLarge, ui_text::kBmpBufferStep);
    }
    if (auto failed = WriteHeaders(file, size, layout, data.size())) return *failed;
    if (!WriteAll(file, data))
        return Failure(WriteResult::Outcome::Failed, ui_text::kBmpPixelsWriteStep);
    return bands.Ending(true);
}

}  // namespace

std::optional<WriteResult> BmpRefusal(const OutputFormat& format, QSize size) {
    Layout layout;
    if (size.isEmpty() || !LayoutFor(format.bmpBits, format.compression, layout)) {
        return Failure(WriteResult::Outcome::Failed, ui_text::kBmpHeaderStep);
    }
    // The uncompressed size also bounds what the header's 32-bit fields can
    // describe; a larger picture is refused instead of written with sizes
    // that wrap around.
    if (RowBytes(format.bmpBits, size.width()) * size.height() >
        std::numeric_limits<std::int32_t>::max() - 2048) {
        return Failure(WriteResult::Outcome::TooLarge, ui_text::kBmpBufferStep);
    }
    return std::nullopt;
}

WriteResult WriteBmpBands(QIODevice& file, BandSource& bands, const OutputFormat& format) {
    if (auto refusal = BmpRefusal(format, bands.Size())) return *refusal;
    Layout layout;
    LayoutFor(format.bmpBits, format.compression, layout);
    try {
        const bool compressed = layout.compression == kRle4 || layout.compression == kRle8;
        return compressed ? WriteRunLengths(file, bands, layout)
                          : WriteUncompressed(file, bands, layout);
    } catch (const std::bad_alloc&) {
        return Failure(WriteResult::Outcome::NoMemory, ui_text::kBmpBufferStep);
    }
}

bool WriteBmpFile(const QImage& image, const QString& path, int bitsPerPixel,
                  BmpCompression compression, QString* failedStep, WriteWatch* watch) {
    OutputFormat format;
    format.type = OutputFormat::Type::Bmp;
    format.bmpBits = bitsPerPixel;
    format.compression = compression;
    const WriteResult result = image.isNull()
                                   ? Failure(WriteResult::Outcome::Failed, ui_text::kBmpHeaderStep)
                                   : WriteImageFile(image, path, format, watch);
    if (!result.Written() && failedStep) {
        *failedStep = result.failedStep.isEmpty() ? ui_text::kBmpPixelsWriteStep.toString()
                                                  : result.failedStep;
    }
    return result.Written();
}

}  // namespace tessaly
