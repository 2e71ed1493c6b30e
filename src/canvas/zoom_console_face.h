#pragma once

#include <QImage>

namespace tessaly {

// The pictures of the zoom console, drawn by the program: the round face with
// its plus and minus signs, the strip of ten digit glyphs, and the face with
// a percentage printed on it. Transparent where nothing is drawn.
QImage DrawConsoleFace();
QImage DrawDigitStrip();
QImage ComposeConsole(const QImage& face, const QImage& digitStrip, int percent);

}  // namespace tessaly
