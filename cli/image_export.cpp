#include "image_export.h"

#include <QCommandLineParser>
#include <cstring>

#include "edits/export_progress.h"
#include "document/doc_state.h"
#include "image/image_files.h"
#include "image/image_writer.h"

namespace tessaly {

const char kExportOptionsHelp[] =
    "  --bmp-bits N         bits per pixel of a .bmp file: 1, 4, 8, 16, 24 or 32\n"
    "                       (default 24)\n"
    "  --rle                run-length code a 4- or 8-bit .bmp file\n"
    "  --quality N          quality of a .jpg file, 1..100 (default 90)\n";

namespace {

constexpr int kDefaultJpegQuality = 90;

// A whole number option within `low`..`high`; `fallback` when not given.
std::optional<int> IntOption(const QCommandLineParser& parser, const QString& name, int low,
                             int high, int fallback, QString& error) {
    if (!parser.isSet(name)) return fallback;
    const QString text = parser.value(name);
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok && value >= low && value <= high) return value;
    error = QStringLiteral("--%1 takes a whole number from %2 to %3, not '%4'")
                .arg(name)
                .arg(low)
                .arg(high)
                .arg(text);
    return std::nullopt;
}

}  // namespace

void AddExportOptions(QCommandLineParser& parser) {
    parser.addOption(QCommandLineOption(QStringLiteral("bmp-bits"), QString(), QStringLiteral("N")));
    parser.addOption(QCommandLineOption(QStringLiteral("rle")));
    parser.addOption(QCommandLineOption(QStringLiteral("quality"), QString(), QStringLiteral("N")));
}

std::optional<OutputFormat> ReadExportFormat(const QCommandLineParser& parser, const QString& path,
                                             QString& error) {
    auto format = OutputFormat::ForTypeName(ImageTypeOf(path));
    if (!format) {
        error = QStringLiteral("%1: the name must end in .png, .jpg, .bmp, .gif or .tif").arg(path);
        return std::nullopt;
    }
    const QString bitsName = QStringLiteral("bmp-bits");
    const QString qualityName = QStringLiteral("quality");
    const bool rle = parser.isSet(QStringLiteral("rle"));
    if (!format->IsBmp() && (parser.isSet(bitsName) || rle)) {
        error = QStringLiteral("--%1 applies to .bmp files only").arg(rle ? u"rle"_qs : bitsName);
        return std::nullopt;
    }
    if (format->type != OutputFormat::Type::Jpeg && parser.isSet(qualityName)) {
        error = QStringLiteral("--quality applies to .jpg files only");
        return std::nullopt;
    }
    if (format->IsBmp()) {
        const auto bits = IntOption(parser, bitsName, 1, 32, 24, error);
        if (!bits || !QList<int>{1, 4, 8, 16, 24, 32}.contains(*bits)) {
            error = QStringLiteral("--bmp-bits takes 1, 4, 8, 16, 24 or 32, not '%1'")
                        .arg(parser.value(bitsName));
            return std::nullopt;
        }
        if (rle && *bits != 4 && *bits != 8) {
            error = QStringLiteral("--rle applies to 4- and 8-bit .bmp files only");
            return std::nullopt;
        }
        return OutputFormat::Bmp(*bits, rle);
    }
    const auto quality = IntOption(parser, qualityName, 1, 100, kDefaultJpegQuality, error);
    if (!quality) return std::nullopt;
    format->jpegQuality = *quality;
    return format;
}

std::optional<float> ReadPosterScale(const QCommandLineParser& parser, const QString& name,
                                     QString& error) {
    if (!parser.isSet(name)) return 1.0f;
    const QString text = parser.value(name);
    bool ok = false;
    const float scale = text.toFloat(&ok);
    if (ok && scale >= kMinZoom && scale <= kMaxZoom) return scale;
    error = QStringLiteral("--%1 takes a number from %2 to %3, not '%4'")
                .arg(name)
                .arg(double(kMinZoom))
                .arg(double(kMaxZoom))
                .arg(text);
    return std::nullopt;
}

bool PaintAndWrite(const Document& doc, const CanvasImageRequest& canvas, const QString& path,
                   const OutputFormat& format, QString& error) {
    ExportProgress progress;
    ImageWriteRequest request = CanvasWriteRequest(doc, canvas, path, format);
    request.progress = [&progress](int done, int total) { return progress.Band(done, total); };
    request.watch = progress.Watch();
    const WriteResult result = WriteImageFile(request);
    if (result.Written()) return true;
    switch (result.outcome) {
    case WriteResult::Outcome::NoMemory:
        error = QStringLiteral("no memory for the picture of the canvas");
        break;
    case WriteResult::Outcome::TooLarge:
        error = QStringLiteral("%1: a %2 x %3 picture is too large for a %4 file")
                    .arg(path)
                    .arg(request.size.width())
                    .arg(request.size.height())
                    .arg(format.TypeName().toUpper());
        break;
    default:
        error = QStringLiteral("cannot write %1").arg(path);
        if (!result.failedStep.isEmpty()) error += QStringLiteral(": ") + result.failedStep;
        if (result.error != 0) {
            error += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(result.error));
        }
    }
    return false;
}

}  // namespace tessaly
