#include "image/bmp_rle.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr int kMaxRun = 255;
// Shorter repeats are cheaper inside an absolute run than as runs of their own.
constexpr int kWorthARun = 3;

int RunLength(const std::uint8_t* p, int left) {
    int n = 1;
    while (n < left && n < kMaxRun && p[n] == p[0]) ++n;
    return n;
}

void AppendByte(QByteArray& out, int value) { out.append(static_cast<char>(value)); }

void AppendEncoded(QByteArray& out, int count, std::uint8_t index, bool fourBits) {
    AppendByte(out, count);
    AppendByte(out, fourBits ? (index << 4) | index : index);
}

void AppendAbsolute(QByteArray& out, const std::uint8_t* p, int count, bool fourBits) {
    AppendByte(out, 0);
    AppendByte(out, count);
    int bytes = 0;
    if (fourBits) {
        for (int i = 0; i < count; i += 2, ++bytes) {
            AppendByte(out, (p[i] << 4) | (i + 1 < count ? p[i + 1] : 0));
        }
    } else {
        out.append(reinterpret_cast<const char*>(p), count);
        bytes = count;
    }
    if (bytes % 2 != 0) AppendByte(out, 0);
}

}  // namespace

void AppendRleRow(QByteArray& out, const std::uint8_t* indexes, int count, bool fourBits) {
    int i = 0;
    while (i < count) {
        const int run = RunLength(indexes + i, count - i);
        if (run >= kWorthARun) {
            AppendEncoded(out, run, indexes[i], fourBits);
            i += run;
            continue;
        }
        // Gather pixels up to the next repeat worth a run of its own.
        int end = i;
        while (end < count && end - i < kMaxRun && RunLength(indexes + end, count - end) < kWorthARun) {
            ++end;
        }
        // Some readers take an absolute run of an odd number of nibbles one
        // pixel short, so RLE4 writes even ones only; an odd pixel left over
        // starts the next step.
        int literal = end - i;
        if (fourBits && literal % 2 != 0 && literal > 3) --literal;
        if (literal >= (fourBits ? 4 : 3)) {
            AppendAbsolute(out, indexes + i, literal, fourBits);
            i += literal;
            continue;
        }
        // Too few pixels for an absolute run: they go as encoded runs.
        for (const int stop = i + literal; i < stop;) {
            const int n = RunLength(indexes + i, stop - i);
            AppendEncoded(out, n, indexes[i], fourBits);
            i += n;
        }
    }
    AppendByte(out, 0);
    AppendByte(out, 0);
}

void AppendRleEnd(QByteArray& out) {
    AppendByte(out, 0);
    AppendByte(out, 1);
}

}  // namespace tessaly
