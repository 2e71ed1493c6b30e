#pragma once

#include <QByteArray>
#include <cstdint>

namespace tessaly {

// Run-length coding of one row of colour indexes as BMP files store it:
// encoded runs (count, value), absolute runs (0, count, values, padded to a
// 16-bit boundary) and the end-of-line mark. The caller ends the bitmap with
// AppendRleEnd. With `fourBits` each index is a nibble (RLE4), else a byte
// (RLE8).
void AppendRleRow(QByteArray& out, const std::uint8_t* indexes, int count, bool fourBits);
void AppendRleEnd(QByteArray& out);

}  // namespace tessaly
