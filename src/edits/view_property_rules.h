#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

#include "image/image_blob.h"

class QObject;

namespace tessaly {

// The number in an edit box: commas are ignored ("2,500" reads 2500), the
// leading decimal digits are read as the C library would (nothing gives 0),
// and the value is clamped to lowest..highest.
int ReadBoxNumber(const QString& text, int lowest, int highest);

// The note beside a canvas side box: "(500 ～ 5,000)".
QString CanvasSideNote();

// The canvas width that gives the picture's aspect ratio at the height in
// `heightText` (read and clamped to the canvas side limits), truncated. Above
// the largest side the user is told "最大値を超えるためセットできません" with
// the width in a first line, and nothing is returned; nothing either for a
// picture without pixels. The smallest side is not enforced here.
std::optional<int> FitCanvasWidth(QObject* owner, QSize picture, const QString& heightText);
// The same for the height at the width in `widthText`.
std::optional<int> FitCanvasHeight(QObject* owner, QSize picture, const QString& widthText);

// Where a picture is shown in a preview area of `area`: at its own size and
// centred when it is smaller both ways, otherwise fitted keeping its aspect
// ratio and centred along the other axis.
QRect PreviewRect(QSize area, QSize picture);

// Loads the picture file chosen as the background. When it cannot be loaded
// the user is told why, under the file's path: the file is missing, its type
// cannot be set, it cannot be opened, or its picture cannot be read.
std::optional<ImageBlob> LoadBackgroundPicture(QObject* owner, const QString& path);

}  // namespace tessaly
