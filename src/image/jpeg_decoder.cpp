#include "image/jpeg_decoder.h"

#include <QColorSpace>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "image/image_limits.h"

// The library reports errors by calling back, and its callback may not
// return. Ours jumps back to the setjmp of the function that called into the
// library. A jump skips destructors, so those functions (ReadHeader,
// ReadIccProfile, ChooseOutput, DecodeRows) hold nothing that has one: only
// the library's state, plain pointers and the trap, all owned further up.
// Whatever they must keep past a jump is written through a pointer, never
// kept in a local.

namespace tessaly {
namespace {

// Cameras and editors write a dozen scans at most; thousands of them are a
// stream built to keep the decoder busy.
constexpr int kMaxScans = 500;

// Rows asked of the library in one call; it gives a few at a time.
constexpr int kRowsAtOnce = 16;

constexpr int kFillLevel = 0x80;
static_assert(kJpegFillColour == qRgb(kFillLevel, kFillLevel, kFillLevel));

// Four bytes a pixel in QImage::Format_RGB32's order, the fourth set to 0xFF.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_BGRA;
#else
constexpr J_COLOR_SPACE kRgb32Space = JCS_EXT_ARGB;
#endif

struct ErrorTrap {
    jpeg_error_mgr errors;  // first: the library's pointer to it is the trap's
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
};

ErrorTrap* TrapOf(j_common_ptr cinfo) { return reinterpret_cast<ErrorTrap*>(cinfo->err); }

[[noreturn]] void StopDecoding(j_common_ptr cinfo) { std::longjmp(TrapOf(cinfo)->jump, 1); }

// Warnings (corrupt data the library works around, a missing end marker)
// are counted, not printed: the rows show what there is.
void CountWarning(j_common_ptr cinfo, int level) {
    if (level < 0) ++cinfo->err->num_warnings;
}

void StopAfterTooManyScans(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        StopDecoding(cinfo);
    }
}

// Where the decoded rows go: straight into the image, or through one row of
// CMYK that is converted into it.
struct RowTarget {
    uchar* bits;
    qsizetype bytesPerLine;
    int first;         // the band of rows wanted: first..last - 1
    int last;
    JSAMPLE* cmykRow;  // null unless the stream is read as CMYK
    int rows;          // rows written so far
};

// Adobe's inverted CMYK, as Qt converts it: each channel times black.
void CmykToRgb32(const JSAMPLE* cmyk, QRgb* out, JDIMENSION width) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        const int k = cmyk[3];
        out[x] = qRgb(k * cmyk[0] / 255, k * cmyk[1] / 255, k * cmyk[2] / 255);
    }
}

bool ReadHeader(j_decompress_ptr cinfo, ErrorTrap* trap, const JOCTET* data, unsigned long size) {
    if (setjmp(trap->jump)) return false;
    jpeg_create_decompress(cinfo);
    cinfo->mem->max_memory_to_use = long(kDecodeAllocationLimitMiB) * 1024 * 1024;
    trap->progress.progress_monitor = StopAfterTooManyScans;
    cinfo->progress = &trap->progress;
    jpeg_mem_src(cinfo, data, size);
    jpeg_save_markers(cinfo, JPEG_APP0 + 2, 0xFFFF);  // an ICC profile
    return jpeg_read_header(cinfo, TRUE) == JPEG_HEADER_OK;
}

// The ICC profile the header carries, if any, in a buffer the caller frees.
void ReadIccProfile(j_decompress_ptr cinfo, ErrorTrap* trap, JOCTET** profile,
                    unsigned int* length) {
    if (setjmp(trap->jump)) return;
    jpeg_read_icc_profile(cinfo, profile, length);
}

// The colour space an ICC profile in the header names, as Qt's reader keeps it.
QColorSpace ColourSpaceOf(j_decompress_ptr cinfo, ErrorTrap* trap) {
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    ReadIccProfile(cinfo, trap, &profile, &length);
    if (profile == nullptr) return {};
    const QColorSpace space = QColorSpace::fromIccProfile(
        QByteArray::fromRawData(reinterpret_cast<const char*>(profile), qsizetype(length)));
    std::free(profile);
    return space;
}

bool ChooseOutput(j_decompress_ptr cinfo, ErrorTrap* trap, int eighths, J_COLOR_SPACE space) {
    if (setjmp(trap->jump)) return false;
    cinfo->scale_num = static_cast<unsigned int>(eighths);
    cinfo->scale_denom = 8;
    cinfo->out_color_space = space;
    jpeg_calc_output_dimensions(cinfo);
    return true;
}

// Decodes the band of rows into `target` until its last row or an error;
// the rows above it are skipped. target->rows tells how far it came either
// way.
void DecodeRows(j_decompress_ptr cinfo, ErrorTrap* trap, RowTarget* target) {
    if (setjmp(trap->jump)) return;
    if (!jpeg_start_decompress(cinfo)) return;
    if (target->first > 0) {
        target->rows = static_cast<int>(jpeg_skip_scanlines(cinfo, JDIMENSION(target->first)));
    }
    const auto end = static_cast<JDIMENSION>(target->last);
    while (cinfo->output_scanline < std::min(cinfo->output_height, end)) {
        const int first = static_cast<int>(cinfo->output_scanline);
        JSAMPROW rows[kRowsAtOnce];
        const int wanted = target->cmykRow ? 1 : std::min(kRowsAtOnce, target->last - first);
        for (int i = 0; i < wanted; ++i) {
            rows[i] = target->cmykRow ? target->cmykRow
                                      : target->bits + (first + i) * target->bytesPerLine;
        }
        const auto read = static_cast<int>(jpeg_read_scanlines(cinfo, rows, JDIMENSION(wanted)));
        if (read <= 0) return;
        if (target->cmykRow) {
            CmykToRgb32(target->cmykRow,
                        reinterpret_cast<QRgb*>(target->bits + first * target->bytesPerLine),
                        cinfo->output_width);
        }
        target->rows = first + read;
    }
}

