#pragma once

#include <QImage>

#include "document/picture_ref.h"

namespace tessaly {

class Document;

// The background picture as the canvas draws it: at its pixel size, narrowed
// to the canvas width (the height in proportion) when it is wider, opaque and
// 32 bits deep, before any brightness change. Transparent parts of the
// picture lie over white. Null when the document has no background picture
// or it cannot be decoded.
QImage RebuildBackgroundCopy(const Document& doc);

// The change each colour byte of a 24- or 32-bit copy gets at brightness
// `level`: (level - 4) x 32, the level bounded to 1..7 first.
int BrightnessDelta(int level);

// A fresh copy of `plain` at brightness `level` (1..7, 4 = unchanged; other
// values count as the nearest bound). 24- and 32-bit pixels get the delta
// on each colour byte, clamped to 0..255, the fourth byte untouched; 5-6-5
// pixels get |level - 4| steps of 10 on red and blue and 20 on green, each
// field clamped to its range; pictures of fewer than 16 bits come back as
// they are. Other deeper formats are converted to 32 bits first. `plain`
// is never changed, so levels do not accumulate.
QImage ShiftedCopy(const QImage& plain, int level);

// Keeps the copy the canvas draws for one document: the plain copy is made
// again only when the background picture or the canvas width changed, the
// shifted one only when the brightness changed too.
class BackgroundCopyCache {
public:
    // The copy for the document's picture, canvas width and `backBrightness`;
    // null without a picture or when it cannot be made.
    const QImage* Get(const Document& doc);

private:
    QImage plain_;
    PictureRef plainOf_;
    int plainWidth_ = 0;
    QImage shown_;
    int shownLevel_ = 4;
};

// The copy as the canvas draws it, made afresh: RebuildBackgroundCopy at the
// document's brightness. Null without a background picture.
QImage BackgroundCopy(const Document& doc);

}  // namespace tessaly
