#include "image/image_writer.h"

#include <cerrno>
#include <new>
#include <optional>

#include "image/band_source.h"
#include "image/band_writers.h"
#include "resources/ui_strings.h"

namespace tessaly {
namespace {

using Outcome = WriteResult::Outcome;

WriteResult Ended(Outcome outcome, int error = 0) {
    WriteResult result;
    result.outcome = outcome;
    result.error = error;
    return result;
}

// What the file type cannot hold, found before anything is painted or
// written.
std::optional<WriteResult> Refusal(const ImageWriteRequest& request) {
    const QSize size = request.size;
    const OutputFormat& format = request.format;
    if (format.IsBmp()) {
        if (auto refusal = BmpRefusal(format, size)) return refusal;
    }
    if (size.isEmpty() || !request.paint) return Ended(Outcome::Failed, EINVAL);
    const int side = std::max(size.width(), size.height());
    if (format.type == OutputFormat::Type::Gif &&
        (qint64{size.width()} * size.height() > kMaxGifPixels || side > kMaxGifSide)) {
        return Ended(Outcome::TooLarge);
    }
    if (format.type == OutputFormat::Type::Jpeg && side > kMaxJpegSide) return Ended(Outcome::TooLarge);
    return std::nullopt;
}

WriteResult Encode(QIODevice& file, const ImageWriteRequest& request) {
    const OutputFormat& format = request.format;
    // BMP files keep their bottom row first.
    BandSource bands(request, format.IsBmp());
    switch (format.type) {
    case OutputFormat::Type::Bmp: return WriteBmpBands(file, bands, format);
    case OutputFormat::Type::Jpeg: return WriteJpegBands(file, bands, format.jpegQuality);
    case OutputFormat::Type::Gif: return WriteGifBands(file, bands);
    case OutputFormat::Type::Png: return WritePngBands(file, bands);
    case OutputFormat::Type::Tiff:
        return WriteTiffBands(file, bands, NeedsBigTiff(request.size.width(), request.size.height()));
    }
    return Ended(Outcome::Failed, EINVAL);
}

}  // namespace

WriteResult WriteImageFile(const ImageWriteRequest& request) {
    if (auto refusal = Refusal(request)) return *refusal;
    const bool bmp = request.format.IsBmp();
    SafeFile file(request.path);
    file.SetWatch(request.watch);
    if (!file.open(QIODevice::WriteOnly)) {
        WriteResult result = Ended(Outcome::Failed, file.Error());
        if (bmp) result.failedStep = ui_text::kBmpOpenStep.toString();
        return result;
    }
    WriteResult result;
    try {
        result = Encode(file, request);
    } catch (const std::bad_alloc&) {
        result = Ended(Outcome::NoMemory);
        if (bmp) result.failedStep = ui_text::kBmpBufferStep.toString();
    }
    if (result.Written() && !file.Commit()) {
        result.outcome = Outcome::Failed;
        if (bmp) result.failedStep = ui_text::kBmpPixelsWriteStep.toString();
    }
    if (!result.Written() && file.Error() == ECANCELED) {
        result.outcome = Outcome::Cancelled;
    } else if (result.outcome == Outcome::Failed && result.error == 0) {
        result.error = file.Error();
    }
    // The unfinished file goes with `file`; the earlier one stays.
    return result;
}

WriteResult WriteImageFile(const QImage& image, const QString& path, const OutputFormat& format,
                           WriteWatch* watch) {
    ImageWriteRequest request;
    request.path = path;
    request.format = format;
    request.size = image.size();
    request.paint = BandsOf(image);
    request.watch = watch;
    return WriteImageFile(request);
}

}  // namespace tessaly
