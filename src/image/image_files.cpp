#include "image/image_files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include "image/band_source.h"
#include "image/band_writers.h"
#include "image/image_limits.h"
#include "image/image_writer.h"
#include "image/output_format.h"
#include "image/regular_file.h"
#include "image/safe_file.h"
#include "image/working_folder.h"
#include "resources/string_table.h"
#include "resources/ui_strings.h"
#include "services/message_service.h"

namespace tessaly {
namespace {

QImage ScaledCopy(const QImage& source, int width, int height) {
    if (source.isNull() || width <= 0 || height <= 0 ||
        !IsAcceptablePictureSize(QSize(width, height))) {
        return {};
    }
    const QImage::Format format =
        source.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (source.size() == QSize(width, height)) return source.convertToFormat(format);
    QImage target(width, height, format);
    if (target.isNull()) return {};
    target.fill(Qt::transparent);
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(0, 0, width, height), source);
    return target;
}

// Reads the first frame of an image file that is not taken as it stands.
QImage DecodeFile(QFile& file) {
    file.seek(0);
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    reader.setAllocationLimit(kDecodeAllocationLimitMiB);
    if (!reader.canRead() || !IsAcceptablePictureSize(HeaderSize(reader))) return {};
    return reader.read();
}

// Composes the image onto the colour of its top-left pixel, so transparent
// areas take that colour.
QImage OntoTopLeftColour(const QImage& image) {
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    const QRgb topLeft = image.convertToFormat(QImage::Format_ARGB32).pixel(0, 0);
    QImage composed(image.size(), QImage::Format_RGB32);
    if (composed.isNull()) return {};
    composed.fill(QColor(qRed(topLeft), qGreen(topLeft), qBlue(topLeft)));
    QPainter painter(&composed);
    painter.drawImage(0, 0, image);
    return composed;
}

// `image` resampled smoothly to `size`, when that is a size a picture may
// have, in the format the writers take without a copy: RGB32, or ARGB32 with
// transparency.
QImage ResampledFor(QImage image, QSize size) {
    if (image.size() != size && !size.isEmpty() && IsAcceptablePictureSize(size)) {
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

}  // namespace

QString ImageTypeOf(const QString& path) {
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0) return {};
    const QString ext = path.mid(dot + 1).toLower();
    if (ext == u"jpg" || ext == u"jpeg") return QStringLiteral("jpeg");
    if (ext == u"gif") return QStringLiteral("gif");
    if (ext == u"bmp") return QStringLiteral("bmp");
    if (ext == u"png") return QStringLiteral("png");
    if (ext == u"tif" || ext == u"tiff") return QStringLiteral("tiff");
    return {};
}

LoadedPicture LoadImageFile(const QString& path, const QString& type) {
    LoadedPicture result;
    // A FIFO or a device would block the reader or never end.
    QFile file(path);
    if (!OpenRegularFile(file)) return result;
    result.fileSize = file.size();
    if (type.toLower() == u"jpeg" && file.size() <= kMaxEncodedBytes) {
        auto picture = ImageBlob::FromEncoded(file.read(file.size()));
        if (picture && picture->IsJpeg()) {
            result.size = picture->PixelSize();
            result.picture = std::move(picture);
            return result;
        }
    }

    const QImage decoded = DecodeFile(file);
    if (decoded.isNull()) return result;
    const QImage composed = OntoTopLeftColour(decoded);
    result.picture = BitmapToPicture(composed, composed.width(), composed.height());
    if (result.picture) result.size = result.picture->PixelSize();
    return result;
}

bool SaveBitmapFile(const QImage& bitmap, const QString& path, int width, int height,
                    const OutputFormat& format, bool flip, WriteWatch* watch) {
    if (bitmap.isNull()) {
        ShowMessage(kMsgMemoryAllocFailed, kStyleStop);
        return false;
    }
    QImage scaled = ScaledCopy(bitmap, width, height);
    if (scaled.isNull()) {
        ShowMessage(kMsgMemoryAllocFailed, kStyleStop);
        return false;
    }
    if (flip) scaled = scaled.mirrored(false, true);

    return WriteImageFile(scaled, path, format, watch).Written();
}

QString SaveBitmapToWorkingFile(const QImage& bitmap, QString* failedStep) {
    const QString folder = WorkingFolder();
    if (folder.isEmpty()) return {};
    const auto fail = [failedStep](QStringView step) {
        if (failedStep != nullptr) *failedStep = step.toString();
        return QString();
    };
    const QImage pixels = bitmap.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) return fail(ui_text::kBitmapConvertStep);
    const QString path = QDir(folder).filePath(u"tmp.jpeg"_qs);
    if (!SaveBitmapFile(pixels, path, pixels.width(), pixels.height(), OutputFormat::Jpeg(100),
                        false)) {
        return fail(ui_text::kBitmapSaveStep);
    }
    return path;
}

QByteArray EncodeJpeg(const QImage& image, int quality) {
    if (image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return {};
    ImageWriteRequest request;
    request.size = image.size();
    request.paint = BandsOf(image);
    BandSource bands(request, false);
    if (!WriteJpegBands(buffer, bands, quality).Written()) return {};
    return bytes;
}

std::optional<ImageBlob> BitmapToPicture(const QImage& bitmap, int width, int height) {
    const QImage scaled = ScaledCopy(bitmap, width, height);
    if (scaled.isNull()) return std::nullopt;
    return ImageBlob::FromEncoded(EncodeJpeg(scaled, 100));
}

ImageBlob ResizePicture(const ImageBlob& picture, int width, int height) {
    const QSize size(width, height);
    const QImage decoded = picture.DecodeReduced(size);
    if (decoded.isNull()) return picture;
    auto resized = BitmapToPicture(ResampledFor(decoded, size), width, height);
    if (!resized) {
        ShowMessage(kMsgMemoryAllocFailed, kStyleStop);
        return picture;
    }
    return *std::move(resized);
}

bool SaveScaledPicture(const ImageBlob& picture, int width, int height, const QString& path,
                       const OutputFormat& format) {
    const QSize size(width, height);
    if (size.isEmpty() || !IsAcceptablePictureSize(size)) return false;
    const QImage decoded = picture.DecodeReduced(size);
    if (decoded.isNull()) return false;
    // Resampled here, the writer only has to encode it.
    return SaveBitmapFile(ResampledFor(decoded, size), path, width, height, format, false);
}

}  // namespace tessaly