// The image decoded rows go into, the band's rows filled beforehand so that
// rows the stream does not supply are defined. Rows outside a band are zero,
// in memory the system hands out untouched until it is written.
QImage FilledImage(QSize size, bool grey, int first, int last) {
    const QImage::Format format = grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    QImage image;
    if (first == 0 && last == size.height()) {
        image = QImage(size, format);
    } else {
        const qsizetype bytesPerLine = (qsizetype(size.width()) * (grey ? 1 : 4) + 3) / 4 * 4;
        void* bits = std::calloc(std::size_t(size.height()), std::size_t(bytesPerLine));
        if (bits == nullptr) return {};
        image = QImage(static_cast<uchar*>(bits), size.width(), size.height(), bytesPerLine, format,
                       std::free, bits);
    }
    if (image.isNull()) return {};
    for (int y = first; y < last; ++y) {
        uchar* row = image.scanLine(y);
        if (grey) {
            std::memset(row, kFillLevel, std::size_t(size.width()));
        } else {
            std::fill_n(reinterpret_cast<QRgb*>(row), size.width(), kJpegFillColour);
        }
    }
    return image;
}

// Decodes rows first..last - 1 of the picture reduced for `target` (last
// -1: to the bottom).
DecodedJpeg DecodeAfterHeader(j_decompress_ptr cinfo, ErrorTrap* trap, QSize target, int first,
                              int last) {
    DecodedJpeg result;
    result.fullSize = QSize(static_cast<int>(cinfo->image_width),
                            static_cast<int>(cinfo->image_height));
    if (!IsAcceptablePictureSize(result.fullSize)) return result;
    const bool grey = cinfo->num_components == 1;
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    const J_COLOR_SPACE space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : kRgb32Space;
    const int eighths = JpegReductionEighths(result.fullSize, target);
    if (!ChooseOutput(cinfo, trap, eighths, space)) return result;

    const QSize size(static_cast<int>(cinfo->output_width),
                     static_cast<int>(cinfo->output_height));
    last = last < 0 ? size.height() : std::clamp(last, 0, size.height());
    first = std::clamp(first, 0, last);
    if (first == last) return result;
    QImage image = FilledImage(size, grey, first, last);
    if (image.isNull()) return result;
    std::vector<JSAMPLE> cmykRow(cmyk ? std::size_t(cinfo->output_width) * 4 : 0);
    RowTarget rows{image.bits(), image.bytesPerLine(), first, last,
                   cmyk ? cmykRow.data() : nullptr, 0};
    DecodeRows(cinfo, trap, &rows);
    result.rows = rows.rows;
    if (result.rows == 0) return result;
    image.setColorSpace(ColourSpaceOf(cinfo, trap));
    result.image = std::move(image);
    return result;
}

// A stream decoded reduced for `target`, rows first..last - 1 (last -1: to
// the bottom).
DecodedJpeg DecodeJpegBand(QByteArrayView stream, QSize target, int first, int last) {
    DecodedJpeg result;
    if (stream.isEmpty() || stream.size() > kMaxEncodedBytes) return result;
    jpeg_decompress_struct cinfo{};
    ErrorTrap trap{};
    cinfo.err = jpeg_std_error(&trap.errors);
    trap.errors.error_exit = StopDecoding;
    trap.errors.emit_message = CountWarning;
    if (ReadHeader(&cinfo, &trap, reinterpret_cast<const JOCTET*>(stream.data()),
                   static_cast<unsigned long>(stream.size()))) {
        result = DecodeAfterHeader(&cinfo, &trap, target, first, last);
    }
    jpeg_destroy_decompress(&cinfo);
    return result;
}

}  // namespace

int JpegReductionEighths(QSize full, QSize target) {
    if (target.isEmpty()) return 8;
    for (int eighths = 1; eighths < 8; ++eighths) {
        const QSize reduced = JpegReducedSize(full, eighths);
        if (reduced.width() >= target.width() && reduced.height() >= target.height()) {
            return eighths;
        }
    }
    return 8;
}

QSize JpegReducedSize(QSize full, int eighths) {
    const auto side = [eighths](int length) {
        return static_cast<int>((qint64(length) * eighths + 7) / 8);
    };
    return QSize(side(full.width()), side(full.height()));
}

DecodedJpeg DecodeJpeg(QByteArrayView stream, QSize target) {
    return DecodeJpegBand(stream, target, 0, -1);
}

DecodedJpeg DecodeJpegRows(QByteArrayView stream, int first, int last) {
    return DecodeJpegBand(stream, {}, first, last);
}

}  // namespace tessaly
