// TIFF through libtiff, in uncompressed strips, over the device by client
// procedures; BigTIFF only when the classic file's 32-bit offsets would not
// reach its end.

#include <tiffio.h>

#include <QIODevice>
#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "image/band_writers.h"

namespace tessaly {
namespace {

constexpr qint64 kStripBytes = 256 << 10;
// The header, the directory and the values it keeps outside its entries
// (bits per sample): about 200 bytes, counted generously.
constexpr qint64 kFrameBytes = 1024;
constexpr qint64 kClassicLimit = 0xFFFFFFFFLL;

qint64 RowsPerStrip(qint64 width) {
    return std::max<qint64>(1, kStripBytes / std::max<qint64>(1, 3 * width));
}

struct TiffDevice {
    QIODevice* device = nullptr;
    bool writeFailed = false;
    bool outOfMemory = false;
};

TiffDevice& DeviceOf(thandle_t handle) { return *static_cast<TiffDevice*>(handle); }

tmsize_t Read(thandle_t handle, void* data, tmsize_t size) {
    return static_cast<tmsize_t>(DeviceOf(handle).device->read(static_cast<char*>(data), size));
}

tmsize_t Write(thandle_t handle, void* data, tmsize_t size) {
    TiffDevice& out = DeviceOf(handle);
    if (out.writeFailed) return -1;
    try {
        if (out.device->write(static_cast<const char*>(data), size) == size) return size;
    } catch (const std::bad_alloc&) {
        out.outOfMemory = true;
    }
    out.writeFailed = true;
    return -1;
}

toff_t Seek(thandle_t handle, toff_t offset, int whence) {
    QIODevice& device = *DeviceOf(handle).device;
    qint64 at = static_cast<qint64>(offset);
    if (whence == SEEK_CUR) at += device.pos();
    else if (whence == SEEK_END) at += device.size();
    return at >= 0 && device.seek(at) ? static_cast<toff_t>(at) : static_cast<toff_t>(-1);
}

int Close(thandle_t) { return 0; }

toff_t Size(thandle_t handle) { return static_cast<toff_t>(DeviceOf(handle).device->size()); }

int Map(thandle_t, void**, toff_t*) { return 0; }

void Unmap(thandle_t, void*, toff_t) {}

// libtiff's complaints stay out of the terminal; the failed call says enough.
int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

TIFF* OpenOver(TiffDevice& out, bool big) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, Quiet, nullptr);
    TIFF* tiff = TIFFClientOpenExt("picture", big ? "w8" : "w", &out, Read, Write, Seek, Close,
                                   Size, Map, Unmap, options);
    TIFFOpenOptionsFree(options);
    return tiff;
}

bool DescribePicture(TIFF* tiff, QSize size) {
    return TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(size.width())) &&
           TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(size.height())) &&
           TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) &&
           TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3) &&
           TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) &&
           TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
           TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE) &&
           TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
           TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                        static_cast<std::uint32_t>(RowsPerStrip(size.width())));
}

}  // namespace

qint64 ClassicTiffBytes(qint64 width, qint64 height) {
    const qint64 rows = RowsPerStrip(width);
    const qint64 strips = (height + rows - 1) / rows;
    // Each strip has an offset and a byte count of four bytes.
    return kFrameBytes + 3 * width * height + 8 * strips;
}

bool NeedsBigTiff(qint64 width, qint64 height) {
    return ClassicTiffBytes(width, height) > kClassicLimit;
}

WriteResult WriteTiffBands(QIODevice& device, BandSource& bands, bool bigTiff) {
    const QSize size = bands.Size();
    TiffDevice out;
    out.device = &device;
    TIFF* tiff = OpenOver(out, bigTiff);
    if (tiff == nullptr) return bands.Ending(false, out.outOfMemory);

    std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(size.width()));
    const auto writeBand = [&](const QImage& band, int top) {
        for (int y = 0; y < band.height(); ++y) {
            const auto* pixels = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            std::uint8_t* p = row.data();
            for (int x = 0; x < size.width(); ++x, p += 3) {
                p[0] = static_cast<std::uint8_t>(qRed(pixels[x]));
                p[1] = static_cast<std::uint8_t>(qGreen(pixels[x]));
                p[2] = static_cast<std::uint8_t>(qBlue(pixels[x]));
            }
            if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(top + y), 0) < 0)
                return false;
        }
        return true;
    };
    const bool written = DescribePicture(tiff, size) && bands.ForEach(writeBand) &&
                         TIFFWriteDirectory(tiff) && !out.writeFailed;
    TIFFClose(tiff);
    return bands.Ending(written, out.outOfMemory);
}

}  // namespace tessaly
