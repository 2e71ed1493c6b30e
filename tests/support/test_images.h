#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

namespace tessaly::test {

// A colourful picture that differs from pixel to pixel.
QImage Gradient(int width, int height);
// A picture of one colour (32-bit RGB).
QImage Filled(int width, int height, QRgb colour);

// Encoded pictures made on the spot.
QByteArray JpegBytes(int width, int height, int quality = 90);
QByteArray JpegOf(const QImage& image, int quality = 90);
QByteArray PngBytes(const QImage& image);
QByteArray BmpBytes(const QImage& image);

// A PNG of the given size whose background is transparent red (top-left pixel
// 0x00FF0000) with an opaque blue square in the middle.
QByteArray TransparentRedPng(int width, int height);

// A GIF of two frames: the first filled with `first`, the second with `second`.
QByteArray TwoFrameGif(int width, int height, QColor first, QColor second);

// A PNG whose header declares width x height pixels while holding almost no data.
QByteArray PngDeclaringSize(quint32 width, quint32 height);

// Writes bytes to dir/name and returns the path.
QString WriteFile(const QString& dir, const QString& name, const QByteArray& bytes);

// The whole content of a file; empty when it cannot be read.
QByteArray ReadFile(const QString& path);

}  // namespace tessaly::test
