#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

#include "image/image_blob.h"
#include "image/output_format.h"
#include "image/safe_file.h"

namespace tessaly {

// The image type named by a path's extension (any case): "jpeg" for jpg and
// jpeg, "gif", "bmp", "png", "tiff" for tif and tiff, and empty otherwise.
QString ImageTypeOf(const QString& path);

struct LoadedPicture {
    std::optional<ImageBlob> picture;
    QSize size{0, 0};     // pixels; (0, 0) without a picture
    qint64 fileSize = 0;  // bytes
};

// Turns an image file into a picture. A JPEG file keeps its own bytes; any
// other image (or a JPEG the picture cannot take as it is) is decoded, its
// transparent areas filled with the colour of its top-left pixel, and
// re-encoded as a JPEG of quality 100. Of several frames only the first is
// taken. No picture when the file cannot be read or decoded.
LoadedPicture LoadImageFile(const QString& path, const QString& type);

// Writes `bitmap` scaled to width x height into an image file as `format`
// (WriteImageFile); `flip` turns the picture upside down. The file is
// replaced whole (SafeFile): after any failure the earlier file is as it
// was. Fails without a message when the file cannot be written; `watch`
// (may be null) follows the writing and learns why it failed.
bool SaveBitmapFile(const QImage& bitmap, const QString& path, int width, int height,
                    const OutputFormat& format, bool flip, WriteWatch* watch = nullptr);

// Writes a bitmap taken from another program (dropped, or on the clipboard)
// into the working folder as the JPEG file "tmp.jpeg", quality 100, at its
// own size, and returns the file's path. Empty on failure, with the failed
// step in `failedStep` (ui_text::kBitmapConvertStep, kBitmapSaveStep), or
// with `failedStep` left empty when the working folder could not be had
// (WorkingFolder has said so).
QString SaveBitmapToWorkingFile(const QImage& bitmap, QString* failedStep = nullptr);

// A JPEG picture (quality 100) of `bitmap` scaled to width x height.
std::optional<ImageBlob> BitmapToPicture(const QImage& bitmap, int width, int height);

// A new JPEG picture (quality 100) of exactly width x height pixels made from
// `picture`, decoded no larger than that needs. When that fails the given
// picture is returned unchanged (after
// "メモリの確保に失敗しました" if re-encoding failed), so nothing is lost.
ImageBlob ResizePicture(const ImageBlob& picture, int width, int height);

// Writes `picture` scaled to width x height into an image file as `format`,
// decoding it no larger than that needs. False when it could not be
// written; failures are not reported, so it may run on worker threads.
bool SaveScaledPicture(const ImageBlob& picture, int width, int height, const QString& path,
                       const OutputFormat& format);

// Encodes `image` as a JPEG stream of the given quality (10..100).
QByteArray EncodeJpeg(const QImage& image, int quality);

}  // namespace tessaly
