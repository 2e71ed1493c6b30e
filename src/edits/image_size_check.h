#pragma once

#include <QSize>

class QObject;

namespace tessaly {

class Document;
class EditedDocument;

// The largest picture a photomosaic needs: "SYS" / "MaxImgW" and "MaxImgH"
// of the environment settings, 40 at first, each kept within 20..100.
QSize PhotomosaicMaximumSize();

// Whether any node's picture is wider or higher than `maximum`.
bool HasOversizedPicture(const Document& doc, QSize maximum);

// Resamples every picture wider or higher than `maximum` to exactly that size
// (the aspect ratio is not kept) and gives its node that size, as one edit
// that cannot be undone. The colour averages stay as they were. A picture
// that cannot be resampled stays as it is, with its node's size. Shows the
// wait cursor and the progress on the status bar. Returns the number of
// pictures resampled.
int ShrinkOversizedPictures(EditedDocument& edited, QSize maximum);

// "イメージサイズ確認": says so when no picture is too large, otherwise asks
// and then shrinks them. Nothing happens in an empty document.
void CheckImageSizes(EditedDocument& edited, QObject* owner);

}  // namespace tessaly
