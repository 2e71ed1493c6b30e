#pragma once

#include <QImage>
#include <QString>
#include <optional>

#include "canvas/canvas_image.h"
#include "image/safe_file.h"

class QCommandLineParser;

namespace tessaly {

class Document;

// How a picture of the canvas is written: the file type follows the path's
// extension; BMP files take a pixel format, JPEG files a quality.
struct ExportFormat {
    int bmpBits = 24;   // --bmp-bits 1, 4, 8, 16, 24 or 32
    bool rle = false;   // --rle: run-length coded 4- and 8-bit BMP files
    int quality = 90;   // --quality 1..100
};

// Help lines of the options below, for a command's usage text.
extern const char kExportOptionsHelp[];

// Adds --bmp-bits, --rle and --quality to `parser`.
void AddExportOptions(QCommandLineParser& parser);

// The format `parser` asks for when writing to `path`; nothing, with
// `error` set, when the path names no image type or an option does not fit
// the value or the type.
std::optional<ExportFormat> ReadExportFormat(const QCommandLineParser& parser, const QString& path,
                                             QString& error);

// Writes `image` to `path` as the editor's export does: BMP files through the
// BMP writer, other types through the image encoders, replacing the file
// whole. False, with `error` set (the system's reason included), when it
// could not be written; the earlier file is then as it was. `watch` (may be
// null) follows the writing.
bool WriteExportImage(const QImage& image, const QString& path, const ExportFormat& format,
                      QString& error, WriteWatch* watch = nullptr);

// Paints the canvas as `request` asks and writes it with WriteExportImage,
// followed as long work (ExportProgress).
bool PaintAndWrite(const Document& doc, CanvasImageRequest request, const QString& path,
                   const ExportFormat& format, QString& error);

}  // namespace tessaly
