#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

#include "image/output_format.h"

namespace tessaly {

// One file type the canvas can be exported as: its entry in the save
// dialog and how the file is written (a JPEG file's quality is asked for
// each export).
struct ExportFileType {
    QStringView filter;  // "text|pattern|"
    OutputFormat format;
};

// The types in the order the save dialog offers them; a type's index is its
// position counted from 1.
std::span<const ExportFileType> ExportFileTypes();

// The type at `index` (1-based), or nullptr outside the table.
const ExportFileType* ExportFileTypeAt(int index);

// The index of the JPEG type, preselected in the save dialog.
int JpegExportIndex();

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
