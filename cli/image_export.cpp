#include "image_export.h"

#include <QCommandLineParser>
#include <cstring>

#include "commands/export_progress.h"
#include "image/bmp_writer.h"
#include "image/image_files.h"

namespace tessaly {

const char kExportOptionsHelp[] =
    "  --bmp-bits N         bits per pixel of a .bmp file: 1, 4, 8, 16, 24 or 32\n"
    "                       (default 24)\n"
    "  --rle                run-length code a 4- or 8-bit .bmp file\n"
    "  --quality N          quality of a .jpg file, 1..100 (default 90)\n";

namespace {

BmpCompression CompressionOf(const ExportFormat& format) {
    switch (format.bmpBits) {
    case 4: return format.rle ? BmpCompression::Rle4 : BmpCompression::None;
    case 8: return format.rle ? BmpCompression::Rle8 : BmpCompression::None;
    case 16:
    case 32: return BmpCompression::BitFields;
    default: return BmpCompression::None;
    }
}

}  // namespace

void AddExportOptions(QCommandLineParser& parser) {
    parser.addOption(QCommandLineOption(QStringLiteral("bmp-bits"), QString(), QStringLiteral("N")));
    parser.addOption(QCommandLineOption(QStringLiteral("rle")));
    parser.addOption(QCommandLineOption(QStringLiteral("quality"), QString(), QStringLiteral("N")));
}

std::optional<ExportFormat> ReadExportFormat(const QCommandLineParser& parser, const QString& path,
                                             QString& error) {
    const QString type = ImageTypeOf(path);
    if (type.isEmpty()) {
        error = QStringLiteral("%1: the name must end in .png, .jpg, .bmp, .gif or .tif").arg(path);
        return std::nullopt;
    }
    ExportFormat format;
    const bool bmp = type == u"bmp";
    if (parser.isSet(QStringLiteral("bmp-bits"))) {
        const QString text = parser.value(QStringLiteral("bmp-bits"));
        bool ok = false;
        format.bmpBits = text.toInt(&ok);
        if (!ok || !QList<int>{1, 4, 8, 16, 24, 32}.contains(format.bmpBits)) {
            error = QStringLiteral("--bmp-bits takes 1, 4, 8, 16, 24 or 32, not '%1'").arg(text);
            return std::nullopt;
        }
        if (!bmp) {
            error = QStringLiteral("--bmp-bits applies to .bmp files only");
            return std::nullopt;
        }
    }
    format.rle = parser.isSet(QStringLiteral("rle"));
    if (format.rle && (!bmp || (format.bmpBits != 4 && format.bmpBits != 8))) {
        error = QStringLiteral("--rle applies to 4- and 8-bit .bmp files only");
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("quality"))) {
        const QString text = parser.value(QStringLiteral("quality"));
        bool ok = false;
        format.quality = text.toInt(&ok);
        if (!ok || format.quality < 1 || format.quality > 100) {
            error = QStringLiteral("--quality takes a whole number from 1 to 100, not '%1'").arg(text);
            return std::nullopt;
        }
        if (type != u"jpeg") {
            error = QStringLiteral("--quality applies to .jpg files only");
            return std::nullopt;
        }
    }
    return format;
}

bool WriteExportImage(const QImage& image, const QString& path, const ExportFormat& format,
                      QString& error, WriteWatch* watch) {
    WriteWatch ownWatch;
    if (watch == nullptr) watch = &ownWatch;
    const QString type = ImageTypeOf(path);
    QString step;
    const bool written =
        type == u"bmp"
            ? WriteBmpFile(image, path, format.bmpBits, CompressionOf(format), &step, watch)
            : SaveBitmapFile(image, path, image.width(), image.height(), type, format.quality,
                             false, watch);
    if (written) return true;
    error = QStringLiteral("cannot write %1").arg(path);
    if (!step.isEmpty()) error += QStringLiteral(": ") + step;
    if (watch->error != 0) error += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(watch->error));
    return false;
}

bool PaintAndWrite(const Document& doc, CanvasImageRequest request, const QString& path,
                   const ExportFormat& format, QString& error) {
    ExportProgress progress;
    request.progress = [&progress](int done, int total) { return progress.Painted(done, total); };
    const QImage image = RenderCanvasImage(doc, request);
    if (image.isNull()) {
        error = QStringLiteral("no memory for the picture of the canvas");
        return false;
    }
    if (!WriteExportImage(image, path, format, error, progress.Watch())) return false;
    progress.Written();
    return true;
}

}  // namespace tessaly
