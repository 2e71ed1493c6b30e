#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

namespace tessaly::test {

// Real photographs, as far as they are installed (scripts/install-deps):
// the free samples of python3-skimage and MATE's nature backgrounds. Loaded
// once per test run.
const std::vector<QImage>& Photographs();

// `photo` as a camera would hand it over: 1600 x 1200, JPEG quality 90.
QByteArray CameraJpeg(const QImage& photo);

}  // namespace tessaly::test
