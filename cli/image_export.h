#pragma once

#include <QString>
#include <optional>

#include "canvas/canvas_image.h"
#include "image/output_format.h"

class QCommandLineParser;

namespace tessaly {

class Document;

// Help lines of the options below, for a command's usage text.
extern const char kExportOptionsHelp[];

// --bmp-bits N, --rle and --quality N.
void AddExportOptions(QCommandLineParser& parser);

// How a picture of the canvas is written to `path`: the type its extension
// names; BMP files take --bmp-bits (default 24) and --rle, JPEG files
// --quality (default 90). Nothing, with `error` set, for an unknown
// extension or an option that does not fit the type.
std::optional<OutputFormat> ReadExportFormat(const QCommandLineParser& parser, const QString& path,
                                             QString& error);

// The value of the poster option `name` (--scale, --export-zoom): how many
// times the canvas's size the picture gets, up to 4. 1 when the option is
// not given; nothing, with `error` set, for anything else than a number
// within kMinZoom..kMaxZoom.
std::optional<float> ReadPosterScale(const QCommandLineParser& parser, const QString& name,
                                     QString& error);

// Paints the canvas as `request` asks, band by band, each band written as it
// is made, replacing the file whole; followed as long work (ExportProgress).
// False, with `error` set (the system's reason included), when it could not
// be written; the earlier file is then as it was.
bool PaintAndWrite(const Document& doc, const CanvasImageRequest& request, const QString& path,
                   const OutputFormat& format, QString& error);

}  // namespace tessaly
