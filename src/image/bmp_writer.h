#pragma once

#include <QImage>
#include <QString>

namespace tessaly {

enum class BmpCompression { None, Rle4, Rle8, BitFields };
// Writes `image` as a BMP file of 1, 4, 8, 16, 24 or 32 bits per pixel. On failure returns false and, when
// `failedStep` is given, sets it to the text of the step that failed ("ファイルオープンエラー", ...).
bool WriteBmpFile(const QImage& image, const QString& path, int bitsPerPixel, BmpCompression compression,
                  QString* failedStep = nullptr);

}  // namespace tessaly
