#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

#include "image/bmp_writer.h"

namespace tessaly {

// One file type the canvas can be exported as. BMP types carry their pixel
// format; the others (bitsPerPixel 0) go through the image encoder their
// pattern's extension names.
struct ExportFileType {
    QStringView filter;  // "text|pattern|"
    int bitsPerPixel;
    BmpCompression compression;

    bool IsBmp() const { return bitsPerPixel != 0; }
};

// The types in the order the save dialog offers them; a type's index is its
// position counted from 1.
std::span<const ExportFileType> ExportFileTypes();

// The index of JPEG, preselected in the save dialog and the one type that
// asks for a quality.
inline constexpr int kJpegExportIndex = 9;

// The type at `index` (1-based), or nullptr outside the table.
const ExportFileType* ExportFileTypeAt(int index);

// The encoder of the type at `index`: "bmp", "jpeg", "gif", "png" or "tiff".
QString ExportEncoderType(int index);

// The type a file named `path` is written as when the dialog's type was
// `chosenIndex`: that type, unless the name's own extension names another kind
// of file (".png" while JPEG was chosen). Then the extension decides, ".bmp"
// as 24 bits, so that a file's content always matches its name and only a
// JPEG file asks for a quality.
int ExportTypeForPath(const QString& path, int chosenIndex);

// Turns a filter string of "text|pattern|...||" entries into the filters of
// Qt's file dialog, "text (pattern)", one per entry in order. Patterns
// separated by ";" become space separated.
QStringList ToQtFilters(QStringView filter);

// The export types' filters in Qt form, in table order.
const QStringList& ExportQtFilters();

// The extension (without the dot) of the first pattern of the Qt filter
// `qtFilter`, e.g. "jpeg" for "JPEGファイル(*.jpeg) (*.jpeg)"; empty when it
// has none.
QString FilterExtension(const QString& qtFilter);

}  // namespace tessaly
