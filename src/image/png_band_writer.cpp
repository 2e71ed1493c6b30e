// PNG through libpng. libpng leaves a failed call by longjmp, so every call
// that may fail runs inside a small function of its own that holds the
// setjmp and no C++ object; the callbacks record a failure and return.

#include <png.h>

#include <QIODevice>
#include <cstdlib>
#include <new>
#include <vector>

#include "image/band_writers.h"

namespace tessaly {
namespace {

// zlib's level 2 with the Up filter alone: photographs come out a little
// larger than at the default settings, in a fraction of the time.
constexpr int kCompressionLevel = 2;
constexpr int kFilters = PNG_FILTER_UP;
// The compressed data is written in pieces of this size (one IDAT chunk
// each), which keeps the writes to the file few.
constexpr png_size_t kChunkBytes = 256 << 10;

struct PngState {
    QIODevice* device = nullptr;
    bool writeFailed = false;
    bool outOfMemory = false;
};

void WriteData(png_structp png, png_bytep data, png_size_t length) {
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    if (state->writeFailed) return;
    try {
        const auto size = static_cast<qint64>(length);
        if (state->device->write(reinterpret_cast<const char*>(data), size) != size) state->writeFailed = true;
    } catch (const std::bad_alloc&) {
        state->writeFailed = state->outOfMemory = true;
    }
}

void FlushData(png_structp) {}

[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void OnWarning(png_structp, png_const_charp) {}

png_voidp Allocate(png_structp png, png_alloc_size_t size) {
    png_voidp memory = std::malloc(size);
    if (memory == nullptr) static_cast<PngState*>(png_get_mem_ptr(png))->outOfMemory = true;
    return memory;
}

void Release(png_structp, png_voidp memory) { std::free(memory); }

bool WriteHeader(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, kFilters);
    png_set_compression_buffer_size(png, kChunkBytes);
    png_write_info(png, info);
    // 32-bit pixels as they lie in memory: the fourth byte is dropped.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
    png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
    return true;
}

bool WriteRows(png_structp png, png_bytepp rows, png_uint_32 count) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_write_rows(png, rows, count);
    return true;
}

bool WriteEnd(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_write_end(png, info);
    return true;
}

}  // namespace

WriteResult WritePngBands(QIODevice& device, BandSource& bands) {
    PngState state;
    state.device = &device;
    png_structp png = png_create_write_struct_2(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning,
                                                &state, Allocate, Release);
    if (png == nullptr) return bands.Ending(false, true);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &state, WriteData, FlushData);

    std::vector<png_bytep> rows;
    const auto writeBand = [&](const QImage& band, int) {
        rows.resize(static_cast<std::size_t>(band.height()));
        for (int y = 0; y < band.height(); ++y) rows[y] = const_cast<png_bytep>(band.constScanLine(y));
        return WriteRows(png, rows.data(), static_cast<png_uint_32>(rows.size())) && !state.writeFailed;
    };
    const QSize size = bands.Size();
    const bool written = info != nullptr &&
                         WriteHeader(png, info, static_cast<png_uint_32>(size.width()),
                                     static_cast<png_uint_32>(size.height())) &&
                         bands.ForEach(writeBand) && WriteEnd(png, info) && !state.writeFailed;
    png_destroy_write_struct(&png, &info);
    return bands.Ending(written, state.outOfMemory);
}

}  // namespace tessaly
