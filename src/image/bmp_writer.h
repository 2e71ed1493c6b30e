#pragma once

#include <QImage>
#include <QString>

#include "image/output_format.h"
#include "image/safe_file.h"

namespace tessaly {

// Writes `image` as a BMP file of 1, 4, 8, 16, 24 or 32 bits per pixel, replacing the file whole
// (SafeFile). On failure returns false, leaves the earlier file as it was and, when `failedStep` is
// given, sets it to the text of the step that failed ("ファイルオープンエラー", ...). `watch` (may be
// null) follows the writing and learns why it failed.
bool WriteBmpFile(const QImage& image, const QString& path, int bitsPerPixel, BmpCompression compression,
                  QString* failedStep = nullptr, WriteWatch* watch = nullptr);

}  // namespace tessaly
