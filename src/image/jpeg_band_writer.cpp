// JPEG through libjpeg. libjpeg leaves a failed call through its error exit,
// which jumps back to a setjmp: every call that may fail runs inside a small
// function of its own that holds the setjmp and no C++ object, and the
// callbacks record a failure and return.

#include <QIODevice>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "image/band_writers.h"

namespace tessaly {
namespace {

constexpr std::size_t kBufferBytes = 256 << 10;

struct JpegState {
    jpeg_error_mgr errors{};
    jpeg_destination_mgr destination{};
    std::jmp_buf jump{};
    QIODevice* device = nullptr;
    JOCTET* buffer = nullptr;
    bool writeFailed = false;
    bool outOfMemory = false;
};

JpegState& StateOf(j_common_ptr info) { return *static_cast<JpegState*>(info->client_data); }

void Put(JpegState& state, std::size_t bytes) {
    if (state.writeFailed || bytes == 0) return;
    try {
        const auto size = static_cast<qint64>(bytes);
        if (state.device->write(reinterpret_cast<const char*>(state.buffer), size) != size)
            state.writeFailed = true;
    } catch (const std::bad_alloc&) {
        state.writeFailed = state.outOfMemory = true;
    }
}

void InitDestination(j_compress_ptr info) {
    JpegState& state = StateOf(reinterpret_cast<j_common_ptr>(info));
    state.destination.next_output_byte = state.buffer;
    state.destination.free_in_buffer = kBufferBytes;
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
    JpegState& state = StateOf(reinterpret_cast<j_common_ptr>(info));
    Put(state, kBufferBytes);
    InitDestination(info);
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    JpegState& state = StateOf(reinterpret_cast<j_common_ptr>(info));
    Put(state, kBufferBytes - state.destination.free_in_buffer);
}

[[noreturn]] void OnError(j_common_ptr info) {
    JpegState& state = StateOf(info);
    if (info->err->msg_code == JERR_OUT_OF_MEMORY) state.outOfMemory = true;
    std::longjmp(state.jump, 1);
}

void OnMessage(j_common_ptr) {}

bool Start(jpeg_compress_struct* info, JpegState* state, int width, int height, int quality) {
    if (setjmp(state->jump)) return false;
    jpeg_create_compress(info);
    info->dest = &state->destination;
    info->image_width = static_cast<JDIMENSION>(width);
    info->image_height = static_cast<JDIMENSION>(height);
    info->input_components = 4;
    // 32-bit pixels as they lie in memory: the fourth byte is ignored.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    info->in_color_space = JCS_EXT_BGRX;
#else
    info->in_color_space = JCS_EXT_XRGB;
#endif
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    info->density_unit = 1;  // 72 dots per inch, as pictures made here carry
    info->X_density = info->Y_density = 72;
    jpeg_start_compress(info, TRUE);
    return true;
}

bool WriteRows(jpeg_compress_struct* info, JpegState* state, JSAMPARRAY rows, JDIMENSION count) {
    if (setjmp(state->jump)) return false;
    jpeg_write_scanlines(info, rows, count);
    return true;
}

bool Finish(jpeg_compress_struct* info, JpegState* state) {
    if (setjmp(state->jump)) return false;
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

WriteResult WriteJpegBands(QIODevice& device, BandSource& bands, int quality) {
    std::vector<JOCTET> buffer(kBufferBytes);
    std::vector<JSAMPROW> rows;
    JpegState state;
    state.device = &device;
    state.buffer = buffer.data();
    state.destination.init_destination = InitDestination;
    state.destination.empty_output_buffer = EmptyOutputBuffer;
    state.destination.term_destination = TermDestination;
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&state.errors);
    state.errors.error_exit = OnError;
    state.errors.output_message = OnMessage;
    info.client_data = &state;

    const auto writeBand = [&](const QImage& band, int) {
        rows.resize(static_cast<std::size_t>(band.height()));
        for (int y = 0; y < band.height(); ++y)
            rows[y] = const_cast<JSAMPROW>(band.constScanLine(y));
        return WriteRows(&info, &state, rows.data(), static_cast<JDIMENSION>(rows.size())) &&
               !state.writeFailed;
    };
    const QSize size = bands.Size();
    const bool written =
        Start(&info, &state, size.width(), size.height(), std::clamp(quality, 1, 100)) &&
        bands.ForEach(writeBand) && Finish(&info, &state) && !state.writeFailed;
    jpeg_destroy_compress(&info);
    return bands.Ending(written, state.outOfMemory);
}

}  // namespace tessaly
