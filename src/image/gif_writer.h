#pragma once

#include <QImage>

class QIODevice;

namespace tessaly {

// Writes `image` as a single-frame GIF with an adaptive palette of at most
// 256 colours. Transparency is not kept.
bool WriteGif(const QImage& image, QIODevice& device);

}  // namespace tessaly
