// PNG through libpng, compressed on a thread of its own one band behind the
// painting: the calling thread paints the next band while this one is
// compressed, and writes the compressed bytes to the device itself, so the
// device and its watch are only ever used from the caller's thread.
//
// libpng leaves a failed call by longjmp, so every call that may fail runs
// inside a small function of its own that holds the setjmp and no C++
// object; the callbacks record a failure and return.

#include <png.h>
#include <zlib.h>

#include <QByteArray>
#include <QIODevice>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "image/band_writers.h"

namespace tessaly {
namespace {

// zlib matching only runs (of distance one), after the Paeth filter: on
// photographs as small as zlib's default settings with every filter tried
// (within a few per cent), in a fraction of the time; faster than level 1-3
// with the Up filter, and smaller.
constexpr int kCompressionLevel = 1;
constexpr int kStrategy = Z_RLE;
constexpr int kFilters = PNG_FILTER_PAETH;
constexpr png_size_t kChunkBytes = 256 << 10;  // of compressed data per IDAT chunk

// What libpng's callbacks reach, on the compressing thread.
struct PngOutput {
    std::mutex* lock = nullptr;
    QByteArray made;  // compressed, not yet taken for the device
    std::atomic<bool> outOfMemory = false;
};

void Collect(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<PngOutput*>(png_get_io_ptr(png));
    const std::lock_guard hold(*out->lock);
    try {
        out->made.append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
    } catch (const std::bad_alloc&) {
        out->outOfMemory = true;
    }
}

void FlushData(png_structp) {}

[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void OnWarning(png_structp, png_const_charp) {}

png_voidp Allocate(png_structp png, png_alloc_size_t size) {
    png_voidp memory = std::malloc(size);
    if (memory == nullptr) static_cast<PngOutput*>(png_get_mem_ptr(png))->outOfMemory = true;
    return memory;
}

void Release(png_structp, png_voidp memory) { std::free(memory); }

bool WriteHeader(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kCompressionLevel);
    png_set_compression_strategy(png, kStrategy);
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

// libpng at work on its own thread. Bands are handed over one at a time;
// handing the next waits until the one before is compressed.
class PngEncoder {
public:
    explicit PngEncoder(QSize size) {
        out_.lock = &lock_;
        png_ = png_create_write_struct_2(PNG_LIBPNG_VER_STRING, &out_, OnError, OnWarning, &out_,
                                         Allocate, Release);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
        if (info_ == nullptr) return;
        png_set_write_fn(png_, &out_, Collect, FlushData);
        ok_ = WriteHeader(png_, info_, static_cast<png_uint_32>(size.width()),
                          static_cast<png_uint_32>(size.height()));
        if (!ok_) return;
        try {
            worker_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            ok_ = false;  // no thread to be had: as short of memory
            out_.outOfMemory = true;
        }
    }

    // Stops at once, past the band being compressed.
    ~PngEncoder() {
        {
            const std::lock_guard hold(lock_);
            quit_ = abandon_ = true;
        }
        changed_.notify_all();
        if (worker_.joinable()) worker_.join();
        png_destroy_write_struct(&png_, &info_);
    }

    PngEncoder(const PngEncoder&) = delete;
    PngEncoder& operator=(const PngEncoder&) = delete;

    // Hands `band` over once the band before is compressed. False when
    // compressing has failed.
    bool Hand(const QImage& band) {
        std::unique_lock hold(lock_);
        changed_.wait(hold, [this] { return band_.isNull() || !ok_; });
        if (!ok_ || out_.outOfMemory) return false;
        band_ = band;
        hold.unlock();
        changed_.notify_all();
        return true;
    }

    // Compresses what is left and ends the file. False when anything failed.
    bool Finish() {
        {
            std::unique_lock hold(lock_);
            changed_.wait(hold, [this] { return band_.isNull() || !ok_; });
            quit_ = true;
        }
        changed_.notify_all();
        if (worker_.joinable()) worker_.join();
        return ok_ && WriteEnd(png_, info_) && !out_.outOfMemory;
    }

    // The compressed bytes made since the last call.
    QByteArray Take() {
        const std::lock_guard hold(lock_);
        QByteArray made;
        made.swap(out_.made);
        return made;
    }

    bool OutOfMemory() const { return out_.outOfMemory; }

private:
    void Run() {
        std::vector<png_bytep> rows;
        for (;;) {
            QImage band;
            {
                std::unique_lock hold(lock_);
                changed_.wait(hold, [this] { return !band_.isNull() || quit_; });
                if (band_.isNull() || abandon_) return;
                band = band_;
            }
            bool compressed = false;
            try {
                rows.resize(static_cast<std::size_t>(band.height()));
                for (int y = 0; y < band.height(); ++y)
                    rows[y] = const_cast<png_bytep>(band.constScanLine(y));
                compressed = WriteRows(png_, rows.data(), static_cast<png_uint_32>(rows.size()));
            } catch (const std::bad_alloc&) {
                out_.outOfMemory = true;
            }
            {
                const std::lock_guard hold(lock_);
                ok_ = ok_ && compressed;
                band_ = QImage();
            }
            changed_.notify_all();
            if (!compressed) return;
        }
    }

    std::mutex lock_;
    std::condition_variable changed_;
    PngOutput out_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
    QImage band_;  // handed over, not yet compressed
    bool ok_ = false;
    bool quit_ = false;     // no more bands come
    bool abandon_ = false;  // nor is the one handed over wanted
    std::thread worker_;
};

}  // namespace

WriteResult WritePngBands(QIODevice& device, BandSource& bands) {
    PngEncoder encoder(bands.Size());
    bool writeFailed = false;
    const auto put = [&](const QByteArray& bytes) {
        writeFailed = writeFailed || device.write(bytes) != bytes.size();
        return !writeFailed;
    };
    const bool written = put(encoder.Take()) &&
                         bands.ForEach([&](const QImage& band, int) {
                             return encoder.Hand(band) && put(encoder.Take());
                         }) &&
                         encoder.Finish() && put(encoder.Take());
    return bands.Ending(written, encoder.OutOfMemory());
}

}  // namespace tessaly
